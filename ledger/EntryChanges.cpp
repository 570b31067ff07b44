// Register entries as changes that can be undone: added, changed, deleted,
// and the entries recurring transactions post.
#include "DocChanges.h"

#include <cstring>

namespace
{
bool SameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// "Entry" for one, "3 Entries" for more.
std::string Entries(size_t count)
{
    return count == 1 ? std::string("Entry") : std::to_string(count) + " Entries";
}
}

bool SameValues(const CTransaction& a, const CTransaction& b)
{
    return a.m_date == b.m_date && a.m_strCheckNumber == b.m_strCheckNumber &&
           a.m_strDescription == b.m_strDescription && a.m_strCategory == b.m_strCategory &&
           SameBits(a.m_dAmount, b.m_dAmount) && a.m_bCleared == b.m_bCleared && SameBits(a.m_dFee, b.m_dFee) &&
           a.m_bVoid == b.m_bVoid && a.m_nFlag == b.m_nFlag;
}

bool SameValues(const CRecurringTransaction& a, const CRecurringTransaction& b)
{
    return a.m_strAccount == b.m_strAccount && SameBits(a.m_dAmount, b.m_dAmount) &&
           a.m_strDescription == b.m_strDescription && a.m_strCategory == b.m_strCategory &&
           a.m_strFrequency == b.m_strFrequency && a.m_strPeriods == b.m_strPeriods &&
           a.m_nPeriodsDone == b.m_nPeriodsDone && a.m_nextDate == b.m_nextDate && a.m_nFlag == b.m_nFlag;
}

int AccountPosition(const CQuilletDoc& doc, const std::string& name)
{
    for (int position = 0; const CAccount* account = doc.GetAccount(position); ++position)
        if (account->m_strName == name)
            return position;
    return -1;
}

// ---- appended entries -----------------------------------------------------------

CAppendEntriesChange::CAppendEntriesChange(std::string name, std::string account, Operation operation)
    : m_name(std::move(name)), m_account(std::move(account)), m_operation(std::move(operation))
{
}

bool CAppendEntriesChange::Do(CQuilletDoc& doc)
{
    m_accountPosition = AccountPosition(doc, m_account);
    const CAccount* account = doc.GetAccount(m_accountPosition);
    if (!account)
        return false;
    m_first = int(account->m_transactions.size());
    m_operation(doc);
    m_count = int(account->m_transactions.size()) - m_first;
    return m_count > 0;
}

void CAppendEntriesChange::Undo(CQuilletDoc& doc)
{
    CAccount* account = doc.GetAccount(m_accountPosition);
    if (!account || int(account->m_transactions.size()) != m_first + m_count)
        return;
    // From the end, so no entry moves; then the balances once for all.
    m_taken.resize(size_t(m_count));
    for (int i = m_count - 1; i >= 0; --i)
        m_taken[size_t(i)] = account->RemoveTransactionAt(m_first + i);
    doc.EntriesChanged(*account);
}

void CAppendEntriesChange::Redo(CQuilletDoc& doc)
{
    CAccount* account = doc.GetAccount(m_accountPosition);
    if (!account || m_taken.empty())
        return;
    for (auto& entry : m_taken)
        account->AddTransaction(std::move(entry));
    m_taken.clear();
    doc.EntriesChanged(*account);
}

// ---- changed entries ---------------------------------------------------------------

CChangeEntriesChange::CChangeEntriesChange(int accountPosition, std::vector<NewValues> entries)
    : m_accountPosition(accountPosition), m_new(std::move(entries))
{
}

bool CChangeEntriesChange::Do(CQuilletDoc& doc)
{
    CAccount* account = doc.GetAccount(m_accountPosition);
    if (!account)
        return false;
    m_changed.clear();
    bool onlyCleared = true, onlyVoid = true, onlyFlag = true;
    for (const NewValues& change : m_new) {
        CTransaction* entry = doc.GetEntry(m_accountPosition, change.position);
        if (!entry || SameValues(*entry, change.values))
            continue;
        CTransaction others = change.values;
        others.m_bCleared = entry->m_bCleared;
        onlyCleared = onlyCleared && SameValues(*entry, others);
        others = change.values;
        others.m_bVoid = entry->m_bVoid;
        onlyVoid = onlyVoid && SameValues(*entry, others);
        others = change.values;
        others.m_nFlag = entry->m_nFlag;
        onlyFlag = onlyFlag && SameValues(*entry, others);
        m_changed.push_back({change.position, *entry, change.values});
        *entry = change.values;
    }
    m_new.clear();
    if (m_changed.empty())
        return false;

    // Named for what changed, the way the marks were set.
    const CTransaction& first = m_changed.front().after;
    auto allAfter = [this](auto field) {
        for (const Changed& c : m_changed)
            if (c.after.*field != m_changed.front().after.*field)
                return false;
        return true;
    };
    std::string verb = "Change";
    if (onlyCleared && allAfter(&CTransaction::m_bCleared))
        verb = first.m_bCleared ? "Clear" : "Unclear";
    else if (onlyVoid && allAfter(&CTransaction::m_bVoid))
        verb = first.m_bVoid ? "Void" : "Unvoid";
    else if (onlyFlag)
        verb = "Flag";
    m_name = verb + " " + Entries(m_changed.size());
    doc.EntriesChanged(*account);
    return true;
}

void CChangeEntriesChange::Put(CQuilletDoc& doc, bool after)
{
    CAccount* account = doc.GetAccount(m_accountPosition);
    if (!account)
        return;
    // Backwards on the way back, should one entry have been given twice.
    for (size_t i = 0; i < m_changed.size(); ++i) {
        const Changed& c = m_changed[after ? i : m_changed.size() - 1 - i];
        if (CTransaction* entry = doc.GetEntry(m_accountPosition, c.position))
            *entry = after ? c.after : c.before;
    }
    doc.EntriesChanged(*account);
}

// ---- deleted entries -----------------------------------------------------------------

bool CDeleteEntryChange::Do(CQuilletDoc& doc)
{
    m_taken = doc.RemoveEntryAt(m_accountPosition, m_position);
    return m_taken != nullptr;
}

void CDeleteEntryChange::Undo(CQuilletDoc& doc)
{
    if (m_taken && doc.GetAccount(m_accountPosition))
        doc.InsertEntryAt(m_accountPosition, m_position, std::move(m_taken));
}

// ---- due recurring transactions ------------------------------------------------------

std::string CDueRecurringChange::Name() const
{
    return m_action == Post ? "Post Due Transaction" : "Skip Due Transaction";
}

bool CDueRecurringChange::Do(CQuilletDoc& doc)
{
    CRecurringTransaction* record = doc.GetRecurring(m_position);
    if (!record)
        return false;
    m_before = *record;
    if (m_action == Post) {
        m_accountPosition = AccountPosition(doc, record->m_strAccount);
        const CAccount* account = doc.GetAccount(m_accountPosition);
        m_entryPosition = account ? int(account->m_transactions.size()) : -1;
        if (!doc.PostRecurring(record))
            return false;
    } else {
        doc.SkipRecurring(record);
    }
    m_after = *record;
    return true;
}

void CDueRecurringChange::Undo(CQuilletDoc& doc)
{
    CRecurringTransaction* record = doc.GetRecurring(m_position);
    if (!record)
        return;
    if (m_action == Post)
        m_taken = doc.RemoveEntryAt(m_accountPosition, m_entryPosition);
    *record = m_before;
    doc.SetModifiedFlag();
}

void CDueRecurringChange::Redo(CQuilletDoc& doc)
{
    CRecurringTransaction* record = doc.GetRecurring(m_position);
    if (!record)
        return;
    if (m_taken)
        doc.InsertEntryAt(m_accountPosition, m_entryPosition, std::move(m_taken));
    *record = m_after;
    doc.SetModifiedFlag();
}
