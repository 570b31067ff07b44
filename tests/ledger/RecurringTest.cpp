#include "QuilletDoc.h"
#include "TestClock.h"

#include <gtest/gtest.h>

namespace
{
// The tests run with TZ=America/New_York.
CTime Step(CTime from, const char* frequency)
{
    CRecurringTransaction r("A", 1.0, from, "", "", frequency, "Forever", 0);
    CQuilletDoc::AdvanceNextDate(r);
    return r.m_nextDate;
}
}

TEST(RecurringScheduleTest, CalendarSteppingRollsOverLikeTheCalendar)
{
    EXPECT_EQ(Step(CTime(2003, 1, 31, 0, 0, 0), "Monthly"), CTime(2003, 3, 3, 0, 0, 0));
    EXPECT_EQ(Step(CTime(2004, 2, 29, 0, 0, 0), "Yearly"), CTime(2005, 3, 1, 0, 0, 0));
    EXPECT_EQ(Step(CTime(2002, 11, 15, 0, 0, 0), "Quarterly"), CTime(2003, 2, 15, 0, 0, 0));
    EXPECT_EQ(Step(CTime(2002, 12, 10, 14, 30, 0), "Monthly"), CTime(2003, 1, 10, 0, 0, 0));
    // Unknown frequencies never move.
    EXPECT_EQ(Step(CTime(2003, 3, 3, 0, 0, 0), "monthly"), CTime(2003, 3, 3, 0, 0, 0));
    EXPECT_EQ(Step(CTime(2003, 3, 3, 0, 0, 0), ""), CTime(2003, 3, 3, 0, 0, 0));
}

TEST(RecurringScheduleTest, DayStepsKeepTheTimeOfDayAcrossDaylightSaving)
{
    // Summer time ended on 27 October 2002; day steps move by calendar
    // days, a monthly step lands on local midnight.
    const CTime start(2002, 10, 26, 9, 0, 0);
    EXPECT_EQ(Step(start, "Bi-Weekly").Format("%m/%d %H:%M"), "11/09 09:00");
    EXPECT_EQ(Step(start, "Weekly").Format("%m/%d %H:%M"), "11/02 09:00");
    EXPECT_EQ(Step(start, "Monthly").Format("%m/%d %H:%M"), "11/26 00:00");
    // Just after midnight, 86,400 seconds would give 10/27 twice.
    CTime daily(2002, 10, 26, 0, 30, 0);
    std::string days;
    for (int i = 0; i < 3; ++i) {
        daily = Step(daily, "Daily");
        days += daily.Format("%m/%d %H:%M ");
    }
    EXPECT_EQ(days, "10/27 00:30 10/28 00:30 10/29 00:30 ");
}

using RecurringTest = FixedClockTest;

TEST_F(RecurringTest, DueWindowHasNoLowerBoundAndAnInclusiveUpperEdge)
{
    CQuilletDoc doc;
    const int64_t day = CTime::kDay;
    for (const auto& [offset, name] : {std::make_pair(-10 * day, "old"), {0, "today"}, {21 * day, "later"},
                                       {20 * day, "edge"}, {20 * day + 1, "past edge"}})
        doc.AddRecurring("A", 1, Now() + offset, name, "", "Monthly", "1", 0);
    EXPECT_EQ(doc.CountDueRecurring(20), 3);
    EXPECT_EQ(doc.GetDueRecurring(0, 20)->m_strDescription, "old");
    EXPECT_EQ(doc.GetDueRecurring(2, 20)->m_strDescription, "edge");
    EXPECT_EQ(doc.GetDueRecurring(3, 20), nullptr);
    EXPECT_EQ(doc.CountDueRecurring(0), 2);
    EXPECT_EQ(doc.GetDueRecurring(-1, 20), nullptr);

    // Deleting by position ignores positions past the end.
    doc.DeleteRecurring(5);
    doc.DeleteRecurring(0);
    ASSERT_EQ(doc.m_recurring.size(), 4u);
    EXPECT_EQ(doc.GetRecurring(0)->m_strDescription, "today");
    EXPECT_EQ(doc.GetRecurring(4), nullptr);
}

TEST_F(RecurringTest, PostingWritesTheScheduledEntryAndSteps)
{
    CQuilletDoc doc;
    doc.AddAccount("Main", "1", 0.0, "", "", "");
    const CTime due = CTime(2026, 12, 1, 0, 0, 0);
    CRecurringTransaction* rent = doc.AddRecurring("Main", 100.0, due, "Rent", "Mortgage", "Monthly", "12", 2);
    CRecurringTransaction* pay = doc.AddRecurring("Main", -250.0, due, "Pay", "", "Weekly", "Forever", 0);

    doc.SetModifiedFlag(false);
    doc.SkipRecurring(rent);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(rent->m_nPeriodsDone, 1);
    EXPECT_TRUE(doc.FindAccount("Main")->m_transactions.empty());

    doc.PostRecurring(rent);
    doc.PostRecurring(pay);
    const auto& reg = doc.FindAccount("Main")->m_transactions;
    ASSERT_EQ(reg.size(), 2u);
    EXPECT_EQ(reg[0]->m_strCheckNumber, "R-2");
    EXPECT_EQ(reg[0]->m_date, CTime(2027, 1, 1, 0, 0, 0));  // the scheduled date, not today
    EXPECT_DOUBLE_EQ(reg[0]->m_dAmount, -100.0);
    EXPECT_EQ(reg[0]->m_strCategory, "Mortgage");
    EXPECT_EQ(reg[1]->m_strCheckNumber, "R-1");
    EXPECT_DOUBLE_EQ(reg[1]->m_dAmount, 250.0);
    EXPECT_EQ(rent->m_nextDate, CTime(2027, 2, 1, 0, 0, 0));
    EXPECT_EQ(pay->m_nextDate, due + 7 * CTime::kDay);

    // An account that is gone takes no entry, so nothing moves on either.
    pay->m_strAccount = "Closed";
    doc.SetModifiedFlag(false);
    EXPECT_FALSE(doc.PostRecurring(pay));
    EXPECT_EQ(pay->m_nPeriodsDone, 1);
    EXPECT_EQ(pay->m_nextDate, due + 7 * CTime::kDay);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(reg.size(), 2u);
    EXPECT_FALSE(doc.PostRecurring(nullptr));
}
