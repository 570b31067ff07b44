// Start-up and exit: the command line, the settings store and the recent files.
#include "AppTestSupport.h"

#include "PasswordHash.h"

#include <QtTest>

class AppStartupTest : public QObject
{
    Q_OBJECT

    static bool HasStoredSettings(AppHarness& h) { return h.Store()->childGroups().contains("Settings"); }

private slots:
    void firstRunDefaultsAndWhatExitKeeps()
    {
        AppHarness h;
        QStringList paths;
        const std::string hash = CryptPassword("pw", "ab");
        for (const char* name : {"a.ql1", "b.ql1", "c.ql1", "d.ql1", "e.ql1"}) {
            paths << h.Path(name);
            h.WriteCheckbook(paths.last(), name, 20, name[0] == 'b' ? hash : std::string());
        }
        QVERIFY(h.Start());
        QCOMPARE(g_nUpcomingDays, 20);
        QCOMPARE(g_nNumCategories, 10);
        QCOMPARE(g_nStartCategories, 1);
        QCOMPARE(g_nLookback, 180);
        QCOMPARE(h.Title(), QString("Untitled[*] - Quillet"));
        QAction* first = h.Frame().CommandAction(ID_FILE_MRU_FILE1);
        QVERIFY(!first->isVisible());  // only the "Recent File" placeholder

        // The recent files: four at most, the latest first, no duplicate.
        for (const QString& path : paths + QStringList{paths[2]}) {
            h.openPath = path;
            h.Trigger(ID_FILE_OPEN);
        }
        const QStringList recent{paths[2], paths[4], paths[3], paths[1]};
        QCOMPARE(h.app->Session().RecentFiles().Files(), recent);
        QVERIFY(first->isVisible());
        QVERIFY(first->text().startsWith("&1 ") && first->text().endsWith("c.ql1"));
        QVERIFY(!HasStoredSettings(h));  // nothing before exit

        g_nLookback = 90;  // as a settings dialog would
        QCOMPARE(h.app->ExitInstance(), 0);
        auto store = h.Store();
        store->beginGroup("Settings");
        QCOMPARE(store->value("UpcomingDays").toInt(), 20);
        QCOMPARE(store->value("NumCategories").toInt(), 10);
        QCOMPARE(store->value("StartCategories").toInt(), 1);
        QCOMPARE(store->value("Lookback").toInt(), 90);

        // The next start reads it all back; a value that is no number falls back.
        store->setValue("NumCategories", "twelve");
        store.reset();
        AppValues::ResetToDefaults();
        h.Make();
        QVERIFY(h.Start());
        QCOMPARE(g_nLookback, 90);
        QCOMPARE(g_nNumCategories, 10);
        QCOMPARE(h.app->Session().RecentFiles().Files(), recent);
        h.Trigger(ID_FILE_MRU_FILE1 + 3);
        QVERIFY(h.Doc().FindAccount("b.ql1"));

        // A file that has gone leaves the list once it fails to open, and
        // the open checkbook stays as it was, changes and all, even after
        // "No" to saving them.
        QVERIFY(QFile::remove(paths[4]));
        h.Modify();
        h.answers = {UserMessage::Answer::No};
        h.Trigger(ID_FILE_MRU_FILE1 + 2);
        QCOMPARE(h.messages.size(), 2);
        QVERIFY(h.messages[1].contains("e.ql1"));
        QVERIFY(!h.app->Session().RecentFiles().Files().contains(paths[4]));
        QCOMPARE(h.Title(), QString("b.ql1[*] - Quillet"));
        QVERIFY(h.Frame().isWindowModified());
        QVERIFY(h.Doc().FindAccount("b.ql1") && h.Doc().FindAccount("Cash"));
        QCOMPARE(g_strPasswordHash, hash);
        QCOMPARE(h.app->Session().PathName(), paths[1]);
    }

    void commandLineFileYieldsToStoredValuesMenuOpenDoesNot()
    {
        AppHarness h;
        const QString file = h.Path("Home.ql1");
        h.WriteCheckbook(file, "Checking", 45);
        h.Store()->setValue("Settings/UpcomingDays", 30);

        QVERIFY(h.Start({file}));
        QVERIFY(h.Doc().FindAccount("Checking"));
        QCOMPARE(g_nUpcomingDays, 30);

        h.openPath = file;
        h.Trigger(ID_FILE_OPEN);
        QCOMPARE(g_nUpcomingDays, 45);
        h.app->ExitInstance();
        QCOMPARE(h.Store()->value("Settings/UpcomingDays").toInt(), 45);
        QVERIFY(h.messages.isEmpty());
    }

    void twoWindowsMergeTheirRecentFiles()
    {
        AppHarness h;
        QStringList paths;
        for (const char* name : {"a.ql1", "b.ql1", "c.ql1", "gone.ql1"}) {
            paths << h.Path(name);
            h.WriteCheckbook(paths.last(), name);
        }
        const QString &a = paths[0], &b = paths[1], &c = paths[2], &gone = paths[3];
        {
            auto store = h.Store();
            AppSettings::WriteRecentFiles(*store, {a, gone});
        }
        QVERIFY(h.Start());
        CQuilletApp second;
        second.SetShowMainWindow(false);
        QVERIFY(second.InitInstance({"quillet"}));

        // The first window opens b and finds the gone file gone; the
        // second opens c and is closed first.
        h.openPath = b;
        h.Trigger(ID_FILE_OPEN);
        QVERIFY(QFile::remove(gone));
        h.Trigger(ID_FILE_MRU_FILE1 + 2);
        QVERIFY(second.Session().OpenDocumentFile(c));
        second.ExitInstance();
        QCOMPARE(AppSettings::ReadRecentFiles(*h.Store()), (QStringList{c, a, gone}));

        // The first keeps what the second stored, with its own changes on top.
        h.app->ExitInstance();
        QCOMPARE(AppSettings::ReadRecentFiles(*h.Store()), (QStringList{b, c, a}));
    }

    void failedStartsAreReportedAndLeaveTheStoreAlone()
    {
        AppHarness files;
        const QString damaged = files.Path("Broken.ql1");
        WriteFileBytes(damaged, QByteArray("\x0fVersion 1.0.0.0\x05", 17));
        const QString missing = files.Path("Missing.ql1");
        const QList<QPair<QStringList, QString>> cases{
            {{missing}, "Missing.ql1"},          {{damaged}, "Broken.ql1"},
            {{"--print", missing}, "Missing.ql1"}, {{"a.ql1", "b.ql1"}, "at most one"},
            {{"--frobnicate"}, "frobnicate"}};
        for (const auto& [arguments, says] : cases) {
            AppHarness h;
            QVERIFY(!h.Start(arguments));
            QVERIFY(h.app->ExitCode() != 0);
            QCOMPARE(h.messages.size(), 1);
            QVERIFY2(h.messages[0].contains(says), qPrintable(h.messages[0]));
            QVERIFY(!h.Frame().isVisible());
            h.app->ExitInstance();
            QVERIFY(!HasStoredSettings(h));
        }
    }
};

QTEST_MAIN(AppStartupTest)
#include "tst_AppStartup.moc"
