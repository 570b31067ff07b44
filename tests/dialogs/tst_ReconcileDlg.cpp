#include "DialogTestSupport.h"
#include "ReconcileDlg.h"
#include "RegisterTestData.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class TestReconcileDlg : public QObject
{
    Q_OBJECT
private slots:
    void init() { FixClock(); }
    void cleanup() { Clock::Set({}); }

    void listsTheFirstAccount();
    void differenceFollowsStatementAndTicks();
    void sharedNumberAndAccountChange();
    void statementThatIsNoNumber();
    void withoutAccounts();
};

namespace
{
QString Figure(QDialog& dialog, const char* name)
{
    return dialog.findChild<QLabel*>(QLatin1String(name))->text();
}

QLineEdit* Statement(QDialog& dialog)
{
    return dialog.findChild<QLineEdit*>("statement");
}

// Picks an account from the drop-down with the keyboard.
void ChooseAccount(QDialog& dialog, int index)
{
    auto* combo = dialog.findChild<QComboBox*>("account");
    combo->setFocus();
    while (combo->currentIndex() < index)
        QTest::keyClick(combo, Qt::Key_Down);
    while (combo->currentIndex() > index)
        QTest::keyClick(combo, Qt::Key_Up);
}
}

void TestReconcileDlg::listsTheFirstAccount()
{
    SampleBook book;
    CReconcileDlg dialog(&book.doc);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Reconsile Accounts"));
    QCOMPARE(dialog.findChild<QComboBox*>("account")->currentText(), QStringLiteral("Checking"));
    QCOMPARE(Statement(dialog)->text(), QStringLiteral("0"));

    CXListCtrl* list = dialog.List();
    QCOMPARE(list->GetItemCount(), 3);
    QCOMPARE(RowText(list, 0), QStringLiteral(" 06/01/24|101| Groceries Market|Groceries|20.00 ||0.50 |"));
    QCOMPARE(RowText(list, 1), QStringLiteral(" 06/03/24|102| Rent Payment|Mortgage|100.00|||"));
    QCOMPARE(RowText(list, 2), QStringLiteral(" 06/05/24|| Salary June| Deposit-Salary||||30.00 "));
    QCOMPARE(list->GetCheckState(2, CReconcileDlg::ColCleared), 1);
    QCOMPARE(list->GetCell(0, CReconcileDlg::ColDate)->crBackground, QColor(0xFF, 0x80, 0xFF));
    // The void entry: white on grey, its date black.
    QCOMPARE(list->GetCell(1, CReconcileDlg::ColDate)->crText, QColor(0, 0, 0));
    QCOMPARE(list->GetCell(1, CReconcileDlg::ColDate)->crBackground, QColor(0xBE, 0xBE, 0xBE));
    QCOMPARE(list->GetCell(1, CReconcileDlg::ColDescription)->crText, QColor(255, 255, 255));

    // Ticking it is kept, but it never counts.
    ClickCell(list, 1, CReconcileDlg::ColCleared);
    QCOMPARE(book.rent->m_bCleared, 1);
    QCOMPARE(Figure(dialog, "bankBalance"), QStringLiteral("190.00"));
}

void TestReconcileDlg::differenceFollowsStatementAndTicks()
{
    SampleBook book;
    CReconcileDlg dialog(&book.doc);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    ChooseAccount(dialog, 2);  // Travel: 1000.00 + 200.50 cleared
    QCOMPARE(Figure(dialog, "bankBalance"), QStringLiteral("1200.50"));

    RetypeText(Statement(dialog), "1000");
    QCOMPARE(Figure(dialog, "difference"), QStringLiteral("200.50"));

    // Ticking the train ticket: both figures move at once.
    CXListCtrl* list = dialog.List();
    ClickCell(list, 1, CReconcileDlg::ColCleared);
    QCOMPARE(Figure(dialog, "bankBalance"), QStringLiteral("1160.50"));
    QCOMPARE(Figure(dialog, "difference"), QStringLiteral("160.50"));
    QVERIFY(book.doc.IsModified());

    // Other columns tick nothing.
    ClickCell(list, 1, CReconcileDlg::ColDescription);
    QCOMPARE(Figure(dialog, "bankBalance"), QStringLiteral("1160.50"));

    RetypeText(Statement(dialog), "1172.75");
    QCOMPARE(Figure(dialog, "difference"), QStringLiteral("-12.25"));

    // Space ticks the current row from the keyboard.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Space);
    QCOMPARE(Figure(dialog, "bankBalance"), QStringLiteral("1200.50"));

    QTest::mouseClick(dialog.findChild<QPushButton*>("ok"), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.StatementBalance(), 1172.75);
}

void TestReconcileDlg::sharedNumberAndAccountChange()
{
    SampleBook book;
    CReconcileDlg dialog(&book.doc);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    CXListCtrl* list = dialog.List();
    // Checking 80.00 + Savings 110.00: one bank account.
    QCOMPARE(Figure(dialog, "bankBalance"), QStringLiteral("190.00"));
    RetypeText(Statement(dialog), "150");
    QCOMPARE(Figure(dialog, "difference"), QStringLiteral("40.00"));

    ClickCell(list, 2, CReconcileDlg::ColCleared);  // salary no longer cleared
    QCOMPARE(Figure(dialog, "bankBalance"), QStringLiteral("160.00"));

    // Sorted by description descending, then on to Savings: the sort stays,
    // the statement stays, the sum is the same bank account's.
    ClickHeading(list, CReconcileDlg::ColDescription);
    ClickHeading(list, CReconcileDlg::ColDescription);
    QCOMPARE(list->GetItemText(0, CReconcileDlg::ColDescription), QStringLiteral(" Salary June"));
    ChooseAccount(dialog, 1);
    QCOMPARE(list->GetItemCount(), 1);
    QCOMPARE(list->GetItemText(0, CReconcileDlg::ColDescription), QStringLiteral(" Interest"));
    QCOMPARE(Statement(dialog)->text(), QStringLiteral("150"));
    QCOMPARE(Figure(dialog, "bankBalance"), QStringLiteral("160.00"));
    QCOMPARE(Figure(dialog, "difference"), QStringLiteral("10.00"));

    ChooseAccount(dialog, 0);
    QCOMPARE(list->GetItemCount(), 3);
    QCOMPARE(list->GetSortOrder(), int(CXListCtrl::SortDescending));
    QCOMPARE(list->GetItemText(0, CReconcileDlg::ColDescription), QStringLiteral(" Salary June"));
    QCOMPARE(list->GetCheckState(0, CReconcileDlg::ColCleared), 0);
}

void TestReconcileDlg::statementThatIsNoNumber()
{
    SampleBook book;
    MessageLog messages;
    CReconcileDlg dialog(&book.doc);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    RetypeText(Statement(dialog), "100");
    QCOMPARE(Figure(dialog, "difference"), QStringLiteral("90.00"));
    // On the way to "-5" the text is a lone "-": the last number stands,
    // and typing says nothing.
    RetypeText(Statement(dialog), "-");
    QCOMPARE(Figure(dialog, "difference"), QStringLiteral("90.00"));
    QTest::keyClicks(Statement(dialog), "5");
    QCOMPARE(Figure(dialog, "difference"), QStringLiteral("195.00"));
    // Typed on from "12", the last number is 12.
    RetypeText(Statement(dialog), "12abc");
    QCOMPARE(Figure(dialog, "difference"), QStringLiteral("178.00"));
    QCOMPARE(messages.count(), 0);

    // OK says so and stays open.
    QTest::mouseClick(dialog.findChild<QPushButton*>("ok"), Qt::LeftButton);
    QCOMPARE(messages.lastText(), QStringLiteral("Statement Balance: Invalid Value.\nPlease enter a number."));
    QVERIFY(dialog.isVisible());
    QVERIFY(Statement(dialog)->hasFocus());

    RetypeText(Statement(dialog), "12");
    QTest::mouseClick(dialog.findChild<QPushButton*>("ok"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
}

void TestReconcileDlg::withoutAccounts()
{
    CQuilletDoc doc;
    CReconcileDlg dialog(&doc);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.List()->GetItemCount(), 0);
    QCOMPARE(Figure(dialog, "bankBalance"), QString());
    QCOMPARE(Figure(dialog, "difference"), QString());
    RetypeText(Statement(dialog), "12.25");
    QCOMPARE(Figure(dialog, "difference"), QStringLiteral("-12.25"));
    // Space on an empty list must not reach for a row.
    dialog.List()->setFocus();
    QTest::keyClick(dialog.List(), Qt::Key_Space);
    QVERIFY(!doc.IsModified());
}

QTEST_MAIN(TestReconcileDlg)
#include "tst_ReconcileDlg.moc"
