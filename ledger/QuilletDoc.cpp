#include "QuilletDoc.h"

#include "AppValues.h"

#include <algorithm>
#include <utility>

CQuilletDoc::CQuilletDoc() : m_pCategoryList(std::make_unique<CCategoryList>()) {}

CQuilletDoc::~CQuilletDoc()
{
    FreeCategoryTotals();
    ClearEntryMemory();
}

void CQuilletDoc::ClearLedger()
{
    m_accounts.clear();
    m_recurring.clear();
    m_pCategoryList.reset();
    FreeCategoryTotals();
    ClearEntryMemory();
    m_pCategoryList = std::make_unique<CCategoryList>();
    // The names stay; with the flag clear they are not reported.
    m_bDayChartSet = false;
}

void CQuilletDoc::DeleteContents()
{
    ClearLedger();
}

bool CQuilletDoc::OnNewDocument()
{
    DeleteContents();
    SetModifiedFlag(false);
    ClearLedger();
    return true;
}

void CQuilletDoc::TakeContents(CQuilletDoc& other)
{
    std::swap(m_accounts, other.m_accounts);
    std::swap(m_recurring, other.m_recurring);
    std::swap(m_bDayChartSet, other.m_bDayChartSet);
    std::swap(m_dayChartAccounts, other.m_dayChartAccounts);
    std::swap(m_pCategoryList, other.m_pCategoryList);
    std::swap(m_pEntryMemory, other.m_pEntryMemory);
    std::swap(m_pCategoryTotals, other.m_pCategoryTotals);
}

void CQuilletDoc::SetModifiedFlag(bool modified)
{
    const bool changed = m_bModified != modified;
    m_bModified = modified;
    if (changed && m_modifiedListener)
        m_modifiedListener(modified);
}

void CQuilletDoc::ClearDayChartAccounts()
{
    m_bDayChartSet = false;
    for (std::string& name : m_dayChartAccounts)
        name.clear();
}

void CQuilletDoc::SetDayChartAccount(int position, const std::string& name)
{
    m_bDayChartSet = true;
    if (position >= 0 && position < 5)
        m_dayChartAccounts[position] = name;
}

bool CQuilletDoc::GetDayChartAccount(int position, std::string& name) const
{
    if (!m_bDayChartSet || position < 0 || position >= 5)
        return false;
    name = m_dayChartAccounts[position];
    return !name.empty();
}

std::string GetListField(const std::string& list, int field)
{
    if (field < 0)
        return std::string();
    size_t start = 0;
    for (int n = 0; n < field; ++n) {
        const size_t separator = list.find(';', start);
        if (separator == std::string::npos)
            return std::string();
        start = separator + 1;
    }
    size_t end = list.find(';', start);
    if (end == std::string::npos)
        end = list.size();
    return CutText(list.substr(start, end - start), kListFieldMax);
}

std::vector<std::string> GetListFields(const std::string& list)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t separator = list.find(';', start);
        const size_t end = separator == std::string::npos ? list.size() : separator;
        fields.push_back(list.substr(start, std::min(end - start, kListFieldMax)));
        if (separator == std::string::npos)
            return fields;
        start = separator + 1;
    }
}
