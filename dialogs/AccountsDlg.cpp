#include "AccountsDlg.h"

#include "DialogFields.h"
#include "DocChanges.h"
#include "DocHistory.h"
#include "EntryText.h"
#include "ListColumns.h"
#include "ListKeyboard.h"
#include "QuilletDoc.h"
#include "RecordEditorFrame.h"
#include "RowRecords.h"
#include "TextCodec.h"
#include "UserMessage.h"
#include "XListCtrl.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace
{
void ShowProblem(QWidget* parent, const QString& text, const QString& title = QString())
{
    UserMessage::Show(parent, text, UserMessage::Buttons::Ok, UserMessage::Icon::None, title);
}
}

CAccountsDlg::CAccountsDlg(CDocHistory& history, QWidget* parent)
    : QDialog(parent), m_history(history), m_pDoc(&history.Document())
{
    setWindowTitle(QStringLiteral("Add/Edit Accounts"));

    const RecordEditorFrame frame =
        MakeRecordEditorFrame(this, QStringLiteral("accountList"), QStringLiteral("Add Account"),
                              QStringLiteral("Delete Account"), QStringLiteral("Account Info"));
    m_list = frame.list;
    InsertListColumns(m_list, {
                                  {QStringLiteral("Acct. Name"), Qt::AlignLeft, 20, 100},
                                  {QStringLiteral("Opening Balance"), Qt::AlignRight, 20, 100},
                                  {QStringLiteral("Acct. Number"), Qt::AlignHCenter, 15, 100},
                                  {QStringLiteral("Institution"), Qt::AlignHCenter, 15, 100},
                                  {QStringLiteral("Owner"), Qt::AlignHCenter, 15, 100},
                                  {QStringLiteral("Tax ID"), Qt::AlignHCenter, 15, 100, 18},
                              });

    QPushButton* addButton = frame.addButton;
    QPushButton* deleteButton = frame.deleteButton;
    QPushButton* okButton = frame.okButton;
    okButton->setDefault(true);

    QGroupBox* group = frame.group;
    auto makeEdit = [group](const char* name) {
        auto* edit = new QLineEdit(group);
        edit->setObjectName(QLatin1String(name));
        DialogFields::SetMinimumCharacters(edit, 16);
        return edit;
    };
    m_nameEdit = makeEdit("nameEdit");
    m_balanceEdit = makeEdit("balanceEdit");
    m_numberEdit = makeEdit("numberEdit");
    m_institutionEdit = makeEdit("institutionEdit");
    m_ownerEdit = makeEdit("ownerEdit");
    m_taxIdEdit = makeEdit("taxIdEdit");
    m_balanceEdit->setAlignment(Qt::AlignRight);
    // The checkbook file has no place for the institution.
    m_institutionEdit->setPlaceholderText(QStringLiteral("not saved in the file"));
    m_institutionEdit->setToolTip(QStringLiteral("Kept only while this file is open: the checkbook file has no "
                                                 "place for the financial institution."));
    auto* saveButton = new QPushButton(QStringLiteral("Save"), group);

    frame.AddField(0, 0, QStringLiteral("Account Name"), m_nameEdit);
    frame.AddField(0, 1, QStringLiteral("Opening Balance"), m_balanceEdit);
    frame.AddField(1, 0, QStringLiteral("Account Number"), m_numberEdit);
    frame.AddField(1, 1, QStringLiteral("Financial Institution"), m_institutionEdit);
    frame.AddField(2, 0, QStringLiteral("Account Owner"), m_ownerEdit);
    frame.AddField(2, 1, QStringLiteral("Tax ID"), m_taxIdEdit);
    frame.fields->addWidget(saveButton, 0, 4, 3, 1, Qt::AlignVCenter);
    FinishRecordEditor(this, frame);
    resize(DialogFields::FontUnits(this, 127, 30));

    setTabOrder(m_list, addButton);
    setTabOrder(addButton, deleteButton);
    setTabOrder(deleteButton, okButton);
    setTabOrder(okButton, m_nameEdit);
    setTabOrder(m_nameEdit, m_balanceEdit);
    setTabOrder(m_balanceEdit, m_numberEdit);
    setTabOrder(m_numberEdit, m_institutionEdit);
    setTabOrder(m_institutionEdit, m_ownerEdit);
    setTabOrder(m_ownerEdit, m_taxIdEdit);
    setTabOrder(m_taxIdEdit, saveButton);

    connect(addButton, &QPushButton::clicked, this, &CAccountsDlg::OnAddAccount);
    connect(deleteButton, &QPushButton::clicked, this, &CAccountsDlg::OnDelete);
    connect(saveButton, &QPushButton::clicked, this, [this] { Save(); });
    connect(okButton, &QPushButton::clicked, this, &CAccountsDlg::accept);
    connect(m_list, &CXListCtrl::itemClicked, this, [this] {
        // A click beside the rows keeps what the fields hold.
        const int row = m_list->GetNextSelected(-1);
        if (row >= 0)
            OnRowChosen(row);
    });
    OnRowWalkedTo(m_list, [this](int row) { OnRowChosen(row); });

    FillList();
    PrepareNewAccount();

    m_history.AddKeys(this);
    connect(&m_history, &CDocHistory::DocumentChanged, this, &CAccountsDlg::OnDocumentChanged);
}

void CAccountsDlg::OnDocumentChanged()
{
    // An undo or redo may have added, changed or taken away any account:
    // the list is filled again, and the fields let go of an account the
    // document no longer holds.
    const bool fieldsAsShown = !HasUnsavedChanges();
    FillList();
    if (m_bNewAccount) {
        ShowBlankRow();
        return;
    }
    if (!m_pEditAccount)
        return;
    if (PositionOf(m_pDoc->m_accounts, static_cast<const CAccount*>(m_pEditAccount)) < 0) {
        m_pEditAccount = nullptr;
        m_shown = FieldTexts();
        return;
    }
    const int row = RowOfRecord(m_list, m_pEditAccount);
    m_list->SetItemState(row, CXListCtrl::StateSelected | CXListCtrl::StateFocused,
                         CXListCtrl::StateSelected | CXListCtrl::StateFocused);
    // Untouched fields show the account as it is now.
    if (fieldsAsShown)
        ShowAccount(m_pEditAccount);
}

void CAccountsDlg::FillList()
{
    m_list->DeleteAllItems();
    m_nAccountCount = 0;
    for (int index = 0; CAccount* account = m_pDoc->GetAccount(index); ++index) {
        const int row = m_list->InsertItem(m_nAccountCount, QStringLiteral(" ") + FromBytes(account->m_strName));
        m_list->SetItemText(row, 1, FormatMoney(account->m_dOpeningBalance, true));
        m_list->SetItemText(row, 2, FromBytes(account->m_strNumber));
        m_list->SetItemText(row, 3, FromBytes(account->m_strInstitution));
        m_list->SetItemText(row, 4, FromBytes(account->m_strOwner));
        m_list->SetItemText(row, 5, FromBytes(account->m_strTaxId));
        SetRowRecord(m_list, row, account);
        ++m_nAccountCount;
    }
    m_list->ReSort();
}

int CAccountsDlg::BlankRow() const
{
    for (int row = 0; row < m_list->GetItemCount(); ++row)
        if (!RowRecord<CAccount>(m_list, row))
            return row;
    return -1;
}

void CAccountsDlg::OnAddAccount()
{
    if (ConfirmLeavingFields())
        PrepareNewAccount();
}

void CAccountsDlg::ShowBlankRow()
{
    // One blank row, carrying no account, stands for the account about to
    // be created; it stays last whatever the sort.
    int blank = BlankRow();
    if (blank < 0) {
        blank = m_list->InsertItem(m_list->GetItemCount(), QString());
        for (int column = 0; column < m_list->GetColumns(); ++column)
            m_list->SetPinKey(blank, column, 1);
    }
    const unsigned both = CXListCtrl::StateSelected | CXListCtrl::StateFocused;
    m_list->SetItemState(blank, both, both);
    m_list->EnsureVisible(blank);
}

void CAccountsDlg::PrepareNewAccount()
{
    ShowBlankRow();
    ShowAccount(nullptr);
    m_pEditAccount = nullptr;
    m_bNewAccount = true;
    m_nameEdit->setFocus();
}

void CAccountsDlg::ShowAccount(const CAccount* account)
{
    const QString name = account ? FromBytes(account->m_strName) : QString();
    // New names fit the lists that carry them; a longer one that a file
    // already holds is shown whole, so that saving keeps it.
    m_nameEdit->setMaxLength(std::max(int(kListFieldMax), int(name.size())));
    m_nameEdit->setText(name);
    m_balanceEdit->setText(DialogFields::FormatNumber(account ? account->m_dOpeningBalance : 0.0));
    m_numberEdit->setText(account ? FromBytes(account->m_strNumber) : QString());
    m_institutionEdit->setText(account ? FromBytes(account->m_strInstitution) : QString());
    m_ownerEdit->setText(account ? FromBytes(account->m_strOwner) : QString());
    m_taxIdEdit->setText(account ? FromBytes(account->m_strTaxId) : QString());
    m_shown = FieldTexts();
}

QStringList CAccountsDlg::FieldTexts() const
{
    return {m_nameEdit->text(),        m_balanceEdit->text(), m_numberEdit->text(),
            m_institutionEdit->text(), m_ownerEdit->text(),   m_taxIdEdit->text()};
}

bool CAccountsDlg::ConfirmLeavingFields()
{
    if (!HasUnsavedChanges())
        return true;
    switch (UserMessage::Show(this, QStringLiteral("Save changes to this account?"),
                              UserMessage::Buttons::YesNoCancel, UserMessage::Icon::Question)) {
    case UserMessage::Answer::Yes:
        return Save();
    case UserMessage::Answer::No:
        return true;
    default:
        return false;
    }
}

void CAccountsDlg::OnRowChosen(int row)
{
    const CAccount* chosen = RowRecord<CAccount>(m_list, row);
    // The row already loaded keeps what is being typed into it.
    if (chosen ? chosen == m_pEditAccount : m_bNewAccount)
        return;
    if (!ConfirmLeavingFields()) {
        // Back to the row whose fields are still shown.
        const int shown = m_bNewAccount ? BlankRow() : RowOfRecord(m_list, m_pEditAccount);
        m_list->clearSelection();
        if (shown >= 0)
            m_list->SetItemState(shown, CXListCtrl::StateSelected | CXListCtrl::StateFocused,
                                 CXListCtrl::StateSelected | CXListCtrl::StateFocused);
        return;
    }
    // A save may have refilled and sorted the list: find the row again.
    if (chosen) {
        const int now = RowOfRecord(m_list, chosen);
        m_list->SetItemState(now, CXListCtrl::StateSelected | CXListCtrl::StateFocused,
                             CXListCtrl::StateSelected | CXListCtrl::StateFocused);
        LoadRow(now);
    } else {
        PrepareNewAccount();
    }
}

void CAccountsDlg::LoadRow(int row)
{
    CAccount* account = RowRecord<CAccount>(m_list, row);
    if (account && PositionOf(m_pDoc->m_accounts, account) >= 0) {
        m_pEditAccount = account;
        ShowAccount(account);
        m_bNewAccount = false;
    } else if (row >= 0 && row == BlankRow() && !m_bNewAccount) {
        // The blank row is where a new account is typed. Saving from it must
        // never change the account that was shown before.
        PrepareNewAccount();
    }
}

bool CAccountsDlg::IsNameTaken(const std::string& name) const
{
    // The name list keeps 31 characters of a name, so a name that matches
    // the start of a longer one counts as taken; longer names are compared
    // whole as well, so no two accounts ever share a name.
    std::string names;
    m_pDoc->GetAccountNames(names);
    for (const std::string& listed : GetListFields(names)) {
        if (listed.empty())
            break;
        if (listed == name)
            return true;
    }
    return m_pDoc->FindAccount(name) != nullptr;
}

bool CAccountsDlg::Save()
{
    // An empty balance is a missing value; 0 is a balance like any other.
    const bool balanceGiven = !m_balanceEdit->text().trimmed().isEmpty();
    double openingBalance = 0.0;
    if (balanceGiven && !DialogFields::ReadMoney(m_balanceEdit, QStringLiteral("Opening Balance"), openingBalance))
        return false;
    const std::string name = ToBytes(m_nameEdit->text());
    const bool ownName = m_pEditAccount && name == m_pEditAccount->m_strName;

    bool valid = true;
    QString message;
    if (name.empty()) {
        valid = false;
        message = QStringLiteral("Account: Invalid Value.\nYou must specify an account name");
    } else if (!balanceGiven) {
        valid = false;
        message = QStringLiteral("Starting Balance: Invalid Value.\nPlease specify a value.");
    } else if (name.find(';') != std::string::npos) {
        // The account name list is ";"-separated: such a name would show up
        // as two accounts that do not exist.
        valid = false;
        message = QStringLiteral("Account Name: Invalid Value.\nAn account name cannot contain \";\".");
    } else if (name.size() > kListFieldMax && !ownName) {
        // The lists that name accounts keep 31 characters.
        valid = false;
        message = QStringLiteral("Account Name: Invalid Value.\nAn account name can have at most %1 characters.")
                      .arg(kListFieldMax);
    }
    const bool taken = valid && IsNameTaken(name);

    if (m_pEditAccount && taken && !ownName) {
        valid = false;
        message = QStringLiteral("Account Name: Invalid Value.\nPlease enter either the original name,\nor a UNIQUE name.");
    }
    if (!m_pEditAccount && taken) {
        ShowProblem(this, QStringLiteral("Account: Invalid Value.\nYou must specify a UNIQUE account name."));
        return false;
    }
    if (!valid) {
        ShowProblem(this, message);
        return false;
    }

    const AccountFields fields{name,
                               ToBytes(m_numberEdit->text()),
                               openingBalance,
                               ToBytes(m_ownerEdit->text()),
                               ToBytes(m_institutionEdit->text()),
                               ToBytes(m_taxIdEdit->text())};
    if (m_bNewAccount) {
        m_history.Apply(std::make_unique<CAddAccountChange>(fields));
        FillList();
        PrepareNewAccount();
        return true;
    }
    const int position = PositionOf(m_pDoc->m_accounts, static_cast<const CAccount*>(m_pEditAccount));
    if (position >= 0) {
        m_pEditAccount = nullptr;
        // A new name is taken along by whatever named the old one.
        m_history.Apply(std::make_unique<CChangeAccountChange>(position, fields));
        FillList();
        m_shown = FieldTexts();
        return true;
    }
    // Nothing is selected: say so rather than drop what was typed silently.
    ShowProblem(this, QStringLiteral("Account: No account selected.\nSelect an account in the list to change "
                                     "it, or press \"Add Account\" to create a new one."));
    return false;
}

void CAccountsDlg::OnDelete()
{
    // Exactly the account shown in the selected row, wherever the sort put it.
    const CAccount* account = RowRecord<CAccount>(m_list, m_list->GetNextSelected(-1));
    const int position = PositionOf(m_pDoc->m_accounts, account);
    if (position >= 0) {
        bool referenced = false;
        for (const auto& recurring : m_pDoc->m_recurring)
            referenced = referenced || recurring->m_strAccount == account->m_strName;
        // An account with a register is a lot to lose to one click.
        const bool confirmed =
            referenced || account->m_transactions.empty() ||
            UserMessage::Show(this,
                              QStringLiteral("Delete the account \"%1\" and its %2 register entries?\n"
                                             "Edit, Undo (Ctrl+Z) brings them back.")
                                  .arg(FromBytes(account->m_strName))
                                  .arg(account->m_transactions.size()),
                              UserMessage::Buttons::YesNo, UserMessage::Icon::Question,
                              QStringLiteral("Delete Account")) == UserMessage::Answer::Yes;
        if (!confirmed)
            return;
        if (!m_history.Apply(std::make_unique<CDeleteAccountChange>(position))) {
            ShowProblem(this,
                        QStringLiteral("Sorry.  Recurring Transactions Exist.\nPlease remove all recurring "
                                       "transactions that reference this account\nbefore you delete this account."),
                        QStringLiteral("Delete Account"));
            return;
        }
        FillList();
        // The fields keep what they show; with no account behind them there
        // is nothing left to save. An account kept (refused, or not
        // confirmed) stays the one the fields edit.
        m_pEditAccount = nullptr;
        m_bNewAccount = false;
        m_shown = FieldTexts();
    }
}

void CAccountsDlg::done(int result)
{
    if (!ConfirmLeavingFields())
        return;
    QDialog::done(result);
}
