#include "DateField.h"
#include "DescriptionEdit.h"
#include "DialogFields.h"
#include "DialogTestSupport.h"
#include "RegisterDlg.h"
#include "TextCodec.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <cmath>
#include <map>
#include <set>
#include <tuple>

namespace
{
// What the editor can change in an entry.
struct EntryValues
{
    int32_t date = 0;
    std::string checkNumber, description, category;
    double amount = 0.0, fee = 0.0;
    int cleared = 0, isVoid = 0, flag = 0;

    auto Tie() const { return std::tie(date, checkNumber, description, category, amount, fee, cleared, isVoid, flag); }
    bool operator==(const EntryValues& other) const { return Tie() == other.Tie(); }
    bool operator!=(const EntryValues& other) const { return !(*this == other); }
};

EntryValues ValuesOf(const CTransaction& t)
{
    return {t.m_date.GetTime(), t.m_strCheckNumber, t.m_strDescription, t.m_strCategory, t.m_dAmount,
            t.m_dFee,           t.m_bCleared,       t.m_bVoid,          t.m_nFlag};
}

QDate DateOf(int32_t time)
{
    const CTime t(time);
    return QDate(t.GetYear(), t.GetMonth(), t.GetDay());
}

// Cents as the list shows them; a negative zero is a zero.
QString Cents(double value, bool trailing)
{
    return QString::number(value + 0.0, 'f', 2) + (trailing ? u" "_s : QString());
}

int BoxState(const QCheckBox* box)
{
    return box->checkState() == Qt::PartiallyChecked ? -1 : box->isChecked() ? 1 : 0;
}
}

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

    std::map<const CTransaction*, EntryValues> Take() { return SnapshotOf(Register(), ValuesOf); }
    const CTransaction* EntryOfRow(int row)
    {
        return reinterpret_cast<const CTransaction*>(row >= 0 ? List()->GetItemData(row) : 0);
    }
    std::set<const CTransaction*> SelectedEntries()
    {
        std::set<const CTransaction*> entries;
        for (int row : List()->GetSelectedRows())
            if (EntryOfRow(row))
                entries.insert(EntryOfRow(row));
        return entries;
    }
    QStringList FieldTexts()
    {
        const CDateField* date = Field<CDateField>("date");
        return {date->date().isValid() ? date->date().toString(Qt::ISODate) : date->text(),
                Field<QLineEdit>("checkNumber")->text(), Field<QLineEdit>("amount")->text(),
                Field<QLineEdit>("fee")->text(), Field<CDescriptionEdit>("description")->text(),
                Field<QComboBox>("category")->currentText(), Field<QComboBox>("flag")->currentText(),
                QString::number(BoxState(Field<QCheckBox>("deposit"))),
                QString::number(BoxState(Field<QCheckBox>("cleared"))),
                QString::number(BoxState(Field<QCheckBox>("void")))};
    }

    // What Save stores from the fields as they are, or nothing when it
    // must refuse them. timeOfDay is the time the edited entry (or now) has.
    std::optional<EntryValues> Typed(CTime timeOfDay)
    {
        const QDate date = Field<CDateField>("date")->date();
        const auto amount = DialogFields::ParseMoney(Field<QLineEdit>("amount")->text());
        const auto fee = DialogFields::ParseMoney(Field<QLineEdit>("fee")->text());
        const QString description = Field<CDescriptionEdit>("description")->text();
        if (!date.isValid() || !amount || !fee || description.isEmpty() || (*amount == 0 && *fee == 0))
            return std::nullopt;
        const bool deposit = *amount >= 0 && Field<QCheckBox>("deposit")->isChecked();
        const CTime when(date.year(), date.month(), date.day(), timeOfDay.GetHour(), timeOfDay.GetMinute(),
                         timeOfDay.GetSecond());
        return EntryValues{when.GetTime(),
                           ToBytes(Field<QLineEdit>("checkNumber")->text()),
                           ToBytes(description),
                           ToBytes(Field<QComboBox>("category")->currentText()),
                           deposit ? std::fabs(*amount) : -std::fabs(*amount),
                           std::fabs(*fee),
                           BoxState(Field<QCheckBox>("cleared")),
                           BoxState(Field<QCheckBox>("void")),
                           Field<QComboBox>("flag")->currentIndex()};
    }

    // The opening row first, then one row per entry of the register as it
    // is now, each reading what its entry holds.
    QString CheckRows()
    {
        if (List()->GetItemText(0, CRegisterDlg::ColDescription) != u" Opening Balance"_s || EntryOfRow(0))
            return u"the opening row is not first"_s;
        const auto held = Take();
        std::set<const CTransaction*> seen;
        for (int row = 1; row < List()->GetItemCount(); ++row) {
            const CTransaction* t = EntryOfRow(row);
            if (!held.count(t) || !seen.insert(t).second)
                return u"row %1 shows no entry of the register, or one twice"_s.arg(row);
            const bool open = !t->m_bVoid;
            const double a = t->m_dAmount;
            const QStringList expected = {
                DateOf(t->m_date.GetTime()).toString(u" MM/dd/yy"_s),
                FromBytes(t->m_strCheckNumber),
                u" %1 [ %2 ] "_s.arg(FromBytes(t->m_strDescription), FromBytes(t->m_strCategory)),
                a < 0 ? Cents(-a, open) : QString(),
                QString(),
                t->m_dFee != 0 ? Cents(t->m_dFee, true) : QString(),
                a >= 0 ? Cents(a, open) : QString()};
            QStringList shown;
            for (int column = 0; column < CRegisterDlg::ColAvailable; ++column)
                shown << List()->GetItemText(row, column);
            if (shown != expected || List()->GetCheckState(row, CRegisterDlg::ColCleared) != t->m_bCleared)
                return u"row %1 reads \"%2\", its entry holds \"%3\""_s.arg(row).arg(shown.join(u'|'),
                                                                                 expected.join(u'|'));
        }
        if (seen.size() != held.size())
            return u"%1 rows for %2 entries"_s.arg(seen.size()).arg(held.size());
        return {};
    }

    // Outside multi-selection the fields edit the entry whose row is
    // selected, and show it until the user types.
    QString CheckFields(bool dirty)
    {
        const CTransaction* edited = m_dialog->EditedEntry();
        if (m_dialog->IsMultiSelectionMode() || !edited)
            return {};
        if (!Take().count(edited))
            return u"the fields edit an entry the register no longer holds"_s;
        for (int row : List()->GetSelectedRows())
            if (EntryOfRow(row) != edited)
                return u"row %1 is selected while the fields edit another entry"_s.arg(row);
        const auto typed = Typed(edited->m_date);
        if (!dirty && (!typed || *typed != ValuesOf(*edited)))
            return u"the fields show \"%1\", not the edited entry"_s.arg(FieldTexts().join(u'|'));
        return {};
    }

private slots:
    void init()
    {
        m_dialog.reset();  // the last test's, before its document and messages
        m_messages.reset();
        FixClock();
        m_book = std::make_unique<SampleBook>();
        m_messages = std::make_unique<MessageLog>();
        m_dialog = std::make_unique<CRegisterDlg>(m_book->history, "Checking");
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
        QCOMPARE(Field<CDateField>("date")->date(), QDate(2024, 6, 15));

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
        QVERIFY(m_messages->allPlain());
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
        // The random walk checks which entries take which fields; this shows
        // the form's state and what the rows and balances read afterwards.
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
        QVERIFY(m_book->doc.IsModified());
        QCOMPARE(List()->GetCell(1, CRegisterDlg::ColFee)->crBackground, QColor(0x00, 0xFF, 0xFF));
        QCOMPARE(BankBalance(), u"169.50"_s);

        // Both voided together: the running balances are refilled.
        flag->setCurrentIndex(flag->findText(u"No Change"_s));
        ClickCheckBox(voidBox);
        QCOMPARE(voidBox->checkState(), Qt::Checked);
        Press("saveEntry");
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

    // The random walk checks that Delete takes the selected row's entry in
    // any sort; what it does not see is where the selection and the order
    // are left afterwards.
    void deleteKeepsTheSortAndSelectsTheRowAbove()
    {
        // Descending by description: Salary, Rent, Groceries, unlike their dates.
        ClickHeading(List(), CRegisterDlg::ColDescription);
        ClickHeading(List(), CRegisterDlg::ColDescription);
        Click(2, CRegisterDlg::ColDate);
        QCOMPARE(m_dialog->EditedEntry(), m_book->rent);
        Press("deleteEntry");
        QCOMPARE(Register().size(), size_t(2));
        QCOMPARE(List()->GetItemCount(), 3);
        QCOMPARE(RowOfEntry(List(), m_book->groceries), 2);  // still sorted
        QVERIFY(List()->GetItemState(1, CXListCtrl::StateSelected));  // the row above
        QVERIFY(!m_dialog->IsNewEntryMode());
        QVERIFY(!m_dialog->EditedEntry());
    }

    void randomWalkKeepsRowsFieldsAndDocumentInStep();

    void actsOnlyOnWhatIsSelected()
    {
        // A row clicked and then Ctrl-clicked off is no longer selected: Delete leaves it.
        Click(1);
        Click(1, CRegisterDlg::ColDescription, Qt::ControlModifier);
        QCOMPARE(List()->GetSelectedCount(), 0);
        Press("deleteEntry");
        QCOMPARE(Register().size(), size_t(3));

        // A Ctrl-double-click keeps "No Change" and the undecided boxes, so
        // Save sets only what the user decided.
        Click(1, CRegisterDlg::ColDescription, Qt::ControlModifier);
        QRect cell;
        List()->GetSubItemRect(3, CRegisterDlg::ColDescription, CXListCtrl::AreaBounds, cell);
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, Qt::ControlModifier, cell.center());
        QTest::mouseDClick(List()->viewport(), Qt::LeftButton, Qt::ControlModifier, cell.center());
        QTest::mouseRelease(List()->viewport(), Qt::LeftButton, Qt::ControlModifier, cell.center());
        QCOMPARE(Field<QComboBox>("flag")->currentText(), u"No Change"_s);
        QCOMPARE(Field<QCheckBox>("cleared")->checkState(), Qt::PartiallyChecked);
        ClickCheckBox(Field<QCheckBox>("void"));
        Press("saveEntry");
        QVERIFY(m_book->groceries->m_bVoid && m_book->salary->m_bVoid);
        QCOMPARE(m_book->groceries->m_nFlag, 3);
        QCOMPARE(m_book->salary->m_nFlag, 6);
        QCOMPARE(m_book->groceries->m_bCleared, 0);
        QCOMPARE(m_book->salary->m_bCleared, 1);
        // The two rows stay picked after the refill, the third untouched.
        QCOMPARE(List()->GetSelectedCount(), 2);
        QVERIFY(!m_book->rent->m_bCleared);

        // A plain click on the opening row leaves no entry to Save into.
        Click(2);
        Click(0);
        RetypeText(Field<QLineEdit>("checkNumber"), u"999"_s);
        Press("saveEntry");
        QVERIFY(m_messages->lastText().startsWith(u"Entry: No entry selected."_s));
        QCOMPARE(m_book->rent->m_strCheckNumber, std::string("102"));
    }

    void typedMoneyAndDatesMeanWhatTheySay()
    {
        auto* amount = Field<QLineEdit>("amount");
        auto* date = Field<CDateField>("date");
        RetypeText(Field<CDescriptionEdit>("description"), u"Typed"_s);
        // A typed minus is a payment even with "Deposit" ticked; grouping commas are fine.
        const struct
        {
            const char* typed;
            bool deposit;
            double stored;
        } cases[] = {{"-5", false, -5.0}, {"-5", true, -5.0}, {"1,500.00", true, 1500.0}, {"1,234.56", false, -1234.56}};
        for (const auto& c : cases) {
            RetypeText(amount, QString::fromLatin1(c.typed));
            Field<QCheckBox>("deposit")->setChecked(c.deposit);
            RetypeText(Field<CDescriptionEdit>("description"), u"Typed"_s);
            Press("saveEntry");
            QCOMPARE(Register().back()->m_dAmount, c.stored);
        }
        // A date typed whole is the date saved, in either year form.
        for (const char* typed : {"11/20/2026", "11/21/26"}) {
            RetypeText(date, QString::fromLatin1(typed));
            RetypeText(amount, u"1"_s);
            RetypeText(Field<CDescriptionEdit>("description"), u"Dated"_s);
            Press("saveEntry");
            QCOMPARE(Register().back()->m_date.Format("%m/%d/%Y"), std::string(typed).substr(0, 6) + "2026");
        }
        // An impossible one is refused; the entry is not saved on another date.
        RetypeText(date, u"11/31/2026"_s);
        RetypeText(amount, u"1"_s);
        RetypeText(Field<CDescriptionEdit>("description"), u"Dated"_s);
        Press("saveEntry");
        QVERIFY(m_messages->lastText().startsWith(u"Date: Invalid Value."_s));
        QCOMPARE(Register().size(), size_t(9));
        // Beyond the limit, nowhere.
        RetypeText(date, u"11/30/2026"_s);
        RetypeText(amount, u"1e300"_s);
        Press("saveEntry");
        QCOMPARE(m_messages->lastText(), u"Amount: Invalid Value.\nPlease enter a number."_s);
        QCOMPARE(Register().size(), size_t(9));
        QVERIFY(m_messages->allPlain());
    }

    void availableRunsInDateOrderWhateverTheTypingOrder()
    {
        auto available = [this](const CTransaction* entry) {
            return List()->GetItemText(RowOfEntry(List(), entry), CRegisterDlg::ColAvailable);
        };
        // A back-dated payment moves every later day's balance.
        Field<CDateField>("date")->setDate(QDate(2024, 6, 2));
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
        Field<CDateField>("date")->setDate(QDate(2024, 5, 31));
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
        CRegisterDlg again(m_book->history, "Checking");
        Show(again);
        QTest::keyClick(&again, Qt::Key_Escape);
        QVERIFY(!again.isVisible());
        QCOMPARE(m_messages->count(), 2);
    }

    // Ctrl+Z in the register takes a deletion back: the same entry in its
    // row with its running balance. A field with typing of its own takes
    // the key first.
    void undoAndRedoWhileTheRegisterIsOpen()
    {
        const QStringList rows = AllRows(List());
        Click(1);
        Press("deleteEntry");
        QCOMPARE(List()->GetItemCount(), 3);
        QCOMPARE(List()->GetItemText(2, CRegisterDlg::ColAvailable), u"80.00 "_s);
        QCOMPARE(m_book->history.UndoName(), u"Delete Entry"_s);

        auto* description = Field<CDescriptionEdit>("description");
        RetypeText(description, u"Typed"_s);
        QTest::keyClick(description, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(description->text(), u"Groceries Market"_s);  // its own typing first
        QCOMPARE(Register().size(), size_t(2));
        while (description->isUndoAvailable())
            QTest::keyClick(description, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(description, Qt::Key_Z, Qt::ControlModifier);  // then the document
        QCOMPARE(Register().front().get(), m_book->groceries);
        QCOMPARE(AllRows(List()), rows);
        QCOMPARE(BankBalance(), u"190.00"_s);
        QVERIFY(!m_book->doc.IsModified());  // as it was opened

        List()->setFocus();
        QTest::keyClick(List(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(List()->GetItemCount(), 3);
        QVERIFY(RowOfEntry(List(), m_book->groceries) < 0);
        QTest::keyClick(List(), Qt::Key_Backspace, Qt::AltModifier);
        QCOMPARE(RowOfEntry(List(), m_book->groceries), 1);
        QTest::keyClick(List(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(Register().size(), size_t(2));
    }

    // An undo that takes away the entry being edited leaves nothing that
    // points to it, also once a new step has let go of it for good.
    void undoTakesAwayTheEntryBeingEdited()
    {
        RetypeText(Field<QLineEdit>("amount"), u"4.25"_s);
        RetypeText(Field<CDescriptionEdit>("description"), u"Coffee"_s);
        Press("saveEntry");
        const CTransaction* coffee = Register().back().get();
        Click(RowOfEntry(List(), coffee));
        QCOMPARE(m_dialog->EditedEntry(), coffee);
        RetypeText(Field<QLineEdit>("amount"), u"5.00"_s);

        List()->setFocus();
        QTest::keyClick(List(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Register().size(), size_t(3));
        QVERIFY(!m_dialog->EditedEntry());
        QCOMPARE(List()->GetItemCount(), 4);
        // A new step drops the undone one, and the entry with it.
        Press("saveEntry");
        QVERIFY(m_messages->lastText().startsWith(u"Entry: No entry selected."_s));
        const CTransaction* salary = m_book->salary;
        ClickCell(List(), RowOfEntry(List(), salary), CRegisterDlg::ColCleared, Qt::NoModifier);
        QVERIFY(!m_book->history.CanRedo());
        for (int row = 0; row < List()->GetItemCount(); ++row)
            Click(row);
        ClickHeading(List(), CRegisterDlg::ColAmount);
        QCOMPARE(Register().size(), size_t(3));
        QCOMPARE(CheckRows(), QString());
    }
};

// Random clicks (plain, Ctrl, Shift, double, on the "C" box), sorts,
// typing, saves, adds and deletes: after every step the rows, the fields and
// the register agree, and each change lands only on the entries the user
// had selected, and only as far as the fields were decided.
void TestRegisterDlg::randomWalkKeepsRowsFieldsAndDocumentInStep()
{
    m_book->doc.AddEntry("Checking", CTime(2024, 6, 7, 8, 15, 0), "103", "Water Bill", "Utilities", 45.10, 0.0, 0, 0,
                         0, 0);
    m_book->doc.AddEntry("Checking", CTime(2024, 5, 30, 17, 0, 0), "", "Bonus", " Deposit-Bonus", 250.0, 1.0, 1, 1,
                         0, 1);
    m_dialog = std::make_unique<CRegisterDlg>(m_book->history, "Checking");
    Show(*m_dialog);

    const std::vector<QString> dates = {u"06/20/2024"_s, u"11/20/26"_s, u"02/30/2024"_s, u"6/1/2024"_s};
    const std::vector<QString> amounts = {u"0"_s, u"12.00"_s, u"1,500.00"_s, u"-5"_s, u"7.255"_s, u"x"_s};
    const std::vector<QString> fees = {u"0"_s, u"0.50"_s, u"-2"_s, u""_s};
    const std::vector<QString> descriptions = {u"Groceries Market"_s, u"Gro"_s, u"Rent"_s, u""_s, u"Zebra"_s};
    const std::vector<QString> texts = {u""_s, u"104"_s, u"Food"_s};

    RandomWalk walk(4242);
    HistoryKeys keys(m_book->history);
    QWidget* lastTyped = List();
    QStringList loaded = FieldTexts();
    for (int step = 0; step < 300; ++step) {
        const auto before = Take();
        const std::set<const CTransaction*> selected = SelectedEntries();
        const CTransaction* editedBefore = m_dialog->EditedEntry();
        const bool multiBefore = m_dialog->IsMultiSelectionMode();
        const bool newBefore = m_dialog->IsNewEntryMode();
        const QStringList fieldsBefore = FieldTexts();
        const auto typedNew = Typed(CTime(kTestNow));
        const auto typedEdit = editedBefore ? Typed(editedBefore->m_date) : std::nullopt;
        const int clearedBox = BoxState(Field<QCheckBox>("cleared"));
        const int voidBox = BoxState(Field<QCheckBox>("void"));
        const int flagIndex = Field<QComboBox>("flag")->currentIndex();
        const CTransaction* ticked = nullptr;

        // Undo and redo take the register back and forth through its
        // steps: every other check below holds across them too.
        enum Kind { Gesture, Typing, Button, History } kind;
        const int roll = walk.Pick(100);
        kind = roll < 40 ? Gesture : roll < 64 ? Typing : roll < 88 ? Button : History;
        QString pressed;
        const bool keyed = kind == History;
        switch (kind) {
        case History:
            // Now and then right after typing, which the key then takes back.
            if (walk.Chance(30) && Field<QLineEdit>("checkNumber")->isEnabled()) {
                RetypeText(Field<QLineEdit>("checkNumber"), walk.PickOf(texts));
                lastTyped = Field<QLineEdit>("checkNumber");
            }
            keys.Press(walk, {List(), lastTyped, lastTyped, Field<QLineEdit>("amount"),
                              Field<CDescriptionEdit>("description"), Field<QComboBox>("category")});
            if (keys.FieldKept())
                kind = Typing;
            break;
        case Gesture:
            RandomListGesture(walk, List(), CRegisterDlg::ColCleared);
            break;
        case Typing: {
            const int which = walk.Pick(10);
            QLineEdit* edits[] = {Field<CDateField>("date"), Field<QLineEdit>("amount"), Field<QLineEdit>("fee"),
                                  Field<CDescriptionEdit>("description"), Field<QLineEdit>("checkNumber"),
                                  Field<QComboBox>("category")->lineEdit()};
            const std::vector<QString>* pools[] = {&dates, &amounts, &fees, &descriptions, &texts, &texts};
            const char* boxes[] = {"deposit", "cleared", "void"};
            if (which < 6) {
                const QString text = walk.PickOf(*pools[which]);
                walk.Step(u"type \"%1\" into %2"_s.arg(text, edits[which]->objectName()));
                if (edits[which]->isEnabled())
                    RetypeText(edits[which], text);
                lastTyped = which == 5 ? static_cast<QWidget*>(Field<QComboBox>("category")) : edits[which];
            } else if (which < 9) {
                walk.Step(u"tick %1"_s.arg(QLatin1String(boxes[which - 6])));
                ClickCheckBox(Field<QCheckBox>(boxes[which - 6]));
            } else {
                QComboBox* flag = Field<QComboBox>("flag");
                walk.Step(u"flag"_s);
                flag->setCurrentIndex(walk.Pick(flag->count()));
            }
            break;
        }
        case Button:
            pressed = PressRandomButton(walk, m_dialog.get(),
                                        {u"&Save Entry"_s, u"&Save Entry"_s, u"&Add Entry"_s, u"Delete Ent&ry"_s});
            break;
        }

        WALK_VERIFY(walk, keys.Check(keyed));
        if (kind == History) {
            const QStringList now = FieldTexts();
            if (now != fieldsBefore)
                loaded = now;
            WALK_VERIFY(walk, CheckRows());
            WALK_VERIFY(walk, CheckFields(now != loaded));
            continue;
        }
        const auto after = Take();
        const auto [removed, added, changed] = Compare(before, after);
        if (kind == Gesture && changed.size() == 1) {
            EntryValues flipped = before.at(changed[0]);
            flipped.cleared = flipped.cleared ? 0 : 1;
            const QString step = walk.Where();
            if (after.at(changed[0]) == flipped && step.contains(u"click"_s) && !step.contains(u'+') &&
                step.contains(u"column %1"_s.arg(int(CRegisterDlg::ColCleared))))
                ticked = changed[0];  // a plain click on its "C" box
        }

        // Delete takes a selected entry only, and the one when one is selected.
        const bool deleting = pressed == u"Delete Ent&ry"_s;
        const bool saving = pressed == u"&Save Entry"_s;
        WALK_VERIFY(walk, removed.empty() || (deleting && removed.size() == 1 && selected.count(removed[0]))
                              ? QString()
                              : u"an entry was deleted that was not selected"_s);
        if (deleting && selected.size() == 1)
            WALK_VERIFY(walk, removed.size() == 1 ? QString() : u"the one selected entry was not deleted"_s);
        WALK_VERIFY(walk, added.empty() || (saving && newBefore && !multiBefore && added.size() == 1 &&
                                            typedNew && after.at(added[0]) == *typedNew)
                              ? QString()
                              : u"an entry was added that is not the one typed"_s);
        if (saving && multiBefore) {
            // Only the selected entries, and only what was decided.
            for (const CTransaction* t : changed)
                WALK_VERIFY(walk, selected.count(t) ? QString() : u"Save changed an entry that was not selected"_s);
            for (const CTransaction* t : selected) {
                EntryValues expected = before.at(t);
                expected.cleared = clearedBox >= 0 ? clearedBox : expected.cleared;
                expected.isVoid = voidBox >= 0 ? voidBox : expected.isVoid;
                expected.flag = flagIndex < kFlagCount ? flagIndex : expected.flag;
                WALK_VERIFY(walk, after.at(t) == expected ? QString()
                                                          : u"a selected entry did not take just the decided fields"_s);
            }
        } else if (saving && !newBefore && editedBefore) {
            WALK_VERIFY(walk, changed.empty() || (changed.size() == 1 && changed[0] == editedBefore)
                                  ? QString()
                                  : u"Save changed an entry that was not the edited one"_s);
            if (typedEdit)
                WALK_VERIFY(walk, after.at(editedBefore) == *typedEdit ? QString()
                                                                       : u"the edited entry is not as typed"_s);
        } else {
            WALK_VERIFY(walk, changed.empty() || (changed.size() == 1 && changed[0] == ticked)
                                  ? QString()
                                  : u"an entry changed without a Save or a plain click on its box"_s);
        }

        // In multi-selection only the user's own typing decides the boxes and the flag.
        if (multiBefore && m_dialog->IsMultiSelectionMode() && kind != Typing && pressed != u"&Save Entry"_s)
            WALK_VERIFY(walk, BoxState(Field<QCheckBox>("cleared")) == clearedBox &&
                                      BoxState(Field<QCheckBox>("void")) == voidBox &&
                                      Field<QComboBox>("flag")->currentIndex() == flagIndex
                                  ? QString()
                                  : u"a click replaced \"No Change\" or an undecided box"_s);

        const QStringList now = FieldTexts();
        if (kind != Typing && (now != fieldsBefore || !added.empty() || !changed.empty()))
            loaded = now;
        WALK_VERIFY(walk, CheckRows());
        WALK_VERIFY(walk, CheckFields(now != loaded));
    }
    QVERIFY2(keys.Coverage().isEmpty(), qPrintable(keys.Coverage()));
}

QTEST_MAIN(TestRegisterDlg)
#include "tst_RegisterDlg.moc"
