#include "QuilletDoc.h"
#include "TestClock.h"

#include <gtest/gtest.h>

using DocumentTest = FixedClockTest;

TEST_F(DocumentTest, NewDocumentRestoresDefaultsAndHidesOldDayChartNames)
{
    CQuilletDoc doc;
    std::vector<bool> heard;
    doc.SetModifiedListener([&](bool m) { heard.push_back(m); });
    doc.AddAccount("Main", "1", 10.0, "", "", "");
    doc.m_pCategoryList->RemoveAll();
    doc.SetDayChartAccount(2, "Main");
    std::string name;
    EXPECT_FALSE(doc.GetDayChartAccount(1, name));
    ASSERT_TRUE(doc.GetDayChartAccount(2, name));
    EXPECT_EQ(name, "Main");
    doc.SetDayChartAccount(5, "X");  // out of range: ignored
    doc.SetDayChartAccount(-1, "X");
    EXPECT_FALSE(doc.GetDayChartAccount(5, name));
    doc.AddEntry("Main", Now(), "", "Rent", "Rent", 5.0, 0, 0, 0, 0, 0);
    doc.AddEntry("Main", Now(), "", "Rent", "Rent", 5.0, 0, 0, 0, 0, 0);
    doc.AddEntryMemory("Rent", "Rent", 0);
    ASSERT_TRUE(doc.IsModified());

    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(heard, (std::vector<bool>{true, false}));  // changes only
    EXPECT_TRUE(doc.m_accounts.empty());
    EXPECT_EQ(doc.m_pCategoryList->m_categories.size(), 41u);
    EXPECT_EQ(doc.m_pCategoryTotals, nullptr);
    EXPECT_EQ(doc.m_pEntryMemory, nullptr);
    name = "untouched";
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(doc.GetDayChartAccount(i, name));
    EXPECT_EQ(name, "untouched");
}

TEST(ListFieldTest, FieldsOfAnAccountNameList)
{
    EXPECT_EQ(GetListField("Home;Car;Boat;", 2), "Boat");
    EXPECT_EQ(GetListField("Home;Car;Boat;", 3), "");
    EXPECT_EQ(GetListField("Home;Car", 1), "Car");
    EXPECT_EQ(GetListField("", 0), "");
    EXPECT_EQ(GetListField(std::string(40, 'x') + ";", 0), std::string(31, 'x'));
}

TEST(TimeTest, LocalBreakDownAndNormalisation)
{
    // The tests run with TZ=America/New_York.
    const CTime t(2003, 2, 31, 0, 0, 0);  // rolls into March
    EXPECT_EQ(t.Format("%m/%d/%y"), "03/03/03");
    EXPECT_EQ(t.GetMonth() * 100 + t.GetDay(), 303);
    EXPECT_EQ(CTime(2000, 1, 1, 0, 0, 0).GetTime(), 946702800);
    // Past the 32-bit range the value saturates instead of wrapping.
    EXPECT_EQ(CTime(int64_t(1) << 40).GetTime(), INT32_MAX);
    EXPECT_GT(CTime(2040, 1, 1, 0, 0, 0).GetTime(), CTime(2037, 1, 1, 0, 0, 0).GetTime());
}
