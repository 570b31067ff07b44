#include "GdiDraw.h"

#include <QPainter>

#include <cstdlib>

namespace GdiDraw
{
void Line(QPainter& painter, QPoint from, QPoint to, const QColor& colour)
{
    // Bresenham, end point excluded.
    int x = from.x(), y = from.y();
    const int dx = std::abs(to.x() - x), dy = -std::abs(to.y() - y);
    const int sx = x < to.x() ? 1 : -1, sy = y < to.y() ? 1 : -1;
    int err = dx + dy;
    while (x != to.x() || y != to.y())
    {
        painter.fillRect(x, y, 1, 1, colour);
        const int e2 = 2 * err;
        if (e2 >= dy)
        {
            err += dy;
            x += sx;
        }
        if (e2 <= dx)
        {
            err += dx;
            y += sy;
        }
    }
}

void Fill(QPainter& painter, int left, int top, int right, int bottom, const QColor& colour)
{
    if (right > left && bottom > top)
        painter.fillRect(left, top, right - left, bottom - top, colour);
}

void Frame3d(QPainter& painter, int left, int top, int right, int bottom, const QColor& topLeft,
             const QColor& bottomRight)
{
    if (right <= left || bottom <= top)
        return;
    Fill(painter, left, top, right - 1, top + 1, topLeft);
    Fill(painter, left, top, left + 1, bottom - 1, topLeft);
    Fill(painter, right - 1, top, right, bottom, bottomRight);
    Fill(painter, left, bottom - 1, right, bottom, bottomRight);
}
}
