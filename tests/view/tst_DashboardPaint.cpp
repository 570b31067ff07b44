// The dashboard painted into an image: panel geometry, frames, the day
// chart's scale and line, and the category pie.
#include "ViewTestSupport.h"

#include <QtTest>

namespace
{
// True when the rectangle of the shot holds exactly the whole ink of text
// in the axis font, and nothing else in black.
bool ShowsAxisText(const QImage& shot, const QRect& rect, const QString& text)
{
    const QImage ink = InkMask(shot, rect.adjusted(-2, -1, 2, 1), IsBlack);
    return !ink.isNull() && IsWholeInk(ink, text, MakeViewFont(ViewFont::Axis, shot)) &&
           ink == InkMask(shot, rect, IsBlack);
}
}

class DashboardPaintTest : public QObject
{
    Q_OBJECT

private slots:
    void panelGeometryFollowsAccountsAndDueItems_data()
    {
        QTest::addColumn<bool>("accounts");
        QTest::addColumn<bool>("due");
        QTest::addColumn<int>("accountBottom");
        QTest::addColumn<int>("recurringBottom");
        QTest::newRow("empty") << false << false << 53 << 95;
        QTest::newRow("3 accounts") << true << false << 95 << 137;
        QTest::newRow("2 due") << false << true << 53 << 123;
        QTest::newRow("3 accounts, 2 due") << true << true << 95 << 165;
    }
    void panelGeometryFollowsAccountsAndDueItems()
    {
        QFETCH(bool, accounts);
        QFETCH(bool, due);
        QFETCH(int, accountBottom);
        QFETCH(int, recurringBottom);
        const int recurringTop = accountBottom + 20, chartTop = recurringBottom + 20;

        FixedNow now;
        CQuilletDoc doc;
        if (accounts)
            AddThreeAccounts(doc);
        if (due) {
            doc.AddRecurring("Checking", 12.5, now.Days(2), "Paper", "", "Weekly", "Forever", 0);
            doc.AddRecurring("Checking", -300.0, now.Days(-1), "Pay", "", "Monthly", "Forever", 0);
        }
        doc.AddRecurring("Checking", 10.0, now.Days(21), "Later", "", "Monthly", "Forever", 0);
        CQuilletView view;
        view.SetDocument(&doc);
        const QImage image = ShowView(view);

        QCOMPARE(view.AccountPanel(), EdgeRect(10, 17, 340, accountBottom));
        QCOMPARE(view.RecurringPanel(), EdgeRect(10, recurringTop, 340, recurringBottom));
        QCOMPARE(view.DayChartPanel(), EdgeRect(10, chartTop, 340, chartTop + 120));
        QCOMPARE(view.CategoryPanel(), EdgeRect(360, 17, 660, 342));

        // The one-unit green frame is each body's last row and column; the
        // view's white lies beyond it.
        for (const QPoint& bottom : {QPoint(200, accountBottom), QPoint(200, recurringBottom), QPoint(200, chartTop + 135),
                                     QPoint(500, 342)}) {
            QCOMPARE(Pixel(image, bottom.x(), bottom.y() - 1), PanelColor::Green());
            QCOMPARE(Pixel(image, bottom.x(), bottom.y()), QColor(Qt::white));
        }
        QCOMPARE(Pixel(image, 10, accountBottom - 2), PanelColor::Green());
        QCOMPARE(Pixel(image, 339, accountBottom - 2), PanelColor::Green());
        QCOMPARE(Pixel(image, 340, accountBottom - 2), QColor(Qt::white));

        // The lists fill their panels' bodies: 14 a row plus 2.
        QCOMPARE(view.AccountList()->geometry(), QRect(11, 36, 328, accountBottom - 37));
        QCOMPARE(view.RecurringList()->geometry(), QRect(11, recurringTop + 19, 328, recurringBottom - recurringTop - 20));
    }

    void dayChartScaleDatesAndLine()
    {
        FixedNow now;
        // 300 until a 200 deposit 90 days ago; first drawn without lines.
        CQuilletDoc doc;
        doc.AddAccount("Checking", "1", 300.0, "", "", "");
        doc.AddEntry("Checking", now.Days(-90), "", "Bonus", "Income", 200.0, 0.0, 1, 0, 0, 0);
        doc.SetDayChartAccount(0, "");
        CQuilletView view;
        view.SetDocument(&doc);
        QImage image = ShowView(view);
        const int top = view.DayChartPanel().top(), bottom = top + 120;
        const QRect low = EdgeRect(12, bottom - 12, 46, bottom - 1), mid = EdgeRect(12, top + 65, 46, top + 75),
                    high = EdgeRect(12, top + 21, 46, top + 31);
        const QColor line(121, 80, 58), secondLine(133, 153, 95);
        const QRect plot = EdgeRect(50, top + 20, 339, bottom);

        // The scale without lines (0 to 10000) and the dates under it are read
        // in tst_DashboardText; here the scale follows the line drawn.
        QCOMPARE(CountColor(image, plot, line), 0);

        // The account's line, and a second name that matches no account.
        doc.SetDayChartAccount(0, "Checking");
        doc.SetDayChartAccount(1, "No such account");
        view.OnDocumentChanged();
        image = Shot(view);
        QVERIFY(ShowsAxisText(image, low, "300"));
        QVERIFY(ShowsAxisText(image, mid, "400"));
        QVERIFY(ShowsAxisText(image, high, "500"));

        // The line runs along the plot's top (bottom - 100) from column 145 on.
        for (int c : {146, 200, 288})
            QVERIFY2(CountColor(image, EdgeRect(50 + c, bottom - 101, 51 + c, bottom - 98), line) > 0,
                     qPrintable(QString::number(c)));
        QCOMPARE(CountColor(image, EdgeRect(50, bottom - 101, 50 + 143, bottom - 97), line), 0);
        QCOMPARE(CountColor(image, EdgeRect(50, bottom - 96, 339, bottom), line), 0);
        QCOMPARE(CountColor(image, plot, secondLine), 0);
    }

    void pieIsACyanDiscThenSplitsSeventyFiveTwentyFive()
    {
        FixedNow now;
        const int cx = 510, cy = 179;
        CQuilletDoc empty;
        CQuilletView view;
        view.SetDocument(&empty);
        QImage image = ShowView(view);
        const QColor cyan(10, 255, 255), blue(10, 10, 255), yellow(255, 255, 10);
        for (const QPoint& p : {QPoint(0, 0), QPoint(-100, 0), QPoint(100, 0), QPoint(0, -100), QPoint(0, 100)})
            QCOMPARE(Pixel(image, cx + p.x(), cy + p.y()), cyan);
        QCOMPARE(Pixel(image, cx, cy - 121), PanelColor::ChartBody());

        // The same split with a blank first label: the reference for where
        // "Big" must appear.
        CQuilletDoc blank, doc;
        blank.AddToCategoryTotal("Small", -25.0);
        blank.AddToCategoryTotal(" ", -75.0);
        doc.AddToCategoryTotal("Small", -25.0);
        doc.AddToCategoryTotal("Big", -75.0);
        view.SetDocument(&blank);
        QImage expected = Shot(view);
        view.SetDocument(&doc);
        image = Shot(view);

        // The first wedge runs counterclockwise from the top round to (cx + 120, cy).
        QCOMPARE(Pixel(image, cx - 60, cy - 30), blue);
        QCOMPARE(Pixel(image, cx - 60, cy + 60), blue);
        QCOMPARE(Pixel(image, cx + 100, cy + 4), blue);
        QCOMPARE(Pixel(image, cx + 100, cy - 4), yellow);
        QCOMPARE(Pixel(image, cx + 30, cy - 80), yellow);

        // Its label is centred on the 132 radius at 135 degrees, text at the
        // top of the box (384, 268, 448, 277).
        const QRect box = EdgeRect(384, 268, 448, 277);
        const auto changed = [&](int x, int y) { return expected.pixel(x, y) != image.pixel(x, y); };
        QRect ink;
        for (int y = 240; y < 300; ++y)
            for (int x = 360; x < 470; ++x)
                if (changed(x, y))
                    ink |= QRect(x, y, 1, 1);
        QVERIFY2(box.contains(ink), qPrintable(QString("%1,%2 %3x%4").arg(ink.x()).arg(ink.y()).arg(ink.width()).arg(ink.height())));
        QVERIFY(IsWholeInk(InkMask(image, ink, IsBlack), "Big", MakeViewFont(ViewFont::Slice, image)));
    }
};

QTEST_MAIN(DashboardPaintTest)
#include "tst_DashboardPaint.moc"
