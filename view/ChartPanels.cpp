// The two painted panels: the day chart and the category pie.
#include "QuilletView.h"

#include "AppValues.h"
#include "CategoryPie.h"
#include "DayChart.h"
#include "PanelChrome.h"
#include "QuilletDoc.h"
#include "TextCodec.h"

#include <QPainter>
#include <QPolygon>

#include <cmath>

namespace
{
QColor FromRgb(uint32_t rgb)
{
    return QColor(int((rgb >> 16) & 0xFF), int((rgb >> 8) & 0xFF), int(rgb & 0xFF));
}

QString DateText(int64_t seconds)
{
    return QString::fromLatin1(CTime(seconds).Format("%m/%d/%y").c_str());
}

// Qt measures pie angles from three o'clock, counterclockwise, in 1/16
// degree; the wedge ends are given as points on the bounding square.
int QtAngle16(const PiePoint& p, int cx, int cy)
{
    const double degrees = std::atan2(double(cy - p.y), double(p.x - cx)) * 180.0 / M_PI;
    return int(std::lround(degrees * 16.0));
}
}

void CQuilletView::DrawDayChart(QPainter& painter)
{
    const int top = m_rcRecurringPanel.top() + m_rcRecurringPanel.height() + 20;
    const int bottom = top + 120;  // the plot's bottom line
    m_rcDayChartPanel = EdgeRect(10, top, 340, top + 120);

    painter.save();
    DrawTitleBand(painter, EdgeRect(11, top, 340, top + 30));
    UseViewFont(painter, ViewFont::Title);
    DrawLineText(painter, EdgeRect(20, top + 4, 330, top + 20), QStringLiteral("Day Chart"), Qt::AlignLeft,
                 PanelColor::TitleText(), PanelColor::BandFill());
    DrawButtonLabel(painter, EdgeRect(300, top + 3, 330, top + 19), QStringLiteral("Edit"), PanelColor::LabelNormal(),
                    PanelColor::BandFill());

    const QRect body = EdgeRect(10, top + 20, 340, top + 135);
    painter.fillRect(body, PanelColor::ChartBody());
    FrameEdgeRect(painter, body, PanelColor::Green());
    FrameEdgeRect(painter, EdgeRect(10, bottom, 340, bottom + 15), PanelColor::Green());
    FrameEdgeRect(painter, EdgeRect(10, top + 20, 50, bottom + 15), PanelColor::Green());

    DayChartData chart;
    if (m_pDoc)
        chart = BuildDayChart(*m_pDoc, g_nLookback, 100, 290);

    painter.setRenderHint(QPainter::Antialiasing, false);
    for (size_t k = 0; k < chart.series.size(); ++k) {
        const CAccountSSL& series = *chart.series[k];
        QPolygon line;
        for (int c = 0; c < 290 && c < series.m_nColumns; ++c)
            if (series.m_nColumnY[c] != -1)
                line << QPoint(50 + c, bottom - series.m_nColumnY[c]);
        painter.setPen(QPen(FromRgb(DayChartLineColor(int(k))), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(line);
    }

    UseViewFont(painter, ViewFont::Axis);
    const QColor black(0, 0, 0);
    const QColor grey = PanelColor::ChartBody();
    const auto scale = [](double value) { return QString::number(ScaleLabelValue(value)); };
    DrawLineText(painter, EdgeRect(12, bottom - 12, 46, bottom - 1), scale(chart.low), Qt::AlignRight, black, grey);
    DrawLineText(painter, EdgeRect(12, top + 65, 46, top + 75), scale((chart.high + chart.low) * 0.5), Qt::AlignRight,
                 black, grey);
    DrawLineText(painter, EdgeRect(12, top + 21, 46, top + 31), scale(chart.high), Qt::AlignRight, black, grey);

    const int64_t now = Clock::Now();
    const int64_t half = int64_t(g_nLookback / 2) * CTime::kDay;
    DrawLineText(painter, EdgeRect(290, bottom + 1, 339, bottom + 13), DateText(now), Qt::AlignRight, black, grey);
    DrawLineText(painter, EdgeRect(170, bottom + 1, 220, bottom + 13), DateText(now - half), Qt::AlignHCenter, black,
                 grey);
    DrawLineText(painter, EdgeRect(51, bottom + 1, 101, bottom + 13), DateText(now - 2 * half), Qt::AlignLeft, black,
                 grey);
    painter.restore();
}

void CQuilletView::DrawCategoryPanel(QPainter& painter)
{
    const int left = m_rcAccountPanel.left() + m_rcAccountPanel.width() + 20;
    const int top = m_rcAccountPanel.top();
    m_rcCategoryPanel = EdgeRect(left, top, left + 300, top + 325);

    painter.save();
    DrawTitleBand(painter, EdgeRect(left + 1, top, left + 300, top + 305));
    UseViewFont(painter, ViewFont::TitleLarge);
    DrawLineText(painter, EdgeRect(left + 10, top + 4, left + 290, top + 20), QStringLiteral("Category View"),
                 Qt::AlignLeft, PanelColor::TitleText(), PanelColor::BandFill());
    DrawButtonLabel(painter, EdgeRect(left + 260, top + 3, left + 290, top + 19), QStringLiteral("Edit"),
                    PanelColor::LabelNormal(), PanelColor::BandFill());

    const QRect body = EdgeRect(left, top + 20, left + 300, top + 325);
    painter.fillRect(body, PanelColor::ChartBody());
    FrameEdgeRect(painter, body, PanelColor::Green());

    const int cx = left + 150;
    const int cy = top + 162;
    const QRect square = EdgeRect(cx - kPieRadius, cy - kPieRadius, cx + kPieRadius, cy + kPieRadius);
    const PieLayout pie = LayoutCategoryPie(m_pDoc ? m_pDoc->SortCategoryTotals() : nullptr, g_nStartCategories,
                                            g_nNumCategories, cx, cy);

    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor(0, 0, 0), 1));
    if (pie.fullDisc) {
        painter.setBrush(FromRgb(kPieEmptyColor));
        painter.drawEllipse(square);
    }
    for (const PieWedge& wedge : pie.wedges) {
        painter.setBrush(FromRgb(wedge.color));
        if (wedge.start.x == wedge.end.x && wedge.start.y == wedge.end.y) {
            painter.drawEllipse(square);
            continue;
        }
        const int from = QtAngle16(wedge.start, cx, cy);
        int span = QtAngle16(wedge.end, cx, cy) - from;
        while (span <= 0)
            span += 360 * 16;
        painter.drawPie(square, from, span);
    }

    UseViewFont(painter, ViewFont::Slice);
    painter.setPen(QColor(0, 0, 0));
    for (const PieLabel& label : pie.labels)
        DrawTopText(painter, EdgeRect(label.left, label.top, label.right, label.bottom), FromBytes(label.name),
                    QColor(0, 0, 0));
    painter.restore();
}
