#pragma once
// Small drawing helpers with the pixel rules the list and header are laid
// out with: a line stops one pixel short of its end point, rectangles are
// given as left/top inclusive and right/bottom exclusive.

#include <QColor>
#include <QPoint>

class QPainter;

namespace GdiDraw
{
// Draws the pixels from `from` up to, not including, `to`, in colour.
void Line(QPainter& painter, QPoint from, QPoint to, const QColor& colour);
// Fills [left, right) x [top, bottom).
void Fill(QPainter& painter, int left, int top, int right, int bottom, const QColor& colour);
// A raised or sunken one-pixel frame: topLeft on the top and left edges,
// bottomRight on the bottom and right edges of [left, right) x [top, bottom).
void Frame3d(QPainter& painter, int left, int top, int right, int bottom, const QColor& topLeft,
             const QColor& bottomRight);
}
