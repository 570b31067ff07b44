#include "DialogTestSupport.h"
#include "QuilletDoc.h"
#include "RecurringDlg.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QtTest>

class TestRecurringDlg : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void depositIsStoredNegativeShownGreenAndLoadsBack();
    void validationOrder();
    void periodsMustBeAPlainNumber_data();
    void periodsMustBeAPlainNumber();
    void editingKeepsPostedPeriodsAndMovesNextDate();
    void choosingACategoryProposesItsFlag();
    void deleteSelectsTheRowAbove();
    void amountThatIsNoNumberKeepsDialogOpen();

private:
    void Open();
    template <class T>
    T* Find(const char* name)
    {
        return m_dialog->findChild<T*>(QLatin1String(name));
    }
    void FillNew(const QString& amount, const QString& description, const QString& periods);
    void Save() { ClickButton(m_dialog.get(), QStringLiteral("Save")); }

    std::unique_ptr<CQuilletDoc> m_doc;
    std::unique_ptr<CRecurringDlg> m_dialog;
    std::unique_ptr<MessageLog> m_messages;
};

void TestRecurringDlg::init()
{
    FixClock();
    m_doc = std::make_unique<CQuilletDoc>();
    m_doc->AddAccount("Savings", "2", 100.0, "", "", "");
    m_doc->AddAccount("Checking", "1", 100.0, "", "", "");
    m_messages = std::make_unique<MessageLog>();
}

void TestRecurringDlg::cleanup()
{
    m_dialog.reset();
    m_messages.reset();
    m_doc.reset();
    Clock::Set({});
}

void TestRecurringDlg::Open()
{
    m_doc->SetModifiedFlag(false);
    m_dialog = std::make_unique<CRecurringDlg>(m_doc.get());
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
}

void TestRecurringDlg::FillNew(const QString& amount, const QString& description, const QString& periods)
{
    RetypeText(Find<QLineEdit>("amountEdit"), amount);
    RetypeText(Find<QLineEdit>("descriptionEdit"), description);
    RetypeText(Find<QComboBox>("periodsCombo")->lineEdit(), periods);
}

void TestRecurringDlg::depositIsStoredNegativeShownGreenAndLoadsBack()
{
    m_doc->AddRecurring("Savings", 1200.0, CTime(2024, 7, 1, 0, 0, 0), "Rent", "Mortgage", "Monthly", "12", 2);
    Open();
    CXListCtrl* list = m_dialog->List();
    QCOMPARE(RowTexts(list, 0), QStringList({" Rent [ Mortgage ]", "1200.00 ", "N", "Savings", "07/01/24", "Monthly",
                                             "0 of 12"}));
    QCOMPARE(Find<QComboBox>("accountCombo")->currentText(), QStringLiteral("Checking"));  // sorted, first
    FillNew(QStringLiteral("50"), QStringLiteral("Allowance"), QStringLiteral("12"));
    ClickCheckBox(Find<QCheckBox>("depositCheck"));
    Save();
    QCOMPARE(m_messages->count(), 0);
    const CRecurringTransaction* record = m_doc->GetRecurring(1);
    QCOMPARE(record->m_dAmount, -50.0);
    QCOMPARE(record->m_nextDate.GetTime(), int32_t(kTestNow));
    QVERIFY(m_doc->IsModified());
    QCOMPARE(RowTexts(list, 1).mid(1, 3), QStringList({"50.00 ", "Y", "Checking"}));
    QCOMPARE(list->GetCell(1, 2)->crText, QColor(0, 155, 0));
    QCOMPARE(list->GetCell(0, 2)->crText, QColor(Qt::black));
    QCOMPARE(list->GetCell(0, 6)->crBackground, QColor(0xFF, 0xFF, 0x00));  // flag 2
    QCOMPARE(list->GetItemText(1, 6), QStringLiteral("0 of 12"));
    QCOMPARE(Find<QLineEdit>("amountEdit")->text(), QStringLiteral("0"));  // a fresh form
    QVERIFY(Find<QCheckBox>("depositCheck")->isChecked());                // ... keeping the box

    // Enter saves, also from the typed drop-downs; "Forever" shows just the count.
    ClickCheckBox(Find<QCheckBox>("depositCheck"));
    FillNew(QStringLiteral("9.99"), QStringLiteral("Music"), QStringLiteral("Forever"));
    QTest::keyClick(Find<QComboBox>("periodsCombo")->lineEdit(), Qt::Key_Return);
    QCOMPARE(RowTexts(list, 2).mid(1), QStringList({"9.99 ", "N", "Checking", "06/15/24", "Monthly", "0"}));
    FillNew(QStringLiteral("4"), QStringLiteral("Coffee"), QStringLiteral("Forever"));
    RetypeText(Find<QComboBox>("categoryCombo")->lineEdit(), QStringLiteral("Snacks"));
    QTest::keyClick(Find<QComboBox>("categoryCombo")->lineEdit(), Qt::Key_Return);
    QCOMPARE(list->GetItemText(3, 0), QStringLiteral(" Coffee [ Snacks ]"));
    QVERIFY(m_dialog->isVisible());

    ClickRow(list, 1);
    QVERIFY(Find<QCheckBox>("depositCheck")->isChecked());
    QCOMPARE(Find<QLineEdit>("amountEdit")->text(), QStringLiteral("50"));
    QCOMPARE(Find<QLineEdit>("descriptionEdit")->text(), QStringLiteral("Allowance"));
}

void TestRecurringDlg::validationOrder()
{
    CQuilletDoc empty;
    {
        CRecurringDlg dialog(&empty);
        dialog.show();
        ClickButton(&dialog, QStringLiteral("Save"));  // the account comes before the zero amount
        QCOMPARE(m_messages->lastText(), QStringLiteral("Account: Invalid Value.\nYou must create some accounts first."));
    }
    Open();
    Save();
    QCOMPARE(m_messages->lastText(), QStringLiteral("Amount: Invalid Value.\nPlease specify a value."));
    FillNew(QStringLiteral("20"), QString(), QString());
    Save();
    QCOMPARE(m_messages->lastText(), QStringLiteral("Description: Invalid Value.\nYou must enter a description."));
    FillNew(QStringLiteral("20"), QStringLiteral("Phone"), QString());
    Save();
    QCOMPARE(m_messages->lastText(),
             QStringLiteral("Number of Periods: Invalid Value.\nYou must enter a number of periods."));
    Find<QComboBox>("periodsCombo")->setCurrentIndex(0);  // the "<NUMBER>" hint
    Save();
    QCOMPARE(m_messages->lastText(), QStringLiteral("Number of Periods: Invalid Value.\nPlease enter a number."));
    QCOMPARE(m_messages->count(), 5);
    QVERIFY(m_doc->m_recurring.empty());
    QVERIFY(!m_doc->IsModified());
}

void TestRecurringDlg::periodsMustBeAPlainNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("twelve") << "12" << true;
    QTest::newRow("negative") << "-3" << true;
    QTest::newRow("largest") << "2147483647" << true;
    QTest::newRow("leading zero") << "012" << false;
    QTest::newRow("plus sign") << "+5" << false;
    QTest::newRow("trailing blank") << "12 " << false;
    QTest::newRow("leading blank") << " 12" << false;
    QTest::newRow("trailing letter") << "12x" << false;
    QTest::newRow("minus zero") << "-0" << false;
    QTest::newRow("past int") << "2147483648" << false;
    QTest::newRow("far past int") << "99999999999999999999" << false;
}

void TestRecurringDlg::periodsMustBeAPlainNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QCOMPARE(CRecurringDlg::IsPeriodsNumber(text), accepted);
}

void TestRecurringDlg::editingKeepsPostedPeriodsAndMovesNextDate()
{
    const std::string longName = "Household Joint Checking at the Credit Union";
    m_doc->AddAccount(longName, "3", 1.0, "", "", "");
    CRecurringTransaction* rent =
        m_doc->AddRecurring("Checking", 1200.0, CTime(2024, 7, 1, 9, 30, 0), "Rent", "Mortgage", "Monthly", "12", 2);
    rent->m_nPeriodsDone = 4;
    Open();
    ClickRow(m_dialog->List(), 0);
    QCOMPARE(Find<QComboBox>("flagCombo")->currentIndex(), 2);
    QDateEdit* date = Find<QDateEdit>("startDate");
    QCOMPARE(date->date(), QDate(2024, 7, 1));
    date->setFocus();
    date->setCurrentSection(QDateTimeEdit::DaySection);
    QTest::keyClick(date, Qt::Key_Up);
    QTest::keyClick(date, Qt::Key_Up);
    // Accounts are offered by their full names, never cut short.
    QComboBox* accounts = Find<QComboBox>("accountCombo");
    accounts->setCurrentIndex(accounts->findText(QString::fromStdString(longName)));
    QVERIFY(accounts->currentIndex() >= 0);
    Save();
    QCOMPARE(m_messages->count(), 0);
    QCOMPARE(rent->m_nPeriodsDone, 4);
    QCOMPARE(rent->m_strAccount, longName);
    QCOMPARE(rent->m_nextDate.Format("%m/%d/%Y %H:%M"), std::string("07/03/2024 09:30"));
    QCOMPARE(m_dialog->List()->GetItemText(0, 6), QStringLiteral("4 of 12"));
    QVERIFY(m_doc->IsModified());

    // Nothing is being edited now: Save says so instead of doing nothing.
    Save();
    QVERIFY(m_messages->lastText().startsWith(QStringLiteral("Recurring: No transaction selected.")));
    QCOMPARE(m_doc->m_recurring.size(), size_t(1));
}

void TestRecurringDlg::choosingACategoryProposesItsFlag()
{
    Open();
    QComboBox* category = Find<QComboBox>("categoryCombo");
    QComboBox* flag = Find<QComboBox>("flagCombo");
    category->showPopup();
    QAbstractItemView* popup = category->view();
    const QModelIndex fuel = popup->model()->index(category->findText(QStringLiteral("Auto Fuel")), 0);
    popup->scrollTo(fuel);
    QTest::mouseClick(popup->viewport(), Qt::LeftButton, Qt::NoModifier, popup->visualRect(fuel).center());
    QCOMPARE(category->currentText(), QStringLiteral("Auto Fuel"));
    QCOMPARE(flag->currentIndex(), 3);

    // A typed category that is not in the list leaves the flag alone.
    flag->setCurrentIndex(5);
    FillNew(QStringLiteral("80"), QStringLiteral("Marina"), QStringLiteral("6"));
    RetypeText(category->lineEdit(), QStringLiteral("Boat Slip"));
    Save();
    QCOMPARE(m_doc->GetRecurring(0)->m_strCategory, std::string("Boat Slip"));
    QCOMPARE(m_doc->GetRecurring(0)->m_nFlag, 5);
}

void TestRecurringDlg::deleteSelectsTheRowAbove()
{
    for (const char* name : {"One", "Two", "Three"})
        m_doc->AddRecurring("Checking", 10.0, CTime(kTestNow), name, "", "Weekly", "Forever", 0);
    Open();
    CXListCtrl* list = m_dialog->List();
    ClickRow(list, 2);
    ClickButton(m_dialog.get(), QStringLiteral("Delete Recurring"));
    QCOMPARE(list->GetItemCount(), 2);
    QCOMPARE(list->GetNextSelected(-1), 1);
    QVERIFY(m_doc->IsModified());
    // The first row has none above: the new first row takes the selection.
    ClickRow(list, 0);
    ClickButton(m_dialog.get(), QStringLiteral("Delete Recurring"));
    QCOMPARE(m_doc->GetRecurring(0)->m_strDescription, std::string("Two"));
    QCOMPARE(list->GetNextSelected(-1), 0);
    ClickButton(m_dialog.get(), QStringLiteral("Delete Recurring"));
    ClickButton(m_dialog.get(), QStringLiteral("Delete Recurring"));  // nothing left: no effect
    QCOMPARE(list->GetItemCount(), 0);
    QVERIFY(m_doc->m_recurring.empty());
}

void TestRecurringDlg::amountThatIsNoNumberKeepsDialogOpen()
{
    Open();
    FillNew(QStringLiteral("ten"), QStringLiteral("Phone"), QStringLiteral("12"));
    Save();
    QCOMPARE(m_messages->lastText(), QStringLiteral("Amount: Invalid Value.\nPlease enter a number."));
    QVERIFY(Find<QLineEdit>("amountEdit")->hasFocus());
    ClickButton(m_dialog.get(), QStringLiteral("OK"));
    QCOMPARE(m_messages->count(), 2);
    QVERIFY(m_dialog->isVisible());
    RetypeText(Find<QLineEdit>("amountEdit"), QStringLiteral("10"));
    ClickButton(m_dialog.get(), QStringLiteral("OK"));
    QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
    QVERIFY(m_doc->m_recurring.empty());  // OK saves nothing
}

QTEST_MAIN(TestRecurringDlg)
#include "tst_RecurringDlg.moc"
