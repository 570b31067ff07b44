#pragma once
// The records of a checkbook: accounts with their registers, recurring
// transactions and the sorted category list.

#include "Time.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A register entry. m_dAmount < 0 is a payment, >= 0 a deposit; the fee
// always lowers a balance; a void entry counts in no balance.
class CTransaction
{
public:
    CTransaction() = default;
    CTransaction(CTime date, std::string checkNumber, std::string description, std::string category,
                 double amount, int cleared, double fee, int isVoid, int flag);

    CTime m_date;
    std::string m_strCheckNumber;
    std::string m_strDescription;
    std::string m_strCategory;
    double m_dAmount = 0.0;
    int m_bCleared = 0;
    double m_dFee = 0.0;
    int m_bVoid = 0;
    int m_nFlag = 0;
};

class CAccount
{
public:
    CAccount() = default;
    CAccount(std::string name, std::string number, double openingBalance, std::string owner,
             std::string institution, std::string taxId);

    // Appends t and moves the cached balances by it.
    void AddTransaction(std::unique_ptr<CTransaction> t);
    // Unlinks the entry at index and hands it back (nothing on an empty
    // register); an index at or past the end takes the last entry.
    // The cached balances are left stale.
    std::unique_ptr<CTransaction> RemoveTransactionAt(int index);
    // Puts t before the entry at index (at the end when index is past it).
    // The cached balances are left stale.
    void InsertTransactionAt(int index, std::unique_ptr<CTransaction> t);
    // Recomputes both cached balances; returns the cleared one when which
    // is 1, else the full balance.
    double RecomputeBalances(int which);

    std::string m_strName;
    std::string m_strNumber;
    std::string m_strOwner;
    std::string m_strTaxId;
    std::string m_strInstitution;  // not stored in the file
    double m_dOpeningBalance = 0.0;
    double m_dClearedBalance = 0.0;
    double m_dBalance = 0.0;
    std::vector<std::unique_ptr<CTransaction>> m_transactions;
};

// A scheduled transaction. Its sign is the opposite of a register entry's:
// a positive amount is a payment, posting stores -m_dAmount.
class CRecurringTransaction
{
public:
    CRecurringTransaction() = default;
    CRecurringTransaction(std::string account, double amount, CTime nextDate, std::string description,
                          std::string category, std::string frequency, std::string periods, int flag);

    std::string m_strAccount;
    double m_dAmount = 0.0;
    std::string m_strDescription;
    std::string m_strCategory;
    std::string m_strFrequency;
    std::string m_strPeriods;
    int m_nPeriodsDone = 0;
    CTime m_nextDate;
    int m_nFlag = 0;
};

class CCategory
{
public:
    CCategory() = default;
    CCategory(std::string name, int flag) : m_strName(std::move(name)), m_nFlag(flag) {}

    std::string m_strName;
    int m_nFlag = 0;
};

// Kept in ascending byte order of the names, no two names equal.
class CCategoryList
{
public:
    CCategoryList();  // the 41 default categories

    bool AddCategory(const std::string& name, int flag);
    // Replaces the list with these, as adding them one by one in this
    // order would (the first of a repeated name stays), in one sort.
    void SetCategories(std::vector<CCategory> categories);
    std::unique_ptr<CCategory> RemoveCategoryAt(int index);  // null when out of range
    // Puts a category taken out by RemoveCategoryAt back where it was; the
    // caller keeps the order (nothing is inserted out of range).
    void InsertCategoryAt(int index, std::unique_ptr<CCategory> category);
    int GetCategoryFlag(const std::string& name) const;      // -1 when unknown
    void RemoveAll();

    std::vector<std::unique_ptr<CCategory>> m_categories;
};

// Flag colour index 0..10 to the row background, as 0xRRGGBB. An index
// outside the palette gives the colour of flag 0.
constexpr int kFlagCount = 11;
uint32_t GetFlagColor(int flag);

// Byte-wise comparison of texts as unsigned bytes, like strcmp.
int CompareBytes(const std::string& a, const std::string& b);
