#include "AccountsDlg.h"
#include "DialogFields.h"
#include "DialogTestSupport.h"
#include "TextCodec.h"

#include <QLineEdit>
#include <QtTest>

#include <map>
#include <set>
#include <tuple>

namespace
{
const QString kSaveQuestion = u"Save changes to this account?"_s;

// What the editor can change in an account, to tell which accounts a step
// touched.
struct AccountValues
{
    std::string name, number, institution, owner, taxId;
    double opening = 0.0;
    size_t entries = 0;

    auto Tie() const { return std::tie(name, number, institution, owner, taxId, opening, entries); }
    bool operator==(const AccountValues& other) const { return Tie() == other.Tie(); }
    bool operator!=(const AccountValues& other) const { return !(*this == other); }
};

AccountValues ValuesOf(const CAccount& account)
{
    return {account.m_strName,  account.m_strNumber, account.m_strInstitution,      account.m_strOwner,
            account.m_strTaxId, account.m_dOpeningBalance, account.m_transactions.size()};
}

using Snapshot = std::map<const CAccount*, AccountValues>;

Snapshot Take(const CQuilletDoc& doc)
{
    return SnapshotOf(doc.m_accounts, ValuesOf);
}

// The six fields in the order the dialog lays them out.
const char* const kFields[] = {"nameEdit", "balanceEdit", "numberEdit", "institutionEdit", "ownerEdit", "taxIdEdit"};
}

class TestAccountsDlg : public QObject
{
    Q_OBJECT
    std::unique_ptr<CQuilletDoc> m_doc;
    std::unique_ptr<CDocHistory> m_history;
    std::unique_ptr<MessageLog> m_messages;
    std::unique_ptr<CAccountsDlg> m_dialog;

    QLineEdit* Edit(const char* name) { return Find<QLineEdit>(m_dialog.get(), name); }
    void Type(const char* name, const QString& text) { RetypeText(Edit(name), text); }
    void Click(const QString& button) { ClickButton(m_dialog.get(), button); }
    CXListCtrl* List() { return m_dialog->List(); }
    void Open()
    {
        // The history outlives a dialog, as the window's does.
        m_dialog.reset();
        if (!m_history)
            m_history = std::make_unique<CDocHistory>(*m_doc);
        m_dialog = std::make_unique<CAccountsDlg>(*m_history);
        Show(*m_dialog);
    }

    QStringList FieldTexts()
    {
        QStringList texts;
        for (const char* name : kFields)
            texts << Edit(name)->text();
        return texts;
    }
    // What Save would store from these field texts.
    static AccountValues Typed(const QStringList& fields, size_t entries)
    {
        return {ToBytes(fields[0]), ToBytes(fields[2]), ToBytes(fields[3]),    ToBytes(fields[4]),
                ToBytes(fields[5]), DialogFields::ParseMoney(fields[1]).value_or(-1e300), entries};
    }
    static QStringList ExpectedRow(const AccountValues& v)
    {
        return {u" "_s + FromBytes(v.name), QString::number(v.opening, 'f', 2) + u' ', FromBytes(v.number),
                FromBytes(v.institution), FromBytes(v.owner), FromBytes(v.taxId)};
    }

    // Every row shows one account of the document as it is now, each
    // account has one row, and the one blank row stays last.
    QString CheckRows()
    {
        std::set<const CAccount*> seen;
        for (int row = 0; row < List()->GetItemCount(); ++row) {
            const auto* account = reinterpret_cast<const CAccount*>(List()->GetItemData(row));
            if (!account) {
                if (row != List()->GetItemCount() - 1)
                    return u"the blank row is row %1, not the last"_s.arg(row);
                continue;
            }
            if (Take(*m_doc).count(account) == 0)
                return u"row %1 shows an account the document no longer holds"_s.arg(row);
            if (!seen.insert(account).second)
                return u"row %1 shows an account a second time"_s.arg(row);
            const QStringList expected = ExpectedRow(ValuesOf(*account));
            if (RowText(List(), row) != expected.join(u'|'))
                return u"row %1 reads \"%2\", its account holds \"%3\""_s.arg(row).arg(RowText(List(), row),
                                                                                   expected.join(u'|'));
        }
        if (seen.size() != m_doc->m_accounts.size())
            return u"%1 account rows for %2 accounts"_s.arg(seen.size()).arg(m_doc->m_accounts.size());
        return {};
    }

    // The fields edit the account whose row is selected (or the blank row
    // for a new one), and show it until the user types.
    QString CheckFields(bool dirty)
    {
        const CAccount* edited = m_dialog->EditedAccount();
        for (int row : List()->GetSelectedRows()) {
            const quintptr shown = List()->GetItemData(row);
            if (edited && shown != reinterpret_cast<quintptr>(edited))
                return u"row %1 is selected while the fields edit %2"_s.arg(row).arg(FromBytes(edited->m_strName));
            if (m_dialog->IsNewAccountMode() && shown)
                return u"an account's row %1 is selected while a new account is typed"_s.arg(row);
        }
        if (edited) {
            if (Take(*m_doc).count(edited) == 0)
                return u"the fields edit an account the document no longer holds"_s;
            if (!dirty && Typed(FieldTexts(), edited->m_transactions.size()) != ValuesOf(*edited))
                return u"the fields show \"%1\", not the edited account"_s.arg(FieldTexts().join(u'|'));
        }
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
        m_doc->AddAccount("Checking", "1001", 1500.0, "Pat", "First Bank", "12-3");
        m_doc->AddAccount("Savings", "1001", 250.25, "Pat", "First Bank", "");
        m_messages = std::make_unique<MessageLog>();
        Open();
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
        Type("balanceEdit", QString());  // nothing typed is no balance; 0 is one
        Click(u"Save"_s);
        QCOMPARE(m_messages->lastText(), u"Starting Balance: Invalid Value.\nPlease specify a value."_s);
        Type("balanceEdit", u"0.00"_s);
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
        QCOMPARE(m_messages->count(), 5);
        QVERIFY(m_messages->allPlain());
        QCOMPARE(m_doc->m_accounts.size(), size_t(2));

        // Names compare case-sensitively; an empty account starts at 0.
        Type("balanceEdit", u"0"_s);
        Type("taxIdEdit", u"99"_s);
        Click(u"Save"_s);
        QCOMPARE(m_messages->count(), 5);
        QCOMPARE(m_doc->GetAccount(2)->m_strName, std::string("checking"));
        QCOMPARE(m_doc->GetAccount(2)->m_dOpeningBalance, 0.0);
        QVERIFY(m_doc->IsModified());
        QCOMPARE(RowText(List(), 2), u" checking|0.00 ||||99"_s);
        QCOMPARE(List()->GetNextSelected(-1), 3);  // a fresh blank row
        QVERIFY(Edit("nameEdit")->text().isEmpty());

        // Typed money means what it says; amounts beyond the limit are refused.
        const std::pair<const char*, double> balances[] = {{"1,234.56", 1234.56}, {"-5", -5.0}, {"12.345", 12.35}};
        int n = 3;
        for (const auto& [typed, stored] : balances) {
            Type("nameEdit", u"Account %1"_s.arg(n));
            Type("balanceEdit", QString::fromLatin1(typed));
            Click(u"Save"_s);
            QCOMPARE(m_doc->GetAccount(n++)->m_dOpeningBalance, stored);
        }
        Type("nameEdit", u"Huge"_s);
        Type("balanceEdit", u"1e300"_s);
        Click(u"Save"_s);
        QCOMPARE(m_messages->lastText(), u"Opening Balance: Invalid Value.\nPlease enter a number."_s);
        QCOMPARE(m_doc->m_accounts.size(), size_t(6));
    }

    void longNamesFitTheListsAndOldOnesStillWork()
    {
        // A new name is held to what the account lists carry.
        const QString longName = u"Household Joint Checking at the Credit Union"_s;
        Type("nameEdit", longName);
        QCOMPARE(Edit("nameEdit")->text(), longName.left(31));

        // A file's longer name is shown whole and kept when other fields change.
        Type("nameEdit", QString());
        m_doc->AddAccount(ToBytes(longName), "7", 5.0, "", "", "");
        Open();
        ClickCell(List(), 2);
        QCOMPARE(Edit("nameEdit")->text(), longName);
        Type("ownerEdit", u"Sam"_s);
        Click(u"Save"_s);
        QCOMPARE(m_messages->count(), 0);
        QCOMPARE(m_doc->GetAccount(2)->m_strName, ToBytes(longName));
        QCOMPARE(m_doc->GetAccount(2)->m_strOwner, std::string("Sam"));
        // ... but it cannot become another long name.
        ClickCell(List(), 2);
        Type("nameEdit", longName.left(30) + u" of the Valley"_s);
        Click(u"Save"_s);
        QCOMPARE(m_messages->lastText(),
                 u"Account Name: Invalid Value.\nAn account name can have at most 31 characters."_s);
        QCOMPARE(m_doc->GetAccount(2)->m_strName, ToBytes(longName));

        // Its first 31 characters count as taken, a name that only starts alike does not.
        m_messages->answer = UserMessage::Answer::No;
        Click(u"Add Account"_s);
        Type("balanceEdit", u"1"_s);
        Type("nameEdit", longName.left(31));
        Click(u"Save"_s);
        QCOMPARE(m_messages->lastText(), u"Account: Invalid Value.\nYou must specify a UNIQUE account name."_s);
        Type("nameEdit", longName.left(25) + u" (old)"_s);
        Click(u"Save"_s);
        QCOMPARE(m_doc->m_accounts.size(), size_t(4));
    }

    void editingKeepsOrRefusesNames()
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
    }

    void typedChangesAreNeverDroppedSilently()
    {
        // "Add Account" over typed changes asks: Cancel keeps them, Yes saves them.
        ClickCell(List(), 0);
        Type("ownerEdit", u"Lee"_s);
        m_messages->answer = UserMessage::Answer::Cancel;
        Click(u"Add Account"_s);
        QCOMPARE(m_messages->texts, QStringList{kSaveQuestion});
        QCOMPARE(Edit("ownerEdit")->text(), u"Lee"_s);
        QCOMPARE(m_dialog->EditedAccount(), m_doc->GetAccount(0));
        m_messages->answer = UserMessage::Answer::Yes;
        Click(u"Add Account"_s);
        QCOMPARE(m_doc->GetAccount(0)->m_strOwner, std::string("Lee"));
        QVERIFY(m_dialog->IsNewAccountMode());

        // A click on another account asks too; Cancel leaves the selection
        // on the row still being typed into, No drops what was typed.
        Type("nameEdit", u"Brokerage"_s);
        m_messages->answer = UserMessage::Answer::Cancel;
        ClickCell(List(), 1);
        QCOMPARE(m_messages->count(), 3);
        QCOMPARE(List()->GetNextSelected(-1), 2);
        QCOMPARE(Edit("nameEdit")->text(), u"Brokerage"_s);
        m_messages->answer = UserMessage::Answer::No;
        ClickCell(List(), 1);
        QCOMPARE(Edit("nameEdit")->text(), u"Savings"_s);
        QCOMPARE(m_doc->m_accounts.size(), size_t(2));
        // Without changes nothing is asked.
        ClickCell(List(), 0);
        QCOMPARE(m_messages->count(), 4);

        // Enter goes to OK, which asks as well; No drops the change and closes.
        Type("taxIdEdit", u"77"_s);
        m_messages->answer = UserMessage::Answer::Cancel;
        QTest::keyClick(Edit("taxIdEdit"), Qt::Key_Return);
        QVERIFY(m_dialog->isVisible());
        m_messages->answer = UserMessage::Answer::No;
        QTest::keyClick(Edit("taxIdEdit"), Qt::Key_Return);
        QCOMPARE(m_messages->texts.mid(4), QStringList({kSaveQuestion, kSaveQuestion}));
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QCOMPARE(m_doc->GetAccount(0)->m_strTaxId, std::string("12-3"));

        // The institution says where the user types it that the file does not keep it.
        QVERIFY(Edit("institutionEdit")->toolTip().contains(u"only while this file is open"_s));
        QVERIFY(!Edit("institutionEdit")->placeholderText().isEmpty());
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

        // Sorted by name descending, the selected row's account goes, only after a yes.
        ClickHeading(List(), 0);
        ClickHeading(List(), 0);
        QCOMPARE(List()->GetItemText(1, 0), u" Checking"_s);
        QVERIFY(!List()->GetItemData(2));  // the blank row stays last
        ClickCell(List(), 1);
        Click(u"Delete Account"_s);
        QVERIFY(m_messages->lastText().contains(u"\"Checking\" and its 1 register entries"_s));
        QCOMPARE(m_doc->m_accounts.size(), size_t(2));
        m_messages->answer = UserMessage::Answer::Yes;
        ClickCell(List(), 1);
        Click(u"Delete Account"_s);
        QCOMPARE(m_doc->m_accounts.size(), size_t(1));
        QCOMPARE(m_doc->GetAccount(0)->m_strName, std::string("Reserve"));
        QVERIFY(m_doc->IsModified());
        Click(u"Delete Account"_s);  // nothing selected now: no effect
        QCOMPARE(m_doc->m_accounts.size(), size_t(1));
    }

    // Random clicks, sorts, typing, saves, adds and deletes: after every
    // step the rows, the fields and the document agree, and each change
    // lands on the account the user had in front of them.
    void randomWalkKeepsRowsFieldsAndDocumentInStep()
    {
        m_doc->AddAccount("Alpha", "2002", -40.0, "Lee", "", "");
        m_doc->AddAccount("Delta", "", 0.0, "", "Credit Union", "9");
        m_doc->AddEntry("Alpha", CTime(kTestNow), "", "Fuel", "", 30.0, 0.0, 0, 0, 0, 0);
        m_doc->AddRecurring("Savings", 5.0, CTime(kTestNow), "Fee", "", "Monthly", "Forever", 0);
        Open();

        const std::vector<QString> names = {u"Alpha"_s, u"alpha"_s, u"Bravo"_s, u"Carol"_s,
                                            u"Checking"_s, u""_s, u"Thirty-two characters in a name!"_s};
        const std::vector<QString> balances = {u"0"_s, u"1,500.00"_s, u"-5"_s, u"12.345"_s, u"abc"_s, u""_s, u"99"_s};
        const std::vector<QString> others = {u""_s, u"1001"_s, u"Pat"_s, u"First Bank"_s};
        const UserMessage::Answer answers[] = {UserMessage::Answer::Yes, UserMessage::Answer::No,
                                               UserMessage::Answer::Cancel};

        RandomWalk walk(1313);
        HistoryKeys keys(*m_history);
        const char* lastTyped = kFields[0];
        QStringList loaded = FieldTexts();
        for (int step = 0; step < 300; ++step) {
            const Snapshot before = Take(*m_doc);
            const QStringList typedBefore = FieldTexts();
            const bool dirty = typedBefore != loaded;
            const CAccount* editedBefore = m_dialog->EditedAccount();
            const bool newBefore = m_dialog->IsNewAccountMode();
            const int selectedBefore = List()->GetNextSelected(-1);
            const CAccount* selectedAccount =
                reinterpret_cast<const CAccount*>(selectedBefore >= 0 ? List()->GetItemData(selectedBefore) : 0);
            const int shownBefore = m_messages->count();
            const UserMessage::Answer answer = answers[walk.Pick(3)];
            m_messages->answer = answer;

            // Undo and redo take the accounts back and forth through their
            // steps: every other check below holds across them too.
            enum Kind { Gesture, Field, Button, Enter, History } kind;
            const int roll = walk.Pick(100);
            kind = roll < 38 ? Gesture : roll < 60 ? Field : roll < 86 ? Button : roll < 89 ? Enter : History;
            QString pressed;
            const bool keyed = kind == History;
            switch (kind) {
            case History:
                keys.Press(walk, {List(), Edit(lastTyped), Edit(lastTyped), Edit(kFields[walk.Pick(6)])});
                if (keys.FieldKept())
                    kind = Field;
                break;
            case Gesture:
                RandomListGesture(walk, List());
                break;
            case Field: {
                const int field = walk.Pick(6);
                const QString text = field == 0 ? walk.PickOf(names) : field == 1 ? walk.PickOf(balances)
                                                                                  : walk.PickOf(others);
                walk.Step(u"type \"%1\" into %2"_s.arg(text, QLatin1String(kFields[field])));
                Type(kFields[field], text);
                lastTyped = kFields[field];
                break;
            }
            case Button:
                pressed = PressRandomButton(walk, m_dialog.get(),
                                            {u"Save"_s, u"Save"_s, u"Add Account"_s, u"Delete Account"_s});
                break;
            case Enter: {
                walk.Step(u"Enter"_s);
                QLineEdit* edit = Edit(kFields[walk.Pick(6)]);
                edit->setFocus();
                QTest::keyClick(edit, Qt::Key_Return);
                break;
            }
            }

            const QStringList shown = m_messages->texts.mid(shownBefore);
            const bool asked = shown.contains(kSaveQuestion);
            const bool savedByAnswer = asked && answer == UserMessage::Answer::Yes;
            const Snapshot after = Take(*m_doc);
            const auto [removed, added, changed] = Compare(before, after);
            WALK_VERIFY(walk, keys.Check(keyed));
            if (kind == History) {
                const QStringList now = FieldTexts();
                if (now != typedBefore)
                    loaded = now;
                WALK_VERIFY(walk, CheckRows());
                WALK_VERIFY(walk, CheckFields(now != loaded));
                continue;
            }

            // Only the account in front of the user changes, and only as typed.
            const bool saving = pressed == u"Save"_s || savedByAnswer;
            WALK_VERIFY(walk, removed.empty() || (pressed == u"Delete Account"_s && removed.size() == 1 &&
                                                  removed[0] == selectedAccount)
                                  ? QString()
                                  : u"an account was removed that was not the selected one"_s);
            WALK_VERIFY(walk, added.empty() || (saving && newBefore && added.size() == 1 &&
                                                after.at(added[0]) == Typed(typedBefore, 0))
                                  ? QString()
                                  : u"an account was added that is not the one typed"_s);
            const bool asTyped =
                changed.size() == 1 && after.at(changed[0]) == Typed(typedBefore, before.at(changed[0]).entries);
            WALK_VERIFY(walk, changed.empty() || (saving && changed[0] == editedBefore && asTyped)
                                  ? QString()
                                  : u"an account changed that was not the one edited, or not as typed"_s);
            const bool docChanged = !Compare(before, after).None();

            if (!m_dialog->isVisible()) {
                WALK_VERIFY(walk, dirty && !asked ? u"closed over typed changes without asking"_s : QString());
                Open();
                loaded = FieldTexts();
                continue;
            }
            const QStringList now = FieldTexts();
            if (kind != Field) {
                WALK_VERIFY(walk, dirty && now != typedBefore && !asked && !docChanged
                                      ? u"typed changes were replaced without asking"_s
                                      : QString());
                if (now != typedBefore || docChanged)
                    loaded = now;
            }
            WALK_VERIFY(walk, CheckRows());
            WALK_VERIFY(walk, CheckFields(now != loaded));
        }
        QVERIFY2(keys.Coverage().isEmpty(), qPrintable(keys.Coverage()));
    }
};

QTEST_MAIN(TestAccountsDlg)
#include "tst_AccountsDlg.moc"
