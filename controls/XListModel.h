#pragma once
// The table model behind CXListCtrl. Each row holds the shown texts and
// the row's cell records (one per column that existed when the row was
// inserted); the view never reaches into a row except through here.

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

    explicit CXListModel(QObject* parent = nullptr);

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
    void RemoveRow(int row);
    void RemoveAll();

    // The shown text; empty when out of range.
    QString Text(int row, int column) const;
    void SetText(int row, int column, const QString& text);
    // The cell record, or nullptr when the row has none for that column.
    XLISTCELL* Cell(int row, int column);
    const XLISTCELL* Cell(int row, int column) const;
    bool HasCells(int row) const;

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
    };

    std::vector<Column> m_columns;
    std::vector<Row> m_rows;
};
