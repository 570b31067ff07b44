#include "RegisterDlg.h"

#include "BalanceRule.h"
#include "DateField.h"
#include "DescriptionEdit.h"
#include "DocChanges.h"
#include "DocHistory.h"
#include "DialogFields.h"
#include "EntryText.h"
#include "ListKeyboard.h"
#include "QuilletDoc.h"
#include "RowRecords.h"
#include "TextCodec.h"
#include "UserMessage.h"
#include "XListCtrl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace
{
const QColor kVoidText(255, 255, 255);
const QColor kVoidBackground(190, 190, 190);
const QColor kEntryText(0, 0, 0);

// The strip above the list that names the account.
class CAccountHeader : public QWidget
{
public:
    CAccountHeader(const QString& accountName, QWidget* parent) : QWidget(parent), m_text("Account : " + accountName)
    {
        QFont font = this->font();
        font.setPixelSize(16);
        font.setWeight(QFont::DemiBold);
        m_font = font;
        setFixedHeight(QFontMetrics(font).height() + 8);
        setMinimumWidth(QFontMetrics(font).horizontalAdvance(m_text) + 16);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(180, 180, 180));
        painter.setFont(m_font);
        painter.setPen(QColor(0, 100, 0));
        painter.drawText(rect().adjusted(6, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_text);
    }

private:
    QString m_text;
    QFont m_font;
};

QString DescriptionCell(const CTransaction& entry)
{
    QString cell;
    cell.reserve(qsizetype(entry.m_strDescription.size() + entry.m_strCategory.size()) + 7);
    cell.append(u' ');
    AppendBytes(cell, entry.m_strDescription);
    cell.append(u" [ ");
    AppendBytes(cell, entry.m_strCategory);
    cell.append(u" ] ");
    return cell;
}

// What an entry's row shows in column; Available shows balance, the
// balance after the entry, and "C" only its box.
QString EntryCellText(const CTransaction& entry, int column, double balance)
{
    const bool trailing = !entry.m_bVoid;
    const double a = entry.m_dAmount;
    switch (column) {
    case CRegisterDlg::ColDate:
        return FormatEntryDate(entry.m_date);
    case CRegisterDlg::ColCheckNumber:
        return FromBytes(entry.m_strCheckNumber);
    case CRegisterDlg::ColDescription:
        return DescriptionCell(entry);
    case CRegisterDlg::ColAmount:
        return a < 0 ? FormatMoney(-a, trailing) : QString();
    case CRegisterDlg::ColFee:
        return entry.m_dFee != 0 ? FormatMoney(entry.m_dFee, true) : QString();
    case CRegisterDlg::ColDeposit:
        return a >= 0 ? FormatMoney(a, trailing) : QString();
    case CRegisterDlg::ColAvailable:
        return FormatMoney(balance, trailing);
    default:
        return QString();
    }
}

bool HasModifier(Qt::KeyboardModifiers modifiers)
{
    return modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
}

// No other entry falls on a later day, so the entry's balance is the
// account's and no other row's balance moves.
bool IsLatestDated(const CAccount& account, const CTransaction& entry)
{
    const int64_t day = entry.m_date.GetDayNumber();
    return std::none_of(account.m_transactions.begin(), account.m_transactions.end(),
                        [day](const auto& t) { return t->m_date.GetDayNumber() > day; });
}
}

CRegisterDlg::CRegisterDlg(CDocHistory& history, const std::string& accountName, QWidget* parent)
    : QDialog(parent), m_history(history), m_pDoc(&history.Document()), m_strAccount(accountName)
{
    setWindowTitle(QStringLiteral("Registry Editor"));
    BuildLayout();

    if (CAccount* account = Account())
        m_pDoc->RebuildEntryMemory(*account);
    FillCategories();

    m_list->SetFullRowSelect(true);
    m_list->SetGridLines(true);
    m_list->SetShowSelectionAlways(true);
    const struct
    {
        const char* heading;
        Qt::Alignment alignment;
    } columns[ColumnCount] = {
        {"Date", Qt::AlignHCenter}, {"Check #", Qt::AlignHCenter}, {"Description", Qt::AlignLeft},
        {"Amount", Qt::AlignRight}, {"C", Qt::AlignHCenter},        {"Fee", Qt::AlignRight},
        {"Deposit", Qt::AlignRight}, {"Available", Qt::AlignRight},
    };
    for (int c = 0; c < ColumnCount; ++c)
        m_list->InsertColumn(c, QString::fromLatin1(columns[c].heading), columns[c].alignment);
    SetColumnWidths();

    FillList();
    OnAddEntry();

    m_history.AddKeys(this);
    connect(&m_history, &CDocHistory::DocumentChanged, this, &CRegisterDlg::OnDocumentChanged);
}

CRegisterDlg::~CRegisterDlg()
{
    // Rows not yet written would ask this dialog for their entries.
    m_list->DeleteAllItems();
}

void CRegisterDlg::FillCategories()
{
    // The drop-down lists the categories sorted as people read them, not in
    // the byte order the document keeps.
    QStringList categories;
    if (m_pDoc->m_pCategoryList)
        for (const auto& category : m_pDoc->m_pCategoryList->m_categories)
            categories << FromBytes(category->m_strName);
    std::stable_sort(categories.begin(), categories.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    const bool showing = std::exchange(m_bShowing, true);
    const QString typed = m_category->currentText();
    m_category->clear();
    m_category->addItems(categories);
    m_category->setEditText(typed);
    m_bShowing = showing;
}

void CRegisterDlg::BuildLayout()
{
    auto* top = new QVBoxLayout(this);

    CAccount* account = Account();
    m_header = new CAccountHeader(FromBytes(account ? account->m_strName : m_strAccount), this);
    m_header->setObjectName("accountHeader");
    auto* headerRow = new QHBoxLayout;
    headerRow->addWidget(m_header);
    headerRow->addStretch(1);
    top->addLayout(headerRow);

    m_list = new CXListCtrl(this);
    m_list->setObjectName("registerList");
    m_list->installEventFilter(this);
    m_list->viewport()->installEventFilter(this);
    top->addWidget(m_list, 1);

    auto* balanceRow = new QHBoxLayout;
    balanceRow->addWidget(new QLabel(QStringLiteral("Click on an entry to edit it, or select a button below."), this));
    balanceRow->addStretch(1);
    m_bankBalance = new QLabel(this);
    m_bankBalance->setObjectName("bankBalance");
    m_bankBalance->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_bankBalance->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_bankBalance->setMinimumWidth(100);
    auto* bankLabel = new QLabel(QStringLiteral("Bank Balance"), this);
    balanceRow->addWidget(bankLabel);
    balanceRow->addWidget(m_bankBalance);
    top->addLayout(balanceRow);

    auto* group = new QGroupBox(QStringLiteral("Entry"), this);
    auto* grid = new QGridLayout(group);
    auto addField = [&](int row, int column, const QString& label, QWidget* field, int span = 1) {
        auto* caption = new QLabel(label, group);
        caption->setBuddy(field);
        grid->addWidget(caption, row, column, 1, span);
        grid->addWidget(field, row + 1, column, 1, span);
    };

    m_date = new CDateField(group);
    m_date->setObjectName("date");
    addField(0, 0, QStringLiteral("&Date"), m_date);

    m_checkNumber = new QLineEdit(group);
    m_checkNumber->setObjectName("checkNumber");
    addField(0, 1, QStringLiteral("Check &#"), m_checkNumber);

    m_amount = new QLineEdit(group);
    m_amount->setObjectName("amount");
    m_amount->setAlignment(Qt::AlignRight);
    addField(0, 2, QStringLiteral("A&mount"), m_amount);

    m_deposit = new QCheckBox(QStringLiteral("De&posit"), group);
    m_deposit->setObjectName("deposit");
    grid->addWidget(m_deposit, 1, 3);

    m_description = new CDescriptionEdit(group);
    m_description->setObjectName("description");
    addField(0, 4, QStringLiteral("Descrip&tion"), m_description, 3);

    m_category = new QComboBox(group);
    m_category->setObjectName("category");
    m_category->setEditable(true);
    m_category->setInsertPolicy(QComboBox::NoInsert);
    addField(2, 0, QStringLiteral("Cate&gory"), m_category, 2);

    m_flag = new QComboBox(group);
    m_flag->setObjectName("flag");
    DialogFields::FillFlagCombo(m_flag);
    addField(2, 2, QStringLiteral("F&lag"), m_flag);

    m_fee = new QLineEdit(group);
    m_fee->setObjectName("fee");
    m_fee->setAlignment(Qt::AlignRight);
    addField(2, 3, QStringLiteral("F&ee"), m_fee);

    m_cleared = new QCheckBox(QStringLiteral("Entry &Cleared"), group);
    m_cleared->setObjectName("cleared");
    grid->addWidget(m_cleared, 3, 4);
    m_void = new QCheckBox(QStringLiteral("&Void Entry"), group);
    m_void->setObjectName("void");
    grid->addWidget(m_void, 3, 5);

    // Money and numbers get room for what they hold; the description and
    // the category take what is left.
    m_checkNumber->setMaximumWidth(110);
    m_amount->setMaximumWidth(130);
    m_fee->setMaximumWidth(130);
    m_flag->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_flag->setMinimumContentsLength(9);  // "No Change" fits without a jump
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(4, 2);
    grid->setColumnStretch(5, 2);
    grid->setColumnStretch(6, 3);
    top->addWidget(group);

    auto* buttons = new QHBoxLayout;
    m_addButton = new QPushButton(QStringLiteral("&Add Entry"), this);
    m_addButton->setObjectName("addEntry");
    m_deleteButton = new QPushButton(QStringLiteral("Delete Ent&ry"), this);
    m_deleteButton->setObjectName("deleteEntry");
    m_saveButton = new QPushButton(QStringLiteral("&Save Entry"), this);
    m_saveButton->setObjectName("saveEntry");
    m_okButton = new QPushButton(QStringLiteral("OK"), this);
    m_okButton->setObjectName("ok");
    // Enter saves from every field; the other buttons take Enter only when
    // they have the focus.
    m_saveButton->setDefault(true);
    buttons->addWidget(m_addButton);
    buttons->addWidget(m_deleteButton);
    buttons->addWidget(m_saveButton);
    buttons->addStretch(1);
    buttons->addWidget(m_okButton);
    top->addLayout(buttons);

    setTabOrder(m_date, m_checkNumber);
    setTabOrder(m_checkNumber, m_amount);
    setTabOrder(m_amount, m_deposit);
    setTabOrder(m_deposit, m_description);
    setTabOrder(m_description, m_category);
    setTabOrder(m_category, m_flag);
    setTabOrder(m_flag, m_fee);
    setTabOrder(m_fee, m_cleared);
    setTabOrder(m_cleared, m_void);
    setTabOrder(m_void, m_saveButton);
    setTabOrder(m_saveButton, m_addButton);
    setTabOrder(m_addButton, m_deleteButton);
    setTabOrder(m_deleteButton, m_okButton);
    setTabOrder(m_okButton, m_list);

    connect(m_addButton, &QPushButton::clicked, this, &CRegisterDlg::OnAddEntry);
    connect(m_deleteButton, &QPushButton::clicked, this, &CRegisterDlg::OnDeleteEntry);
    connect(m_saveButton, &QPushButton::clicked, this, &CRegisterDlg::OnSaveEntry);
    connect(m_okButton, &QPushButton::clicked, this, &CRegisterDlg::accept);
    connect(m_list, &CXListCtrl::itemClicked, this, &CRegisterDlg::OnListClick);
    connect(m_list, &CXListCtrl::itemDoubleClicked, this, [this](int, int, Qt::KeyboardModifiers modifiers) {
        // A double click that picks rows, or one while several rows are
        // being changed, must not put one entry's values over "No Change"
        // and the undecided boxes.
        if (!HasModifier(modifiers) && !m_bMultiSelection)
            LoadSelectedRow();
    });
    // Walking the list with the keys loads the row as a click does; with
    // Shift or Ctrl it picks rows.
    OnRowWalkedTo(m_list, [this](int row, Qt::KeyboardModifiers modifiers) {
        if (HasModifier(modifiers)) {
            EnterMultiSelection();
            return;
        }
        if (m_bMultiSelection)
            LeaveMultiSelection();
        LoadRow(row);
    });
    connect(m_category, &QComboBox::editTextChanged, this, &CRegisterDlg::OnCategoryChosen);
    connect(m_category, &QComboBox::activated, this, &CRegisterDlg::OnCategoryChosen);
    connect(m_description, &CDescriptionEdit::Completed, this, &CRegisterDlg::OnDescriptionCompleted);
    m_description->SetLookup([this](const QString& typed, QString& description, QString& category, int& flag) {
        std::string d;
        std::string c;
        if (!m_pDoc->LookupEntryMemory(ToBytes(typed), d, c, flag))
            return false;
        description = FromBytes(d);
        category = FromBytes(c);
        return true;
    });

    resize(900, 580);
}

CAccount* CRegisterDlg::Account() const
{
    // Looked up each time rather than kept, so nothing can hold on to a
    // record the document has let go of.
    return m_pDoc ? m_pDoc->FindAccount(m_strAccount) : nullptr;
}

int CRegisterDlg::AccountPosition() const
{
    return ::AccountPosition(*m_pDoc, m_strAccount);
}

int CRegisterDlg::EntryPosition(const CTransaction* entry) const
{
    const CAccount* account = Account();
    return account && entry ? PositionOf(account->m_transactions, entry) : -1;
}

void CRegisterDlg::OnDocumentChanged()
{
    // An undo or redo may have taken entries out, put them back or changed
    // them, or the account itself: the list is filled again from the
    // register, and no row or editor state keeps an entry it no longer holds.
    std::vector<const CTransaction*> picked;
    for (int row : m_list->GetSelectedRows())
        picked.push_back(RowRecord<const CTransaction>(m_list, row));
    const bool fieldsAsShown = FieldTexts() == m_shown;
    FillList();
    FillCategories();
    if (CAccount* account = Account())
        m_pDoc->RebuildEntryMemory(*account);

    // The list shows the whole register, so an entry it has a row for is one
    // the register still holds; one walk over the rows finds them all.
    const auto rowOf = RowsOfRecords<CTransaction>(m_list);
    auto held = [&rowOf](const CTransaction* entry) { return entry && rowOf.count(entry) > 0; };
    m_list->clearSelection();
    for (const CTransaction* entry : picked)
        if (held(entry))
            m_list->SetItemState(rowOf.at(entry), CXListCtrl::StateSelected, CXListCtrl::StateSelected);
    if (m_bMultiSelection && m_list->GetSelectedRows().isEmpty())
        LeaveMultiSelection();
    if (m_pEditEntry && !held(m_pEditEntry)) {
        // Its entry is gone; the fields keep what they show, with nothing
        // behind them to save.
        m_pEditEntry = nullptr;
    } else if (m_pEditEntry) {
        const int row = rowOf.at(m_pEditEntry);
        SelectRow(row);
        // Untouched fields show the entry as it is now.
        if (fieldsAsShown)
            LoadRow(row);
    }
}

void CRegisterDlg::SetColumnWidths()
{
    static const int percent[ColumnCount] = {9, 6, 37, 11, 5, 8, 11, 13};
    const int w = m_list->viewport()->width();
    for (int c = 0; c < ColumnCount; ++c) {
        int width = w * percent[c] / 100;
        if (c == ColAvailable)
            width -= 18;
        m_list->SetColumnWidth(c, std::max(width, 10));
    }
}

bool CRegisterDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list->viewport() && event->type() == QEvent::Resize)
        SetColumnWidths();
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        // From the keyboard: Enter loads the current row into the editor,
        // Space ticks its "C" box.
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            // The keyboard acts on the current row, which becomes the one
            // selected row: what is shown selected is what gets edited.
            const int row = m_list->currentIndex().row();
            if (row >= 0)
                SelectRow(row);
            if (key == Qt::Key_Space && row >= 1)
                ToggleCleared(row);
            if (m_bMultiSelection)
                LeaveMultiSelection();
            LoadSelectedRow();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---- the list --------------------------------------------------------------

void CRegisterDlg::FillList()
{
    ShowBankBalance();
    m_list->DeleteAllItems();
    CAccount* account = Account();
    if (!account)
        return;
    AddOpeningRow();
    // Each row shows the balance after its entry in date order, whatever
    // order the entries were typed in. The rows are written as the list
    // needs them: a register may hold hundreds of thousands.
    m_rowBalances = RunningBalances(*account);
    m_rowEntries.clear();
    m_rowEntries.reserve(account->m_transactions.size());
    for (const auto& entry : account->m_transactions)
        m_rowEntries.push_back(entry.get());
    m_list->InsertItems(m_list->GetItemCount(), int(m_rowEntries.size()), this);
    m_list->ReSort();
}

void CRegisterDlg::WriteRow(CXListCtrl& list, int row, int item)
{
    CTransaction* entry = m_rowEntries[size_t(item)];
    SetRowRecord(&list, row, entry);
    const QString balanceText = EntryCellText(*entry, ColAvailable, m_rowBalances[size_t(item)]);
    WriteEntryRow(row, *entry, &balanceText);
}

QString CRegisterDlg::CellText(int item, int column) const
{
    return EntryCellText(*m_rowEntries[size_t(item)], column, m_rowBalances[size_t(item)]);
}

quintptr CRegisterDlg::ItemData(int item) const
{
    return reinterpret_cast<quintptr>(m_rowEntries[size_t(item)]);
}

void CRegisterDlg::AddOpeningRow()
{
    const CAccount* account = Account();
    const int row = m_list->InsertItem(0, QString());
    const QString opening = FormatMoney(account->m_dOpeningBalance, true);
    m_list->SetItemText(row, ColDescription, QStringLiteral(" Opening Balance"));
    m_list->SetItemText(row, ColAmount, opening);
    m_list->SetItemText(row, ColAvailable, opening);
    // Stays first whatever column the list is sorted on.
    for (int c = 0; c < ColumnCount; ++c)
        m_list->SetPinKey(row, c, -1);
}

int CRegisterDlg::AddEntryRow(int row, CTransaction* entry, double balance)
{
    row = m_list->InsertItem(row, FormatEntryDate(entry->m_date));
    SetRowRecord(m_list, row, entry);
    const QString balanceText = EntryCellText(*entry, ColAvailable, balance);
    WriteEntryRow(row, *entry, &balanceText);
    return row;
}

void CRegisterDlg::WriteEntryRow(int row, const CTransaction& entry, const QString* balanceText)
{
    const bool isVoid = entry.m_bVoid != 0;
    const QColor text = isVoid ? kVoidText : kEntryText;
    const QColor background = isVoid ? kVoidBackground : DialogFields::FlagColor(entry.m_nFlag);

    // The date keeps the list's own colours.
    m_list->SetItemText(row, ColDate, EntryCellText(entry, ColDate, 0.0));
    for (int c = ColCheckNumber; c < ColAvailable; ++c)
        m_list->SetItemText(row, c, EntryCellText(entry, c, 0.0), text, background);
    m_list->SetCheckState(row, ColCleared, entry.m_bCleared ? 1 : 0);
    const QString kept = m_list->GetItemText(row, ColAvailable);
    m_list->SetItemText(row, ColAvailable, balanceText ? *balanceText : kept, text, background);
}

void CRegisterDlg::ShowBankBalance()
{
    CAccount* account = Account();
    m_bankBalance->setText(account ? FormatMoney(m_pDoc->GetBankBalance(*account, 1)) : QString());
}

void CRegisterDlg::SelectRow(int row)
{
    if (row < 0)
        return;
    m_list->clearSelection();
    const unsigned bits = CXListCtrl::StateSelected | CXListCtrl::StateFocused;
    m_list->SetItemState(row, bits, bits);
    m_list->EnsureVisible(row);
}

// ---- the editor fields -------------------------------------------------------

void CRegisterDlg::ShowValues(const EntryValues& values)
{
    m_bShowing = true;
    m_editorTime = values.date;
    m_date->setDate(DialogFields::ToQDate(values.date));
    m_checkNumber->setText(values.checkNumber);
    m_amount->setText(FormatMoney(values.amount));
    m_deposit->setChecked(values.deposit);
    m_description->setText(values.description);
    m_category->setEditText(values.category);
    m_flag->setCurrentIndex(values.flag);
    m_fee->setText(FormatMoney(values.fee));
    m_cleared->setChecked(values.cleared == 1);
    m_void->setChecked(values.isVoid == 1);
    m_bShowing = false;
    m_shown = FieldTexts();
}

QStringList CRegisterDlg::FieldTexts() const
{
    auto box = [](const QCheckBox* b) { return QString::number(int(b->checkState())); };
    return {m_date->text(),          m_checkNumber->text(), m_amount->text(), box(m_deposit),
            m_description->text(),   m_category->currentText(), QString::number(m_flag->currentIndex()),
            m_fee->text(),           box(m_cleared),            box(m_void)};
}

bool CRegisterDlg::ReadValues(EntryValues& values)
{
    values.checkNumber = m_checkNumber->text();
    values.deposit = m_deposit->isChecked();
    values.description = m_description->text();
    values.category = m_category->currentText();
    values.flag = m_flag->currentIndex();
    auto state = [](const QCheckBox* box) {
        switch (box->checkState()) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return kUndecided;
        case Qt::Unchecked:
            break;
        }
        return 0;
    };
    values.cleared = state(m_cleared);
    values.isVoid = state(m_void);
    // Several entries at once take only the boxes and the flag; the
    // greyed-out date and money fields are not read.
    if (m_bMultiSelection)
        return true;

    QDate date;
    if (!m_date->ReadDate(QStringLiteral("Date"), date) ||
        !DialogFields::ReadMoney(m_amount, QStringLiteral("Amount"), values.amount) ||
        !DialogFields::ReadMoney(m_fee, QStringLiteral("Fee"), values.fee))
        return false;
    // An untouched date keeps the loaded entry's exact time.
    values.date = date == DialogFields::ToQDate(m_editorTime) ? m_editorTime
                                                               : DialogFields::FromQDate(date, m_editorTime);
    // A typed minus means money going out, whatever the Deposit box says;
    // a fee is always a charge.
    if (values.amount < 0) {
        values.amount = -values.amount;
        values.deposit = false;
    }
    values.fee = std::fabs(values.fee);
    return true;
}

void CRegisterDlg::OnCategoryChosen()
{
    if (m_bShowing || !m_pDoc->m_pCategoryList)
        return;
    const int flag = m_pDoc->m_pCategoryList->GetCategoryFlag(ToBytes(m_category->currentText()));
    if (flag >= 0 && !m_bMultiSelection)
        m_flag->setCurrentIndex(flag);
}

void CRegisterDlg::OnDescriptionCompleted(const QString& category, int flag, bool descriptionCompleted)
{
    m_category->setEditText(category);
    if (descriptionCompleted && flag >= 0 && flag < kFlagCount)
        m_flag->setCurrentIndex(flag);
}

// ---- buttons ---------------------------------------------------------------

void CRegisterDlg::OnAddEntry()
{
    // A new entry needs every field, so the several-entries mode ends here.
    if (m_bMultiSelection)
        LeaveMultiSelection();
    m_list->EnsureVisible(m_list->GetItemCount() - 1);
    EntryValues values;
    values.date = CTime::GetCurrentTime();
    ShowValues(values);
    m_bNewEntry = true;
    m_pEditEntry = nullptr;
    m_date->setFocus();
}

void CRegisterDlg::OnSaveEntry()
{
    EntryValues values;
    if (!ReadValues(values))
        return;
    if (!m_bMultiSelection) {
        if (values.description.isEmpty()) {
            UserMessage::Show(this, QStringLiteral("Please enter a description."));
            m_description->setFocus();
            return;
        }
        if (values.amount == 0 && values.fee == 0) {
            UserMessage::Show(this, QStringLiteral("Please enter an amount greater than 0."));
            m_amount->setFocus();
            m_amount->selectAll();
            return;
        }
    }
    if (m_bMultiSelection)
        SaveSelectedEntries(values);
    else if (m_bNewEntry)
        SaveNewEntry(values);
    else if (m_pEditEntry)
        SaveEditedEntry(values);
    else
        // Say so rather than drop what was typed silently.
        UserMessage::Show(this, QStringLiteral("Entry: No entry selected.\nClick an entry in the list to change it, "
                                               "or press \"Add Entry\" to start a new one."));
}

void CRegisterDlg::SaveNewEntry(const EntryValues& values)
{
    CAccount* account = Account();
    if (!account)
        return;
    const std::string description = ToBytes(values.description);
    const std::string category = ToBytes(values.category);
    const std::string checkNumber = ToBytes(values.checkNumber);
    auto change = std::make_unique<CAppendEntriesChange>(
        "Add Entry", m_strAccount, [name = m_strAccount, values, checkNumber, description, category](CQuilletDoc& doc) {
            doc.AddEntry(name, values.date, checkNumber, description, category, values.amount, values.fee,
                         values.deposit, values.cleared, values.isVoid, values.flag);
        });
    const CAppendEntriesChange& added = *change;
    CTransaction* entry = m_history.Apply(std::move(change)) ? added.FirstAdded(*m_pDoc) : nullptr;
    m_pDoc->AddEntryMemory(description, category, values.flag);
    if (entry && IsLatestDated(*account, *entry))
        AddEntryRow(m_list->GetItemCount(), entry, account->RecomputeBalances(0));
    else if (entry)
        FillList();  // a back-dated entry moves the balance of every later row
    ShowBankBalance();
    OnAddEntry();
}

void CRegisterDlg::SaveSelectedEntries(const EntryValues& values)
{
    // All the picked entries change as one step.
    std::vector<CChangeEntriesChange::NewValues> changes;
    for (int row : m_list->GetSelectedRows()) {
        const auto* entry = RowRecord<const CTransaction>(m_list, row);
        const int position = EntryPosition(entry);
        if (position < 0)
            continue;
        CTransaction changed = *entry;
        if (values.isVoid != kUndecided)
            changed.m_bVoid = values.isVoid;
        if (values.cleared != kUndecided)
            changed.m_bCleared = values.cleared;
        if (values.flag != kNoChange)
            changed.m_nFlag = values.flag;
        changes.push_back({position, changed});
    }
    m_history.Apply(std::make_unique<CChangeEntriesChange>(AccountPosition(), std::move(changes)));
    // Without a refill below, the rows are brought up to date here.
    if (values.isVoid == kUndecided)
        for (int row : m_list->GetSelectedRows())
            if (const auto* entry = RowRecord<const CTransaction>(m_list, row))
                WriteEntryRow(row, *entry, nullptr);
    if (values.cleared != kUndecided)
        ShowBankBalance();
    if (values.isVoid != kUndecided) {
        // The running balances change; the rows the user picked stay picked,
        // found through one walk over the rows however many were picked.
        std::vector<const CTransaction*> picked;
        for (int row : m_list->GetSelectedRows())
            picked.push_back(RowRecord<const CTransaction>(m_list, row));
        FillList();
        const auto rowOf = RowsOfRecords<CTransaction>(m_list);
        for (const CTransaction* entry : picked) {
            const auto found = rowOf.find(entry);
            m_list->SetItemState(found == rowOf.end() ? -1 : found->second, CXListCtrl::StateSelected,
                                 CXListCtrl::StateSelected);
        }
    }
    m_pEditEntry = nullptr;
}

void CRegisterDlg::SaveEditedEntry(const EntryValues& values)
{
    CTransaction* entry = m_pEditEntry;
    const int position = EntryPosition(entry);
    if (position < 0)
        return;
    const double signedAmount = values.deposit ? values.amount : values.amount * -1.0;
    // A new day moves the entry among the running balances too.
    const bool amountChanged = signedAmount != entry->m_dAmount || values.fee != entry->m_dFee ||
                               values.isVoid != entry->m_bVoid ||
                               values.date.GetDayNumber() != entry->m_date.GetDayNumber();
    const bool clearedChanged = values.cleared != entry->m_bCleared;

    CTransaction changed = *entry;
    changed.m_dAmount = signedAmount;
    changed.m_strCategory = ToBytes(values.category);
    changed.m_strCheckNumber = ToBytes(values.checkNumber);
    changed.m_bCleared = values.cleared;
    changed.m_date = values.date;
    changed.m_strDescription = ToBytes(values.description);
    changed.m_dFee = values.fee;
    changed.m_bVoid = values.isVoid;
    changed.m_nFlag = values.flag;
    m_history.Apply(std::make_unique<CChangeEntriesChange>(AccountPosition(), std::vector<CChangeEntriesChange::NewValues>{{position, changed}}));

    const int row = RowOfRecord(m_list, entry);
    if (amountChanged || row < 0) {
        FillList();
    } else {
        WriteEntryRow(row, *entry, nullptr);
        if (clearedChanged)
            ShowBankBalance();
    }
    SelectRow(RowOfRecord(m_list, entry));
    m_pEditEntry = nullptr;
}

void CRegisterDlg::OnDeleteEntry()
{
    CAccount* account = Account();
    // Only an entry shown selected: the mark's, or else the one selected
    // entry (a Ctrl-click may have taken the selection off the mark's row).
    int mark = m_list->GetSelectionMark();
    if (mark < 1 || !m_list->GetItemState(mark, CXListCtrl::StateSelected)) {
        QVector<int> entries;
        for (int row : m_list->GetSelectedRows())
            if (RowRecord<const CTransaction>(m_list, row))
                entries.append(row);
        mark = entries.size() == 1 ? entries.front() : -1;
    }
    if (!account || mark < 1 || mark >= m_list->GetItemCount())
        return;
    // The row's own entry, wherever sorting has put the row.
    const auto* entry = RowRecord<const CTransaction>(m_list, mark);
    const auto& reg = account->m_transactions;
    const auto it = std::find_if(reg.begin(), reg.end(), [entry](const auto& t) { return t.get() == entry; });
    if (!entry || it == reg.end())
        return;
    m_history.Apply(std::make_unique<CDeleteEntryChange>(AccountPosition(), int(it - reg.begin())));
    FillList();
    SelectRow(mark - 1);
    m_pEditEntry = nullptr;
    m_bNewEntry = false;
}

void CRegisterDlg::accept()
{
    if (m_bNewEntry) {
        if (UserMessage::Show(this, QStringLiteral("You are creating a new record.  Are you sure you want to close ?"),
                              UserMessage::Buttons::OkCancel) != UserMessage::Answer::Ok)
            return;
    } else if (m_pEditEntry) {
        if (UserMessage::Show(this, QStringLiteral("You are editing a record.  Are you sure you want to close?"),
                              UserMessage::Buttons::OkCancel) != UserMessage::Answer::Ok)
            return;
    }
    QDialog::accept();
}

void CRegisterDlg::done(int result)
{
    // Closing in any way ends the completion list's life.
    if (m_pDoc)
        m_pDoc->ClearEntryMemory();
    QDialog::done(result);
}

// ---- clicks ----------------------------------------------------------------

void CRegisterDlg::OnListClick(int row, int column, Qt::KeyboardModifiers modifiers)
{
    auto* entry = RowRecord<CTransaction>(m_list, row);
    if (HasModifier(modifiers)) {
        // A click that picks rows changes no entry: a "C" box the list
        // toggled under it goes back to what the entry holds.
        if (column == ColCleared && entry)
            m_list->SetCheckState(row, ColCleared, entry->m_bCleared ? 1 : 0);
        EnterMultiSelection();
        return;
    }
    if (column == ColCleared && row >= 1 && entry)
        ToggleCleared(row);
    if (m_bMultiSelection)
        LeaveMultiSelection();
    LoadSelectedRow();
}

void CRegisterDlg::ToggleCleared(int row)
{
    const auto* entry = RowRecord<const CTransaction>(m_list, row);
    const int position = EntryPosition(entry);
    if (position < 0)
        return;
    CTransaction ticked = *entry;
    ticked.m_bCleared = entry->m_bCleared ? 0 : 1;
    m_history.Apply(std::make_unique<CChangeEntriesChange>(AccountPosition(), std::vector<CChangeEntriesChange::NewValues>{{position, ticked}}));
    m_list->SetCheckState(row, ColCleared, entry->m_bCleared);
    ShowBankBalance();
}

void CRegisterDlg::LoadSelectedRow()
{
    const int mark = m_list->GetSelectionMark();
    // A row the user has just taken out of the selection is not loaded.
    LoadRow(m_list->GetItemState(mark, CXListCtrl::StateSelected) ? mark : -1);
}

void CRegisterDlg::LoadRow(int row)
{
    if (row < 1 || row >= m_list->GetItemCount()) {
        // The opening row or no row: with no entry shown selected, none
        // stays the one that Save changes.
        m_pEditEntry = nullptr;
        return;
    }
    auto* entry = RowRecord<CTransaction>(m_list, row);
    if (!entry) {
        UserMessage::Show(this, QStringLiteral("There is nothing to edit."));
        return;
    }
    EntryValues values;
    if (entry->m_dAmount > 0) {
        values.amount = entry->m_dAmount;
        values.deposit = true;
    } else {
        values.amount = -entry->m_dAmount;
        values.deposit = false;
    }
    values.category = FromBytes(entry->m_strCategory);
    values.checkNumber = FromBytes(entry->m_strCheckNumber);
    values.cleared = entry->m_bCleared ? 1 : 0;
    values.date = entry->m_date;
    values.description = FromBytes(entry->m_strDescription);
    values.fee = entry->m_dFee;
    values.isVoid = entry->m_bVoid ? 1 : 0;
    values.flag = std::clamp(entry->m_nFlag, 0, kFlagCount - 1);
    m_pEditEntry = entry;
    m_bNewEntry = false;
    ShowValues(values);
}

void CRegisterDlg::EnterMultiSelection()
{
    if (m_bMultiSelection)
        return;  // further picks keep what the user already set
    m_bMultiSelection = true;
    // Several entries at once: only the two boxes and the flag apply.
    m_bNewEntry = false;
    for (QWidget* field : {static_cast<QWidget*>(m_date), static_cast<QWidget*>(m_checkNumber),
                           static_cast<QWidget*>(m_amount), static_cast<QWidget*>(m_description),
                           static_cast<QWidget*>(m_category), static_cast<QWidget*>(m_fee),
                           static_cast<QWidget*>(m_deposit)})
        field->setEnabled(false);
    for (QCheckBox* box : {m_cleared, m_void}) {
        box->setTristate(true);
        box->setCheckState(Qt::PartiallyChecked);
    }
    m_flag->addItem(QStringLiteral("No Change"));
    m_flag->setCurrentIndex(kNoChange);
}

void CRegisterDlg::LeaveMultiSelection()
{
    m_bMultiSelection = false;
    for (QWidget* field : {static_cast<QWidget*>(m_date), static_cast<QWidget*>(m_checkNumber),
                           static_cast<QWidget*>(m_amount), static_cast<QWidget*>(m_description),
                           static_cast<QWidget*>(m_category), static_cast<QWidget*>(m_fee),
                           static_cast<QWidget*>(m_deposit)})
        field->setEnabled(true);
    for (QCheckBox* box : {m_cleared, m_void}) {
        if (box->checkState() == Qt::PartiallyChecked)
            box->setCheckState(Qt::Unchecked);
        box->setTristate(false);
    }
    m_flag->removeItem(kNoChange);
}
