#include "DescriptionEdit.h"
#include "DialogTestSupport.h"
#include "RegisterDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

// Every test edits the "Checking" register of the sample book.
class TestRegisterDlg : public QObject
{
    Q_OBJECT
    std::unique_ptr<SampleBook> m_book;
    std::unique_ptr<MessageLog> m_messages;
    std::unique_ptr<CRegisterDlg> m_dialog;

    template <class T>
    T* Field(const char* name)
    {
        return Find<T>(m_dialog.get(), name);
    }
    CXListCtrl* List() { return m_dialog->List(); }
    QString BankBalance() { return Field<QLabel>("bankBalance")->text(); }
    void Press(const char* button) { QTest::mouseClick(Field<QPushButton>(button), Qt::LeftButton); }
    void Click(int row, int column = CRegisterDlg::ColDescription, Qt::KeyboardModifiers modifiers = {})
    {
        ClickCell(List(), row, column, modifiers);
    }
    const auto& Register() { return m_book->doc.FindAccount("Checking")->m_transactions; }

private slots:
    void init()
    {
        m_dialog.reset();  // the last test's, before its document and messages
        m_messages.reset();
        FixClock();
        m_book = std::make_unique<SampleBook>();
        m_messages = std::make_unique<MessageLog>();
        m_dialog = std::make_unique<CRegisterDlg>(&m_book->doc, "Checking");
        Show(*m_dialog);
    }

    void listsEntriesWithRunningBalanceAndTicksThem()
    {
        QCOMPARE(List()->GetItemCount(), 4);
        QCOMPARE(RowText(List(), 0), u"|| Opening Balance|50.00 ||||50.00 "_s);
        QCOMPARE(RowText(List(), 1), u" 06/01/24|101| Groceries Market [ Groceries ] |20.00 ||0.50 ||29.50 "_s);
        QCOMPARE(RowText(List(), 2), u" 06/03/24|102| Rent Payment [ Mortgage ] |100.00||||29.50"_s);
        QCOMPARE(RowText(List(), 3), u" 06/05/24|| Salary June [  Deposit-Salary ] ||||30.00 |59.50 "_s);
        QCOMPARE(List()->GetCheckState(1, CRegisterDlg::ColCleared), 0);
        QCOMPARE(List()->GetCheckState(3, CRegisterDlg::ColCleared), 1);
        // Flag 3's pink behind the entry, the date cell plain; void is white on grey.
        QCOMPARE(List()->GetCell(1, CRegisterDlg::ColAmount)->crBackground, QColor(0xFF, 0x80, 0xFF));
        QVERIFY(!List()->GetCell(1, CRegisterDlg::ColDate)->crBackground.isValid());
        QCOMPARE(List()->GetCell(2, CRegisterDlg::ColDescription)->crText, QColor(255, 255, 255));
        QCOMPARE(List()->GetCell(2, CRegisterDlg::ColDescription)->crBackground, QColor(190, 190, 190));
        // Checking and Savings share their number: 80.00 + 110.00 cleared.
        QCOMPARE(BankBalance(), u"190.00"_s);

        // The painted header: dark green text on grey.
        const QImage header = Field<QWidget>("accountHeader")->grab().toImage();
        QCOMPARE(header.pixelColor(1, 1), QColor(180, 180, 180));
        bool green = false;
        for (int x = 0; x < header.width() && !green; ++x)
            for (int y = 0; y < header.height() && !green; ++y)
                green = header.pixelColor(x, y) == QColor(0, 100, 0);
        QVERIFY(green);

        // Opening starts a new entry dated today.
        QVERIFY(m_dialog->IsNewEntryMode());
        QCOMPARE(Field<QDateEdit>("date")->date(), QDate(2024, 6, 15));

        // The "C" box changes the bank balance at once.
        CTransaction* groceries = m_book->groceries;
        Click(1, CRegisterDlg::ColCleared);
        QCOMPARE(groceries->m_bCleared, 1);
        QCOMPARE(List()->GetCheckState(1, CRegisterDlg::ColCleared), 1);
        QCOMPARE(BankBalance(), u"169.50"_s);
        QVERIFY(m_book->doc.IsModified());
        // The click also loads the row, with its new state.
        QCOMPARE(m_dialog->EditedEntry(), groceries);
        QVERIFY(Field<QCheckBox>("cleared")->isChecked());
        Click(1, CRegisterDlg::ColCleared);
        QCOMPARE(groceries->m_bCleared, 0);
        QCOMPARE(BankBalance(), u"190.00"_s);

        // A click that picks rows leaves the entry and its box alone.
        Click(1, CRegisterDlg::ColCleared, Qt::ControlModifier);
        QCOMPARE(groceries->m_bCleared, 0);
        QCOMPARE(List()->GetCheckState(1, CRegisterDlg::ColCleared), 0);
        // Ticking the opening row does nothing at all.
        m_book->doc.SetModifiedFlag(false);
        Click(0, CRegisterDlg::ColCleared);
        QVERIFY(!m_book->doc.IsModified());

        // From the keyboard: Enter loads the row, Space ticks it.
        List()->setFocus();
        QTest::keyClick(List(), Qt::Key_Down);
        QTest::keyClick(List(), Qt::Key_Return);
        QCOMPARE(m_dialog->EditedEntry(), groceries);
        QTest::keyClick(List(), Qt::Key_Space);
        QCOMPARE(groceries->m_bCleared, 1);
        QCOMPARE(BankBalance(), u"169.50"_s);
    }

    void savesNewEntriesWithTheirSignsAndRefusesIncompleteOnes()
    {
        auto* amount = Field<QLineEdit>("amount");
        auto* fee = Field<QLineEdit>("fee");
        auto* description = Field<CDescriptionEdit>("description");
        RetypeText(amount, u"5"_s);
        Press("saveEntry");
        QCOMPARE(m_messages->lastText(), u"Please enter a description."_s);
        RetypeText(description, u"Nothing"_s);
        RetypeText(amount, u"0"_s);
        Press("saveEntry");
        QCOMPARE(m_messages->lastText(), u"Please enter an amount greater than 0."_s);
        // Not numbers, infinities included: named, and the field gets the focus.
        for (const char* bad : {"abc", "12,50", "inf", "-", ""}) {
            RetypeText(amount, QString::fromLatin1(bad));
            Press("saveEntry");
            QCOMPARE(m_messages->lastText(), u"Amount: Invalid Value.\nPlease enter a number."_s);
            QVERIFY(amount->hasFocus());
        }
        RetypeText(amount, u"0"_s);
        RetypeText(fee, u"x"_s);
        Press("saveEntry");
        QCOMPARE(m_messages->lastText(), u"Fee: Invalid Value.\nPlease enter a number."_s);
        QCOMPARE(Register().size(), size_t(3));
        QVERIFY(!m_book->doc.IsModified());
        QCOMPARE(description->text(), u"Nothing"_s);

        // A fee alone is an entry.
        RetypeText(fee, u"2.50"_s);
        Press("saveEntry");
        QCOMPARE(Register().size(), size_t(4));
        QCOMPARE(List()->GetItemText(4, CRegisterDlg::ColAvailable), u"57.00 "_s);
        QVERIFY(m_book->doc.IsModified());

        // 12.00 without "Deposit" is a payment; Enter saves from the field the user is in.
        RetypeText(Field<QLineEdit>("checkNumber"), u"103"_s);
        RetypeText(amount, u"12.00"_s);
        RetypeText(description, u"Coffee Shop"_s);
        QTest::keyClick(description, Qt::Key_Return);
        QCOMPARE(m_messages->count(), 8);
        QCOMPARE(Register().back()->m_dAmount, -12.0);
        QCOMPARE(Register().back()->m_date.GetTime(), int32_t(kTestNow));
        QCOMPARE(RowText(List(), 5), u" 06/15/24|103| Coffee Shop [  ] |12.00 ||||45.00 "_s);
        // Ready for the next one: still new, editor emptied.
        QVERIFY(m_dialog->IsNewEntryMode());
        QCOMPARE(description->text(), QString());
        QCOMPARE(amount->text(), u"0.00"_s);

        // A deposit keeps its sign; cents beyond the second are rounded away.
        // Enter in the category's edit saves too, and adds no category.
        RetypeText(amount, u"7.255"_s);
        Field<QCheckBox>("deposit")->setChecked(true);
        RetypeText(description, u"Refund"_s);
        auto* category = Field<QComboBox>("category");
        const int categories = category->count();
        category->setFocus();
        QTest::keyClicks(category->lineEdit(), u"Returns"_s);
        QTest::keyClick(category->lineEdit(), Qt::Key_Return);
        QCOMPARE(category->count(), categories);
        QCOMPARE(Register().back()->m_strCategory, std::string("Returns"));
        QCOMPARE(Register().back()->m_dAmount, 7.26);
        QCOMPARE(RowText(List(), 6), u" 06/15/24|| Refund [ Returns ] ||||7.26 |52.26 "_s);

        // The new descriptions are remembered at once.
        description->setFocus();
        QTest::keyClicks(description, u"Cof"_s);
        QCOMPARE(description->text(), u"Coffee Shop"_s);
        // Loaded again, the fee-only entry shows Deposit off.
        Click(4);
        QVERIFY(!Field<QCheckBox>("deposit")->isChecked());
        QCOMPARE(amount->text(), u"0.00"_s);
        QCOMPARE(fee->text(), u"2.50"_s);
    }

    void completesRememberedDescriptions()
    {
        auto* edit = Field<CDescriptionEdit>("description");
        auto* category = Field<QComboBox>("category");
        auto* flag = Field<QComboBox>("flag");
        edit->setFocus();
        QTest::keyClicks(edit, u"Gr"_s);
        QCOMPARE(edit->text(), u"Gr"_s);
        QTest::keyClicks(edit, u"o"_s);
        QCOMPARE(edit->text(), u"Groceries Market"_s);
        QCOMPARE(edit->selectedText(), u"ceries Market"_s);
        QCOMPARE(category->currentText(), u"Groceries"_s);
        QCOMPARE(flag->currentText(), u"3"_s);  // the remembered flag, not the category's 1

        // Backspace takes the completion away and it stays away; typing on completes again.
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), u"Gro"_s);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), u"Gr"_s);
        QTest::keyClicks(edit, u"oc"_s);
        QCOMPARE(edit->selectedText(), u"eries Market"_s);
        // Delete takes it away too.
        QTest::keyClick(edit, Qt::Key_Delete);
        QCOMPARE(edit->text(), u"Groc"_s);
        QTest::keyClicks(edit, u"e"_s);
        QCOMPARE(edit->selectedText(), u"ries Market"_s);
        RetypeText(edit, u"gro"_s);  // case matters
        QCOMPARE(edit->text(), u"gro"_s);

        // Choosing a category proposes its default flag.
        category->setFocus();
        category->lineEdit()->selectAll();
        QTest::keyClicks(category->lineEdit(), u"Cable"_s);
        QCOMPARE(flag->currentText(), u"1"_s);
        // Loading an entry puts its own text in, never a completion.
        Click(3);
        QCOMPARE(edit->text(), u"Salary June"_s);
        QCOMPARE(flag->currentText(), u"6"_s);
        // Closing frees the remembered entries.
        m_dialog->reject();
        QVERIFY(!m_book->doc.m_pEntryMemory);
    }

    void changesSeveralRowsAtOnce()
    {
        // Straight after opening the editor is set for a new entry; picking
        // rows must change those rows, not add an entry from the greyed fields.
        CTransaction* groceries = m_book->groceries;
        CTransaction* salary = m_book->salary;
        auto* voidBox = Field<QCheckBox>("void");
        auto* flag = Field<QComboBox>("flag");
        Click(1, CRegisterDlg::ColDescription, Qt::ControlModifier);
        Click(3, CRegisterDlg::ColDescription, Qt::ControlModifier);
        QVERIFY(m_dialog->IsMultiSelectionMode());
        QCOMPARE(List()->GetSelectedCount(), 2);
        QVERIFY(!Field<QLineEdit>("amount")->isEnabled());
        QVERIFY(!Field<QLineEdit>("description")->isEnabled());
        QCOMPARE(voidBox->checkState(), Qt::PartiallyChecked);
        QCOMPARE(Field<QCheckBox>("cleared")->checkState(), Qt::PartiallyChecked);
        QCOMPARE(flag->currentText(), u"No Change"_s);
        QCOMPARE(flag->count(), 12);

        // A flag and a decided box reach both rows, colours included; the
        // undecided void box leaves them alone.
        flag->setCurrentIndex(7);
        ClickCheckBox(Field<QCheckBox>("cleared"));
        Press("saveEntry");
        QCOMPARE(m_messages->count(), 0);
        QCOMPARE(Register().size(), size_t(3));
        QVERIFY(groceries->m_nFlag == 7 && salary->m_nFlag == 7);
        QCOMPARE(m_book->rent->m_nFlag, 2);
        QVERIFY(groceries->m_bCleared && !groceries->m_bVoid);
        QVERIFY(m_book->doc.IsModified());
        QCOMPARE(List()->GetCheckState(1, CRegisterDlg::ColCleared), 1);
        QCOMPARE(List()->GetCell(1, CRegisterDlg::ColFee)->crBackground, QColor(0x00, 0xFF, 0xFF));
        QCOMPARE(BankBalance(), u"169.50"_s);

        // Both voided together: the running balances are refilled.
        flag->setCurrentIndex(flag->findText(u"No Change"_s));
        ClickCheckBox(voidBox);
        QCOMPARE(voidBox->checkState(), Qt::Checked);
        Press("saveEntry");
        QVERIFY(groceries->m_bVoid && salary->m_bVoid);
        QCOMPARE(groceries->m_nFlag, 7);
        for (int row = 1; row < 4; ++row)
            QCOMPARE(List()->GetItemText(row, CRegisterDlg::ColAvailable), u"50.00"_s);
        QCOMPARE(BankBalance(), u"160.00"_s);  // the salary stays cleared but, void, no longer counts
        QVERIFY(m_dialog->IsMultiSelectionMode());

        // A plain click ends the mode and gives the fields back; so does "Add Entry".
        Click(2);
        QVERIFY(!m_dialog->IsMultiSelectionMode());
        QVERIFY(Field<QLineEdit>("amount")->isEnabled());
        QCOMPARE(flag->count(), 11);
        QVERIFY(!voidBox->isTristate());
        Click(1, CRegisterDlg::ColDescription, Qt::ControlModifier);
        QVERIFY(m_dialog->IsMultiSelectionMode());
        Press("addEntry");
        QVERIFY(!m_dialog->IsMultiSelectionMode());
        QVERIFY(Field<QLineEdit>("description")->isEnabled());
    }

    void operationsFollowTheRowsThroughSorting()
    {
        const CTransaction* groceries = m_book->groceries;
        // Descending by description: Salary, Rent, Groceries, the opening row first.
        ClickHeading(List(), CRegisterDlg::ColDescription);
        ClickHeading(List(), CRegisterDlg::ColDescription);
        QCOMPARE(List()->GetItemText(0, CRegisterDlg::ColDescription), u" Opening Balance"_s);
        QCOMPARE(RowOfEntry(List(), m_book->salary), 1);
        QCOMPARE(RowOfEntry(List(), groceries), 3);

        // Edit the groceries, then sort otherwise before saving.
        Click(3);
        RetypeText(Field<QLineEdit>("checkNumber"), u"555"_s);
        ClickHeading(List(), CRegisterDlg::ColCheckNumber);
        Press("saveEntry");
        QCOMPARE(groceries->m_strCheckNumber, std::string("555"));
        QCOMPARE(List()->GetItemText(RowOfEntry(List(), groceries), CRegisterDlg::ColCheckNumber), u"555"_s);
        QCOMPARE(m_book->rent->m_strCheckNumber, std::string("102"));

        // Changing the amount refills: the running balances follow.
        Click(RowOfEntry(List(), groceries));
        RetypeText(Field<QLineEdit>("amount"), u"10"_s);
        Press("saveEntry");
        QCOMPARE(groceries->m_dAmount, -10.0);
        QCOMPARE(List()->GetItemText(RowOfEntry(List(), m_book->salary), CRegisterDlg::ColAvailable), u"69.50 "_s);
        QCOMPARE(m_messages->count(), 0);

        // Delete what the selected row shows, wherever the sort put it.
        ClickHeading(List(), CRegisterDlg::ColDescription);  // ascending: Groceries, Rent, Salary
        QCOMPARE(RowOfEntry(List(), m_book->rent), 2);
        Click(2, CRegisterDlg::ColDate);
        Press("deleteEntry");
        QCOMPARE(Register().size(), size_t(2));
        QCOMPARE(Register()[0].get(), groceries);
        QCOMPARE(Register()[1].get(), m_book->salary);
        QCOMPARE(List()->GetItemCount(), 3);
        QCOMPARE(RowOfEntry(List(), m_book->salary), 2);  // still sorted
        QVERIFY(List()->GetItemState(1, CXListCtrl::StateSelected));  // the row above
        QVERIFY(!m_dialog->IsNewEntryMode());
        QVERIFY(!m_dialog->EditedEntry());
        // The opening row cannot be deleted.
        Click(0);
        Press("deleteEntry");
        QCOMPARE(Register().size(), size_t(2));
    }

    void availableRunsInDateOrderWhateverTheTypingOrder()
    {
        auto available = [this](const CTransaction* entry) {
            return List()->GetItemText(RowOfEntry(List(), entry), CRegisterDlg::ColAvailable);
        };
        // A back-dated payment moves every later day's balance.
        Field<QDateEdit>("date")->setDate(QDate(2024, 6, 2));
        RetypeText(Field<QLineEdit>("amount"), u"10"_s);
        RetypeText(Field<CDescriptionEdit>("description"), u"ATM"_s);
        Press("saveEntry");
        const CTransaction* atm = Register().back().get();
        QCOMPARE(available(m_book->groceries), u"29.50 "_s);
        QCOMPARE(available(atm), u"19.50 "_s);
        QCOMPARE(available(m_book->rent), u"19.50"_s);
        QCOMPARE(available(m_book->salary), u"49.50 "_s);

        // Moving the salary to the day before them all: nothing else changed.
        Click(RowOfEntry(List(), m_book->salary));
        Field<QDateEdit>("date")->setDate(QDate(2024, 5, 31));
        Press("saveEntry");
        QCOMPARE(available(m_book->salary), u"80.00 "_s);
        QCOMPARE(available(m_book->groceries), u"59.50 "_s);
        QCOMPARE(available(atm), u"49.50 "_s);
        QCOMPARE(available(m_book->rent), u"49.50"_s);
    }

    void okAsksBeforeDroppingTheEditor()
    {
        m_messages->answer = UserMessage::Answer::Cancel;
        Press("ok");
        QCOMPARE(m_messages->texts, QStringList{u"You are creating a new record.  Are you sure you want to close ?"_s});
        QVERIFY(m_dialog->isVisible());

        Click(2);
        m_messages->answer = UserMessage::Answer::Ok;
        Press("ok");
        QCOMPARE(m_messages->lastText(), u"You are editing a record.  Are you sure you want to close?"_s);
        QVERIFY(m_messages->allPlain());
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QVERIFY(!m_dialog->isVisible());
        QVERIFY(!m_book->doc.m_pEntryMemory);

        // Escape closes without a question.
        CRegisterDlg again(&m_book->doc, "Checking");
        Show(again);
        QTest::keyClick(&again, Qt::Key_Escape);
        QVERIFY(!again.isVisible());
        QCOMPARE(m_messages->count(), 2);
    }
};

QTEST_MAIN(TestRegisterDlg)
#include "tst_RegisterDlg.moc"
