#include "BalanceBooksDlg.h"
#include "DialogTestSupport.h"
#include "DocChanges.h"

#include <QtTest>

#include <cstdio>

class TestBalanceBooksDlg : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // The run under the comma locale only means something when the
        // locale exists: the C library then writes commas.
        if (qEnvironmentVariable("LC_ALL").startsWith("de_DE")) {
            char text[16];
            std::snprintf(text, sizeof text, "%.1f", 1.5);
            QVERIFY2(QByteArray(text) == "1,5", "de_DE.UTF-8 is missing: run tools/install-deps.sh");
        }
    }
    void init() { FixClock(); }

    void groupsCarryCyanSummaryRowsAndTotalsCountAccountsOnce()
    {
        CQuilletDoc doc;
        doc.AddAccount("Home", "1", 100.0, "", "", "");
        doc.AddAccount("Car", "2", 50.0, "", "", "");
        doc.AddAccount("Boat", "1", 20.0, "", "", "");
        doc.AddAccount("Shop", "3", 5.5, "", "", "");
        doc.AddEntry("Home", CTime(kTestNow), "", "Paid", "", 30.0, 0.0, 0, 1, 0, 0);  // cleared payment
        doc.AddEntry("Boat", CTime(kTestNow), "", "Sold", "", 10.0, 0.0, 1, 0, 0, 0);  // open deposit
        // Voided in place, as the register editor does: no longer counted.
        doc.AddEntry("Home", CTime(kTestNow), "", "Lost", "", 500.0, 0.0, 0, 1, 0, 0)->m_bVoid = 1;
        CDocHistory history(doc);
        CBalanceBooksDlg dialog(history);
        Show(dialog);
        CXListCtrl* list = dialog.List();
        QCOMPARE(list->GetItemCount(), 5);
        QCOMPARE(RowText(list, 0), u"Home|1|70.00|70.00"_s);
        QCOMPARE(RowText(list, 1), u"Boat|1|30.00|20.00"_s);
        QCOMPARE(RowText(list, 2), u"Summary|1|100.00|90.00"_s);
        QCOMPARE(RowText(list, 3), u"Car|2|50.00|50.00"_s);
        QCOMPARE(RowText(list, 4), u"Shop|3|5.50|5.50"_s);
        for (int column = 1; column < 4; ++column) {
            QCOMPARE(list->GetCell(2, column)->crBackground, QColor(0, 255, 255));
            QCOMPARE(list->GetCell(2, column)->crText, QColor(Qt::black));
            QVERIFY(!list->GetCell(1, column)->crBackground.isValid());
        }
        QVERIFY(!list->GetCell(2, 0)->crBackground.isValid());
        QCOMPARE(dialog.BalanceTotalText(), u"155.50"_s);
        QCOMPARE(dialog.BankTotalText(), u"145.50"_s);

        // The headings do not sort the grouped rows.
        ClickHeading(list, 0);
        ClickHeading(list, 0);
        QCOMPARE(list->GetItemText(0, 0), u"Home"_s);
        QCOMPARE(list->GetSortColumn(), -1);
    }

    // Open while an account's deletion is undone and redone from the keys:
    // the rows and totals follow the document each time.
    void undoAndRedoRefillTheBooks()
    {
        SampleBook book;
        QStringList rows;
        QString total;
        {
            CBalanceBooksDlg dialog(book.history);
            rows = AllRows(dialog.List());
            total = dialog.BalanceTotalText();
        }
        QVERIFY(book.history.Apply(std::make_unique<CDeleteAccountChange>(2)));
        CBalanceBooksDlg dialog(book.history);
        Show(dialog);
        CXListCtrl* list = dialog.List();
        QCOMPARE(list->GetItemCount(), rows.size() - 1);
        const QString without = dialog.BalanceTotalText();
        QVERIFY(without != total);

        QTest::keyClick(list, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(AllRows(list), rows);
        QCOMPARE(dialog.BalanceTotalText(), total);
        QTest::keyClick(list, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(list->GetItemCount(), rows.size() - 1);
        QCOMPARE(dialog.BalanceTotalText(), without);
    }

    void aLongNameEndsInsideItsColumn()
    {
        // Underscores draw one unbroken line: cut at the column's edge, it
        // would run straight on into the account number.
        CQuilletDoc doc;
        doc.AddAccount(std::string(120, '_'), "9999", 100.0, "", "", "");
        CDocHistory history(doc);
        CBalanceBooksDlg dialog(history);
        Show(dialog);
        CXListCtrl* list = dialog.List();
        const QRect name = list->visualRect(list->model()->index(0, 0));
        const QImage image = list->viewport()->grab().toImage();
        auto inkIn = [&image, &name](int from, int to) {
            for (int x = from; x < to; ++x)
                for (int y = name.top(); y <= name.bottom(); ++y)
                    if (image.pixelColor(x, y).lightness() < 128)
                        return true;
            return false;
        };
        QVERIFY(inkIn(name.left(), name.left() + name.width() / 2));
        QVERIFY(!inkIn(name.right() - 2, name.right() + 1));
    }

    void emptyDocumentSaysSo()
    {
        CQuilletDoc doc;
        CDocHistory history(doc);
        CBalanceBooksDlg dialog(history);
        dialog.resize(600, 360);
        Show(dialog);
        QCOMPARE(dialog.List()->GetItemCount(), 0);
        QCOMPARE(dialog.BalanceTotalText(), u"0.00"_s);
        // Some dark text is painted below the header.
        const QImage image = dialog.List()->viewport()->grab().toImage();
        bool text = false;
        for (int y = 0; y < 40 && !text; ++y)
            for (int x = 0; x < image.width() && !text; ++x)
                text = image.pixelColor(x, y).lightness() < 100;
        QVERIFY(text);
    }
};

QTEST_MAIN(TestBalanceBooksDlg)
#include "tst_BalanceBooksDlg.moc"
