// Edit > Undo and Redo in the window: a deletion taken back from the menu
// while the register is still open, a posting from the dashboard taken
// back, and the save question, which asks only when the checkbook differs
// from its file.
#include "AppTestSupport.h"

#include "DocChanges.h"
#include "QuilletView.h"
#include "RegisterDlg.h"
#include "XListCtrl.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace
{
QString MenuText(AppHarness& h, int id)
{
    QAction* action = h.Frame().CommandAction(id);
    return action->isEnabled() ? action->text() : QStringLiteral("(disabled) ") + action->text();
}

QString RowText(const CXListCtrl* list, int row)
{
    QStringList cells;
    for (int column = 0; column < list->GetColumns(); ++column)
        cells << list->GetItemText(row, column);
    return cells.join('|');
}

int RowOfEntry(const CXListCtrl* list, const CTransaction* entry)
{
    for (int row = 0; row < list->GetItemCount(); ++row)
        if (list->GetItemData(row) == reinterpret_cast<quintptr>(entry))
            return row;
    return -1;
}

void ClickCell(CXListCtrl* list, int row, int column)
{
    QRect cell;
    QVERIFY(list->GetSubItemRect(row, column, CXListCtrl::AreaBounds, cell));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
}

// Runs work inside the next modal dialog, then closes it.
template <class Dialog, class Work>
void WhileOpen(Work work)
{
    QTimer::singleShot(0, [work] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        work(*dialog);
        dialog->accept();
    });
}
}

class UndoRedoTest : public QObject
{
    Q_OBJECT

    // A saved checkbook: Checking with three entries, and a payment due
    // yesterday.
    static void Open(AppHarness& h)
    {
        const QString path = h.Path("Budget.ql1");
        {
            CQuilletDoc doc;
            doc.AddAccount("Checking", "1001", 100.0, "", "", "");
            const CTime now = CTime::GetCurrentTime();
            doc.AddEntry("Checking", now - 3 * CTime::kDay, "", "Rent", "", 40.0, 0.0, 0, 0, 0, 0);
            doc.AddEntry("Checking", now - 2 * CTime::kDay, "", "Salary", "", 25.0, 0.0, 1, 0, 0, 0);
            doc.AddEntry("Checking", now - CTime::kDay, "", "Lunch", "", 5.0, 0.0, 0, 0, 0, 0);
            doc.AddRecurring("Checking", 12.5, now - CTime::kDay, "Phone", "", "Monthly", "Forever", 0);
            FileError error;
            QVERIFY2(SaveCheckbookFile(doc, path.toStdString(), error), error.message.c_str());
        }
        QVERIFY(h.Start({path}));
        h.Frame().show();
        QVERIFY(QTest::qWaitForWindowExposed(&h.Frame()));
    }

private slots:
    void deleteInTheOpenRegisterUndoneFromTheMenu()
    {
        AppHarness h;
        Open(h);
        QCOMPARE(MenuText(h, ID_EDIT_UNDO), QStringLiteral("(disabled) &Undo\tCtrl+Z"));
        CTransaction* rent = h.Doc().GetEntry(0, 0);

        QString restored, redone, menu;
        WhileOpen<CRegisterDlg>([&](CRegisterDlg& dialog) {
            CXListCtrl* list = dialog.List();
            ClickCell(list, RowOfEntry(list, rent), CRegisterDlg::ColDescription);
            QTest::mouseClick(dialog.findChild<QPushButton*>("deleteEntry"), Qt::LeftButton);
            menu = MenuText(h, ID_EDIT_UNDO);
            h.Trigger(ID_EDIT_UNDO);
            restored = RowText(list, RowOfEntry(list, rent)) + " / " + RowText(list, list->GetItemCount() - 1);
            h.Trigger(ID_EDIT_REDO);
            redone = QString::number(RowOfEntry(list, rent));
            h.Trigger(ID_EDIT_UNDO);
        });
        h.Frame().GetView()->EditRegister("Checking");

        QCOMPARE(menu, QStringLiteral("&Undo Delete Entry\tCtrl+Z"));
        QCOMPARE(redone, QStringLiteral("-1"));
        // Back in its row, and the last row's running balance counts it again.
        const QString rentDate = QString::fromStdString(rent->m_date.Format(" %m/%d/%y"));
        QCOMPARE(restored, rentDate + "|| Rent [  ] |40.00 ||||60.00  / " +
                               QString::fromStdString((CTime::GetCurrentTime() - CTime::kDay).Format(" %m/%d/%y")) +
                               "|| Lunch [  ] |5.00 ||||80.00 ");
        QCOMPARE(h.Doc().GetEntry(0, 0), rent);
        QVERIFY(!h.Doc().IsModified());
        QCOMPARE(MenuText(h, ID_EDIT_REDO), QStringLiteral("&Redo Delete Entry\tCtrl+Y"));
        QCOMPARE(RowText(h.Frame().GetView()->AccountList(), 0), QStringLiteral("  Checking|80.00  "));
    }

    void postFromTheDashboardAndUndoWithTheKeys()
    {
        AppHarness h;
        Open(h);
        CMainFrame& frame = h.Frame();
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        CQuilletView* view = frame.GetView();
        CXListCtrl* due = view->RecurringList();
        QTRY_COMPARE(due->GetItemCount(), 1);
        const CRecurringTransaction before = *h.Doc().GetRecurring(0);
        const QString dueRow = RowText(due, 0);

        ClickCell(due, 0, 4);
        QTRY_COMPARE(h.Doc().GetAccount(0)->m_transactions.size(), size_t(4));
        QTRY_COMPARE(due->GetItemCount(), 0);
        QCOMPARE(MenuText(h, ID_EDIT_UNDO), QStringLiteral("&Undo Post Due Transaction\tCtrl+Z"));
        QVERIFY(frame.isWindowModified());

        QTest::keyClick(&frame, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(h.Doc().GetAccount(0)->m_transactions.size(), size_t(3));
        QVERIFY(SameValues(*h.Doc().GetRecurring(0), before));
        QVERIFY(!frame.isWindowModified());
        // The dashboard shows it due again, and the balance without it.
        QTRY_COMPARE(due->GetItemCount(), 1);
        QCOMPARE(RowText(due, 0), dueRow);
        QCOMPARE(RowText(view->AccountList(), 0), QStringLiteral("  Checking|80.00  "));

        QTest::keyClick(&frame, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(h.Doc().GetAccount(0)->m_transactions.size(), size_t(4));
        QTRY_COMPARE(due->GetItemCount(), 0);
        QTRY_COMPARE(RowText(view->AccountList(), 0), QStringLiteral("  Checking|67.50  "));
        QTest::keyClick(&frame, Qt::Key_Backspace, Qt::AltModifier);
        QTRY_COMPARE(due->GetItemCount(), 1);
        QTest::keyClick(&frame, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE(due->GetItemCount(), 0);
    }

    void saveQuestionOnlyWhenTheCheckbookDiffersFromItsFile()
    {
        AppHarness h;
        Open(h);
        CDocHistory& history = h.app->Session().History();
        const QString title = h.Title();

        // Changed, then undone back to what was opened: nothing to ask.
        QVERIFY(history.Apply(std::make_unique<CAddAccountChange>(AccountFields{"Cash", "", 5.0, "", "", ""})));
        QVERIFY(h.Frame().isWindowModified());
        history.Undo();
        QVERIFY(!h.Frame().isWindowModified());
        QCOMPARE(h.Title(), title);
        h.Trigger(ID_FILE_NEW);
        QVERIFY(h.messages.isEmpty());
        // New forgot every step.
        QVERIFY(!history.CanUndo() && !history.CanRedo());
        QCOMPARE(MenuText(h, ID_EDIT_REDO), QStringLiteral("(disabled) &Redo\tCtrl+Y"));

        // Saved after a change: undoing it makes the checkbook differ from
        // the file, redoing it makes them agree again.
        h.openPath = h.Path("Budget.ql1");
        h.Trigger(ID_FILE_OPEN);
        QVERIFY(history.Apply(std::make_unique<CPasswordChange>("abJnggxhB/yWI")));
        h.Trigger(ID_FILE_SAVE);
        QVERIFY(!h.Doc().IsModified());
        history.Undo();
        QVERIFY(h.Doc().IsModified());
        history.Redo();
        QVERIFY(!h.Doc().IsModified());
        history.Undo();
        h.answers = {UserMessage::Answer::Cancel};
        h.Trigger(ID_FILE_NEW);
        QCOMPARE(h.messages, QStringList{"Save changes to " + QDir::toNativeSeparators(h.Path("Budget.ql1")) + "?"});
        QVERIFY(history.CanRedo());  // cancelled: nothing forgotten

        // A step past the saved one that is then dropped leaves no way
        // back to the file's state: the checkbook differs until saved.
        QVERIFY(history.Apply(std::make_unique<CAddAccountChange>(AccountFields{"Cash", "", 5.0, "", "", ""})));
        history.Undo();
        QVERIFY(h.Doc().IsModified());

        // Steps that cancel out leave the mark on, but nothing to save.
        h.Trigger(ID_FILE_SAVE);
        QVERIFY(history.Apply(std::make_unique<CAddAccountChange>(AccountFields{"Cash", "", 5.0, "", "", ""})));
        QVERIFY(history.Apply(std::make_unique<CDeleteAccountChange>(1)));
        QVERIFY(h.Doc().IsModified());
        h.messages.clear();
        h.Trigger(ID_FILE_NEW);
        QCOMPARE(h.messages, QStringList());
        QVERIFY(!history.CanUndo());

        // Open forgets the steps as New does.
        QVERIFY(history.Apply(std::make_unique<CAddAccountChange>(AccountFields{"Cash", "", 5.0, "", "", ""})));
        h.answers = {UserMessage::Answer::No};
        h.Trigger(ID_FILE_OPEN);
        QVERIFY(!history.CanUndo() && !history.CanRedo());
        QVERIFY(!h.Doc().IsModified());

        // Right after an open, steps that cancel out leave nothing to ask
        // either; a mark made without any step still asks.
        QVERIFY(history.Apply(std::make_unique<CAddAccountChange>(AccountFields{"Cash", "", 5.0, "", "", ""})));
        QVERIFY(history.Apply(std::make_unique<CDeleteAccountChange>(1)));
        QVERIFY(h.Doc().IsModified());
        h.messages.clear();
        h.Trigger(ID_FILE_NEW);
        QCOMPARE(h.messages, QStringList());
        h.Trigger(ID_FILE_OPEN);
        h.Doc().SetModifiedFlag(true);
        h.answers = {UserMessage::Answer::Cancel};
        h.Trigger(ID_FILE_NEW);
        QCOMPARE(h.messages, QStringList{"Save changes to " + QDir::toNativeSeparators(h.Path("Budget.ql1")) + "?"});
    }
};

QTEST_MAIN(UndoRedoTest)
#include "tst_UndoRedo.moc"
