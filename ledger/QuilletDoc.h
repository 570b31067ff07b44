#pragma once
// The checkbook document: every record of one file, the day-chart
// selection, and the derived lists that speed up the views.

#include "DerivedLists.h"
#include "Records.h"

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class CQuilletDoc
{
public:
    CQuilletDoc();
    ~CQuilletDoc();
    CQuilletDoc(const CQuilletDoc&) = delete;
    CQuilletDoc& operator=(const CQuilletDoc&) = delete;

    // --- lifecycle -------------------------------------------------------
    // Clears the ledger back to a new document's content (default
    // categories, no accounts, no day-chart selection).
    void DeleteContents();
    // A new document: cleared, modified flag off.
    bool OnNewDocument();
    // Takes over other's ledger (records, categories, day-chart selection
    // and derived lists), leaving other with this one's old contents; the
    // modified flag and its listener stay.
    void TakeContents(CQuilletDoc& other);

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true);
    // Told whenever the modified flag changes (the window caption shows it).
    void SetModifiedListener(std::function<void(bool)> listener) { m_modifiedListener = std::move(listener); }

    // --- day chart selection -------------------------------------------
    bool IsDayChartSet() const { return m_bDayChartSet; }
    void ClearDayChartAccounts();
    void SetDayChartAccount(int position, const std::string& name);
    bool GetDayChartAccount(int position, std::string& name) const;

    // --- accounts, balances and entries -------------------------------
    CAccount* FindAccount(const std::string& name) const;
    CAccount* GetAccount(int position) const;
    int GetAccountNames(std::string& names) const;
    double GetAccountBalance(const std::string& name, int which);
    // The sum over the accounts with that number; an empty number names no
    // bank account and gives 0.0.
    double GetBankBalance(const std::string& number, int which);
    // The bank balance the account belongs to: shared with the accounts of
    // its number, or its own when it has none.
    double GetBankBalance(CAccount& account, int which);
    void AddAccount(const std::string& name, const std::string& number, double openingBalance,
                    const std::string& owner, const std::string& institution, const std::string& taxId);
    // Refused (false) while a recurring transaction names the account.
    bool DeleteAccount(int position);
    bool CanDeleteAccount(int position) const;
    // Returns the new entry, owned by its account, or null when no account
    // has that name (the entry is then dropped).
    CTransaction* AddEntry(const std::string& account, CTime date, const std::string& checkNumber,
                           const std::string& description, const std::string& category, double amount,
                           double fee, int deposit, int cleared, int isVoid, int flag);
    // The same for the account FindAccount gives for the name, found once
    // by whoever adds many entries.
    CTransaction* AddEntryTo(CAccount* target, CTime date, const std::string& checkNumber,
                             const std::string& description, const std::string& category, double amount,
                             double fee, int deposit, int cleared, int isVoid, int flag);
    void DeleteEntry(const std::string& account, int position);
    // The entry at position of the account at accountPosition; null when
    // either is out of range.
    CTransaction* GetEntry(int accountPosition, int position) const;
    // After entries of the account were changed in place: its balances,
    // the category totals and the modified flag follow.
    void EntriesChanged(CAccount& account);

    // --- records taken out and put back --------------------------------
    // What undo and redo are built on: a record unlinked here is handed to
    // the caller whole (an account with its register), and the same object
    // can be put back at the same position later. Removing hands back null
    // when there is nothing at that position; inserting past the end
    // appends. Balances, category totals and the modified flag follow.
    std::unique_ptr<CAccount> RemoveAccountAt(int position);
    void InsertAccountAt(int position, std::unique_ptr<CAccount> account);
    std::unique_ptr<CTransaction> RemoveEntryAt(int accountPosition, int position);
    void InsertEntryAt(int accountPosition, int position, std::unique_ptr<CTransaction> entry);
    std::unique_ptr<CRecurringTransaction> RemoveRecurringAt(int position);
    void InsertRecurringAt(int position, std::unique_ptr<CRecurringTransaction> record);

    std::unique_ptr<BALANCE_NODE> BuildBalanceSummary() const;
    static void FreeBalanceSummary(std::unique_ptr<BALANCE_NODE>& head);

    // --- entry memory (description completion) -------------------------
    void RebuildEntryMemory(const CAccount& account);
    void AddEntryMemory(const std::string& description, const std::string& category, int flag);
    bool LookupEntryMemory(const std::string& typed, std::string& description, std::string& category,
                           int& flag) const;
    void ClearEntryMemory();

    // --- recurring schedule ---------------------------------------------
    CRecurringTransaction* AddRecurring(const std::string& account, double amount, CTime start,
                                        const std::string& description, const std::string& category,
                                        const std::string& frequency, const std::string& periods, int flag);
    CRecurringTransaction* GetRecurring(int position) const;
    void DeleteRecurring(int position);
    int CountDueRecurring(int days) const;
    CRecurringTransaction* GetDueRecurring(int index, int days) const;
    // Every due one in list order, as GetDueRecurring gives them one by
    // one; for lists, which would walk the schedule once per row otherwise.
    std::vector<CRecurringTransaction*> GetAllDueRecurring(int days) const;
    // Writes the due entry and moves the schedule on. False, and nothing
    // changed, when the record names no existing account.
    bool PostRecurring(CRecurringTransaction* record);
    void SkipRecurring(CRecurringTransaction* record);
    static void AdvanceNextDate(CRecurringTransaction& record);
    static bool IsDue(const CRecurringTransaction& record, int days, int64_t now);

    // --- category totals --------------------------------------------------
    // Sums the entries of the lookback window (for the category view's
    // account, or every account) that are not void. Returns how many were
    // left out because their amount is not a number.
    int RebuildCategoryTotals();
    void AddToCategoryTotal(const std::string& category, double amount);
    const CATTOTAL_NODE* SortCategoryTotals();
    void FreeCategoryTotals();

    std::vector<std::unique_ptr<CAccount>> m_accounts;
    std::vector<std::unique_ptr<CRecurringTransaction>> m_recurring;
    bool m_bDayChartSet = false;
    std::string m_dayChartAccounts[5];
    std::unique_ptr<CCategoryList> m_pCategoryList;
    std::unique_ptr<MEMO_NODE> m_pEntryMemory;
    // Changed only through the category total operations above, which
    // keep an index of its nodes by name.
    std::unique_ptr<CATTOTAL_NODE> m_pCategoryTotals;

private:
    void ClearLedger();
    bool IsInCategoryView(const CAccount& account) const;
    bool CountsInCategoryTotals(const CTransaction& entry, int64_t now) const;

    bool m_bModified = false;
    std::function<void(bool)> m_modifiedListener;
    // The node of each name in m_pCategoryTotals, so a total is found at
    // once however many categories there are.
    std::unordered_map<std::string, CATTOTAL_NODE*> m_categoryTotalNodes;
};

// Accounts found by name at once, for work that looks up many names: the
// first account of each name, as FindAccount gives it. Valid while no
// account is added, removed or renamed.
class CAccountIndex
{
public:
    explicit CAccountIndex(const CQuilletDoc& doc);
    CAccount* Find(const std::string& name) const;
    // As GetAccountBalance, but each account's balances are recomputed only
    // the first time it is asked for.
    double GetAccountBalance(const std::string& name, int which);

private:
    struct Found
    {
        CAccount* account = nullptr;
        bool recomputed = false;
    };
    std::unordered_map<std::string, Found> m_byName;
};

// Field n of a ";"-separated list such as GetAccountNames gives; at most
// kListFieldMax characters, empty past the last field.
constexpr size_t kListFieldMax = 31;
std::string GetListField(const std::string& list, int field);
// Every field of such a list as GetListField gives them (the empty one
// after the last ";" included), in one pass over the list.
std::vector<std::string> GetListFields(const std::string& list);
