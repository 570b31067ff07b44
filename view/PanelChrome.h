#pragma once
// What the four dashboard panels share: fonts, colours, frames, title bands
// and single-line text. Everything is drawn through a QPainter so the same
// code paints the screen and a printed page.

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

#include "ViewFonts.h"

class QPainter;

namespace PanelColor
{
inline QColor Green() { return QColor(50, 200, 85); }
inline QColor BandFill() { return QColor(255, 255, 255); }
inline QColor TitleText() { return QColor(0, 0, 0); }
inline QColor LabelNormal() { return QColor(60, 60, 200); }
inline QColor LabelPressed() { return QColor(200, 200, 200); }
inline QColor ListCell() { return QColor(150, 250, 185); }
inline QColor ChartBody() { return QColor(230, 230, 230); }
}

// Paints from now on with the role's font, fitted for the painter's device.
void UseViewFont(QPainter& painter, ViewFont role);

// A rectangle given by its edges; the right and bottom edges lie outside it,
// so QRect::contains gives the panel hit test.
inline QRect EdgeRect(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

// A one-unit frame just inside the rectangle.
void FrameEdgeRect(QPainter& painter, const QRect& rect, const QColor& color);

// The rounded title band: panel-green outline two units wide, white inside.
void DrawTitleBand(QPainter& painter, const QRect& band);

// One line of text, vertically centred in the rectangle and cut at its
// sides. A font cell taller than the rectangle sits on its bottom edge: the
// part that sticks out above is the face's leading, which holds no ink in
// the program's texts, and the glyphs keep their descenders. With a
// background colour the text's own cell is filled first (inside the
// rectangle), the way an opaque text background looks.
void DrawLineText(QPainter& painter, const QRect& rect, const QString& text, Qt::Alignment horizontal,
                  const QColor& color, const QColor& background = QColor());

// One line of text centred horizontally at the top of the rectangle, on a
// transparent background; a cell taller than the rectangle is lifted, as
// above, so that the descenders stay inside it.
void DrawTopText(QPainter& painter, const QRect& rect, const QString& text, const QColor& color);

// A painted push-button label in its given colours.
void DrawButtonLabel(QPainter& painter, const QRect& rect, const QString& label, const QColor& color,
                     const QColor& background);
