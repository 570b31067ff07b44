#include "DateField.h"
#include "DialogFields.h"
#include "DialogTestSupport.h"
#include "RecurringDlg.h"
#include "TextCodec.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

#include <cmath>
#include <map>
#include <set>
#include <tuple>

namespace
{
// What the editor can change in a recurring transaction.
struct RecurringValues
{
    std::string account, description, category, frequency, periods;
    double amount = 0.0;
    QDate next;
    int flag = 0;
    int done = 0;

    auto Tie() const { return std::tie(account, description, category, frequency, periods, amount, next, flag, done); }
    bool operator==(const RecurringValues& other) const { return Tie() == other.Tie(); }
    bool operator!=(const RecurringValues& other) const { return !(*this == other); }
};

RecurringValues ValuesOf(const CRecurringTransaction& r)
{
    return {r.m_strAccount, r.m_strDescription, r.m_strCategory, r.m_strFrequency, r.m_strPeriods, r.m_dAmount,
            QDate(r.m_nextDate.GetYear(), r.m_nextDate.GetMonth(), r.m_nextDate.GetDay()), r.m_nFlag,
            r.m_nPeriodsDone};
}

using Snapshot = std::map<const CRecurringTransaction*, RecurringValues>;

Snapshot Take(const CQuilletDoc& doc)
{
    return SnapshotOf(doc.m_recurring, ValuesOf);
}
}

class TestRecurringDlg : public QObject
{
    Q_OBJECT
    std::unique_ptr<CQuilletDoc> m_doc;
    std::unique_ptr<CDocHistory> m_history;
    std::unique_ptr<MessageLog> m_messages;
    std::unique_ptr<CRecurringDlg> m_dialog;

    void Open()
    {
        m_doc->SetModifiedFlag(false);
        m_dialog.reset();
        if (!m_history)
            m_history = std::make_unique<CDocHistory>(*m_doc);
        m_dialog = std::make_unique<CRecurringDlg>(*m_history);
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
    CXListCtrl* List() { return m_dialog->List(); }

    // What Save would store from the fields as they are.
    RecurringValues Typed(int done)
    {
        const double typed = DialogFields::ParseMoney(Field<QLineEdit>("amountEdit")->text()).value_or(-1e300);
        const bool deposit = typed >= 0 && Field<QCheckBox>("depositCheck")->isChecked();
        return {ToBytes(Field<QComboBox>("accountCombo")->currentText()),
                ToBytes(Field<QLineEdit>("descriptionEdit")->text()),
                ToBytes(Field<QComboBox>("categoryCombo")->currentText()),
                ToBytes(Field<QComboBox>("frequencyCombo")->currentText()),
                ToBytes(Field<QComboBox>("periodsCombo")->currentText()),
                deposit ? -std::fabs(typed) : std::fabs(typed),
                Field<CDateField>("startDate")->date(),
                Field<QComboBox>("flagCombo")->currentIndex(),
                done};
    }
    QStringList FieldTexts()
    {
        QStringList texts;
        for (const char* name : {"amountEdit", "descriptionEdit"})
            texts << Field<QLineEdit>(name)->text();
        // A short date is shown the long way once the user moves on: the same date.
        const CDateField* date = Field<CDateField>("startDate");
        texts << (date->date().isValid() ? date->date().toString(Qt::ISODate) : date->text());
        for (const char* name : {"accountCombo", "categoryCombo", "flagCombo", "frequencyCombo", "periodsCombo"})
            texts << Field<QComboBox>(name)->currentText();
        texts << QString::number(Field<QCheckBox>("depositCheck")->isChecked());
        return texts;
    }

    // Every row shows one transaction of the document as it is now.
    QString CheckRows()
    {
        std::set<const CRecurringTransaction*> seen;
        const Snapshot held = Take(*m_doc);
        for (int row = 0; row < List()->GetItemCount(); ++row) {
            const auto* r = reinterpret_cast<const CRecurringTransaction*>(List()->GetItemData(row));
            if (!held.count(r))
                return u"row %1 shows no transaction the document holds"_s.arg(row);
            if (!seen.insert(r).second)
                return u"row %1 shows a transaction a second time"_s.arg(row);
            const QString remaining = r->m_strPeriods == "Forever"
                                          ? QString::number(r->m_nPeriodsDone)
                                          : u"%1 of %2"_s.arg(r->m_nPeriodsDone).arg(FromBytes(r->m_strPeriods));
            const QStringList expected = {
                u" %1 [ %2 ]"_s.arg(FromBytes(r->m_strDescription), FromBytes(r->m_strCategory)),
                QString::number(std::fabs(r->m_dAmount), 'f', 2) + u' ',
                r->m_dAmount < 0 ? u"Y"_s : u"N"_s,
                FromBytes(r->m_strAccount),
                ValuesOf(*r).next.toString(u"MM/dd/yy"_s),
                FromBytes(r->m_strFrequency),
                remaining};
            if (RowText(List(), row) != expected.join(u'|'))
                return u"row %1 reads \"%2\", its transaction holds \"%3\""_s.arg(row).arg(RowText(List(), row),
                                                                                       expected.join(u'|'));
        }
        if (seen.size() != held.size())
            return u"%1 rows for %2 transactions"_s.arg(seen.size()).arg(held.size());
        return {};
    }

    // The fields edit the transaction whose row is selected, and show it
    // until the user types.
    QString CheckFields(bool dirty)
    {
        const CRecurringTransaction* edited = m_dialog->EditedRecurring();
        for (int row : List()->GetSelectedRows()) {
            if (m_dialog->IsNewMode())
                return u"row %1 is selected while a new transaction is typed"_s.arg(row);
            if (edited && List()->GetItemData(row) != reinterpret_cast<quintptr>(edited))
                return u"row %1 is selected while the fields edit another transaction"_s.arg(row);
        }
        if (edited && !Take(*m_doc).count(edited))
            return u"the fields edit a transaction the document no longer holds"_s;
        RecurringValues shown = edited ? ValuesOf(*edited) : RecurringValues();
        if (edited && !m_doc->FindAccount(edited->m_strAccount))
            shown.account.clear();  // an account that is gone is not offered
        if (edited && !dirty && Typed(edited->m_nPeriodsDone) != shown)
            return u"the fields show \"%1\", not the edited transaction"_s.arg(FieldTexts().join(u'|'));
        return {};
    }

private slots:
    void init()
    {
        m_dialog.reset();  // the last test's, before its document and messages
        m_history.reset();
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
            CDocHistory history(empty);
            CRecurringDlg dialog(history);
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
        QVERIFY(m_messages->allPlain());
        QVERIFY(m_dialog->isVisible());
        RetypeText(Field<QLineEdit>("amountEdit"), u"10"_s);
        Click(u"OK"_s);
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QVERIFY(m_doc->m_recurring.empty());  // OK saves nothing
        QVERIFY(!m_doc->IsModified());
    }

    void typedAmountsMeanWhatTheySay()
    {
        Open();
        const struct
        {
            const char* typed;
            bool deposit;
            double stored;
        } cases[] = {{"12.345", false, 12.35}, {"1,500.00", true, -1500.0}, {"-5", true, 5.0}, {"-5", false, 5.0}};
        for (const auto& c : cases) {
            Fill(QString::fromLatin1(c.typed), u"Gift"_s, u"Forever"_s);
            Field<QCheckBox>("depositCheck")->setChecked(c.deposit);
            Click(u"Save"_s);
            QCOMPARE(m_doc->m_recurring.back()->m_dAmount, c.stored);
        }
        Fill(u"1e300"_s, u"Gift"_s, u"Forever"_s);
        Click(u"Save"_s);
        QCOMPARE(m_messages->texts, QStringList{u"Amount: Invalid Value.\nPlease enter a number."_s});
        QCOMPARE(m_doc->m_recurring.size(), size_t(4));
    }

    void periodsMustBeAPlainNumber()
    {
        for (const char* text : {"12", "-3", "2147483647"})
            QVERIFY2(CRecurringDlg::IsPeriodsNumber(QString::fromLatin1(text)), text);
        for (const char* text : {"012", "+5", "12 ", " 12", "12x", "-0", "2147483648", "99999999999999999999"})
            QVERIFY2(!CRecurringDlg::IsPeriodsNumber(QString::fromLatin1(text)), text);
    }

    void randomWalkKeepsRowsFieldsAndDocumentInStep();

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
        CDateField* date = Field<CDateField>("startDate");
        QCOMPARE(date->date(), QDate(2024, 7, 1));
        date->setFocus();
        QTest::keyClick(date, Qt::Key_Up);
        QTest::keyClick(date, Qt::Key_Plus);
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

void TestRecurringDlg::randomWalkKeepsRowsFieldsAndDocumentInStep()
{
    m_doc->AddRecurring("Savings", 1200.0, CTime(2024, 7, 1, 0, 0, 0), "Alpha", "Mortgage", "Monthly", "12", 2);
    m_doc->AddRecurring("Checking", -50.0, CTime(2024, 6, 20, 9, 0, 0), "Bravo", "", "Weekly", "Forever", 0);
    m_doc->AddRecurring("Gone", 9.99, CTime(2024, 6, 1, 0, 0, 0), "Charlie", "Music", "Monthly", "3", 5);
    m_doc->GetRecurring(1)->m_nPeriodsDone = 7;
    Open();

    const std::vector<QString> amounts = {u"0"_s, u"1,500.00"_s, u"-5"_s, u"12.345"_s, u"1e300"_s, u"abc"_s, u"75"_s};
    const std::vector<QString> descriptions = {u"Alpha"_s, u"Delta"_s, u"echo"_s, u""_s};
    const std::vector<QString> periods = {u"12"_s, u"Forever"_s, u"012"_s, u""_s};
    const std::vector<QString> dates = {u"11/20/2026"_s, u"1/5/25"_s, u"02/30/2026"_s, u"06/15/2024"_s};
    const char* const combos[] = {"accountCombo", "flagCombo", "frequencyCombo"};

    RandomWalk walk(2024);
    HistoryKeys keys(*m_history);
    QWidget* lastTyped = List();
    QStringList loaded = FieldTexts();
    for (int step = 0; step < 300; ++step) {
        const Snapshot before = Take(*m_doc);
        const CRecurringTransaction* editedBefore = m_dialog->EditedRecurring();
        const bool newBefore = m_dialog->IsNewMode();
        const int selectedRow = List()->GetNextSelected(-1);
        const auto* selected =
            reinterpret_cast<const CRecurringTransaction*>(selectedRow >= 0 ? List()->GetItemData(selectedRow) : 0);
        const RecurringValues typedNew = Typed(0);
        const RecurringValues typedEdit = Typed(editedBefore ? editedBefore->m_nPeriodsDone : 0);
        const QStringList fieldsBefore = FieldTexts();

        // Undo and redo take the transactions back and forth through their
        // steps: every other check below holds across them too.
        enum Kind { Gesture, Typing, Button, History } kind;
        const int roll = walk.Pick(100);
        kind = roll < 36 ? Gesture : roll < 60 ? Typing : roll < 82 ? Button : History;
        QString pressed;
        const bool keyed = kind == History;
        switch (kind) {
        case History:
            keys.Press(walk, {List(), List(), lastTyped, lastTyped});
            if (keys.FieldKept())
                kind = Typing;
            break;
        case Gesture:
            RandomListGesture(walk, List());
            break;
        case Typing: {
            const int which = walk.Pick(8);
            if (which == 0) {
                walk.Step(u"amount"_s);
                RetypeText(Field<QLineEdit>("amountEdit"), walk.PickOf(amounts));
                lastTyped = Field<QLineEdit>("amountEdit");
            } else if (which == 1) {
                walk.Step(u"description"_s);
                RetypeText(Field<QLineEdit>("descriptionEdit"), walk.PickOf(descriptions));
                lastTyped = Field<QLineEdit>("descriptionEdit");
            } else if (which == 2) {
                walk.Step(u"periods"_s);
                RetypeText(Field<QComboBox>("periodsCombo")->lineEdit(), walk.PickOf(periods));
            } else if (which == 3) {
                walk.Step(u"date"_s);
                RetypeText(Field<CDateField>("startDate"), walk.PickOf(dates));
            } else if (which == 4) {
                walk.Step(u"deposit"_s);
                ClickCheckBox(Field<QCheckBox>("depositCheck"));
            } else {
                QComboBox* combo = Field<QComboBox>(combos[which - 5]);
                walk.Step(u"choose in %1"_s.arg(combo->objectName()));
                combo->setCurrentIndex(walk.Pick(combo->count()));
            }
            break;
        }
        case Button:
            pressed = PressRandomButton(walk, m_dialog.get(),
                                        {u"Save"_s, u"Save"_s, u"Add Recurring"_s, u"Delete Recurring"_s});
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
        const Snapshot after = Take(*m_doc);
        const auto [removed, added, changed] = Compare(before, after);
        // Only the transaction in front of the user changes, and only as typed.
        const bool deleting = pressed == u"Delete Recurring"_s;
        WALK_VERIFY(walk, removed.empty() || (deleting && removed.size() == 1 && removed[0] == selected)
                              ? QString()
                              : u"a transaction was removed that was not the selected one"_s);
        const bool saving = pressed == u"Save"_s;
        WALK_VERIFY(walk, added.empty() || (saving && newBefore && added.size() == 1 &&
                                            after.at(added[0]) == typedNew)
                              ? QString()
                              : u"a transaction was added that is not the one typed"_s);
        WALK_VERIFY(walk, changed.empty() || (saving && changed.size() == 1 && changed[0] == editedBefore &&
                                              after.at(changed[0]) == typedEdit)
                              ? QString()
                              : u"a transaction changed that was not the one edited, or not as typed"_s);

        const QStringList now = FieldTexts();
        if (kind != Typing && (now != fieldsBefore || !added.empty() || !changed.empty()))
            loaded = now;
        WALK_VERIFY(walk, CheckRows());
        WALK_VERIFY(walk, CheckFields(now != loaded));
    }
    QVERIFY2(keys.Coverage().isEmpty(), qPrintable(keys.Coverage()));
}

QTEST_MAIN(TestRecurringDlg)
#include "tst_RecurringDlg.moc"
