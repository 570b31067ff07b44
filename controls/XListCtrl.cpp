#include "XListCtrl.h"

#include "GdiDraw.h"
#include "RowSort.h"
#include "XHeaderCtrl.h"
#include "XListDelegate.h"
#include "XListModel.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>

namespace
{
const char* const kEmptyText = "There are no items to show in this view.";
constexpr int kDefaultColumnWidth = 80;

// Greyed rows: text colour halfway to the background, so a disabled row
// stays readable on any theme (some themes' disabled text is barely
// distinguishable from the window colour).
QColor GreyText(const QPalette& pal)
{
    const QColor text = pal.color(QPalette::Active, QPalette::Text);
    const QColor base = pal.color(QPalette::Active, QPalette::Base);
    return QColor((text.red() * 55 + base.red() * 45) / 100, (text.green() * 55 + base.green() * 45) / 100,
                  (text.blue() * 55 + base.blue() * 45) / 100);
}

// A text wider than its cell ends in an ellipsis a few pixels short of the
// cell's edge, so it cannot seem to run on into the next column's text.
QString FittedText(const QFontMetrics& metrics, const QString& text, int width)
{
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    return metrics.elidedText(text, Qt::ElideRight, std::max(0, width - 4));
}
}

// Keeps greyed rows out of every selection a gesture makes: a drag, a
// Shift range, Ctrl+A, the arrow keys. A press on such a row is already
// swallowed, but a drag that starts beside it would still sweep it in.
// The program itself may still select one (SetItemState).
class CXListCtrl::CXListSelection : public QItemSelectionModel
{
public:
    CXListSelection(CXListModel* model, QObject* parent) : QItemSelectionModel(model, parent), m_model(model) {}

    using QItemSelectionModel::select;
    void select(const QItemSelection& selection, QItemSelectionModel::SelectionFlags command) override
    {
        if (m_bProgrammatic || !(command & (Select | Toggle)))
        {
            QItemSelectionModel::select(selection, command);
            return;
        }
        QItemSelection kept;
        for (const QItemSelectionRange& range : selection)
        {
            int first = -1;
            auto keep = [&](int last) {
                if (first >= 0)
                    kept.append(QItemSelectionRange(m_model->index(first, range.left()),
                                                    m_model->index(last, range.right())));
                first = -1;
            };
            for (int row = range.top(); row <= range.bottom(); ++row)
            {
                if (m_model->Enabled(row))
                {
                    if (first < 0)
                        first = row;
                }
                else
                {
                    keep(row - 1);
                }
            }
            keep(range.bottom());
        }
        QItemSelectionModel::select(kept, command);
    }

    bool m_bProgrammatic = false;

private:
    CXListModel* m_model;
};

CXListCtrl::CXListCtrl(QWidget* parent) : QTableView(parent)
{
    m_pModel = new CXListModel(this);
    setModel(m_pModel);
    QItemSelectionModel* plain = selectionModel();
    m_pSelection = new CXListSelection(m_pModel, this);
    setSelectionModel(m_pSelection);
    delete plain;
    m_pHeader = new CXHeaderCtrl(this);
    setHorizontalHeader(m_pHeader);
    m_pHeader->setSectionResizeMode(QHeaderView::Interactive);
    connect(m_pHeader, &QHeaderView::sectionClicked, this, &CXListCtrl::OnHeaderClicked);

    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 3);

    setItemDelegate(new CXListDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);
}

CXListCtrl::~CXListCtrl() = default;

// ---- Columns and appearance ------------------------------------------

int CXListCtrl::InsertColumn(int column, const QString& heading, Qt::Alignment alignment, int width)
{
    const Qt::Alignment horizontal = alignment & Qt::AlignHorizontal_Mask;
    const int index = m_pModel->InsertColumn(column, heading, horizontal ? horizontal : Qt::AlignLeft);
    if (index >= 0)
        setColumnWidth(index, width >= 0 ? width : kDefaultColumnWidth);
    return index;
}

int CXListCtrl::GetColumns() const
{
    return m_pModel->columnCount();
}

int CXListCtrl::GetColumnWidth(int column) const
{
    if (column < 0 || column >= GetColumns())
        return 0;
    return columnWidth(column);
}

int CXListCtrl::SetColumnWidth(int column, int width)
{
    if (column < 0 || column >= GetColumns() || width < 0)
        return 0;
    setColumnWidth(column, width);
    return 1;
}

Qt::Alignment CXListCtrl::GetColumnAlignment(int column) const
{
    const CXListModel::Column* col = m_pModel->GetColumn(column);
    return col ? col->alignment : Qt::AlignLeft;
}

void CXListCtrl::SetHeaderVisible(bool visible)
{
    m_pHeader->setVisible(visible);
}

void CXListCtrl::SetFullRowSelect(bool on)
{
    m_bFullRowSelect = on;
    viewport()->update();
}

void CXListCtrl::SetGridLines(bool on)
{
    setShowGrid(on);
}

void CXListCtrl::SetShowSelectionAlways(bool on)
{
    m_bShowSelectionAlways = on;
    viewport()->update();
}

void CXListCtrl::SetSingleSelection(bool single)
{
    setSelectionMode(single ? QAbstractItemView::SingleSelection : QAbstractItemView::ExtendedSelection);
}

void CXListCtrl::SetRowHeight(int pixels)
{
    if (pixels > 0)
        verticalHeader()->setDefaultSectionSize(pixels);
}

int CXListCtrl::GetRowHeight() const
{
    return verticalHeader()->defaultSectionSize();
}

// ---- Rows --------------------------------------------------------------

bool CXListCtrl::ValidRow(int row) const
{
    return row >= 0 && row < m_pModel->rowCount();
}

bool CXListCtrl::ValidCell(int row, int column) const
{
    return ValidRow(row) && column >= 0 && column < GetColumns();
}

int CXListCtrl::GetItemCount() const
{
    return m_pModel->rowCount();
}

int CXListCtrl::InsertItem(int row, const QString& text)
{
    return InsertItem(row, text, QColor(), QColor());
}

int CXListCtrl::InsertItem(int row, const QString& text, const QColor& textColor, const QColor& backgroundColor)
{
    if (row < 0)
        return -1;
    const int index = m_pModel->InsertRow(row);
    m_pModel->SetText(index, 0, text);
    if (XLISTCELL* cell = m_pModel->Cell(index, 0))
    {
        cell->crText = textColor;
        cell->crBackground = backgroundColor;
        cell->strText = text;
        cell->nInsertionIndex = row;
    }
    return index;
}

int CXListCtrl::InsertItem(const XLISTITEM& item)
{
    if (item.iItem < 0 || item.iSubItem < 0 || (item.iSubItem >= GetColumns() && item.iSubItem != 0))
        return -1;
    const int index = m_pModel->InsertRow(item.iItem);
    m_pModel->SetText(index, item.iSubItem, item.text);
    if (XLISTCELL* cell = m_pModel->Cell(index, item.iSubItem))
        cell->strText = item.text;
    if (XLISTCELL* first = m_pModel->Cell(index, 0))
        first->nInsertionIndex = item.iItem;
    return index;
}

int CXListCtrl::InsertItems(int row, int count, CXListRowSource* source)
{
    if (row < 0)
        return -1;
    return m_pModel->InsertRows(row, count, source);
}

int CXListCtrl::SetItem(const XLISTITEM& item)
{
    if (item.iItem < 0)
        return -1;
    if (!ValidCell(item.iItem, item.iSubItem))
        return 0;
    m_pModel->SetText(item.iItem, item.iSubItem, item.text);
    XLISTCELL* cell = m_pModel->Cell(item.iItem, item.iSubItem);
    if (!cell)
        return 0;
    cell->strText = item.text;
    return 1;
}

int CXListCtrl::SetItemText(int row, int column, const QString& text)
{
    if (!ValidCell(row, column))
        return 0;
    if (XLISTCELL* cell = m_pModel->Cell(row, column))
        cell->strText = text;
    m_pModel->SetText(row, column, text);
    return 1;
}

int CXListCtrl::SetItemText(int row, int column, const QString* text, const QColor& textColor,
                            const QColor& backgroundColor)
{
    if (!ValidCell(row, column))
        return 0;
    if (text)
        m_pModel->SetText(row, column, *text);
    XLISTCELL* cell = m_pModel->Cell(row, column);
    if (!cell)
        return 0;
    cell->strText = text ? *text : QString();
    cell->crText = textColor;
    cell->crBackground = backgroundColor;
    m_pModel->Touch(row, column);
    return 1;
}

int CXListCtrl::SetItemText(int row, int column, const QString& text, const QColor& textColor,
                            const QColor& backgroundColor)
{
    return SetItemText(row, column, &text, textColor, backgroundColor);
}

QString CXListCtrl::GetItemText(int row, int column) const
{
    return m_pModel->Text(row, column);
}

int CXListCtrl::DeleteItem(int row)
{
    if (!ValidRow(row))
        return 0;
    m_pModel->RemoveRow(row);
    return 1;
}

int CXListCtrl::DeleteAllItems()
{
    m_pModel->RemoveAll();
    m_mark = QPersistentModelIndex();
    return 1;
}

int CXListCtrl::SetCheckState(int row, int column, int state)
{
    if (!ValidCell(row, column))
        return 0;
    XLISTCELL* cell = m_pModel->Cell(row, column);
    if (!cell)
        return 0;
    cell->nCheckedState = state < 0 ? -1 : (state > 0 ? 1 : 0);
    UpdateSubItem(row, column);
    return 1;
}

int CXListCtrl::GetCheckState(int row, int column) const
{
    const XLISTCELL* cell = ValidCell(row, column) ? m_pModel->Cell(row, column) : nullptr;
    return cell ? cell->nCheckedState : -1;
}

int CXListCtrl::SetEnabled(int row, bool enabled)
{
    XLISTCELL* cell = ValidRow(row) ? m_pModel->Cell(row, 0) : nullptr;
    if (!cell)
        return 0;
    cell->bEnabled = enabled ? 1 : 0;
    m_pModel->Touch(row);  // schedules the row's repaint
    return 1;
}

bool CXListCtrl::GetEnabled(int row) const
{
    return m_pModel->Enabled(row);
}

int CXListCtrl::SetBold(int row, int column, bool bold)
{
    XLISTCELL* cell = ValidCell(row, column) ? m_pModel->Cell(row, column) : nullptr;
    if (!cell)
        return 0;
    cell->bBold = bold ? 1 : 0;
    UpdateSubItem(row, column);
    return 1;
}

bool CXListCtrl::GetBold(int row, int column) const
{
    const XLISTCELL* cell = ValidCell(row, column) ? m_pModel->Cell(row, column) : nullptr;
    return cell && cell->bBold;
}

int CXListCtrl::SetPinKey(int row, int column, int key)
{
    XLISTCELL* cell = ValidCell(row, column) ? m_pModel->Cell(row, column) : nullptr;
    if (!cell)
        return 0;
    cell->nPinKey = key;
    return 1;
}

int CXListCtrl::SetItemData(int row, quintptr value)
{
    XLISTCELL* cell = ValidRow(row) ? m_pModel->Cell(row, 0) : nullptr;
    if (!cell)
        return 0;
    cell->dwItemData = value;
    return 1;
}

quintptr CXListCtrl::GetItemData(int row) const
{
    return m_pModel->ItemData(row);
}

const XLISTCELL* CXListCtrl::GetCell(int row, int column) const
{
    return ValidCell(row, column) ? m_pModel->Cell(row, column) : nullptr;
}

void CXListCtrl::UpdateSubItem(int row, int column)
{
    if (!ValidCell(row, column))
        return;
    // Scheduled, not painted on the spot: lists are often filled while
    // their parent paints, and a nested repaint there would recurse.
    m_pModel->Touch(row, column);
}

int CXListCtrl::GetSubItemRect(int row, int column, int /*area*/, QRect& rect) const
{
    if (!ValidCell(row, column))
        return 0;
    rect = visualRect(m_pModel->index(row, column));
    return 1;
}

// ---- Selection and focus ---------------------------------------------

int CXListCtrl::SetItemState(int row, unsigned state, unsigned mask)
{
    if (!ValidRow(row))
        return 0;
    const QModelIndex index = m_pModel->index(row, 0);
    QItemSelectionModel* sel = selectionModel();
    m_pSelection->m_bProgrammatic = true;
    if (mask & StateSelected)
    {
        if (state & StateSelected)
        {
            QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::Select | QItemSelectionModel::Rows;
            if (selectionMode() == QAbstractItemView::SingleSelection)
                flags |= QItemSelectionModel::Clear;
            sel->select(index, flags);
            m_mark = index;
        }
        else
        {
            sel->select(index, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
        }
    }
    if ((mask & StateFocused) && (state & StateFocused))
    {
        sel->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        m_mark = index;
    }
    else if ((mask & StateFocused) && sel->currentIndex().row() == row)
    {
        sel->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    m_pSelection->m_bProgrammatic = false;
    return 1;
}

unsigned CXListCtrl::GetItemState(int row, unsigned mask) const
{
    if (!ValidRow(row))
        return 0;
    unsigned state = 0;
    if (selectionModel()->isRowSelected(row, QModelIndex()))
        state |= StateSelected;
    if (selectionModel()->currentIndex().isValid() && selectionModel()->currentIndex().row() == row)
        state |= StateFocused;
    return state & mask;
}

int CXListCtrl::EnsureVisible(int row)
{
    if (!ValidRow(row))
        return 0;
    scrollTo(m_pModel->index(row, 0));
    return 1;
}

int CXListCtrl::GetSelectionMark() const
{
    return m_mark.isValid() ? m_mark.row() : -1;
}

void CXListCtrl::SetSelectionMark(int row)
{
    m_mark = ValidRow(row) ? QPersistentModelIndex(m_pModel->index(row, 0)) : QPersistentModelIndex();
}

int CXListCtrl::GetSelectedCount() const
{
    return static_cast<int>(GetSelectedRows().size());
}

QVector<int> CXListCtrl::GetSelectedRows() const
{
    QVector<int> rows;
    for (int row = 0; row < GetItemCount(); ++row)
        if (selectionModel()->isRowSelected(row, QModelIndex()))
            rows.append(row);
    return rows;
}

int CXListCtrl::GetNextSelected(int after) const
{
    for (int row = std::max(after + 1, 0); row < GetItemCount(); ++row)
        if (selectionModel()->isRowSelected(row, QModelIndex()))
            return row;
    return -1;
}

// ---- Sorting -------------------------------------------------------------

void CXListCtrl::OnHeaderClicked(int column)
{
    const int order = column == m_nSortColumn ? (m_nSortOrder + 1) % 3 : 0;
    SortColumn(column, order);
}

void CXListCtrl::SortColumn(int column, int order)
{
    m_nSortColumn = column;
    m_nSortOrder = order;
    m_pHeader->SetSortArrow(column, order);
    if (column < 0 || column >= GetColumns())
        return;
    const int rows = GetItemCount();
    std::vector<RowSortKey> keys(static_cast<size_t>(rows));
    for (int row = 0; row < rows; ++row)
        keys[static_cast<size_t>(row)] = m_pModel->SortKey(row, column, order != SortInsertion);
    m_pModel->Reorder(RowSort::SortRows(keys, order));
    viewport()->update();
}

void CXListCtrl::ReSort()
{
    if (m_nSortOrder != SortInsertion)
        SortColumn(m_nSortColumn, m_nSortOrder);
}

// ---- Clicks --------------------------------------------------------------

int CXListCtrl::RowAt(const QPoint& p) const
{
    const int row = rowAt(p.y());
    if (!ValidRow(row))
        return -1;
    // The row's rectangle spans the columns, not the empty area beside them.
    int right = -horizontalOffset();
    for (int c = 0; c < GetColumns(); ++c)
        if (!isColumnHidden(c))
            right += columnWidth(c);
    return p.x() >= -horizontalOffset() && p.x() < right ? row : -1;
}

int CXListCtrl::ColumnAt(int row, const QPoint& p) const
{
    // Grid lines belong to the cell on their left and above, so a press on
    // one still names a cell.
    if (!ValidRow(row))
        return -1;
    const int column = columnAt(p.x());
    return column >= 0 && column < GetColumns() ? column : -1;
}

void CXListCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
    {
        QTableView::mousePressEvent(event);
        return;
    }
    const QPoint p = event->position().toPoint();
    const int row = RowAt(p);
    int column = -1;
    if (row >= 0)
    {
        const XLISTCELL* first = m_pModel->Cell(row, 0);
        if (!first || !first->bEnabled)
        {
            // Greyed rows and rows without records ignore the press, and
            // the drag that may follow it.
            m_bPressPending = false;
            m_bPressSwallowed = true;
            event->accept();
            return;
        }
        column = ColumnAt(row, p);
        if (column >= 0)
        {
            XLISTCELL* cell = m_pModel->Cell(row, column);
            if (cell && cell->nCheckedState >= 0)
            {
                cell->nCheckedState = cell->nCheckedState == 0 ? 1 : 0;
                UpdateSubItem(row, column);
                emit checkBoxClicked(row, column);
            }
        }
    }
    m_bPressSwallowed = false;
    m_bPressPending = true;
    m_nPressRow = row;
    m_nPressColumn = row >= 0 ? column : -1;
    m_pressModifiers = event->modifiers();
    QTableView::mousePressEvent(event);
    if (row >= 0 && ValidRow(row) && !(event->modifiers() & Qt::ShiftModifier))
        m_mark = m_pModel->index(row, 0);
}

void CXListCtrl::mouseMoveEvent(QMouseEvent* event)
{
    if (m_bPressSwallowed && (event->buttons() & Qt::LeftButton))
    {
        event->accept();
        return;
    }
    QTableView::mouseMoveEvent(event);
}

void CXListCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_bPressSwallowed && event->button() == Qt::LeftButton)
    {
        m_bPressSwallowed = false;
        event->accept();
        return;
    }
    QTableView::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !m_bPressPending)
        return;
    m_bPressPending = false;
    emit itemClicked(m_nPressRow, m_nPressColumn, m_pressModifiers);
}

void CXListCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
    {
        QTableView::mouseDoubleClickEvent(event);
        return;
    }
    const QPoint p = event->position().toPoint();
    const int row = RowAt(p);
    if (row >= 0)
    {
        const XLISTCELL* first = m_pModel->Cell(row, 0);
        if (!first || !first->bEnabled)
        {
            m_bPressSwallowed = true;
            event->accept();
            return;
        }
    }
    const int column = row >= 0 ? ColumnAt(row, p) : -1;
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    QTableView::mouseDoubleClickEvent(event);
    emit itemDoubleClicked(row, column, modifiers);
}

QModelIndex CXListCtrl::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex to = QTableView::moveCursor(action, modifiers);
    if (!to.isValid() || GetEnabled(to.row()))
        return to;
    // The keys walk over greyed rows, to the next row that takes a click;
    // with none that way the cursor stays where it was.
    const bool upwards = action == MoveUp || action == MovePageUp || action == MoveEnd;
    for (int row = to.row(); ValidRow(row); row += upwards ? -1 : 1)
        if (GetEnabled(row))
            return m_pModel->index(row, to.column());
    return currentIndex();
}

void CXListCtrl::keyPressEvent(QKeyEvent* event)
{
    const QModelIndex before = currentIndex();
    QTableView::keyPressEvent(event);
    // Walking with the keys anchors the mark like a click; Shift extends.
    const QModelIndex after = currentIndex();
    if (!after.isValid() || after.row() == before.row())
        return;
    if (!(event->modifiers() & Qt::ShiftModifier))
        m_mark = m_pModel->index(after.row(), 0);
    emit rowWalked(after.row(), event->modifiers());
}

// ---- Painting ------------------------------------------------------------

void CXListCtrl::PaintCell(QPainter& painter, const QRect& rect, int row, int column, bool selected) const
{
    const QPalette& pal = palette();
    const QColor window = pal.color(QPalette::Base);
    const QColor windowText = pal.color(QPalette::Text);
    const XLISTCELL* cell = m_pModel->Cell(row, column);
    const XLISTCELL* first = m_pModel->Cell(row, 0);

    QColor text = cell && cell->crText.isValid() ? cell->crText : windowText;
    QColor background = cell && cell->crBackground.isValid() ? cell->crBackground : window;
    const bool enabled = !first || first->bEnabled;
    if (!enabled)
        text = GreyText(pal);
    if (selected && (m_bFullRowSelect || column == 0))
    {
        if (hasFocus())
        {
            text = pal.color(QPalette::Active, QPalette::HighlightedText);
            background = pal.color(QPalette::Active, QPalette::Highlight);
        }
        else if (m_bShowSelectionAlways)
        {
            text = windowText;
            background = pal.color(QPalette::Button);
        }
    }

    const QString shown = m_pModel->Text(row, column);
    // Exclusive edges, as the box is laid out.
    const int left = rect.x(), top = rect.y();
    const int right = rect.x() + rect.width(), bottom = rect.y() + rect.height();
    painter.fillRect(rect, background);

    if (!cell || cell->nCheckedState == -1)
    {
        if (shown.isEmpty())
            return;
        painter.save();
        if (cell && cell->bBold)
        {
            QFont bold = painter.font();
            bold.setWeight(QFont::Bold);
            bold.setUnderline(true);
            painter.setFont(bold);
        }
        painter.setPen(text);
        painter.setClipRect(rect, Qt::IntersectClip);
        painter.drawText(rect, int(GetColumnAlignment(column) | Qt::AlignVCenter | Qt::TextSingleLine),
                         FittedText(painter.fontMetrics(), shown, rect.width()));
        painter.restore();
        return;
    }

    // The check box: a square as tall as the cell, 9 pixels in, or centred
    // when there is no text beside it.
    const int boxTop = top;
    const int boxBottom = bottom - 1;
    const int height = boxBottom - boxTop;
    int boxLeft = shown.isEmpty() ? left + (rect.width() / 2) - (height / 2) - 1 : left + 9;
    const int boxRight = boxLeft + height;
    GdiDraw::Fill(painter, boxLeft, boxTop, boxRight, boxBottom, window);
    ++boxLeft;
    // Sunken edge: shadow outside, dark shadow inside on the top and left;
    // highlight outside, light inside on the bottom and right.
    GdiDraw::Frame3d(painter, boxLeft, boxTop, boxRight, boxBottom, pal.color(QPalette::Dark),
                     pal.color(QPalette::Light));
    GdiDraw::Frame3d(painter, boxLeft + 1, boxTop + 1, boxRight - 1, boxBottom - 1, pal.color(QPalette::Shadow),
                     pal.color(QPalette::Midlight));
    if (cell->nCheckedState == 1)
    {
        const QColor mark = enabled ? QColor(Qt::black) : GreyText(pal);
        int x = boxLeft + 9;
        int y = boxTop + 3;
        for (int i = 0; i < 4; ++i, --x, ++y)
            GdiDraw::Line(painter, QPoint(x, y), QPoint(x, y + 3), mark);
        for (int i = 0; i < 3; ++i, --x, --y)
            GdiDraw::Line(painter, QPoint(x, y), QPoint(x, y + 3), mark);
    }
    if (!shown.isEmpty())
    {
        const QRect textRect(boxRight + 4, top, std::max(0, right - (boxRight + 4)), rect.height());
        painter.save();
        painter.setPen(text);
        painter.setClipRect(rect, Qt::IntersectClip);
        painter.drawText(textRect, int(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip),
                         FittedText(painter.fontMetrics(), shown, textRect.width()));
        painter.restore();
    }
}

void CXListCtrl::paintEvent(QPaintEvent* event)
{
    QTableView::paintEvent(event);
    if (GetItemCount() == 0)
    {
        QPainter painter(viewport());
        PaintEmptyText(painter);
    }
}

void CXListCtrl::PaintEmptyText(QPainter& painter)
{
    // The viewport starts at the header's bottom edge.
    QRect rect = viewport()->rect();
    rect.setTop(rect.top() + 10);
    if (rect.isEmpty())
        return;
    painter.fillRect(rect, palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Text));
    painter.setFont(font());
    painter.drawText(rect, int(Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap | Qt::TextDontClip),
                     QString::fromLatin1(kEmptyText));
}

// ---- Printing --------------------------------------------------------------

void CXListCtrl::PrintList(QPainter& painter, const QRect& printableArea)
{
    QPaintDevice* device = painter.device();
    if (!device)
        return;
    const int screenDpi = logicalDpiX();
    const double scale = screenDpi > 0 ? double(device->logicalDpiX()) / screenDpi : 1.0;
    const QPoint listPos = parentWidget() ? pos() : QPoint(0, 0);
    // The rows land where they show on screen, relative to the parent, so
    // they line up with the panel the parent prints around them: the
    // viewport sits inside the list's frame and under its header.
    const QPoint rows = listPos + viewport()->pos();

    painter.save();
    QTransform transform = QTransform::fromScale(scale, scale);
    transform.translate(rows.x(), rows.y() + printableArea.top() + 40);
    painter.setWorldTransform(transform);
    // The font as many device pixels as it has screen pixels, so that the
    // transform alone scales it.
    QFont printFont = font();
    const double pixels = font().pixelSize() > 0 ? font().pixelSize() : font().pointSizeF() * logicalDpiY() / 72.0;
    printFont.setPointSizeF(pixels * 72.0 / device->logicalDpiY());
    painter.setFont(QFont(printFont, device));

    const QRect visible = viewport()->rect();
    // Only what the list shows: a last column wider than the room left is
    // cut at the list's edge, as on screen.
    painter.setClipRect(visible, Qt::IntersectClip);
    // The grid colour as the table paints it on screen: styles answer
    // from the item option's palette, and transparent without one.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QColor grid = QColor::fromRgba(
        static_cast<QRgb>(style()->styleHint(QStyle::SH_Table_GridLineColor, &option, this)));
    // What the page leaves of the list: rows below the page's end are cut
    // off, and a long list would otherwise paint them all for nothing.
    const QRect shown = painter.clipBoundingRect().toAlignedRect() & visible;
    for (int row = 0; row < GetItemCount(); ++row)
    {
        const int y = rowViewportPosition(row);
        if (y + rowHeight(row) <= shown.top() || y >= shown.bottom() + 1)
            continue;
        const bool selected = selectionModel()->isRowSelected(row, QModelIndex());
        for (int column = 0; column < GetColumns(); ++column)
        {
            if (isColumnHidden(column))
                continue;
            const QRect rect = visualRect(m_pModel->index(row, column));
            PaintCell(painter, rect, row, column, selected);
            if (showGrid())
            {
                const int r = rect.x() + rect.width(), b = rect.y() + rect.height();
                GdiDraw::Line(painter, QPoint(r, rect.y()), QPoint(r, b + 1), grid);
                GdiDraw::Line(painter, QPoint(rect.x(), b), QPoint(r + 1, b), grid);
            }
        }
    }
    painter.restore();
}
