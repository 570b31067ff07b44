// The painted buttons and the clickable list cells of the dashboard.
#include "ViewTestSupport.h"

#include "RegisterDlg.h"

#include <QMouseEvent>
#include <QtTest>

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

// Clicks the centre of a list cell the way a user would.
void ClickCell(CXListCtrl* list, int row, int column)
{
    QRect cell;
    QVERIFY(list->GetSubItemRect(row, column, CXListCtrl::AreaBounds, cell));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
}

int LabelPixels(CQuilletView& view, const QRect& label, const QColor& color)
{
    return CountColor(Shot(view), label, color);
}
}

class DashboardButtonsTest : public QObject
{
    Q_OBJECT

private slots:
    void dragOffTheDayChartLabelOpensNothing()
    {
        FixedNow now;
        CQuilletDoc doc;
        RecordingView view;
        view.SetDocument(&doc);
        ShowView(view);
        const int top = view.DayChartPanel().top();
        const QRect label = EdgeRect(300, top + 3, 330, top + 19);

        Press(&view, label.center());
        QVERIFY(LabelPixels(view, label, PanelColor::LabelPressed()) > 10);
        QCOMPARE(LabelPixels(view, label, PanelColor::LabelNormal()), 0);

        Move(&view, QPoint(label.center().x(), top + 40));
        QCOMPARE(LabelPixels(view, label, PanelColor::LabelPressed()), 0);
        QVERIFY(LabelPixels(view, label, PanelColor::LabelNormal()) > 10);
        Release(&view, QPoint(label.center().x(), top + 40));
        QVERIFY(view.dialogs.isEmpty());
        QVERIFY(LabelPixels(view, label, PanelColor::LabelNormal()) > 10);

        // A release on the label without a press fires nothing either.
        Release(&view, label.center());
        QVERIFY(view.dialogs.isEmpty());

        // A plain move over the label changes nothing: no hover look.
        SendMouse(&view, QEvent::MouseMove, label.center(), Qt::NoButton);
        QCOMPARE(LabelPixels(view, label, PanelColor::LabelPressed()), 0);

        Press(&view, label.center());
        Release(&view, label.center());
        QCOMPARE(view.dialogs, QStringList{"CDayChartDlg"});
    }

    void labelEdgesPressButFeedbackIsStrict()
    {
        FixedNow now;
        CQuilletDoc doc;
        RecordingView view;
        view.SetDocument(&doc);
        ShowView(view);
        const QRect label = EdgeRect(620, 20, 650, 36);  // the pie's "Edit"

        // The right edge lies outside the label.
        Press(&view, QPoint(650, 28));
        Release(&view, QPoint(650, 28));
        QVERIFY(view.dialogs.isEmpty());

        Press(&view, QPoint(620, 20));  // top-left corner counts
        QVERIFY(LabelPixels(view, label, PanelColor::LabelPressed()) > 10);
        Move(&view, QPoint(620, 20));  // ... but is not strictly inside
        QCOMPARE(LabelPixels(view, label, PanelColor::LabelPressed()), 0);
        Move(&view, QPoint(621, 21));
        QVERIFY(LabelPixels(view, label, PanelColor::LabelPressed()) > 10);
        Release(&view, QPoint(620, 20));
        QCOMPARE(view.dialogs, QStringList{"CCategoryViewDlg"});
        // After the action the label is painted normally again.
        QVERIFY(LabelPixels(view, label, PanelColor::LabelNormal()) > 10);
        QCOMPARE(LabelPixels(view, label, PanelColor::ListCell()), 0);
    }

    void editorsRefillTheirLists()
    {
        FixedNow now;
        CQuilletDoc doc;
        AddThreeAccounts(doc);
        RecordingView view;
        view.SetDocument(&doc);
        ShowView(view);
        QCOMPARE(view.AccountList()->GetItemCount(), 4);

        // The accounts editor adds one; the list shows it when it closes.
        view.whileOpen = [&doc](QDialog&) { doc.AddAccount("Cash", "444", 20.0, "", "", ""); };
        Press(&view, QPoint(280, 28));
        Release(&view, QPoint(280, 28));
        QCOMPARE(view.dialogs, QStringList{"CAccountsDlg"});
        QCOMPARE(view.AccountList()->GetItemCount(), 5);
        QCOMPARE(view.AccountList()->GetItemText(3, 0), QString("  Cash"));
        QCOMPARE(view.AccountList()->GetItemText(4, 1), QString("Total: $94.50  "));
        QCOMPARE(view.AccountPanel().height(), 14 * 4 + 36);

        // The recurring editor adds a due item.
        view.whileOpen = [&](QDialog&) {
            doc.AddRecurring("Cash", 5.0, DaysFromNow(now, 1), "Coffee", "", "Daily", "Forever", 0);
        };
        const int recurringTop = view.RecurringPanel().top();
        Press(&view, QPoint(290, recurringTop + 10));
        Release(&view, QPoint(290, recurringTop + 10));
        QCOMPARE(view.dialogs.last(), QString("CRecurringDlg"));
        QCOMPARE(view.RecurringList()->GetItemCount(), 1);
        QCOMPARE(view.RecurringList()->GetItemText(0, 1), QString(" Coffee"));
    }

    void accountRowsAndTotal()
    {
        FixedNow now;
        CQuilletDoc doc;
        AddThreeAccounts(doc);
        CQuilletView view;
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
            QVERIFY(list->GetBold(row, 0));
        }
        QCOMPARE(list->GetCell(0, 0)->crText, PanelColor::LabelNormal());
        QCOMPARE(list->GetCell(3, 1)->crText, QColor(130, 130, 130));

        // The same document object with new contents (File New or Open
        // reuse it): the view is told and refills, though the count is equal.
        doc.m_accounts[0]->m_strName = "Renamed";
        view.update();
        QCoreApplication::processEvents();
        QCOMPARE(list->GetItemText(0, 0), QString("  Checking"));  // a plain repaint keeps the rows
        view.OnDocumentChanged();
        QTRY_COMPARE(list->GetItemText(0, 0), QString("  Renamed"));

        // An account without a name ends the rows; the total covers those shown.
        CQuilletDoc gap;
        gap.AddAccount("A", "1", 10.0, "", "", "");
        gap.AddAccount("", "2", 99.0, "", "", "");
        gap.AddAccount("C", "3", 1.0, "", "", "");
        view.SetDocument(&gap);
        ShowView(view);
        QCOMPARE(list->GetItemCount(), 2);
        QCOMPARE(list->GetItemText(1, 1), QString("Total: $10.00  "));
        QCOMPARE(view.AccountPanel().height(), 14 * 3 + 36);  // the panel still counts every account

        // No accounts: the total row alone.
        CQuilletDoc empty;
        view.SetDocument(&empty);
        ShowView(view);
        QCOMPARE(list->GetItemCount(), 1);
        QCOMPARE(list->GetItemText(0, 1), QString("Total: $0.00  "));
    }

    void accountRowOpensItsRegister()
    {
        FixedNow now;
        CQuilletDoc doc;
        AddThreeAccounts(doc);
        RecordingView view;
        view.SetDocument(&doc);
        ShowView(view);

        QStringList shown;
        view.whileOpen = [&](QDialog& dialog) {
            auto* editor = qobject_cast<CRegisterDlg*>(&dialog);
            QVERIFY(editor);
            for (int row = 0; row < editor->List()->GetItemCount(); ++row)
                shown << editor->List()->GetItemText(row, CRegisterDlg::ColDescription).trimmed();
            doc.AddEntry("Visa", now.time, "", "Refund", "", 5.5, 0.0, 1, 0, 0, 0);
        };
        ClickCell(view.AccountList(), 1, 1);  // any cell of the row
        QTRY_COMPARE(view.dialogs, QStringList{"CRegisterDlg"});
        QCOMPARE(shown.size(), 2);  // the opening balance and Visa's one entry
        QVERIFY(shown.last().startsWith("Lunch"));
        QTRY_COMPARE(view.AccountList()->GetItemText(1, 1), QString("-20.00  "));
        QCOMPARE(view.AccountList()->GetItemText(3, 1), QString("Total: $80.00  "));

        // From the keyboard: Enter on the selected row.
        view.whileOpen = nullptr;
        view.AccountList()->SetItemState(2, CXListCtrl::StateSelected | CXListCtrl::StateFocused,
                                         CXListCtrl::StateSelected | CXListCtrl::StateFocused);
        QTest::keyClick(view.AccountList(), Qt::Key_Return);
        QTRY_COMPARE(view.dialogs.size(), 2);
        view.dialogs.clear();

        // The total row is greyed out and opens nothing.
        ClickCell(view.AccountList(), 3, 0);
        QTest::qWait(20);
        QVERIFY(view.dialogs.isEmpty());
    }

    void dueRowsSortByDateText()
    {
        // 25 December 2002: 12/20/02 and 01/05/03 are both due within 20 days.
        FixedNow now(CTime(2002, 12, 25, 12, 0, 0));
        CQuilletDoc doc;
        doc.AddAccount("Checking", "1", 0.0, "", "", "");
        doc.AddRecurring("Checking", 12.5, CTime(2002, 12, 20, 0, 0, 0), "Paper", "", "Weekly", "Forever", 0);
        doc.AddRecurring("Checking", -300.0, CTime(2003, 1, 5, 0, 0, 0), "Pay", "", "Monthly", "Forever", 0);
        doc.AddRecurring("Checking", 1.0, CTime(2003, 1, 20, 0, 0, 0), "Not yet", "", "Monthly", "Forever", 0);
        CQuilletView view;
        view.SetDocument(&doc);
        ShowView(view);
        CXListCtrl* list = view.RecurringList();
        QCOMPARE(list->GetItemCount(), 2);
        const QStringList first{"01/05/03", " Pay", "300.00 ", "D", "Add", "Skip"};
        const QStringList second{"12/20/02", " Paper", "12.50 ", "W", "Add", "Skip"};
        for (int c = 0; c < 6; ++c) {
            QCOMPARE(list->GetItemText(0, c), first[c]);
            QCOMPARE(list->GetItemText(1, c), second[c]);
            QCOMPARE(list->GetBold(0, c), c >= 4);
        }
        QCOMPARE(reinterpret_cast<CRecurringTransaction*>(list->GetItemData(0)), doc.GetRecurring(1));
        QCOMPARE(view.RecurringPanel().height(), 14 * 2 + 22);
    }

    void addPostsAndTheBalanceRowFollows()
    {
        FixedNow now;
        CQuilletDoc doc;
        doc.AddAccount("Checking", "1", 100.0, "", "", "");
        CRecurringTransaction* paper =
            doc.AddRecurring("Checking", 12.5, DaysFromNow(now, 2), "Paper", "", "Weekly", "Forever", 0);
        CQuilletView view;
        view.SetDocument(&doc);
        ShowView(view);
        QCOMPARE(view.AccountList()->GetItemText(0, 1), QString("100.00  "));

        // The date and amount cells do nothing.
        ClickCell(view.RecurringList(), 0, 0);
        ClickCell(view.RecurringList(), 0, 2);
        QTest::qWait(20);
        QCOMPARE(paper->m_nPeriodsDone, 0);

        ClickCell(view.RecurringList(), 0, 4);
        QTRY_COMPARE(view.AccountList()->GetItemText(0, 1), QString("87.50  "));
        QCOMPARE(doc.FindAccount("Checking")->m_transactions.size(), size_t(1));
        QCOMPARE(doc.FindAccount("Checking")->m_transactions[0]->m_strCheckNumber, std::string("R-1"));
        // A week on it is still due: the row shows its next date.
        QCOMPARE(view.RecurringList()->GetItemCount(), 1);
        QCOMPARE(view.RecurringList()->GetItemText(0, 0),
                 QString::fromStdString(DaysFromNow(now, 9).Format("%m/%d/%y")));
    }

    void skipMovesAMonthlyItemOutOfTheWindow()
    {
        FixedNow now;
        CQuilletDoc doc;
        doc.AddAccount("Checking", "1", 100.0, "", "", "");
        doc.AddRecurring("Checking", 40.0, DaysFromNow(now, 3), "Phone", "", "Monthly", "Forever", 0);
        doc.AddRecurring("Checking", 9.0, DaysFromNow(now, 5), "Paper", "", "Weekly", "Forever", 0);
        CQuilletView view;
        view.SetDocument(&doc);
        ShowView(view);
        const int before = view.RecurringPanel().height();
        const int chartBefore = view.DayChartPanel().top();
        QCOMPARE(view.RecurringList()->GetItemText(0, 1), QString(" Phone"));

        ClickCell(view.RecurringList(), 0, 5);
        QTRY_COMPARE(view.RecurringPanel().height(), before - 14);
        QCOMPARE(view.DayChartPanel().top(), chartBefore - 14);
        QCOMPARE(view.RecurringList()->GetItemCount(), 1);
        QCOMPARE(view.RecurringList()->GetItemText(0, 1), QString(" Paper"));
        QCOMPARE(view.RecurringList()->height(), 14 + 2);
        QCOMPARE(view.AccountList()->GetItemText(0, 1), QString("100.00  "));  // nothing posted
        QCOMPARE(doc.GetRecurring(0)->m_nPeriodsDone, 1);
    }

    void rowsOfARecordThatIsGoneDoNothing()
    {
        FixedNow now;
        CQuilletDoc doc;
        doc.AddAccount("Checking", "1", 100.0, "", "", "");
        doc.AddRecurring("Checking", 40.0, DaysFromNow(now, 3), "Phone", "", "Monthly", "Forever", 0);
        CQuilletView view;
        view.SetDocument(&doc);
        ShowView(view);
        // Changed behind the view's back: the list still holds the old row.
        doc.DeleteRecurring(0);
        ClickCell(view.RecurringList(), 0, 4);
        QTest::qWait(20);
        QCOMPARE(view.AccountList()->GetItemText(0, 1), QString("100.00  "));
        QVERIFY(doc.FindAccount("Checking")->m_transactions.empty());
    }
};

QTEST_MAIN(DashboardButtonsTest)
#include "tst_DashboardButtons.moc"
