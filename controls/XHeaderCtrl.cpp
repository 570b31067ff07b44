#include "XHeaderCtrl.h"

#include "GdiDraw.h"

#include <QPaintEvent>
#include <QPainter>

CXHeaderCtrl::CXHeaderCtrl(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(true);
    setHighlightSections(false);
    setSortIndicatorShown(false);
    setStretchLastSection(false);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Everything is painted in paintEvent; no background erase in between.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
}

void CXHeaderCtrl::SetSortArrow(int column, int order)
{
    m_nSortColumn = column;
    m_nSortOrder = order;
    if (column >= 0)
        m_marked.insert(column);
    viewport()->update();
}

void CXHeaderCtrl::paintEvent(QPaintEvent* event)
{
    // The widget's backing store already paints off-screen, so painting
    // straight onto the viewport does not flicker.
    QPainter painter(viewport());
    DrawCtrl(painter, event->rect());
}

void CXHeaderCtrl::DrawCtrl(QPainter& painter, const QRect& clip)
{
    if (clip.isEmpty())
        return;
    const QPalette& pal = palette();
    const QColor face = pal.color(QPalette::Button);
    const QColor highlight = pal.color(QPalette::Light);
    const QColor shadow = pal.color(QPalette::Dark);

    painter.save();
    painter.fillRect(clip, face);
    painter.setFont(font());

    const int height = viewport()->height();
    const int n = count();
    // Items are drawn in display order; hidden ones take no room.
    int lastVisible = -1;
    for (int i = 0; i < n; ++i)
        if (!isSectionHidden(logicalIndex(i)))
            lastVisible = i;
    int total = 0;
    for (int i = 0; i < n; ++i)
    {
        const int logical = logicalIndex(i);
        if (isSectionHidden(logical))
            continue;
        const int width = sectionSize(logical);
        const QRect item(sectionViewportPosition(logical), 0, width, height);
        if (m_marked.contains(logical))
            DrawMarkedItem(painter, item, logical);
        else
            DrawItem(painter, item.adjusted(kSpacing, 0, -kSpacing, 0), logical);
        if (i != lastVisible)
        {
            const int right = item.x() + item.width();  // exclusive
            GdiDraw::Line(painter, QPoint(right - 1, 2), QPoint(right - 1, height - 2), shadow);
            GdiDraw::Line(painter, QPoint(right, 2), QPoint(right, height - 2), highlight);
        }
        total += width;
    }
    if (total > 0)
    {
        const int left = -offset();
        GdiDraw::Frame3d(painter, left, 0, left + total, height, highlight, shadow);
    }
    painter.restore();
}

void CXHeaderCtrl::DrawTitle(QPainter& painter, const QRect& rect, int logical)
{
    const QString title = model() ? model()->headerData(logical, orientation(), Qt::DisplayRole).toString() : QString();
    Qt::Alignment align = Qt::AlignLeft;
    if (model())
    {
        const QVariant v = model()->headerData(logical, orientation(), Qt::TextAlignmentRole);
        if (v.isValid())
        {
            const Qt::Alignment a = Qt::Alignment(v.toInt()) & Qt::AlignHorizontal_Mask;
            if (a & Qt::AlignHCenter)
                align = Qt::AlignHCenter;
            else if (a & Qt::AlignRight)
                align = Qt::AlignRight;
        }
    }
    painter.setPen(TitleColor());
    const QString shown = painter.fontMetrics().elidedText(title, Qt::ElideRight, std::max(0, rect.width()));
    painter.drawText(rect, int(align | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip), shown);
}

void CXHeaderCtrl::DrawItem(QPainter& painter, const QRect& rect, int logical)
{
    DrawTitle(painter, rect, logical);
}

void CXHeaderCtrl::DrawMarkedItem(QPainter& painter, const QRect& itemRect, int logical)
{
    const QPalette& pal = palette();
    painter.save();
    painter.setClipRect(itemRect, Qt::IntersectClip);
    painter.fillRect(itemRect, pal.color(QPalette::Button));

    const bool sorted = logical == m_nSortColumn;
    const int o = itemRect.height() / 4;
    // Exclusive edges, the way the arrow is laid out.
    const int R = itemRect.x() + itemRect.width();
    const int B = itemRect.y() + itemRect.height();
    int labelLeft = itemRect.x();
    int labelRight = R;
    if (sorted)
        labelRight -= 3 * o;
    labelLeft += o;
    labelRight -= o;
    if (labelLeft < labelRight)
        DrawTitle(painter, QRect(labelLeft, itemRect.y(), labelRight - labelLeft, itemRect.height()), logical);

    if (sorted)
    {
        const QColor light = pal.color(QPalette::Light);
        const QColor dark = pal.color(QPalette::Dark);
        if (m_nSortOrder == 0)
        {
            // Pointing down.
            GdiDraw::Line(painter, QPoint(R - o - 1, o), QPoint(R - 2 * o - 1, B - o), light);
            GdiDraw::Line(painter, QPoint(R - 2 * o - 2, B - o), QPoint(R - 3 * o - 1, o), dark);
            GdiDraw::Line(painter, QPoint(R - 3 * o - 1, o), QPoint(R - o - 1, o), dark);
        }
        else if (m_nSortOrder == 1)
        {
            // Pointing up.
            GdiDraw::Line(painter, QPoint(R - 2 * o, o), QPoint(R - o, B - o - 1), light);
            GdiDraw::Line(painter, QPoint(R - o, B - o - 1), QPoint(R - 3 * o - 2, B - o - 1), light);
            GdiDraw::Line(painter, QPoint(R - 3 * o - 1, B - o - 1), QPoint(R - 2 * o, o - 1), dark);
        }
    }
    painter.restore();
}
