#pragma once
// What the four dashboard panels share: fonts, colours, frames, title bands
// and single-line text. Everything is drawn through a QPainter so the same
// code paints the screen and a printed page.

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

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

enum class ViewFont
{
    TitleLarge,  // 18, semibold
    Title,       // 16, semibold
    Button,      // 16, semibold, underlined
    Axis,        // 12, normal
    Slice,       // 10, normal
    ListRow,     // 13, normal: the dashboard lists' rows are 14 high
};

// A sans face sized so that its character cell is the role's height.
QFont MakeViewFont(ViewFont role);

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

// One line of text, vertically centred and clipped to the rectangle.
// With a background colour the text's own cell is filled first, the way an
// opaque text background looks.
void DrawLineText(QPainter& painter, const QRect& rect, const QString& text, Qt::Alignment horizontal,
                  const QColor& color, const QColor& background = QColor());

// A painted push-button label in its given colours.
void DrawButtonLabel(QPainter& painter, const QRect& rect, const QString& label, const QColor& color,
                     const QColor& background);
