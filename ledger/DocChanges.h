#pragma once
// Changes of a checkbook that can be taken back and made again. Every
// change a user makes to the open document is one of these, so the
// window's history can undo and redo it. Each does its work through the
// document's own operations.
//
// A change is undone only on the document exactly as the change left it,
// and made again only on the document as it found it (a history undoes
// and redoes in strict order), so records are found again by their
// positions. A record taken out is held by the change, and the very same
// object goes back in. A position that holds nothing any more changes
// nothing.

#include "QuilletDoc.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CDocChange
{
public:
    virtual ~CDocChange() = default;
    // What the step is called after "Undo " and "Redo ".
    virtual std::string Name() const = 0;
    // Makes the change; false when it changed nothing, and then there is
    // nothing to undo.
    virtual bool Do(CQuilletDoc& doc) = 0;
    virtual void Undo(CQuilletDoc& doc) = 0;
    // Makes the change again after Undo.
    virtual void Redo(CQuilletDoc& doc) = 0;
};

// ---- entries -------------------------------------------------------------

// Entries added at the end of one account's register by an operation such
// as AddEntry or a statement import, which must add to nothing else.
class CAppendEntriesChange : public CDocChange
{
public:
    using Operation = std::function<void(CQuilletDoc&)>;
    CAppendEntriesChange(std::string name, std::string account, Operation operation);

    std::string Name() const override { return m_name; }
    bool Do(CQuilletDoc& doc) override;
    void Undo(CQuilletDoc& doc) override;
    void Redo(CQuilletDoc& doc) override;

    int AddedCount() const { return m_count; }
    // The first entry added, while it is in the register.
    CTransaction* FirstAdded(const CQuilletDoc& doc) const { return doc.GetEntry(m_accountPosition, m_first); }

private:
    std::string m_name;
    std::string m_account;
    Operation m_operation;
    int m_accountPosition = -1;
    int m_first = 0;
    int m_count = 0;
    std::vector<std::unique_ptr<CTransaction>> m_taken;
};

// New values for entries of one account: an edit, a void, cleared marks,
// flags, several entries at once as one change. Named for what changed:
// "Change Entry", "Clear 3 Entries", "Void Entry" ...
class CChangeEntriesChange : public CDocChange
{
public:
    struct NewValues
    {
        int position;
        CTransaction values;
    };
    CChangeEntriesChange(int accountPosition, std::vector<NewValues> entries);

    std::string Name() const override { return m_name; }
    bool Do(CQuilletDoc& doc) override;
    void Undo(CQuilletDoc& doc) override { Put(doc, false); }
    void Redo(CQuilletDoc& doc) override { Put(doc, true); }

private:
    struct Changed
    {
        int position;
        CTransaction before;
        CTransaction after;
    };
    void Put(CQuilletDoc& doc, bool after);

    int m_accountPosition;
    std::vector<NewValues> m_new;
    std::vector<Changed> m_changed;
    std::string m_name;
};

class CDeleteEntryChange : public CDocChange
{
public:
    CDeleteEntryChange(int accountPosition, int position) : m_accountPosition(accountPosition), m_position(position) {}

    std::string Name() const override { return "Delete Entry"; }
    bool Do(CQuilletDoc& doc) override;
    void Undo(CQuilletDoc& doc) override;
    void Redo(CQuilletDoc& doc) override { Do(doc); }

private:
    int m_accountPosition;
    int m_position;
    std::unique_ptr<CTransaction> m_taken;
};

// ---- accounts --------------------------------------------------------------

// The fields the accounts editor changes.
struct AccountFields
{
    std::string name;
    std::string number;
    double openingBalance = 0.0;
    std::string owner;
    std::string institution;
    std::string taxId;

    static AccountFields Of(const CAccount& account);
    void ApplyTo(CAccount& account) const;
    bool operator==(const AccountFields& other) const;
};

class CAddAccountChange : public CDocChange
{
public:
    explicit CAddAccountChange(AccountFields fields) : m_fields(std::move(fields)) {}

    std::string Name() const override { return "Add Account"; }
    bool Do(CQuilletDoc& doc) override;
    void Undo(CQuilletDoc& doc) override;
    void Redo(CQuilletDoc& doc) override;

private:
    AccountFields m_fields;
    int m_position = -1;
    std::unique_ptr<CAccount> m_taken;
};

// New fields for an account. A new name is taken along by the recurring
// transactions, the day chart and the category view that named the old one.
class CChangeAccountChange : public CDocChange
{
public:
    CChangeAccountChange(int position, AccountFields fields) : m_position(position), m_after(std::move(fields)) {}

    std::string Name() const override { return "Change Account"; }
    bool Do(CQuilletDoc& doc) override;
    void Undo(CQuilletDoc& doc) override { Put(doc, m_before, m_after.name); }
    void Redo(CQuilletDoc& doc) override { Put(doc, m_after, m_before.name); }

private:
    void Put(CQuilletDoc& doc, const AccountFields& fields, const std::string& otherName);

    int m_position;
    AccountFields m_before;
    AccountFields m_after;
    // Who named the account and was renamed with it.
    std::vector<int> m_recurring;
    std::vector<int> m_dayChartLines;
    bool m_categoryView = false;
};

// DeleteAccount as a change: refused (false) while a recurring transaction
// names the account.
class CDeleteAccountChange : public CDocChange
{
public:
    explicit CDeleteAccountChange(int position) : m_position(position) {}

    std::string Name() const override { return "Delete Account"; }
    bool Do(CQuilletDoc& doc) override;
    void Undo(CQuilletDoc& doc) override;
    void Redo(CQuilletDoc& doc) override;

private:
    int m_position;
    std::unique_ptr<CAccount> m_taken;
};

// ---- recurring transactions ------------------------------------------------

class CAddRecurringChange : public CDocChange
{
public:
    explicit CAddRecurringChange(CRecurringTransaction values) : m_values(std::move(values)) {}

    std::string Name() const override { return "Add Recurring Transaction"; }
    bool Do(CQuilletDoc& doc) override;
    void Undo(CQuilletDoc& doc) override;
    void Redo(CQuilletDoc& doc) override;

    // The transaction added, while it is in the document.
    CRecurringTransaction* Added(const CQuilletDoc& doc) const { return doc.GetRecurring(m_position); }

private:
    CRecurringTransaction m_values;
    int m_position = -1;
    std::unique_ptr<CRecurringTransaction> m_taken;
};

class CChangeRecurringChange : public CDocChange
{
public:
    CChangeRecurringChange(int position, CRecurringTransaction values)
        : m_position(position), m_after(std::move(values))
    {
    }

    std::string Name() const override { return "Change Recurring Transaction"; }
    bool Do(CQuilletDoc& doc) override;
    void Undo(CQuilletDoc& doc) override { Put(doc, m_before); }
    void Redo(CQuilletDoc& doc) override { Put(doc, m_after); }

private:
    void Put(CQuilletDoc& doc, const CRecurringTransaction& values);

    int m_position;
    CRecurringTransaction m_before;
    CRecurringTransaction m_after;
};

class CDeleteRecurringChange : public CDocChange
{
public:
    explicit CDeleteRecurringChange(int position) : m_position(position) {}

    std::string Name() const override { return "Delete Recurring Transaction"; }
    bool Do(CQuilletDoc& doc) override;
    void Undo(CQuilletDoc& doc) override;
    void Redo(CQuilletDoc& doc) override { Do(doc); }

private:
    int m_position;
    std::unique_ptr<CRecurringTransaction> m_taken;
};

// A due transaction posted to its register (PostRecurring) or skipped
// (SkipRecurring). Posting is refused (false) when its account is gone.
class CDueRecurringChange : public CDocChange
{
public:
    enum Action { Post, Skip };
    CDueRecurringChange(int position, Action action) : m_position(position), m_action(action) {}

    std::string Name() const override;
    bool Do(CQuilletDoc& doc) override;
    void Undo(CQuilletDoc& doc) override;
    void Redo(CQuilletDoc& doc) override;

private:
    int m_position;
    Action m_action;
    CRecurringTransaction m_before;
    CRecurringTransaction m_after;
    int m_accountPosition = -1;
    int m_entryPosition = -1;
    std::unique_ptr<CTransaction> m_taken;
};

// ---- categories ------------------------------------------------------------

class CInsertCategoryChange : public CDocChange
{
public:
    CInsertCategoryChange(std::string name, int flag) : m_name(std::move(name)), m_flag(flag) {}

    std::string Name() const override { return "Insert Category"; }
    bool Do(CQuilletDoc& doc) override;  // false when the name is taken
    void Undo(CQuilletDoc& doc) override;
    void Redo(CQuilletDoc& doc) override;

private:
    std::string m_name;
    int m_flag;
    int m_position = -1;
    std::unique_ptr<CCategory> m_taken;
};

class CModifyCategoryChange : public CDocChange
{
public:
    CModifyCategoryChange(int position, int flag) : m_position(position), m_after(flag) {}

    std::string Name() const override { return "Modify Category"; }
    bool Do(CQuilletDoc& doc) override;
    void Undo(CQuilletDoc& doc) override { Put(doc, m_before); }
    void Redo(CQuilletDoc& doc) override { Put(doc, m_after); }

private:
    void Put(CQuilletDoc& doc, int flag);

    int m_position;
    int m_before = 0;
    int m_after;
};

class CDeleteCategoryChange : public CDocChange
{
public:
    explicit CDeleteCategoryChange(int position) : m_position(position) {}

    std::string Name() const override { return "Delete Category"; }
    bool Do(CQuilletDoc& doc) override;
    void Undo(CQuilletDoc& doc) override;
    void Redo(CQuilletDoc& doc) override { Do(doc); }

private:
    int m_position;
    std::unique_ptr<CCategory> m_taken;
};

// ---- settings stored with the checkbook ------------------------------------

// The day chart's lines and the category view's settings, which the file
// carries with the ledger.
struct ViewSettings
{
    bool dayChartSet = false;
    std::array<std::string, 5> dayChartAccounts;
    int lookback = 0;
    int numCategories = 0;
    int startCategories = 0;
    std::string categoryAccount;

    static ViewSettings Of(const CQuilletDoc& doc);
    // Stores them and sums the category totals again for the new window.
    void ApplyTo(CQuilletDoc& doc) const;
    bool operator==(const ViewSettings& other) const;
};

class CViewSettingsChange : public CDocChange
{
public:
    CViewSettingsChange(std::string name, ViewSettings settings)
        : m_name(std::move(name)), m_after(std::move(settings))
    {
    }

    std::string Name() const override { return m_name; }
    bool Do(CQuilletDoc& doc) override;
    void Undo(CQuilletDoc& doc) override { m_before.ApplyTo(doc); }
    void Redo(CQuilletDoc& doc) override { m_after.ApplyTo(doc); }

private:
    std::string m_name;
    ViewSettings m_before;
    ViewSettings m_after;
};

// A new password hash; an empty one removes the password. It protects the
// file once it is saved.
class CPasswordChange : public CDocChange
{
public:
    explicit CPasswordChange(std::string hash) : m_after(std::move(hash)) {}

    std::string Name() const override { return m_after.empty() ? "Remove Password" : "Set Password"; }
    bool Do(CQuilletDoc& doc) override;
    void Undo(CQuilletDoc& doc) override { Put(doc, m_before); }
    void Redo(CQuilletDoc& doc) override { Put(doc, m_after); }

private:
    static void Put(CQuilletDoc& doc, const std::string& hash);

    std::string m_before;
    std::string m_after;
};

// Whether two records hold the same values, bit for bit (a NaN read from a
// file equals itself).
bool SameValues(const CTransaction& a, const CTransaction& b);
bool SameValues(const CRecurringTransaction& a, const CRecurringTransaction& b);
// The position of the first account with that name, as FindAccount finds
// it; -1 when there is none.
int AccountPosition(const CQuilletDoc& doc, const std::string& name);
