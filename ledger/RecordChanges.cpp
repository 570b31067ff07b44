// Accounts, recurring transactions and categories as changes that can be
// undone.
#include "AppValues.h"
#include "DocChanges.h"

#include <cstring>
#include <iterator>

// ---- accounts ----------------------------------------------------------------

AccountFields AccountFields::Of(const CAccount& account)
{
    return {account.m_strName,  account.m_strNumber,      account.m_dOpeningBalance,
            account.m_strOwner, account.m_strInstitution, account.m_strTaxId};
}

void AccountFields::ApplyTo(CAccount& account) const
{
    account.m_strName = name;
    account.m_strNumber = number;
    account.m_dOpeningBalance = openingBalance;
    account.m_strOwner = owner;
    account.m_strInstitution = institution;
    account.m_strTaxId = taxId;
}

bool AccountFields::operator==(const AccountFields& other) const
{
    return name == other.name && number == other.number &&
           std::memcmp(&openingBalance, &other.openingBalance, sizeof openingBalance) == 0 &&
           owner == other.owner && institution == other.institution && taxId == other.taxId;
}

bool CAddAccountChange::Do(CQuilletDoc& doc)
{
    doc.AddAccount(m_fields.name, m_fields.number, m_fields.openingBalance, m_fields.owner, m_fields.institution,
                   m_fields.taxId);
    m_position = int(doc.m_accounts.size()) - 1;
    doc.SetModifiedFlag();
    return true;
}

void CAddAccountChange::Undo(CQuilletDoc& doc)
{
    m_taken = doc.RemoveAccountAt(m_position);
}

void CAddAccountChange::Redo(CQuilletDoc& doc)
{
    if (m_taken)
        doc.InsertAccountAt(m_position, std::move(m_taken));
}

bool CChangeAccountChange::Do(CQuilletDoc& doc)
{
    CAccount* account = doc.GetAccount(m_position);
    if (!account)
        return false;
    m_before = AccountFields::Of(*account);
    if (m_before == m_after)
        return false;
    const std::string& oldName = m_before.name;
    if (oldName != m_after.name) {
        for (int i = 0; const CRecurringTransaction* record = doc.GetRecurring(i); ++i)
            if (record->m_strAccount == oldName)
                m_recurring.push_back(i);
        for (int line = 0; line < int(std::size(doc.m_dayChartAccounts)); ++line)
            if (doc.m_dayChartAccounts[line] == oldName)
                m_dayChartLines.push_back(line);
        m_categoryView = g_strCategoryAccount == oldName;
    }
    Put(doc, m_after, oldName);
    return true;
}

void CChangeAccountChange::Put(CQuilletDoc& doc, const AccountFields& fields, const std::string& otherName)
{
    CAccount* account = doc.GetAccount(m_position);
    if (!account || account->m_strName != otherName)
        return;
    fields.ApplyTo(*account);
    for (int i : m_recurring)
        if (CRecurringTransaction* record = doc.GetRecurring(i))
            record->m_strAccount = fields.name;
    for (int line : m_dayChartLines)
        doc.m_dayChartAccounts[line] = fields.name;
    if (m_categoryView)
        g_strCategoryAccount = fields.name;
    // The opening balance moves every balance; a new name may take the
    // account into or out of the category view.
    doc.EntriesChanged(*account);
}

bool CDeleteAccountChange::Do(CQuilletDoc& doc)
{
    if (!doc.CanDeleteAccount(m_position))
        return false;
    m_taken = doc.RemoveAccountAt(m_position);
    return m_taken != nullptr;
}

void CDeleteAccountChange::Undo(CQuilletDoc& doc)
{
    if (m_taken)
        doc.InsertAccountAt(m_position, std::move(m_taken));
}

void CDeleteAccountChange::Redo(CQuilletDoc& doc)
{
    m_taken = doc.RemoveAccountAt(m_position);
}

// ---- recurring transactions ------------------------------------------------------

bool CAddRecurringChange::Do(CQuilletDoc& doc)
{
    const CRecurringTransaction& v = m_values;
    doc.AddRecurring(v.m_strAccount, v.m_dAmount, v.m_nextDate, v.m_strDescription, v.m_strCategory,
                     v.m_strFrequency, v.m_strPeriods, v.m_nFlag);
    m_position = int(doc.m_recurring.size()) - 1;
    return true;
}

void CAddRecurringChange::Undo(CQuilletDoc& doc)
{
    m_taken = doc.RemoveRecurringAt(m_position);
}

void CAddRecurringChange::Redo(CQuilletDoc& doc)
{
    if (m_taken)
        doc.InsertRecurringAt(m_position, std::move(m_taken));
}

bool CChangeRecurringChange::Do(CQuilletDoc& doc)
{
    const CRecurringTransaction* record = doc.GetRecurring(m_position);
    if (!record || SameValues(*record, m_after))
        return false;
    m_before = *record;
    Put(doc, m_after);
    return true;
}

void CChangeRecurringChange::Put(CQuilletDoc& doc, const CRecurringTransaction& values)
{
    if (CRecurringTransaction* record = doc.GetRecurring(m_position)) {
        *record = values;
        doc.SetModifiedFlag();
    }
}

bool CDeleteRecurringChange::Do(CQuilletDoc& doc)
{
    m_taken = doc.RemoveRecurringAt(m_position);
    return m_taken != nullptr;
}

void CDeleteRecurringChange::Undo(CQuilletDoc& doc)
{
    if (m_taken)
        doc.InsertRecurringAt(m_position, std::move(m_taken));
}

// ---- categories ---------------------------------------------------------------------

namespace
{
int CategoryPosition(const CCategoryList& list, const std::string& name)
{
    for (size_t i = 0; i < list.m_categories.size(); ++i)
        if (list.m_categories[i]->m_strName == name)
            return int(i);
    return -1;
}
}

bool CInsertCategoryChange::Do(CQuilletDoc& doc)
{
    if (!doc.m_pCategoryList->AddCategory(m_name, m_flag))
        return false;
    m_position = CategoryPosition(*doc.m_pCategoryList, m_name);
    doc.SetModifiedFlag();
    return true;
}

void CInsertCategoryChange::Undo(CQuilletDoc& doc)
{
    m_taken = doc.m_pCategoryList->RemoveCategoryAt(m_position);
    doc.SetModifiedFlag();
}

void CInsertCategoryChange::Redo(CQuilletDoc& doc)
{
    doc.m_pCategoryList->InsertCategoryAt(m_position, std::move(m_taken));
    doc.SetModifiedFlag();
}

bool CModifyCategoryChange::Do(CQuilletDoc& doc)
{
    const auto& categories = doc.m_pCategoryList->m_categories;
    if (m_position < 0 || size_t(m_position) >= categories.size())
        return false;
    m_before = categories[size_t(m_position)]->m_nFlag;
    if (m_before == m_after)
        return false;
    Put(doc, m_after);
    return true;
}

void CModifyCategoryChange::Put(CQuilletDoc& doc, int flag)
{
    const auto& categories = doc.m_pCategoryList->m_categories;
    if (m_position >= 0 && size_t(m_position) < categories.size()) {
        categories[size_t(m_position)]->m_nFlag = flag;
        doc.SetModifiedFlag();
    }
}

bool CDeleteCategoryChange::Do(CQuilletDoc& doc)
{
    m_taken = doc.m_pCategoryList->RemoveCategoryAt(m_position);
    if (!m_taken)
        return false;
    doc.SetModifiedFlag();
    return true;
}

void CDeleteCategoryChange::Undo(CQuilletDoc& doc)
{
    doc.m_pCategoryList->InsertCategoryAt(m_position, std::move(m_taken));
    doc.SetModifiedFlag();
}
