#include "ReconcileDlg.h"

#include "DialogFields.h"
#include "DocChanges.h"
#include "DocHistory.h"
#include "EntryText.h"
#include "QuilletDoc.h"
#include "RowRecords.h"
#include "TextCodec.h"
#include "XListCtrl.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace
{
const QColor kVoidBackground(0xBE, 0xBE, 0xBE);
const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);

QString EntryCellText(const CTransaction& t, int column)
{
    const bool trailing = !t.m_bVoid;
    const double a = t.m_dAmount;
    switch (column) {
    case CReconcileDlg::ColDate:
        return FormatEntryDate(t.m_date);
    case CReconcileDlg::ColCheckNumber:
        return FromBytes(t.m_strCheckNumber);
    case CReconcileDlg::ColDescription:
        return " " + FromBytes(t.m_strDescription);
    case CReconcileDlg::ColCategory:
        return FromBytes(t.m_strCategory);
    case CReconcileDlg::ColAmount:
        return a < 0 ? FormatMoney(-a, trailing) : QString();
    case CReconcileDlg::ColFee:
        return t.m_dFee != 0 ? FormatMoney(t.m_dFee, true) : QString();
    case CReconcileDlg::ColDeposit:
        return a >= 0 ? FormatMoney(a, trailing) : QString();
    default:
        return QString();  // "C" shows its box only
    }
}
}

CReconcileDlg::CReconcileDlg(CDocHistory& history, QWidget* parent)
    : QDialog(parent), m_history(history), m_pDoc(&history.Document())
{
    setWindowTitle(QStringLiteral("Reconsile Accounts"));
    BuildLayout();

    if (const CAccount* first = m_pDoc->GetAccount(0))
        m_strSelectedAccount = first->m_strName;
    FillAccounts();

    m_list->SetFullRowSelect(true);
    m_list->SetGridLines(true);
    m_list->SetShowSelectionAlways(true);
    const struct
    {
        const char* heading;
        Qt::Alignment alignment;
    } columns[ColumnCount] = {
        {"Date", Qt::AlignHCenter},   {"Check #", Qt::AlignHCenter}, {"Description", Qt::AlignLeft},
        {"Category", Qt::AlignHCenter}, {"Amount", Qt::AlignRight},  {"C", Qt::AlignHCenter},
        {"Fee", Qt::AlignRight},      {"Deposit", Qt::AlignRight},
    };
    for (int c = 0; c < ColumnCount; ++c)
        m_list->InsertColumn(c, QString::fromLatin1(columns[c].heading), columns[c].alignment);
    SetColumnWidths();

    FillList();

    m_history.AddKeys(this);
    connect(&m_history, &CDocHistory::DocumentChanged, this, &CReconcileDlg::OnDocumentChanged);
}

CReconcileDlg::~CReconcileDlg()
{
    // Rows not yet written would ask this dialog for their entries.
    m_list->DeleteAllItems();
}

void CReconcileDlg::FillAccounts()
{
    m_comboAccount->clear();
    for (const auto& account : m_pDoc->m_accounts)
        m_comboAccount->addItem(FromBytes(account->m_strName));
    // The account being reconciled stays chosen while the document has it.
    const int chosen = AccountPosition(*m_pDoc, m_strSelectedAccount);
    m_comboAccount->setCurrentIndex(chosen >= 0 ? chosen : (m_comboAccount->count() > 0 ? 0 : -1));
}

void CReconcileDlg::OnDocumentChanged()
{
    const auto* current = RowRecord<const CTransaction>(m_list, m_list->currentIndex().row());
    if (!m_pDoc->FindAccount(m_strSelectedAccount)) {
        const CAccount* first = m_pDoc->GetAccount(0);
        m_strSelectedAccount = first ? first->m_strName : std::string();
    }
    FillAccounts();
    m_list->DeleteAllItems();
    FillList();
    ComputeBankBalance();
    ShowBalances();
    // The keyboard stays on the entry it was on, if the register still has it.
    const CAccount* account = m_pDoc->FindAccount(m_strSelectedAccount);
    if (account && PositionOf(account->m_transactions, current) >= 0) {
        const int row = RowOfRecord(m_list, current);
        m_list->SetItemState(row, CXListCtrl::StateSelected | CXListCtrl::StateFocused,
                             CXListCtrl::StateSelected | CXListCtrl::StateFocused);
    }
}

void CReconcileDlg::BuildLayout()
{
    auto* top = new QVBoxLayout(this);

    auto* accountRow = new QHBoxLayout;
    m_comboAccount = new QComboBox(this);
    m_comboAccount->setObjectName("account");
    m_comboAccount->setMinimumWidth(160);
    auto* accountLabel = new QLabel(QStringLiteral("&Account"), this);
    accountLabel->setBuddy(m_comboAccount);
    accountRow->addWidget(accountLabel);
    accountRow->addWidget(m_comboAccount);
    accountRow->addStretch(1);
    top->addLayout(accountRow);

    m_list = new CXListCtrl(this);
    m_list->setObjectName("reconcileList");
    m_list->installEventFilter(this);
    m_list->viewport()->installEventFilter(this);
    top->addWidget(m_list, 1);

    auto* bottom = new QGridLayout;
    m_statementEdit = new QLineEdit(QStringLiteral("0"), this);
    m_statementEdit->setObjectName("statement");
    m_statementEdit->setAlignment(Qt::AlignRight);
    m_statementEdit->setFixedWidth(150);
    auto* statementLabel = new QLabel(QStringLiteral("Enter in the &Statement Balance"), this);
    statementLabel->setBuddy(m_statementEdit);
    bottom->addWidget(statementLabel, 0, 1);
    bottom->addWidget(m_statementEdit, 1, 1);

    auto makeFigure = [this](const char* name) {
        auto* figure = new QLabel(this);
        figure->setObjectName(QString::fromLatin1(name));
        figure->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        figure->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        figure->setMinimumWidth(120);
        return figure;
    };
    m_bankBalanceText = makeFigure("bankBalance");
    m_differenceText = makeFigure("difference");
    bottom->addWidget(new QLabel(QStringLiteral("Bank Balance"), this), 0, 3, Qt::AlignRight);
    bottom->addWidget(m_bankBalanceText, 0, 4);
    bottom->addWidget(new QLabel(QStringLiteral("Difference"), this), 1, 3, Qt::AlignRight);
    bottom->addWidget(m_differenceText, 1, 4);
    bottom->setColumnStretch(0, 1);
    bottom->setColumnStretch(2, 1);
    top->addLayout(bottom);

    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName("ok");
    ok->setDefault(true);
    buttons->addWidget(ok);
    buttons->addStretch(1);
    top->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &CReconcileDlg::accept);
    // A choice from the drop-down, by mouse or keyboard, refills the list:
    // the list must never show another account than the one named above it.
    connect(m_comboAccount, &QComboBox::activated, this, &CReconcileDlg::OnAccountCloseUp);
    connect(m_statementEdit, &QLineEdit::textChanged, this, &CReconcileDlg::OnStatementChange);
    connect(m_list, &CXListCtrl::itemClicked, this, [this](int row, int column) { OnListClick(row, column); });

    resize(860, 480);
}

void CReconcileDlg::SetColumnWidths()
{
    static const int percent[ColumnCount] = {10, 7, 27, 13, 14, 5, 9, 13};
    const int w = m_list->viewport()->width();
    for (int c = 0; c < ColumnCount; ++c) {
        int width = w * percent[c] / 100;
        if (c == ColDeposit)
            width -= 18;
        m_list->SetColumnWidth(c, std::max(width, 10));
    }
}

bool CReconcileDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list->viewport() && event->type() == QEvent::Resize)
        SetColumnWidths();
    // Space ticks the current row's "C" box, so a statement can be worked
    // through from the keyboard.
    if (watched == m_list && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        ToggleCleared(m_list->currentIndex().row());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CReconcileDlg::ComputeBankBalance()
{
    CAccount* account = m_pDoc->FindAccount(m_strSelectedAccount);
    m_dBankBalance = account ? m_pDoc->GetBankBalance(*account, 1) : 0.0;
}

void CReconcileDlg::ShowBalances()
{
    m_strBankBalance = FormatMoney(m_dBankBalance);
    m_strDifference = FormatMoney(m_dBankBalance - m_dStatementBalance);
    m_bankBalanceText->setText(m_strBankBalance);
    m_differenceText->setText(m_strDifference);
}

void CReconcileDlg::FillList()
{
    if (m_strSelectedAccount.empty())
        return;
    ComputeBankBalance();
    ShowBalances();
    m_list->DeleteAllItems();
    m_rowEntries.clear();
    if (const CAccount* account = m_pDoc->FindAccount(m_strSelectedAccount)) {
        m_rowEntries.reserve(account->m_transactions.size());
        for (const auto& entry : account->m_transactions)
            m_rowEntries.push_back(entry.get());
    }
    // Written as the list needs them: a register may hold hundreds of
    // thousands of entries.
    m_list->InsertItems(0, int(m_rowEntries.size()), this);
    m_list->ReSort();
}

void CReconcileDlg::WriteRow(CXListCtrl& list, int row, int item)
{
    const CTransaction& t = *m_rowEntries[size_t(item)];
    const bool isVoid = t.m_bVoid != 0;
    const QColor background = isVoid ? kVoidBackground : DialogFields::FlagColor(t.m_nFlag);
    const QColor text = isVoid ? kWhite : kBlack;
    // The date stays black on a void entry's grey.
    list.SetItemText(row, ColDate, EntryCellText(t, ColDate), kBlack, background);
    for (int c = ColCheckNumber; c < ColumnCount; ++c)
        list.SetItemText(row, c, EntryCellText(t, c), text, background);
    list.SetCheckState(row, ColCleared, t.m_bCleared ? 1 : 0);
    // The row's own entry, wherever a sort moves the row.
    list.SetItemData(row, ItemData(item));
}

QString CReconcileDlg::CellText(int item, int column) const
{
    return EntryCellText(*m_rowEntries[size_t(item)], column);
}

quintptr CReconcileDlg::ItemData(int item) const
{
    return reinterpret_cast<quintptr>(m_rowEntries[size_t(item)]);
}

void CReconcileDlg::OnAccountCloseUp(int index)
{
    const CAccount* account = m_pDoc->GetAccount(index);
    if (index < 0 || !account)
        return;
    m_strSelectedAccount = account->m_strName;
    FillList();
}

void CReconcileDlg::OnStatementChange(const QString& text)
{
    // While the text is no number (empty, a lone "-" on the way to a
    // negative one) the last number stands; OK says so.
    if (const std::optional<double> value = DialogFields::ParseMoney(text))
        m_dStatementBalance = *value;
    m_strDifference = FormatMoney(m_dBankBalance - m_dStatementBalance);
    m_differenceText->setText(m_strDifference);
}

void CReconcileDlg::OnListClick(int row, int column)
{
    if (column == ColCleared)
        ToggleCleared(row);
}

void CReconcileDlg::ToggleCleared(int row)
{
    const auto* t = RowRecord<const CTransaction>(m_list, row);
    const CAccount* account = m_pDoc->FindAccount(m_strSelectedAccount);
    const int position = account && t ? PositionOf(account->m_transactions, t) : -1;
    if (position < 0)
        return;
    // Each tick is one step of the history.
    CTransaction ticked = *t;
    ticked.m_bCleared = t->m_bCleared ? 0 : 1;
    m_history.Apply(std::make_unique<CChangeEntriesChange>(
        AccountPosition(*m_pDoc, m_strSelectedAccount), std::vector<CChangeEntriesChange::NewValues>{{position, ticked}}));
    m_list->SetCheckState(row, ColCleared, t->m_bCleared);
    ComputeBankBalance();
    ShowBalances();
}

void CReconcileDlg::accept()
{
    double value = 0.0;
    if (!DialogFields::ReadMoney(m_statementEdit, QStringLiteral("Statement Balance"), value))
        return;
    m_dStatementBalance = value;
    QDialog::accept();
}
