#pragma once
// CXHeaderCtrl: the column header of every CXListCtrl. It paints all of
// itself: titles in a fixed dark blue-green, separators, a raised frame
// around the columns, and a small raised triangle on the sort column.

#include <QColor>
#include <QHeaderView>
#include <QSet>

class CXHeaderCtrl : public QHeaderView
{
    Q_OBJECT
public:
    explicit CXHeaderCtrl(QWidget* parent = nullptr);

    // Remembers the sort column and order (0 ascending, 1 descending,
    // 2 insertion order) and marks the column so that it is painted with
    // the arrow path from now on.
    void SetSortArrow(int column, int order);
    int GetSortColumn() const { return m_nSortColumn; }
    int GetSortOrder() const { return m_nSortOrder; }
    bool IsMarked(int column) const { return m_marked.contains(column); }

    // Paints the whole header into painter, in header coordinates; the
    // paint event uses it, and so can tests.
    void DrawCtrl(QPainter& painter, const QRect& clip);

    static QColor TitleColor() { return QColor(20, 80, 100); }
    static constexpr int kSpacing = 6;  // inset of a plain title from its item's edges

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // A plain item: its title inside rect (already inset by the spacing).
    void DrawItem(QPainter& painter, const QRect& rect, int logical);
    // A marked item: title and, on the sort column, the arrow.
    void DrawMarkedItem(QPainter& painter, const QRect& itemRect, int logical);
    void DrawTitle(QPainter& painter, const QRect& rect, int logical);

    int m_nSortColumn = -1;
    int m_nSortOrder = 2;
    QSet<int> m_marked;  // columns that were once the sort column
};
