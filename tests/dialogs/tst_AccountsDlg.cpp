#include "AccountsDlg.h"
#include "DialogTestSupport.h"
#include "QuilletDoc.h"

#include <QLineEdit>
#include <QtTest>

class TestAccountsDlg : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void listShowsAccountsAndOneBlankRow();
    void newAccountValidationOrder();
    void editingKeepsOrRefusesNames();
    void longNamesCountAsTakenByTheirStart();
    void blankRowNeverOverwritesTheAccountShownBefore();
    void renameTakesReferencesAlong();
    void deleteRefusedWhileRecurringUsesAccountAndAsksForARegister();
    void balanceThatIsNoNumberKeepsDialogOpen();
    void enterClosesAndDropsUnsavedFields();

private:
    void Type(const char* name, const QString& text)
    {
        RetypeText(m_dialog->findChild<QLineEdit*>(QLatin1String(name)), text);
    }
    QString Text(const char* name) { return m_dialog->findChild<QLineEdit*>(QLatin1String(name))->text(); }
    void Click(const char* button) { ClickButton(m_dialog.get(), QLatin1String(button)); }
    CXListCtrl* List() { return m_dialog->List(); }

    std::unique_ptr<CQuilletDoc> m_doc;
    std::unique_ptr<CAccountsDlg> m_dialog;
    std::unique_ptr<MessageLog> m_messages;
};

void TestAccountsDlg::init()
{
    FixClock();
    m_doc = std::make_unique<CQuilletDoc>();
    m_doc->AddAccount("Checking", "1001", 1500.0, "Pat", "First Bank", "12-3");
    m_doc->AddAccount("Savings", "1001", 250.25, "Pat", "First Bank", "");
    m_messages = std::make_unique<MessageLog>();
    m_dialog = std::make_unique<CAccountsDlg>(m_doc.get());
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
}

void TestAccountsDlg::cleanup()
{
    m_dialog.reset();
    m_messages.reset();
    m_doc.reset();
    Clock::Set({});
}

void TestAccountsDlg::listShowsAccountsAndOneBlankRow()
{
    QCOMPARE(RowTexts(List(), 0), QStringList({" Checking", "1500.00 ", "1001", "First Bank", "Pat", "12-3"}));
    QCOMPARE(List()->GetItemText(1, 1), QStringLiteral("250.25 "));
    QCOMPARE(List()->GetItemCount(), 3);
    QCOMPARE(List()->GetNextSelected(-1), 2);
    QCOMPARE(Text("balanceEdit"), QStringLiteral("0"));
    Click("Add Account");
    Click("Add Account");
    QCOMPARE(List()->GetItemCount(), 3);
    QCOMPARE(List()->GetNextSelected(-1), 2);
}

void TestAccountsDlg::newAccountValidationOrder()
{
    const QString unique = QStringLiteral("Account: Invalid Value.\nYou must specify a UNIQUE account name.");
    const QString zero = QStringLiteral("Starting Balance: Invalid Value.\nPlease specify a value.");
    Click("Save");
    QCOMPARE(m_messages->lastText(), QStringLiteral("Account: Invalid Value.\nYou must specify an account name"));
    Type("nameEdit", QStringLiteral("Checking"));
    Click("Save");
    QCOMPARE(m_messages->lastText(), zero);  // the balance is checked before the name
    Type("balanceEdit", QStringLiteral("10"));
    Click("Save");
    QCOMPARE(m_messages->lastText(), unique);
    Type("nameEdit", QStringLiteral("Cash;Box"));
    Click("Save");
    QCOMPARE(m_messages->lastText(), QStringLiteral("Account Name: Invalid Value.\nAn account name cannot contain \";\"."));
    QCOMPARE(m_messages->lastTitle(), QApplication::applicationName());
    QCOMPARE(m_doc->m_accounts.size(), size_t(2));

    // Names compare case-sensitively; a new account marks the document modified.
    Type("nameEdit", QStringLiteral("checking"));
    Type("taxIdEdit", QStringLiteral("99"));
    Click("Save");
    QCOMPARE(m_messages->count(), 4);
    QCOMPARE(m_doc->GetAccount(2)->m_strName, std::string("checking"));
    QCOMPARE(m_doc->GetAccount(2)->m_strTaxId, std::string("99"));
    QVERIFY(m_doc->IsModified());
    QCOMPARE(RowTexts(List(), 2), QStringList({" checking", "10.00 ", "", "", "", "99"}));
    QCOMPARE(List()->GetNextSelected(-1), 3);  // a fresh blank row
    QVERIFY(Text("nameEdit").isEmpty());
}

void TestAccountsDlg::editingKeepsOrRefusesNames()
{
    m_doc->AddEntry("Savings", CTime(kTestNow), "", "Pay", "", 100.0, 0.0, 1, 0, 0, 0);
    m_doc->SetModifiedFlag(false);
    ClickRow(List(), 1);
    QCOMPARE(Text("nameEdit"), QStringLiteral("Savings"));
    QCOMPARE(Text("balanceEdit"), QStringLiteral("250.25"));
    Type("nameEdit", QStringLiteral("Checking"));
    Click("Save");
    QCOMPARE(m_messages->lastText(),
             QStringLiteral("Account Name: Invalid Value.\nPlease enter either the original name,\nor a UNIQUE name."));

    // Its own name is fine; the register stays with the account.
    Type("nameEdit", QStringLiteral("Savings"));
    Type("balanceEdit", QStringLiteral("300"));
    Click("Save");
    QCOMPARE(m_messages->count(), 1);
    QCOMPARE(m_doc->GetAccount(1)->m_dBalance, 400.0);
    QCOMPARE(List()->GetItemText(1, 1), QStringLiteral("300.00 "));
    QVERIFY(m_doc->IsModified());

    // Nothing is being edited any more, so the same name is now taken, and
    // a free name is not dropped silently either.
    Click("Save");
    QCOMPARE(m_messages->lastText(), QStringLiteral("Account: Invalid Value.\nYou must specify a UNIQUE account name."));
    Type("nameEdit", QStringLiteral("Brokerage"));
    Click("Save");
    QVERIFY(m_messages->lastText().startsWith(QStringLiteral("Account: No account selected.")));
    QCOMPARE(m_doc->m_accounts.size(), size_t(2));
}

void TestAccountsDlg::longNamesCountAsTakenByTheirStart()
{
    const std::string longName = "Household Joint Checking at the Credit Union";
    m_doc->AddAccount(longName, "7", 5.0, "", "", "");
    Type("balanceEdit", QStringLiteral("1"));
    for (const std::string& typed : {longName.substr(0, 31), longName}) {
        Type("nameEdit", QString::fromStdString(typed));
        Click("Save");
    }
    QCOMPARE(m_messages->count(), 2);
    QCOMPARE(m_doc->m_accounts.size(), size_t(3));
    // Another long name that only starts the same way is free.
    Type("nameEdit", QString::fromStdString(longName.substr(0, 31) + " (old)"));
    Click("Save");
    QCOMPARE(m_doc->m_accounts.size(), size_t(4));
}

void TestAccountsDlg::blankRowNeverOverwritesTheAccountShownBefore()
{
    ClickRow(List(), 0);
    ClickRow(List(), 2);
    QVERIFY(Text("nameEdit").isEmpty());
    Type("nameEdit", QStringLiteral("Visa"));
    Type("balanceEdit", QStringLiteral("75"));
    ClickRow(List(), 2);  // a second click keeps what is typed
    Click("Save");
    QCOMPARE(m_messages->count(), 0);
    QCOMPARE(m_doc->GetAccount(0)->m_strName, std::string("Checking"));
    QCOMPARE(m_doc->GetAccount(2)->m_strName, std::string("Visa"));

    // Walking the list with the keyboard loads rows as clicks do.
    List()->setFocus();
    QTest::keyClick(List(), Qt::Key_Up);
    QCOMPARE(Text("nameEdit"), QStringLiteral("Visa"));
    QTest::keyClick(List(), Qt::Key_PageUp);
    QCOMPARE(Text("nameEdit"), QStringLiteral("Checking"));
}

void TestAccountsDlg::renameTakesReferencesAlong()
{
    m_doc->AddRecurring("Checking", 20.0, CTime(kTestNow), "Phone", "Telephone", "Monthly", "12", 0);
    m_doc->SetDayChartAccount(0, "Checking");
    g_strCategoryAccount = "Checking";
    ClickRow(List(), 0);
    Type("nameEdit", QStringLiteral("Everyday"));
    Click("Save");
    QCOMPARE(m_doc->GetAccount(0)->m_strName, std::string("Everyday"));
    QCOMPARE(m_doc->GetRecurring(0)->m_strAccount, std::string("Everyday"));
    QCOMPARE(m_doc->m_dayChartAccounts[0], std::string("Everyday"));
    QCOMPARE(g_strCategoryAccount, std::string("Everyday"));
}

void TestAccountsDlg::deleteRefusedWhileRecurringUsesAccountAndAsksForARegister()
{
    m_doc->AddRecurring("Savings", -5.0, CTime(kTestNow), "Interest", "", "Monthly", "Forever", 0);
    m_doc->AddEntry("Checking", CTime(kTestNow), "101", "Rent", "", 900.0, 0.0, 0, 0, 0, 0);
    m_doc->SetModifiedFlag(false);
    ClickRow(List(), 1);
    Click("Delete Account");
    QCOMPARE(m_messages->lastTitle(), QStringLiteral("Delete Account"));
    QCOMPARE(m_messages->lastText(),
             QStringLiteral("Sorry.  Recurring Transactions Exist.\nPlease remove all recurring transactions that "
                            "reference this account\nbefore you delete this account."));
    QVERIFY(!m_doc->IsModified());

    // An account with a register is only deleted after a yes.
    ClickRow(List(), 0);
    Click("Delete Account");
    QVERIFY(m_messages->lastText().contains(QStringLiteral("\"Checking\" and its 1 register entries")));
    QCOMPARE(m_doc->m_accounts.size(), size_t(2));
    m_messages->answerQuestionsWith(UserMessage::Answer::Yes);
    ClickRow(List(), 0);
    Click("Delete Account");
    QCOMPARE(m_doc->m_accounts.size(), size_t(1));
    QCOMPARE(RowTexts(List(), 0).first(), QStringLiteral(" Savings"));
    QVERIFY(m_doc->IsModified());
    Click("Delete Account");  // nothing selected now: no effect
    QCOMPARE(m_doc->m_accounts.size(), size_t(1));
}

void TestAccountsDlg::balanceThatIsNoNumberKeepsDialogOpen()
{
    Type("nameEdit", QStringLiteral("Visa"));
    Type("balanceEdit", QStringLiteral("12,50"));
    Click("Save");
    QCOMPARE(m_messages->lastText(), QStringLiteral("Opening Balance: Invalid Value.\nPlease enter a number."));
    QVERIFY(m_dialog->findChild<QLineEdit*>(QStringLiteral("balanceEdit"))->hasFocus());
    Click("OK");  // checked on OK as well
    QCOMPARE(m_messages->count(), 2);
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(m_doc->m_accounts.size(), size_t(2));
}

void TestAccountsDlg::enterClosesAndDropsUnsavedFields()
{
    ClickRow(List(), 0);
    Type("ownerEdit", QStringLiteral("Somebody Else"));
    QTest::keyClick(m_dialog->findChild<QLineEdit*>(QStringLiteral("ownerEdit")), Qt::Key_Return);
    QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
    QCOMPARE(m_doc->GetAccount(0)->m_strOwner, std::string("Pat"));
}

QTEST_MAIN(TestAccountsDlg)
#include "tst_AccountsDlg.moc"
