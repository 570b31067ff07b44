#include "Records.h"

#include <algorithm>
#include <cstring>

CTransaction::CTransaction(CTime date, std::string checkNumber, std::string description,
                           std::string category, double amount, int cleared, double fee, int isVoid,
                           int flag)
    : m_date(date),
      m_strCheckNumber(std::move(checkNumber)),
      m_strDescription(std::move(description)),
      m_strCategory(std::move(category)),
      m_dAmount(amount),
      m_bCleared(cleared),
      m_dFee(fee),
      m_bVoid(isVoid),
      m_nFlag(flag)
{
}

CAccount::CAccount(std::string name, std::string number, double openingBalance, std::string owner,
                   std::string institution, std::string taxId)
    : m_strName(std::move(name)),
      m_strNumber(std::move(number)),
      m_strOwner(std::move(owner)),
      m_strTaxId(std::move(taxId)),
      m_strInstitution(std::move(institution)),
      m_dOpeningBalance(openingBalance),
      m_dClearedBalance(openingBalance),
      m_dBalance(openingBalance)
{
}

void CAccount::AddTransaction(std::unique_ptr<CTransaction> t)
{
    if (!t)
        return;
    if (!t->m_bVoid) {
        m_dBalance = (m_dBalance + t->m_dAmount) - t->m_dFee;
        if (t->m_bCleared)
            m_dClearedBalance = (m_dClearedBalance + t->m_dAmount) - t->m_dFee;
    }
    m_transactions.push_back(std::move(t));
}

std::unique_ptr<CTransaction> CAccount::RemoveTransactionAt(int index)
{
    if (m_transactions.empty())
        return nullptr;
    size_t position = m_transactions.size() - 1;
    if (index <= 0)
        position = 0;
    else if (size_t(index) < m_transactions.size())
        position = size_t(index);
    std::unique_ptr<CTransaction> taken = std::move(m_transactions[position]);
    m_transactions.erase(m_transactions.begin() + long(position));
    return taken;
}

void CAccount::InsertTransactionAt(int index, std::unique_ptr<CTransaction> t)
{
    if (!t)
        return;
    const size_t position = index < 0 ? 0 : std::min(size_t(index), m_transactions.size());
    m_transactions.insert(m_transactions.begin() + long(position), std::move(t));
}

double CAccount::RecomputeBalances(int which)
{
    m_dBalance = m_dOpeningBalance;
    m_dClearedBalance = m_dOpeningBalance;
    for (const auto& t : m_transactions) {
        if (t->m_bVoid)
            continue;
        m_dBalance = (m_dBalance + t->m_dAmount) - t->m_dFee;
        if (t->m_bCleared)
            m_dClearedBalance = (m_dClearedBalance + t->m_dAmount) - t->m_dFee;
    }
    return which == 1 ? m_dClearedBalance : m_dBalance;
}

CRecurringTransaction::CRecurringTransaction(std::string account, double amount, CTime nextDate,
                                             std::string description, std::string category,
                                             std::string frequency, std::string periods, int flag)
    : m_strAccount(std::move(account)),
      m_dAmount(amount),
      m_strDescription(std::move(description)),
      m_strCategory(std::move(category)),
      m_strFrequency(std::move(frequency)),
      m_strPeriods(std::move(periods)),
      m_nextDate(nextDate),
      m_nFlag(flag)
{
}

namespace
{
struct DefaultCategory
{
    const char* name;
    int flag;
};

// In the order the defaults have always been inserted; the list sorts them.
const DefaultCategory kDefaultCategories[] = {
    {"Clothing", 0},          {"Credit Card", 0},       {"Miscelaneous", 0},
    {"Insurance - Life", 0},  {"Tax Refund", 0},        {"Chairty", 0},
    {"Medical", 0},           {"Taxes", 0},             {"Groceries", 1},
    {"Cable", 1},             {"Home Heating", 1},      {"Telephone", 1},
    {"Electricity", 1},       {"Water", 1},             {"Home Repair", 1},
    {"Home Alarm", 1},        {"Home Gas", 1},          {"Household", 1},
    {"Mortgage", 2},          {"Child Care", 2},        {"Education", 2},
    {"Auto Insurance", 3},    {"Auto Fuel", 3},         {"Auto Loan", 3},
    {"Auto Other", 3},        {"xfer to Expenses", 4},  {"xfer to Savings", 4},
    {"xfer to Bills", 4},     {"Bank Fee", 0},          {"Entertainment", 5},
    {"Cash", 5},              {"Gift", 5},              {"Recreation", 5},
    {"Travel", 5},            {" Deposit-Salary", 6},   {" Deposit-Other", 6},
    {" Deposit-Tax Refund", 6}, {" Deposit-Interest", 6}, {" Deposit-Stock", 6},
    {" Deposit-Dividend", 6}, {" Deposit-Bonus", 6},
};

const uint32_t kFlagPalette[kFlagCount] = {
    0xFFFFFF, 0x96FF96, 0xFFFF00, 0xFF80FF, 0xFF8000, 0x70DB93,
    0xFFD680, 0x00FFFF, 0x8080FF, 0xC0C0C0, 0xFF0000,
};
}

int CompareBytes(const std::string& a, const std::string& b)
{
    // std::string compares through char_traits<char>, which orders bytes
    // as unsigned char, the order the file's code page needs.
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

uint32_t GetFlagColor(int flag)
{
    if (flag < 0 || flag >= kFlagCount)
        return kFlagPalette[0];
    return kFlagPalette[flag];
}

CCategoryList::CCategoryList()
{
    for (const DefaultCategory& c : kDefaultCategories)
        AddCategory(c.name, c.flag);
}

namespace
{
// The first category whose name is not below name: the list is sorted, so
// a search halves it each step, however long it is.
template <class Categories>
auto FirstNotBelow(Categories& categories, const std::string& name)
{
    return std::lower_bound(categories.begin(), categories.end(), name, [](const auto& category, const std::string& n) {
        return CompareBytes(category->m_strName, n) < 0;
    });
}
}

bool CCategoryList::AddCategory(const std::string& name, int flag)
{
    const auto it = FirstNotBelow(m_categories, name);
    if (it != m_categories.end() && (*it)->m_strName == name)
        return false;
    m_categories.insert(it, std::make_unique<CCategory>(name, flag));
    return true;
}

void CCategoryList::SetCategories(std::vector<CCategory> categories)
{
    std::stable_sort(categories.begin(), categories.end(), [](const CCategory& a, const CCategory& b) {
        return CompareBytes(a.m_strName, b.m_strName) < 0;
    });
    m_categories.clear();
    m_categories.reserve(categories.size());
    for (CCategory& category : categories)
        if (m_categories.empty() || m_categories.back()->m_strName != category.m_strName)
            m_categories.push_back(std::make_unique<CCategory>(std::move(category)));
}

std::unique_ptr<CCategory> CCategoryList::RemoveCategoryAt(int index)
{
    if (index < 0 || size_t(index) >= m_categories.size())
        return nullptr;
    std::unique_ptr<CCategory> taken = std::move(m_categories[size_t(index)]);
    m_categories.erase(m_categories.begin() + index);
    return taken;
}

void CCategoryList::InsertCategoryAt(int index, std::unique_ptr<CCategory> category)
{
    if (!category || index < 0 || size_t(index) > m_categories.size())
        return;
    m_categories.insert(m_categories.begin() + index, std::move(category));
}

int CCategoryList::GetCategoryFlag(const std::string& name) const
{
    const auto it = FirstNotBelow(m_categories, name);
    return it != m_categories.end() && (*it)->m_strName == name ? (*it)->m_nFlag : -1;
}

void CCategoryList::RemoveAll()
{
    m_categories.clear();
}
