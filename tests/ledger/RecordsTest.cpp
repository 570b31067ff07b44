#include "Records.h"

#include <gtest/gtest.h>

namespace
{
std::unique_ptr<CTransaction> Entry(double amount, double fee, int cleared, int isVoid)
{
    return std::make_unique<CTransaction>(CTime(0), "", "", "", amount, cleared, fee, isVoid, 0);
}
}

TEST(AccountTest, BalanceRuleCountsFeesAndSkipsVoidEntries)
{
    CAccount account("Main", "1", 100.0, "", "", "");
    account.AddTransaction(Entry(100.0, 2.50, 0, 0));  // deposit with fee
    account.AddTransaction(Entry(-40.0, 1.0, 1, 0));   // cleared payment with fee
    EXPECT_DOUBLE_EQ(account.m_dBalance, 156.50);
    EXPECT_DOUBLE_EQ(account.m_dClearedBalance, 59.0);
    account.AddTransaction(Entry(-500.0, 9.0, 1, 1));  // void: no effect at all
    EXPECT_DOUBLE_EQ(account.m_dBalance, 156.50);
    EXPECT_DOUBLE_EQ(account.m_dClearedBalance, 59.0);

    // Recomputation from scratch agrees with the incremental values.
    account.m_dBalance = account.m_dClearedBalance = -1.0;
    EXPECT_DOUBLE_EQ(account.RecomputeBalances(1), 59.0);
    EXPECT_DOUBLE_EQ(account.m_dBalance, 156.50);
    for (int which : {0, 2, -1})
        EXPECT_DOUBLE_EQ(account.RecomputeBalances(which), 156.50);
}

TEST(AccountTest, RemovalByPositionTakesTheLastForPositionsPastTheEnd)
{
    CAccount account;
    EXPECT_EQ(account.RemoveTransactionAt(0), nullptr);
    for (int i = 1; i <= 3; ++i)
        account.AddTransaction(Entry(-i, 0, 0, 0));
    EXPECT_DOUBLE_EQ(account.RemoveTransactionAt(7)->m_dAmount, -3.0);
    EXPECT_DOUBLE_EQ(account.RemoveTransactionAt(0)->m_dAmount, -1.0);
    ASSERT_EQ(account.m_transactions.size(), 1u);
    EXPECT_DOUBLE_EQ(account.m_transactions[0]->m_dAmount, -2.0);
    // Balances stay stale until recomputed.
    EXPECT_DOUBLE_EQ(account.m_dBalance, -6.0);
    EXPECT_DOUBLE_EQ(account.RecomputeBalances(0), -2.0);
}

TEST(CategoryListTest, ByteOrderedInsertionAndRemoval)
{
    CCategoryList list;
    ASSERT_EQ(list.m_categories.size(), 41u);
    for (size_t i = 1; i < list.m_categories.size(); ++i)
        EXPECT_LT(CompareBytes(list.m_categories[i - 1]->m_strName, list.m_categories[i]->m_strName), 0);
    EXPECT_EQ(list.GetCategoryFlag("groceries"), -1);

    EXPECT_FALSE(list.AddCategory("Cash", 3));  // duplicates refused, flag kept
    EXPECT_EQ(list.GetCategoryFlag("Cash"), 5);
    EXPECT_TRUE(list.AddCategory("cash", 3));
    EXPECT_EQ(list.m_categories[38]->m_strName, "cash");  // after "Water", before "xfer to Bills"
    EXPECT_EQ(list.m_categories[39]->m_strName, "xfer to Bills");
    // Bytes above 0x7F sort after ASCII, as unsigned bytes.
    EXPECT_TRUE(list.AddCategory("\xE9t\xE9", 0));
    EXPECT_EQ(list.m_categories.back()->m_strName, "\xE9t\xE9");
    EXPECT_TRUE(list.AddCategory("", 0));
    EXPECT_EQ(list.m_categories.front()->m_strName, "");

    EXPECT_EQ(list.RemoveCategoryAt(44), nullptr);
    EXPECT_EQ(list.RemoveCategoryAt(-1), nullptr);
    EXPECT_EQ(list.RemoveCategoryAt(43)->m_strName, "\xE9t\xE9");
    EXPECT_EQ(list.m_categories.size(), 43u);
    list.RemoveAll();
    EXPECT_EQ(list.RemoveCategoryAt(0), nullptr);
}

TEST(FlagPaletteTest, OutOfRangeIndexesGiveWhite)
{
    EXPECT_EQ(GetFlagColor(10), 0xFF0000u);
    EXPECT_EQ(GetFlagColor(-1), 0xFFFFFFu);
    EXPECT_EQ(GetFlagColor(11), 0xFFFFFFu);
}
