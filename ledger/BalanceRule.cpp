#include "BalanceRule.h"

#include "Records.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

std::vector<double> RunningBalances(const CAccount& account)
{
    const auto& entries = account.m_transactions;
    std::vector<int64_t> day(entries.size());
    std::vector<size_t> order(entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
        day[i] = entries[i]->m_date.GetDayNumber();
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&day](size_t a, size_t b) { return day[a] < day[b]; });

    std::vector<double> after(entries.size());
    double balance = account.m_dOpeningBalance;
    for (size_t i : order) {
        const CTransaction& entry = *entries[i];
        if (!entry.m_bVoid)
            balance = (balance + entry.m_dAmount) - entry.m_dFee;
        after[i] = balance;
    }
    return after;
}
