// Spending per category over the lookback window, for the pie chart.
#include "AppValues.h"
#include "QuilletDoc.h"

#include <cmath>

bool CQuilletDoc::IsInCategoryView(const CAccount& account) const
{
    return g_strCategoryAccount == AppValues::kShowAll || account.m_strName == g_strCategoryAccount;
}

bool CQuilletDoc::CountsInCategoryTotals(const CTransaction& entry, int64_t now) const
{
    // A void entry is a cancelled one: it spent nothing.
    if (entry.m_bVoid || entry.m_strCategory.empty())
        return false;
    return int64_t(entry.m_date.GetTime()) + int64_t(g_nLookback) * CTime::kDay >= now;
}

int CQuilletDoc::RebuildCategoryTotals()
{
    const int64_t now = Clock::Now();
    FreeCategoryTotals();
    int leftOut = 0;
    for (const auto& account : m_accounts) {
        if (!IsInCategoryView(*account))
            continue;
        for (const auto& entry : account->m_transactions) {
            if (!CountsInCategoryTotals(*entry, now))
                continue;
            if (std::isfinite(entry->m_dAmount))
                AddToCategoryTotal(entry->m_strCategory, entry->m_dAmount);
            else
                ++leftOut;
        }
    }
    return leftOut;
}

void CQuilletDoc::AddToCategoryTotal(const std::string& category, double amount)
{
    // A value no person typed would spoil the category's total for good.
    if (category.empty() || !std::isfinite(amount))
        return;
    // Compare as stored, so names longer than a node holds still find
    // their node instead of starting a new one each time.
    const std::string name = CutText(category, CATTOTAL_NODE::kNameMax);
    for (CATTOTAL_NODE* node = m_pCategoryTotals.get(); node; node = node->next.get()) {
        if (node->name == name) {
            node->total += amount;
            return;
        }
    }
    auto node = std::make_unique<CATTOTAL_NODE>();
    node->name = name;
    node->total = amount;
    node->next = std::move(m_pCategoryTotals);
    m_pCategoryTotals = std::move(node);
}

const CATTOTAL_NODE* CQuilletDoc::SortCategoryTotals()
{
    double spendingSum = 0.0;
    bool firstPass = true;
    std::unique_ptr<CATTOTAL_NODE> result;
    std::unique_ptr<CATTOTAL_NODE>* resultTail = &result;

    while (m_pCategoryTotals) {
        std::unique_ptr<CATTOTAL_NODE>* chosen = &m_pCategoryTotals;
        for (std::unique_ptr<CATTOTAL_NODE>* slot = &m_pCategoryTotals; *slot; slot = &(*slot)->next) {
            if (firstPass)
                spendingSum += (*slot)->Spending();
            if ((*slot)->Spending() > (*chosen)->Spending())
                chosen = slot;
        }
        std::unique_ptr<CATTOTAL_NODE> node = std::move(*chosen);
        *chosen = std::move(node->next);
        node->spendingSum = spendingSum;
        firstPass = false;
        *resultTail = std::move(node);
        resultTail = &(*resultTail)->next;
    }
    m_pCategoryTotals = std::move(result);
    return m_pCategoryTotals.get();
}

void CQuilletDoc::FreeCategoryTotals()
{
    FreeNodeList(m_pCategoryTotals);
}
