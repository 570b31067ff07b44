#include "QuilletDoc.h"
#include "TestClock.h"

#include <gtest/gtest.h>

namespace
{
// The list as "name=total" items, in list order.
std::string Totals(const CQuilletDoc& doc)
{
    std::string out;
    for (auto* n = doc.m_pCategoryTotals.get(); n; n = n->next.get())
        out += n->name + "=" + std::to_string(int(n->total)) + " ";
    return out;
}
}

using CategoryTotalsTest = FixedClockTest;

TEST_F(CategoryTotalsTest, TotalsSumSignedAmountsAndNewNamesGoInFront)
{
    CQuilletDoc doc;
    doc.AddToCategoryTotal("Food", -30.0);
    doc.AddToCategoryTotal("Fun", -5.0);
    doc.AddToCategoryTotal("Food", -20.0);
    doc.AddToCategoryTotal("Food", 10.0);
    doc.AddToCategoryTotal("", -99.0);
    EXPECT_EQ(Totals(doc), "Fun=-5 Food=-40 ");
    EXPECT_DOUBLE_EQ(doc.m_pCategoryTotals->next->Spending(), 40.0);

    // Names past the node's width share the node of their first 31 bytes.
    doc.AddToCategoryTotal(std::string(40, 'L'), -1.0);
    doc.AddToCategoryTotal(std::string(40, 'L'), -1.0);
    EXPECT_EQ(Totals(doc), std::string(31, 'L') + "=-2 Fun=-5 Food=-40 ");
}

TEST_F(CategoryTotalsTest, SortIsStableDescendingBySpending)
{
    CQuilletDoc doc;
    EXPECT_EQ(doc.SortCategoryTotals(), nullptr);
    // Added in reverse, as new names go in front: list order C, B, A, ...
    doc.AddToCategoryTotal("Zero2", 0.0);
    doc.AddToCategoryTotal("Income", 100.0);
    doc.AddToCategoryTotal("Tie2", -80.0);
    doc.AddToCategoryTotal("Tie1", -80.0);
    doc.AddToCategoryTotal("Small", -50.0);
    doc.AddToCategoryTotal("Zero1", 0.0);
    ASSERT_TRUE(doc.SortCategoryTotals());
    EXPECT_EQ(Totals(doc), "Tie1=-80 Tie2=-80 Small=-50 Zero1=0 Income=100 Zero2=0 ");
    for (auto* n = doc.m_pCategoryTotals.get(); n; n = n->next.get())
        EXPECT_DOUBLE_EQ(n->spendingSum, 210.0);
}

TEST_F(CategoryTotalsTest, RebuildHonoursLookbackAndAccountFilter)
{
    CQuilletDoc doc;
    doc.AddAccount("Main", "1", 0, "", "", "");
    doc.AddAccount("Other", "2", 0, "", "", "");
    g_nLookback = 180;
    doc.AddEntry("Main", Now() - 180 * CTime::kDay, "", "", "Edge", 1.0, 0, 0, 0, 0, 0);
    doc.AddEntry("Main", Now() - 180 * CTime::kDay - 1, "", "", "Old", 1.0, 0, 0, 0, 0, 0);
    doc.AddEntry("Main", Now() + 30 * CTime::kDay, "", "", "Future", 1.0, 0, 0, 0, 0, 0);
    doc.AddEntry("Main", Now(), "", "", "Void", 1.0, 0, 0, 0, 1, 0);
    doc.AddEntry("Main", Now(), "", "", "", 1.0, 0, 0, 0, 0, 0);
    doc.AddEntry("Other", Now(), "", "", "Elsewhere", 1.0, 5.0, 0, 0, 0, 0);

    doc.RebuildCategoryTotals();
    EXPECT_EQ(Totals(doc), "Elsewhere=-1 Void=-1 Future=-1 Edge=-1 ");  // fees are not counted

    g_strCategoryAccount = "Main";
    doc.RebuildCategoryTotals();
    EXPECT_EQ(Totals(doc), "Void=-1 Future=-1 Edge=-1 ");
    // A new entry elsewhere counts until the next rebuild.
    doc.AddEntry("Other", Now(), "", "", "Elsewhere", 2.0, 0, 0, 0, 0, 0);
    EXPECT_EQ(Totals(doc), "Elsewhere=-2 Void=-1 Future=-1 Edge=-1 ");
    doc.RebuildCategoryTotals();
    EXPECT_EQ(Totals(doc), "Void=-1 Future=-1 Edge=-1 ");
}
