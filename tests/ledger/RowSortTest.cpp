#include "RowSort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace
{
RowSortKey Key(const std::string& text, int pin = 0, int inserted = 0)
{
    return RowSortKey{pin, inserted, text};
}

void ExpectPermutation(std::vector<int> order, size_t count)
{
    ASSERT_EQ(order.size(), count);
    std::sort(order.begin(), order.end());
    for (size_t i = 0; i < count; ++i)
        ASSERT_EQ(order[i], int(i));
}
}

TEST(RowSortTest, NumericAndDateTextsAndLeadingNumbers)
{
    // The last character is never looked at.
    for (const char* numeric : {"", "a", "12.50 ", "-3.5", "12a", "1.2.3-"})
        EXPECT_TRUE(RowSort::IsNumeric(numeric)) << numeric;
    for (const char* text : {"1a2", "12/25/03", " 12", "+5", "1e5"})
        EXPECT_FALSE(RowSort::IsNumeric(text)) << text;
    EXPECT_TRUE(RowSort::IsDateText("01/05/2003"));
    for (const char* text : {"01/05/03", "1/05/2003 ", "01-05-2003", "01/05/200a", "01/05/20033"})
        EXPECT_FALSE(RowSort::IsDateText(text)) << text;

    for (const auto& [text, value] : {std::make_pair(".5", 0.5), {"1.5e", 1.5}, {"2e3x", 2000.0}, {"1-2", 1.0}})
        EXPECT_DOUBLE_EQ(RowSort::ReadNumber(text), value) << text;
    // Nothing readable gives 0; no hexadecimal, infinities or double signs.
    for (const char* text : {"", ".", "-.", "--5", "-+5", "0x10", "inf", "nan"})
        EXPECT_DOUBLE_EQ(RowSort::ReadNumber(text), 0.0) << text;
    EXPECT_GT(RowSort::ReadNumber("1" + std::string(400, '0')), 1e300);  // saturates, no crash
}

TEST(RowSortTest, CompareRowsTable)
{
    struct Case { RowSortKey a, b; int order, expected; const char* why; };
    const Case cases[] = {
        // Amounts as the editors write them, with a trailing blank: by value.
        {Key("9.00 "), Key("10.00 "), 0, -1, "amount ascending by value"},
        {Key("9.00 "), Key("10.00 "), 1, 1, "amount descending by value"},
        {Key("-25.50 "), Key("0.00 "), 0, -1, "negative amounts"},
        {Key("5.00 "), Key("5.00 "), 0, 0, "equal amounts"},
        {Key("12a"), Key("3b"), 0, 1, "digits then a letter: numeric"},
        {Key("a"), Key("b"), 0, 0, "single letters both read as 0"},
        // Numeric against non-numeric.
        {Key("5"), Key("abc"), 0, -1, "ascending: a numeric text goes first"},
        {Key("5"), Key("7x y"), 1, 1, "descending: the non-numeric text is read by value"},
        {Key("5"), Key("3x y"), 1, -1, "descending: the non-numeric text is read by value"},
        {Key("abc"), Key("5"), 0, 1, "non-numeric first text: byte order"},
        // Dates with four-digit years; two-digit years are plain text.
        {Key("01/05/2003"), Key("12/20/2002"), 0, 1, "year first"},
        {Key("02/10/2003"), Key("01/15/2003"), 0, 1, "then month"},
        {Key("01/15/2003"), Key("01/10/2003"), 0, 1, "then day"},
        {Key("01/15/2003"), Key("01/15/2003"), 0, 0, "same date"},
        {Key("01/05/2003"), Key("12/20/2002"), 1, -1, "descending dates"},
        {Key("01/05/2003"), Key("x"), 0, 1, "short second text reads as zero"},
        {Key("01/05/03"), Key("12/20/02"), 0, -1, "two-digit years compare as strings"},
        // Byte-wise and case-sensitive, as unsigned bytes.
        {Key("Bob"), Key("al"), 0, -1, "upper case before lower case"},
        {Key("\xE9t\xE9"), Key("zoo"), 0, 1, "Windows-1252 letters after ASCII"},
        {Key("Rent"), Key("Food"), 1, -1, "descending text"},
        {Key("Same"), Key("Same"), 1, 0, "equal text"},
        // Pin keys come before the texts: A's wins outright, then B's negated.
        {Key("zzz", -1), Key("aaa"), 0, -1, "pinned first row"},
        {Key("aaa"), Key("zzz", -1), 1, 1, "pinned second row"},
        {Key("a", 7), Key("b", -3), 0, 1, "first row's pin wins"},
        {Key("a", -1), Key("b", -1), 2, -1, "equal pins still decide"},
        // Insertion order ignores the texts; ties go to the second row.
        {Key("z", 0, 1), Key("a", 0, 2), 2, -1, "inserted earlier"},
        {Key("a", 0, 2), Key("z", 0, 1), 2, 1, "inserted later"},
        {Key("a", 0, 4), Key("z", 0, 4), 2, 1, "same insertion index"},
    };
    for (const Case& c : cases) {
        const int result = RowSort::CompareRows(c.a, c.b, c.order);
        EXPECT_EQ((result > 0) - (result < 0), c.expected) << c.why;
    }
}

TEST(RowSortTest, SortsRowsAndKeepsEqualRowsInPlace)
{
    const std::vector<RowSortKey> keys = {Key(" Opening Balance", -1, 0), Key("25.00 ", 0, 1), Key("100.00 ", 0, 2),
                                          Key("3.50 ", 0, 3), Key("25.00 ", 0, 4)};
    EXPECT_EQ(RowSort::SortRows(keys, 0), (std::vector<int>{0, 3, 1, 4, 2}));
    EXPECT_EQ(RowSort::SortRows(keys, 1), (std::vector<int>{0, 2, 1, 4, 3}));
    EXPECT_EQ(RowSort::SortRows(keys, 2), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_TRUE(RowSort::SortRows({}, 0).empty());
    const std::vector<RowSortKey> words = {Key("pear"), Key("Apple"), Key("apple"), Key("fig")};
    EXPECT_EQ(RowSort::SortRows(words, 0), (std::vector<int>{1, 2, 3, 0}));
}

TEST(RowSortTest, AdversarialRowsAndComparatorsStayInBounds)
{
    // Texts that make the comparison contradict itself: numeric and not,
    // dates, short texts, pins on some rows.
    const std::vector<std::string> pool = {"", "a", "5", "12.50 ", "-3", "abc", "7x y", "01/05/2003",
                                           "12/31/1999", "01/05/03", "x", "1.2.3", "\xFF", "Z", "9z", "--",
                                           "1e999 ", "100.00 ", "99.99 ", "12/31/2003", "1/5/2003x"};
    std::mt19937 random(12345);
    for (int round = 0; round < 60; ++round) {
        std::vector<RowSortKey> keys(1 + random() % 700);
        for (RowSortKey& key : keys) {
            const unsigned pin = random() % 10;
            key = Key(pool[random() % pool.size()], pin == 0 ? -1 : (pin == 1 ? 1 : 0), int(random() % 50));
        }
        for (int order = 0; order < 3; ++order) {
            const std::vector<int> result = RowSort::SortRows(keys, order);
            ExpectPermutation(result, keys.size());
            // The same order as asking CompareRows itself at every step,
            // although the sort reads each text once up front.
            EXPECT_EQ(result, RowSort::MergeSortIndexes(int(keys.size()), [&](int i, int j) {
                return RowSort::CompareRows(keys[size_t(i)], keys[size_t(j)], order);
            })) << "round " << round << " order " << order;
            // Rows pinned to the front (-1) come before every unpinned row.
            bool seenUnpinned = false;
            for (int i : result) {
                const int pin = keys[size_t(i)].nPinKey;
                seenUnpinned = seenUnpinned || pin == 0;
                EXPECT_FALSE(pin == -1 && seenUnpinned);
            }
        }
    }
    // A comparator that answers at random still yields a permutation.
    ExpectPermutation(RowSort::MergeSortIndexes(1000, [&random](int, int) { return int(random() % 3) - 1; }), 1000);
}
