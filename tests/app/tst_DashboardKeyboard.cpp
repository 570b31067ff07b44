// The dashboard without a mouse: from a freshly opened checkbook, Tab and
// Enter open a register, post a due recurring transaction and open the
// accounts editor. And in a window smaller than its panels, which scrolls.
#include "AppTestSupport.h"

#include "QuilletView.h"
#include "XListCtrl.h"

#include <QApplication>
#include <QDialog>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

namespace
{
// Counts the mouse presses the application sees.
class MouseWatch : public QObject
{
public:
    int presses = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
            ++presses;
        return false;
    }
};

// Presses key on the focused widget, answers the modal dialog it opens by
// noting its title and pressing Escape, and waits for window to be active
// again (which the headless platform leaves to the test).
QString PressAndEscape(QWidget& window, Qt::Key key)
{
    QString title;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            poll.stop();
            title = dialog->windowTitle();
            QTest::keyClick(dialog, Qt::Key_Escape);
        }
    });
    poll.start(10);
    QTest::keyClick(QApplication::focusWidget(), key);
    // The register opens through the event loop, after the key.
    if (!QTest::qWaitFor([&] { return !title.isEmpty() && !QApplication::activeModalWidget(); }, 2000))
        return QString();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window) ? title : QString();
}

// Twelve accounts in a window smaller than the dashboard.
bool ShowSmallDashboard(AppHarness& h)
{
    if (!h.Start())
        return false;
    for (int i = 0; i < 12; ++i)
        h.Doc().AddAccount("Account " + std::to_string(i), "1", 1.0, "", "", "");
    CMainFrame& frame = h.Frame();
    frame.resize(420, 330);
    frame.show();
    frame.activateWindow();
    if (!QTest::qWaitForWindowActive(&frame))
        return false;
    frame.GetView()->OnDocumentChanged();
    return true;
}
}

class DashboardKeyboardTest : public QObject
{
    Q_OBJECT

private slots:
    void registerPostingAndAccountsWithTheKeysAlone()
    {
        AppHarness h;
        const QString path = h.Path("keys.ql1");
        {
            CQuilletDoc doc;
            doc.AddAccount("Checking", "1001", 250.0, "", "", "");
            doc.AddAccount("Savings", "1002", 10.0, "", "", "");
            doc.AddRecurring("Checking", 40.0, CTime::GetCurrentTime() - CTime::kDay, "Phone", "", "Monthly",
                             "Forever", 0);
            doc.AddRecurring("Savings", 15.0, CTime::GetCurrentTime() + CTime::kDay, "Water", "", "Monthly",
                             "Forever", 0);
            FileError error;
            QVERIFY2(SaveCheckbookFile(doc, path.toStdString(), error), error.message.c_str());
        }
        QVERIFY(h.Start({path}));
        MouseWatch mouse;
        qApp->installEventFilter(&mouse);
        CMainFrame& frame = h.Frame();
        frame.show();
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        CQuilletView* view = frame.GetView();
        CXListCtrl* accounts = view->AccountList();
        CXListCtrl* due = view->RecurringList();

        // The dashboard has the focus on its first button.
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(view));
        QCOMPARE(due->GetItemCount(), 2);

        // Tab: the account list, on its first row; Enter opens its register.
        QTest::keyClick(view, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(accounts));
        QCOMPARE(accounts->GetSelectionMark(), 0);
        QCOMPARE(PressAndEscape(frame, Qt::Key_Return), QStringLiteral("Registry Editor"));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(accounts));
        QCOMPARE(accounts->GetSelectionMark(), 0);  // the refilled list keeps the row

        // The arrows walk the rows.
        QTest::keyClick(accounts, Qt::Key_Down);
        QCOMPARE(accounts->GetSelectionMark(), 1);

        // Tab twice: past the recurring button to the first due row; Right to
        // its Add cell and Enter posts it.
        QTest::keyClick(accounts, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(view));
        QTest::keyClick(view, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(due));
        QCOMPARE(due->GetSelectionMark(), 0);
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(due, Qt::Key_Right);
        QCOMPARE(due->currentIndex().column(), 4);
        QTest::keyClick(due, Qt::Key_Return);
        CAccount* checking = h.Doc().GetAccount(0);
        QTRY_COMPARE(checking->m_transactions.size(), size_t(1));
        QCOMPARE(checking->m_transactions.front()->m_dAmount, -40.0);
        QCOMPARE(h.Doc().GetAccountBalance("Checking", 0), 210.0);
        // Posted, the row is no longer due; the focus stays on the row that
        // took its place, which S skips. With no row left, the focus goes
        // back to the panel's button.
        QTRY_COMPARE(due->GetItemCount(), 1);
        QCOMPARE(due->GetSelectionMark(), 0);
        QTest::keyClick(due, Qt::Key_S);
        QTRY_COMPARE(due->GetItemCount(), 0);
        QCOMPARE(h.Doc().GetAccount(1)->m_transactions.size(), size_t(0));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(view));

        // Back to the account panel's button; Enter opens the accounts editor.
        QTest::keyClick(view, Qt::Key_Tab, Qt::ShiftModifier);
        QTest::keyClick(view, Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(view));
        QCOMPARE(PressAndEscape(frame, Qt::Key_Return), QStringLiteral("Add/Edit Accounts"));

        QCOMPARE(mouse.presses, 0);
        qApp->removeEventFilter(&mouse);
    }

    void aSmallWindowScrollsToEveryPanel()
    {
        AppHarness h;
        QVERIFY(ShowSmallDashboard(h));
        CMainFrame& frame = h.Frame();
        CQuilletView* view = frame.GetView();
        auto* scroll = frame.findChild<QScrollArea*>("DashboardScroll");
        QVERIFY(scroll);

        // The view takes the room of its panels, ten units beyond the last,
        // whatever the window's size; the rest scrolls.
        const int chartBottom = view->DayChartPanel().top() + 135;
        QCOMPARE(chartBottom, 17 + 14 * 12 + 36 + 20 + 22 + 20 + 135);
        QTRY_COMPARE(view->size(), QSize(670, chartBottom + 10));
        QVERIFY(scroll->verticalScrollBar()->maximum() > 0);
        QVERIFY(scroll->horizontalScrollBar()->maximum() > 0);

        // The keyboard brings its place into sight: the pie's button (four
        // stops on: the account list, two buttons, no due rows), then the
        // day chart's at the bottom.
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(view));
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const QRect shown(QPoint(scroll->horizontalScrollBar()->value(), scroll->verticalScrollBar()->value()),
                          scroll->viewport()->size());
        QVERIFY(shown.contains(QPoint(650, 36)));
        QVERIFY(scroll->horizontalScrollBar()->value() > 0);
        QTest::keyClick(view, Qt::Key_Left);
        const int top = scroll->verticalScrollBar()->value();
        QVERIFY(top <= view->DayChartPanel().top() + 3 && top + scroll->viewport()->height() >= view->DayChartPanel().top() + 19);
    }

    void tabIntoTheAccountListKeepsThePanelsLeftEdgeInSight()
    {
        // A window narrow in its own units, as at twice the usual scale.
        AppHarness h;
        QVERIFY(ShowSmallDashboard(h));
        CMainFrame& frame = h.Frame();
        CQuilletView* view = frame.GetView();
        auto* scroll = frame.findChild<QScrollArea*>("DashboardScroll");
        QScrollBar* across = scroll->horizontalScrollBar();
        const QRect panel = view->AccountPanel();
        QCOMPARE(panel.left(), 10);

        // From the panel's button to its list, with the view showing `width`
        // units from `from`: where the view is then.
        auto tabIn = [&](int width, int from) {
            frame.resize(frame.width() + width - scroll->viewport()->width(), 330);
            if (!QTest::qWaitFor([&] { return scroll->viewport()->width() == width; }, 2000))
                return -1;
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
            across->setValue(from);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            return QApplication::focusWidget() == view->AccountList() ? across->value() : -2;
        };
        QTest::keyClick(view, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(view->AccountList()));
        // The panel in sight: no jump sideways.
        QCOMPARE(tabIn(400, 5), 5);
        QCOMPARE(tabIn(400, 0), 0);
        // The panel fits but its right edge is out of sight: moved just
        // enough, its left edge kept.
        QCOMPARE(tabIn(panel.width() + 5, 0), 5);
        // Narrower than the panel: its left edge, never the middle.
        QCOMPARE(tabIn(250, 0), panel.left());
        QCOMPARE(tabIn(250, 300), panel.left());
    }
};

QTEST_MAIN(DashboardKeyboardTest)
#include "tst_DashboardKeyboard.moc"
