// The two password dialogs: setting the application-wide hash and asking
// for the password of a protected file.
#include "AboutDialog.h"
#include "AppValues.h"
#include "FilePasswordDialog.h"
#include "PasswordDialog.h"
#include "PasswordHash.h"
#include "UserMessage.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class PasswordDialogsTest : public QObject
{
    Q_OBJECT

    QStringList m_messages;

    // Runs a callback on the modal dialog as soon as it is up.
    static void WhenModal(std::function<void(QWidget*)> act)
    {
        QTimer::singleShot(0, [act] {
            QWidget* modal = QApplication::activeModalWidget();
            QVERIFY(modal);
            act(modal);
        });
    }

private slots:
    void init()
    {
        AppValues::ResetToDefaults();
        m_messages.clear();
        UserMessage::SetHandler([this](const UserMessage::Shown& shown) {
            m_messages << shown.text;
            return UserMessage::Answer::Ok;
        });
    }
    void cleanup() { UserMessage::SetHandler({}); }

    void openingStateFollowsTheCurrentHash()
    {
        {
            CPasswordDialog dialog;
            QCOMPARE(dialog.windowTitle(), QString("Password Protection"));
            QVERIFY(!dialog.EnableBox()->isChecked());
            QVERIFY(!dialog.FirstPasswordEdit()->isEnabled());
            QVERIFY(!dialog.SecondPasswordEdit()->isEnabled());
            QCOMPARE(dialog.FirstPasswordEdit()->echoMode(), QLineEdit::Password);
        }
        g_strPasswordHash = MakePasswordHash("secret");
        CPasswordDialog dialog;
        dialog.show();
        QVERIFY(dialog.EnableBox()->isChecked());
        QVERIFY(dialog.FirstPasswordEdit()->isEnabled());
        QVERIFY(dialog.FirstPasswordEdit()->text().isEmpty());
        // Clicking the box switches both edits with it.
        QTest::mouseClick(dialog.EnableBox(), Qt::LeftButton);
        QVERIFY(!dialog.FirstPasswordEdit()->isEnabled());
        QVERIFY(!dialog.SecondPasswordEdit()->isEnabled());
        QTest::mouseClick(dialog.EnableBox(), Qt::LeftButton);
        QVERIFY(dialog.SecondPasswordEdit()->isEnabled());
    }

    void setStoresTheHashOfTheNewPassword()
    {
        CPasswordDialog dialog;
        dialog.show();
        QTest::mouseClick(dialog.EnableBox(), Qt::LeftButton);
        // Typed keys are ASCII only; a code-page character goes in directly.
        dialog.FirstPasswordEdit()->insert("Pässwort1");
        dialog.SecondPasswordEdit()->insert("Pässwort1");
        QTest::mouseClick(dialog.SetButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(g_strPasswordHash.size(), size_t(13));
        QVERIFY(CheckFilePassword(g_strPasswordHash, "Pässwort1"));
        QVERIFY(!CheckFilePassword(g_strPasswordHash, "Passwort1"));
        QVERIFY(m_messages.isEmpty());
    }

    void mismatchKeepsTheDialogOpen_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("different") << "apple" << "apples";
        QTest::newRow("trailing blank") << "apple" << "apple ";
        QTest::newRow("case") << "Apple" << "apple";
    }
    void mismatchKeepsTheDialogOpen()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        const std::string old = MakePasswordHash("old");
        g_strPasswordHash = old;
        CPasswordDialog dialog;
        dialog.show();
        QTest::keyClicks(dialog.FirstPasswordEdit(), first);
        QTest::keyClicks(dialog.SecondPasswordEdit(), second);
        QTest::mouseClick(dialog.SetButton(), Qt::LeftButton);
        QCOMPARE(m_messages, QStringList{"New Passwords do not match."});
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.FirstPasswordEdit()->text(), first);  // typed text kept
        QCOMPARE(g_strPasswordHash, old);
    }

    void emptyPasswordProtectsAndUncheckingRemoves()
    {
        {
            CPasswordDialog dialog;
            dialog.show();
            QTest::mouseClick(dialog.EnableBox(), Qt::LeftButton);
            QTest::mouseClick(dialog.SetButton(), Qt::LeftButton);
        }
        QCOMPARE(g_strPasswordHash.size(), size_t(13));
        QVERIFY(CheckFilePassword(g_strPasswordHash, ""));
        QVERIFY(!CheckFilePassword(g_strPasswordHash, "x"));

        CPasswordDialog dialog;
        dialog.show();
        QTest::mouseClick(dialog.EnableBox(), Qt::LeftButton);
        QTest::mouseClick(dialog.SetButton(), Qt::LeftButton);
        QVERIFY(g_strPasswordHash.empty());
    }

    void cancelLeavesTheOldProtection()
    {
        const std::string old = MakePasswordHash("old");
        g_strPasswordHash = old;
        WhenModal([](QWidget* modal) {
            auto* dialog = qobject_cast<CPasswordDialog*>(modal);
            QVERIFY(dialog);
            QTest::keyClicks(dialog->FirstPasswordEdit(), "new");
            QTest::keyClicks(dialog->SecondPasswordEdit(), "new");
            dialog->reject();
        });
        SetPasswordDialog(nullptr);
        QCOMPARE(g_strPasswordHash, old);
    }

    void checkFilePasswordRules()
    {
        const std::string hash = CryptPassword("longpassword", "ab");
        QVERIFY(CheckFilePassword(hash, "longpassword"));
        QVERIFY(CheckFilePassword(hash, "longpass"));  // only 8 characters count
        QVERIFY(!CheckFilePassword(hash, "longpas"));
        // A missing or damaged stored hash accepts nothing, not even what
        // the library would refuse alike.
        QVERIFY(!CheckFilePassword("", ""));
        QVERIFY(!CheckFilePassword("!!", ""));
        QVERIFY(!CheckFilePassword(hash.substr(0, 12), "longpassword"));
    }

    void askFilePasswordGivesOneAttempt_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("enter");
        QTest::addColumn<bool>("expected");
        QTest::newRow("right") << "open sesame" << true << true;
        QTest::newRow("wrong") << "open_sesame" << true << false;
        QTest::newRow("right but cancelled") << "open sesame" << false << false;
    }
    void askFilePasswordGivesOneAttempt()
    {
        QFETCH(QString, typed);
        QFETCH(bool, enter);
        QFETCH(bool, expected);
        const std::string stored = MakePasswordHash("open sesame");
        QString title;
        WhenModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<CFilePasswordDialog*>(modal);
            QVERIFY(dialog);
            title = dialog->windowTitle();
            QVERIFY(dialog->PasswordEdit()->text().isEmpty());
            QTest::keyClicks(dialog->PasswordEdit(), typed);
            if (enter)
                QTest::keyClick(dialog->PasswordEdit(), Qt::Key_Return);  // default button
            else
                dialog->reject();
        });
        QCOMPARE(AskFilePassword(nullptr, stored), expected);
        QCOMPARE(title, QString("Password Protected File"));
        QVERIFY(m_messages.isEmpty());  // the prompt has no message of its own
    }

    void aboutBoxTexts()
    {
        CAboutDialog dialog;
        QStringList texts;
        for (QLabel* label : dialog.findChildren<QLabel*>())
            texts << label->text();
        QVERIFY(texts.contains("Quillet"));
        QVERIFY(texts.contains("Version 1.0.0.0"));
        QVERIFY(texts.contains("This program can help you maintain and balance your checkbook."));
    }
};

QTEST_MAIN(PasswordDialogsTest)
#include "tst_PasswordDialogs.moc"
