// New, Open, Save, Save As, the save question, protected files, the
// recent-file list and dropped files.
#include "AppTestSupport.h"

#include "Commands.h"
#include "FilePasswordDialog.h"
#include "PasswordDialog.h"
#include "PasswordHash.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QLineEdit>
#include <QMimeData>
#include <QTimer>
#include <QtTest>

using Answer = UserMessage::Answer;

class DocumentLifecycleTest : public QObject
{
    Q_OBJECT

    static void Modify(AppHarness& h)
    {
        h.Doc().AddAccount("Cash", "", 10.0, "", "", "");
        h.Doc().SetModifiedFlag();
    }
    static void Trigger(AppHarness& h, int id) { h.Frame().CommandAction(id)->trigger(); }

private slots:
    void modifiedMarkFollowsTheDocument()
    {
        AppHarness h;
        QVERIFY(h.Start());
        Modify(h);
        QVERIFY(h.Frame().isWindowModified());
        h.savePath = h.Path("Budget");  // Save As adds the extension
        Trigger(h, ID_FILE_SAVE);
        QCOMPARE(h.saveSuggestions.size(), 1);
        QVERIFY(h.saveSuggestions[0].endsWith("Untitled.ql1"));
        QCOMPARE(h.app->Session().PathName(), h.Path("Budget.ql1"));
        QCOMPARE(h.Frame().windowTitle(), QString("Budget.ql1[*] - Quillet"));
        QVERIFY(!h.Frame().isWindowModified());
        // A bound document saves without asking again.
        Modify(h);
        Trigger(h, ID_FILE_SAVE);
        QCOMPARE(h.saveSuggestions.size(), 1);
        QVERIFY(!h.Doc().IsModified());
    }

    void saveQuestionOnlyWhenModified()
    {
        AppHarness h;
        QVERIFY(h.Start());
        Trigger(h, ID_FILE_NEW);
        QVERIFY(h.messages.isEmpty());

        // Cancel keeps everything as it was.
        Modify(h);
        h.answers = {Answer::Cancel};
        Trigger(h, ID_FILE_NEW);
        QCOMPARE(h.messages, QStringList{"Save changes to Untitled?"});
        QVERIFY(h.Doc().FindAccount("Cash"));
        QVERIFY(h.Doc().IsModified());

        // Yes with the name dialog cancelled is a cancel too.
        h.answers = {Answer::Yes};
        Trigger(h, ID_FILE_NEW);
        QCOMPARE(h.saveSuggestions.size(), 1);
        QVERIFY(h.Doc().FindAccount("Cash"));

        // No drops the changes.
        h.answers = {Answer::No};
        Trigger(h, ID_FILE_NEW);
        QVERIFY(!h.Doc().FindAccount("Cash"));
        QVERIFY(!h.Doc().IsModified());
        QCOMPARE(h.messages.size(), 3);
    }

    void openAsksAfterChoosingAndYesSavesFirst()
    {
        AppHarness h;
        const QString other = h.Path("Other.ql1");
        h.WriteCheckbook(other, "Joint");
        QVERIFY(h.Start());
        Modify(h);

        h.openPath.clear();  // dialog cancelled: no question at all
        Trigger(h, ID_FILE_OPEN);
        QVERIFY(h.messages.isEmpty());

        h.openPath = other;
        h.savePath = h.Path("Mine.ql1");
        h.answers = {Answer::Yes};
        Trigger(h, ID_FILE_OPEN);
        QCOMPARE(h.messages.size(), 1);
        QVERIFY(h.Doc().FindAccount("Joint"));
        QCOMPARE(h.Frame().windowTitle(), QString("Other.ql1[*] - Quillet"));
        QVERIFY(QFileInfo(h.Path("Mine.ql1")).size() > 0);
    }

    void exitAsksAndCancelKeepsTheWindow()
    {
        AppHarness h;
        QVERIFY(h.Start());
        QVERIFY(h.Frame().isVisible());
        Modify(h);
        h.answers = {Answer::Cancel};
        QVERIFY(!h.Frame().close());
        QVERIFY(h.Frame().isVisible());
        h.answers = {Answer::No};
        QVERIFY(h.Frame().close());
        QCOMPARE(h.messages.size(), 2);

        AppHarness clean;
        QVERIFY(clean.Start());
        QVERIFY(clean.Frame().close());
        QVERIFY(clean.messages.isEmpty());
    }

    void failedSaveKeepsTheDocumentModified()
    {
        AppHarness h;
        QVERIFY(h.Start());
        Modify(h);
        h.savePath = h.Path("no/such/folder/Budget.ql1");
        Trigger(h, ID_FILE_SAVE_AS);
        QCOMPARE(h.messages.size(), 1);
        QVERIFY(h.messages[0].contains("Budget.ql1"));
        QVERIFY(h.Doc().IsModified());
        QVERIFY(h.app->Session().PathName().isEmpty());
    }

    void protectedFileWithTheRightPassword()
    {
        AppHarness h;
        const QString file = h.Path("Secret.ql1");
        const std::string hash = MakePasswordHash("letmein");
        h.WriteCheckbook(file, "Savings", 20, hash);
        QVERIFY(h.Make().InitInstance({"quillet"}));
        // The real prompt this time: type into it as the user would.
        h.app->Session().SetPasswordPrompt(
            [&h](const std::string& stored) { return AskFilePassword(&h.Frame(), stored); });
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<CFilePasswordDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QTest::keyClicks(dialog->PasswordEdit(), "letmein");
            QTest::keyClick(dialog->PasswordEdit(), Qt::Key_Return);
        });
        h.openPath = file;
        Trigger(h, ID_FILE_OPEN);
        QVERIFY(h.messages.isEmpty());
        QVERIFY(h.Doc().FindAccount("Savings"));
        QCOMPARE(g_strPasswordHash, hash);
        QCOMPARE(h.app->Session().PathName(), file);
    }

    void setPasswordFromTheMenuProtectsTheNextSave()
    {
        AppHarness h;
        QVERIFY(h.Start());
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<CPasswordDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QTest::mouseClick(dialog->EnableBox(), Qt::LeftButton);
            QTest::keyClicks(dialog->FirstPasswordEdit(), "hush");
            QTest::keyClicks(dialog->SecondPasswordEdit(), "hush");
            QTest::mouseClick(dialog->SetButton(), Qt::LeftButton);
        });
        Trigger(h, ID_FILE_SETPASSWORD);
        QVERIFY(!g_strPasswordHash.empty());
        QVERIFY(h.Doc().IsModified());  // leaving must ask to save the protection

        // A new document keeps the password; its first save carries it.
        h.answers << UserMessage::Answer::No;  // the empty document needs no saving
        Trigger(h, ID_FILE_NEW);
        QCOMPARE(h.messages.size(), 1);
        h.savePath = h.Path("Hushed.ql1");
        Trigger(h, ID_FILE_SAVE);
        std::string stored;
        h.app->Session().SetPasswordPrompt([&stored](const std::string& hash) {
            stored = hash;
            return CheckFilePassword(hash, "hush");
        });
        QVERIFY(h.app->Session().OpenDocumentFile(h.Path("Hushed.ql1")));
        QCOMPARE(stored.size(), size_t(13));
    }

    void refusedPasswordNeverTouchesTheProtectedFile()
    {
        AppHarness h;
        const QString file = h.Path("Secret.ql1");
        h.WriteCheckbook(file, "Savings", 20, MakePasswordHash("letmein"));
        const QByteArray before = ReadFileBytes(file);
        QVERIFY(h.Start());
        h.passwordAccepted = false;
        h.openPath = file;
        Trigger(h, ID_FILE_OPEN);
        QCOMPARE(h.passwordPrompts, 1);
        QCOMPARE(h.messages.size(), 1);
        QVERIFY(h.messages[0].contains("Secret.ql1"));
        QVERIFY(h.messages[0].contains("denied"));
        QCOMPARE(h.Frame().windowTitle(), QString("Untitled[*] - Quillet"));
        QVERIFY(g_strPasswordHash.empty());

        // Save asks for a name, and cancelling it writes nothing.
        Modify(h);
        Trigger(h, ID_FILE_SAVE);
        QCOMPARE(h.saveSuggestions.size(), 1);
        QVERIFY(!h.saveSuggestions[0].endsWith("Secret.ql1"));
        QCOMPARE(ReadFileBytes(file), before);
    }

    void recentFileList()
    {
        QStringList paths;
        AppHarness h;
        for (const char* name : {"a.ql1", "b.ql1", "c.ql1", "d.ql1", "e.ql1"}) {
            paths << h.Path(name);
            h.WriteCheckbook(paths.last(), name);
        }
        QVERIFY(h.Start());
        QAction* first = h.Frame().CommandAction(ID_FILE_MRU_FILE1);
        QVERIFY(!first->isVisible());  // only the "Recent File" placeholder
        for (const QString& path : paths) {
            h.openPath = path;
            Trigger(h, ID_FILE_OPEN);
        }
        h.openPath = paths[2];  // again: moves to the front, no duplicate
        Trigger(h, ID_FILE_OPEN);
        const QStringList expected{paths[2], paths[4], paths[3], paths[1]};
        QCOMPARE(h.app->Session().RecentFiles().Files(), expected);
        QVERIFY(first->isVisible());
        QVERIFY(first->text().startsWith("&1 "));
        QVERIFY(first->text().endsWith("c.ql1"));
        QCOMPARE(first->statusTip(), QString("Open this document"));
        QVERIFY(!h.Frame().CommandAction(ID_FILE_MRU_FILE1 + 4));

        // Kept in the store at exit and back at the next start.
        h.app->ExitInstance();
        h.Make();
        QVERIFY(h.Start());
        QCOMPARE(h.app->Session().RecentFiles().Files(), expected);
        Trigger(h, ID_FILE_MRU_FILE1 + 3);
        QVERIFY(h.Doc().FindAccount("b.ql1"));

        // A file that has gone leaves the list once it fails to open.
        QVERIFY(QFile::remove(paths[4]));
        h.messages.clear();
        Trigger(h, ID_FILE_MRU_FILE1 + 2);
        QCOMPARE(h.messages.size(), 1);
        QVERIFY(!h.app->Session().RecentFiles().Files().contains(paths[4]));
        QCOMPARE(h.Frame().windowTitle(), QString("Untitled[*] - Quillet"));
    }

    void droppedCheckbookOpensAfterTheQuestion()
    {
        AppHarness h;
        const QString file = h.Path("Dropped.ql1");
        h.WriteCheckbook(file, "Dropped");
        QVERIFY(h.Start());
        const auto drop = [&h](const QString& path) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(path)});
            QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&h.Frame(), &enter);
            if (!enter.isAccepted())
                return false;
            QDropEvent event(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&h.Frame(), &event);
            return true;
        };
        QVERIFY(!drop(h.Path("notes.txt")));

        Modify(h);
        h.answers = {Answer::Cancel};
        QVERIFY(drop(file));
        QCOMPARE(h.messages.size(), 1);
        QVERIFY(h.Doc().FindAccount("Cash"));
        h.answers = {Answer::No};
        QVERIFY(drop(file));
        QVERIFY(h.Doc().FindAccount("Dropped"));
        QCOMPARE(h.Frame().windowTitle(), QString("Dropped.ql1[*] - Quillet"));
    }
};

QTEST_MAIN(DocumentLifecycleTest)
#include "tst_DocumentLifecycle.moc"
