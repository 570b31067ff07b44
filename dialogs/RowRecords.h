#pragma once
// Rows that carry their record. Every list sorts, so a row's position says
// nothing about which record it shows: a dialog keeps the record in the
// row's user value and finds it, and its place in the document, from there.

#include "XListCtrl.h"

#include <memory>
#include <unordered_map>
#include <vector>

template <class T>
void SetRowRecord(CXListCtrl* list, int row, const T* record)
{
    list->SetItemData(row, reinterpret_cast<quintptr>(record));
}

// The row's record; null for a row that carries none.
template <class T>
T* RowRecord(const CXListCtrl* list, int row)
{
    return reinterpret_cast<T*>(list->GetItemData(row));
}

// The row that shows record, or -1.
inline int RowOfRecord(const CXListCtrl* list, const void* record)
{
    if (!record)
        return -1;
    for (int row = 0; row < list->GetItemCount(); ++row)
        if (list->GetItemData(row) == reinterpret_cast<quintptr>(record))
            return row;
    return -1;
}

// The row of every record the list shows, found in one walk: for finding
// many records at once, which RowOfRecord would walk the list for each.
template <class T>
std::unordered_map<const T*, int> RowsOfRecords(const CXListCtrl* list)
{
    std::unordered_map<const T*, int> rows;
    rows.reserve(size_t(list->GetItemCount()));
    for (int row = list->GetItemCount() - 1; row >= 0; --row)
        if (const T* record = RowRecord<const T>(list, row))
            rows[record] = row;
    return rows;
}

// The record's position in the document's list; -1 when the list does not
// hold it (any more).
template <class T>
int PositionOf(const std::vector<std::unique_ptr<T>>& records, const T* record)
{
    for (size_t i = 0; i < records.size(); ++i)
        if (records[i].get() == record)
            return static_cast<int>(i);
    return -1;
}
