#include "DescriptionEdit.h"
#include "DialogTestSupport.h"
#include "RegisterDlg.h"
#include "RegisterTestData.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class TestRegisterDlg : public QObject
{
    Q_OBJECT
private slots:
    void init() { FixClock(); }
    void cleanup() { Clock::Set({}); }

    void listsEntriesWithRunningBalance();
    void savesNewEntryWithItsSign();
    void refusesIncompleteEntries();
    void completesRememberedDescriptions();
    void cTickChangesBankBalance();
    void voidsSeveralRowsAtOnce();
    void picksRowsRightAfterOpening();
    void operationsFollowTheRowsThroughSorting();
    void okAsksBeforeDroppingTheEditor();
    void keyboardLoadsAndTicksRows();
};

namespace
{
template <class T>
T* Field(QDialog& dialog, const char* name)
{
    T* field = dialog.findChild<T*>(QLatin1String(name));
    if (!field)
        qFatal("no field %s", name);
    return field;
}

QString BankBalance(QDialog& dialog)
{
    return Field<QLabel>(dialog, "bankBalance")->text();
}

void Save(QDialog& dialog)
{
    QTest::mouseClick(Field<QPushButton>(dialog, "saveEntry"), Qt::LeftButton);
}
}

void TestRegisterDlg::listsEntriesWithRunningBalance()
{
    SampleBook book;
    CRegisterDlg dialog(&book.doc, "Checking");
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Registry Editor"));

    CXListCtrl* list = dialog.List();
    QCOMPARE(list->GetItemCount(), 4);
    QCOMPARE(RowText(list, 0), QStringLiteral("|| Opening Balance|50.00 ||||50.00 "));
    QCOMPARE(RowText(list, 1), QStringLiteral(" 06/01/24|101| Groceries Market [ Groceries ] |20.00 ||0.50 ||29.50 "));
    QCOMPARE(RowText(list, 2), QStringLiteral(" 06/03/24|102| Rent Payment [ Mortgage ] |100.00||||29.50"));
    QCOMPARE(RowText(list, 3), QStringLiteral(" 06/05/24|| Salary June [  Deposit-Salary ] ||||30.00 |59.50 "));
    QCOMPARE(list->GetCheckState(1, CRegisterDlg::ColCleared), 0);
    QCOMPARE(list->GetCheckState(3, CRegisterDlg::ColCleared), 1);
    // Flag 3's pink behind the entry, the date cell plain; void is white on grey.
    QCOMPARE(list->GetCell(1, CRegisterDlg::ColAmount)->crBackground, QColor(0xFF, 0x80, 0xFF));
    QVERIFY(!list->GetCell(1, CRegisterDlg::ColDate)->crBackground.isValid());
    QCOMPARE(list->GetCell(2, CRegisterDlg::ColDescription)->crText, QColor(255, 255, 255));
    QCOMPARE(list->GetCell(2, CRegisterDlg::ColDescription)->crBackground, QColor(190, 190, 190));

    // Checking and Savings share their number: 80.00 + 110.00 cleared.
    QCOMPARE(BankBalance(dialog), QStringLiteral("190.00"));

    QImage header = Field<QWidget>(dialog, "accountHeader")->grab().toImage();
    QCOMPARE(header.pixelColor(1, 1), QColor(180, 180, 180));
    bool green = false;
    for (int x = 0; x < header.width() && !green; ++x)
        for (int y = 0; y < header.height() && !green; ++y)
            green = header.pixelColor(x, y) == QColor(0, 100, 0);
    QVERIFY(green);

    // Opening starts a new entry dated today.
    QVERIFY(dialog.IsNewEntryMode());
    QCOMPARE(Field<QDateEdit>(dialog, "date")->date(), QDate(2024, 6, 15));
}

void TestRegisterDlg::savesNewEntryWithItsSign()
{
    SampleBook book;
    MessageLog messages;
    CRegisterDlg dialog(&book.doc, "Checking");
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    RetypeText(Field<QLineEdit>(dialog, "checkNumber"), "103");
    RetypeText(Field<QLineEdit>(dialog, "amount"), "12.00");
    auto* description = Field<QLineEdit>(dialog, "description");
    RetypeText(description, "Coffee Shop");
    // Enter saves from the field the user is in.
    QTest::keyClick(description, Qt::Key_Return);

    QCOMPARE(messages.count(), 0);
    CAccount* account = book.doc.FindAccount("Checking");
    QCOMPARE(account->m_transactions.size(), size_t(4));
    const CTransaction& coffee = *account->m_transactions.back();
    QCOMPARE(coffee.m_dAmount, -12.0);
    QCOMPARE(coffee.m_strCheckNumber, std::string("103"));
    QCOMPARE(coffee.m_date.GetTime(), int32_t(kTestNow));
    QVERIFY(book.doc.IsModified());

    CXListCtrl* list = dialog.List();
    QCOMPARE(list->GetItemCount(), 5);
    QCOMPARE(RowText(list, 4), QStringLiteral(" 06/15/24|103| Coffee Shop [  ] |12.00 ||||47.50 "));

    // Ready for the next one: still new, editor emptied.
    QVERIFY(dialog.IsNewEntryMode());
    QCOMPARE(description->text(), QString());
    QCOMPARE(Field<QLineEdit>(dialog, "amount")->text(), QStringLiteral("0.00"));

    // A deposit keeps its sign; cents beyond the second are rounded away.
    RetypeText(Field<QLineEdit>(dialog, "amount"), "7.255");
    Field<QCheckBox>(dialog, "deposit")->setChecked(true);
    RetypeText(description, "Refund");
    // Enter in the category's edit saves too, and adds no category.
    auto* category = Field<QComboBox>(dialog, "category");
    const int categories = category->count();
    category->setFocus();
    QTest::keyClicks(category->lineEdit(), "Returns");
    QTest::keyClick(category->lineEdit(), Qt::Key_Return);
    QCOMPARE(category->count(), categories);
    QCOMPARE(account->m_transactions.back()->m_strCategory, std::string("Returns"));
    QCOMPARE(account->m_transactions.back()->m_dAmount, 7.26);
    QCOMPARE(RowText(list, 5), QStringLiteral(" 06/15/24|| Refund [ Returns ] ||||7.26 |54.76 "));

    // The new descriptions are remembered at once.
    auto* edit = Field<CDescriptionEdit>(dialog, "description");
    edit->setFocus();
    QTest::keyClicks(edit, "Cof");
    QCOMPARE(edit->text(), QStringLiteral("Coffee Shop"));
}

void TestRegisterDlg::refusesIncompleteEntries()
{
    SampleBook book;
    MessageLog messages;
    CRegisterDlg dialog(&book.doc, "Checking");
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* amount = Field<QLineEdit>(dialog, "amount");
    auto* fee = Field<QLineEdit>(dialog, "fee");
    auto* description = Field<QLineEdit>(dialog, "description");
    CAccount* account = book.doc.FindAccount("Checking");

    RetypeText(amount, "5");
    Save(dialog);
    QCOMPARE(messages.lastText(), QStringLiteral("Please enter a description."));

    RetypeText(description, "Nothing");
    RetypeText(amount, "0");
    Save(dialog);
    QCOMPARE(messages.lastText(), QStringLiteral("Please enter an amount greater than 0."));

    // Not numbers, infinities included: named, and the field gets the focus.
    for (const char* bad : {"abc", "12,50", "inf", "-", ""}) {
        RetypeText(amount, QString::fromLatin1(bad));
        Save(dialog);
        QCOMPARE(messages.lastText(), QStringLiteral("Amount: Invalid Value.\nPlease enter a number."));
        QVERIFY(amount->hasFocus());
    }
    RetypeText(amount, "0");
    RetypeText(fee, "x");
    Save(dialog);
    QCOMPARE(messages.lastText(), QStringLiteral("Fee: Invalid Value.\nPlease enter a number."));
    QCOMPARE(account->m_transactions.size(), size_t(3));
    QVERIFY(!book.doc.IsModified());
    QCOMPARE(description->text(), QStringLiteral("Nothing"));

    // A fee alone is an entry; loaded again it shows Deposit off.
    messages.clear();
    RetypeText(fee, "2.50");
    Save(dialog);
    QCOMPARE(messages.count(), 0);
    QCOMPARE(account->m_transactions.size(), size_t(4));
    QCOMPARE(dialog.List()->GetItemText(4, CRegisterDlg::ColAvailable), QStringLiteral("57.00 "));
    ClickCell(dialog.List(), 4, CRegisterDlg::ColDescription);
    QVERIFY(!Field<QCheckBox>(dialog, "deposit")->isChecked());
    QCOMPARE(amount->text(), QStringLiteral("0.00"));
    QCOMPARE(fee->text(), QStringLiteral("2.50"));
}

void TestRegisterDlg::completesRememberedDescriptions()
{
    SampleBook book;
    CRegisterDlg dialog(&book.doc, "Checking");
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* edit = Field<CDescriptionEdit>(dialog, "description");
    auto* category = Field<QComboBox>(dialog, "category");
    auto* flag = Field<QComboBox>(dialog, "flag");
    edit->setFocus();

    QTest::keyClicks(edit, "Gr");
    QCOMPARE(edit->text(), QStringLiteral("Gr"));
    QTest::keyClicks(edit, "o");
    QCOMPARE(edit->text(), QStringLiteral("Groceries Market"));
    QCOMPARE(edit->selectedText(), QStringLiteral("ceries Market"));
    QCOMPARE(category->currentText(), QStringLiteral("Groceries"));
    // The remembered flag, not the category's default 1.
    QCOMPARE(flag->currentText(), QStringLiteral("3"));

    // Backspace takes the completion away and it stays away.
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), QStringLiteral("Gro"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), QStringLiteral("Gr"));
    // Typing on completes again.
    QTest::keyClicks(edit, "oc");
    QCOMPARE(edit->text(), QStringLiteral("Groceries Market"));
    QCOMPARE(edit->selectedText(), QStringLiteral("eries Market"));
    // Delete takes it away for good as well.
    QTest::keyClick(edit, Qt::Key_Delete);
    QCOMPARE(edit->text(), QStringLiteral("Groc"));
    QTest::keyClicks(edit, "e");
    QCOMPARE(edit->selectedText(), QStringLiteral("ries Market"));
    // Typing over the selection replaces it.
    QTest::keyClicks(edit, "x");
    QCOMPARE(edit->text(), QStringLiteral("Grocex"));

    // Case matters.
    RetypeText(edit, "gro");
    QCOMPARE(edit->text(), QStringLiteral("gro"));

    // Choosing a category proposes its default flag.
    category->setFocus();
    category->lineEdit()->selectAll();
    QTest::keyClicks(category->lineEdit(), "Cable");
    QCOMPARE(flag->currentText(), QStringLiteral("1"));

    // Loading an entry puts its own text in, never a completion.
    ClickCell(dialog.List(), 3, CRegisterDlg::ColDescription);
    QCOMPARE(edit->text(), QStringLiteral("Salary June"));
    QCOMPARE(flag->currentText(), QStringLiteral("6"));

    // Closing frees the remembered entries.
    dialog.reject();
    QVERIFY(!book.doc.m_pEntryMemory);
}

void TestRegisterDlg::cTickChangesBankBalance()
{
    SampleBook book;
    CRegisterDlg dialog(&book.doc, "Checking");
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    CXListCtrl* list = dialog.List();
    QCOMPARE(BankBalance(dialog), QStringLiteral("190.00"));

    ClickCell(list, 1, CRegisterDlg::ColCleared);
    QCOMPARE(book.groceries->m_bCleared, 1);
    QCOMPARE(list->GetCheckState(1, CRegisterDlg::ColCleared), 1);
    QCOMPARE(BankBalance(dialog), QStringLiteral("169.50"));
    QVERIFY(book.doc.IsModified());
    // The click also loads the row, with its new state.
    QCOMPARE(dialog.EditedEntry(), book.groceries);
    QVERIFY(Field<QCheckBox>(dialog, "cleared")->isChecked());
    QCOMPARE(Field<QLineEdit>(dialog, "amount")->text(), QStringLiteral("20.00"));

    ClickCell(list, 1, CRegisterDlg::ColCleared);
    QCOMPARE(book.groceries->m_bCleared, 0);
    QCOMPARE(BankBalance(dialog), QStringLiteral("190.00"));

    // A click that picks rows leaves the entry and its box alone.
    ClickCell(list, 1, CRegisterDlg::ColCleared, Qt::ControlModifier);
    QCOMPARE(book.groceries->m_bCleared, 0);
    QCOMPARE(list->GetCheckState(1, CRegisterDlg::ColCleared), 0);
    QCOMPARE(BankBalance(dialog), QStringLiteral("190.00"));

    // Ticking the opening row does nothing at all.
    book.doc.SetModifiedFlag(false);
    ClickCell(list, 0, CRegisterDlg::ColCleared);
    QVERIFY(!book.doc.IsModified());
}

void TestRegisterDlg::voidsSeveralRowsAtOnce()
{
    SampleBook book;
    MessageLog messages;
    CRegisterDlg dialog(&book.doc, "Checking");
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    CXListCtrl* list = dialog.List();
    auto* voidBox = Field<QCheckBox>(dialog, "void");
    auto* flag = Field<QComboBox>(dialog, "flag");

    ClickCell(list, 1, CRegisterDlg::ColDescription);
    ClickCell(list, 3, CRegisterDlg::ColDescription, Qt::ControlModifier);
    QVERIFY(dialog.IsMultiSelectionMode());
    QCOMPARE(list->GetSelectedCount(), 2);
    QVERIFY(!Field<QLineEdit>(dialog, "amount")->isEnabled());
    QVERIFY(!Field<QLineEdit>(dialog, "description")->isEnabled());
    QCOMPARE(voidBox->checkState(), Qt::PartiallyChecked);
    QCOMPARE(Field<QCheckBox>(dialog, "cleared")->checkState(), Qt::PartiallyChecked);
    QCOMPARE(flag->currentText(), QStringLiteral("No Change"));

    ClickCheckBox(voidBox);
    QCOMPARE(voidBox->checkState(), Qt::Checked);
    Save(dialog);
    QCOMPARE(messages.count(), 0);
    QCOMPARE(book.groceries->m_bVoid, 1);
    QCOMPARE(book.salary->m_bVoid, 1);
    QCOMPARE(book.groceries->m_nFlag, 3);  // "No Change"
    QCOMPARE(book.salary->m_bCleared, 1);  // undecided
    QVERIFY(book.doc.IsModified());
    for (int row = 1; row < 4; ++row)
        QCOMPARE(list->GetItemText(row, CRegisterDlg::ColAvailable), QStringLiteral("50.00"));
    // The salary stays cleared but, void, no longer counts.
    QCOMPARE(BankBalance(dialog), QStringLiteral("160.00"));
    QVERIFY(dialog.IsMultiSelectionMode());

    // A plain click ends the mode and gives the fields back.
    ClickCell(list, 2, CRegisterDlg::ColDescription);
    QVERIFY(!dialog.IsMultiSelectionMode());
    QVERIFY(Field<QLineEdit>(dialog, "amount")->isEnabled());
    QCOMPARE(flag->count(), 11);
    QVERIFY(!voidBox->isTristate());
}

void TestRegisterDlg::picksRowsRightAfterOpening()
{
    // Straight after opening the editor is set for a new entry; picking
    // rows must change those rows, not add an entry from the greyed fields.
    SampleBook book;
    MessageLog messages;
    CRegisterDlg dialog(&book.doc, "Checking");
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    CXListCtrl* list = dialog.List();
    ClickCell(list, 1, CRegisterDlg::ColDescription, Qt::ControlModifier);
    ClickCell(list, 2, CRegisterDlg::ColDescription, Qt::ControlModifier);
    QCOMPARE(Field<QComboBox>(dialog, "flag")->count(), 12);  // one "No Change"
    Field<QComboBox>(dialog, "flag")->setCurrentIndex(7);
    ClickCheckBox(Field<QCheckBox>(dialog, "cleared"));  // undecided to checked
    Save(dialog);
    QCOMPARE(messages.count(), 0);
    QCOMPARE(book.doc.FindAccount("Checking")->m_transactions.size(), size_t(3));
    QCOMPARE(book.groceries->m_nFlag, 7);
    QCOMPARE(book.rent->m_nFlag, 7);
    QCOMPARE(book.salary->m_nFlag, 6);
    QCOMPARE(book.groceries->m_bCleared, 1);
    QCOMPARE(list->GetCheckState(RowOfEntry(list, book.groceries), CRegisterDlg::ColCleared), 1);
    QCOMPARE(list->GetCell(RowOfEntry(list, book.groceries), CRegisterDlg::ColFee)->crBackground,
             QColor(0x00, 0xFF, 0xFF));
    QCOMPARE(BankBalance(dialog), QStringLiteral("169.50"));

    // "Add Entry" ends the mode: a new entry needs every field.
    QTest::mouseClick(Field<QPushButton>(dialog, "addEntry"), Qt::LeftButton);
    QVERIFY(!dialog.IsMultiSelectionMode());
    QVERIFY(Field<QLineEdit>(dialog, "description")->isEnabled());
    QCOMPARE(Field<QComboBox>(dialog, "flag")->count(), 11);
}

void TestRegisterDlg::operationsFollowTheRowsThroughSorting()
{
    SampleBook book;
    MessageLog messages;
    CRegisterDlg dialog(&book.doc, "Checking");
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    CXListCtrl* list = dialog.List();

    // Descending by description: Salary, Rent, Groceries.
    ClickHeading(list, CRegisterDlg::ColDescription);
    ClickHeading(list, CRegisterDlg::ColDescription);
    QCOMPARE(list->GetItemText(0, CRegisterDlg::ColDescription), QStringLiteral(" Opening Balance"));
    QCOMPARE(RowOfEntry(list, book.salary), 1);
    QCOMPARE(RowOfEntry(list, book.groceries), 3);

    // Edit the groceries, then sort otherwise before saving.
    ClickCell(list, 3, CRegisterDlg::ColDescription);
    RetypeText(Field<QLineEdit>(dialog, "checkNumber"), "555");
    ClickHeading(list, CRegisterDlg::ColCheckNumber);
    Save(dialog);
    QCOMPARE(book.groceries->m_strCheckNumber, std::string("555"));
    QCOMPARE(list->GetItemText(RowOfEntry(list, book.groceries), CRegisterDlg::ColCheckNumber),
             QStringLiteral("555"));
    QCOMPARE(book.rent->m_strCheckNumber, std::string("102"));
    QCOMPARE(messages.count(), 0);

    // Changing the amount refills: the running balances follow.
    ClickCell(list, RowOfEntry(list, book.groceries), CRegisterDlg::ColDescription);
    RetypeText(Field<QLineEdit>(dialog, "amount"), "10");
    Save(dialog);
    QCOMPARE(book.groceries->m_dAmount, -10.0);
    QCOMPARE(list->GetItemText(RowOfEntry(list, book.salary), CRegisterDlg::ColAvailable), QStringLiteral("69.50 "));

    // Delete what the selected row shows, wherever the sort put it.
    ClickHeading(list, CRegisterDlg::ColDescription);  // ascending: Groceries, Rent, Salary
    const int rentRow = RowOfEntry(list, book.rent);
    QCOMPARE(rentRow, 2);
    ClickCell(list, rentRow, CRegisterDlg::ColDate);
    QTest::mouseClick(Field<QPushButton>(dialog, "deleteEntry"), Qt::LeftButton);
    const auto& reg = book.doc.FindAccount("Checking")->m_transactions;
    QCOMPARE(reg.size(), size_t(2));
    QCOMPARE(reg[0].get(), book.groceries);
    QCOMPARE(reg[1].get(), book.salary);
    QCOMPARE(list->GetItemCount(), 3);
    QCOMPARE(list->GetItemText(0, CRegisterDlg::ColDescription), QStringLiteral(" Opening Balance"));
    QCOMPARE(RowOfEntry(list, book.salary), 2);  // still sorted
    QVERIFY(list->GetItemState(1, CXListCtrl::StateSelected));  // the row above
    QVERIFY(!dialog.IsNewEntryMode());
    QVERIFY(!dialog.EditedEntry());

    // The opening row cannot be deleted.
    ClickCell(list, 0, CRegisterDlg::ColDescription);
    QTest::mouseClick(Field<QPushButton>(dialog, "deleteEntry"), Qt::LeftButton);
    QCOMPARE(reg.size(), size_t(2));
}

void TestRegisterDlg::okAsksBeforeDroppingTheEditor()
{
    SampleBook book;
    QStringList asked;
    UserMessage::Answer answer = UserMessage::Answer::Cancel;
    UserMessage::SetHandler([&](const UserMessage::Shown& shown) {
        asked << shown.text;
        return answer;
    });
    {
        CRegisterDlg dialog(&book.doc, "Checking");
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::mouseClick(dialog.findChild<QPushButton*>("ok"), Qt::LeftButton);
        QCOMPARE(asked, QStringList{"You are creating a new record.  Are you sure you want to close ?"});
        QVERIFY(dialog.isVisible());

        ClickCell(dialog.List(), 2, CRegisterDlg::ColDescription);
        answer = UserMessage::Answer::Ok;
        QTest::mouseClick(dialog.findChild<QPushButton*>("ok"), Qt::LeftButton);
        QCOMPARE(asked.last(), QStringLiteral("You are editing a record.  Are you sure you want to close?"));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
        QVERIFY(!book.doc.m_pEntryMemory);
    }
    {
        // Escape closes without a question.
        asked.clear();
        CRegisterDlg dialog(&book.doc, "Checking");
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QVERIFY(asked.isEmpty());
    }
    UserMessage::SetHandler({});
}

void TestRegisterDlg::keyboardLoadsAndTicksRows()
{
    SampleBook book;
    CRegisterDlg dialog(&book.doc, "Checking");
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    CXListCtrl* list = dialog.List();
    ClickCell(list, 0, CRegisterDlg::ColDescription);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(dialog.EditedEntry(), book.groceries);
    QTest::keyClick(list, Qt::Key_Space);
    QCOMPARE(book.groceries->m_bCleared, 1);
    QCOMPARE(BankBalance(dialog), QStringLiteral("169.50"));
}

QTEST_MAIN(TestRegisterDlg)
#include "tst_RegisterDlg.moc"
