// The two password dialogs: setting the application-wide hash and asking
// for the password of a protected file.
#include "DialogTestSupport.h"
#include "FilePasswordDialog.h"
#include "PasswordDialog.h"
#include "PasswordHash.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace
{
// Runs a callback on the modal dialog as soon as it is up.
void WhenModal(std::function<void(QWidget*)> act)
{
    QTimer::singleShot(0, [act] {
        QWidget* modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        act(modal);
    });
}
}

class PasswordDialogsTest : public QObject
{
    Q_OBJECT
    MessageLog m_messages;
    CQuilletDoc m_doc;
    CDocHistory m_history{m_doc};

private slots:
    void init()
    {
        AppValues::ResetToDefaults();
        m_messages.texts.clear();
    }

    void setChangeAndRemoveProtection()
    {
        {
            CPasswordDialog dialog(m_history);
            dialog.show();
            QVERIFY(!dialog.EnableBox()->isChecked());
            QVERIFY(!dialog.FirstPasswordEdit()->isEnabled());
            QVERIFY(!dialog.SecondPasswordEdit()->isEnabled());
            QCOMPARE(dialog.FirstPasswordEdit()->echoMode(), QLineEdit::Password);
            QTest::mouseClick(dialog.EnableBox(), Qt::LeftButton);
            QVERIFY(dialog.SecondPasswordEdit()->isEnabled());
            // Typed keys are ASCII only; a code-page character goes in directly.
            dialog.FirstPasswordEdit()->insert(u"Pässwort€1"_s);
            dialog.SecondPasswordEdit()->insert(u"Pässwort€1"_s);
            QTest::mouseClick(dialog.SetButton(), Qt::LeftButton);
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        }
        QVERIFY(CheckFilePassword(g_strPasswordHash, u"Pässwort€1"_s));
        QVERIFY(!CheckFilePassword(g_strPasswordHash, u"Passwort€1"_s));

        // Protected: the box starts checked, the edits empty. Different
        // texts, even by a blank or a letter's case, keep the old hash.
        const std::string old = g_strPasswordHash;
        for (const auto& [first, second] : {std::pair{"apple", "apples"}, {"apple", "apple "}, {"Apple", "apple"}}) {
            CPasswordDialog dialog(m_history);
            dialog.show();
            QVERIFY(dialog.EnableBox()->isChecked());
            QVERIFY(dialog.FirstPasswordEdit()->text().isEmpty());
            QTest::keyClicks(dialog.FirstPasswordEdit(), QString::fromLatin1(first));
            QTest::keyClicks(dialog.SecondPasswordEdit(), QString::fromLatin1(second));
            QTest::mouseClick(dialog.SetButton(), Qt::LeftButton);
            QCOMPARE(m_messages.lastText(), u"New Passwords do not match."_s);
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.FirstPasswordEdit()->text(), QString::fromLatin1(first));  // typed text kept
            QCOMPARE(g_strPasswordHash, old);
        }
        QCOMPARE(m_messages.count(), 3);

        // A character the code page lacks is refused, never hashed as "?"
        // (which would make "?1" open a file protected with "Ω1").
        const struct
        {
            QString first, second, named;
        } unstorable[] = {{u"Ω1"_s, u"Ω1"_s, u"\"Ω\" (U+03A9)"_s},
                          {u"safe"_s, u"safe\U0001F4B0"_s, u"\"\U0001F4B0\" (U+1F4B0)"_s}};
        for (const auto& typed : unstorable) {
            CPasswordDialog dialog(m_history);
            dialog.show();
            dialog.FirstPasswordEdit()->insert(typed.first);
            dialog.SecondPasswordEdit()->insert(typed.second);
            QTest::mouseClick(dialog.SetButton(), Qt::LeftButton);
            QCOMPARE(m_messages.lastText(), u"Password: Invalid Value.\nA password cannot hold %1. Please use only "
                                            u"letters, digits and signs of Western European languages."_s
                                                .arg(typed.named));
            QVERIFY(dialog.isVisible());
            QCOMPARE(g_strPasswordHash, old);
        }
        QCOMPARE(m_messages.count(), 5);
        QVERIFY(m_messages.allPlain());

        // Unchecking removes the protection; checking with empty edits sets an
        // empty password, which still protects.
        for (bool removed : {true, false}) {
            CPasswordDialog dialog(m_history);
            dialog.show();
            QTest::mouseClick(dialog.EnableBox(), Qt::LeftButton);
            QCOMPARE(dialog.FirstPasswordEdit()->isEnabled(), !removed);
            QTest::mouseClick(dialog.SetButton(), Qt::LeftButton);
            QCOMPARE(g_strPasswordHash.empty(), removed);
        }
        QVERIFY(CheckFilePassword(g_strPasswordHash, QString()));
        QVERIFY(!CheckFilePassword(g_strPasswordHash, u"x"_s));

        // Cancel keeps the old protection.
        const std::string empty = g_strPasswordHash;
        WhenModal([](QWidget* modal) {
            auto* dialog = qobject_cast<CPasswordDialog*>(modal);
            QVERIFY(dialog);
            QTest::keyClicks(dialog->FirstPasswordEdit(), u"new"_s);
            QTest::keyClicks(dialog->SecondPasswordEdit(), u"new"_s);
            dialog->reject();
        });
        SetPasswordDialog(m_history, nullptr);
        QCOMPARE(g_strPasswordHash, empty);
    }

    void askFilePasswordGivesOneAttempt()
    {
        const std::string stored = MakePasswordHash("open sesame");
        const struct
        {
            const char* typed;
            bool enter;
            bool opens;
        } attempts[] = {{"open sesame", true, true}, {"open_sesame", true, false}, {"open sesame", false, false}};
        for (const auto& attempt : attempts) {
            WhenModal([&](QWidget* modal) {
                auto* dialog = qobject_cast<CFilePasswordDialog*>(modal);
                QVERIFY(dialog);
                QVERIFY(dialog->PasswordEdit()->text().isEmpty());
                QTest::keyClicks(dialog->PasswordEdit(), QString::fromLatin1(attempt.typed));
                if (attempt.enter)
                    QTest::keyClick(dialog->PasswordEdit(), Qt::Key_Return);  // default button
                else
                    dialog->reject();
            });
            QCOMPARE(AskFilePassword(nullptr, stored), attempt.opens);
        }
        QCOMPARE(m_messages.count(), 0);  // the prompt has no message of its own
    }
};

QTEST_MAIN(PasswordDialogsTest)
#include "tst_PasswordDialogs.moc"
