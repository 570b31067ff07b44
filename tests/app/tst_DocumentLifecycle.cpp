// New, Open, Save, Save As, dropped files, the save question and
// protected files.
#include "AppTestSupport.h"

#include "PasswordHash.h"

#include <QApplication>
#include <QMimeData>
#include <QtTest>

using Answer = UserMessage::Answer;

class DocumentLifecycleTest : public QObject
{
    Q_OBJECT

    // False when the window refuses the drag.
    static bool Drop(AppHarness& h, const QString& path)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&h.Frame(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&h.Frame(), &drop);
        return true;
    }

private slots:
    void saveQuestionOnlyWhenModified()
    {
        AppHarness h;
        const QString other = h.Path("Other.ql1"), dropped = h.Path("Dropped.ql1");
        h.WriteCheckbook(other, "Joint");
        h.WriteCheckbook(dropped, "Dropped");
        QVERIFY(h.Start());
        h.Trigger(ID_FILE_NEW);
        QVERIFY(h.messages.isEmpty());

        // New: Cancel, and Yes with the name dialog cancelled, keep it all.
        h.Modify();
        h.answers = {Answer::Cancel, Answer::Yes};
        h.Trigger(ID_FILE_NEW);
        QCOMPARE(h.messages, QStringList{"Save changes to Untitled?"});
        h.Trigger(ID_FILE_NEW);
        QCOMPARE(h.saveSuggestions.size(), 1);
        QVERIFY(h.Doc().FindAccount("Cash"));
        QVERIFY(h.Doc().IsModified());

        // A failed save keeps the changes; Save As adds the extension.
        h.savePath = h.Path("no/such/folder/Budget.ql1");
        h.Trigger(ID_FILE_SAVE_AS);
        QVERIFY(h.messages.last().contains("Budget.ql1"));
        QVERIFY(h.Frame().isWindowModified());
        QVERIFY(h.app->Session().PathName().isEmpty());
        h.savePath = h.Path("Budget");
        h.Trigger(ID_FILE_SAVE);
        QVERIFY(h.saveSuggestions.last().endsWith("Untitled.ql1"));
        QCOMPARE(h.Title(), QString("Budget.ql1[*] - Quillet"));
        QVERIFY(!h.Frame().isWindowModified());
        // A bound document saves without asking again.
        h.Modify();
        h.Trigger(ID_FILE_SAVE);
        QCOMPARE(h.saveSuggestions.size(), 3);
        QVERIFY(!h.Doc().IsModified());

        // No drops the changes.
        h.Modify();
        h.answers = {Answer::No};
        h.Trigger(ID_FILE_NEW);
        QVERIFY(!h.Doc().FindAccount("Cash"));
        QVERIFY(!h.Doc().IsModified());
        h.messages.clear();

        // Open asks only once a file is chosen; Yes saves first.
        h.Modify();
        h.Trigger(ID_FILE_OPEN);
        QVERIFY(h.messages.isEmpty());
        h.openPath = other;
        h.savePath = h.Path("Mine.ql1");
        h.answers = {Answer::Yes};
        h.Trigger(ID_FILE_OPEN);
        QCOMPARE(h.messages.size(), 1);
        QVERIFY(h.Doc().FindAccount("Joint"));
        QCOMPARE(h.Title(), QString("Other.ql1[*] - Quillet"));
        QVERIFY(QFileInfo(h.Path("Mine.ql1")).size() > 0);

        // A dropped checkbook asks too, once the drop is over; other files
        // are refused.
        QVERIFY(!Drop(h, h.Path("notes.txt")));
        h.Modify();
        h.answers = {Answer::Cancel, Answer::No};
        QVERIFY(Drop(h, dropped));
        QCOMPARE(h.messages.size(), 1);  // nothing asked inside the drop
        QCoreApplication::processEvents();
        QCOMPARE(h.messages.size(), 2);
        QVERIFY(h.Doc().FindAccount("Cash"));
        QVERIFY(Drop(h, dropped));
        QVERIFY(h.Doc().FindAccount("Cash"));
        QCoreApplication::processEvents();
        QVERIFY(h.Doc().FindAccount("Dropped"));
        QCOMPARE(h.messages.size(), 3);

        // Exit: Cancel keeps the window; unchanged, it closes unasked.
        h.Modify();
        h.answers = {Answer::Cancel, Answer::Yes};
        QVERIFY(!h.Frame().close());
        QVERIFY(h.Frame().isVisible());
        QVERIFY(h.Frame().close());
        QCOMPARE(h.messages.size(), 5);
        QVERIFY(ReadFileBytes(dropped).contains("Cash"));
        h.Frame().show();
        QVERIFY(h.Frame().close());
        QCOMPARE(h.messages.size(), 5);
    }

    void protectedFiles()
    {
        AppHarness h;
        const QString file = h.Path("Secret.ql1");
        h.WriteCheckbook(file, "Savings", 20, MakePasswordHash("letmein"));
        const QByteArray before = ReadFileBytes(file);
        h.passwordAccepted = false;
        // Refused from the command line the program still starts, on a new document.
        QVERIFY(h.Start({file}));
        h.openPath = file;
        h.Trigger(ID_FILE_OPEN);
        QCOMPARE(h.passwordPrompts, 2);
        QCOMPARE(h.messages.size(), 2);
        for (const QString& message : h.messages)
            QVERIFY2(message.contains("Secret.ql1") && message.contains("denied"), qPrintable(message));
        QCOMPARE(h.Title(), QString("Untitled[*] - Quillet"));
        QVERIFY(h.Doc().m_accounts.empty());
        QVERIFY(g_strPasswordHash.empty());

        // Save asks for a name, and cancelling it writes nothing.
        h.Modify();
        h.Trigger(ID_FILE_SAVE);
        QCOMPARE(h.saveSuggestions.size(), 1);
        QVERIFY(!h.saveSuggestions[0].endsWith("Secret.ql1"));
        QCOMPARE(ReadFileBytes(file), before);
    }
};

QTEST_MAIN(DocumentLifecycleTest)
#include "tst_DocumentLifecycle.moc"
