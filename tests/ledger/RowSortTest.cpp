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

struct CompareCase
{
    const char* a;
    const char* b;
    int order;
    int expected;  // sign of the result
    const char* why;
};

int SignOf(int v)
{
    return (v > 0) - (v < 0);
}

std::vector<std::string> TextsInOrder(const std::vector<RowSortKey>& keys, const std::vector<int>& order)
{
    std::vector<std::string> texts;
    for (int i : order)
        texts.push_back(keys[static_cast<size_t>(i)].text);
    return texts;
}
}

TEST(RowSortTest, ClassifiesNumericAndDateTexts)
{
    // The last character is never looked at.
    for (const char* numeric : {"", "a", " ", "12.50 ", "-3.5", "12a", "1.2.3-", "0x"})
        EXPECT_TRUE(RowSort::IsNumeric(numeric)) << numeric;
    for (const char* text : {"1a2", "12/25/03", " 12", "+5", "1e5"})
        EXPECT_FALSE(RowSort::IsNumeric(text)) << text;

    EXPECT_TRUE(RowSort::IsDateText("01/05/2003"));
    for (const char* text : {"01/05/03", "1/05/2003 ", "01-05-2003", "01/05/200a", "01/05/20033"})
        EXPECT_FALSE(RowSort::IsDateText(text)) << text;
}

TEST(RowSortTest, ReadsTheLeadingDecimalNumberOnly)
{
    EXPECT_DOUBLE_EQ(RowSort::ReadNumber("12.50 "), 12.5);
    EXPECT_DOUBLE_EQ(RowSort::ReadNumber("-3"), -3.0);
    EXPECT_DOUBLE_EQ(RowSort::ReadNumber(".5"), 0.5);
    EXPECT_DOUBLE_EQ(RowSort::ReadNumber("1.5e"), 1.5);
    EXPECT_DOUBLE_EQ(RowSort::ReadNumber("2e3x"), 2000.0);
    EXPECT_DOUBLE_EQ(RowSort::ReadNumber("1-2"), 1.0);
    // Nothing readable gives 0; no hexadecimal, infinities or double signs.
    for (const char* text : {"", "a", ".", "-.", "--5", "-+5", "0x10", "inf", "nan"})
        EXPECT_DOUBLE_EQ(RowSort::ReadNumber(text), 0.0) << text;
    EXPECT_GT(RowSort::ReadNumber("1" + std::string(400, '0')), 1e300);  // saturates, no crash
}

TEST(RowSortTest, CompareRowsTable)
{
    const CompareCase cases[] = {
        // Amounts as the editors write them, with a trailing blank: by value.
        {"9.00 ", "10.00 ", 0, -1, "amount ascending by value"},
        {"9.00 ", "10.00 ", 1, 1, "amount descending by value"},
        {"-25.50 ", "0.00 ", 0, -1, "negative amounts"},
        {"5.00 ", "5.00 ", 0, 0, "equal amounts"},
        // Digits and one trailing letter: numeric, by the digits.
        {"12a", "3b", 0, 1, "digits then a letter"},
        {"a", "b", 0, 0, "single letters both read as 0"},
        // Numeric against non-numeric.
        {"5", "abc", 0, -1, "ascending: a numeric text goes first"},
        {"5", "7x y", 1, 1, "descending: the non-numeric text is read by value"},
        {"5", "3x y", 1, -1, "descending: the non-numeric text is read by value"},
        {"abc", "5", 0, 1, "non-numeric first text: byte order"},
        // Dates with four-digit years.
        {"01/05/2003", "12/20/2002", 0, 1, "year first"},
        {"02/10/2003", "01/15/2003", 0, 1, "then month"},
        {"01/15/2003", "01/10/2003", 0, 1, "then day"},
        {"01/15/2003", "01/15/2003", 0, 0, "same date"},
        {"01/05/2003", "12/20/2002", 1, -1, "descending dates"},
        {"01/05/2003", "x", 0, 1, "short second text reads as zero"},
        // Two-digit years are plain text.
        {"01/05/03", "12/20/02", 0, -1, "two-digit years compare as strings"},
        // Byte-wise and case-sensitive, as unsigned bytes.
        {"Bob", "al", 0, -1, "upper case before lower case"},
        {"\xE9t\xE9", "zoo", 0, 1, "Windows-1252 letters after ASCII"},
        {"Rent", "Food", 1, -1, "descending text"},
        {"Same", "Same", 1, 0, "equal text"},
    };
    for (const CompareCase& c : cases)
        EXPECT_EQ(SignOf(RowSort::CompareRows(Key(c.a), Key(c.b), c.order)), c.expected) << c.why;
}

TEST(RowSortTest, PinKeysAndInsertionOrderComeBeforeTheTexts)
{
    // A's pin wins outright, then B's negated, whatever the texts.
    EXPECT_EQ(RowSort::CompareRows(Key("zzz", -1), Key("aaa"), 0), -1);
    EXPECT_EQ(RowSort::CompareRows(Key("aaa"), Key("zzz", -1), 1), 1);
    EXPECT_EQ(RowSort::CompareRows(Key("a", 7), Key("b", -3), 0), 7);
    EXPECT_EQ(RowSort::CompareRows(Key("a", -1), Key("b", -1), 2), -1);
    // Insertion order ignores the texts; ties go to the second row.
    EXPECT_EQ(RowSort::CompareRows(Key("z", 0, 1), Key("a", 0, 2), 2), -1);
    EXPECT_EQ(RowSort::CompareRows(Key("a", 0, 2), Key("z", 0, 1), 2), 1);
    EXPECT_EQ(RowSort::CompareRows(Key("a", 0, 4), Key("z", 0, 4), 2), 1);
}

TEST(RowSortTest, SortsRowsAndKeepsEqualRowsInPlace)
{
    const std::vector<RowSortKey> keys = {
        Key(" Opening Balance", -1, 0), Key("25.00 ", 0, 1), Key("100.00 ", 0, 2),
        Key("3.50 ", 0, 3),             Key("25.00 ", 0, 4),
    };
    EXPECT_EQ(RowSort::SortRows(keys, 0), (std::vector<int>{0, 3, 1, 4, 2}));
    EXPECT_EQ(RowSort::SortRows(keys, 1), (std::vector<int>{0, 2, 1, 4, 3}));
    EXPECT_EQ(RowSort::SortRows(keys, 2), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_TRUE(RowSort::SortRows({}, 0).empty());

    const std::vector<RowSortKey> words = {Key("pear"), Key("Apple"), Key("apple"), Key("fig")};
    EXPECT_EQ(TextsInOrder(words, RowSort::SortRows(words, 0)),
              (std::vector<std::string>{"Apple", "apple", "fig", "pear"}));
}

TEST(RowSortTest, AdversarialRowsAndComparatorsStayInBounds)
{
    // Texts that make the comparison contradict itself: numeric and not,
    // dates, short texts, pins on some rows.
    const std::vector<std::string> pool = {"", "a", "5", "12.50 ", "-3", "abc", "7x y", "01/05/2003",
                                           "12/31/1999", "01/05/03", "x", "1.2.3", "\xFF", "Z", "9z", "--"};
    std::mt19937 random(12345);
    for (int round = 0; round < 60; ++round)
    {
        const int count = 1 + static_cast<int>(random() % 700);
        std::vector<RowSortKey> keys(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i)
        {
            RowSortKey& key = keys[static_cast<size_t>(i)];
            key.text = pool[random() % pool.size()];
            key.nInsertionIndex = static_cast<int>(random() % 50);
            const unsigned pin = random() % 10;
            key.nPinKey = pin == 0 ? -1 : (pin == 1 ? 1 : 0);
        }
        for (int order = 0; order < 3; ++order)
        {
            std::vector<int> result = RowSort::SortRows(keys, order);
            ASSERT_EQ(result.size(), keys.size());
            // Rows pinned to the front (-1) come before every unpinned row.
            bool seenUnpinned = false;
            for (int i : result)
            {
                const int pin = keys[static_cast<size_t>(i)].nPinKey;
                if (pin == 0)
                    seenUnpinned = true;
                if (pin == -1)
                {
                    EXPECT_FALSE(seenUnpinned);
                }
            }
            std::sort(result.begin(), result.end());
            for (int i = 0; i < count; ++i)
                ASSERT_EQ(result[static_cast<size_t>(i)], i);
        }
    }
    // A comparator that answers at random still yields a permutation.
    std::vector<int> result = RowSort::MergeSortIndexes(
        1000, [&random](int, int) { return static_cast<int>(random() % 3) - 1; });
    std::sort(result.begin(), result.end());
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(result[static_cast<size_t>(i)], i);
}
