#include "BalanceBooksDlg.h"
#include "DialogTestSupport.h"
#include "QuilletDoc.h"
#include "XHeaderCtrl.h"

#include <QtTest>

class TestBalanceBooksDlg : public QObject
{
    Q_OBJECT
private slots:
    void init() { FixClock(); }
    void cleanup() { Clock::Set({}); }

    void groupsCarryCyanSummaryRowsAndTotalsCountAccountsOnce();
    void emptyDocumentShowsNoRowsAndZeroTotals();
    void headingsDoNotSort();
    void balancesAreCurrentAfterEntriesChangedInPlace();
};

void TestBalanceBooksDlg::groupsCarryCyanSummaryRowsAndTotalsCountAccountsOnce()
{
    CQuilletDoc doc;
    doc.AddAccount("Home", "1", 100.0, "", "", "");
    doc.AddAccount("Car", "2", 50.0, "", "", "");
    doc.AddAccount("Boat", "1", 20.0, "", "", "");
    doc.AddAccount("Shop", "3", 5.5, "", "", "");
    doc.AddEntry("Home", CTime(kTestNow), "", "Paid", "", 30.0, 0.0, 0, 1, 0, 0);    // cleared payment
    doc.AddEntry("Boat", CTime(kTestNow), "", "Sold", "", 10.0, 0.0, 1, 0, 0, 0);    // open deposit
    CBalanceBooksDlg dialog(&doc);
    dialog.show();
    CXListCtrl* list = dialog.List();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Balance Books"));
    QCOMPARE(list->GetItemCount(), 5);
    QCOMPARE(RowTexts(list, 0), QStringList({"Home", "1", "70.00", "70.00"}));
    QCOMPARE(RowTexts(list, 1), QStringList({"Boat", "1", "30.00", "20.00"}));
    QCOMPARE(RowTexts(list, 2), QStringList({"Summary", "1", "100.00", "90.00"}));
    QCOMPARE(RowTexts(list, 3), QStringList({"Car", "2", "50.00", "50.00"}));
    QCOMPARE(RowTexts(list, 4), QStringList({"Shop", "3", "5.50", "5.50"}));

    const QColor cyan(0, 255, 255);
    for (int column = 1; column < 4; ++column) {
        QCOMPARE(list->GetCell(2, column)->crBackground, cyan);
        QCOMPARE(list->GetCell(2, column)->crText, QColor(Qt::black));
        QVERIFY(!list->GetCell(1, column)->crBackground.isValid());
    }
    QVERIFY(!list->GetCell(2, 0)->crBackground.isValid());

    QCOMPARE(dialog.BalanceTotalText(), QStringLiteral("155.50"));
    QCOMPARE(dialog.BankTotalText(), QStringLiteral("145.50"));
}

void TestBalanceBooksDlg::emptyDocumentShowsNoRowsAndZeroTotals()
{
    CQuilletDoc doc;
    CBalanceBooksDlg dialog(&doc);
    dialog.resize(600, 360);
    dialog.show();
    QCOMPARE(dialog.List()->GetItemCount(), 0);
    QCOMPARE(dialog.BalanceTotalText(), QStringLiteral("0.00"));
    QCOMPARE(dialog.BankTotalText(), QStringLiteral("0.00"));
    // The list says it is empty: some dark text is painted below the header.
    const QImage image = dialog.List()->viewport()->grab().toImage();
    bool text = false;
    for (int y = 0; y < 40 && !text; ++y)
        for (int x = 0; x < image.width() && !text; ++x)
            text = image.pixelColor(x, y).lightness() < 100;
    QVERIFY(text);
}

void TestBalanceBooksDlg::headingsDoNotSort()
{
    CQuilletDoc doc;
    doc.AddAccount("Zed", "9", 1.0, "", "", "");
    doc.AddAccount("Abe", "8", 2.0, "", "", "");
    CBalanceBooksDlg dialog(&doc);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    CXHeaderCtrl* header = dialog.List()->GetHeaderCtrl();
    const QPoint heading(header->sectionViewportPosition(0) + 10, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, heading);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, heading);
    QCOMPARE(dialog.List()->GetItemText(0, 0), QStringLiteral("Zed"));
    QCOMPARE(dialog.List()->GetSortColumn(), -1);
}

void TestBalanceBooksDlg::balancesAreCurrentAfterEntriesChangedInPlace()
{
    CQuilletDoc doc;
    doc.AddAccount("Home", "1", 100.0, "", "", "");
    CTransaction* entry = doc.AddEntry("Home", CTime(kTestNow), "", "Paid", "", 30.0, 0.0, 0, 0, 0, 0);
    entry->m_bVoid = 1;  // as the register editor voids an entry
    CBalanceBooksDlg dialog(&doc);
    QCOMPARE(dialog.List()->GetItemText(0, 2), QStringLiteral("100.00"));
    QCOMPARE(dialog.BalanceTotalText(), QStringLiteral("100.00"));
}

QTEST_MAIN(TestBalanceBooksDlg)
#include "tst_BalanceBooksDlg.moc"
