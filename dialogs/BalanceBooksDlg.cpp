#include "BalanceBooksDlg.h"

#include "BalanceRule.h"
#include "DialogFields.h"
#include "DocHistory.h"
#include "EntryText.h"
#include "ListColumns.h"
#include "QuilletDoc.h"
#include "TextCodec.h"
#include "XHeaderCtrl.h"
#include "XListCtrl.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{
// The two money columns' shares of the list's width, as the columns use.
int BalanceColumnWidth(int listWidth)
{
    return listWidth * 25 / 100;
}

int BankColumnWidth(int listWidth)
{
    return listWidth * 27 / 100 - 17;
}
}

CBalanceBooksDlg::CBalanceBooksDlg(CDocHistory& history, QWidget* parent)
    : QDialog(parent), m_pDoc(&history.Document())
{
    setWindowTitle(QStringLiteral("Balance Books"));

    auto* intro = new QLabel(QStringLiteral("Displays your current balance as well as your statement balance"), this);
    intro->setWordWrap(true);

    m_list = new CXListCtrl(this);
    m_list->setObjectName(QStringLiteral("balanceList"));
    m_list->SetShowSelectionAlways(true);
    m_list->SetFullRowSelect(true);
    m_list->setMinimumSize(DialogFields::FontUnits(m_list, 70, 10));
    // An overview in its own order: the groups must stay together.
    m_list->GetHeaderCtrl()->setSectionsClickable(false);
    InsertListColumns(m_list, {
                                  {QStringLiteral("Account Name"), Qt::AlignLeft, 24, 100},
                                  {QStringLiteral("Account Number"), Qt::AlignLeft, 24, 100},
                                  {QStringLiteral("Balance"), Qt::AlignRight, 25, 100},
                                  {QStringLiteral("Bank Balance"), Qt::AlignRight, 27, 100, 17},
                              });

    auto* totalCaption = new QLabel(QStringLiteral("Total Balance"), this);
    m_balanceTotal = new QLabel(this);
    m_balanceTotal->setObjectName(QStringLiteral("balanceTotal"));
    m_bankTotal = new QLabel(this);
    m_bankTotal->setObjectName(QStringLiteral("bankTotal"));
    for (QLabel* total : {m_balanceTotal, m_bankTotal}) {
        total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        total->setFrameShape(QFrame::StyledPanel);
        total->setFrameShadow(QFrame::Sunken);
        total->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    m_totalsGap = new QWidget(this);

    // The totals stand under their columns.
    auto* totals = new QHBoxLayout;
    totals->setSpacing(0);
    totals->addWidget(totalCaption, 1);
    totals->addWidget(m_balanceTotal);
    totals->addWidget(m_bankTotal);
    totals->addWidget(m_totalsGap);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CBalanceBooksDlg::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(m_list, 1);
    layout->addLayout(totals);
    layout->addWidget(buttons);
    resize(DialogFields::FontUnits(this, 103, 26));

    m_list->installEventFilter(this);
    Fill();
    AlignTotals();

    history.AddKeys(this);
    connect(&history, &CDocHistory::DocumentChanged, this, &CBalanceBooksDlg::Fill);
}

QString CBalanceBooksDlg::BalanceTotalText() const
{
    return m_balanceTotal->text();
}

QString CBalanceBooksDlg::BankTotalText() const
{
    return m_bankTotal->text();
}

bool CBalanceBooksDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::Resize)
        AlignTotals();
    return QDialog::eventFilter(watched, event);
}

void CBalanceBooksDlg::AlignTotals()
{
    const int width = m_list->width();
    m_balanceTotal->setFixedWidth(BalanceColumnWidth(width));
    m_bankTotal->setFixedWidth(BankColumnWidth(width));
    m_totalsGap->setFixedWidth(std::max(0, width - width * 24 / 100 * 2 - BalanceColumnWidth(width) -
                                               BankColumnWidth(width)));
}

void CBalanceBooksDlg::Fill()
{
    m_list->DeleteAllItems();
    // Balances that are no number (a damaged file) are left out of the totals.
    FiniteSum balanceTotal;
    FiniteSum bankTotal;

    // The summary shows the cached balances; bring them up to date first,
    // as an entry changed in place leaves them stale.
    for (const auto& account : m_pDoc->m_accounts)
        account->RecomputeBalances(0);

    std::unique_ptr<BALANCE_NODE> summary = m_pDoc->BuildBalanceSummary();
    const QColor black(Qt::black);
    const QColor cyan(0, 255, 255);
    int row = 0;
    for (const BALANCE_NODE* node = summary.get(); node; node = node->next.get(), ++row) {
        m_list->InsertItem(row, FromBytes(node->name));
        if (node->groupIndex >= 0) {
            m_list->SetItemText(row, 1, FromBytes(node->number));
            m_list->SetItemText(row, 2, FormatMoney(node->balance));
            m_list->SetItemText(row, 3, FormatMoney(node->cleared));
            balanceTotal.Add(node->balance);
            bankTotal.Add(node->cleared);
        } else {
            m_list->SetItemText(row, 1, FromBytes(node->number), black, cyan);
            m_list->SetItemText(row, 2, FormatMoney(node->balance), black, cyan);
            m_list->SetItemText(row, 3, FormatMoney(node->cleared), black, cyan);
        }
    }
    CQuilletDoc::FreeBalanceSummary(summary);

    m_balanceTotal->setText(FormatMoney(balanceTotal.sum));
    m_bankTotal->setText(FormatMoney(bankTotal.sum));
}
