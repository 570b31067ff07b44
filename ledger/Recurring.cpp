// The recurring schedule: due test, posting, skipping and date stepping.
#include "QuilletDoc.h"

#include <algorithm>
#include <cstdio>

CRecurringTransaction* CQuilletDoc::AddRecurring(const std::string& account, double amount, CTime start,
                                                 const std::string& description,
                                                 const std::string& category, const std::string& frequency,
                                                 const std::string& periods, int flag)
{
    m_recurring.push_back(std::make_unique<CRecurringTransaction>(account, amount, start, description,
                                                                  category, frequency, periods, flag));
    SetModifiedFlag();
    return m_recurring.back().get();
}

CRecurringTransaction* CQuilletDoc::GetRecurring(int position) const
{
    if (position < 0 || size_t(position) >= m_recurring.size())
        return nullptr;
    return m_recurring[size_t(position)].get();
}

void CQuilletDoc::DeleteRecurring(int position)
{
    RemoveRecurringAt(position);
}

std::unique_ptr<CRecurringTransaction> CQuilletDoc::RemoveRecurringAt(int position)
{
    if (!GetRecurring(position))
        return nullptr;
    std::unique_ptr<CRecurringTransaction> taken = std::move(m_recurring[size_t(position)]);
    m_recurring.erase(m_recurring.begin() + position);
    SetModifiedFlag();
    return taken;
}

void CQuilletDoc::InsertRecurringAt(int position, std::unique_ptr<CRecurringTransaction> record)
{
    if (!record)
        return;
    const size_t at = position < 0 ? 0 : std::min(size_t(position), m_recurring.size());
    m_recurring.insert(m_recurring.begin() + long(at), std::move(record));
    SetModifiedFlag();
}

bool CQuilletDoc::IsDue(const CRecurringTransaction& record, int days, int64_t now)
{
    // No lower bound: an overdue item stays due until it is caught up.
    return now + int64_t(days) * CTime::kDay >= int64_t(record.m_nextDate.GetTime());
}

int CQuilletDoc::CountDueRecurring(int days) const
{
    const int64_t now = Clock::Now();
    int count = 0;
    for (const auto& record : m_recurring)
        if (IsDue(*record, days, now))
            ++count;
    return count;
}

CRecurringTransaction* CQuilletDoc::GetDueRecurring(int index, int days) const
{
    const int64_t now = Clock::Now();
    int seen = 0;
    for (const auto& record : m_recurring) {
        if (!IsDue(*record, days, now))
            continue;
        if (seen == index)
            return record.get();
        ++seen;
    }
    return nullptr;
}

std::vector<CRecurringTransaction*> CQuilletDoc::GetAllDueRecurring(int days) const
{
    const int64_t now = Clock::Now();
    std::vector<CRecurringTransaction*> due;
    for (const auto& record : m_recurring)
        if (IsDue(*record, days, now))
            due.push_back(record.get());
    return due;
}

bool CQuilletDoc::PostRecurring(CRecurringTransaction* record)
{
    // The entry would land in no register, yet the schedule, the category
    // totals and the modified flag would move on as if it had been written.
    if (!record || !FindAccount(record->m_strAccount))
        return false;
    record->m_nPeriodsDone += 1;
    char checkNumber[32];
    std::snprintf(checkNumber, sizeof checkNumber, "R-%d", record->m_nPeriodsDone);
    AddEntry(record->m_strAccount, record->m_nextDate, checkNumber, record->m_strDescription,
             record->m_strCategory, record->m_dAmount, 0.0, 0, 0, 0, record->m_nFlag);
    AdvanceNextDate(*record);
    SetModifiedFlag();
    return true;
}

void CQuilletDoc::SkipRecurring(CRecurringTransaction* record)
{
    if (!record)
        return;
    record->m_nPeriodsDone += 1;
    AdvanceNextDate(*record);
    SetModifiedFlag();
}

void CQuilletDoc::AdvanceNextDate(CRecurringTransaction& record)
{
    const CTime date = record.m_nextDate;
    int day = date.GetDay();
    int month = date.GetMonth();
    int year = date.GetYear();
    const std::string& frequency = record.m_strFrequency;

    int months = 0;
    if (frequency == "Yearly")
        months = 12;
    else if (frequency == "Quarterly")
        months = 3;
    else if (frequency == "Monthly")
        months = 1;
    else if (frequency == "Bi-Weekly")
        record.m_nextDate = date.AddDays(14);
    else if (frequency == "Weekly")
        record.m_nextDate = date.AddDays(7);
    else if (frequency == "Daily")
        record.m_nextDate = date.AddDays(1);

    if (months == 0)
        return;
    month += months;
    if (month > 12) {
        month -= 12;
        year += 1;
    }
    record.m_nextDate = CTime(year, month, day, 0, 0, 0);
}
