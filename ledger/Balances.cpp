// Accounts, balances, register entries and the balance books summary.
#include "QuilletDoc.h"

#include "BalanceRule.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

CAccount* CQuilletDoc::FindAccount(const std::string& name) const
{
    for (const auto& account : m_accounts)
        if (account->m_strName == name)
            return account.get();
    return nullptr;
}

CAccountIndex::CAccountIndex(const CQuilletDoc& doc)
{
    m_byName.reserve(doc.m_accounts.size());
    for (const auto& account : doc.m_accounts)
        m_byName.try_emplace(account->m_strName, Found{account.get(), false});
}

CAccount* CAccountIndex::Find(const std::string& name) const
{
    const auto it = m_byName.find(name);
    return it == m_byName.end() ? nullptr : it->second.account;
}

double CAccountIndex::GetAccountBalance(const std::string& name, int which)
{
    const auto it = m_byName.find(name);
    if (it == m_byName.end())
        return 0.0;
    Found& found = it->second;
    if (!std::exchange(found.recomputed, true))
        found.account->RecomputeBalances(which);
    return which == 1 ? found.account->m_dClearedBalance : found.account->m_dBalance;
}

CAccount* CQuilletDoc::GetAccount(int position) const
{
    if (position < 0 || size_t(position) >= m_accounts.size())
        return nullptr;
    return m_accounts[size_t(position)].get();
}

int CQuilletDoc::GetAccountNames(std::string& names) const
{
    names.clear();
    for (const auto& account : m_accounts) {
        names += account->m_strName;
        names += ';';
    }
    return int(m_accounts.size());
}

double CQuilletDoc::GetAccountBalance(const std::string& name, int which)
{
    CAccount* account = FindAccount(name);
    return account ? account->RecomputeBalances(which) : 0.0;
}

double CQuilletDoc::GetBankBalance(const std::string& number, int which)
{
    // An empty number names no bank account: such accounts share nothing.
    if (number.empty())
        return 0.0;
    FiniteSum sum;
    for (const auto& account : m_accounts)
        if (account->m_strNumber == number)
            sum.Add(account->RecomputeBalances(which));
    return sum.sum;
}

double CQuilletDoc::GetBankBalance(CAccount& account, int which)
{
    if (account.m_strNumber.empty())
        return account.RecomputeBalances(which);
    return GetBankBalance(account.m_strNumber, which);
}

void CQuilletDoc::AddAccount(const std::string& name, const std::string& number, double openingBalance,
                             const std::string& owner, const std::string& institution,
                             const std::string& taxId)
{
    m_accounts.push_back(
        std::make_unique<CAccount>(name, number, openingBalance, owner, institution, taxId));
}

bool CQuilletDoc::DeleteAccount(int position)
{
    if (!CanDeleteAccount(position))
        return false;
    RemoveAccountAt(position);
    return true;
}

bool CQuilletDoc::CanDeleteAccount(int position) const
{
    const CAccount* account = GetAccount(position);
    if (!account)
        return false;
    for (const auto& recurring : m_recurring)
        if (recurring->m_strAccount == account->m_strName)
            return false;
    return true;
}

std::unique_ptr<CAccount> CQuilletDoc::RemoveAccountAt(int position)
{
    if (!GetAccount(position))
        return nullptr;
    std::unique_ptr<CAccount> taken = std::move(m_accounts[size_t(position)]);
    m_accounts.erase(m_accounts.begin() + position);
    RebuildCategoryTotals();
    SetModifiedFlag();
    return taken;
}

void CQuilletDoc::InsertAccountAt(int position, std::unique_ptr<CAccount> account)
{
    if (!account)
        return;
    account->RecomputeBalances(0);
    const size_t at = position < 0 ? 0 : std::min(size_t(position), m_accounts.size());
    m_accounts.insert(m_accounts.begin() + long(at), std::move(account));
    RebuildCategoryTotals();
    SetModifiedFlag();
}

CTransaction* CQuilletDoc::AddEntry(const std::string& account, CTime date, const std::string& checkNumber,
                                    const std::string& description, const std::string& category,
                                    double amount, double fee, int deposit, int cleared, int isVoid,
                                    int flag)
{
    return AddEntryTo(FindAccount(account), date, checkNumber, description, category, amount, fee, deposit, cleared,
                      isVoid, flag);
}

CTransaction* CQuilletDoc::AddEntryTo(CAccount* target, CTime date, const std::string& checkNumber,
                                      const std::string& description, const std::string& category, double amount,
                                      double fee, int deposit, int cleared, int isVoid, int flag)
{
    const double signedAmount = deposit ? amount : amount * -1.0;
    auto entry = std::make_unique<CTransaction>(date, checkNumber, description, category, signedAmount,
                                                cleared, fee, isVoid, flag);
    CTransaction* added = nullptr;
    if (target) {
        added = entry.get();
        target->AddTransaction(std::move(entry));
    }
    // The same test a rebuild makes, so the totals never depend on whether
    // they were rebuilt since.
    if (added && IsInCategoryView(*target) && CountsInCategoryTotals(*added, Clock::Now()))
        AddToCategoryTotal(category, signedAmount);
    SetModifiedFlag();
    return added;
}

void CQuilletDoc::DeleteEntry(const std::string& account, int position)
{
    for (const auto& a : m_accounts)
        if (a->m_strName == account)
            a->RemoveTransactionAt(position);
    RebuildCategoryTotals();
    SetModifiedFlag();
}

CTransaction* CQuilletDoc::GetEntry(int accountPosition, int position) const
{
    const CAccount* account = GetAccount(accountPosition);
    if (!account || position < 0 || size_t(position) >= account->m_transactions.size())
        return nullptr;
    return account->m_transactions[size_t(position)].get();
}

void CQuilletDoc::EntriesChanged(CAccount& account)
{
    account.RecomputeBalances(0);
    RebuildCategoryTotals();
    SetModifiedFlag();
}

std::unique_ptr<CTransaction> CQuilletDoc::RemoveEntryAt(int accountPosition, int position)
{
    if (!GetEntry(accountPosition, position))
        return nullptr;
    CAccount& account = *GetAccount(accountPosition);
    std::unique_ptr<CTransaction> taken = account.RemoveTransactionAt(position);
    EntriesChanged(account);
    return taken;
}

void CQuilletDoc::InsertEntryAt(int accountPosition, int position, std::unique_ptr<CTransaction> entry)
{
    CAccount* account = GetAccount(accountPosition);
    if (!account || !entry)
        return;
    account->InsertTransactionAt(position, std::move(entry));
    EntriesChanged(*account);
}

namespace
{
std::unique_ptr<BALANCE_NODE> MakeSummary(const std::string& number, double balance, double cleared)
{
    auto summary = std::make_unique<BALANCE_NODE>();
    summary->name = "Summary";
    summary->number = number;
    summary->groupIndex = -1;
    summary->balance = balance;
    summary->cleared = cleared;
    return summary;
}
}

std::unique_ptr<BALANCE_NODE> CQuilletDoc::BuildBalanceSummary() const
{
    // Members of a number stand together, each group where its first
    // member stands, the others following in list order. Accounts without
    // a number share no bank and group with nothing. The groups are found
    // by their number at once, so any number of accounts lists in one pass.
    std::vector<std::vector<std::unique_ptr<BALANCE_NODE>>> groups;
    std::unordered_map<std::string, size_t> groupOfNumber;
    for (const auto& account : m_accounts) {
        auto node = std::make_unique<BALANCE_NODE>();
        node->name = CutText(account->m_strName, BALANCE_NODE::kNameMax);
        node->number = CutText(account->m_strNumber, BALANCE_NODE::kNumberMax);
        node->balance = account->m_dBalance;
        node->cleared = account->m_dClearedBalance;
        size_t group = groups.size();
        if (!node->number.empty())
            group = groupOfNumber.try_emplace(node->number, groups.size()).first->second;
        if (group == groups.size())
            groups.emplace_back();
        node->groupIndex = int(groups[group].size());
        groups[group].push_back(std::move(node));
    }
    std::unique_ptr<BALANCE_NODE> head;
    std::unique_ptr<BALANCE_NODE>* end = &head;
    for (auto& group : groups) {
        for (auto& node : group) {
            *end = std::move(node);
            end = &(*end)->next;
        }
    }

    FiniteSum balance;
    FiniteSum cleared;
    bool furtherMemberSeen = false;
    const BALANCE_NODE* previous = nullptr;
    for (std::unique_ptr<BALANCE_NODE>* slot = &head; *slot; slot = &(*slot)->next) {
        BALANCE_NODE* node = slot->get();
        if (node->groupIndex > 0) {
            balance.Add(node->balance);
            cleared.Add(node->cleared);
            furtherMemberSeen = true;
        } else if (node->groupIndex == 0) {
            if (furtherMemberSeen && previous) {
                auto summary = MakeSummary(previous->number, balance.sum, cleared.sum);
                summary->next = std::move(*slot);
                *slot = std::move(summary);
                slot = &(*slot)->next;
                furtherMemberSeen = false;
            }
            balance = FiniteSum();
            cleared = FiniteSum();
            balance.Add(node->balance);
            cleared.Add(node->cleared);
        }
        previous = node;
    }
    // A group of two or more at the end is summed too, so every group's
    // total shows.
    if (furtherMemberSeen && previous) {
        std::unique_ptr<BALANCE_NODE>* tail = &head;
        while (*tail)
            tail = &(*tail)->next;
        *tail = MakeSummary(previous->number, balance.sum, cleared.sum);
    }
    return head;
}

void CQuilletDoc::FreeBalanceSummary(std::unique_ptr<BALANCE_NODE>& head)
{
    FreeNodeList(head);
}
