#include "AccountsDlg.h"
#include "DialogTestSupport.h"

#include <QLineEdit>
#include <QtTest>

class TestAccountsDlg : public QObject
{
    Q_OBJECT
    std::unique_ptr<CQuilletDoc> m_doc;
    std::unique_ptr<MessageLog> m_messages;
    std::unique_ptr<CAccountsDlg> m_dialog;

    QLineEdit* Edit(const char* name) { return Find<QLineEdit>(m_dialog.get(), name); }
    void Type(const char* name, const QString& text) { RetypeText(Edit(name), text); }
    void Click(const QString& button) { ClickButton(m_dialog.get(), button); }
    CXListCtrl* List() { return m_dialog->List(); }

private slots:
    void init()
    {
        m_dialog.reset();  // the last test's, before its document and messages
        m_messages.reset();
        FixClock();
        m_doc = std::make_unique<CQuilletDoc>();
        m_doc->AddAccount("Checking", "1001", 1500.0, "Pat", "First Bank", "12-3");
        m_doc->AddAccount("Savings", "1001", 250.25, "Pat", "First Bank", "");
        m_messages = std::make_unique<MessageLog>();
        m_dialog = std::make_unique<CAccountsDlg>(m_doc.get());
        Show(*m_dialog);
    }

    void newAccountValidationOrder()
    {
        QCOMPARE(RowText(List(), 0), u" Checking|1500.00 |1001|First Bank|Pat|12-3"_s);
        Click(u"Add Account"_s);  // one blank row only
        QCOMPARE(List()->GetItemCount(), 3);
        QCOMPARE(List()->GetNextSelected(-1), 2);

        Click(u"Save"_s);
        QCOMPARE(m_messages->lastText(), u"Account: Invalid Value.\nYou must specify an account name"_s);
        Type("nameEdit", u"Checking"_s);
        Click(u"Save"_s);  // the balance is checked before the name
        QCOMPARE(m_messages->lastText(), u"Starting Balance: Invalid Value.\nPlease specify a value."_s);
        Type("balanceEdit", u"10"_s);
        Click(u"Save"_s);
        QCOMPARE(m_messages->lastText(), u"Account: Invalid Value.\nYou must specify a UNIQUE account name."_s);
        Type("nameEdit", u"Cash;Box"_s);
        Click(u"Save"_s);
        QCOMPARE(m_messages->lastText(), u"Account Name: Invalid Value.\nAn account name cannot contain \";\"."_s);
        QVERIFY(m_messages->allPlain());

        // A balance that is no number is named and stops OK.
        Type("nameEdit", u"checking"_s);
        Type("balanceEdit", u"12,50"_s);
        Click(u"Save"_s);
        QCOMPARE(m_messages->lastText(), u"Opening Balance: Invalid Value.\nPlease enter a number."_s);
        Click(u"OK"_s);
        QCOMPARE(m_messages->count(), 6);
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(m_doc->m_accounts.size(), size_t(2));

        // Names compare case-sensitively.
        Type("balanceEdit", u"10"_s);
        Type("taxIdEdit", u"99"_s);
        Click(u"Save"_s);
        QCOMPARE(m_messages->count(), 6);
        QCOMPARE(m_doc->GetAccount(2)->m_strName, std::string("checking"));
        QVERIFY(m_doc->IsModified());
        QCOMPARE(RowText(List(), 2), u" checking|10.00 ||||99"_s);
        QCOMPARE(List()->GetNextSelected(-1), 3);  // a fresh blank row
        QVERIFY(Edit("nameEdit")->text().isEmpty());

        // A long name is taken by its first 31 characters; one that only starts alike is free.
        const std::string longName = "Household Joint Checking at the Credit Union";
        m_doc->AddAccount(longName, "7", 5.0, "", "", "");
        Type("balanceEdit", u"1"_s);
        for (const std::string& typed : {longName.substr(0, 31), longName, longName.substr(0, 31) + " (old)"}) {
            Type("nameEdit", QString::fromStdString(typed));
            Click(u"Save"_s);
        }
        QCOMPARE(m_messages->count(), 8);
        QCOMPARE(m_doc->m_accounts.size(), size_t(5));
    }

    void editingKeepsOrRefusesNamesAndTheBlankRowAddsOnly()
    {
        m_doc->AddEntry("Savings", CTime(kTestNow), "", "Pay", "", 100.0, 0.0, 1, 0, 0, 0);
        m_doc->SetModifiedFlag(false);
        ClickCell(List(), 1);
        QCOMPARE(Edit("balanceEdit")->text(), u"250.25"_s);
        Type("nameEdit", u"Checking"_s);
        Click(u"Save"_s);
        QCOMPARE(m_messages->lastText(),
                 u"Account Name: Invalid Value.\nPlease enter either the original name,\nor a UNIQUE name."_s);

        // Its own name is fine; the register stays with the account.
        Type("nameEdit", u"Savings"_s);
        Type("balanceEdit", u"300"_s);
        Click(u"Save"_s);
        QCOMPARE(m_messages->count(), 1);
        QCOMPARE(m_doc->GetAccount(1)->m_dBalance, 400.0);
        QCOMPARE(List()->GetItemText(1, 1), u"300.00 "_s);
        QVERIFY(m_doc->IsModified());

        // Nothing is being edited any more, so the same name is now taken,
        // and a free name is not dropped silently either.
        Click(u"Save"_s);
        QCOMPARE(m_messages->lastText(), u"Account: Invalid Value.\nYou must specify a UNIQUE account name."_s);
        Type("nameEdit", u"Brokerage"_s);
        Click(u"Save"_s);
        QVERIFY(m_messages->lastText().startsWith(u"Account: No account selected."_s));
        QCOMPARE(m_doc->m_accounts.size(), size_t(2));

        // The blank row never overwrites the account shown before it.
        Click(u"Add Account"_s);
        ClickCell(List(), 0);
        ClickCell(List(), 2);
        QVERIFY(Edit("nameEdit")->text().isEmpty());
        Type("nameEdit", u"Visa"_s);
        Type("balanceEdit", u"75"_s);
        ClickCell(List(), 2);  // a second click keeps what is typed
        Click(u"Save"_s);
        QCOMPARE(m_messages->count(), 3);
        QCOMPARE(m_doc->GetAccount(0)->m_strName, std::string("Checking"));
        QCOMPARE(m_doc->GetAccount(2)->m_strName, std::string("Visa"));

        // The keyboard loads rows as clicks do; Enter closes, dropping unsaved fields.
        List()->setFocus();
        QTest::keyClick(List(), Qt::Key_PageUp);
        QCOMPARE(Edit("nameEdit")->text(), u"Checking"_s);
        Type("ownerEdit", u"Somebody Else"_s);
        QTest::keyClick(Edit("ownerEdit"), Qt::Key_Return);
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QCOMPARE(m_doc->GetAccount(0)->m_strOwner, std::string("Pat"));
    }

    void renameTakesReferencesAlongAndDeleteHeedsThem()
    {
        m_doc->AddRecurring("Savings", -5.0, CTime(kTestNow), "Interest", "", "Monthly", "Forever", 0);
        m_doc->AddEntry("Checking", CTime(kTestNow), "101", "Rent", "", 900.0, 0.0, 0, 0, 0, 0);
        m_doc->SetDayChartAccount(0, "Savings");
        g_strCategoryAccount = "Savings";
        ClickCell(List(), 1);
        Type("nameEdit", u"Reserve"_s);
        Click(u"Save"_s);
        QCOMPARE(m_doc->GetAccount(1)->m_strName, std::string("Reserve"));
        QCOMPARE(m_doc->GetRecurring(0)->m_strAccount, std::string("Reserve"));
        QCOMPARE(m_doc->m_dayChartAccounts[0], std::string("Reserve"));
        QCOMPARE(g_strCategoryAccount, std::string("Reserve"));

        // Its recurring transaction keeps the account from being deleted.
        m_doc->SetModifiedFlag(false);
        ClickCell(List(), 1);
        Click(u"Delete Account"_s);
        QCOMPARE(m_messages->lastTitle(), u"Delete Account"_s);
        QCOMPARE(m_messages->lastText(), u"Sorry.  Recurring Transactions Exist.\nPlease remove all recurring "
                                         "transactions that reference this account\nbefore you delete this account."_s);
        QVERIFY(!m_doc->IsModified());

        // An account with a register is only deleted after a yes.
        ClickCell(List(), 0);
        Click(u"Delete Account"_s);
        QVERIFY(m_messages->lastText().contains(u"\"Checking\" and its 1 register entries"_s));
        QCOMPARE(m_doc->m_accounts.size(), size_t(2));
        m_messages->answer = UserMessage::Answer::Yes;
        ClickCell(List(), 0);
        Click(u"Delete Account"_s);
        QCOMPARE(m_doc->m_accounts.size(), size_t(1));
        QVERIFY(RowText(List(), 0).startsWith(u" Reserve|"_s));
        QVERIFY(m_doc->IsModified());
        Click(u"Delete Account"_s);  // nothing selected now: no effect
        QCOMPARE(m_doc->m_accounts.size(), size_t(1));
    }
};

QTEST_MAIN(TestAccountsDlg)
#include "tst_AccountsDlg.moc"
