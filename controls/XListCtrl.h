#pragma once
// CXListCtrl: the program's one report list. Every cell carries its own
// colours, an optional check box and an emphasis flag; rows can be greyed
// out; a heading click sorts; an empty list says so.
//
// Conventions of this API:
// - Texts are QStrings. The ledger keeps Windows-1252 bytes, so callers
//   convert with FromBytes()/ToBytes() (TextCodec.h). Sorting compares the
//   cells' texts as Windows-1252 bytes, exactly like the ledger does.
// - Colours are QColors. An invalid colour, QColor(), stands for "the
//   list's default" (window text, or window background), read from the
//   palette whenever the list paints.
// - Rows and columns are 0-based. Operations on an existing row or column
//   return their failure value (0, or -1 for the insert forms) for an index
//   out of range and change nothing.
// - Columns must all be inserted before the first row: a row gets one cell
//   record per column that exists when it is inserted and never grows.
// - Rectangles are in viewport coordinates (the area under the header).
// - A list whose columns are meant to fill its whole width (the dashboard's)
//   wants setFrameShape(QFrame::NoFrame): the frame would take 2 pixels and
//   bring up a scroll bar.

#include <QColor>
#include <QRect>
#include <QString>
#include <QTableView>
#include <QVector>

class CXHeaderCtrl;
class CXListCtrl;
class CXListModel;
class QPainter;

// Per-cell state. The enabled flag, the insertion index and the user value
// live in the row's column 0 record only.
struct XLISTCELL
{
    int bEnabled = 1;          // 0 greys out the whole row and makes it ignore clicks
    int bBold = 0;             // non-zero: bold and underlined text
    QColor crText;             // invalid: the list's default text colour
    QColor crBackground;       // invalid: the list's default background
    int nCheckedState = -1;    // -1 no check box, 0 unchecked, 1 checked
    QString strText;           // copy of the cell's text, used for sorting
    int nPinKey = 0;           // non-zero: fixed comparison result when sorting on this column
    int nInsertionIndex = 0;   // the row index given when the row was inserted
    quintptr dwItemData = 0;   // the row's user value (wide enough for a pointer)
};

// Writes the rows of a list filled with InsertItems. A row is written the
// first time anything of it is needed (shown, printed, read or changed),
// so a list of many thousand records costs only the rows someone looks
// at, and closing it frees only those.
class CXListRowSource
{
public:
    virtual ~CXListRowSource() = default;
    // Writes the row that stands for item through the list's own
    // operations, as a fill right after InsertItem would: texts, colours,
    // check boxes, emphasis, the user value. It must neither insert nor
    // delete rows, nor set pin keys, nor grey rows out.
    virtual void WriteRow(CXListCtrl& list, int row, int item) = 0;
    // The text WriteRow stores in column for item, which a sort compares
    // without writing the row.
    virtual QString CellText(int item, int column) const = 0;
    // The user value WriteRow stores for item.
    virtual quintptr ItemData(int item) const = 0;
    // Whether WriteRow gives the cells of column a check box (in every row).
    virtual bool HasCheckBox(int column) const = 0;
};

// An item description for the description-based operations: the row, the
// column and the text to store.
struct XLISTITEM
{
    int iItem = 0;
    int iSubItem = 0;
    QString text;
};

class CXListCtrl : public QTableView
{
    Q_OBJECT
public:
    // Sort orders.
    enum SortOrder
    {
        SortAscending = 0,
        SortDescending = 1,
        SortInsertion = 2,
    };

    // Item state bits for SetItemState/GetItemState.
    enum ItemState : unsigned
    {
        StateFocused = 0x1,
        StateSelected = 0x2,
    };

    // Area codes for GetSubItemRect; every code gives the whole cell, as
    // cells carry no icons.
    enum SubItemArea
    {
        AreaBounds = 0,
        AreaLabel = 2,
    };

    explicit CXListCtrl(QWidget* parent = nullptr);
    ~CXListCtrl() override;

    // ---- Columns and appearance --------------------------------------
    // Inserts a column at position column (clamped to the end). Width in
    // pixels; -1 keeps a default width. Returns the new column's index, or -1.
    int InsertColumn(int column, const QString& heading, Qt::Alignment alignment = Qt::AlignLeft, int width = -1);
    int GetColumns() const;  // number of header items
    int GetColumnWidth(int column) const;  // 0 on a bad column
    int SetColumnWidth(int column, int width);  // 1, or 0 on a bad column
    Qt::Alignment GetColumnAlignment(int column) const;  // left on a bad column
    CXHeaderCtrl* GetHeaderCtrl() const { return m_pHeader; }
    void SetHeaderVisible(bool visible);  // the dashboard lists have none

    void SetFullRowSelect(bool on);  // selection colours on every cell, not just column 0
    bool GetFullRowSelect() const { return m_bFullRowSelect; }
    void SetGridLines(bool on);
    // Keep showing the selection (window text on button face) while the
    // list has no keyboard focus.
    void SetShowSelectionAlways(bool on);
    bool GetShowSelectionAlways() const { return m_bShowSelectionAlways; }
    void SetSingleSelection(bool single);  // default: multiple selection
    void SetRowHeight(int pixels);  // fixed height of every row
    // Blank pixels above and below the rows, showing what lies under the list.
    void SetVerticalMargins(int top, int bottom) { setViewportMargins(0, top, 0, bottom); }
    int GetRowHeight() const;

    // ---- Rows ---------------------------------------------------------
    int GetItemCount() const;
    // Inserts a row at row (clamped to the end) with text in column 0.
    // Returns the new row's index, -1 when row is negative.
    int InsertItem(int row, const QString& text);
    int InsertItem(int row, const QString& text, const QColor& textColor, const QColor& backgroundColor);
    // As above with default colours, the text going into item.iSubItem.
    // -1 when the row index is negative or the column does not exist.
    int InsertItem(const XLISTITEM& item);
    // Inserts count rows at row (clamped to the end) for the items 0 ..
    // count - 1 of source, each as if inserted with InsertItem at row + i
    // and then written by the source, which does so when the row is first
    // needed; source must outlive the rows. Returns the first row's index,
    // -1 when row is negative.
    int InsertItems(int row, int count, CXListRowSource* source);
    // Sets the text of an existing cell. 1, 0 when the row or column is bad
    // or the row has no cell records, -1 when the row index is negative.
    int SetItem(const XLISTITEM& item);
    // 1, or 0 on a bad index.
    int SetItemText(int row, int column, const QString& text);
    // Sets both colours (QColor() for the default) and, when text is not
    // null, the shown text. The sort copy is always replaced, by the empty
    // text when none is given. 1, or 0 on a bad index.
    int SetItemText(int row, int column, const QString* text, const QColor& textColor, const QColor& backgroundColor);
    int SetItemText(int row, int column, const QString& text, const QColor& textColor, const QColor& backgroundColor);
    QString GetItemText(int row, int column) const;  // empty on a bad index
    int DeleteItem(int row);  // 1, or 0 on a bad row
    int DeleteAllItems();     // 1

    // Check box: -1 none, 0 unchecked, 1 checked. 1, or 0 on a bad index or
    // a row without cell records.
    int SetCheckState(int row, int column, int state);
    int GetCheckState(int row, int column) const;  // -1 also on a bad index
    int SetEnabled(int row, bool enabled);  // 1, or 0
    bool GetEnabled(int row) const;  // false on a bad row
    int SetBold(int row, int column, bool bold);  // 1, or 0
    bool GetBold(int row, int column) const;
    int SetPinKey(int row, int column, int key);  // 1, or 0; no repaint
    int SetItemData(int row, quintptr value);  // 1, or 0
    quintptr GetItemData(int row) const;  // 0 on a bad row
    // A copy of the cell's record, or nullptr on a bad index.
    const XLISTCELL* GetCell(int row, int column) const;

    void UpdateSubItem(int row, int column);  // schedules a repaint of the cell
    // The cell's rectangle in viewport coordinates (whatever the area
    // code). 1, or 0 on a bad index.
    int GetSubItemRect(int row, int column, int area, QRect& rect) const;

    // ---- Selection and focus -----------------------------------------
    // Sets the bits of state selected by mask (StateSelected, StateFocused)
    // on row. Selecting or focusing a row makes it the selection mark.
    // 1, or 0 on a bad row.
    int SetItemState(int row, unsigned state, unsigned mask);
    unsigned GetItemState(int row, unsigned mask) const;  // 0 on a bad row
    int EnsureVisible(int row);  // scrolls the row into view; 1, or 0
    // The row the last plain click, arrow-key move (without Shift) or
    // programmatic select/focus anchored on; it follows its row through
    // sorting and deletion. -1 when none.
    int GetSelectionMark() const;
    void SetSelectionMark(int row);
    int GetSelectedCount() const;
    QVector<int> GetSelectedRows() const;  // ascending
    // The first selected row after row (-1: from the top), or -1.
    int GetNextSelected(int after = -1) const;

    // ---- Sorting -------------------------------------------------------
    // Sorts on column in order (SortAscending, SortDescending or
    // SortInsertion), showing the arrow in the header.
    void SortColumn(int column, int order);
    // Sorts again with the stored column and order, unless the order is
    // insertion order.
    void ReSort();
    int GetSortColumn() const { return m_nSortColumn; }
    int GetSortOrder() const { return m_nSortOrder; }

    // ---- Printing ------------------------------------------------------
    // Renders the visible rows (no header, no empty-list text) into painter,
    // scaled from screen pixels to the painter's device resolution and placed
    // relative to the parent widget, so they line up with what the parent
    // prints in the same logical units. printableArea is the page's printable
    // area in logical units, its top already moved below any page header.
    // The painter's state is restored afterwards.
    void PrintList(QPainter& painter, const QRect& printableArea);

signals:
    // A press toggled the check box of (row, column); sent synchronously,
    // before itemClicked for the same press.
    void checkBoxClicked(int row, int column);
    // A primary-button click on the list; row and column are -1 when the
    // click hit no row or cell. Not sent for presses that a disabled row
    // swallowed.
    void itemClicked(int row, int column, Qt::KeyboardModifiers modifiers);
    void itemDoubleClicked(int row, int column, Qt::KeyboardModifiers modifiers);
    // A key moved the current row to row; sent once the list has handled
    // the key, so the selection is final.
    void rowWalked(int row, Qt::KeyboardModifiers modifiers);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void paintEvent(QPaintEvent* event) override;

private:
    friend class CXListDelegate;

    bool ValidRow(int row) const;
    bool ValidCell(int row, int column) const;
    void OnHeaderClicked(int column);
    void PaintEmptyText(QPainter& painter);
    // Paints one cell as the list shows it; shared by screen and print.
    void PaintCell(QPainter& painter, const QRect& rect, int row, int column, bool selected) const;
    int RowAt(const QPoint& viewportPoint) const;
    int ColumnAt(int row, const QPoint& viewportPoint) const;

    class CXListSelection;

    CXListModel* m_pModel = nullptr;
    CXListSelection* m_pSelection = nullptr;
    CXHeaderCtrl* m_pHeader = nullptr;
    bool m_bFullRowSelect = false;
    bool m_bShowSelectionAlways = false;
    int m_nSortColumn = -1;
    int m_nSortOrder = SortInsertion;
    QPersistentModelIndex m_mark;  // the selection mark, moves with its row
    // Press bookkeeping for the click notification sent on release.
    bool m_bPressPending = false;
    bool m_bPressSwallowed = false;  // a press on a greyed row: its drag is ignored too
    int m_nPressRow = -1;
    int m_nPressColumn = -1;
    Qt::KeyboardModifiers m_pressModifiers;
};
