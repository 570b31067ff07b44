#pragma once
// The printed dashboard: one page with a header (the checkbook's title at
// the left, today's date at the right, a rule under them) and the four
// panels under it, painted by the same code as the screen. On paper one
// logical unit is one screen pixel's worth of inches, so the page looks
// like the window whatever the printer's resolution.

#include <QRect>
#include <QString>

class CQuilletView;
class QPageLayout;
class QPaintDevice;
class QPainter;
class QPrinter;
class QSize;

// What the view knows about the page being printed.
struct CPrintInfo
{
    // The printable area in logical units, origin at its top-left corner.
    // The header moves its top down.
    QRect m_rectDraw;
};

namespace DashboardPrinter
{
// Device pixels per logical unit on device for a view shown on screen: the
// two horizontal resolutions, so the units stay square even on a printer
// whose vertical resolution differs.
double Scale(const CQuilletView& view, const QPaintDevice& device);

// Paints the page with painter, which is active on the page's device with
// its origin at the top-left of the printable area; printable is that
// area's size in device pixels. Nothing is painted outside it.
void PrintPage(CQuilletView& view, QPainter& painter, const QSize& printable, const QString& title);

// Prints the one page on printer, once for each copy the printer was set
// up for. False when the printer cannot be started.
bool Print(CQuilletView& view, QPrinter& printer, const QString& title);

// Writes the page as a one-page PDF laid out by layout. An existing file is
// replaced only once the whole PDF is written. On failure, error says why
// in a sentence naming the file.
bool WritePdf(CQuilletView& view, const QPageLayout& layout, const QString& path, const QString& title,
              QString& error);
}
