#include "RecurringDlg.h"

#include "DateField.h"
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

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace
{
const char* const kFrequencies[] = {"Daily", "Weekly", "Bi-Weekly", "Monthly", "Quarterly", "Yearly"};
const QColor kDepositGreen(0, 155, 0);

void ShowProblem(QWidget* parent, const QString& text)
{
    UserMessage::Show(parent, text, UserMessage::Buttons::Ok, UserMessage::Icon::None);
}

// Drop-down lists that sort their entries show them alphabetically with
// capitals and small letters together.
void FillSorted(QComboBox* combo, std::vector<QString> entries)
{
    std::stable_sort(entries.begin(), entries.end(), [](const QString& a, const QString& b) {
        const int folded = QString::compare(a, b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : QString::compare(a, b, Qt::CaseSensitive) < 0;
    });
    for (const QString& entry : entries)
        combo->addItem(entry);
}

// Selects the entry whose text is exactly text, or none.
void SelectExact(QComboBox* combo, const QString& text)
{
    combo->setCurrentIndex(combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

int SelectedRow(const CXListCtrl* list)
{
    return list->GetNextSelected(-1);
}
}

bool CRecurringDlg::IsPeriodsNumber(const QString& text)
{
    // Read an integer from the start as "%d" does, write it back and
    // compare: "12" and "-3" pass, "012", "+5", "12 " and "12x" do not.
    const std::string bytes = ToBytes(text);
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(bytes.c_str(), &end, 10);
    if (end == bytes.c_str() || errno == ERANGE || value < INT_MIN || value > INT_MAX)
        return false;
    char written[16];
    std::snprintf(written, sizeof written, "%d", int(value));
    return bytes == written;
}

CRecurringDlg::CRecurringDlg(CDocHistory& history, QWidget* parent)
    : QDialog(parent), m_history(history), m_pDoc(&history.Document())
{
    setWindowTitle(QStringLiteral("Add/Edit Recurring"));

    const RecordEditorFrame frame =
        MakeRecordEditorFrame(this, QStringLiteral("recurringList"), QStringLiteral("Add Recurring"),
                              QStringLiteral("Delete Recurring"), QStringLiteral("Transaction"));
    m_list = frame.list;
    InsertListColumns(m_list, {
                                  {QStringLiteral("Description"), Qt::AlignLeft, 38, 100},
                                  {QStringLiteral("Amount"), Qt::AlignRight, 11, 100},
                                  {QStringLiteral("Deposit"), Qt::AlignHCenter, 7, 100},
                                  {QStringLiteral("Account"), Qt::AlignHCenter, 11, 100},
                                  {QStringLiteral("Next Payment"), Qt::AlignHCenter, 10, 100},
                                  {QStringLiteral("Frequency"), Qt::AlignHCenter, 10, 100},
                                  {QStringLiteral("Remaning"), Qt::AlignHCenter, 13, 100, 18},
                              });

    QPushButton* addButton = frame.addButton;
    QPushButton* deleteButton = frame.deleteButton;
    QPushButton* okButton = frame.okButton;

    QGroupBox* group = frame.group;
    m_accountCombo = new QComboBox(group);
    m_accountCombo->setObjectName(QStringLiteral("accountCombo"));
    m_startDate = new CDateField(group);
    m_startDate->setObjectName(QStringLiteral("startDate"));
    m_amountEdit = new QLineEdit(group);
    m_amountEdit->setObjectName(QStringLiteral("amountEdit"));
    m_amountEdit->setAlignment(Qt::AlignRight);
    DialogFields::SetMinimumCharacters(m_amountEdit, 12);
    m_depositCheck = new QCheckBox(QStringLiteral("Deposit"), group);
    m_depositCheck->setObjectName(QStringLiteral("depositCheck"));
    m_descriptionEdit = new QLineEdit(group);
    m_descriptionEdit->setObjectName(QStringLiteral("descriptionEdit"));
    DialogFields::SetMinimumCharacters(m_descriptionEdit, 24);
    m_categoryCombo = new QComboBox(group);
    m_categoryCombo->setObjectName(QStringLiteral("categoryCombo"));
    DialogFields::SetMinimumCharacters(m_categoryCombo, 20);
    m_categoryCombo->setEditable(true);
    m_categoryCombo->setInsertPolicy(QComboBox::NoInsert);
    // Completion must not change the case of what is typed: names are
    // compared exactly.
    m_categoryCombo->completer()->setCaseSensitivity(Qt::CaseSensitive);
    m_flagCombo = new QComboBox(group);
    m_flagCombo->setObjectName(QStringLiteral("flagCombo"));
    DialogFields::FillFlagCombo(m_flagCombo);
    m_frequencyCombo = new QComboBox(group);
    m_frequencyCombo->setObjectName(QStringLiteral("frequencyCombo"));
    for (const char* frequency : kFrequencies)
        m_frequencyCombo->addItem(QLatin1String(frequency));
    m_frequencyCombo->setCurrentText(QStringLiteral("Monthly"));
    m_periodsCombo = new QComboBox(group);
    m_periodsCombo->setObjectName(QStringLiteral("periodsCombo"));
    DialogFields::SetMinimumCharacters(m_periodsCombo, 14);
    m_periodsCombo->setEditable(true);
    m_periodsCombo->setInsertPolicy(QComboBox::NoInsert);
    m_periodsCombo->addItem(QStringLiteral("<NUMBER>"));
    m_periodsCombo->addItem(QStringLiteral("Forever"));
    auto* saveButton = new QPushButton(QStringLiteral("Save"), group);
    saveButton->setDefault(true);

    auto* amountRow = new QWidget(group);
    auto* amountLayout = new QHBoxLayout(amountRow);
    amountLayout->setContentsMargins(0, 0, 0, 0);
    amountLayout->addWidget(m_amountEdit, 1);
    amountLayout->addWidget(m_depositCheck);
    frame.AddField(0, 0, QStringLiteral("From Account"), m_accountCombo);
    frame.AddField(0, 1, QStringLiteral("Start Date"), m_startDate);
    frame.AddField(1, 0, QStringLiteral("Amount"), amountRow);
    frame.AddField(1, 1, QStringLiteral("Description"), m_descriptionEdit);
    frame.AddField(2, 0, QStringLiteral("Category"), m_categoryCombo);
    frame.AddField(2, 1, QStringLiteral("Flag"), m_flagCombo);
    frame.AddField(3, 0, QStringLiteral("Frequency"), m_frequencyCombo);
    frame.AddField(3, 1, QStringLiteral("Number of Periods"), m_periodsCombo);
    frame.fields->addWidget(saveButton, 3, 4);
    FinishRecordEditor(this, frame);
    resize(DialogFields::FontUnits(this, 167, 37));

    QWidget* order[] = {m_list,          addButton,       deleteButton,    okButton,
                        m_accountCombo,  m_startDate,     m_amountEdit,    m_depositCheck,
                        m_descriptionEdit, m_categoryCombo, m_flagCombo,    m_frequencyCombo,
                        m_periodsCombo,  saveButton};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(addButton, &QPushButton::clicked, this, &CRecurringDlg::PrepareNew);
    connect(deleteButton, &QPushButton::clicked, this, &CRecurringDlg::OnDelete);
    connect(saveButton, &QPushButton::clicked, this, &CRecurringDlg::OnSave);
    connect(okButton, &QPushButton::clicked, this, &CRecurringDlg::accept);
    connect(m_categoryCombo, qOverload<int>(&QComboBox::activated), this, &CRecurringDlg::OnCategoryChosen);
    connect(m_list, &CXListCtrl::itemClicked, this, [this] {
        // A click beside the rows keeps what the fields hold.
        const int row = SelectedRow(m_list);
        if (row >= 0)
            LoadRow(row);
    });
    OnRowWalkedTo(m_list, [this](int row) { LoadRow(row); });

    // Start: the choices, then the list, then a new transaction.
    FillChoices();
    m_accountCombo->setCurrentIndex(m_accountCombo->count() > 0 ? 0 : -1);

    FillList();
    PrepareNew();

    m_history.AddKeys(this);
    connect(&m_history, &CDocHistory::DocumentChanged, this, &CRecurringDlg::OnDocumentChanged);
}

void CRecurringDlg::FillChoices()
{
    // What is chosen or typed stays while the lists are filled again.
    const QString account = m_accountCombo->currentText();
    const QString category = m_categoryCombo->currentText();
    m_accountCombo->clear();
    m_categoryCombo->clear();
    std::vector<QString> categories;
    for (const auto& c : m_pDoc->m_pCategoryList->m_categories)
        categories.push_back(FromBytes(c->m_strName));
    FillSorted(m_categoryCombo, categories);
    m_categoryCombo->setEditText(category);
    // Full names: a name cut short would name no account at all.
    std::vector<QString> accounts;
    for (int index = 0; const CAccount* a = m_pDoc->GetAccount(index); ++index)
        accounts.push_back(FromBytes(a->m_strName));
    FillSorted(m_accountCombo, accounts);
    SelectExact(m_accountCombo, account);
}

QStringList CRecurringDlg::FieldTexts() const
{
    return {m_accountCombo->currentText(),   m_startDate->text(),
            m_amountEdit->text(),            QString::number(m_depositCheck->isChecked()),
            m_descriptionEdit->text(),       m_categoryCombo->currentText(),
            QString::number(m_flagCombo->currentIndex()), m_frequencyCombo->currentText(),
            m_periodsCombo->currentText()};
}

void CRecurringDlg::OnDocumentChanged()
{
    // An undo or redo may have added, changed or taken away any
    // transaction, account or category: the list and the choices are
    // filled again, and the fields let go of a transaction the document no
    // longer holds.
    const bool fieldsAsShown = FieldTexts() == m_shown;
    FillChoices();
    FillList();
    if (!m_pEditRecurring)
        return;
    if (PositionOf(m_pDoc->m_recurring, static_cast<const CRecurringTransaction*>(m_pEditRecurring)) < 0) {
        m_pEditRecurring = nullptr;
        m_bNew = false;
        return;
    }
    const int row = RowOfRecord(m_list, m_pEditRecurring);
    const unsigned both = CXListCtrl::StateSelected | CXListCtrl::StateFocused;
    m_list->SetItemState(row, both, both);
    // Untouched fields show the transaction as it is now.
    if (fieldsAsShown)
        LoadRow(row);
}

void CRecurringDlg::AddRow(int row, const CRecurringTransaction& record)
{
    const QColor black(Qt::black);
    const QColor background = DialogFields::FlagColor(record.m_nFlag);
    const QString description = QStringLiteral(" ") + FromBytes(record.m_strDescription) + QStringLiteral(" [ ") +
                                FromBytes(record.m_strCategory) + QStringLiteral(" ]");
    // + 0.0 keeps a zero amount from showing as "-0.00".
    const double magnitude = (record.m_dAmount > 0 ? record.m_dAmount : record.m_dAmount * -1) + 0.0;
    const bool deposit = record.m_dAmount < 0;
    char remaining[64];
    if (record.m_strPeriods == "Forever")
        std::snprintf(remaining, sizeof remaining, "%d", record.m_nPeriodsDone);
    else
        std::snprintf(remaining, sizeof remaining, "%d of ", record.m_nPeriodsDone);
    QString remainingText = QString::fromLatin1(remaining);
    if (record.m_strPeriods != "Forever")
        remainingText += FromBytes(record.m_strPeriods);

    row = m_list->InsertItem(row, description, black, background);
    m_list->SetItemText(row, 0, description, black, background);
    m_list->SetItemText(row, 1, FormatMoney(magnitude, true), black, background);
    m_list->SetItemText(row, 2, deposit ? QStringLiteral("Y") : QStringLiteral("N"), deposit ? kDepositGreen : black,
                        background);
    m_list->SetItemText(row, 3, FromBytes(record.m_strAccount), black, background);
    m_list->SetItemText(row, 4, QString::fromStdString(record.m_nextDate.Format("%m/%d/%y")), black, background);
    m_list->SetItemText(row, 5, FromBytes(record.m_strFrequency), black, background);
    m_list->SetItemText(row, 6, remainingText, black, background);
    SetRowRecord(m_list, row, &record);
}

void CRecurringDlg::FillList()
{
    m_list->DeleteAllItems();
    m_nRecurringCount = 0;
    for (int index = 0; const CRecurringTransaction* record = m_pDoc->GetRecurring(index); ++index) {
        AddRow(m_nRecurringCount, *record);
        ++m_nRecurringCount;
    }
    m_list->ReSort();
}

void CRecurringDlg::PrepareNew()
{
    if (m_nRecurringCount > 0)
        m_list->EnsureVisible(m_nRecurringCount - 1);
    // No row stays highlighted while a new transaction is typed.
    m_list->clearSelection();
    // A new transaction starts on an account that exists.
    m_accountCombo->setPlaceholderText(QString());
    if (m_accountCombo->currentIndex() < 0 && m_accountCombo->count() > 0)
        m_accountCombo->setCurrentIndex(0);
    m_amountEdit->setText(DialogFields::FormatNumber(0.0));
    m_categoryCombo->setEditText(QString());
    m_descriptionEdit->clear();
    m_periodsCombo->setEditText(QString());
    m_startTime = CTime::GetCurrentTime();
    m_startDate->setDate(DialogFields::ToQDate(m_startTime));
    m_flagCombo->setCurrentIndex(0);
    // A transaction shown before must not be overwritten from the new form.
    m_pEditRecurring = nullptr;
    m_bNew = true;
    m_accountCombo->setFocus();
}

void CRecurringDlg::LoadRow(int row)
{
    // The row's own transaction, wherever the sort put the row.
    CRecurringTransaction* record = RowRecord<CRecurringTransaction>(m_list, row);
    if (PositionOf(m_pDoc->m_recurring, record) >= 0) {
        m_pEditRecurring = record;
        const bool deposit = record->m_dAmount <= 0;
        m_depositCheck->setChecked(deposit);
        m_amountEdit->setText(DialogFields::FormatNumber((deposit ? record->m_dAmount * -1 : record->m_dAmount) + 0.0));
        SelectExact(m_accountCombo, FromBytes(record->m_strAccount));
        // An account that is gone shows by name, so the user sees what to replace.
        m_accountCombo->setPlaceholderText(m_accountCombo->currentIndex() < 0
                                               ? FromBytes(record->m_strAccount) + QStringLiteral(" (no such account)")
                                               : QString());
        m_categoryCombo->setEditText(FromBytes(record->m_strCategory));
        m_descriptionEdit->setText(FromBytes(record->m_strDescription));
        SelectExact(m_frequencyCombo, FromBytes(record->m_strFrequency));
        m_periodsCombo->setEditText(FromBytes(record->m_strPeriods));
        m_startTime = record->m_nextDate;
        m_startDate->setDate(DialogFields::ToQDate(m_startTime));
        m_flagCombo->setCurrentIndex(record->m_nFlag >= 0 && record->m_nFlag < m_flagCombo->count() ? record->m_nFlag
                                                                                                  : 0);
        m_shown = FieldTexts();
    }
    m_bNew = false;
}

void CRecurringDlg::OnCategoryChosen(int index)
{
    if (index < 0)
        return;
    const QString name = m_categoryCombo->itemText(index);
    m_categoryCombo->setEditText(name);
    const int flag = m_pDoc->m_pCategoryList->GetCategoryFlag(ToBytes(name));
    if (flag >= 0 && flag < m_flagCombo->count())
        m_flagCombo->setCurrentIndex(flag);
}

void CRecurringDlg::OnSave()
{
    double amount = 0.0;
    QDate startDate;
    if (!DialogFields::ReadMoney(m_amountEdit, QStringLiteral("Amount"), amount) ||
        !m_startDate->ReadDate(QStringLiteral("Start Date"), startDate))
        return;
    // A typed minus means money going out, whatever the Deposit box says.
    const bool deposit = amount >= 0 && m_depositCheck->isChecked();
    amount = std::fabs(amount);
    const std::string account = ToBytes(m_accountCombo->currentText());
    const std::string description = ToBytes(m_descriptionEdit->text());
    const QString periods = m_periodsCombo->currentText();

    QString problem;
    if (account.empty() && m_accountCombo->count() == 0)
        problem = QStringLiteral("Account: Invalid Value.\nYou must create some accounts first.");
    else if (account.empty())
        // A transaction whose account is gone shows none: one must be chosen.
        problem = QStringLiteral("Account: Invalid Value.\nPlease choose an account.");
    else if (amount == 0.0)
        problem = QStringLiteral("Amount: Invalid Value.\nPlease specify a value.");
    else if (description.empty())
        problem = QStringLiteral("Description: Invalid Value.\nYou must enter a description.");
    else if (periods.isEmpty())
        problem = QStringLiteral("Number of Periods: Invalid Value.\nYou must enter a number of periods.");
    else if (periods != QStringLiteral("Forever") && !IsPeriodsNumber(periods))
        problem = QStringLiteral("Number of Periods: Invalid Value.\nPlease enter a number.");
    if (!problem.isEmpty()) {
        ShowProblem(this, problem);
        return;
    }

    const double stored = deposit ? amount * -1 : amount;
    const CTime start = DialogFields::FromQDate(startDate, m_startTime);
    const std::string category = ToBytes(m_categoryCombo->currentText());
    const std::string frequency = ToBytes(m_frequencyCombo->currentText());
    const int flag = std::max(m_flagCombo->currentIndex(), 0);
    const int position = PositionOf(m_pDoc->m_recurring, static_cast<const CRecurringTransaction*>(m_pEditRecurring));
    if (m_bNew) {
        auto change = std::make_unique<CAddRecurringChange>(
            CRecurringTransaction(account, stored, start, description, category, frequency, ToBytes(periods), flag));
        const CAddRecurringChange& added = *change;
        if (m_history.Apply(std::move(change))) {
            AddRow(m_nRecurringCount, *added.Added(*m_pDoc));
            ++m_nRecurringCount;
        }
        PrepareNew();
    } else if (position >= 0) {
        CRecurringTransaction record = *m_pEditRecurring;
        m_pEditRecurring = nullptr;
        record.m_strAccount = account;
        record.m_dAmount = stored;
        record.m_strCategory = category;
        record.m_strDescription = description;
        record.m_strFrequency = frequency;
        record.m_nextDate = start;
        record.m_strPeriods = ToBytes(periods);
        record.m_nFlag = flag;
        // An edited schedule must not be lost at exit without a question.
        m_history.Apply(std::make_unique<CChangeRecurringChange>(position, record));
        FillList();
    } else {
        // Nothing is selected: say so rather than drop what was typed silently.
        ShowProblem(this, QStringLiteral("Recurring: No transaction selected.\nSelect a transaction in the list to "
                                         "change it, or press \"Add Recurring\" to create a new one."));
    }
}

void CRecurringDlg::OnDelete()
{
    const int row = SelectedRow(m_list);
    const int position = PositionOf(m_pDoc->m_recurring, RowRecord<CRecurringTransaction>(m_list, row));
    if (position >= 0) {
        m_history.Apply(std::make_unique<CDeleteRecurringChange>(position));
        m_list->DeleteItem(row);
        --m_nRecurringCount;
        // The row above takes the selection; after the first row, the new first.
        const int next = row > 0 ? row - 1 : (m_nRecurringCount > 0 ? 0 : -1);
        if (next >= 0) {
            const unsigned both = CXListCtrl::StateSelected | CXListCtrl::StateFocused;
            m_list->SetItemState(next, both, both);
            m_list->EnsureVisible(next);
        }
    }
    m_pEditRecurring = nullptr;
    m_bNew = false;
}

void CRecurringDlg::accept()
{
    // The amount is checked even though nothing is saved here, as every
    // field holding a number is when the dialog closes with OK.
    double ignored = 0.0;
    if (!DialogFields::ReadMoney(m_amountEdit, QStringLiteral("Amount"), ignored))
        return;
    QDialog::accept();
}
