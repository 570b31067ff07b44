#pragma once
// The dashboard's fonts. Every one is given as a character cell height
// (ascent plus descent) in logical units, and every one is fitted so that
// the cell it measures on the device it paints is that height (or, where
// the face has no whole-pixel size with exactly that cell, the largest one
// below it): the panels' boxes were laid out around those cells.
//
// The face is Liberation Sans, which has the widths the layout was drawn
// for (the package depends on it). Where it is missing the desktop's sans
// face stands in, narrowed or widened to the same widths.

#include <QFont>

class QPaintDevice;

// The face the dashboard is drawn in; the one place that names it.
inline constexpr char kDashboardFace[] = "Liberation Sans";

enum class ViewFont
{
    TitleLarge,  // 18, semibold
    Title,       // 16, semibold
    Button,      // 16, semibold, underlined
    Axis,        // 12, normal
    Slice,       // 10, normal
    ListRow,     // 13, normal: the dashboard lists' rows are 14 high
    Header,      // 16, normal: the printed page's header line
};

// The role's character cell height in logical units.
int ViewFontHeight(ViewFont role);

// The role's font for painting on device (a widget, an image, a printer
// whose painter scales logical units to its pixels). Its size is set in
// points for that device's resolution, so a painter that maps one logical
// unit to one device pixel sees the stated cell.
QFont MakeViewFont(ViewFont role, const QPaintDevice& device);
