// The main window's menus, keys, toolbar and status bar.
#include "AppTestSupport.h"

#include "LockKeys.h"
#include "RecentFileList.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

class MainFrameTest : public QObject
{
    Q_OBJECT

    static QStringList Texts(const QList<QAction*>& actions)
    {
        QStringList texts;
        for (QAction* action : actions) {
            if (action->isSeparator())
                texts << "-";
            else if (action->isVisible())
                texts << action->text();
        }
        return texts;
    }

private slots:
    void menusKeysAndCommands()
    {
        AppHarness h;
        QVERIFY(h.Start());
        const QList<QAction*> menus = h.Frame().menuBar()->actions();
        QCOMPARE(Texts(menus), (QStringList{"&File", "&Edit", "&View", "&Help"}));
        QCOMPARE(Texts(menus[0]->menu()->actions()),
                 (QStringList{"&New\tCtrl+N", "&Open...\tCtrl+O", "&Save\tCtrl+S", "Save &As...", "-",
                              "&Import Statement...", "-", "S&et Password...", "En&cryption...", "-", "&Print...\tCtrl+P", "Print Pre&view", "P&rint Setup...",
                              "Export P&DF...", "-", "Recent File", "-", "E&xit"}));
        QCOMPARE(Texts(menus[1]->menu()->actions()),
                 (QStringList{"&Undo\tCtrl+Z", "&Redo\tCtrl+Y", "-", "Cu&t\tCtrl+X", "&Copy\tCtrl+C",
                              "&Paste\tCtrl+V"}));
        QCOMPARE(Texts(menus[2]->menu()->actions()),
                 (QStringList{"&Toolbar", "&Status Bar", "&Balance...", "&Categories...", "&Reconsile...", "-",
                              "&Accounts...", "Rec&urring Transactions...", "&Day Chart Settings...",
                              "Category &View Settings..."}));
        QCOMPARE(Texts(menus[3]->menu()->actions()), QStringList{"&About Quillet..."});
        for (QAction* action : menus[1]->menu()->actions())
            QVERIFY(action->isSeparator() || !action->isEnabled());

        // Ctrl+N really reaches New: the save question shows.
        h.Modify();
        h.answers = {UserMessage::Answer::Cancel};
        h.Frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&h.Frame()));
        QTest::keyClick(&h.Frame(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(h.messages, QStringList{"Save changes to Untitled?"});

        // The View commands open their dialogs, even on an empty checkbook.
        h.Doc().SetModifiedFlag(false);
        const QList<QPair<int, QString>> commands{{ID_VIEW_BALANCE, "Balance Books"},
                                                  {ID_VIEW_CATEGORIES, "Define Categories"},
                                                  {ID_VIEW_RECONSILE, "Reconsile Accounts"},
                                                  // and the dashboard's editors, as their buttons do
                                                  {ID_VIEW_ACCOUNTS, "Add/Edit Accounts"},
                                                  {ID_VIEW_RECURRING, "Add/Edit Recurring"},
                                                  {ID_VIEW_DAY_CHART, "Day Chart Settings"},
                                                  {ID_VIEW_CATEGORY_VIEW, "Category View Settings"}};
        for (const auto& [command, title] : commands) {
            h.Doc().SetModifiedFlag(false);
            QString shown;
            QTimer::singleShot(0, [&shown] {
                auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                shown = dialog->windowTitle();
                dialog->accept();
            });
            h.Trigger(command);
            QCOMPARE(shown, title);
            // (Day chart lines are stored in the file: choosing them is a change.)
            QVERIFY2(!h.Doc().IsModified() || command == ID_VIEW_DAY_CHART, qPrintable(title));
        }
    }

    // File > Import Statement: the chosen file's preview, and the import
    // shows on the dashboard as an unsaved change.
    void importStatementCommand()
    {
        AppHarness h;
        QVERIFY(h.Start());
        h.Doc().AddAccount("Checking", "1", 10.0, "", "", "");
        const QString statement = h.Path("june.qif");
        WriteFileBytes(statement, "!Type:Bank\nD6/14/2024\nT-2.50\nPTea\n^\n");
        QString chosen = statement;
        h.Frame().SetStatementPathDialog([&chosen](QWidget*, const QString&) { return chosen; });
        QString title;
        QTimer::singleShot(0, [&title] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            title = dialog->windowTitle();
            dialog->accept();
        });
        h.Trigger(ID_FILE_IMPORT_STATEMENT);
        QCOMPARE(title, "Import Statement - june.qif");
        QCOMPARE(h.messages, QStringList{"Added 1 entry to \"Checking\"; nothing left out."});
        QCOMPARE(h.Doc().GetAccountBalance("Checking", 0), 7.5);
        QVERIFY(h.Frame().isWindowModified());

        chosen.clear();  // cancelled: nothing happens
        h.Trigger(ID_FILE_IMPORT_STATEMENT);
        QCOMPARE(h.messages.size(), 1);
    }

    void toolbarAndStatusBar()
    {
        LockKeys::SetReader([](LockKey key) { return key == LockKey::Num; });
        AppHarness h;
        QVERIFY(h.Start());
        // The message pane follows the item under the pointer.
        QCOMPARE(h.Frame().MessagePane()->text(), QString("Ready"));
        QStatusTipEvent hover(CommandStatusTip(ID_FILE_SAVE_AS));
        QApplication::sendEvent(&h.Frame(), &hover);
        QCOMPARE(h.Frame().MessagePane()->text(), QString("Save the active document with a new name"));
        QStatusTipEvent leave{QString()};
        QApplication::sendEvent(&h.Frame(), &leave);
        QCOMPARE(h.Frame().MessagePane()->text(), QString("Ready"));

        // The lock indicators follow the keys.
        QCOMPARE(h.Frame().IndicatorPane(0)->text(), QString());
        QCOMPARE(h.Frame().IndicatorPane(1)->text(), QString("NUM"));
        LockKeys::SetReader([](LockKey) { return true; });
        QTest::keyClick(&h.Frame(), Qt::Key_CapsLock);
        QCOMPARE(h.Frame().IndicatorPane(0)->text(), QString("CAP"));
        QCOMPARE(h.Frame().IndicatorPane(2)->text(), QString("SCRL"));
        LockKeys::SetReader({});

        // The toggles hide and show the bars.
        h.Trigger(ID_VIEW_TOOLBAR);
        h.Trigger(ID_VIEW_STATUS_BAR);
        QVERIFY(!h.Frame().ToolBar()->isVisible());
        QVERIFY(!h.Frame().statusBar()->isVisible());
        h.Trigger(ID_VIEW_TOOLBAR);
        QVERIFY(h.Frame().ToolBar()->isVisible());
        QVERIFY(h.Frame().CommandAction(ID_VIEW_TOOLBAR)->isChecked());
    }

    void recentFileMenuTexts()
    {
        // An ampersand in a path is text, not a mnemonic.
        QCOMPARE(RecentFileMenuText(3, "/data/Tom & Ann.ql1"), QString("&4 /data/Tom && Ann.ql1"));
        // Long paths keep the file name whole.
        const QString text = RecentFileMenuText(1, "/data/" + QString("folder/").repeated(12) + "Household Budget.ql1");
        QVERIFY2(text.size() < 60 && text.startsWith("&2 /data/") && text.endsWith(".../Household Budget.ql1"),
                 qPrintable(text));
    }
};

QTEST_MAIN(MainFrameTest)
#include "tst_MainFrame.moc"
