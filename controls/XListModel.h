#pragma once
// The table model behind CXListCtrl. Each row holds the shown texts and
// the row's cell records (one per column that existed when the row was
// inserted); the view never reaches into a row except through here.
// Rows inserted from a CXListRowSource are written on first use: every
// accessor below writes the row before it answers.

#include "RowSort.h"
#include "XListCtrl.h"

#include <QAbstractTableModel>

#include <vector>

class CXListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    struct Column
    {
        QString heading;
        Qt::Alignment alignment = Qt::AlignLeft;
    };

    // Rows from a source are written through list's own operations.
    explicit CXListModel(CXListCtrl* list);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    int InsertColumn(int column, const QString& heading, Qt::Alignment alignment);
    const Column* GetColumn(int column) const;

    // Inserts an empty row (clamped to the end) with a record per column;
    // returns its index.
    int InsertRow(int row);
    // Inserts count rows at row (clamped to the end) for items 0..count-1
    // of source, unwritten; returns the first one's index.
    int InsertRows(int row, int count, CXListRowSource* source);
    void RemoveRow(int row);
    void RemoveAll();

    // The shown text; empty when out of range.
    QString Text(int row, int column) const;
    void SetText(int row, int column, const QString& text);
    // The cell record, or nullptr when the row has none for that column.
    XLISTCELL* Cell(int row, int column);
    const XLISTCELL* Cell(int row, int column) const;
    bool HasCells(int row) const;
    // The row's user value; an unwritten row asks its source, so finding a
    // record among the rows writes none of them.
    quintptr ItemData(int row) const;
    // Whether the row takes clicks and selection; an unwritten row does,
    // so selecting many rows writes none of them.
    bool Enabled(int row) const;
    // What a sort on column compares for the row, written or not; the
    // text only when asked for (insertion order needs none).
    RowSortKey SortKey(int row, int column, bool withText) const;

    // Reorders the rows so that new row i is old row order[i]; persistent
    // indexes (selection, current row, the selection mark) follow.
    void Reorder(const std::vector<int>& order);

    // Tells the views that the row or cell must be repainted.
    void Touch(int row, int column = -1);

private:
    struct Row
    {
        QVector<QString> texts;          // one per column, grows with the columns
        std::vector<XLISTCELL> cells;    // fixed at insertion
        // Until the row is written: its source and item, the number of
        // cell records it gets and its insertion index.
        CXListRowSource* source = nullptr;
        int item = 0;
        int cellCount = 0;
        int insertionIndex = 0;
    };

    // Writes the row if it has not been written yet; a row out of range
    // gives null.
    Row* Written(int row) const;

    CXListCtrl* m_list;
    std::vector<Column> m_columns;
    // Mutable: reading a row writes it first.
    mutable std::vector<Row> m_rows;
    // While a source writes a row, no change is announced: the views are
    // often in the middle of asking for that very row.
    mutable bool m_bWriting = false;
};
