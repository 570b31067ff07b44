// Start-up and exit: the command line and the settings store.
#include "AppTestSupport.h"

#include <QtTest>

class AppStartupTest : public QObject
{
    Q_OBJECT

    static bool HasStoredSettings(AppHarness& h) { return h.Store()->childGroups().contains("Settings"); }

private slots:
    void settingsDefaultsWrittenAtExitAndReadBack()
    {
        AppHarness h;
        QVERIFY(h.Start());
        QCOMPARE(g_nUpcomingDays, 20);
        QCOMPARE(g_nNumCategories, 10);
        QCOMPARE(g_nStartCategories, 1);
        QCOMPARE(g_nLookback, 180);
        QCOMPARE(h.Title(), QString("Untitled[*] - Quillet"));
        QCOMPARE(h.Frame().size(), QSize(680, 515));
        QVERIFY(!HasStoredSettings(h));  // nothing before exit

        g_nLookback = 90;  // as a settings dialog would
        QCOMPARE(h.app->ExitInstance(), 0);
        auto store = h.Store();
        store->beginGroup("Settings");
        QCOMPARE(store->value("UpcomingDays").toInt(), 20);
        QCOMPARE(store->value("NumCategories").toInt(), 10);
        QCOMPARE(store->value("StartCategories").toInt(), 1);
        QCOMPARE(store->value("Lookback").toInt(), 90);

        // The next start reads them; a value that is no number falls back.
        store->setValue("NumCategories", "twelve");
        store.reset();
        AppValues::ResetToDefaults();
        h.Make();
        QVERIFY(h.Start());
        QCOMPARE(g_nLookback, 90);
        QCOMPARE(g_nNumCategories, 10);
    }

    void commandLineFileYieldsToStoredValuesMenuOpenDoesNot()
    {
        AppHarness h;
        const QString file = h.Path("Home.ql1");
        h.WriteCheckbook(file, "Checking", 45);
        h.Store()->setValue("Settings/UpcomingDays", 30);

        QVERIFY(h.Start({file}));
        QCOMPARE(h.Title(), QString("Home.ql1[*] - Quillet"));
        QVERIFY(h.Doc().FindAccount("Checking"));
        QCOMPARE(g_nUpcomingDays, 30);

        h.openPath = file;
        h.Trigger(ID_FILE_OPEN);
        QCOMPARE(g_nUpcomingDays, 45);
        h.app->ExitInstance();
        QCOMPARE(h.Store()->value("Settings/UpcomingDays").toInt(), 45);
        QVERIFY(h.messages.isEmpty());
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
            {{"--frobnicate"}, "frobnicate"},    {{"--print"}, "print"}};
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
