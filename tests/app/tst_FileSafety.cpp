// The window never loses a file by surprise: Save As over an existing
// name, a file changed by the command line while open, the writers' lock,
// a backup that cannot be kept, and a password shared with the command
// line.
#include "AppTestSupport.h"

#include "CliSupport.h"
#include "FileLock.h"
#include "PasswordDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>

using Answer = UserMessage::Answer;

class FileSafetyTest : public QObject
{
    Q_OBJECT

    // The save dialog answers these in turn, then cancels.
    static void AnswerSaveDialogs(AppHarness& h, QStringList* answers)
    {
        h.app->Session().SetSaveDialog([answers](QWidget*, const QString&) {
            return answers->isEmpty() ? QString() : answers->takeFirst();
        });
    }

    // As the harness answers, also noting which answer Enter would give.
    static void NoteDefaults(AppHarness& h, QList<std::optional<Answer>>* defaults)
    {
        UserMessage::SetHandler([&h, defaults](const UserMessage::Shown& shown) {
            h.messages << shown.text;
            defaults->append(shown.defaultAnswer);
            return h.answers.isEmpty() ? Answer::Ok : h.answers.takeFirst();
        });
    }

private slots:
    void replacingAFileIsAskedUnderTheNameWritten()
    {
        AppHarness h;
        const QString budget = h.Path("Budget.ql1");
        h.WriteCheckbook(budget, "Old");
        const QByteArray before = ReadFileBytes(budget);
        QVERIFY(h.Start());
        QStringList names;
        AnswerSaveDialogs(h, &names);
        QList<std::optional<Answer>> defaults;
        NoteDefaults(h, &defaults);

        // Save As "Budget": asked about Budget.ql1 (Enter keeps it); No goes
        // back to the dialog, which is cancelled; the old file is untouched.
        h.Modify();
        names = {h.Path("Budget")};
        h.answers = {Answer::No};
        h.Trigger(ID_FILE_SAVE_AS);
        QCOMPARE(h.messages, QStringList{budget + " already exists.\nDo you want to replace it?"});
        QCOMPARE(defaults.value(0), std::optional<Answer>(Answer::No));
        QCOMPARE(ReadFileBytes(budget), before);
        QCOMPARE(h.Title(), QString("Untitled[*] - Quillet"));

        // Through "Save changes?" too; New does not go on.
        names = {h.Path("Budget")};
        h.answers = {Answer::Yes, Answer::No};
        h.Trigger(ID_FILE_NEW);
        QCOMPARE(h.messages.size(), 3);
        QCOMPARE(h.messages[2], h.messages[0]);
        QCOMPARE(ReadFileBytes(budget), before);
        QVERIFY(h.Doc().FindAccount("Cash"));

        // No, then another name; then Yes replaces, keeping the old file
        // as a backup.
        names = {h.Path("Budget"), h.Path("Other")};
        h.answers = {Answer::No};
        h.Trigger(ID_FILE_SAVE_AS);
        QCOMPARE(h.Title(), QString("Other.ql1[*] - Quillet"));
        names = {h.Path("Budget")};
        h.answers = {Answer::Yes};
        h.Trigger(ID_FILE_SAVE_AS);
        QCOMPARE(h.messages.size(), 5);
        QCOMPARE(h.Title(), QString("Budget.ql1[*] - Quillet"));
        QVERIFY(ReadFileBytes(budget) != before);
        const std::vector<std::string> backups = ListBackups(Native(budget));
        QCOMPARE(backups.size(), size_t(1));
        QCOMPARE(ReadFileBytes(QString::fromStdString(backups[0])), before);
    }

    void savingOverTheOpenFileWhileOthersWriteIt()
    {
        AppHarness h;
        const QString budget = h.Path("Budget.ql1"), statement = h.Path("bank.csv");
        const QString folder = QString::fromStdString(BackupFolder(Native(budget)));
        h.WriteCheckbook(budget, "Checking");
        const QByteArray before = ReadFileBytes(budget);
        QVERIFY(h.Start({budget}));
        QStringList names;
        AnswerSaveDialogs(h, &names);
        QList<std::optional<Answer>> defaults;
        NoteDefaults(h, &defaults);

        // While the command line holds the file the window does not save.
        CFileLock commandLine;
        FileError error;
        QVERIFY(commandLine.Acquire(Native(budget), 0, error));
        h.app->Session().SetLockWait(100);
        h.Modify();
        h.Trigger(ID_FILE_SAVE);
        QCOMPARE(h.messages.size(), 1);
        QVERIFY2(h.messages[0].contains("being changed by another program"), qPrintable(h.messages[0]));
        const QByteArray written = ReadFileBytes(budget);
        QCOMPARE(written, before);
        // Let go, it saves, without a question as nobody changed the file; a
        // backup that cannot be kept is said in the status bar.
        commandLine.Release();
        WriteFileBytes(folder, "in the way");
        h.Trigger(ID_FILE_SAVE);
        QCOMPARE(h.messages.size(), 1);
        QVERIFY(ReadFileBytes(budget) != written);
        const QString said = h.Frame().statusBar()->currentMessage();
        QVERIFY2(said.startsWith("The previous version of \"Budget.ql1\" could not be kept as a backup."),
                 qPrintable(said));
        QVERIFY(QFile::remove(folder));

        // The command line imports into the open file; Save asks (Enter
        // saves nothing), and Cancel keeps the import.
        const auto import = [&](const char* description) {
            WriteFileBytes(statement, QByteArray("Date,Amount,Description\n2026-12-01,-12.50,") + description + "\n");
            QCOMPARE(RunCli({"import", "--account", "Checking", Native(budget), Native(statement)}), 0);
        };
        import("Imported coffee");
        h.Modify();
        h.answers = {Answer::Cancel};
        h.Trigger(ID_FILE_SAVE);
        QCOMPARE(h.messages.size(), 2);
        QCOMPARE(defaults.value(1), std::optional<Answer>(Answer::Cancel));
        QVERIFY2(h.messages[1].contains("changed by another program"), qPrintable(h.messages[1]));
        QVERIFY(ReadFileBytes(budget).contains("Imported coffee"));
        QVERIFY(h.Frame().isWindowModified());

        // Saved under another name instead: the import stays where it is.
        names = {h.Path("Mine.ql1")};
        h.answers = {Answer::No};
        h.Trigger(ID_FILE_SAVE);
        QCOMPARE(h.Title(), QString("Mine.ql1[*] - Quillet"));
        QVERIFY(ReadFileBytes(budget).contains("Imported coffee"));

        // Replaced on purpose: the imported version is the newest backup.
        QVERIFY(h.app->Session().OpenDocumentFile(budget));
        h.Doc().DeleteAccount(0);
        import("Imported tea");
        h.answers = {Answer::Yes};
        h.Trigger(ID_FILE_SAVE);
        QCOMPARE(h.messages.size(), 4);
        QVERIFY(!ReadFileBytes(budget).contains("Checking"));
        QVERIFY(ReadFileBytes(QString::fromStdString(ListBackups(Native(budget)).back())).contains("Imported tea"));
    }

    void aPasswordSetInTheWindowOpensFromTheCommandLine()
    {
        AppHarness h;
        QVERIFY(h.Start());
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<CPasswordDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QTest::mouseClick(dialog->EnableBox(), Qt::LeftButton);
            dialog->FirstPasswordEdit()->setText(QString::fromUtf8("café"));
            dialog->SecondPasswordEdit()->setText(QString::fromUtf8("café"));
            QTest::mouseClick(dialog->SetButton(), Qt::LeftButton);
        });
        h.Trigger(ID_FILE_SETPASSWORD);
        QVERIFY(h.Doc().IsModified());  // leaving must ask to save the protection
        h.savePath = h.Path("Secret.ql1");
        h.Trigger(ID_FILE_SAVE);
        QCOMPARE(h.Title(), QString("Secret.ql1[*] - Quillet"));

        const std::string file = Native(h.savePath);
        QCOMPARE(RunCli({"dump", "--password", "caf\xC3\xA9", file}), 0);
        Cli::Environment env;
        env.passwordVariable = "caf\xC3\xA9";
        QCOMPARE(RunCli({"dump", file}, env), 0);
        QCOMPARE(RunCli({"dump", "--password", "cafe", file}), int(Cli::PasswordProblem));
    }
};

QTEST_MAIN(FileSafetyTest)
#include "tst_FileSafety.moc"
