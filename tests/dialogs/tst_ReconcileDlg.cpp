#include "DialogTestSupport.h"
#include "DocChanges.h"
#include "ReconcileDlg.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace
{
QString Figure(QDialog& dialog, const char* name)
{
    return Find<QLabel>(&dialog, name)->text();
}

QLineEdit* Statement(QDialog& dialog)
{
    return Find<QLineEdit>(&dialog, "statement");
}

void ChooseAccount(QDialog& dialog, int index)
{
    Choose(Find<QComboBox>(&dialog, "account"), index);
}
}

class TestReconcileDlg : public QObject
{
    Q_OBJECT
private slots:
    void init() { FixClock(); }

    void listsTheAccountAndSumsItsBankAccount()
    {
        SampleBook book;
        CReconcileDlg dialog(book.history);
        Show(dialog);
        QCOMPARE(Find<QComboBox>(&dialog, "account")->currentText(), u"Checking"_s);
        CXListCtrl* list = dialog.List();
        QCOMPARE(list->GetItemCount(), 3);
        QCOMPARE(RowText(list, 0), u" 06/01/24|101| Groceries Market|Groceries|20.00 ||0.50 |"_s);
        QCOMPARE(RowText(list, 1), u" 06/03/24|102| Rent Payment|Mortgage|100.00|||"_s);
        QCOMPARE(RowText(list, 2), u" 06/05/24|| Salary June| Deposit-Salary||||30.00 "_s);
        QCOMPARE(list->GetCheckState(2, CReconcileDlg::ColCleared), 1);
        QCOMPARE(list->GetCell(0, CReconcileDlg::ColDate)->crBackground, QColor(0xFF, 0x80, 0xFF));
        // The void entry: white on grey, its date black.
        QCOMPARE(list->GetCell(1, CReconcileDlg::ColDate)->crText, QColor(0, 0, 0));
        QCOMPARE(list->GetCell(1, CReconcileDlg::ColDate)->crBackground, QColor(0xBE, 0xBE, 0xBE));
        QCOMPARE(list->GetCell(1, CReconcileDlg::ColDescription)->crText, QColor(255, 255, 255));

        // Checking 80.00 + Savings 110.00 share a number: one bank account.
        QCOMPARE(Figure(dialog, "bankBalance"), u"190.00"_s);
        // Ticking the void entry is kept, but it never counts.
        ClickCell(list, 1, CReconcileDlg::ColCleared);
        QCOMPARE(book.rent->m_bCleared, 1);
        QCOMPARE(Figure(dialog, "bankBalance"), u"190.00"_s);
        RetypeText(Statement(dialog), u"150"_s);
        QCOMPARE(Figure(dialog, "difference"), u"40.00"_s);
        ClickCell(list, 2, CReconcileDlg::ColCleared);  // salary no longer cleared
        QCOMPARE(Figure(dialog, "bankBalance"), u"160.00"_s);

        // Sorted by description descending, then on to Savings: the sort stays,
        // the statement stays, the sum is the same bank account's.
        ClickHeading(list, CReconcileDlg::ColDescription);
        ClickHeading(list, CReconcileDlg::ColDescription);
        QCOMPARE(list->GetItemText(0, CReconcileDlg::ColDescription), u" Salary June"_s);
        ChooseAccount(dialog, 1);
        QCOMPARE(RowText(list, 0), u" 06/02/24|| Interest| Deposit-Interest||||10.00 "_s);
        QCOMPARE(Statement(dialog)->text(), u"150"_s);
        QCOMPARE(Figure(dialog, "bankBalance"), u"160.00"_s);
        QCOMPARE(Figure(dialog, "difference"), u"10.00"_s);
        ChooseAccount(dialog, 0);
        QCOMPARE(list->GetItemCount(), 3);
        QCOMPARE(list->GetSortOrder(), int(CXListCtrl::SortDescending));
        QCOMPARE(list->GetItemText(0, CReconcileDlg::ColDescription), u" Salary June"_s);
        QCOMPARE(list->GetCheckState(0, CReconcileDlg::ColCleared), 0);
    }

    void differenceFollowsStatementAndTicks()
    {
        SampleBook book;
        MessageLog messages;
        CReconcileDlg dialog(book.history);
        Show(dialog);
        ChooseAccount(dialog, 2);  // Travel: 1000.00 + 200.50 cleared
        QCOMPARE(Figure(dialog, "bankBalance"), u"1200.50"_s);
        RetypeText(Statement(dialog), u"1000"_s);
        QCOMPARE(Figure(dialog, "difference"), u"200.50"_s);

        // Ticking the train ticket: both figures move at once; other columns tick nothing.
        CXListCtrl* list = dialog.List();
        ClickCell(list, 1, CReconcileDlg::ColCleared);
        QCOMPARE(Figure(dialog, "bankBalance"), u"1160.50"_s);
        QCOMPARE(Figure(dialog, "difference"), u"160.50"_s);
        QVERIFY(book.doc.IsModified());
        ClickCell(list, 1, CReconcileDlg::ColDescription);
        QCOMPARE(Figure(dialog, "bankBalance"), u"1160.50"_s);

        RetypeText(Statement(dialog), u"1172.75"_s);
        QCOMPARE(Figure(dialog, "difference"), u"-12.25"_s);
        // Space ticks the current row from the keyboard.
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Space);
        QCOMPARE(Figure(dialog, "bankBalance"), u"1200.50"_s);

        // On the way to "-5" the text is a lone "-": the last number stands,
        // and typing says nothing. Typed on from "12", the last number is 12.
        RetypeText(Statement(dialog), u"-"_s);
        QCOMPARE(Figure(dialog, "difference"), u"27.75"_s);
        QTest::keyClicks(Statement(dialog), u"5"_s);
        QCOMPARE(Figure(dialog, "difference"), u"1205.50"_s);
        RetypeText(Statement(dialog), u"12abc"_s);
        QCOMPARE(Figure(dialog, "difference"), u"1188.50"_s);
        QCOMPARE(messages.count(), 0);
        // OK says so and stays open.
        QTest::mouseClick(Find<QPushButton>(&dialog, "ok"), Qt::LeftButton);
        QCOMPARE(messages.lastText(), u"Statement Balance: Invalid Value.\nPlease enter a number."_s);
        QVERIFY(dialog.isVisible());
        QVERIFY(Statement(dialog)->hasFocus());
        // Grouping commas are read while typing and at OK alike.
        RetypeText(Statement(dialog), u"1,172.75"_s);
        QCOMPARE(Figure(dialog, "difference"), u"27.75"_s);
        QTest::mouseClick(Find<QPushButton>(&dialog, "ok"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.StatementBalance(), 1172.75);
    }

    // Each tick is one step; undo and redo, of ticks or of steps made
    // before the dialog opened, show in its list and figures at once.
    void ticksUndoAndTheListFollowsEveryStep()
    {
        SampleBook book;
        QVERIFY(book.history.Apply(std::make_unique<CDeleteEntryChange>(0, 1)));  // the rent, before opening
        CReconcileDlg dialog(book.history);
        Show(dialog);
        CXListCtrl* list = dialog.List();
        QCOMPARE(list->GetItemCount(), 2);
        RetypeText(Statement(dialog), u"150"_s);
        ClickCell(list, RowOfEntry(list, book.groceries), CReconcileDlg::ColCleared);
        QCOMPARE(Figure(dialog, "bankBalance"), u"169.50"_s);
        QCOMPARE(book.history.UndoName(), u"Clear Entry"_s);

        list->setFocus();
        QTest::keyClick(list, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(book.groceries->m_bCleared, 0);
        QCOMPARE(list->GetCheckState(RowOfEntry(list, book.groceries), CReconcileDlg::ColCleared), 0);
        QCOMPARE(Figure(dialog, "bankBalance"), u"190.00"_s);
        QCOMPARE(Figure(dialog, "difference"), u"40.00"_s);
        QTest::keyClick(list, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(list->GetItemCount(), 3);
        QCOMPARE(RowText(list, RowOfEntry(list, book.rent)), u" 06/03/24|102| Rent Payment|Mortgage|100.00|||"_s);

        QTest::keyClick(list, Qt::Key_Y, Qt::ControlModifier);
        QTest::keyClick(list, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(list->GetItemCount(), 2);
        QCOMPARE(list->GetCheckState(RowOfEntry(list, book.groceries), CReconcileDlg::ColCleared), 1);
        QCOMPARE(Figure(dialog, "bankBalance"), u"169.50"_s);
        QCOMPARE(Statement(dialog)->text(), u"150"_s);
    }

    void withoutAccounts()
    {
        CQuilletDoc doc;
        CDocHistory history(doc);
        CReconcileDlg dialog(history);
        Show(dialog);
        QCOMPARE(dialog.List()->GetItemCount(), 0);
        QCOMPARE(Figure(dialog, "bankBalance"), QString());
        RetypeText(Statement(dialog), u"12.25"_s);
        QCOMPARE(Figure(dialog, "difference"), u"-12.25"_s);
        // Space on an empty list must not reach for a row.
        dialog.List()->setFocus();
        QTest::keyClick(dialog.List(), Qt::Key_Space);
        QVERIFY(!doc.IsModified());
    }
};

QTEST_MAIN(TestReconcileDlg)
#include "tst_ReconcileDlg.moc"
