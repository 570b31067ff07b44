#include "ImportStatementDlg.h"

#include "DocChanges.h"
#include "DocHistory.h"

#include "EntryText.h"
#include "ListColumns.h"
#include "QuilletDoc.h"
#include "TextCodec.h"
#include "UserMessage.h"
#include "XListCtrl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace
{
const QColor kGreyText(128, 128, 128);

// The CSV roles the user can point at a column, in the order of the
// dialog's combo boxes.
enum CsvRole { RoleDate, RoleAmount, RoleDescription, RoleCheckNumber, RoleCategory, RoleCount };
const char* const kRoleLabels[RoleCount] = {"&Date", "A&mount", "D&escription", "Check &#", "Ca&tegory"};
const char* const kRoleNames[RoleCount] = {"date", "amount", "description", "checkNumber", "category"};

QString Counted(int n, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

QString Utf8Text(const std::string& text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// The digits of an account number without leading zeros: banks write
// "0001234-5678" where the checkbook may hold "12345678".
std::string Digits(const std::string& text)
{
    std::string digits;
    for (char c : text)
        if (c >= '0' && c <= '9' && (c != '0' || !digits.empty()))
            digits += c;
    return digits;
}
}  // namespace

CImportStatementDlg::CImportStatementDlg(CDocHistory& history, const QString& path, QWidget* parent)
    : QDialog(parent), m_history(history), m_pDoc(&history.Document()), m_fileName(QFileInfo(path).fileName())
{
    setWindowTitle(QStringLiteral("Import Statement - %1").arg(m_fileName));
    BuildLayout();

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_problem = QStringLiteral("The statement \"%1\" could not be read (%2).").arg(m_fileName, file.errorString());
        return;
    }
    const QByteArray bytes = file.readAll();
    m_bytes.assign(bytes.constData(), size_t(bytes.size()));
    m_format = DetectStatementFormat(m_bytes, QFile::encodeName(path).toStdString());

    FillAccounts();
    if (m_comboAccount->count() == 0) {
        m_problem = QStringLiteral("There is no account to import \"%1\" into. Add the account first.").arg(m_fileName);
        return;
    }

    m_csvBox->setVisible(m_format == "csv");
    // OFX dates say their own order.
    m_comboOrder->setVisible(m_format != "ofx");
    m_orderLabel->setVisible(m_format != "ofx");
    if (m_format == "csv")
        FillCsvColumnChoices();
    if (m_format != "ofx")
        GuessDateOrder();
    m_statement = ReadStatement(ChosenOrder());
    if (!m_statement.fileProblems.empty()) {
        QStringList reasons;
        for (const std::string& reason : m_statement.fileProblems)
            reasons << Utf8Text(reason);
        m_problem = QStringLiteral("The statement \"%1\" cannot be imported: %2.").arg(m_fileName, reasons.join("; "));
        return;
    }
    ChooseAccount();
    Refresh();
    m_history.AddKeys(this);
    connect(&m_history, &CDocHistory::DocumentChanged, this, &CImportStatementDlg::OnDocumentChanged);
}

CImportStatementDlg::~CImportStatementDlg() = default;

void CImportStatementDlg::FillAccounts()
{
    // The chosen account stays chosen while the document has it.
    const std::string chosen = AccountName();
    m_comboAccount->clear();
    // Each entry carries its account's name as the document holds it.
    for (const auto& account : m_pDoc->m_accounts)
        m_comboAccount->addItem(FromBytes(account->m_strName), QByteArray::fromStdString(account->m_strName));
    const int position = AccountPosition(*m_pDoc, chosen);
    m_comboAccount->setCurrentIndex(position >= 0 ? position : (m_comboAccount->count() > 0 ? 0 : -1));
}

void CImportStatementDlg::OnDocumentChanged()
{
    FillAccounts();
    Refresh();
}

bool CImportStatementDlg::ImportFile(CDocHistory& history, const QString& path, QWidget* parent)
{
    CImportStatementDlg dialog(history, path, parent);
    if (!dialog.IsReadable()) {
        UserMessage::Show(parent, dialog.Problem());
        return false;
    }
    return dialog.exec() == QDialog::Accepted && dialog.AddedCount() > 0;
}

void CImportStatementDlg::BuildLayout()
{
    auto* top = new QVBoxLayout(this);

    auto* accountRow = new QHBoxLayout;
    m_sourceText = new QLabel(this);
    m_sourceText->setObjectName("source");
    m_comboAccount = new QComboBox(this);
    m_comboAccount->setObjectName("account");
    m_comboAccount->setMinimumWidth(160);
    auto* accountLabel = new QLabel(QStringLiteral("Into &account"), this);
    accountLabel->setBuddy(m_comboAccount);
    m_comboOrder = new QComboBox(this);
    m_comboOrder->setObjectName("dateOrder");
    m_comboOrder->addItem(QStringLiteral("Year-month-day"), int(DateOrder::YearMonthDay));
    m_comboOrder->addItem(QStringLiteral("Month-day-year"), int(DateOrder::MonthDayYear));
    m_comboOrder->addItem(QStringLiteral("Day-month-year"), int(DateOrder::DayMonthYear));
    auto* orderLabel = new QLabel(QStringLiteral("Dates &read as"), this);
    orderLabel->setBuddy(m_comboOrder);
    m_orderLabel = orderLabel;
    accountRow->addWidget(m_sourceText);
    accountRow->addStretch(1);
    accountRow->addWidget(accountLabel);
    accountRow->addWidget(m_comboAccount);
    accountRow->addSpacing(12);
    accountRow->addWidget(orderLabel);
    accountRow->addWidget(m_comboOrder);
    top->addLayout(accountRow);

    auto* csvBox = new QGroupBox(QStringLiteral("Columns"), this);
    m_csvBox = csvBox;
    auto* grid = new QGridLayout(csvBox);
    for (int role = 0; role < RoleCount; ++role) {
        auto* combo = new QComboBox(csvBox);
        combo->setObjectName(QLatin1String(kRoleNames[role]) + QLatin1String("Column"));
        auto* label = new QLabel(QLatin1String(kRoleLabels[role]), csvBox);
        label->setBuddy(combo);
        grid->addWidget(label, role / 3, (role % 3) * 2);
        grid->addWidget(combo, role / 3, (role % 3) * 2 + 1);
        grid->setColumnStretch((role % 3) * 2 + 1, 1);
        m_columnCombos[role] = combo;
        connect(combo, &QComboBox::activated, this, &CImportStatementDlg::RereadColumns);
    }
    m_headerCheck = new QCheckBox(QStringLiteral("First line holds &headings"), csvBox);
    m_headerCheck->setObjectName("header");
    m_headerCheck->setChecked(true);
    grid->addWidget(m_headerCheck, 1, 4, 1, 2);
    connect(m_headerCheck, &QCheckBox::toggled, this, &CImportStatementDlg::RereadColumns);
    top->addWidget(csvBox);

    m_list = new CXListCtrl(this);
    m_list->setObjectName("previewList");
    m_list->SetFullRowSelect(true);
    m_list->SetGridLines(true);
    m_list->SetShowSelectionAlways(true);
    InsertListColumns(m_list, {{QStringLiteral("Import"), Qt::AlignHCenter, 8, 100},
                               {QStringLiteral("Date"), Qt::AlignHCenter, 11, 100},
                               {QStringLiteral("Check #"), Qt::AlignHCenter, 9, 100},
                               {QStringLiteral("Description"), Qt::AlignLeft, 38, 100},
                               {QStringLiteral("Amount"), Qt::AlignRight, 12, 100},
                               {QStringLiteral("Status"), Qt::AlignLeft, 22, 100, 4}});
    m_list->installEventFilter(this);
    top->addWidget(m_list, 1);

    m_detailText = new QLabel(this);
    m_detailText->setObjectName("detail");
    m_detailText->setWordWrap(true);
    m_detailText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    top->addWidget(m_detailText);
    m_summaryText = new QLabel(this);
    m_summaryText->setObjectName("summary");
    m_summaryText->setWordWrap(true);
    top->addWidget(m_summaryText);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_importButton = new QPushButton(QStringLiteral("&Import"), this);
    m_importButton->setObjectName("import");
    m_importButton->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName("cancel");
    buttons->addWidget(m_importButton);
    buttons->addWidget(cancel);
    top->addLayout(buttons);

    connect(m_importButton, &QPushButton::clicked, this, &CImportStatementDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CImportStatementDlg::reject);
    connect(m_comboAccount, &QComboBox::activated, this, &CImportStatementDlg::Refresh);
    connect(m_comboOrder, &QComboBox::activated, this, &CImportStatementDlg::Reread);
    connect(m_list, &CXListCtrl::checkBoxClicked, this, &CImportStatementDlg::UpdateImportButton);
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &CImportStatementDlg::ShowLineDetail);

    resize(820, 480);
}

void CImportStatementDlg::FillCsvColumnChoices()
{
    const std::vector<std::string> first = CsvFirstRecord(m_bytes);
    for (QComboBox* combo : m_columnCombos) {
        combo->clear();
        combo->addItem(QStringLiteral("(automatic)"), QString());
        for (size_t i = 0; i < first.size(); ++i) {
            QString sample = Utf8Text(first[i]).simplified();
            if (sample.size() > 24)
                sample = sample.left(23) + QChar(0x2026);
            combo->addItem(QStringLiteral("%1: %2").arg(i + 1).arg(sample), QString::number(i + 1));
        }
    }
}

void CImportStatementDlg::ChooseAccount()
{
    // The account whose number is the statement's; the number may be
    // kept in full or by its last digits.
    const std::string id = Digits(m_statement.accountId);
    int chosen = 0;
    int bestLength = 0;
    for (int i = 0; !id.empty() && i < int(m_pDoc->m_accounts.size()); ++i) {
        const std::string number = Digits(m_pDoc->m_accounts[size_t(i)]->m_strNumber);
        const bool matches = number == id || (number.size() >= 4 && id.size() > number.size() &&
                                              id.compare(id.size() - number.size(), number.size(), number) == 0);
        if (matches && int(number.size()) > bestLength) {
            chosen = i;
            bestLength = int(number.size());
        }
    }
    m_comboAccount->setCurrentIndex(chosen);
}

void CImportStatementDlg::GuessDateOrder()
{
    // Banks write dates in every order; the one that reads the most lines
    // wins, the format's usual one on a tie.
    std::vector<DateOrder> orders = {DateOrder::YearMonthDay, DateOrder::MonthDayYear, DateOrder::DayMonthYear};
    if (m_format == "qif")
        std::swap(orders[0], orders[1]);
    DateOrder best = orders.front();
    size_t bestRead = 0;
    for (DateOrder order : orders) {
        const size_t read = ReadStatement(order).Entries().size();
        if (read > bestRead) {
            best = order;
            bestRead = read;
        }
    }
    m_comboOrder->setCurrentIndex(m_comboOrder->findData(int(best)));
}

CsvColumns CImportStatementDlg::ChosenColumns() const
{
    CsvColumns columns;
    columns.header = m_headerCheck->isChecked();
    columns.order = ChosenOrder();
    std::string* chosen[RoleCount] = {&columns.date, &columns.amount, &columns.description, &columns.checkNumber,
                                      &columns.category};
    for (int role = 0; role < RoleCount; ++role)
        *chosen[role] = m_columnCombos[role]->currentData().toString().toStdString();
    return columns;
}

DateOrder CImportStatementDlg::ChosenOrder() const
{
    return DateOrder(m_comboOrder->currentData().toInt());
}

Statement CImportStatementDlg::ReadStatement(DateOrder order) const
{
    if (m_format == "ofx")
        return ReadOfxStatement(m_bytes);
    if (m_format == "qif")
        return ReadQifStatement(m_bytes, order);
    CsvColumns columns = ChosenColumns();
    columns.order = order;
    return ReadCsvStatement(m_bytes, columns);
}

void CImportStatementDlg::RereadColumns()
{
    // Other columns may hold other dates: the order is guessed again.
    GuessDateOrder();
    Reread();
}

void CImportStatementDlg::Reread()
{
    m_statement = ReadStatement(ChosenOrder());
    Refresh();
}

std::string CImportStatementDlg::AccountName() const
{
    return m_comboAccount->currentData().toByteArray().toStdString();
}

void CImportStatementDlg::Refresh()
{
    // Told again after every reading: a CSV statement has no lines to count
    // until its columns are chosen.
    if (!m_statement.accountId.empty())
        m_sourceText->setText(QStringLiteral("Statement of account %1").arg(Utf8Text(m_statement.accountId)));
    else if (m_statement.lines.empty())
        m_sourceText->setText(QStringLiteral("Statement"));
    else
        m_sourceText->setText(
            QStringLiteral("Statement of %1").arg(Counted(int(m_statement.lines.size()), "line", "lines")));
    m_list->DeleteAllItems();
    m_detailText->clear();
    const CAccount* account = m_pDoc->FindAccount(AccountName());
    if (!account)
        return;
    if (!m_statement.missingColumns.empty() || !m_statement.fileProblems.empty()) {
        // Only a CSV statement gets here: its columns are to be chosen.
        QStringList missing;
        for (const std::string& role : m_statement.missingColumns)
            missing << Utf8Text(role);
        for (const std::string& problem : m_statement.fileProblems)
            missing << Utf8Text(problem);
        m_summaryText->setText(m_statement.missingColumns.empty()
                                   ? QStringLiteral("The statement cannot be imported: %1.").arg(missing.join("; "))
                                   : QStringLiteral("Choose the column that holds the %1.").arg(missing.join(", the ")));
        UpdateImportButton();
        return;
    }

    const ImportPlan plan = PlanImport(*account, m_statement.Entries());
    int counts[4] = {};
    int unreadable = 0;
    size_t planned = 0;
    for (size_t i = 0; i < m_statement.lines.size(); ++i) {
        const StatementLine& line = m_statement.lines[i];
        const StatementEntry& e = line.entry;
        QString status;
        ImportPlan::Decision decision = ImportPlan::NoAmount;
        if (line.Readable()) {
            decision = plan.decisions[planned];
            status = decision == ImportPlan::New          ? QStringLiteral("new")
                     : decision == ImportPlan::InRegister ? QStringLiteral("already in the register")
                                                          : Utf8Text(plan.reasons[planned]);
            ++planned;
            ++counts[decision];
        } else {
            QStringList problems;
            for (const std::string& p : line.problems)
                problems << Utf8Text(p);
            status = problems.join("; ");
            ++unreadable;
        }
        const bool isNew = line.Readable() && decision == ImportPlan::New;
        const QColor text = isNew ? QColor() : kGreyText;
        const int row = m_list->InsertItem(int(i), QString());
        m_list->SetCheckState(row, ColImport, isNew ? 1 : 0);
        // What could be read of a line that cannot be imported is shown as
        // it is: a date as written, never one made up from its numbers.
        const QString date = e.year != 0 ? FormatEntryDate(e.Date()) : " " + Utf8Text(line.writtenDate);
        m_list->SetItemText(row, ColDate, date, text, QColor());
        m_list->SetItemText(row, ColCheckNumber, FromBytes(e.checkNumber), text, QColor());
        m_list->SetItemText(row, ColDescription, " " + FromBytes(e.description), text, QColor());
        m_list->SetItemText(row, ColAmount, line.amountRead ? FormatMoney(e.amount, true) : QString(), text,
                            QColor());
        m_list->SetItemText(row, ColStatus, " " + status, text, QColor());
        // A line already in the register may still be ticked by someone who
        // knows better; what cannot be read, or is no entry, never.
        if (!line.Readable() || (decision != ImportPlan::New && decision != ImportPlan::InRegister))
            m_list->SetEnabled(row, false);
        m_list->SetItemData(row, quintptr(i));
    }
    m_list->ReSort();

    QStringList parts;
    if (counts[ImportPlan::New])
        parts << QStringLiteral("%1 new").arg(counts[ImportPlan::New]);
    if (counts[ImportPlan::InRegister])
        parts << QStringLiteral("%1 already in the register").arg(counts[ImportPlan::InRegister]);
    if (const int other = counts[ImportPlan::RepeatedInStatement] + counts[ImportPlan::NoAmount])
        parts << QStringLiteral("%1 left out").arg(other);
    if (unreadable)
        parts << QStringLiteral("%1 that cannot be read").arg(unreadable);
    m_summaryText->setText(QStringLiteral("%1: %2.")
                               .arg(Counted(int(m_statement.lines.size()), "line", "lines"), parts.join(", ")));
    UpdateImportButton();
}

void CImportStatementDlg::ShowLineDetail()
{
    const int row = m_list->currentIndex().row();
    if (row < 0 || row >= m_list->GetItemCount()) {
        m_detailText->clear();
        return;
    }
    const size_t i = size_t(m_list->GetItemData(row));
    m_detailText->setText(QStringLiteral("Line %1: %2 \u2014 %3")
                              .arg(i < m_statement.lines.size() ? m_statement.lines[i].entry.line : 0)
                              .arg(m_list->GetItemText(row, ColDescription).trimmed(),
                                   m_list->GetItemText(row, ColStatus).trimmed()));
}

void CImportStatementDlg::UpdateImportButton()
{
    bool any = false;
    for (int row = 0; row < m_list->GetItemCount() && !any; ++row)
        any = m_list->GetEnabled(row) && m_list->GetCheckState(row, ColImport) == 1;
    m_importButton->setEnabled(any);
}

bool CImportStatementDlg::eventFilter(QObject* watched, QEvent* event)
{
    // Space ticks or unticks the current line, so the list can be worked
    // through from the keyboard.
    if (watched == m_list && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        const int row = m_list->currentIndex().row();
        if (m_list->GetEnabled(row)) {
            m_list->SetCheckState(row, ColImport, m_list->GetCheckState(row, ColImport) == 1 ? 0 : 1);
            UpdateImportButton();
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CImportStatementDlg::accept()
{
    std::vector<size_t> ticked;
    for (int row = 0; row < m_list->GetItemCount(); ++row)
        if (m_list->GetEnabled(row) && m_list->GetCheckState(row, ColImport) == 1)
            ticked.push_back(size_t(m_list->GetItemData(row)));
    // In the statement's order, whatever the list's sort.
    std::sort(ticked.begin(), ticked.end());
    std::vector<StatementEntry> entries;
    for (size_t i : ticked)
        if (i < m_statement.lines.size() && m_statement.lines[i].Readable())
            entries.push_back(m_statement.lines[i].entry);
    if (entries.empty())
        return;

    // The whole import is one step of the history.
    const std::string account = AccountName();
    auto change = std::make_unique<CAppendEntriesChange>(
        "Import Statement", account, [account, entries](CQuilletDoc& doc) { ApplyImport(doc, account, entries); });
    const CAppendEntriesChange& import = *change;
    m_nAdded = m_history.Apply(std::move(change)) ? import.AddedCount() : 0;
    const int leftOut = int(m_statement.lines.size()) - m_nAdded;
    UserMessage::Show(this, QStringLiteral("Added %1 to \"%2\"; %3 left out.")
                                .arg(Counted(m_nAdded, "entry", "entries"), FromBytes(account),
                                     leftOut == 0 ? QStringLiteral("nothing") : Counted(leftOut, "line", "lines")));
    QDialog::accept();
}
