// The printed dashboard, read back from its PDF as a viewer shows it (the
// page as an image, the words of its text layer) and painted into an image
// of uneven resolutions.
#include "DashboardPrinter.h"
#include "PdfTools.h"
#include "ViewTestSupport.h"

#include <QPageLayout>
#include <QPageSize>
#include <QtTest>

namespace
{
// A4 with half-inch margins, read back at 192 pixels per inch: one logical
// unit is two pixels and the printable area starts 96 pixels in.
constexpr int kDpi = 192, kMarginPx = 96;
constexpr double kMarginPt = 36.0;

int Px(double unit) { return kMarginPx + int(2 * unit); }
double Pt(double unit) { return kMarginPt + 0.75 * unit; }

bool Near(const QColor& a, const QColor& b)
{
    return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) <= 12;
}
bool IsDark(const QColor& c) { return c.red() + c.green() + c.blue() < 3 * 110; }

// The only word of the text layer equal to `text`; null when not exactly one.
QRectF One(const QString& pdf, const QString& text)
{
    const QList<QRectF> found = PdfTools::Find(pdf, text);
    return found.size() == 1 ? found.first() : QRectF();
}
}

class DashboardPrintTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString WritePdf(CQuilletView& view, const QString& name)
    {
        const QString path = m_dir.filePath(name);
        const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                 QMarginsF(kMarginPt, kMarginPt, kMarginPt, kMarginPt), QPageLayout::Point);
        QString error;
        if (!DashboardPrinter::WritePdf(view, layout, path, "Untitled", error))
            qWarning() << error;
        return path;
    }

private slots:
    void initTestCase()
    {
        if (!PdfTools::Available())
            QSKIP("poppler-utils (pdfinfo, pdftotext, pdftoppm) are not installed");
    }

    void pageShowsHeaderPanelsAndRowsWhereTheyBelong()
    {
        FixedNow now;
        CQuilletDoc doc;
        AddThreeAccounts(doc);
        doc.AddRecurring("Checking", 12.5, now.Days(2), "Paper", "", "Weekly", "Forever", 0);
        doc.AddRecurring("Checking", -300.0, now.Days(-1), "Pay", "", "Monthly", "Forever", 0);
        CQuilletView view;  // never shown, as when printing from the command line
        view.SetDocument(&doc);
        const QString pdf = WritePdf(view, "sample.pdf");
        QCOMPARE(PdfTools::Pages(pdf), 1);
        const QImage page = PdfTools::Render(pdf, kDpi);
        QVERIFY(!page.isNull());
        SavePng(page, "printed-page");

        // The rule under the header, h + 35 units down for a font h high.
        int ruleRow = -1;
        for (int y = Px(40); y < Px(62) && ruleRow < 0; ++y) {
            bool across = true;
            for (int u = 100; u <= 650 && across; u += 50)
                across = IsDark(Pixel(page, Px(u), y));
            ruleRow = across ? y : -1;
        }
        QVERIFY2(ruleRow > 0, "no rule under the header");
        const double rule = (ruleRow - kMarginPx) / 2.0;

        // The panels start 15 units under the rule: the account title band's
        // two-unit pen reaches up to y = 16.
        int bandRow = ruleRow + 2;
        while (bandRow < Px(120) && !Near(Pixel(page, Px(200), bandRow), PanelColor::Green()))
            ++bandRow;
        const int oy = (bandRow - kMarginPx) / 2 - 16;
        QVERIFY2(qAbs(oy - (rule + 15)) <= 1, qPrintable(QString("%1 %2").arg(oy).arg(rule)));

        // The frames' green edges with white beyond: the account body
        // (10, 37, 340, 95) holding three accounts and the total, the
        // recurring body with two due rows, the day chart, the pie body.
        const auto at = [&](int x, int y) { return Pixel(page, Px(x) + 1, Px(oy + y) + 1); };
        for (const QLine& edge : {QLine(10, 45, -1, 0), QLine(339, 45, 1, 0), QLine(200, 94, 0, 1), QLine(200, 164, 0, 1),
                                  QLine(200, 319, 0, 1), QLine(360, 200, -1, 0), QLine(659, 200, 1, 0), QLine(380, 341, 0, 1)}) {
            const QPoint beyond = edge.p1() + edge.p2();
            QVERIFY2(Near(at(edge.x1(), edge.y1()), PanelColor::Green()) && Near(at(beyond.x(), beyond.y()), Qt::white),
                     qPrintable(QString("%1,%2").arg(edge.x1()).arg(edge.y1())));
        }
        QVERIFY(Near(at(12, 45), PanelColor::ListCell()));

        // The header's words at the printable area's edges, the year in four digits.
        const QRectF title = One(pdf, "Untitled"), date = One(pdf, "12/06/2026");
        QVERIFY(!title.isNull() && !date.isNull());
        QVERIFY2(qAbs(title.left() - kMarginPt) < 1.5, qPrintable(QString::number(title.left())));
        QVERIFY(title.top() > Pt(20) && title.bottom() < Pt(rule));
        const double pageRight = QPageSize(QPageSize::A4).size(QPageSize::Point).width() - kMarginPt;
        QVERIFY2(qAbs(date.right() - pageRight) < 2.0, qPrintable(QString::number(date.right())));
        QVERIFY(qAbs(date.center().y() - title.center().y()) < 1.0);

        // Each account row's texts in its 14-unit row of the account panel:
        // names in the left column, amounts right-aligned in the right one;
        // then the due rows in date order in theirs.
        const QStringList names{"Checking", "Visa", "Savings", "Total:", "Pay", "Paper"};
        const QStringList amounts{"100.00", "-25.50", "0.00", "$74.50", "300.00", "12.50"};
        for (int i = 0; i < names.size(); ++i) {
            const double top = Pt(oy + (i < 4 ? 37 + 14 * i : 135 + 14 * (i - 4))), bottom = top + 0.75 * 14;
            const QRectF name = One(pdf, names[i]), amount = One(pdf, amounts[i]);
            QVERIFY2(!name.isNull() && !amount.isNull(), qPrintable(names[i]));
            QVERIFY2(name.center().y() > top && name.center().y() < bottom, qPrintable(names[i]));
            QVERIFY2(amount.center().y() > top && amount.center().y() < bottom, qPrintable(amounts[i]));
            QVERIFY2(name.left() > Pt(10) && amount.right() < Pt(340), qPrintable(names[i]));
            if (i < 4)  // "Total:" belongs to the balance column
                QVERIFY2(amount.right() > Pt(320) && (name.left() > Pt(176)) == (i == 3), qPrintable(names[i]));
        }
    }

    void unitsScaleByTheHorizontalResolutionAlone()
    {
        // A 600 x 300 dpi printer and a 96 dpi screen: 6.25 device pixels a
        // unit on both axes.
        FixedNow now;
        CQuilletDoc doc;
        AddThreeAccounts(doc);
        CQuilletView view;
        view.SetDocument(&doc);
        QImage page(2200, 1150, QImage::Format_RGB32);
        page.setDotsPerMeterX(qRound(600 / 0.0254));
        page.setDotsPerMeterY(qRound(300 / 0.0254));
        page.fill(Qt::white);
        QPainter painter(&page);
        DashboardPrinter::PrintPage(view, painter, QSize(5000, 7000), "Untitled");
        painter.end();

        int ruleRow = 0, left = 0, right = page.width() - 1;
        while (ruleRow < 500 && !IsDark(Pixel(page, 625, ruleRow)))
            ++ruleRow;
        // The account frame 95 units under the rule: 330 units wide are 2062.5 pixels.
        const int y = ruleRow + int((15 + 80) * 6.25);
        while (left < right && Pixel(page, left, y) != PanelColor::Green())
            ++left;
        while (right > left && Pixel(page, right, y) != PanelColor::Green())
            --right;
        QVERIFY2(qAbs(right + 1 - left - 2062.5) <= 1.5, qPrintable(QString::number(right + 1 - left)));
        // Downwards the same 6.25, not 3.125: the frame ends 110 units under
        // the rule. Searched upwards from the gap above the next panel, 120
        // units down, so the header's height cannot bring that panel in.
        int bottom = ruleRow + int(120 * 6.25);
        while (bottom > ruleRow && Pixel(page, 1250, bottom) != PanelColor::Green())
            --bottom;
        QVERIFY2(qAbs(bottom + 1 - ruleRow - 687.5) <= 1.5, qPrintable(QString::number(bottom + 1 - ruleRow)));
    }

    void tallDashboardIsCutAtThePageBottom()
    {
        FixedNow now;
        CQuilletDoc doc;
        for (int i = 0; i < 90; ++i)
            doc.AddAccount(QString("Account %1").arg(i, 2, 10, QChar('0')).toStdString(), "1", 1.0, "", "", "");
        CQuilletView view;
        view.SetDocument(&doc);
        const QString pdf = WritePdf(view, "tall.pdf");
        QCOMPARE(PdfTools::Pages(pdf), 1);
        const QImage page = PdfTools::Render(pdf, kDpi);

        // The list's cells and the frame's side run down to the printable
        // area's bottom, and nothing into the margin under it.
        const int printableBottom = page.height() - kMarginPx;
        // (A row's grid line may fall on either probe, not on both.)
        QVERIFY(Near(Pixel(page, Px(250), printableBottom - 4), PanelColor::ListCell()) ||
                Near(Pixel(page, Px(250), printableBottom - 8), PanelColor::ListCell()));
        QVERIFY(Near(Pixel(page, Px(10) + 1, printableBottom - 4), PanelColor::Green()));
        for (int y = printableBottom + 1; y < page.height(); ++y)
            for (int x = 0; x < page.width(); x += 4)
                QVERIFY2(Pixel(page, x, y) == QColor(Qt::white), qPrintable(QString("%1,%2").arg(x).arg(y)));
    }
};

QTEST_MAIN(DashboardPrintTest)
#include "tst_DashboardPrint.moc"
