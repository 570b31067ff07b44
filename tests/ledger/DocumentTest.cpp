#include "QuilletDoc.h"
#include "TestClock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <limits>
#include <random>
#include <tuple>

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

using DocumentTest = FixedClockTest;

TEST_F(DocumentTest, NewDocumentRestoresDefaultsAndHidesOldDayChartNames)
{
    CQuilletDoc doc;
    std::vector<bool> heard;
    doc.SetModifiedListener([&](bool m) { heard.push_back(m); });
    doc.AddAccount("Main", "1", 10.0, "", "", "");
    doc.m_pCategoryList->RemoveAll();
    doc.SetDayChartAccount(2, "Main");
    doc.SetDayChartAccount(5, "X");  // out of range: ignored
    doc.SetDayChartAccount(-1, "X");
    std::string name;
    EXPECT_TRUE(doc.GetDayChartAccount(2, name) && name == "Main");
    EXPECT_FALSE(doc.GetDayChartAccount(1, name) || doc.GetDayChartAccount(5, name));
    doc.AddEntry("Main", Now(), "", "Rent", "Rent", 5.0, 0, 0, 0, 0, 0);
    doc.AddEntry("Main", Now(), "", "Rent", "Rent", 5.0, 0, 0, 0, 0, 0);
    doc.AddEntryMemory("Rent", "Rent", 0);
    ASSERT_TRUE(doc.IsModified());

    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(heard, (std::vector<bool>{true, false}));  // changes only
    EXPECT_TRUE(doc.m_accounts.empty() && !doc.m_pCategoryTotals && !doc.m_pEntryMemory);
    EXPECT_EQ(doc.m_pCategoryList->m_categories.size(), 41u);
    name = "untouched";
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(doc.GetDayChartAccount(i, name));
    EXPECT_EQ(name, "untouched");
}

TEST_F(DocumentTest, AccountAndBankBalances)
{
    CQuilletDoc doc;
    doc.AddAccount("Main", "77", 100.0, "", "", "");
    doc.AddEntry("Main", Now(), "1", "Rent", "", 30.0, 1.50, 0, 1, 0, 0);
    doc.AddEntry("Main", Now(), "2", "Pay", "", 20.0, 0.0, 1, 0, 0, 0);
    doc.AddEntry("Main", Now(), "3", "Car", "", 500.0, 0.0, 0, 1, 1, 0);
    EXPECT_DOUBLE_EQ(doc.GetAccountBalance("Main", 0), 88.50);
    EXPECT_DOUBLE_EQ(doc.GetAccountBalance("Main", 1), 68.50);
    EXPECT_DOUBLE_EQ(doc.GetAccountBalance("main", 0), 0.0);

    // Editing in place is seen at the next query.
    doc.FindAccount("Main")->m_transactions[2]->m_bVoid = 0;
    EXPECT_DOUBLE_EQ(doc.GetAccountBalance("Main", 1), -431.50);

    doc.AddAccount("Side", "77", 5.0, "", "", "");
    doc.AddAccount("Blank1", "", 1.0, "", "", "");
    doc.AddAccount("Blank2", "", 2.0, "", "", "");
    EXPECT_DOUBLE_EQ(doc.GetBankBalance("77", 0), -411.50 + 5.0);
    EXPECT_DOUBLE_EQ(doc.GetBankBalance(*doc.FindAccount("Side"), 0), -411.50 + 5.0);
    EXPECT_DOUBLE_EQ(doc.GetBankBalance("78", 0), 0.0);
    // Accounts without a number share no bank: each has its own.
    EXPECT_DOUBLE_EQ(doc.GetBankBalance("", 0), 0.0);
    EXPECT_DOUBLE_EQ(doc.GetBankBalance(*doc.FindAccount("Blank1"), 0), 1.0);
    doc.AddEntry("Blank2", Now(), "", "Cash", "", 9.25, 0.0, 0, 1, 0, 0);
    EXPECT_DOUBLE_EQ(doc.GetBankBalance(*doc.FindAccount("Blank2"), 1), -7.25);

    // A value no person typed spoils its own account's balance, but not a
    // sum across accounts.
    doc.FindAccount("Side")->m_dOpeningBalance = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(std::isnan(doc.GetAccountBalance("Side", 0)));
    EXPECT_DOUBLE_EQ(doc.GetBankBalance("77", 0), -411.50);

    std::string names = "stale";
    EXPECT_EQ(doc.GetAccountNames(names), 4);
    EXPECT_EQ(names, "Main;Side;Blank1;Blank2;");
    EXPECT_EQ(doc.GetAccount(4), nullptr);
}

TEST_F(DocumentTest, EntriesAndAccountsComeAndGo)
{
    CQuilletDoc doc;
    doc.AddAccount("Main", "1", 0.0, "", "", "");
    doc.AddAccount("Car", "2", 0.0, "", "", "");
    EXPECT_FALSE(doc.IsModified());  // adding an account leaves it as it was

    // Payments are stored negative; those of the lookback window feed the
    // category totals: a year ago to the second still counts, a second
    // earlier does not.
    g_nLookback = 365;
    EXPECT_DOUBLE_EQ(doc.AddEntry("Main", Now(), "", "", "Food", 25.0, 0, 0, 0, 0, 3)->m_dAmount, -25.0);
    EXPECT_DOUBLE_EQ(doc.AddEntry("Main", Now(), "", "", "Pay", 25.0, 0, 1, 0, 0, 0)->m_dAmount, 25.0);
    EXPECT_TRUE(doc.IsModified());
    doc.AddEntry("Main", Now() - 365 * CTime::kDay, "", "", "Food", 5.0, 0, 0, 0, 0, 0);
    doc.AddEntry("Main", Now() - 365 * CTime::kDay - 1, "", "", "Food", 7.0, 0, 0, 0, 0, 0);
    EXPECT_EQ(Totals(doc), "Pay=25 Food=-30 ");
    EXPECT_EQ(doc.AddEntry("Nope", Now(), "", "", "", 1.0, 0, 0, 0, 0, 0), nullptr);

    doc.SetModifiedFlag(false);
    doc.DeleteEntry("Main", 1);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(Totals(doc), "Food=-30 ");
    const auto& reg = doc.FindAccount("Main")->m_transactions;
    ASSERT_EQ(reg.size(), 3u);
    EXPECT_DOUBLE_EQ(reg[1]->m_dAmount, -5.0);
    EXPECT_DOUBLE_EQ(doc.GetAccountBalance("Main", 0), -37.0);

    doc.AddRecurring("Car", 10.0, Now(), "Loan", "", "Monthly", "12", 0);
    doc.SetModifiedFlag(false);
    EXPECT_FALSE(doc.DeleteAccount(1));  // a recurring transaction draws on it
    EXPECT_FALSE(doc.DeleteAccount(2));
    EXPECT_FALSE(doc.DeleteAccount(-1));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(doc.DeleteAccount(0));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(Totals(doc), "");  // its entries went with it
    ASSERT_EQ(doc.m_accounts.size(), 1u);
    EXPECT_EQ(doc.m_accounts[0]->m_strName, "Car");
}

TEST_F(DocumentTest, BalanceSummaryGroupsAccountsByNumber)
{
    CQuilletDoc doc;
    EXPECT_EQ(doc.BuildBalanceSummary(), nullptr);
    for (const auto& [name, number, opening] :
         {std::make_tuple("Home", "1", 10.0), {"Cash", "", 6.0}, {"Car", "2", 20.0}, {"Boat", "1", 5.0},
          {"Wallet", "", 7.0}, {"Shop", "3", 1.0}, {"B", "8", 2.0}, {"C", "8", 3.0}, {"D", "8", 4.0}})
        doc.AddAccount(name, number, opening, "", "", "");
    // Members of a number stand together, and a group of more than one ends
    // with its summary, also at the end of the list. Accounts without a
    // number group with nothing.
    std::string rows;
    auto head = doc.BuildBalanceSummary();
    for (auto* n = head.get(); n; n = n->next.get())
        rows += n->name + "/" + n->number + "/" + std::to_string(n->groupIndex) + "=" +
                std::to_string(int(n->balance)) + " ";
    EXPECT_EQ(rows, "Home/1/0=10 Boat/1/1=5 Summary/1/-1=15 Cash//0=6 Car/2/0=20 Wallet//0=7 Shop/3/0=1 "
                    "B/8/0=2 C/8/1=3 D/8/2=4 Summary/8/-1=9 ");
    CQuilletDoc::FreeBalanceSummary(head);
    EXPECT_EQ(head, nullptr);
}

TEST_F(DocumentTest, BalanceSummaryPlacesEachAccountAsInsertingOneByOneWould)
{
    // Against the plain rule, walked for every account: after the last
    // member of its number (numbers cut to 33 bytes, so two long numbers
    // that differ further on are one), else at the end.
    const std::string longNumber(33, '7');
    const std::string numbers[] = {"", "1", "2", "3", longNumber + "a", longNumber + "b"};
    for (unsigned seed = 1; seed <= 100; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        CQuilletDoc doc;
        std::vector<std::tuple<std::string, std::string, int>> expected;  // name, number, group index
        const int count = int(random() % 25);
        for (int i = 0; i < count; ++i) {
            const std::string name = "A" + std::to_string(i);
            const std::string number = numbers[random() % std::size(numbers)];
            doc.AddAccount(name, number, 1.0, "", "", "");
            const std::string cut = number.substr(0, 33);
            int last = -1;
            for (int j = 0; j < int(expected.size()); ++j) {
                if (!cut.empty() && std::get<1>(expected[size_t(j)]) == cut)
                    last = j;
                else if (last >= 0)
                    break;
            }
            const int group = last >= 0 ? std::get<2>(expected[size_t(last)]) + 1 : 0;
            expected.insert(expected.begin() + (last >= 0 ? last + 1 : int(expected.size())), {name, cut, group});
        }
        std::vector<std::tuple<std::string, std::string, int>> rows;
        int summaries = 0, groupsOfMore = 0;
        auto head = doc.BuildBalanceSummary();
        for (auto* n = head.get(); n; n = n->next.get()) {
            if (n->groupIndex < 0)
                ++summaries;
            else
                rows.emplace_back(n->name, n->number, n->groupIndex);
            groupsOfMore += n->groupIndex == 1;
        }
        EXPECT_EQ(rows, expected);
        EXPECT_EQ(summaries, groupsOfMore);
        CQuilletDoc::FreeBalanceSummary(head);
    }
}

TEST_F(DocumentTest, EntryMemoryKeepsOrderAndMatchesFromThreeCharacters)
{
    CQuilletDoc doc;
    doc.AddAccount("Main", "1", 0, "", "", "");
    doc.AddEntry("Main", Now(), "", "Ancient", "", 1, 0, 0, 0, 0, 0);
    doc.AddEntry("Main", Now(), "", "Rent", "Mortgage", 1, 0, 0, 0, 0, 2);
    doc.AddEntry("Main", Now(), "", "Groceries", "Food", 1, 0, 0, 0, 0, 1);
    doc.AddEntry("Main", Now(), "", "Rent", "Housing", 1, 0, 0, 0, 0, 4);
    for (int i = 0; i < 47; ++i)
        doc.AddEntry("Main", Now(), "", "Recent " + std::to_string(i), "", 1, 0, 0, 0, 0, 0);
    doc.RebuildEntryMemory(*doc.FindAccount("Main"));

    const auto lookup = [&doc](const std::string& typed) {
        std::string description, category;
        int flag = -1;
        return doc.LookupEntryMemory(typed, description, category, flag)
                   ? description + "|" + category + "|" + std::to_string(flag) : std::string("none");
    };
    EXPECT_EQ(lookup("Anc"), "none");  // only the last fifty entries are taken
    EXPECT_EQ(lookup("Re"), "none");
    // Walked backwards, the oldest of equal descriptions ends up first.
    EXPECT_EQ(lookup("Ren"), "Rent|Mortgage|2");
    EXPECT_EQ(lookup("ren"), "none");
    EXPECT_EQ(lookup("Rents"), "none");
    EXPECT_EQ(lookup("Gro"), "Groceries|Food|1");

    // A later save stands in front of its equals; long texts are cut to 29.
    doc.AddEntryMemory("Rent", "Lodging", 7);
    EXPECT_EQ(lookup("Rent"), "Rent|Lodging|7");
    doc.AddEntryMemory(std::string(40, 'Z'), std::string(40, 'c'), 0);
    EXPECT_EQ(lookup("ZZZ"), std::string(29, 'Z') + "|" + std::string(29, 'c') + "|0");
    doc.ClearEntryMemory();
    EXPECT_EQ(lookup("Rent"), "none");
}

TEST_F(DocumentTest, CategoryTotalsSumSignedAmountsAndSortBySpending)
{
    CQuilletDoc doc;
    EXPECT_EQ(doc.SortCategoryTotals(), nullptr);
    // New names go in front; the empty name is not counted.
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

    // The sort is stable and descending by spending: ties and categories
    // without spending keep their list order.
    doc.AddToCategoryTotal("Zero", 0.0);
    doc.AddToCategoryTotal("Income", 100.0);
    doc.AddToCategoryTotal("Tie", -40.0);
    ASSERT_TRUE(doc.SortCategoryTotals());
    EXPECT_EQ(Totals(doc), "Tie=-40 Food=-40 Fun=-5 " + std::string(31, 'L') + "=-2 Income=100 Zero=0 ");
    for (auto* n = doc.m_pCategoryTotals.get(); n; n = n->next.get())
        EXPECT_DOUBLE_EQ(n->spendingSum, 87.0);
}

TEST_F(DocumentTest, CategoryTotalsRebuildHonoursLookbackAndAccountFilter)
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

    // Fees are not counted; a void entry is a cancelled one and spent nothing.
    EXPECT_EQ(doc.RebuildCategoryTotals(), 0);
    EXPECT_EQ(Totals(doc), "Elsewhere=-1 Future=-1 Edge=-1 ");

    g_strCategoryAccount = "Main";
    doc.RebuildCategoryTotals();
    EXPECT_EQ(Totals(doc), "Future=-1 Edge=-1 ");
    // New entries take the rebuild's rules at once: another account's, a
    // void one and one past the window add nothing.
    doc.AddEntry("Other", Now(), "", "", "Elsewhere", 2.0, 0, 0, 0, 0, 0);
    doc.AddEntry("Main", Now(), "", "", "Edge", 3.0, 0, 0, 0, 1, 0);
    doc.AddEntry("Main", Now() - 200 * CTime::kDay, "", "", "Edge", 3.0, 0, 0, 0, 0, 0);
    doc.AddEntry("Main", Now(), "", "", "Edge", 4.0, 0, 0, 0, 0, 0);
    EXPECT_EQ(Totals(doc), "Future=-1 Edge=-5 ");

    // An amount no person typed is left out, and the rebuild says so.
    doc.FindAccount("Main")->m_transactions.back()->m_dAmount = std::numeric_limits<double>::infinity();
    EXPECT_EQ(doc.RebuildCategoryTotals(), 1);
    EXPECT_EQ(Totals(doc), "Future=-1 Edge=-1 ");
    doc.AddToCategoryTotal("Edge", std::nan(""));
    EXPECT_EQ(Totals(doc), "Future=-1 Edge=-1 ");
}

TEST(ListFieldTest, FieldsOfAnAccountNameList)
{
    EXPECT_EQ(GetListField("Home;Car;Boat;", 2), "Boat");
    EXPECT_EQ(GetListField("Home;Car;Boat;", 3), "");
    EXPECT_EQ(GetListField("Home;Car", 1), "Car");
    EXPECT_EQ(GetListField("", 0), "");
    EXPECT_EQ(GetListField(std::string(40, 'x') + ";", 0), std::string(31, 'x'));

    // All fields at once are the fields one by one, up to the empty one
    // after the last separator.
    const std::vector<std::string> lists = {"Home;Car;Boat;", "Home;Car", "", ";;A;", std::string(40, 'x') + ";B"};
    for (const std::string& list : lists) {
        const std::vector<std::string> fields = GetListFields(list);
        ASSERT_FALSE(fields.empty()) << list;
        for (size_t n = 0; n <= fields.size(); ++n)
            EXPECT_EQ(n < fields.size() ? fields[n] : std::string(), GetListField(list, int(n))) << list << n;
    }
    EXPECT_EQ(GetListFields("Home;Car;").size(), 3u);
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
