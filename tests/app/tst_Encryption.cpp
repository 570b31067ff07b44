// Encryption from the window: turned on, saved, reopened with its
// passphrase and turned off again, the dialogs' refusals, and the
// passphrase prompt on open.
#include "AppTestSupport.h"

#include "CliSupport.h"
#include "DocChanges.h"
#include "EncryptionDialog.h"
#include "PassphraseDialog.h"
#include "PasswordHash.h"
#include "SealedFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace
{
// Fills in "Encryption" once it is shown: the box as wanted, both edits.
void AnswerEncryptionDialog(bool encrypt, const QString& first, const QString& second)
{
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<CEncryptionDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        if (dialog->EncryptBox()->isChecked() != encrypt)
            QTest::mouseClick(dialog->EncryptBox(), Qt::LeftButton);
        QCOMPARE(dialog->FirstPassphraseEdit()->isEnabled(), encrypt);
        QTest::keyClicks(dialog->FirstPassphraseEdit(), first);
        QTest::keyClicks(dialog->SecondPassphraseEdit(), second);
        QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
        // A refusal keeps it open; the test then cancels it.
        if (dialog->isVisible())
            dialog->reject();
    });
}

bool IsSealedFile(const QString& path)
{
    return IsSealedImage(ReadFileBytes(path).toStdString());
}
}

class EncryptionTest : public QObject
{
    Q_OBJECT

private slots:
    void encryptedInTheWindowReopenedAndDecryptedByteForByte()
    {
        AppHarness h;
        const QString budget = h.Path("Budget.ql1");
        h.WriteCheckbook(budget, "Checking");
        const QByteArray original = ReadFileBytes(budget);
        QVERIFY(h.Start({budget}));

        AnswerEncryptionDialog(true, "correct horse", "correct horse");
        h.Trigger(ID_FILE_ENCRYPTION);
        QVERIFY(h.app->Session().SealKey());
        QVERIFY(h.Frame().isWindowModified());
        QVERIFY(!IsSealedFile(budget));  // only the save writes it
        h.Trigger(ID_FILE_SAVE);
        QVERIFY(!h.Frame().isWindowModified());
        QVERIFY(IsSealedFile(budget));
        const std::vector<std::string> backups = ListBackups(Native(budget));
        QCOMPARE(backups.size(), size_t(1));
        for (const QString& file : {budget, QString::fromStdString(backups[0])})
            QVERIFY2(!ReadFileBytes(file).contains("Checking"), qPrintable(file));

        // The command line reads it with the passphrase only.
        QCOMPARE(RunCli({"balances", Native(budget)}), int(Cli::PasswordProblem));
        QCOMPARE(RunCli({"balances", "--passphrase", "correct horse", Native(budget)}), 0);

        // Reopened: asked once, a wrong passphrase tried again.
        h.passphrases = {"Correct horse", "correct horse"};
        QVERIFY(h.app->Session().OpenDocumentFile(budget));
        QCOMPARE(h.passphrasePrompts, 1);
        QVERIFY(h.Doc().FindAccount("Checking"));
        QVERIFY(h.app->Session().SealKey());

        // Turned off: the plain file comes back, byte for byte.
        AnswerEncryptionDialog(false, QString(), QString());
        h.Trigger(ID_FILE_ENCRYPTION);
        QVERIFY(!h.app->Session().SealKey());
        QVERIFY(h.Frame().isWindowModified());
        h.Trigger(ID_FILE_SAVE);
        QCOMPARE(ReadFileBytes(budget), original);
        QVERIFY(IsSealedImage(ReadFileBytes(QString::fromStdString(ListBackups(Native(budget)).back())).toStdString()));
        QCOMPARE(h.messages, QStringList());
    }

    // Turning encryption on or off is a step of the history: the modified
    // mark says whether the next save would write the file otherwise, and
    // undoing a later step must not hide an unsaved change of the key.
    void encryptionChangesUndoAndTheMarkFollowsTheFilesKey()
    {
        AppHarness h;
        const QString budget = h.Path("Budget.ql1");
        h.WriteCheckbook(budget, "Checking");
        const QByteArray original = ReadFileBytes(budget);
        QVERIFY(h.Start({budget}));
        CDocSession& session = h.app->Session();
        auto undoText = [&] { return h.Frame().CommandAction(ID_EDIT_UNDO)->text(); };

        AnswerEncryptionDialog(true, "first", "first");
        h.Trigger(ID_FILE_ENCRYPTION);
        const SealKeyPtr first = session.SealKey();
        QVERIFY(first);
        QCOMPARE(undoText(), QString("&Undo Turn On Encryption\tCtrl+Z"));
        h.Trigger(ID_EDIT_UNDO);
        QVERIFY(!session.SealKey());
        QVERIFY(!h.Frame().isWindowModified());
        h.Trigger(ID_EDIT_REDO);
        QCOMPARE(session.SealKey(), first);
        QVERIFY(h.Frame().isWindowModified());

        // A later step undone leaves the new key unsaved: leaving asks.
        QVERIFY(session.History().Apply(std::make_unique<CAddAccountChange>(AccountFields{"Cash", "", 5.0, "", "", ""})));
        h.Trigger(ID_EDIT_UNDO);
        QVERIFY(h.Frame().isWindowModified());
        h.Trigger(ID_FILE_SAVE);
        QVERIFY(IsSealedFile(budget));

        AnswerEncryptionDialog(true, "second", "second");
        h.Trigger(ID_FILE_ENCRYPTION);
        QCOMPARE(undoText(), QString("&Undo Change Passphrase\tCtrl+Z"));
        h.Trigger(ID_EDIT_UNDO);
        QCOMPARE(session.SealKey(), first);
        QVERIFY(!h.Frame().isWindowModified());

        // Undone past the saved step, then saved: the plain file again.
        h.Trigger(ID_EDIT_UNDO);
        QVERIFY(h.Frame().isWindowModified());
        h.Trigger(ID_FILE_SAVE);
        QCOMPARE(ReadFileBytes(budget), original);
        AnswerEncryptionDialog(true, "third", "third");
        h.Trigger(ID_FILE_ENCRYPTION);
        AnswerEncryptionDialog(false, QString(), QString());
        h.Trigger(ID_FILE_ENCRYPTION);
        QCOMPARE(undoText(), QString("&Undo Turn Off Encryption\tCtrl+Z"));
        // Two steps that cancel out: marked, but a save would write the
        // file as it is, so leaving asks nothing.
        QVERIFY(h.Frame().isWindowModified());
        h.Trigger(ID_FILE_NEW);
        QCOMPARE(h.messages, QStringList());
    }

    void theDialogRefusesWhatWouldLockTheUserOut()
    {
        AppHarness h;
        const QString budget = h.Path("Budget.ql1");
        h.WriteCheckbook(budget, "Checking");
        QVERIFY(h.Start({budget}));

        AnswerEncryptionDialog(true, "one", "two");
        h.Trigger(ID_FILE_ENCRYPTION);
        AnswerEncryptionDialog(true, QString(), QString());
        h.Trigger(ID_FILE_ENCRYPTION);
        QCOMPARE(h.messages, (QStringList{"The two passphrases do not match.",
                                         "Type a passphrase to encrypt the checkbook with."}));
        QVERIFY(!h.app->Session().SealKey());
        QVERIFY(!h.Frame().isWindowModified());

        AnswerEncryptionDialog(true, "first", "first");
        h.Trigger(ID_FILE_ENCRYPTION);
        h.Trigger(ID_FILE_SAVE);
        const SealKeyPtr first = h.app->Session().SealKey();
        QVERIFY(first);
        // Leaving the edits empty keeps the passphrase and changes nothing.
        AnswerEncryptionDialog(true, QString(), QString());
        h.Trigger(ID_FILE_ENCRYPTION);
        QCOMPARE(h.app->Session().SealKey(), first);
        QVERIFY(!h.Frame().isWindowModified());

        // A new one: the old no longer opens the file.
        AnswerEncryptionDialog(true, "second", "second");
        h.Trigger(ID_FILE_ENCRYPTION);
        QVERIFY(h.app->Session().SealKey() != first);
        h.Trigger(ID_FILE_SAVE);
        QCOMPARE(RunCli({"balances", "--passphrase", "first", Native(budget)}), int(Cli::PasswordProblem));
        QCOMPARE(RunCli({"balances", "--passphrase", "second", Native(budget)}), 0);
        QCOMPARE(h.messages.size(), 2);

        // A new checkbook starts plain.
        h.Trigger(ID_FILE_NEW);
        QVERIFY(!h.app->Session().SealKey());
    }

    void thePromptAsksAgainAndCancelKeepsTheOpenDocument()
    {
        AppHarness h;
        const QString locked = h.Path("Locked.ql1");
        h.WriteCheckbook(locked, "Savings", 20, CryptPassword("pw", "ab"));
        QCOMPARE(RunCli({"encrypt", "--passphrase", "outer", Native(locked)}), 0);
        QVERIFY(h.Start());
        CDocSession& session = h.app->Session();
        session.SetPassphrasePrompt([](const std::string& name, const PassphraseAttempt& attempt) {
            return AskPassphrase(nullptr, name, attempt);
        });

        // A wrong passphrase keeps the prompt open and says so; the right
        // one opens, and the password inside is asked for after it.
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<CPassphraseDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QVERIFY(dialog->ProblemLabel()->isHidden());
            QTest::keyClicks(dialog->PassphraseEdit(), "Outer");
            QTest::mouseClick(dialog->OpenButton(), Qt::LeftButton);
            QVERIFY(dialog->isVisible());
            QVERIFY(!dialog->ProblemLabel()->isHidden());
            QCOMPARE(dialog->PassphraseEdit()->text(), QString());
            QTest::keyClicks(dialog->PassphraseEdit(), "outer");
            QTest::keyClick(dialog->PassphraseEdit(), Qt::Key_Return);
        });
        QVERIFY(session.OpenDocumentFile(locked));
        QCOMPARE(h.passwordPrompts, 1);
        QVERIFY(h.Doc().FindAccount("Savings"));

        // Cancelled: the file is not opened and the open one stays.
        QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
        QVERIFY(!session.OpenDocumentFile(locked));
        QCOMPARE(h.messages, QStringList{"The file \"Locked.ql1\" is encrypted and was not opened: no passphrase "
                                         "was given."});
        QVERIFY(h.Doc().FindAccount("Savings"));
        QCOMPARE(h.Title(), QString("Locked.ql1[*] - Quillet"));
        QCOMPARE(h.passwordPrompts, 1);
    }

    void aRefusedPassphraseAtStartLeavesAnEmptyCheckbook()
    {
        AppHarness h;
        const QString budget = h.Path("Budget.ql1");
        h.WriteCheckbook(budget, "Checking");
        QCOMPARE(RunCli({"encrypt", "--passphrase", "pp", Native(budget)}), 0);
        h.passphrases = {"PP"};
        QVERIFY(h.Start({budget}));
        QCOMPARE(h.passphrasePrompts, 1);
        QCOMPARE(h.Title(), QString("Untitled[*] - Quillet"));
        QVERIFY(h.Doc().m_accounts.empty());
        QCOMPARE(h.messages, QStringList{"The passphrase for \"Budget.ql1\" is not correct."});
    }
};

QTEST_MAIN(EncryptionTest)
#include "tst_Encryption.moc"
