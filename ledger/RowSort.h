#pragma once
// The grid list's row comparison and the sort that uses it. Kept free of
// any GUI so it can be tested (and run under the sanitizers) on its own.
//
// The comparison is deliberately not a consistent order (numeric texts
// against non-numeric ones, pin keys on both sides), so rows are sorted
// with a merge sort that only ever looks at indexes it owns: any
// comparator, however contradictory, gives a permutation.

#include <functional>
#include <string>
#include <vector>

// What a row contributes to a sort on one column.
struct RowSortKey
{
    int nPinKey = 0;          // the sort column's pin key
    int nInsertionIndex = 0;  // column 0's insertion index
    std::string text;         // the sort column's text, as bytes
};

namespace RowSort
{
// Every character but the last is a digit, "." or "-"; texts of zero or one
// character count as numeric.
bool IsNumeric(const std::string& text);
// Exactly "dd/dd/dddd".
bool IsDateText(const std::string& text);
// The leading decimal number of text (sign, digits, point, exponent), 0
// when nothing is readable. Independent of the C locale.
double ReadNumber(const std::string& text);
// -1 when y is not numeric, else -1, 0 or 1 by value.
int NumberCompare(const std::string& x, const std::string& y);
// Year, then month, then day of "mm/dd/yyyy"; y is read at the same
// positions without being checked (missing characters read as nothing).
int DateCompare(const std::string& x, const std::string& y);

// The row comparison for order 0 (ascending), 1 (descending) or 2
// (insertion order). Negative: a before b.
int CompareRows(const RowSortKey& a, const RowSortKey& b, int order);

// Stable merge sort of the indexes 0..count-1 with compare(i, j) < 0
// meaning i goes before j. Returns the new order: element k is the index
// of the row that ends up at position k.
std::vector<int> MergeSortIndexes(int count, const std::function<int(int, int)>& compare);

// Sorts keys with CompareRows; returns the new order as above.
std::vector<int> SortRows(const std::vector<RowSortKey>& keys, int order);
}
