// Start-up and exit: the command line, the settings store and --print.
#include "AppTestSupport.h"

#include "Commands.h"
#include "QuilletView.h"

#include <QAction>
#include <QtTest>

class AppStartupTest : public QObject
{
    Q_OBJECT

    static bool HasStoredSettings(QSettings& store) { return store.childGroups().contains("Settings"); }

private slots:
    void cleanProfileGivesDefaultsAndExitWritesThem()
    {
        AppHarness h;
        QVERIFY(h.Start());
        QCOMPARE(g_nUpcomingDays, 20);
        QCOMPARE(g_nNumCategories, 10);
        QCOMPARE(g_nStartCategories, 1);
        QCOMPARE(g_nLookback, 180);
        QCOMPARE(h.Frame().windowTitle(), QString("Untitled[*] - Quillet"));
        QVERIFY(!h.Frame().isWindowModified());
        QCOMPARE(h.Frame().size(), QSize(680, 515));
        // Nothing is written before exit.
        QVERIFY(!HasStoredSettings(*h.Store()));

        g_nLookback = 90;  // as a settings dialog would
        QCOMPARE(h.app->ExitInstance(), 0);
        auto store = h.Store();
        store->beginGroup("Settings");
        QCOMPARE(store->value("UpcomingDays").toInt(), 20);
        QCOMPARE(store->value("NumCategories").toInt(), 10);
        QCOMPARE(store->value("StartCategories").toInt(), 1);
        QCOMPARE(store->value("Lookback").toInt(), 90);
    }

    void storedValuesAreReadAndJunkGivesDefaults()
    {
        AppHarness h;
        {
            auto store = h.Store();
            store->setValue("Settings/UpcomingDays", 7);
            store->setValue("Settings/NumCategories", "twelve");
            store->setValue("Settings/StartCategories", 3);
        }
        QVERIFY(h.Start());
        QCOMPARE(g_nUpcomingDays, 7);
        QCOMPARE(g_nNumCategories, 10);
        QCOMPARE(g_nStartCategories, 3);
        QCOMPARE(g_nLookback, 180);
    }

    void commandLineFileYieldsToStoredValuesMenuOpenDoesNot()
    {
        AppHarness h;
        const QString file = h.Path("Home.ql1");
        h.WriteCheckbook(file, "Checking", 45);
        h.Store()->setValue("Settings/UpcomingDays", 30);

        QVERIFY(h.Start({file}));
        QCOMPARE(h.Frame().windowTitle(), QString("Home.ql1[*] - Quillet"));
        QVERIFY(h.Doc().FindAccount("Checking"));
        QCOMPARE(g_nUpcomingDays, 30);

        h.openPath = file;
        h.Frame().CommandAction(ID_FILE_OPEN)->trigger();
        QCOMPARE(g_nUpcomingDays, 45);
        h.app->ExitInstance();
        QCOMPARE(h.Store()->value("Settings/UpcomingDays").toInt(), 45);
        QVERIFY(h.messages.isEmpty());
    }

    void failedCommandLineOpenEndsWithoutTouchingTheStore_data()
    {
        QTest::addColumn<QByteArray>("content");  // empty: no file at all
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("damaged") << QByteArray("\x0fVersion 1.0.0.0\x05", 17);
    }
    void failedCommandLineOpenEndsWithoutTouchingTheStore()
    {
        QFETCH(QByteArray, content);
        AppHarness h;
        const QString file = h.Path("Broken.ql1");
        if (!content.isEmpty()) {
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(content);
        }
        QVERIFY(!h.Start({file}));
        QVERIFY(h.app->ExitCode() != 0);
        QCOMPARE(h.messages.size(), 1);
        QVERIFY2(h.messages[0].contains("Broken.ql1"), qPrintable(h.messages[0]));
        QVERIFY(!h.Frame().isVisible());
        h.app->ExitInstance();
        QVERIFY(!HasStoredSettings(*h.Store()));
    }

    void refusedPasswordAtStartRunsOnUntitled()
    {
        AppHarness h;
        const QString file = h.Path("Secret.ql1");
        h.WriteCheckbook(file, "Savings", 20, "abJnggxhB/yWI");
        h.passwordAccepted = false;
        QVERIFY(h.Start({file}));
        QCOMPARE(h.passwordPrompts, 1);
        QCOMPARE(h.Frame().windowTitle(), QString("Untitled[*] - Quillet"));
        QVERIFY(h.app->Session().PathName().isEmpty());
        QVERIFY(h.Doc().m_accounts.empty());
        QCOMPARE(h.messages.size(), 1);
        QVERIFY(h.messages[0].contains("Secret.ql1"));
        QVERIFY(h.messages[0].contains("denied"));
    }

    void printSwitchPrintsTheFileAndEnds()
    {
        for (const QString& option : {QString("--print"), QString("-p")}) {
            AppHarness h;
            const QString file = h.Path("Home.ql1");
            h.WriteCheckbook(file, "Checking");
            QString printedTitle;
            h.Make().SetPrintHook([&](CMainFrame& frame) {
                printedTitle = frame.Session().Title();
                return frame.GetView()->GetDocument()->FindAccount("Checking") != nullptr;
            });
            QVERIFY(!h.Start({option, file}));
            QCOMPARE(h.app->ExitCode(), 0);
            QCOMPARE(printedTitle, QString("Home.ql1"));
            QVERIFY(!h.Frame().isVisible());
            h.app->ExitInstance();
            QVERIFY(!HasStoredSettings(*h.Store()));
        }
    }

    void printOfAMissingFileFailsWithoutPrinting()
    {
        AppHarness h;
        bool printed = false;
        h.Make().SetPrintHook([&](CMainFrame&) {
            printed = true;
            return true;
        });
        QVERIFY(!h.Start({"--print", h.Path("nothing.ql1")}));
        QVERIFY(h.app->ExitCode() != 0);
        QVERIFY(!printed);
        QCOMPARE(h.messages.size(), 1);
    }

    void badCommandLinesAreReported()
    {
        for (const QStringList& arguments : {QStringList{"a.ql1", "b.ql1"}, QStringList{"--frobnicate"},
                                             QStringList{"--print"}}) {
            AppHarness h;
            QVERIFY(!h.Start(arguments));
            QVERIFY(h.app->ExitCode() != 0);
            QCOMPARE(h.messages.size(), 1);
        }
    }
};

QTEST_MAIN(AppStartupTest)
#include "tst_AppStartup.moc"
