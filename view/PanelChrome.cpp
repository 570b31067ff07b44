#include "PanelChrome.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

void UseViewFont(QPainter& painter, ViewFont role)
{
    painter.setFont(MakeViewFont(role, *painter.device()));
}

void FrameEdgeRect(QPainter& painter, const QRect& r, const QColor& color)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), color);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), color);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), color);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), color);
}

void DrawTitleBand(QPainter& painter, const QRect& band)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(PanelColor::Green(), 2));
    painter.setBrush(PanelColor::BandFill());
    painter.drawRoundedRect(QRectF(band.left(), band.top(), band.width() - 1, band.height() - 1), 6, 6);
    painter.restore();
}

namespace
{
// The top of a font cell `height` tall placed at `top` in rect: moved up
// so that its bottom stays inside when the cell is taller than the rect.
int CellTop(const QRect& rect, int top, int height)
{
    return std::min(top, rect.top() + rect.height() - height);
}

// Clips to the rectangle's sides and to whichever is taller of it and the
// text's cell.
void ClipToText(QPainter& painter, const QRect& rect, int cellTop)
{
    const int top = std::min(rect.top(), cellTop);
    painter.setClipRect(QRect(rect.left(), top, rect.width(), rect.top() + rect.height() - top), Qt::IntersectClip);
}
}

void DrawLineText(QPainter& painter, const QRect& rect, const QString& text, Qt::Alignment horizontal,
                  const QColor& color, const QColor& background)
{
    if (rect.isEmpty())
        return;
    painter.save();
    const QFontMetrics metrics = painter.fontMetrics();
    const int width = metrics.horizontalAdvance(text);
    const int height = metrics.height();
    int left = rect.left();
    if (horizontal & Qt::AlignRight)
        left = rect.left() + rect.width() - width;
    else if (horizontal & Qt::AlignHCenter)
        left = rect.left() + (rect.width() - width) / 2;
    const int top = CellTop(rect, rect.top() + (rect.height() - height) / 2, height);
    if (background.isValid())
        painter.fillRect(QRect(left, top, width, height).intersected(rect), background);
    ClipToText(painter, rect, top);
    painter.setPen(color);
    painter.drawText(QPoint(left, top + metrics.ascent()), text);
    painter.restore();
}

void DrawTopText(QPainter& painter, const QRect& rect, const QString& text, const QColor& color)
{
    if (rect.isEmpty())
        return;
    painter.save();
    const QFontMetrics metrics = painter.fontMetrics();
    const int left = rect.left() + (rect.width() - metrics.horizontalAdvance(text)) / 2;
    const int top = CellTop(rect, rect.top(), metrics.height());
    ClipToText(painter, rect, top);
    painter.setPen(color);
    painter.drawText(QPoint(left, top + metrics.ascent()), text);
    painter.restore();
}

void DrawButtonLabel(QPainter& painter, const QRect& rect, const QString& label, const QColor& color,
                     const QColor& background)
{
    painter.save();
    UseViewFont(painter, ViewFont::Button);
    DrawLineText(painter, rect, label, Qt::AlignLeft, color, background);
    painter.restore();
}
