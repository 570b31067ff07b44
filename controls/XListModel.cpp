#include "XListModel.h"

#include "TextCodec.h"

#include <QBrush>
#include <QFont>

#include <algorithm>
#include <climits>
#include <utility>

CXListModel::CXListModel(CXListCtrl* list) : QAbstractTableModel(list), m_list(list) {}

int CXListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CXListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant CXListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    // The standard roles carry what the list paints, so that assistive
    // technology (and any other view) reads the cells as they are shown.
    const XLISTCELL* cell = Cell(index.row(), index.column());
    switch (role) {
    case Qt::DisplayRole:
        return Text(index.row(), index.column());
    case Qt::TextAlignmentRole:
        if (const Column* col = GetColumn(index.column()))
            return QVariant::fromValue(col->alignment | Qt::AlignVCenter);
        break;
    case Qt::CheckStateRole:
        if (cell && cell->nCheckedState >= 0)
            return cell->nCheckedState ? Qt::Checked : Qt::Unchecked;
        break;
    case Qt::ForegroundRole:
        if (cell && cell->crText.isValid())
            return QBrush(cell->crText);
        break;
    case Qt::BackgroundRole:
        if (cell && cell->crBackground.isValid())
            return QBrush(cell->crBackground);
        break;
    case Qt::FontRole:
        if (cell && cell->bBold) {
            QFont emphasis;
            emphasis.setBold(true);
            emphasis.setUnderline(true);
            return emphasis;
        }
        break;
    default:
        break;
    }
    return {};
}

QVariant CXListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    const Column* col = GetColumn(section);
    if (!col)
        return {};
    if (role == Qt::DisplayRole)
        return col->heading;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(col->alignment | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags CXListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    // Disabled rows stay selectable programmatically; the list itself keeps
    // clicks away from them.
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    // Asked of every cell whenever the selection is looked at: an unwritten
    // row answers from its source and stays unwritten.
    const Row& r = m_rows[static_cast<size_t>(index.row())];
    const bool checkable = r.source ? index.column() < r.cellCount && r.source->HasCheckBox(index.column())
                                    : (index.column() < static_cast<int>(r.cells.size()) &&
                                       r.cells[static_cast<size_t>(index.column())].nCheckedState >= 0);
    if (checkable)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

int CXListModel::InsertColumn(int column, const QString& heading, Qt::Alignment alignment)
{
    if (column < 0)
        return -1;
    column = std::min(column, static_cast<int>(m_columns.size()));
    beginInsertColumns(QModelIndex(), column, column);
    m_columns.insert(m_columns.begin() + column, Column{heading, alignment});
    for (Row& row : m_rows)
        if (!row.source)  // an unwritten row gets its texts when written
            row.texts.insert(column, QString());
    endInsertColumns();
    return column;
}

const CXListModel::Column* CXListModel::GetColumn(int column) const
{
    if (column < 0 || column >= static_cast<int>(m_columns.size()))
        return nullptr;
    return &m_columns[static_cast<size_t>(column)];
}

int CXListModel::InsertRow(int row)
{
    row = std::clamp(row, 0, static_cast<int>(m_rows.size()));
    beginInsertRows(QModelIndex(), row, row);
    Row r;
    r.texts.resize(static_cast<int>(m_columns.size()));
    r.cells.resize(m_columns.size());
    m_rows.insert(m_rows.begin() + row, std::move(r));
    endInsertRows();
    return row;
}

int CXListModel::InsertRows(int row, int count, CXListRowSource* source)
{
    row = std::clamp(row, 0, static_cast<int>(m_rows.size()));
    if (count <= 0 || !source)
        return row;
    beginInsertRows(QModelIndex(), row, row + count - 1);
    Row pending;
    pending.source = source;
    pending.cellCount = static_cast<int>(m_columns.size());
    const auto at = m_rows.insert(m_rows.begin() + row, static_cast<size_t>(count), pending);
    for (int i = 0; i < count; ++i) {
        at[i].item = i;
        at[i].insertionIndex = row + i;
    }
    endInsertRows();
    return row;
}

void CXListModel::RemoveRow(int row)
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
}

void CXListModel::RemoveAll()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

CXListModel::Row* CXListModel::Written(int row) const
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return nullptr;
    Row& r = m_rows[static_cast<size_t>(row)];
    if (r.source) {
        CXListRowSource* source = std::exchange(r.source, nullptr);
        r.texts.resize(static_cast<int>(m_columns.size()));
        r.cells.resize(static_cast<size_t>(r.cellCount));
        if (!r.cells.empty())
            r.cells.front().nInsertionIndex = r.insertionIndex;
        const bool nested = std::exchange(m_bWriting, true);
        source->WriteRow(*m_list, row, r.item);
        m_bWriting = nested;
    }
    return &m_rows[static_cast<size_t>(row)];
}

QString CXListModel::Text(int row, int column) const
{
    const Row* r = Written(row);
    if (!r || column < 0 || column >= r->texts.size())
        return {};
    return r->texts[column];
}

void CXListModel::SetText(int row, int column, const QString& text)
{
    Row* r = Written(row);
    if (!r || column < 0 || column >= r->texts.size())
        return;
    r->texts[column] = text;
    Touch(row, column);
}

XLISTCELL* CXListModel::Cell(int row, int column)
{
    Row* r = Written(row);
    if (!r || column < 0 || column >= static_cast<int>(r->cells.size()))
        return nullptr;
    return &r->cells[static_cast<size_t>(column)];
}

const XLISTCELL* CXListModel::Cell(int row, int column) const
{
    return const_cast<CXListModel*>(this)->Cell(row, column);
}

bool CXListModel::HasCells(int row) const
{
    return Cell(row, 0) != nullptr;
}

quintptr CXListModel::ItemData(int row) const
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return 0;
    const Row& r = m_rows[static_cast<size_t>(row)];
    if (r.source)
        return r.source->ItemData(r.item);
    return r.cells.empty() ? 0 : r.cells.front().dwItemData;
}

bool CXListModel::Enabled(int row) const
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return false;
    const Row& r = m_rows[static_cast<size_t>(row)];
    return r.source || (!r.cells.empty() && r.cells.front().bEnabled);
}

RowSortKey CXListModel::SortKey(int row, int column, bool withText) const
{
    RowSortKey key;
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return key;
    const Row& r = m_rows[static_cast<size_t>(row)];
    if (r.source) {
        // An unwritten row has no pin key yet and the text its source gives.
        key.nInsertionIndex = r.insertionIndex;
        if (withText && column < r.cellCount)
            key.text = ToBytes(r.source->CellText(r.item, column));
        return key;
    }
    // A row without records sorts as an empty text, after the others in
    // insertion order.
    key.nInsertionIndex = r.cells.empty() ? INT_MAX : r.cells.front().nInsertionIndex;
    if (column >= 0 && column < static_cast<int>(r.cells.size())) {
        key.nPinKey = r.cells[static_cast<size_t>(column)].nPinKey;
        if (withText)
            key.text = ToBytes(r.cells[static_cast<size_t>(column)].strText);
    }
    return key;
}

void CXListModel::Reorder(const std::vector<int>& order)
{
    if (order.size() != m_rows.size())
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newRowOf(order.size());
    std::vector<Row> rows;
    rows.reserve(m_rows.size());
    for (size_t i = 0; i < order.size(); ++i)
    {
        rows.push_back(std::move(m_rows[static_cast<size_t>(order[i])]));
        newRowOf[static_cast<size_t>(order[i])] = static_cast<int>(i);
    }
    m_rows = std::move(rows);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& idx : from)
        to.append(index(newRowOf[static_cast<size_t>(idx.row())], idx.column()));
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void CXListModel::Touch(int row, int column)
{
    if (m_bWriting || row < 0 || row >= static_cast<int>(m_rows.size()) || m_columns.empty())
        return;
    const int first = column < 0 ? 0 : column;
    const int last = column < 0 ? static_cast<int>(m_columns.size()) - 1 : column;
    emit dataChanged(index(row, first), index(row, last));
}
