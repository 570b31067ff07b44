// The painted buttons and the clickable list cells of the dashboard.
#include "ViewTestSupport.h"

#include "RegisterDlg.h"
#include "UserMessage.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QtTest>

#include <cmath>

namespace
{
void SendMouse(QWidget* widget, QEvent::Type type, const QPoint& pos, Qt::MouseButtons held)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(pos), widget->mapToGlobal(QPointF(pos)), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}
void Press(QWidget* w, QPoint p) { SendMouse(w, QEvent::MouseButtonPress, p, Qt::LeftButton); }
void Move(QWidget* w, QPoint p) { SendMouse(w, QEvent::MouseMove, p, Qt::LeftButton); }
void Release(QWidget* w, QPoint p) { SendMouse(w, QEvent::MouseButtonRelease, p, Qt::NoButton); }
void Click(QWidget* w, QPoint p) { Press(w, p); Release(w, p); }

// Clicks the centre of a list cell the way a user would.
void ClickCell(CXListCtrl* list, int row, int column)
{
    QRect cell;
    QVERIFY(list->GetSubItemRect(row, column, CXListCtrl::AreaBounds, cell));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
}

// How a painted label looks: in its pressed colours, its normal ones, or a mix.
enum Look { Mixed, Pressed, Normal };
Look LookOf(CQuilletView& view, const QRect& label)
{
    const QImage shot = Shot(view);
    const int pressed = CountColor(shot, label, PanelColor::LabelPressed());
    const int normal = CountColor(shot, label, PanelColor::LabelNormal());
    return pressed > 10 && normal == 0 ? Pressed : normal > 10 && pressed == 0 ? Normal : Mixed;
}
}

class DashboardButtonsTest : public QObject
{
    Q_OBJECT

private slots:
    void accountRowsAndPaintedButtons()
    {
        FixedNow now;
        CQuilletDoc doc;
        AddThreeAccounts(doc);
        RecordingView view;
        view.SetDocument(&doc);
        ShowView(view);
        CXListCtrl* list = view.AccountList();
        QCOMPARE(list->GetItemCount(), 4);
        const QStringList names{"  Checking", "  Visa", "  Savings", ""};
        const QStringList balances{"100.00  ", "-25.50  ", "0.00  ", "Total: $74.50  "};
        for (int row = 0; row < 4; ++row) {
            QCOMPARE(list->GetItemText(row, 0), names[row]);
            QCOMPARE(list->GetItemText(row, 1), balances[row]);
            QCOMPARE(list->GetEnabled(row), row < 3);
        }

        // A click on any cell opens the row's register; the balance follows
        // what was entered there.
        QString lastRow;
        view.whileOpen = [&](QDialog& dialog) {
            const CXListCtrl* rows = static_cast<CRegisterDlg&>(dialog).List();
            lastRow = rows->GetItemText(rows->GetItemCount() - 1, CRegisterDlg::ColDescription).trimmed();
            doc.AddEntry("Visa", now.time, "", "Refund", "", 5.5, 0.0, 1, 0, 0, 0);
        };
        ClickCell(list, 1, 1);
        QTRY_COMPARE(view.dialogs, QStringList{"CRegisterDlg"});
        QVERIFY(lastRow.startsWith("Lunch"));  // Visa's one entry
        QTRY_COMPARE(list->GetItemText(1, 1), QString("-20.00  "));
        QCOMPARE(list->GetItemText(3, 1), QString("Total: $80.00  "));

        // Enter on the selected row opens it too; the total row opens nothing.
        view.whileOpen = nullptr;
        list->SetItemState(2, CXListCtrl::StateSelected | CXListCtrl::StateFocused,
                           CXListCtrl::StateSelected | CXListCtrl::StateFocused);
        QTest::keyClick(list, Qt::Key_Return);
        QTRY_COMPARE(view.dialogs.size(), 2);
        ClickCell(list, 3, 0);
        QTest::qWait(20);
        QCOMPARE(view.dialogs.size(), 2);
        view.dialogs.clear();

        // The day chart's "Edit": pressed, dragged off and released outside.
        const int top = view.DayChartPanel().top();
        const QRect chartLabel = EdgeRect(300, top + 3, 330, top + 19);
        const QPoint off(chartLabel.center().x(), top + 40);
        Press(&view, chartLabel.center());
        QCOMPARE(LookOf(view, chartLabel), Pressed);
        Move(&view, off);
        QCOMPARE(LookOf(view, chartLabel), Normal);
        Release(&view, off);
        Release(&view, chartLabel.center());  // a release without a press
        QVERIFY(view.dialogs.isEmpty());
        QCOMPARE(LookOf(view, chartLabel), Normal);
        Click(&view, chartLabel.center());
        QCOMPARE(view.dialogs, QStringList{"CDayChartDlg"});

        // The pie's "Edit": its right edge lies outside; its top-left corner
        // takes a press but shows no pressed look until strictly inside.
        const QRect pieLabel = EdgeRect(620, 20, 650, 36);
        Click(&view, QPoint(650, 28));
        QCOMPARE(view.dialogs.size(), 1);
        Press(&view, QPoint(620, 20));
        QCOMPARE(LookOf(view, pieLabel), Pressed);
        Move(&view, QPoint(620, 20));
        QCOMPARE(LookOf(view, pieLabel), Normal);
        Release(&view, QPoint(620, 20));
        QCOMPARE(view.dialogs.last(), QString("CCategoryViewDlg"));
        QCOMPARE(LookOf(view, pieLabel), Normal);

        // The editors' changes show when they close.
        view.whileOpen = [&doc](QDialog&) { doc.AddAccount("Cash", "444", 20.0, "", "", ""); };
        Click(&view, QPoint(280, 28));
        QCOMPARE(view.dialogs.last(), QString("CAccountsDlg"));
        QCOMPARE(list->GetItemText(3, 0), QString("  Cash"));
        QCOMPARE(list->GetItemText(4, 1), QString("Total: $100.00  "));
        QCOMPARE(view.AccountPanel().height(), 14 * 4 + 36);
        view.whileOpen = [&](QDialog&) { doc.AddRecurring("Cash", 5.0, now.Days(1), "Coffee", "", "Daily", "Forever", 0); };
        Click(&view, QPoint(290, view.RecurringPanel().top() + 10));
        QCOMPARE(view.dialogs.last(), QString("CRecurringDlg"));
        QCOMPARE(view.RecurringList()->GetItemCount(), 1);
        QCOMPARE(view.RecurringList()->GetItemText(0, 1), QString(" Coffee"));

        // New contents in the same document object (File New or Open reuse
        // it) refill the rows once the view is told, though the count is equal.
        doc.m_accounts[0]->m_strName = "Renamed";
        view.OnDocumentChanged();
        QTRY_COMPARE(list->GetItemText(0, 0), QString("  Renamed"));

        // An account without a name ends the rows; the total covers those shown.
        CQuilletDoc gap;
        gap.AddAccount("A", "1", 10.0, "", "", "");
        gap.AddAccount("", "2", 99.0, "", "", "");
        gap.AddAccount("C", "3", 1.0, "", "", "");
        view.SetDocument(&gap);
        Shot(view);
        QCOMPARE(list->GetItemCount(), 2);
        QCOMPARE(list->GetItemText(1, 1), QString("Total: $10.00  "));
        QCOMPARE(view.AccountPanel().height(), 14 * 3 + 36);  // the panel still counts every account

        // A balance that is no number (a damaged file) stays out of the total.
        gap.m_accounts[1]->m_strName = "B";
        gap.m_accounts[1]->m_dOpeningBalance = std::nan("");
        view.OnDocumentChanged();
        Shot(view);
        QCOMPARE(list->GetItemText(3, 1), QString("Total: $11.00  "));

        CQuilletDoc empty;
        view.SetDocument(&empty);
        Shot(view);
        QCOMPARE(list->GetItemCount(), 1);
        QCOMPARE(list->GetItemText(0, 1), QString("Total: $0.00  "));
    }

    void longNamesAndMissingAccountsWorkEndToEnd();

    void pieFollowsTheEntriesItSums()
    {
        // An 80.00 electricity check and 20.00 of food: electricity is the
        // first (blue) wedge, food the second (yellow).
        FixedNow now;
        CQuilletDoc doc;
        doc.AddAccount("Checking", "1", 500.0, "", "", "");
        CTransaction* check =
            doc.AddEntry("Checking", now.Days(-3), "1001", "Power", "Electricity", 80.0, 0.0, 0, 0, 0, 0);
        doc.AddEntry("Checking", now.Days(-2), "", "Market", "Food", 20.0, 0.0, 0, 0, 0, 0);
        RecordingView view;
        view.SetDocument(&doc);
        const int cx = 510, cy = 179;
        const QRect square = EdgeRect(cx - 120, cy - 120, cx + 120, cy + 120);
        const QColor blue(10, 10, 255), yellow(255, 255, 10);
        QImage image = ShowView(view);
        QCOMPARE(Pixel(image, cx - 60, cy), blue);
        QCOMPARE(Pixel(image, cx + 30, cy - 80), yellow);

        // Voided in the register, the check spent nothing: food fills the pie
        // as soon as the register closes.
        view.whileOpen = [&](QDialog&) { check->m_bVoid = 1; };
        ClickCell(view.AccountList(), 0, 0);
        QTRY_COMPARE(view.dialogs, QStringList{"CRegisterDlg"});
        image = Shot(view);
        QCOMPARE(CountColor(image, square, yellow), 0);
        QCOMPARE(Pixel(image, cx + 30, cy - 80), blue);

        // Changed behind the view's back (the reconcile dialog, a file read):
        // the view is told and sums again.
        check->m_bVoid = 0;
        view.OnDocumentChanged();
        QCOMPARE(Pixel(Shot(view), cx + 30, cy - 80), yellow);
    }

    void dueRowsAddAndSkip()
    {
        // 25 December 2002: 12/20/02 and 01/05/03 are due within 20 days and
        // sort by their date texts.
        FixedNow now(CTime(2002, 12, 25, 12, 0, 0));
        CQuilletDoc doc;
        doc.AddAccount("Checking", "1", 100.0, "", "", "");
        CRecurringTransaction* paper =
            doc.AddRecurring("Checking", 12.5, CTime(2002, 12, 20, 0, 0, 0), "Paper", "", "Weekly", "Forever", 0);
        CRecurringTransaction* pay =
            doc.AddRecurring("Checking", -300.0, CTime(2003, 1, 5, 0, 0, 0), "Pay", "", "Monthly", "Forever", 0);
        doc.AddRecurring("Checking", 1.0, CTime(2003, 1, 20, 0, 0, 0), "Not yet", "", "Monthly", "Forever", 0);
        CQuilletView view;
        view.SetDocument(&doc);
        ShowView(view);
        CXListCtrl* due = view.RecurringList();
        QCOMPARE(due->GetItemCount(), 2);
        const QStringList first{"01/05/03", " Pay", "300.00 ", "D", "Add", "Skip"};
        const QStringList second{"12/20/02", " Paper", "12.50 ", "W", "Add", "Skip"};
        for (int c = 0; c < 6; ++c) {
            QCOMPARE(due->GetItemText(0, c), first[c]);
            QCOMPARE(due->GetItemText(1, c), second[c]);
        }

        // The date and amount cells do nothing; "Add" posts at once and a
        // week on the item is still due.
        ClickCell(due, 1, 0);
        ClickCell(due, 1, 2);
        QTest::qWait(20);
        QCOMPARE(paper->m_nPeriodsDone, 0);
        ClickCell(due, 1, 4);
        QTRY_COMPARE(view.AccountList()->GetItemText(0, 1), QString("87.50  "));
        QCOMPARE(due->GetItemCount(), 2);
        QCOMPARE(due->GetItemText(1, 0), QString("12/27/02"));

        // "Skip" moves Pay a month on, out of the window: the panel shrinks.
        const int before = view.RecurringPanel().height();
        ClickCell(due, 0, 5);
        QTRY_COMPARE(view.RecurringPanel().height(), before - 14);
        QCOMPARE(due->GetItemCount(), 1);
        QCOMPARE(due->GetItemText(0, 1), QString(" Paper"));
        QCOMPARE(pay->m_nPeriodsDone, 1);
        QCOMPARE(view.AccountList()->GetItemText(0, 1), QString("87.50  "));  // nothing posted

        // A row whose record was deleted behind the view's back does nothing.
        doc.DeleteRecurring(0);
        ClickCell(due, 0, 4);
        QTest::qWait(20);
        QCOMPARE(doc.FindAccount("Checking")->m_transactions.size(), size_t(1));
    }
};

void DashboardButtonsTest::longNamesAndMissingAccountsWorkEndToEnd()
{
    FixedNow now;
    QStringList messages;
    UserMessage::SetHandler([&messages](const UserMessage::Shown& shown) {
        messages << shown.text;
        return UserMessage::Answer::Ok;
    });
    // A name longer than the 31 characters the names list keeps, as files
    // written elsewhere may hold.
    const std::string longName = "Household Joint Checking at the Credit Union";
    CQuilletDoc doc;
    doc.AddAccount("Checking", "1", 100.0, "", "", "");
    doc.AddAccount(longName, "2", 40.0, "", "", "");
    doc.AddEntry(longName, now.Days(-2), "", "Groceries", "", 15.0, 0.0, 0, 0, 0, 0);
    CRecurringTransaction* orphan =
        doc.AddRecurring("Closed Account", 12.5, now.Days(2), "Magazine", "Books", "Monthly", "Forever", 0);
    doc.AddRecurring("Checking", 30.0, now.Days(3), "Phone", "", "Monthly", "Forever", 0);
    doc.RebuildCategoryTotals();
    doc.SetModifiedFlag(false);
    RecordingView view;
    view.SetDocument(&doc);
    ShowView(view);

    // Its balance is shown and counted.
    CXListCtrl* accounts = view.AccountList();
    QCOMPARE(accounts->GetItemText(1, 0), QString::fromStdString("  " + longName));
    QCOMPARE(accounts->GetItemText(1, 1), QString("25.00  "));
    QCOMPARE(accounts->GetItemText(2, 1), QString("Total: $125.00  "));

    // Its register opens with its entries, and an entry saved there lands in it.
    int rows = 0;
    view.whileOpen = [&](QDialog& dialog) {
        rows = static_cast<CRegisterDlg&>(dialog).List()->GetItemCount();
        dialog.findChild<QLineEdit*>("description")->setText("Bakery");
        dialog.findChild<QLineEdit*>("amount")->setText("4.50");
        dialog.findChild<QPushButton*>("saveEntry")->click();
    };
    ClickCell(accounts, 1, 0);
    QTRY_COMPARE(view.dialogs, QStringList{"CRegisterDlg"});
    QCOMPARE(rows, 2);  // the opening row and Groceries
    QCOMPARE(doc.FindAccount(longName)->m_transactions.size(), size_t(2));
    QTRY_COMPARE(accounts->GetItemText(1, 1), QString("20.50  "));
    QVERIFY(messages.isEmpty());

    // "Add" on a transaction whose account is gone changes nothing and says
    // which account is missing; "Skip" still works.
    CXListCtrl* due = view.RecurringList();
    QCOMPARE(due->GetItemText(0, 1), QString(" Magazine"));
    doc.SetModifiedFlag(false);
    const CTime next = orphan->m_nextDate;
    auto totals = [&doc] {
        double sum = 0.0;
        for (const CATTOTAL_NODE* node = doc.m_pCategoryTotals.get(); node; node = node->next.get())
            sum += node->total;
        return sum;
    };
    const double totalsBefore = totals();
    ClickCell(due, 0, 4);
    QTRY_COMPARE(messages.size(), 1);
    QVERIFY(messages[0].contains("\"Closed Account\" does not exist"));
    QVERIFY(messages[0].contains("Add/Edit Recurring"));
    QCOMPARE(orphan->m_nPeriodsDone, 0);
    QCOMPARE(orphan->m_nextDate, next);
    QVERIFY(!doc.IsModified());
    QCOMPARE(totals(), totalsBefore);
    for (const auto& account : doc.m_accounts)
        for (const auto& entry : account->m_transactions)
            QVERIFY(entry->m_strDescription != "Magazine");
    ClickCell(due, 0, 5);
    QTRY_COMPARE(orphan->m_nPeriodsDone, 1);
    QVERIFY(doc.IsModified());
    UserMessage::SetHandler({});
}

QTEST_MAIN(DashboardButtonsTest)
#include "tst_DashboardButtons.moc"
