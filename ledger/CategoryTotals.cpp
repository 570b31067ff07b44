// Spending per category over the lookback window, for the pie chart.
#include "AppValues.h"
#include "QuilletDoc.h"

#include <algorithm>
#include <cmath>
#include <vector>

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
    // Found as stored, so names longer than a node holds still find their
    // node instead of starting a new one each time.
    auto [it, fresh] = m_categoryTotalNodes.try_emplace(CutText(category, CATTOTAL_NODE::kNameMax), nullptr);
    if (!fresh) {
        it->second->total += amount;
        return;
    }
    auto node = std::make_unique<CATTOTAL_NODE>();
    node->name = it->first;
    node->total = amount;
    node->next = std::move(m_pCategoryTotals);
    m_pCategoryTotals = std::move(node);
    it->second = m_pCategoryTotals.get();
}

const CATTOTAL_NODE* CQuilletDoc::SortCategoryTotals()
{
    // Largest spending first; equal ones keep their order.
    std::vector<std::unique_ptr<CATTOTAL_NODE>> nodes;
    double spendingSum = 0.0;
    while (m_pCategoryTotals) {
        spendingSum += m_pCategoryTotals->Spending();
        std::unique_ptr<CATTOTAL_NODE> next = std::move(m_pCategoryTotals->next);
        nodes.push_back(std::move(m_pCategoryTotals));
        m_pCategoryTotals = std::move(next);
    }
    std::stable_sort(nodes.begin(), nodes.end(),
                     [](const auto& a, const auto& b) { return a->Spending() > b->Spending(); });
    for (auto it = nodes.rbegin(); it != nodes.rend(); ++it) {
        (*it)->spendingSum = spendingSum;
        (*it)->next = std::move(m_pCategoryTotals);
        m_pCategoryTotals = std::move(*it);
    }
    return m_pCategoryTotals.get();
}

void CQuilletDoc::FreeCategoryTotals()
{
    m_categoryTotalNodes.clear();
    FreeNodeList(m_pCategoryTotals);
}
