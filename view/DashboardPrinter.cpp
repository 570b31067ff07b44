#include "DashboardPrinter.h"

#include "PanelChrome.h"
#include "QuilletView.h"
#include "Time.h"
#include "XListCtrl.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QResizeEvent>
#include <QSaveFile>

namespace
{
// Where the panels start under the printable area's top.
constexpr int kPanelsTop = 40;

// A list that was never shown (printing from the command line) has not
// laid out its rows for the size the paint gave it: Qt holds the resize
// back until the list is shown, and its rows would be cut at the old size.
void LayOutHiddenList(CXListCtrl& list)
{
    if (!list.testAttribute(Qt::WA_PendingResizeEvent))
        return;
    QResizeEvent resize(list.size(), QSize());
    QCoreApplication::sendEvent(&list, &resize);
    list.setAttribute(Qt::WA_PendingResizeEvent, false);
}
}

double DashboardPrinter::Scale(const CQuilletView& view, const QPaintDevice& device)
{
    const int screen = view.logicalDpiX();
    const int printer = device.logicalDpiX();
    return screen > 0 && printer > 0 ? double(printer) / screen : 1.0;
}

void CQuilletView::OnPrepareDC(QPainter& painter) const
{
    const double scale = DashboardPrinter::Scale(*this, *painter.device());
    painter.setWorldTransform(QTransform::fromScale(scale, scale));
}

void CQuilletView::PrintPageHeader(QPainter& painter, CPrintInfo& info, const QString& title) const
{
    const QRect area = info.m_rectDraw;
    const int right = area.x() + area.width();

    painter.save();
    UseViewFont(painter, ViewFont::Header);
    painter.setPen(Qt::black);
    const QFontMetrics metrics = painter.fontMetrics();
    const int baseline = 25 + metrics.ascent();
    const QString date = QString::fromLatin1(CTime::GetCurrentTime().Format("%m/%d/%Y").c_str());
    const int dateWidth = metrics.horizontalAdvance(date);
    // A long file name gives way to the date rather than running into it.
    const int room = right - dateWidth - 2 * metrics.averageCharWidth();
    painter.drawText(QPoint(0, baseline), metrics.elidedText(title, Qt::ElideMiddle, qMax(room, 0)));
    painter.drawText(QPoint(right - dateWidth, baseline), date);
    const int h = metrics.height();
    // One unit thick, as a screen pixel: a device hairline all but
    // vanishes on a fine printer.
    painter.fillRect(QRect(0, h + 35, right, 1), Qt::black);
    painter.restore();

    info.m_rectDraw.setTop(area.top() + h + 10);
}

void CQuilletView::OnPrint(QPainter& painter, CPrintInfo& info, const QString& title)
{
    PrintPageHeader(painter, info, title);

    // The panels are laid out from y = 0 as on screen; on paper they start
    // under the header.
    painter.save();
    painter.translate(-info.m_rectDraw.left(), kPanelsTop + info.m_rectDraw.top());
    PaintDashboard(painter);
    painter.restore();

    // The painted panels placed and filled the lists; their rows print
    // themselves in the same units, over the panels' bodies.
    LayOutHiddenList(*m_pAccountList);
    LayOutHiddenList(*m_pRecurringList);
    m_pAccountList->PrintList(painter, info.m_rectDraw);
    m_pRecurringList->PrintList(painter, info.m_rectDraw);
}

void DashboardPrinter::PrintPage(CQuilletView& view, QPainter& painter, const QSize& printable,
                                 const QString& title)
{
    painter.save();
    // One page: whatever does not fit is cut off.
    painter.setClipRect(QRect(QPoint(0, 0), printable));
    view.OnPrepareDC(painter);
    const double scale = Scale(view, *painter.device());
    CPrintInfo info;
    info.m_rectDraw = QRect(0, 0, int(printable.width() / scale), int(printable.height() / scale));
    view.OnPrint(painter, info, title);
    painter.restore();
}

bool DashboardPrinter::Print(CQuilletView& view, QPrinter& printer, const QString& title)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // A printer that cannot make copies itself (a PDF file) gets one page
    // for each copy asked for.
    const int copies = printer.supportsMultipleCopies() ? 1 : qMax(1, printer.copyCount());
    for (int copy = 0; copy < copies; ++copy) {
        if (copy > 0 && !printer.newPage())
            break;
        PrintPage(view, painter, QSize(printer.width(), printer.height()), title);
    }
    return painter.end();
}

bool DashboardPrinter::WritePdf(CQuilletView& view, const QPageLayout& layout, const QString& path,
                                const QString& title, QString& error)
{
    const QString name = QDir::toNativeSeparators(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = QString("Cannot write %1: %2.").arg(name, file.errorString());
        return false;
    }
    bool painted = false;
    {
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("Quillet"));
        writer.setTitle(title);
        writer.setPageLayout(layout);
        QPainter painter;
        if (painter.begin(&writer)) {
            PrintPage(view, painter, QSize(writer.width(), writer.height()), title);
            painted = painter.end();
        }
    }
    if (!painted) {
        file.cancelWriting();
        error = QString("Cannot write %1: the page could not be made into a PDF.").arg(name);
        return false;
    }
    if (!file.commit()) {
        error = QString("Cannot write %1: %2.").arg(name, file.errorString());
        return false;
    }
    return true;
}
