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
    void newAccountIsAddedWithoutMarkingModified();
    void editingKeepsOrRefusesNames();
    void longNamesCountAsTakenByTheirStart();
    void blankRowNeverOverwritesTheAccountShownBefore();
    void renameTakesReferencesAlong();
    void deleteRefusedWhileRecurringUsesAccount();
    void deleteAsksBeforeDroppingARegister();
    void balanceThatIsNoNumberKeepsDialogOpen();
    void enterClosesAndDropsUnsavedFields();

private:
    void Open();
    QLineEdit* Edit(const char* name) { return m_dialog->findChild<QLineEdit*>(QLatin1String(name)); }
    void Type(const char* name, const QString& text) { RetypeText(Edit(name), text); }
    void Save() { ClickButton(m_dialog.get(), QStringLiteral("Save")); }

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
}

void TestAccountsDlg::cleanup()
{
    m_dialog.reset();
    m_messages.reset();
    m_doc.reset();
    Clock::Set({});
}

void TestAccountsDlg::Open()
{
    m_dialog = std::make_unique<CAccountsDlg>(m_doc.get());
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
}

void TestAccountsDlg::listShowsAccountsAndOneBlankRow()
{
    Open();
    CXListCtrl* list = m_dialog->List();
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Add/Edit Accounts"));
    QCOMPARE(list->GetColumns(), 6);
    QCOMPARE(list->GetItemCount(), 3);
    QCOMPARE(RowTexts(list, 0), QStringList({" Checking", "1500.00 ", "1001", "First Bank", "Pat", "12-3"}));
    QCOMPARE(list->GetItemText(1, 1), QStringLiteral("250.25 "));
    QCOMPARE(RowTexts(list, 2), QStringList({"", "", "", "", "", ""}));
    QCOMPARE(list->GetNextSelected(-1), 2);
    QVERIFY(Edit("nameEdit")->hasFocus());
    QCOMPARE(Edit("balanceEdit")->text(), QStringLiteral("0"));

    ClickButton(m_dialog.get(), QStringLiteral("Add Account"));
    ClickButton(m_dialog.get(), QStringLiteral("Add Account"));
    QCOMPARE(list->GetItemCount(), 3);
    QCOMPARE(list->GetNextSelected(-1), 2);
}

void TestAccountsDlg::newAccountValidationOrder()
{
    Open();
    // Empty name and zero balance: the name is reported.
    Save();
    QCOMPARE(m_messages->lastText(), QStringLiteral("Account: Invalid Value.\nYou must specify an account name"));
    Type("nameEdit", QStringLiteral("Visa"));
    Save();
    QCOMPARE(m_messages->lastText(), QStringLiteral("Starting Balance: Invalid Value.\nPlease specify a value."));
    // The zero balance comes before the name check; with a balance, a
    // taken name is reported.
    Type("nameEdit", QStringLiteral("Checking"));
    Save();
    QCOMPARE(m_messages->lastText(), QStringLiteral("Starting Balance: Invalid Value.\nPlease specify a value."));
    Type("balanceEdit", QStringLiteral("10"));
    Save();
    QCOMPARE(m_messages->lastText(), QStringLiteral("Account: Invalid Value.\nYou must specify a UNIQUE account name."));
    Type("nameEdit", QStringLiteral("Cash;Box"));
    Save();
    QCOMPARE(m_messages->lastText(), QStringLiteral("Account Name: Invalid Value.\nAn account name cannot contain \";\"."));
    QCOMPARE(m_messages->count(), 5);
    QCOMPARE(m_messages->lastTitle(), QApplication::applicationName());
    QCOMPARE(m_doc->m_accounts.size(), size_t(2));
    QCOMPARE(m_dialog->List()->GetItemCount(), 3);

    // Names compare case-sensitively.
    Type("nameEdit", QStringLiteral("checking"));
    Save();
    QCOMPARE(m_messages->count(), 5);
    QCOMPARE(m_doc->m_accounts.size(), size_t(3));
}

void TestAccountsDlg::newAccountIsAddedWithoutMarkingModified()
{
    Open();
    Type("nameEdit", QStringLiteral("Visa"));
    Type("balanceEdit", QStringLiteral("-250.5"));
    Type("numberEdit", QStringLiteral("4400"));
    Type("institutionEdit", QStringLiteral("Card Co"));
    Type("ownerEdit", QStringLiteral("Sam"));
    Type("taxIdEdit", QStringLiteral("99"));
    Save();
    QCOMPARE(m_messages->count(), 0);
    const CAccount* visa = m_doc->GetAccount(2);
    QVERIFY(visa);
    QCOMPARE(visa->m_strName, std::string("Visa"));
    QCOMPARE(visa->m_dOpeningBalance, -250.5);
    QCOMPARE(visa->m_strInstitution, std::string("Card Co"));
    QCOMPARE(visa->m_strTaxId, std::string("99"));
    QVERIFY(!m_doc->IsModified());

    // Back to a fresh blank row with empty fields.
    CXListCtrl* list = m_dialog->List();
    QCOMPARE(list->GetItemCount(), 4);
    QCOMPARE(RowTexts(list, 2), QStringList({" Visa", "-250.50 ", "4400", "Card Co", "Sam", "99"}));
    QCOMPARE(list->GetNextSelected(-1), 3);
    QVERIFY(Edit("nameEdit")->text().isEmpty());
    QCOMPARE(Edit("balanceEdit")->text(), QStringLiteral("0"));
}

void TestAccountsDlg::editingKeepsOrRefusesNames()
{
    m_doc->AddEntry("Savings", CTime(kTestNow), "", "Pay", "", 100.0, 0.0, 1, 0, 0, 0);
    m_doc->SetModifiedFlag(false);
    Open();
    ClickRow(m_dialog->List(), 1);
    QCOMPARE(Edit("nameEdit")->text(), QStringLiteral("Savings"));
    QCOMPARE(Edit("balanceEdit")->text(), QStringLiteral("250.25"));
    QCOMPARE(Edit("numberEdit")->text(), QStringLiteral("1001"));

    Type("nameEdit", QStringLiteral("Checking"));
    Save();
    QCOMPARE(m_messages->lastText(),
             QStringLiteral("Account Name: Invalid Value.\nPlease enter either the original name,\nor a UNIQUE name."));
    QCOMPARE(m_doc->GetAccount(1)->m_strName, std::string("Savings"));

    // The unchanged own name is fine; the register stays with the account.
    Type("nameEdit", QStringLiteral("Savings"));
    Type("balanceEdit", QStringLiteral("300"));
    Save();
    QCOMPARE(m_messages->count(), 1);
    const CAccount* savings = m_doc->GetAccount(1);
    QCOMPARE(savings->m_dOpeningBalance, 300.0);
    QCOMPARE(savings->m_transactions.size(), size_t(1));
    QCOMPARE(savings->m_dBalance, 400.0);
    QCOMPARE(m_dialog->List()->GetItemText(1, 1), QStringLiteral("300.00 "));
    QVERIFY(!m_doc->IsModified());

    // Nothing is being edited any more, so the same name is now taken.
    Save();
    QCOMPARE(m_messages->lastText(), QStringLiteral("Account: Invalid Value.\nYou must specify a UNIQUE account name."));
    // A free name with nothing selected is not dropped silently either.
    Type("nameEdit", QStringLiteral("Brokerage"));
    Save();
    QVERIFY(m_messages->lastText().startsWith(QStringLiteral("Account: No account selected.")));
    QCOMPARE(m_doc->m_accounts.size(), size_t(2));
}

void TestAccountsDlg::longNamesCountAsTakenByTheirStart()
{
    const std::string longName = "Household Joint Checking at the Credit Union";
    m_doc->AddAccount(longName, "7", 5.0, "", "", "");
    Open();
    Type("balanceEdit", QStringLiteral("1"));
    Type("nameEdit", QString::fromStdString(longName.substr(0, 31)));
    Save();
    QCOMPARE(m_messages->lastText(), QStringLiteral("Account: Invalid Value.\nYou must specify a UNIQUE account name."));
    // The whole name is taken too: two accounts never share a name.
    Type("nameEdit", QString::fromStdString(longName));
    Save();
    QCOMPARE(m_messages->count(), 2);
    QCOMPARE(m_doc->m_accounts.size(), size_t(3));
    // Another long name that merely starts the same way is free.
    Type("nameEdit", QString::fromStdString(longName.substr(0, 31) + " (old)"));
    Save();
    QCOMPARE(m_messages->count(), 2);
    QCOMPARE(m_doc->m_accounts.size(), size_t(4));
}

void TestAccountsDlg::blankRowNeverOverwritesTheAccountShownBefore()
{
    Open();
    CXListCtrl* list = m_dialog->List();
    ClickRow(list, 0);
    QCOMPARE(Edit("nameEdit")->text(), QStringLiteral("Checking"));
    ClickRow(list, 2);
    QVERIFY(Edit("nameEdit")->text().isEmpty());
    Type("nameEdit", QStringLiteral("Visa"));
    Type("balanceEdit", QStringLiteral("75"));
    ClickRow(list, 2);  // clicking it again keeps what is typed
    QCOMPARE(Edit("nameEdit")->text(), QStringLiteral("Visa"));
    Save();
    QCOMPARE(m_messages->count(), 0);
    QCOMPARE(m_doc->GetAccount(0)->m_strName, std::string("Checking"));
    QCOMPARE(m_doc->GetAccount(0)->m_dOpeningBalance, 1500.0);
    QCOMPARE(m_doc->GetAccount(2)->m_strName, std::string("Visa"));
}

void TestAccountsDlg::renameTakesReferencesAlong()
{
    m_doc->AddRecurring("Checking", 20.0, CTime(kTestNow), "Phone", "Telephone", "Monthly", "12", 0);
    m_doc->SetDayChartAccount(0, "Checking");
    g_strCategoryAccount = "Checking";
    Open();
    ClickRow(m_dialog->List(), 0);
    Type("nameEdit", QStringLiteral("Everyday"));
    Save();
    QCOMPARE(m_messages->count(), 0);
    QCOMPARE(m_doc->GetAccount(0)->m_strName, std::string("Everyday"));
    QCOMPARE(m_doc->GetRecurring(0)->m_strAccount, std::string("Everyday"));
    QCOMPARE(m_doc->m_dayChartAccounts[0], std::string("Everyday"));
    QCOMPARE(g_strCategoryAccount, std::string("Everyday"));
    QCOMPARE(m_dialog->List()->GetItemText(0, 0), QStringLiteral(" Everyday"));
}

void TestAccountsDlg::deleteRefusedWhileRecurringUsesAccount()
{
    m_doc->AddRecurring("Savings", -5.0, CTime(kTestNow), "Interest", "", "Monthly", "Forever", 0);
    m_doc->SetModifiedFlag(false);
    Open();
    ClickRow(m_dialog->List(), 1);
    ClickButton(m_dialog.get(), QStringLiteral("Delete Account"));
    QCOMPARE(m_messages->count(), 1);
    QCOMPARE(m_messages->lastTitle(), QStringLiteral("Delete Account"));
    QCOMPARE(m_messages->lastText(),
             QStringLiteral("Sorry.  Recurring Transactions Exist.\nPlease remove all recurring transactions that "
                            "reference this account\nbefore you delete this account."));
    QCOMPARE(m_doc->m_accounts.size(), size_t(2));
    QVERIFY(!m_doc->IsModified());

    // An account without register or recurring use goes at once.
    ClickRow(m_dialog->List(), 0);
    ClickButton(m_dialog.get(), QStringLiteral("Delete Account"));
    QCOMPARE(m_messages->count(), 1);
    QCOMPARE(m_doc->m_accounts.size(), size_t(1));
    QCOMPARE(m_doc->GetAccount(0)->m_strName, std::string("Savings"));
    QVERIFY(m_doc->IsModified());
    QCOMPARE(m_dialog->List()->GetItemCount(), 1);
    // With the blank row gone and nothing selected, Delete does nothing.
    ClickButton(m_dialog.get(), QStringLiteral("Delete Account"));
    QCOMPARE(m_doc->m_accounts.size(), size_t(1));
}

void TestAccountsDlg::deleteAsksBeforeDroppingARegister()
{
    m_doc->AddEntry("Checking", CTime(kTestNow), "101", "Rent", "", 900.0, 0.0, 0, 0, 0, 0);
    Open();
    ClickRow(m_dialog->List(), 0);
    ClickButton(m_dialog.get(), QStringLiteral("Delete Account"));
    QCOMPARE(m_messages->count(), 1);
    QCOMPARE(m_messages->lastTitle(), QStringLiteral("Delete Account"));
    QVERIFY(m_messages->lastText().contains(QStringLiteral("\"Checking\" and its 1 register entries")));
    QCOMPARE(m_doc->m_accounts.size(), size_t(2));

    m_messages->answerQuestionsWith(UserMessage::Answer::Yes);
    ClickRow(m_dialog->List(), 0);
    ClickButton(m_dialog.get(), QStringLiteral("Delete Account"));
    QCOMPARE(m_doc->m_accounts.size(), size_t(1));
    QCOMPARE(m_dialog->List()->GetItemText(0, 0), QStringLiteral(" Savings"));
}

void TestAccountsDlg::balanceThatIsNoNumberKeepsDialogOpen()
{
    Open();
    Type("nameEdit", QStringLiteral("Visa"));
    Type("balanceEdit", QStringLiteral("12,50"));
    Save();
    QCOMPARE(m_messages->count(), 1);
    QCOMPARE(m_messages->lastText(), QStringLiteral("Opening Balance: Invalid Value.\nPlease enter a number."));
    QVERIFY(Edit("balanceEdit")->hasFocus());
    QCOMPARE(m_doc->m_accounts.size(), size_t(2));

    // OK checks the field as well and stays open.
    ClickButton(m_dialog.get(), QStringLiteral("OK"));
    QCOMPARE(m_messages->count(), 2);
    QVERIFY(m_dialog->isVisible());
}

void TestAccountsDlg::enterClosesAndDropsUnsavedFields()
{
    Open();
    ClickRow(m_dialog->List(), 0);
    Type("ownerEdit", QStringLiteral("Somebody Else"));
    QTest::keyClick(Edit("ownerEdit"), Qt::Key_Return);
    QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_doc->GetAccount(0)->m_strOwner, std::string("Pat"));
    QCOMPARE(m_messages->count(), 0);
}

QTEST_MAIN(TestAccountsDlg)
#include "tst_AccountsDlg.moc"
