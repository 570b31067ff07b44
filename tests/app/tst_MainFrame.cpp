// The main window's menus, keys, toolbar and status bar.
#include "AppTestSupport.h"

#include "Commands.h"
#include "LockKeys.h"
#include "RecentFileList.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QDialog>
#include <QTimer>
#include <QtTest>

class MainFrameTest : public QObject
{
    Q_OBJECT

    static QStringList MenuTexts(QMenu* menu)
    {
        QStringList texts;
        for (QAction* action : menu->actions()) {
            if (action->isSeparator())
                texts << "-";
            else if (action->isVisible())
                texts << action->text();
        }
        return texts;
    }

private slots:
    void menusHaveTheirTextsInOrder()
    {
        AppHarness h;
        QVERIFY(h.Start());
        QStringList titles;
        for (QAction* action : h.Frame().menuBar()->actions())
            titles << action->text();
        QCOMPARE(titles, (QStringList{"&File", "&Edit", "&View", "&Help"}));
        const QList<QAction*> menus = h.Frame().menuBar()->actions();
        QCOMPARE(MenuTexts(menus[0]->menu()),
                 (QStringList{"&New\tCtrl+N", "&Open...\tCtrl+O", "&Save\tCtrl+S", "Save &As...", "-",
                              "S&et Password...", "-", "&Print...\tCtrl+P", "Print Pre&view", "P&rint Setup...",
                              "Export P&DF...", "-", "Recent File", "-", "E&xit"}));
        QCOMPARE(MenuTexts(menus[1]->menu()),
                 (QStringList{"&Undo\tCtrl+Z", "-", "Cu&t\tCtrl+X", "&Copy\tCtrl+C", "&Paste\tCtrl+V"}));
        QCOMPARE(MenuTexts(menus[2]->menu()), (QStringList{"&Toolbar", "&Status Bar", "&Balance...", "&Categories...",
                                                           "&Reconsile..."}));
        QCOMPARE(MenuTexts(menus[3]->menu()), QStringList{"&About Quillet..."});

        for (QAction* action : menus[1]->menu()->actions())
            QVERIFY(action->isSeparator() || !action->isEnabled());
        QVERIFY(h.Frame().CommandAction(ID_FILE_NEW)->isEnabled());
    }

    void keysOfTheCommands()
    {
        AppHarness h;
        QVERIFY(h.Start());
        // The second keys of the edit commands are easy to lose.
        QCOMPARE(h.Frame().CommandAction(ID_EDIT_UNDO)->shortcuts(),
                 (QList<QKeySequence>{QKeySequence("Ctrl+Z"), QKeySequence("Alt+Backspace")}));
        QCOMPARE(h.Frame().CommandAction(ID_EDIT_PASTE)->shortcuts(),
                 (QList<QKeySequence>{QKeySequence("Ctrl+V"), QKeySequence("Shift+Ins")}));

        // Ctrl+N really reaches New: the save question shows.
        h.Doc().SetModifiedFlag();
        h.answers = {UserMessage::Answer::Cancel};
        h.Frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&h.Frame()));
        QTest::keyClick(&h.Frame(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(h.messages, QStringList{"Save changes to Untitled?"});
    }

    void toolbarButtonsAndTips()
    {
        AppHarness h;
        QVERIFY(h.Start());
        QStringList layout;
        for (QAction* action : h.Frame().ToolBar()->actions())
            layout << (action->isSeparator() ? QString("|") : action->toolTip());
        QCOMPARE(layout, (QStringList{"New", "Open", "Save", "|", "Cut", "Copy", "Paste", "|", "Print", "|", "About"}));
        QCOMPARE(h.Frame().CommandAction(ID_FILE_NEW)->statusTip(), QString("Create a new document"));
        QCOMPARE(h.Frame().CommandAction(ID_VIEW_BALANCE)->statusTip(), QString());

        // The toggles hide and show the bars.
        h.Frame().CommandAction(ID_VIEW_TOOLBAR)->trigger();
        QVERIFY(!h.Frame().ToolBar()->isVisible());
        h.Frame().CommandAction(ID_VIEW_STATUS_BAR)->trigger();
        QVERIFY(!h.Frame().statusBar()->isVisible());
        h.Frame().CommandAction(ID_VIEW_TOOLBAR)->trigger();
        QVERIFY(h.Frame().ToolBar()->isVisible());
        QVERIFY(h.Frame().CommandAction(ID_VIEW_TOOLBAR)->isChecked());
    }

    void commandDialogsOpenOnAnEmptyCheckbook_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("accept");
        QTest::newRow("balance, cancel") << int(ID_VIEW_BALANCE) << "Balance Books" << false;
        QTest::newRow("balance, ok") << int(ID_VIEW_BALANCE) << "Balance Books" << true;
        QTest::newRow("categories, cancel") << int(ID_VIEW_CATEGORIES) << "Define Categories" << false;
        QTest::newRow("categories, ok") << int(ID_VIEW_CATEGORIES) << "Define Categories" << true;
        QTest::newRow("reconsile, cancel") << int(ID_VIEW_RECONSILE) << "Reconsile Accounts" << false;
        QTest::newRow("reconsile, ok") << int(ID_VIEW_RECONSILE) << "Reconsile Accounts" << true;
    }
    void commandDialogsOpenOnAnEmptyCheckbook()
    {
        QFETCH(int, command);
        QFETCH(QString, title);
        QFETCH(bool, accept);
        AppHarness h;
        QVERIFY(h.Start());
        QString shown;
        QTimer::singleShot(0, [&shown, accept] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            shown = dialog->windowTitle();
            accept ? dialog->accept() : dialog->reject();
        });
        h.Frame().CommandAction(command)->trigger();
        QCOMPARE(shown, title);
        QVERIFY(!h.Doc().IsModified());
        QCOMPARE(h.Frame().windowTitle(), QString("Untitled[*] - Quillet"));
    }

    void recentFileMenuTexts()
    {
        QCOMPARE(RecentFileMenuText(0, "/data/Home.ql1"), QString("&1 /data/Home.ql1"));
        // An ampersand in a path is text, not a mnemonic.
        QCOMPARE(RecentFileMenuText(3, "/data/Tom & Ann.ql1"), QString("&4 /data/Tom && Ann.ql1"));
        // Long paths keep the file name whole.
        const QString deep = "/data/" + QString("folder/").repeated(12) + "Household Budget.ql1";
        const QString text = RecentFileMenuText(1, deep);
        QVERIFY(text.size() < 60);
        QVERIFY(text.startsWith("&2 /data/"));
        QVERIFY(text.endsWith(".../Household Budget.ql1"));
    }

    void statusBarMessageAndIndicators()
    {
        LockKeys::SetReader([](LockKey key) { return key == LockKey::Num; });
        AppHarness h;
        QVERIFY(h.Start());
        QCOMPARE(h.Frame().MessagePane()->text(), QString("Ready"));
        QStatusTipEvent hover(CommandStatusTip(ID_FILE_SAVE_AS));
        QApplication::sendEvent(&h.Frame(), &hover);
        QCOMPARE(h.Frame().MessagePane()->text(), QString("Save the active document with a new name"));
        QStatusTipEvent leave{QString()};
        QApplication::sendEvent(&h.Frame(), &leave);
        QCOMPARE(h.Frame().MessagePane()->text(), QString("Ready"));

        QCOMPARE(h.Frame().IndicatorPane(0)->text(), QString());
        QCOMPARE(h.Frame().IndicatorPane(1)->text(), QString("NUM"));
        LockKeys::SetReader([](LockKey) { return true; });
        QTest::keyClick(&h.Frame(), Qt::Key_CapsLock);
        QCOMPARE(h.Frame().IndicatorPane(0)->text(), QString("CAP"));
        QCOMPARE(h.Frame().IndicatorPane(2)->text(), QString("SCRL"));
        LockKeys::SetReader({});
    }
};

QTEST_MAIN(MainFrameTest)
#include "tst_MainFrame.moc"
