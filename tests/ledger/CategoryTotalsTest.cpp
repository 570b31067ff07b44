#include "QuilletDoc.h"
#include "TestClock.h"

#include <gtest/gtest.h>

namespace
{
struct Total
{
    std::string name;
    double total;
    double sum;
};

std::vector<Total> Totals(const CQuilletDoc& doc)
{
    std::vector<Total> out;
    for (auto* n = doc.m_pCategoryTotals.get(); n; n = n->next.get())
        out.push_back({n->name, n->total, n->spendingSum});
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
    const auto totals = Totals(doc);
    ASSERT_EQ(totals.size(), 2u);
    EXPECT_EQ(totals[0].name, "Fun");
    EXPECT_EQ(totals[1].name, "Food");
    EXPECT_DOUBLE_EQ(totals[1].total, -40.0);
    EXPECT_DOUBLE_EQ(doc.m_pCategoryTotals->next->Spending(), 40.0);

    // Names past the node's width share the node of their first 31 bytes.
    doc.AddToCategoryTotal(std::string(40, 'L'), -1.0);
    doc.AddToCategoryTotal(std::string(40, 'L'), -1.0);
    EXPECT_EQ(Totals(doc).size(), 3u);
    EXPECT_DOUBLE_EQ(doc.m_pCategoryTotals->total, -2.0);
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
    const auto totals = Totals(doc);
    std::vector<std::string> names;
    for (const auto& t : totals) {
        names.push_back(t.name);
        EXPECT_DOUBLE_EQ(t.sum, 210.0);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Tie1", "Tie2", "Small", "Zero1", "Income", "Zero2"}));
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
    std::vector<std::string> names;
    for (const auto& t : Totals(doc))
        names.push_back(t.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Elsewhere", "Void", "Future", "Edge"}));
    EXPECT_DOUBLE_EQ(Totals(doc)[0].total, -1.0);  // fees are not counted

    g_strCategoryAccount = "Main";
    doc.RebuildCategoryTotals();
    EXPECT_EQ(Totals(doc).size(), 3u);
    // A new entry elsewhere counts until the next rebuild.
    doc.AddEntry("Other", Now(), "", "", "Elsewhere", 2.0, 0, 0, 0, 0, 0);
    EXPECT_EQ(Totals(doc).front().name, "Elsewhere");
    doc.RebuildCategoryTotals();
    EXPECT_EQ(Totals(doc).size(), 3u);
}
