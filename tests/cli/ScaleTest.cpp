// Checkbooks far larger than a person types, as imports and scripts make
// them: every command still answers in about the time it takes to read
// the file. Not timed: a path that walks the accounts or the schedule
// once per row turns these into a hang, which the suite's time limit and
// the sanitizer run (where everything is many times slower) make plain.
#include "CheckbookFile.h"
#include "CliFixture.h"
#include "../ledger/LargeBooks.h"
#include "QuilletDoc.h"

#include <algorithm>
#include <cstdio>

namespace
{
using LargeBooks::kMany;
using LargeBooks::Name;

class ScaleTest : public CliFixture
{
protected:
    std::string Save(const std::string& name, const CQuilletDoc& doc)
    {
        FileError error;
        EXPECT_TRUE(SaveCheckbookFile(doc, Path(name), error)) << error.message;
        return Path(name);
    }
    // Columns padded to their widest cell, squeezed to one space.
    static std::string Squeezed(const std::string& text)
    {
        std::string out;
        for (char c : text)
            if (c != ' ' || out.empty() || out.back() != ' ')
                out.push_back(c);
        return out;
    }
    static int CountLines(const std::string& text, const std::string& part)
    {
        int count = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
            ++count;
        return count;
    }
};
}  // namespace

TEST_F(ScaleTest, HundredThousandAccountsListWithTheirGroupSummaries)
{
    // Pairs share a number and each pair is followed by its summary; every
    // fifth pair's second account has no number and stands alone instead.
    CQuilletDoc doc;
    double total = 0.0;
    for (int i = 0; i < kMany; ++i) {
        const bool alone = i % 10 == 9;
        doc.AddAccount(Name(i), alone ? std::string() : "N-" + std::to_string(i / 2), i % 7, "", "", "");
        total += i % 7;
    }
    const std::string file = Save("accounts.ql1", doc);

    const CliResult r = Run({"balances", file});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string out = Squeezed(r.out);
    const int pairs = kMany / 2;
    const int summaries = pairs - pairs / 5;
    EXPECT_EQ(CountLines(out, "\nAccount "), kMany);
    EXPECT_EQ(CountLines(out, "\nSummary "), summaries);
    // The first pair and its summary; an account without a number stands
    // alone between two groups.
    EXPECT_NE(out.find("\nAccount 000000 N-0 0.00 0.00\nAccount 000001 N-0 1.00 1.00\nSummary N-0 1.00 1.00\n"),
              std::string::npos);
    EXPECT_NE(out.find("\nAccount 000008 N-4 1.00 1.00\nAccount 000009 2.00 2.00\nAccount 000010 N-5 3.00 3.00\n"),
              std::string::npos);
    char last[64];
    std::snprintf(last, sizeof last, "\nTotal Balance %.2f %.2f\n", total, total);
    EXPECT_NE(out.find(last), std::string::npos);
}

TEST_F(ScaleTest, HundredThousandRecurringTransactionsListWhatIsDue)
{
    const CTime now(2026, 12, 20, 12, 0, 0);
    SetNow(now);
    CQuilletDoc doc;
    const int due = LargeBooks::AddManyRecurring(doc, now);
    const std::string file = Save("recurring.ql1", doc);

    const CliResult r = Run({"due", "--days", "20", file});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(CountLines(r.out, " Bill "), due);
    // By date: the most overdue first, in list order among equal dates.
    EXPECT_EQ(r.out.find(" Bill "), r.out.find(" Bill 0 "));
    EXPECT_LT(r.out.find(" Bill 80 "), r.out.find(" Bill 1 "));
    EXPECT_EQ(r.out.find(" Bill 41 "), std::string::npos);
}

TEST_F(ScaleTest, HundredThousandCategoriesEachWithItsSpending)
{
    // Every entry in a category of its own, the category list written in
    // descending order: the list sorts, the totals and the report find
    // each category at once.
    const CTime now(2026, 12, 20, 12, 0, 0);
    SetNow(now);
    CQuilletDoc doc;
    doc.AddAccount(Name(0), "", 0.0, "", "", "");
    double total = 0.0;
    for (int i = 0; i < kMany; ++i) {
        const std::string category = "Cat " + Name(kMany - 1 - i);
        doc.m_pCategoryList->m_categories.push_back(std::make_unique<CCategory>(category, i % 11));
        doc.AddEntry(Name(0), now - (i % 30) * CTime::kDay, "", "Buy", category, 1.0 + i % 100, 0.0, 0, 0, 0, 0);
        total += 1.0 + i % 100;
    }
    const std::string file = Save("categories.ql1", doc);

    const CliResult r = Run({"categories", "--days", "60", file});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string out = Squeezed(r.out);
    EXPECT_EQ(CountLines(out, "\nCat Account "), kMany);
    // Largest spending first, equal ones in the order the totals met them.
    EXPECT_NE(out.find("\nCat Account 000000 100.00 "), std::string::npos);
    char last[64];
    std::snprintf(last, sizeof last, "\nTotal %.2f 100.0%%", total);
    EXPECT_NE(out.find(last), std::string::npos) << out.substr(out.size() - 200);
}
