#include "CategoryPie.h"
#include "QuilletDoc.h"
#include "TestClock.h"

#include <gtest/gtest.h>

namespace
{
constexpr int cx = 510;
constexpr int cy = 179;

class CategoryPieTest : public FixedClockTest
{
protected:
    PieLayout Layout(int start = 1, int num = 10)
    {
        return LayoutCategoryPie(doc.SortCategoryTotals(), start, num, cx, cy);
    }
    static std::string Pt(PiePoint p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
    CQuilletDoc doc;
};
}

TEST_F(CategoryPieTest, SeventyFiveTwentyFiveSplit)
{
    doc.AddToCategoryTotal("Small", -25.0);
    doc.AddToCategoryTotal("Big", -75.0);
    const PieLayout pie = Layout();
    EXPECT_FALSE(pie.fullDisc);
    // The first wedge runs from the top round to (cx + 120, cy).
    ASSERT_EQ(pie.wedges.size(), 2u);
    EXPECT_EQ(pie.wedges[0].color, 0x0A0AFFu);
    EXPECT_EQ(Pt(pie.wedges[0].start) + " " + Pt(pie.wedges[0].end) + " " + Pt(pie.wedges[1].start) + " " +
                  Pt(pie.wedges[1].end),
              "509,59 630,179 630,179 510,59");
    ASSERT_EQ(pie.labels.size(), 2u);
    const PieLabel& big = pie.labels[0];
    // Centre at 135 degrees: about (416.7, 272.3).
    EXPECT_EQ(big.name, "Big");
    EXPECT_EQ(Pt({big.left, big.top}) + " " + Pt({big.right, big.bottom}), "384,268 448,277");
}

TEST_F(CategoryPieTest, NothingToShow)
{
    EXPECT_TRUE(Layout().fullDisc);  // empty list

    doc.AddToCategoryTotal("Only", -10.0);
    const PieLayout fewer = Layout(3, 10);  // fewer categories than the start
    EXPECT_TRUE(fewer.fullDisc);
    EXPECT_TRUE(fewer.labels.empty());

    // Start equal to the maximum, or at an income category: neither wedges
    // nor the disc.
    doc.AddToCategoryTotal("Salary", 3000.0);
    doc.AddToCategoryTotal("Other", -10.0);
    for (const PieLayout& none : {Layout(2, 2), Layout(3, 30)})
        EXPECT_TRUE(!none.fullDisc && none.wedges.empty() && none.labels.empty());
}

TEST_F(CategoryPieTest, ThinWedgeGetsLabelButNextWedgeCoversIt)
{
    // Unsorted on purpose, so the 0.1 % category sits between two others.
    doc.AddToCategoryTotal("B", -499.5);
    doc.AddToCategoryTotal("Thin", -1.0);
    doc.AddToCategoryTotal("A", -500.0);
    const PieLayout pie = LayoutCategoryPie(doc.m_pCategoryTotals.get(), 1, 10, cx, cy);
    ASSERT_EQ(pie.labels.size(), 3u);
    EXPECT_EQ(pie.labels[1].name, "Thin");
    ASSERT_EQ(pie.wedges.size(), 2u);
    EXPECT_EQ(pie.wedges[1].position, 3);
    EXPECT_EQ(Pt(pie.wedges[1].start), Pt(pie.wedges[0].end));
}

TEST_F(CategoryPieTest, DefaultsShowNineLargestAndPositionsPastTheColourTableStayInside)
{
    for (int i = 1; i <= 40; ++i)
        doc.AddToCategoryTotal("C" + std::to_string(i), -1.0 * i);
    const PieLayout nine = Layout();
    ASSERT_EQ(nine.wedges.size(), 9u);
    EXPECT_EQ(nine.labels.front().name, "C40");
    EXPECT_EQ(nine.labels.back().name, "C32");
    for (size_t i = 0; i < nine.wedges.size(); ++i) {
        EXPECT_EQ(nine.wedges[i].position, int(i) + 1);
        EXPECT_EQ(Pt(nine.wedges[i].start), Pt(i ? nine.wedges[i - 1].end : PiePoint{cx - 1, cy - 120}));
    }
    // The last wedge closes the circle at the top.
    EXPECT_EQ(nine.wedges.back().end.y, cy - 120);
    EXPECT_NEAR(nine.wedges.back().end.x, cx, 1);

    const PieLayout pie = Layout(1, 45);
    EXPECT_EQ(pie.labels.size(), 40u);
    for (const PieWedge& w : pie.wedges)
        EXPECT_EQ(w.color, PieWedgeColor(w.position % 30));
    EXPECT_EQ(PieWedgeColor(-1), PieWedgeColor(29));

    // A start below 1 skips nothing and counts from there.
    EXPECT_EQ(Layout(-2, 1).labels.size(), 3u);
    EXPECT_EQ(LayoutCategoryPie(doc.m_pCategoryTotals.get(), INT32_MIN, INT32_MIN + 2, cx, cy).labels.size(), 2u);
}
