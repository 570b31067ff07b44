// The printed dashboard, read back from its PDF as a viewer shows it (the
// page as an image, the words of its text layer) and painted into images
// of chosen resolutions.
#include "DashboardPrinter.h"
#include "PdfTools.h"
#include "ViewTestSupport.h"

#include <QPageLayout>
#include <QPageSize>
#include <QRegularExpression>
#include <QtTest>

namespace
{
// A4 with half-inch margins, read back at 192 pixels per inch: one logical
// unit is two pixels and the printable area starts 96 pixels in.
constexpr int kDpi = 192;
constexpr int kMarginPx = 96;
constexpr double kMarginPt = 36.0;

QPageLayout HalfInchA4()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(kMarginPt, kMarginPt, kMarginPt, kMarginPt), QPageLayout::Point);
}

// Logical units to pixels of the 192-dpi image and to PDF points.
int Px(double unit) { return kMarginPx + int(2 * unit); }
double Pt(double unit) { return kMarginPt + 0.75 * unit; }

bool Near(const QColor& a, const QColor& b, int tolerance = 12)
{
    return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) <= tolerance;
}

bool IsDark(const QColor& c) { return c.red() + c.green() + c.blue() < 3 * 110; }

// Three accounts and two recurring transactions due: Pay yesterday, Paper
// in two days.
void FillSample(CQuilletDoc& doc, const FixedNow& now)
{
    AddThreeAccounts(doc);
    doc.AddRecurring("Checking", 12.5, DaysFromNow(now, 2), "Paper", "", "Weekly", "Forever", 0);
    doc.AddRecurring("Checking", -300.0, DaysFromNow(now, -1), "Pay", "", "Monthly", "Forever", 0);
}

void SavePng(const QImage& image, const char* name)
{
    if (qEnvironmentVariableIsSet("QUILLET_SAVE_PNG"))
        image.save(QStringLiteral("%1/%2.png").arg(qEnvironmentVariable("QUILLET_SAVE_PNG"), QLatin1String(name)));
}
}

class DashboardPrintTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString WritePdf(CQuilletView& view, const QString& name, const QString& title)
    {
        const QString path = m_dir.filePath(name);
        QString error;
        if (!DashboardPrinter::WritePdf(view, HalfInchA4(), path, title, error))
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
        FillSample(doc, now);
        // Never shown, as when printing from the command line.
        CQuilletView view;
        view.SetDocument(&doc);
        QCOMPARE(view.logicalDpiX(), 96);

        const QString pdf = WritePdf(view, "sample.pdf", "Untitled");
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
            if (across)
                ruleRow = y;
        }
        QVERIFY2(ruleRow > 0, "no rule under the header");
        const double rule = (ruleRow - kMarginPx) / 2.0;
        QVERIFY2(rule >= 50 && rule <= 57, qPrintable(QString::number(rule)));
        // It ends at the printable area's right edge (697.7 units).
        QVERIFY(IsDark(Pixel(page, Px(696), ruleRow)));
        QVERIFY(!IsDark(Pixel(page, Px(698) + 2, ruleRow)));

        // The account panel's title band starts at y = 17 (its 2-unit pen
        // reaches up to 16); the panels start 15 units under the rule.
        int bandRow = -1;
        for (int y = ruleRow + 2; y < Px(120) && bandRow < 0; ++y)
            if (Near(Pixel(page, Px(200), y), PanelColor::Green()))
                bandRow = y;
        QVERIFY(bandRow > 0);
        const int oy = (bandRow - kMarginPx) / 2 - 16;
        QVERIFY2(qAbs(oy - (rule + 15)) <= 1, qPrintable(QString("%1 %2").arg(oy).arg(rule)));
        const auto at = [&](int x, int y) { return Pixel(page, Px(x) + 1, Px(oy + y) + 1); };
        const QColor green = PanelColor::Green(), white(Qt::white);

        // Account body frame (10, 37)-(340, 95) with three accounts and the
        // total; only the frame shows around the rows, which start inside
        // the list's place at (12, 37).
        for (int y : {45, 80}) {
            QVERIFY(Near(at(9, y), white));
            QVERIFY(Near(at(10, y), green));
            QVERIFY(Near(at(12, y), PanelColor::ListCell()));
            QVERIFY(Near(at(339, y), green));
            QVERIFY(Near(at(340, y), white));
        }
        QVERIFY(Near(at(200, 94), green));
        QVERIFY(Near(at(200, 95), white));
        // The bottoms of the recurring body (two due rows) and of the day
        // chart, and the pie body (360, 37)-(660, 342).
        for (const QPoint& edge : {QPoint(200, 164), QPoint(200, 319), QPoint(380, 341)}) {
            QVERIFY(Near(at(edge.x(), edge.y()), green));
            QVERIFY(Near(at(edge.x(), edge.y() + 1), white));
        }
        QVERIFY(Near(at(359, 200), white));
        QVERIFY(Near(at(360, 200), green));
        QVERIFY(Near(at(659, 200), green));
        QVERIFY(Near(at(660, 200), white));

        // The text layer: the header's words at the printable area's edges,
        // with the year in four digits.
        const QList<PdfTools::Word> words = PdfTools::Words(pdf);
        const auto one = [&](const QString& text) {
            const QList<PdfTools::Word> found = PdfTools::Find(words, text);
            return found.size() == 1 ? found.first().box : QRectF();
        };
        const QRectF title = one("Untitled");
        QVERIFY(!title.isNull());
        QVERIFY2(qAbs(title.left() - kMarginPt) < 1.5, qPrintable(QString::number(title.left())));
        QVERIFY(title.top() > Pt(20) && title.bottom() < Pt(rule));
        const QRectF date = one("12/06/2026");
        QVERIFY(!date.isNull());
        const double pageRight = QPageSize(QPageSize::A4).size(QPageSize::Point).width() - kMarginPt;
        QVERIFY2(qAbs(date.right() - pageRight) < 2.0, qPrintable(QString::number(date.right())));
        QVERIFY(qAbs(date.center().y() - title.center().y()) < 1.0);

        // Each account row's texts in its 14-unit row of the account panel:
        // names in the left column, amounts right-aligned in the right one.
        const struct
        {
            const char* name;
            const char* amount;
        } rows[] = {{"Checking", "100.00"}, {"Visa", "-25.50"}, {"Savings", "0.00"}, {"Total:", "$74.50"}};
        for (int i = 0; i < 4; ++i) {
            const double top = Pt(oy + 37 + 14 * i), bottom = Pt(oy + 51 + 14 * i);
            const QRectF name = one(rows[i].name), amount = one(rows[i].amount);
            QVERIFY2(!name.isNull() && !amount.isNull(), rows[i].name);
            QVERIFY2(name.center().y() > top && name.center().y() < bottom, rows[i].name);
            QVERIFY2(amount.center().y() > top && amount.center().y() < bottom, rows[i].amount);
            QVERIFY2(amount.right() < Pt(340) && amount.right() > Pt(320), rows[i].amount);
            if (i < 3)
                QVERIFY2(name.left() > Pt(12) && name.right() < Pt(176), rows[i].name);
            else
                QVERIFY(name.left() > Pt(176));  // "Total:" belongs to the balance column
        }
        // The recurring rows in date order inside their panel.
        for (const auto& [text, row] : {std::pair<QString, int>{"Pay", 0}, {"Paper", 1}}) {
            const QRectF box = one(text);
            QVERIFY2(!box.isNull(), qPrintable(text));
            QVERIFY(box.center().y() > Pt(oy + 135 + 14 * row) && box.center().y() < Pt(oy + 149 + 14 * row));
            QVERIFY(box.left() > Pt(10) && box.right() < Pt(340));
        }
    }

    void unitsScaleByTheHorizontalResolutionsAlone()
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
        {
            QPainter painter(&page);
            DashboardPrinter::PrintPage(view, painter, QSize(5000, 7000), "Untitled");
        }
        SavePng(page, "printed-600x300");

        int ruleRow = -1;
        for (int y = 0; y < 500 && ruleRow < 0; ++y)
            if (IsDark(Pixel(page, 625, y)))
                ruleRow = y;
        QVERIFY(ruleRow > 0);
        // The account frame: 330 units are 2062.5 device pixels.
        const int y = ruleRow + int((15 + 80) * 6.25);
        int left = -1, right = -1;
        for (int x = 0; x < page.width() && left < 0; ++x)
            if (Pixel(page, x, y) == PanelColor::Green())
                left = x;
        for (int x = page.width() - 1; x >= 0 && right < 0; --x)
            if (Pixel(page, x, y) == PanelColor::Green())
                right = x;
        QVERIFY2(qAbs(left - 62.5) <= 1, qPrintable(QString::number(left)));
        QVERIFY2(qAbs(right + 1 - left - 2062.5) <= 1.5, qPrintable(QString::number(right + 1 - left)));
        // Downwards the same 6.25, not 3.125: the frame's bottom ends 110
        // units under the rule.
        int bottom = -1;
        for (int row = page.height() - 1; row > ruleRow && bottom < 0; --row)
            if (Pixel(page, 1250, row) == PanelColor::Green())
                bottom = row;
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
        const QString pdf = WritePdf(view, "tall.pdf", "Tall.ql1");
        QCOMPARE(PdfTools::Pages(pdf), 1);
        const QImage page = PdfTools::Render(pdf, kDpi);
        SavePng(page, "printed-tall");

        // Rows run down to the printable area's bottom, not into the margin
        // under it. Drawn at the bottom: the list's cells (even when the list
        // was never shown) and the frame's left side.
        const int printableBottom = page.height() - kMarginPx;
        QVERIFY(Near(Pixel(page, Px(250), printableBottom - 4), PanelColor::ListCell()));
        QVERIFY(Near(Pixel(page, Px(10) + 1, printableBottom - 4), PanelColor::Green()));
        for (int y = printableBottom + 1; y < page.height(); ++y)
            for (int x = 0; x < page.width(); x += 4)
                QVERIFY2(Pixel(page, x, y) == QColor(Qt::white), qPrintable(QString("%1,%2").arg(x).arg(y)));
        QVERIFY(PdfTools::Text(pdf).contains("Account 00"));
    }
};

QTEST_MAIN(DashboardPrintTest)
#include "tst_DashboardPrint.moc"
