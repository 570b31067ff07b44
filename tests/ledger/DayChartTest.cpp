#include "DayChart.h"
#include "QuilletDoc.h"
#include "TestClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace
{
class DayChartTest : public FixedClockTest
{
protected:
    void Entry(const std::string& account, int daysAgo, double amount)
    {
        doc.AddEntry(account, Now() - int64_t(daysAgo) * CTime::kDay, "", "x", "", std::fabs(amount), 0.0,
                     amount >= 0 ? 1 : 0, 0, 0, 0);
    }
    static long CountValues(const CAccountSSL& s)
    {
        return std::count_if(std::begin(s.m_nColumnY), std::end(s.m_nColumnY), [](int y) { return y != -1; });
    }

    CQuilletDoc doc;
};
}

TEST_F(DayChartTest, DepositNinetyDaysAgoDrawsFlatLineFromMiddleToToday)
{
    doc.AddAccount("Checking", "1", 300.0, "", "", "");
    Entry("Checking", 90, 200.0);
    doc.SetDayChartAccount(0, "Checking");

    const DayChartData chart = BuildDayChart(doc, 180, 100, 290);
    ASSERT_EQ(chart.series.size(), 1u);
    EXPECT_DOUBLE_EQ(chart.low, 300.0);
    EXPECT_DOUBLE_EQ(chart.high, 500.0);
    const CAccountSSL& s = *chart.series[0];
    EXPECT_EQ(s.m_nColumns, 290);
    EXPECT_EQ(s.m_nColumnY[145], 100);
    EXPECT_EQ(s.m_nColumnY[289], 100);
    EXPECT_EQ(CountValues(s), 2);
}

TEST_F(DayChartTest, LineFollowsTheBalanceRuleUpToToday)
{
    // 2500.00, a deposit of 200.00 less a 45.00 fee, a void deposit of
    // 75.00, a payment of 100.00, and a deposit dated next week.
    doc.AddAccount("Checking", "1", 2500.0, "", "", "");
    doc.AddEntry("Checking", Now() - 60 * CTime::kDay, "", "Pay", "", 200.0, 45.0, 1, 0, 0, 0);
    doc.AddEntry("Checking", Now() - 30 * CTime::kDay, "", "Refund", "", 75.0, 0.0, 1, 0, 1, 0);
    doc.AddEntry("Checking", Now() - 10 * CTime::kDay, "", "Rent", "", 100.0, 0.0, 0, 0, 0, 0);
    doc.AddEntry("Checking", Now() + 7 * CTime::kDay, "", "Bonus", "", 1000.0, 0.0, 1, 0, 0, 0);
    // Later today still counts as today.
    doc.AddEntry("Checking", Now() + 11 * 3600, "", "Coffee", "", 5.0, 0.0, 0, 0, 0, 0);
    doc.SetDayChartAccount(0, "Checking");

    const DayChartData chart = BuildDayChart(doc, 180, 100, 290);
    ASSERT_EQ(chart.series.size(), 1u);
    const CAccountSSL& s = *chart.series[0];
    // Never above 2655.00, the balance after the fee; never the void 2730.
    EXPECT_DOUBLE_EQ(chart.high, 2655.0);
    EXPECT_DOUBLE_EQ(chart.low, 2500.0);
    EXPECT_DOUBLE_EQ(s.m_dBalance, 2550.0);
    EXPECT_EQ(s.m_points.size(), 3u);
    EXPECT_EQ(s.m_nColumnY[289], 32);  // (2550 - 2500) / 155 of 100 units
    // Column of 10 days ago: trunc(290 - 10/180 x 290) = 273, after the rent.
    EXPECT_EQ(s.m_nColumnY[273], 35);
    EXPECT_EQ(s.m_nColumnY[193], 100);  // 60 days ago, after the fee
}

TEST_F(DayChartTest, PointsKeepDateOrderAndLaterSameDayEntryDecidesColumn)
{
    CAccountSSL s;
    const CTime day = Now() - 10 * CTime::kDay;
    s.AddPoint(day, 10.0);
    s.AddPoint(day - CTime::kDay, 1.0);
    s.AddPoint(day, 20.0);  // same date: goes ahead of the first, so the first stays latest
    std::vector<double> amounts;
    for (const CBalancePoint& p : s.m_points)
        amounts.push_back(p.m_dAmount);
    EXPECT_EQ(amounts, (std::vector<double>{1.0, 20.0, 10.0}));
    // An account's entries in that order take the same places.
    doc.AddAccount("A", "", 0.0, "", "", "");
    for (const auto& [date, amount] : {std::pair(day, 10.0), {day - CTime::kDay, 1.0}, {day, 20.0}})
        doc.AddEntry("A", date, "", "", "", amount, 0.0, 1, 0, 0, 0);
    CAccountSSL built;
    built.Build(*doc.FindAccount("A"), 100);
    amounts.clear();
    for (const CBalancePoint& p : built.m_points)
        amounts.push_back(p.m_dAmount);
    EXPECT_EQ(amounts, (std::vector<double>{1.0, 20.0, 10.0}));

    s.m_dBalance = 100.0;
    s.m_nDays = 100;
    s.ComputeRange();
    EXPECT_DOUBLE_EQ(s.m_dMax, 100.0);
    EXPECT_DOUBLE_EQ(s.m_dMin, 69.0);  // before all three points
    s.MapToColumns(0.0, 100.0, 100, 100);
    // Both same-day points share column 90; the one added first is later in
    // the list and its balance after (100) wins over 90.
    EXPECT_EQ(s.m_nColumnY[90], 100);
    EXPECT_EQ(s.m_nColumnY[89], 70);
}

TEST_F(DayChartTest, NothingIsWrittenPastTheColumnsOrDividedByAnEmptyWindow)
{
    doc.AddAccount("A", "1", 1000.0, "", "", "");
    Entry("A", 0, -50.0);       // today: column W, not drawn
    Entry("A", -3, -60.0);      // three days ahead
    Entry("A", -20000, -70.0);  // far ahead: would land far past the table
    doc.SetDayChartAccount(0, "A");
    // Wider than the table; a window of no days, or one that starts in the future.
    for (const auto& [lookback, width] : {std::make_pair(180, 290), {180, 320}, {180, 400}, {0, 290}, {-30, 290}}) {
        const DayChartData chart = BuildDayChart(doc, lookback, 100, width);
        ASSERT_EQ(chart.series.size(), 1u);
        const CAccountSSL& s = *chart.series[0];
        EXPECT_EQ(s.m_nColumns, std::min(width, 320));
        EXPECT_EQ(CountValues(s), 1) << lookback << " " << width;  // only today's balance
        EXPECT_NE(s.m_nColumnY[s.m_nColumns - 1], -1);
    }
}

TEST_F(DayChartTest, UnknownNamesSkippedAndFlatRangesDrawnAtHalfHeight)
{
    const DayChartData none = BuildDayChart(doc, 180, 100, 290);
    EXPECT_TRUE(none.series.empty());
    EXPECT_DOUBLE_EQ(none.high - none.low, 10000.0);

    doc.AddAccount("Quiet", "1", -20.0, "", "", "");  // no entry in the window
    doc.AddAccount("Zero", "1", -20.0, "", "", "");
    Entry("Zero", 30, 0.0);  // an entry that moves nothing
    doc.SetDayChartAccount(0, "Gone");
    doc.SetDayChartAccount(1, "quiet");  // names compare case-sensitively
    doc.SetDayChartAccount(2, "Quiet");
    doc.SetDayChartAccount(4, "Zero");
    const DayChartData flat = BuildDayChart(doc, 180, 100, 290);
    ASSERT_EQ(flat.series.size(), 2u);
    // The first series built sets the range, whatever slot it sits in.
    EXPECT_DOUBLE_EQ(flat.low, -20.0);
    EXPECT_DOUBLE_EQ(flat.high, -20.0);
    EXPECT_EQ(flat.series[0]->m_nColumnY[289], 50);
    EXPECT_EQ(flat.series[1]->m_nColumnY[241], 50);

    EXPECT_EQ(ScaleToHeight(1e308, -1e308, 1e308, 100), 50);  // range overflows
    EXPECT_EQ(ScaleToHeight(7.0, 0.0, 5.0, 100), 100);         // never above the plot
    EXPECT_EQ(ScaleLabelValue(-25.5), -25);
    EXPECT_EQ(ScaleLabelValue(1e20), 2147483647);
    EXPECT_EQ(ScaleLabelValue(std::nan("")), 0);
}

TEST_F(DayChartTest, AmountsThatAreNoNumberAreLeftOutOfTheLine)
{
    // A damaged file: a NaN amount, an infinite fee and an infinite opening
    // balance. The line follows the other entries instead of lying flat.
    doc.AddAccount("Damaged", "1", HUGE_VAL, "", "", "");
    Entry("Damaged", 120, 100.0);
    Entry("Damaged", 90, 50.0);
    doc.FindAccount("Damaged")->m_transactions.back()->m_dAmount = std::nan("");
    Entry("Damaged", 60, 200.0);
    Entry("Damaged", 30, -40.0);
    doc.FindAccount("Damaged")->m_transactions.back()->m_dFee = -HUGE_VAL;
    doc.SetDayChartAccount(0, "Damaged");

    const DayChartData chart = BuildDayChart(doc, 180, 100, 290);
    ASSERT_EQ(chart.series.size(), 1u);
    EXPECT_DOUBLE_EQ(chart.low, 0.0);
    EXPECT_DOUBLE_EQ(chart.high, 300.0);
    const CAccountSSL& s = *chart.series[0];
    // Columns of 120 and 60 days ago, and today; nothing for the bad two.
    EXPECT_EQ(CountValues(s), 3);
    EXPECT_EQ(s.m_nColumnY[96], 33);
    EXPECT_EQ(s.m_nColumnY[193], 100);
    EXPECT_EQ(s.m_nColumnY[289], 100);
}
