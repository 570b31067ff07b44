// The dashboard painted into an image: panel geometry, frames, the day
// chart's scale and line, and the category pie.
#include "ViewTestSupport.h"

#include <QtTest>

class DashboardPaintTest : public QObject
{
    Q_OBJECT

private:
    // Panels are placed by the paint, so every check shoots first.
    QImage Render(CQuilletView& view)
    {
        view.resize(700, 620);
        view.show();
        // The first paint places and fills the lists; shoot after it.
        if (!QTest::qWaitForWindowExposed(&view))
            return QImage();
        QCoreApplication::processEvents();
        QImage image = Shot(view);
        if (qEnvironmentVariableIsSet("QUILLET_SAVE_PNG"))
            image.save(QStringLiteral("%1/%2.png")
                           .arg(qEnvironmentVariable("QUILLET_SAVE_PNG"), QTest::currentTestFunction()));
        return image;
    }

    void CheckFrameBottom(const QImage& image, int bottom)
    {
        // The one-unit green frame is the panel's last row; below it is
        // the view's white background.
        QCOMPARE(Pixel(image, 200, bottom - 1), PanelColor::Green());
        QCOMPARE(Pixel(image, 200, bottom), QColor(Qt::white));
    }

private slots:
    void panelGeometryFollowsAccountsAndDueItems_data()
    {
        QTest::addColumn<bool>("accounts");
        QTest::addColumn<bool>("due");
        QTest::addColumn<int>("accountBottom");
        QTest::addColumn<int>("recurringTop");
        QTest::addColumn<int>("recurringBottom");
        QTest::addColumn<int>("chartTop");
        QTest::newRow("empty") << false << false << 53 << 73 << 95 << 115;
        QTest::newRow("3 accounts") << true << false << 95 << 115 << 137 << 157;
        QTest::newRow("2 due") << false << true << 53 << 73 << 123 << 143;
        QTest::newRow("3 accounts, 2 due") << true << true << 95 << 115 << 165 << 185;
    }
    void panelGeometryFollowsAccountsAndDueItems()
    {
        QFETCH(bool, accounts);
        QFETCH(bool, due);
        QFETCH(int, accountBottom);
        QFETCH(int, recurringTop);
        QFETCH(int, recurringBottom);
        QFETCH(int, chartTop);

        FixedNow now;
        CQuilletDoc doc;
        if (accounts)
            AddThreeAccounts(doc);
        if (due) {
            doc.AddRecurring("Checking", 12.5, DaysFromNow(now, 2), "Paper", "", "Weekly", "Forever", 0);
            doc.AddRecurring("Checking", -300.0, DaysFromNow(now, -1), "Pay", "", "Monthly", "Forever", 0);
        }
        doc.AddRecurring("Checking", 10.0, DaysFromNow(now, 21), "Later", "", "Monthly", "Forever", 0);
        CQuilletView view;
        view.SetDocument(&doc);
        const QImage image = Render(view);

        QCOMPARE(view.AccountPanel(), EdgeRect(10, 17, 340, accountBottom));
        QCOMPARE(view.RecurringPanel(), EdgeRect(10, recurringTop, 340, recurringBottom));
        QCOMPARE(view.DayChartPanel(), EdgeRect(10, chartTop, 340, chartTop + 120));
        QCOMPARE(view.CategoryPanel(), EdgeRect(360, 17, 660, 342));

        CheckFrameBottom(image, accountBottom);
        CheckFrameBottom(image, recurringBottom);
        CheckFrameBottom(image, chartTop + 135);
        // The frame's sides, below the title band.
        QCOMPARE(Pixel(image, 10, accountBottom - 2), PanelColor::Green());
        QCOMPARE(Pixel(image, 339, accountBottom - 2), PanelColor::Green());
        QCOMPARE(Pixel(image, 340, accountBottom - 2), QColor(Qt::white));

        // The day chart's strips and grey body.
        const int plotBottom = chartTop + 120;
        QCOMPARE(Pixel(image, 200, plotBottom), PanelColor::Green());
        QCOMPARE(Pixel(image, 49, plotBottom - 50), PanelColor::Green());
        QCOMPARE(Pixel(image, 200, plotBottom - 50), PanelColor::ChartBody());

        // The lists sit in the panels at 14 a row plus 2.
        QCOMPARE(view.AccountList()->geometry(), QRect(11, 36, 328, accountBottom - 37));
        QCOMPARE(view.RecurringList()->geometry(), QRect(11, recurringTop + 19, 328, recurringBottom - recurringTop - 20));
    }

    void dayChartWithoutLinesShowsDefaultScaleAndDates()
    {
        FixedNow now;
        CQuilletDoc doc;
        AddThreeAccounts(doc);
        doc.SetDayChartAccount(0, "");
        CQuilletView view;
        view.SetDocument(&doc);
        const QImage image = Render(view);
        const int top = view.DayChartPanel().top();
        const int bottom = top + 120;
        const QColor black(0, 0, 0), grey = PanelColor::ChartBody();

        QVERIFY(ShowsText(image, EdgeRect(12, bottom - 12, 46, bottom - 1), "0", ViewFont::Axis, Qt::AlignRight, black, grey));
        QVERIFY(ShowsText(image, EdgeRect(12, top + 65, 46, top + 75), "5000", ViewFont::Axis, Qt::AlignRight, black, grey));
        QVERIFY(ShowsText(image, EdgeRect(12, top + 21, 46, top + 31), "10000", ViewFont::Axis, Qt::AlignRight, black, grey));
        QVERIFY(!ShowsText(image, EdgeRect(12, top + 21, 46, top + 31), "1000", ViewFont::Axis, Qt::AlignRight, black, grey));

        // Today, today - 90 days and today - 180 days with the default lookback.
        QVERIFY(ShowsText(image, EdgeRect(290, bottom + 1, 339, bottom + 13), "12/06/26", ViewFont::Axis, Qt::AlignRight, black, grey));
        QVERIFY(ShowsText(image, EdgeRect(170, bottom + 1, 220, bottom + 13), "09/07/26", ViewFont::Axis, Qt::AlignHCenter, black, grey));
        QVERIFY(ShowsText(image, EdgeRect(51, bottom + 1, 101, bottom + 13), "06/09/26", ViewFont::Axis, Qt::AlignLeft, black, grey));

        // No line anywhere in the plot.
        QCOMPARE(CountColor(image, EdgeRect(50, top + 20, 339, bottom), QColor(121, 80, 58)), 0);
    }

    void dayChartDrawsDepositLineAtTheTop()
    {
        FixedNow now;
        CQuilletDoc doc;
        doc.AddAccount("Checking", "1", 300.0, "", "", "");
        doc.AddEntry("Checking", DaysFromNow(now, -90), "", "Bonus", "Income", 200.0, 0.0, 1, 0, 0, 0);
        doc.SetDayChartAccount(0, "Checking");
        doc.SetDayChartAccount(1, "No such account");
        CQuilletView view;
        view.SetDocument(&doc);
        const QImage image = Render(view);
        const int top = view.DayChartPanel().top();
        const int bottom = top + 120;
        const QColor black(0, 0, 0), grey = PanelColor::ChartBody();

        QVERIFY(ShowsText(image, EdgeRect(12, bottom - 12, 46, bottom - 1), "300", ViewFont::Axis, Qt::AlignRight, black, grey));
        QVERIFY(ShowsText(image, EdgeRect(12, top + 65, 46, top + 75), "400", ViewFont::Axis, Qt::AlignRight, black, grey));
        QVERIFY(ShowsText(image, EdgeRect(12, top + 21, 46, top + 31), "500", ViewFont::Axis, Qt::AlignRight, black, grey));

        // The line runs at the plot's top (bottom - 100) from column 145 to 289.
        const QColor line(121, 80, 58);
        const QRect lineBand = EdgeRect(50, bottom - 101, 340, bottom - 98);
        for (int c : {146, 200, 288})
            QVERIFY2(CountColor(image, EdgeRect(50 + c, bottom - 101, 51 + c, bottom - 98), line) > 0,
                     qPrintable(QString::number(c)));
        QCOMPARE(CountColor(image, EdgeRect(50, lineBand.top(), 50 + 143, lineBand.bottom() + 1), line), 0);
        // Nothing else of the plot carries the line colour.
        QCOMPARE(CountColor(image, EdgeRect(50, bottom - 96, 339, bottom), line), 0);
        // The unknown name in the second slot draws nothing.
        QCOMPARE(CountColor(image, EdgeRect(50, top + 20, 339, bottom), QColor(133, 153, 95)), 0);
    }

    void pieSplitsSeventyFiveTwentyFive()
    {
        FixedNow now;
        CQuilletDoc doc;
        doc.AddToCategoryTotal("Small", -25.0);
        doc.AddToCategoryTotal("Big", -75.0);
        CQuilletView view;
        view.SetDocument(&doc);
        const QImage image = Render(view);
        const int cx = 510, cy = 179;
        const QColor blue(10, 10, 255), yellow(255, 255, 10);

        // First wedge counterclockwise from the top round to (cx + 120, cy).
        QCOMPARE(Pixel(image, cx - 60, cy - 30), blue);
        QCOMPARE(Pixel(image, cx - 60, cy + 60), blue);
        QCOMPARE(Pixel(image, cx + 60, cy + 6), blue);
        QCOMPARE(Pixel(image, cx + 60, cy - 6), yellow);
        QCOMPARE(Pixel(image, cx + 30, cy - 80), yellow);
        QCOMPARE(Pixel(image, cx + 100, cy - 4), yellow);
        QCOMPARE(Pixel(image, cx + 100, cy + 4), blue);
        // Outside the circle the body stays grey.
        QCOMPARE(Pixel(image, cx + 110, cy - 110), PanelColor::ChartBody());

        // The first label is centred on the 132 radius at 135 degrees:
        // box (384, 268, 448, 277), text at its top. Compare with the same
        // pie whose first label is blank, with "Big" drawn in that box.
        CQuilletDoc blank;
        blank.AddToCategoryTotal("Small", -25.0);
        blank.AddToCategoryTotal(" ", -75.0);
        CQuilletView other;
        other.SetDocument(&blank);
        QImage expected = Render(other);
        {
            QPainter painter(&expected);
            const QRect box = EdgeRect(384, 268, 448, 277);
            painter.setClipRect(box);
            painter.setFont(MakeViewFont(ViewFont::Slice));
            painter.setPen(Qt::black);
            painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, "Big");
        }
        const QRect around = EdgeRect(370, 255, 460, 290);
        QVERIFY(expected.copy(around) == image.copy(around));
        QVERIFY(CountColor(image, EdgeRect(384, 268, 448, 277), Qt::black) > 5);
    }

    void pieWithoutSpendingIsAFullCyanDisc()
    {
        FixedNow now;
        CQuilletDoc doc;
        CQuilletView view;
        view.SetDocument(&doc);
        const QImage image = Render(view);
        const QColor cyan(10, 255, 255);
        for (const QPoint& p : {QPoint(510, 179), QPoint(510 - 100, 179), QPoint(510 + 100, 179),
                                QPoint(510, 179 - 100), QPoint(510, 179 + 100)})
            QCOMPARE(Pixel(image, p.x(), p.y()), cyan);
        QCOMPARE(Pixel(image, 510, 179 - 121), PanelColor::ChartBody());
        QCOMPARE(Pixel(image, 510 + 90, 179 + 90), PanelColor::ChartBody());

        // The pie panel's body (360, 37, 660, 342): framed in green, white
        // outside; above it only the band's rounded top shows.
        QCOMPARE(Pixel(image, 500, 341), PanelColor::Green());
        QCOMPARE(Pixel(image, 659, 200), PanelColor::Green());
        QCOMPARE(Pixel(image, 500, 342), QColor(Qt::white));
        QCOMPARE(Pixel(image, 500, 17), PanelColor::Green());
        QCOMPARE(Pixel(image, 500, 25), PanelColor::BandFill());
        QVERIFY(CountColor(image, EdgeRect(620, 20, 650, 36), PanelColor::LabelNormal()) > 10);
    }
};

QTEST_MAIN(DashboardPaintTest)
#include "tst_DashboardPaint.moc"
