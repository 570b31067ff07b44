#include "RowSort.h"

#include "Records.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>

namespace
{
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// atoi of the characters [from, from + count) of text; characters past the
// end of text read as nothing.
int ReadField(const std::string& text, size_t from, size_t count)
{
    int value = 0;
    bool negative = false;
    size_t i = from;
    const size_t end = std::min(text.size(), from + count);
    while (i < end && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    if (i < end && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    for (; i < end && IsDigit(text[i]); ++i)
        value = value * 10 + (text[i] - '0');  // at most 4 digits: no overflow
    return negative ? -value : value;
}

int Sign(int v)
{
    return (v > 0) - (v < 0);
}
}

namespace RowSort
{
bool IsNumeric(const std::string& text)
{
    if (text.size() <= 1)
        return true;
    for (size_t i = 0; i + 1 < text.size(); ++i)
    {
        const char c = text[i];
        if (!IsDigit(c) && c != '.' && c != '-')
            return false;
    }
    return true;
}

bool IsDateText(const std::string& text)
{
    if (text.size() != 10)
        return false;
    for (size_t i = 0; i < 10; ++i)
    {
        const bool slash = (i == 2 || i == 5);
        if (slash ? text[i] != '/' : !IsDigit(text[i]))
            return false;
    }
    return true;
}

double ReadNumber(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    // Only plain decimal forms: no hexadecimal, no "inf" or "nan".
    if (i >= text.size())
        return 0.0;
    const bool digitFirst = IsDigit(text[i]);
    const bool pointDigit = text[i] == '.' && i + 1 < text.size() && IsDigit(text[i + 1]);
    if (!digitFirst && !pointDigit)
        return 0.0;
    double value = 0.0;
    const char* first = text.data() + i;
    const auto result = std::from_chars(first, text.data() + text.size(), value, std::chars_format::general);
    if (result.ec != std::errc())
    {
        // Out of range: the conversion saturates like strtod does.
        if (result.ec == std::errc::result_out_of_range)
            value = std::numeric_limits<double>::max();
        else
            value = 0.0;
    }
    return negative ? -value : value;
}

int NumberCompare(const std::string& x, const std::string& y)
{
    if (!IsNumeric(y))
        return -1;
    const double a = ReadNumber(x);
    const double b = ReadNumber(y);
    if (a < b)
        return -1;
    if (a > b)
        return 1;
    return 0;
}

int DateCompare(const std::string& x, const std::string& y)
{
    // mm/dd/yyyy: year first, then month, then day.
    static const size_t kFields[3][2] = {{6, 4}, {0, 2}, {3, 2}};
    for (const auto& field : kFields)
    {
        const int a = ReadField(x, field[0], field[1]);
        const int b = ReadField(y, field[0], field[1]);
        if (a != b)
            return a < b ? -1 : 1;
    }
    return 0;
}

int CompareRows(const RowSortKey& a, const RowSortKey& b, int order)
{
    if (a.nPinKey != 0)
        return a.nPinKey;
    if (b.nPinKey != 0)
        return -b.nPinKey;
    if (order == 2)
        return a.nInsertionIndex < b.nInsertionIndex ? -1 : 1;
    const bool ascending = order == 0;
    const std::string& x = ascending ? a.text : b.text;
    const std::string& y = ascending ? b.text : a.text;
    if (IsNumeric(a.text))
        return NumberCompare(x, y);
    if (IsDateText(a.text))
        return DateCompare(x, y);
    return Sign(CompareBytes(x, y));
}

}

namespace
{
// Bottom-up merge sort of the indexes 0..count-1: every step reads only
// [lo, hi) and writes the same range, so no comparator result can carry
// an index out of bounds.
template <class Compare>
std::vector<int> MergeSort(int count, const Compare& compare)
{
    std::vector<int> order;
    if (count <= 0)
        return order;
    order.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        order[static_cast<size_t>(i)] = i;
    std::vector<int> buffer(order.size());
    const size_t n = order.size();
    for (size_t width = 1; width < n; width *= 2)
    {
        for (size_t lo = 0; lo < n; lo += 2 * width)
        {
            const size_t mid = std::min(lo + width, n);
            const size_t hi = std::min(lo + 2 * width, n);
            size_t i = lo, j = mid, k = lo;
            while (i < mid && j < hi)
            {
                // Ask about (left, right) and keep the left one on a tie, so
                // equal rows keep their order.
                if (compare(order[i], order[j]) <= 0)
                    buffer[k++] = order[i++];
                else
                    buffer[k++] = order[j++];
            }
            while (i < mid)
                buffer[k++] = order[i++];
            while (j < hi)
                buffer[k++] = order[j++];
        }
        order.swap(buffer);
    }
    return order;
}

// What CompareRows reads of one key, read once per row rather than once
// per comparison: a sort makes about n log n of them.
struct Examined
{
    const RowSortKey* key;
    bool numeric;
    bool date;
    double number;
    int fields[3];  // year, month, day where a date text has them
};

Examined Examine(const RowSortKey& key)
{
    const std::string& t = key.text;
    return {&key, RowSort::IsNumeric(t), RowSort::IsDateText(t), RowSort::ReadNumber(t),
            {ReadField(t, 6, 4), ReadField(t, 0, 2), ReadField(t, 3, 2)}};
}

// CompareRows on examined keys.
int CompareExamined(const Examined& a, const Examined& b, int order)
{
    if (a.key->nPinKey != 0)
        return a.key->nPinKey;
    if (b.key->nPinKey != 0)
        return -b.key->nPinKey;
    if (order == 2)
        return a.key->nInsertionIndex < b.key->nInsertionIndex ? -1 : 1;
    const Examined& x = order == 0 ? a : b;
    const Examined& y = order == 0 ? b : a;
    if (a.numeric)
        return !y.numeric ? -1 : (x.number < y.number ? -1 : (x.number > y.number ? 1 : 0));
    if (a.date)
    {
        for (int i = 0; i < 3; ++i)
            if (x.fields[i] != y.fields[i])
                return x.fields[i] < y.fields[i] ? -1 : 1;
        return 0;
    }
    return Sign(CompareBytes(x.key->text, y.key->text));
}
}

namespace RowSort
{
std::vector<int> MergeSortIndexes(int count, const std::function<int(int, int)>& compare)
{
    return MergeSort(count, compare);
}

std::vector<int> SortRows(const std::vector<RowSortKey>& keys, int order)
{
    std::vector<Examined> examined;
    examined.reserve(keys.size());
    for (const RowSortKey& key : keys)
        examined.push_back(Examine(key));
    return MergeSort(static_cast<int>(keys.size()), [&examined, order](int i, int j) {
        return CompareExamined(examined[static_cast<size_t>(i)], examined[static_cast<size_t>(j)], order);
    });
}
}
