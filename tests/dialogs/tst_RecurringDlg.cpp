#include "DialogTestSupport.h"
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
    std::unique_ptr<CQuilletDoc> m_doc;
    std::unique_ptr<MessageLog> m_messages;
    std::unique_ptr<CRecurringDlg> m_dialog;

    void Open()
    {
        m_doc->SetModifiedFlag(false);
        m_dialog = std::make_unique<CRecurringDlg>(m_doc.get());
        Show(*m_dialog);
    }
    template <class T>
    T* Field(const char* name)
    {
        return Find<T>(m_dialog.get(), name);
    }
    void Fill(const QString& amount, const QString& description, const QString& periods)
    {
        RetypeText(Field<QLineEdit>("amountEdit"), amount);
        RetypeText(Field<QLineEdit>("descriptionEdit"), description);
        RetypeText(Field<QComboBox>("periodsCombo")->lineEdit(), periods);
    }
    void Click(const QString& button) { ClickButton(m_dialog.get(), button); }

private slots:
    void init()
    {
        m_dialog.reset();  // the last test's, before its document and messages
        m_messages.reset();
        FixClock();
        m_doc = std::make_unique<CQuilletDoc>();
        m_doc->AddAccount("Savings", "2", 100.0, "", "", "");
        m_doc->AddAccount("Checking", "1", 100.0, "", "", "");
        m_messages = std::make_unique<MessageLog>();
    }

    void depositStoredNegativeShownGreenThenDeleted()
    {
        m_doc->AddRecurring("Savings", 1200.0, CTime(2024, 7, 1, 0, 0, 0), "Rent", "Mortgage", "Monthly", "12", 2);
        Open();
        CXListCtrl* list = m_dialog->List();
        QCOMPARE(RowText(list, 0), u" Rent [ Mortgage ]|1200.00 |N|Savings|07/01/24|Monthly|0 of 12"_s);
        QCOMPARE(Field<QComboBox>("accountCombo")->currentText(), u"Checking"_s);  // sorted, first
        Fill(u"50"_s, u"Allowance"_s, u"12"_s);
        ClickCheckBox(Field<QCheckBox>("depositCheck"));
        Click(u"Save"_s);
        QCOMPARE(m_messages->count(), 0);
        const CRecurringTransaction* record = m_doc->GetRecurring(1);
        QCOMPARE(record->m_dAmount, -50.0);
        QCOMPARE(record->m_nextDate.GetTime(), int32_t(kTestNow));
        QVERIFY(m_doc->IsModified());
        QVERIFY(RowText(list, 1).endsWith(u"|50.00 |Y|Checking|06/15/24|Monthly|0 of 12"_s));
        QCOMPARE(list->GetCell(1, 2)->crText, QColor(0, 155, 0));
        QCOMPARE(list->GetCell(0, 2)->crText, QColor(Qt::black));
        QCOMPARE(list->GetCell(0, 6)->crBackground, QColor(0xFF, 0xFF, 0x00));  // flag 2
        QCOMPARE(Field<QLineEdit>("amountEdit")->text(), u"0"_s);  // a fresh form
        QVERIFY(Field<QCheckBox>("depositCheck")->isChecked());   // ... keeping the box

        // Enter saves, also from the typed drop-downs; "Forever" shows just the count.
        ClickCheckBox(Field<QCheckBox>("depositCheck"));
        Fill(u"9.99"_s, u"Music"_s, u"Forever"_s);
        QTest::keyClick(Field<QComboBox>("periodsCombo")->lineEdit(), Qt::Key_Return);
        QVERIFY(RowText(list, 2).endsWith(u"|9.99 |N|Checking|06/15/24|Monthly|0"_s));

        // A category chosen from the list proposes its flag; a typed one that
        // is not in the list leaves the flag alone.
        Fill(u"4"_s, u"Coffee"_s, u"Forever"_s);
        QComboBox* category = Field<QComboBox>("categoryCombo");
        category->showPopup();
        QAbstractItemView* popup = category->view();
        const QModelIndex fuel = popup->model()->index(category->findText(u"Auto Fuel"_s), 0);
        popup->scrollTo(fuel);
        QTest::mouseClick(popup->viewport(), Qt::LeftButton, Qt::NoModifier, popup->visualRect(fuel).center());
        QCOMPARE(Field<QComboBox>("flagCombo")->currentIndex(), 3);
        Field<QComboBox>("flagCombo")->setCurrentIndex(5);
        RetypeText(category->lineEdit(), u"Snacks"_s);
        QTest::keyClick(category->lineEdit(), Qt::Key_Return);
        QCOMPARE(list->GetItemText(3, 0), u" Coffee [ Snacks ]"_s);
        QCOMPARE(m_doc->GetRecurring(3)->m_nFlag, 5);
        QVERIFY(m_dialog->isVisible());

        ClickCell(list, 1);
        QVERIFY(Field<QCheckBox>("depositCheck")->isChecked());
        QCOMPARE(Field<QLineEdit>("amountEdit")->text(), u"50"_s);
        QCOMPARE(Field<QLineEdit>("descriptionEdit")->text(), u"Allowance"_s);

        // Delete selects the row above, or the new first row.
        m_doc->SetModifiedFlag(false);
        ClickCell(list, 3);
        Click(u"Delete Recurring"_s);
        QCOMPARE(list->GetNextSelected(-1), 2);
        QVERIFY(m_doc->IsModified());
        ClickCell(list, 0);
        Click(u"Delete Recurring"_s);
        QCOMPARE(m_doc->GetRecurring(0)->m_strDescription, std::string("Allowance"));
        QCOMPARE(list->GetNextSelected(-1), 0);
        for (int press = 0; press < 3; ++press)  // the last press finds nothing to delete
            Click(u"Delete Recurring"_s);
        QCOMPARE(list->GetItemCount(), 0);
        QVERIFY(m_doc->m_recurring.empty());
    }

    void validationOrder()
    {
        CQuilletDoc empty;
        {
            CRecurringDlg dialog(&empty);
            dialog.show();
            ClickButton(&dialog, u"Save"_s);  // the account comes before the zero amount
            QCOMPARE(m_messages->lastText(), u"Account: Invalid Value.\nYou must create some accounts first."_s);
        }
        Open();
        Click(u"Save"_s);
        QCOMPARE(m_messages->lastText(), u"Amount: Invalid Value.\nPlease specify a value."_s);
        Fill(u"20"_s, QString(), QString());
        Click(u"Save"_s);
        QCOMPARE(m_messages->lastText(), u"Description: Invalid Value.\nYou must enter a description."_s);
        Fill(u"20"_s, u"Phone"_s, QString());
        Click(u"Save"_s);
        QCOMPARE(m_messages->lastText(), u"Number of Periods: Invalid Value.\nYou must enter a number of periods."_s);
        Field<QComboBox>("periodsCombo")->setCurrentIndex(0);  // the "<NUMBER>" hint
        Click(u"Save"_s);
        QCOMPARE(m_messages->lastText(), u"Number of Periods: Invalid Value.\nPlease enter a number."_s);
        QVERIFY(m_messages->allPlain());

        // An amount that is no number is named and stops OK.
        Fill(u"ten"_s, u"Phone"_s, u"12"_s);
        Click(u"Save"_s);
        QCOMPARE(m_messages->lastText(), u"Amount: Invalid Value.\nPlease enter a number."_s);
        Click(u"OK"_s);
        QCOMPARE(m_messages->count(), 7);
        QVERIFY(m_dialog->isVisible());
        RetypeText(Field<QLineEdit>("amountEdit"), u"10"_s);
        Click(u"OK"_s);
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QVERIFY(m_doc->m_recurring.empty());  // OK saves nothing
        QVERIFY(!m_doc->IsModified());
    }

    void periodsMustBeAPlainNumber()
    {
        for (const char* text : {"12", "-3", "2147483647"})
            QVERIFY2(CRecurringDlg::IsPeriodsNumber(QString::fromLatin1(text)), text);
        for (const char* text : {"012", "+5", "12 ", " 12", "12x", "-0", "2147483648", "99999999999999999999"})
            QVERIFY2(!CRecurringDlg::IsPeriodsNumber(QString::fromLatin1(text)), text);
    }

    void editingKeepsPostedPeriodsAndMovesNextDate()
    {
        const std::string longName = "Household Joint Checking at the Credit Union";
        m_doc->AddAccount(longName, "3", 1.0, "", "", "");
        CRecurringTransaction* rent =
            m_doc->AddRecurring("Checking", 1200.0, CTime(2024, 7, 1, 9, 30, 0), "Rent", "Mortgage", "Monthly", "12", 2);
        rent->m_nPeriodsDone = 4;
        Open();
        ClickCell(m_dialog->List(), 0);
        QCOMPARE(Field<QComboBox>("flagCombo")->currentIndex(), 2);
        QDateEdit* date = Field<QDateEdit>("startDate");
        QCOMPARE(date->date(), QDate(2024, 7, 1));
        date->setFocus();
        date->setCurrentSection(QDateTimeEdit::DaySection);
        QTest::keyClick(date, Qt::Key_Up);
        QTest::keyClick(date, Qt::Key_Up);
        // Accounts are offered by their full names, never cut short.
        QComboBox* accounts = Field<QComboBox>("accountCombo");
        accounts->setCurrentIndex(accounts->findText(QString::fromStdString(longName)));
        QVERIFY(accounts->currentIndex() >= 0);
        Click(u"Save"_s);
        QCOMPARE(m_messages->count(), 0);
        QCOMPARE(rent->m_nPeriodsDone, 4);
        QCOMPARE(rent->m_strAccount, longName);
        QCOMPARE(rent->m_nextDate.Format("%m/%d/%Y %H:%M"), std::string("07/03/2024 09:30"));
        QCOMPARE(m_dialog->List()->GetItemText(0, 6), u"4 of 12"_s);
        QVERIFY(m_doc->IsModified());

        // Nothing is being edited now: Save says so instead of doing nothing.
        Click(u"Save"_s);
        QVERIFY(m_messages->lastText().startsWith(u"Recurring: No transaction selected."_s));
        QCOMPARE(m_doc->m_recurring.size(), size_t(1));
    }
};

QTEST_MAIN(TestRecurringDlg)
#include "tst_RecurringDlg.moc"
