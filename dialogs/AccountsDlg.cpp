#include "AccountsDlg.h"

#include "AppValues.h"
#include "DialogFields.h"
#include "EntryText.h"
#include "ListColumns.h"
#include "ListKeyboard.h"
#include "QuilletDoc.h"
#include "RecordEditorFrame.h"
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

namespace
{
void ShowProblem(QWidget* parent, const QString& text, const QString& title = QString())
{
    UserMessage::Show(parent, text, UserMessage::Buttons::Ok, UserMessage::Icon::None, title);
}
}

CAccountsDlg::CAccountsDlg(CQuilletDoc* doc, QWidget* parent) : QDialog(parent), m_pDoc(doc)
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

    connect(addButton, &QPushButton::clicked, this, &CAccountsDlg::PrepareNewAccount);
    connect(deleteButton, &QPushButton::clicked, this, &CAccountsDlg::OnDelete);
    connect(saveButton, &QPushButton::clicked, this, &CAccountsDlg::OnSave);
    connect(okButton, &QPushButton::clicked, this, &CAccountsDlg::accept);
    connect(m_list, &CXListCtrl::itemClicked, this, [this] {
        // A click beside the rows keeps what the fields hold.
        const int row = m_list->GetNextSelected(-1);
        if (row >= 0)
            LoadRow(row);
    });
    OnRowWalkedTo(m_list, [this](int row) { LoadRow(row); });

    FillList();
    PrepareNewAccount();
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
        ++m_nAccountCount;
    }
}

void CAccountsDlg::PrepareNewAccount()
{
    // One blank row stands for the account about to be created.
    if (m_nAccountCount >= m_list->GetItemCount())
        m_list->InsertItem(m_nAccountCount, QString());
    const unsigned both = CXListCtrl::StateSelected | CXListCtrl::StateFocused;
    m_list->SetItemState(m_nAccountCount, both, both);
    m_list->EnsureVisible(m_nAccountCount);

    ShowAccount(nullptr);
    m_nEditIndex = -1;
    m_pEditAccount = nullptr;
    m_bNewAccount = true;
    m_nameEdit->setFocus();
}

void CAccountsDlg::ShowAccount(const CAccount* account)
{
    m_nameEdit->setText(account ? FromBytes(account->m_strName) : QString());
    m_balanceEdit->setText(DialogFields::FormatNumber(account ? account->m_dOpeningBalance : 0.0));
    m_numberEdit->setText(account ? FromBytes(account->m_strNumber) : QString());
    m_institutionEdit->setText(account ? FromBytes(account->m_strInstitution) : QString());
    m_ownerEdit->setText(account ? FromBytes(account->m_strOwner) : QString());
    m_taxIdEdit->setText(account ? FromBytes(account->m_strTaxId) : QString());
}

void CAccountsDlg::LoadRow(int row)
{
    if (row >= 0 && row < m_nAccountCount) {
        m_pEditAccount = m_pDoc->GetAccount(row);
        m_nEditIndex = m_pEditAccount ? row : -1;
        ShowAccount(m_pEditAccount);
        m_bNewAccount = false;
    } else if (row == m_nAccountCount && row < m_list->GetItemCount()) {
        // The blank row is where a new account is typed; what is being typed
        // there already stays. Saving from it must never change the account
        // that was shown before.
        if (!m_bNewAccount)
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
    for (int field = 0;; ++field) {
        const std::string listed = GetListField(names, field);
        if (listed.empty())
            break;
        if (listed == name)
            return true;
    }
    return m_pDoc->FindAccount(name) != nullptr;
}

void CAccountsDlg::OnSave()
{
    double openingBalance = 0.0;
    if (!DialogFields::ReadNumber(m_balanceEdit, QStringLiteral("Opening Balance"), openingBalance))
        return;
    const std::string name = ToBytes(m_nameEdit->text());

    bool valid = true;
    QString message;
    if (name.empty()) {
        valid = false;
        message = QStringLiteral("Account: Invalid Value.\nYou must specify an account name");
    } else if (openingBalance == 0.0) {
        valid = false;
        message = QStringLiteral("Starting Balance: Invalid Value.\nPlease specify a value.");
    } else if (name.find(';') != std::string::npos) {
        // The account name list is ";"-separated: such a name would show up
        // as two accounts that do not exist.
        valid = false;
        message = QStringLiteral("Account Name: Invalid Value.\nAn account name cannot contain \";\".");
    }
    const bool taken = valid && IsNameTaken(name);

    if (m_nEditIndex >= 0 && taken && name != m_pEditAccount->m_strName) {
        valid = false;
        message = QStringLiteral("Account Name: Invalid Value.\nPlease enter either the original name,\nor a UNIQUE name.");
    }
    if (m_nEditIndex < 0 && taken) {
        ShowProblem(this, QStringLiteral("Account: Invalid Value.\nYou must specify a UNIQUE account name."));
        return;
    }
    if (!valid) {
        ShowProblem(this, message);
        return;
    }

    if (m_bNewAccount) {
        m_pDoc->AddAccount(name, ToBytes(m_numberEdit->text()), openingBalance, ToBytes(m_ownerEdit->text()),
                           ToBytes(m_institutionEdit->text()), ToBytes(m_taxIdEdit->text()));
        // A new account is data like any other: leaving must ask to save it.
        m_pDoc->SetModifiedFlag();
        FillList();
        PrepareNewAccount();
    } else if (m_nEditIndex >= 0) {
        CAccount* account = m_pEditAccount;
        m_nEditIndex = -1;
        m_pEditAccount = nullptr;
        if (account->m_strName != name)
            RenameReferences(account->m_strName, name);
        account->m_strName = name;
        account->m_strNumber = ToBytes(m_numberEdit->text());
        account->m_dOpeningBalance = openingBalance;
        account->m_strOwner = ToBytes(m_ownerEdit->text());
        account->m_strInstitution = ToBytes(m_institutionEdit->text());
        account->m_strTaxId = ToBytes(m_taxIdEdit->text());
        account->RecomputeBalances(0);
        m_pDoc->SetModifiedFlag();
        FillList();
    } else {
        // Nothing is selected: say so rather than drop what was typed silently.
        ShowProblem(this, QStringLiteral("Account: No account selected.\nSelect an account in the list to change "
                                         "it, or press \"Add Account\" to create a new one."));
    }
}

void CAccountsDlg::RenameReferences(const std::string& oldName, const std::string& newName)
{
    for (const auto& recurring : m_pDoc->m_recurring)
        if (recurring->m_strAccount == oldName)
            recurring->m_strAccount = newName;
    for (std::string& line : m_pDoc->m_dayChartAccounts)
        if (line == oldName)
            line = newName;
    if (g_strCategoryAccount == oldName)
        g_strCategoryAccount = newName;
}

void CAccountsDlg::OnDelete()
{
    // Exactly the row shown selected, never one selected before.
    const int row = m_list->GetNextSelected(-1);
    if (row >= 0 && row < m_nAccountCount) {
        const CAccount* account = m_pDoc->GetAccount(row);
        bool referenced = false;
        for (const auto& recurring : m_pDoc->m_recurring)
            referenced = referenced || (account && recurring->m_strAccount == account->m_strName);
        // An account with a register is a lot to lose to one click.
        const bool confirmed =
            referenced || !account || account->m_transactions.empty() ||
            UserMessage::Show(this,
                              QStringLiteral("Delete the account \"%1\" and its %2 register entries?\n"
                                             "This cannot be undone.")
                                  .arg(FromBytes(account->m_strName))
                                  .arg(account->m_transactions.size()),
                              UserMessage::Buttons::YesNo, UserMessage::Icon::Question,
                              QStringLiteral("Delete Account")) == UserMessage::Answer::Yes;
        if (confirmed) {
            if (!m_pDoc->DeleteAccount(row)) {
                ShowProblem(this,
                            QStringLiteral("Sorry.  Recurring Transactions Exist.\nPlease remove all recurring "
                                           "transactions that reference this account\nbefore you delete this account."),
                            QStringLiteral("Delete Account"));
            } else {
                FillList();
            }
        }
    }
    m_nEditIndex = -1;
    m_pEditAccount = nullptr;
    m_bNewAccount = false;
}

void CAccountsDlg::accept()
{
    // The balance field is checked even though nothing is saved here, as
    // every field holding a number is when the dialog closes with OK.
    double ignored = 0.0;
    if (!DialogFields::ReadNumber(m_balanceEdit, QStringLiteral("Opening Balance"), ignored))
        return;
    QDialog::accept();
}
