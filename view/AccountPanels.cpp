// The account and recurring panels: their chrome, the rows of their two
// lists and what a click on a row does.
#include "QuilletView.h"

#include "AppValues.h"
#include "BalanceRule.h"
#include "DocChanges.h"
#include "DocHistory.h"
#include "EntryText.h"
#include "PanelChrome.h"
#include "QuilletDoc.h"
#include "RowRecords.h"
#include "TextCodec.h"
#include "UserMessage.h"
#include "XListCtrl.h"

#include <QFrame>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace
{
constexpr int kRowHeight = 14;
constexpr int kAccountListId = 501;
constexpr int kRecurringListId = 502;

struct ColumnSpec
{
    const char* caption;
    Qt::Alignment alignment;
    int percent;
};

CXListCtrl* MakeList(QWidget* parent, int id, const QRect& initial, std::initializer_list<ColumnSpec> columns)
{
    auto* list = new CXListCtrl(parent);
    list->setObjectName(id == kAccountListId ? QStringLiteral("AccountList") : QStringLiteral("RecurringList"));
    list->setProperty("controlId", id);
    list->setGeometry(initial);
    list->SetHeaderVisible(false);
    list->SetGridLines(true);
    list->SetFullRowSelect(true);
    list->SetSingleSelection(true);
    list->SetRowHeight(kRowHeight);
    list->setFont(MakeViewFont(ViewFont::ListRow, *list));
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // One blank unit above and below the rows (the panel heights count on 14
    // a row plus 2), but no frame of its own inside the panel's green one:
    // the printed page has none either.
    list->setFrameShape(QFrame::NoFrame);
    list->SetVerticalMargins(1, 1);
    const int width = list->width();
    int column = 0;
    for (const ColumnSpec& heading : columns)
        list->InsertColumn(column++, QString::fromLatin1(heading.caption), heading.alignment, width * heading.percent / 100);
    list->show();
    return list;
}
}

void CQuilletView::CreateLists()
{
    m_pAccountList = MakeList(this, kAccountListId, EdgeRect(11, 98, 339, 150),
                              {{"Account", Qt::AlignLeft, 50}, {"Balance", Qt::AlignRight, 50}});
    m_pRecurringList = MakeList(this, kRecurringListId, EdgeRect(11, 292, 339, 344),
                                {{"Date", Qt::AlignHCenter, 16},
                                 {"Description", Qt::AlignLeft, 39},
                                 {"Amount", Qt::AlignRight, 17},
                                 {"Deposit", Qt::AlignHCenter, 7},
                                 {"Add", Qt::AlignHCenter, 11},
                                 {"Skip", Qt::AlignHCenter, 11}});
    connect(m_pAccountList, &CXListCtrl::itemClicked, this,
            [this](int row, int column, Qt::KeyboardModifiers) { OnAccountListClick(row, column); });
    connect(m_pRecurringList, &CXListCtrl::itemClicked, this,
            [this](int row, int column, Qt::KeyboardModifiers) { OnRecurringListClick(row, column); });
    // Enter on an account row opens its register, as a click does; the
    // due rows take Add and Skip from the keyboard.
    m_pAccountList->installEventFilter(this);
    m_pRecurringList->installEventFilter(this);
    m_bListsCreated = true;
}

namespace
{
// The lists repaint cells at once as they change; during the view's own
// paint that would paint the view again inside itself. Their updates wait
// until the fill is done.
class ListFillGuard
{
public:
    explicit ListFillGuard(CXListCtrl* list) : m_list(list) { m_list->setUpdatesEnabled(false); }
    ~ListFillGuard() { m_list->setUpdatesEnabled(true); }
    ListFillGuard(const ListFillGuard&) = delete;
    ListFillGuard& operator=(const ListFillGuard&) = delete;

private:
    CXListCtrl* m_list;
};
}

void CQuilletView::PlaceList(CXListCtrl* list, const QRect& geometry)
{
    // Moving a list repaints it, so only move it when its place changed.
    if (list && list->geometry() != geometry)
        list->setGeometry(geometry);
}

void CQuilletView::DrawAccountPanel(QPainter& painter)
{
    std::string names;
    const int n = m_pDoc ? m_pDoc->GetAccountNames(names) : 0;

    m_rcAccountPanel = EdgeRect(10, 17, 340, kRowHeight * n + 53);
    PlaceList(m_pAccountList, QRect(11, 36, 328, kRowHeight * n + 16));

    painter.save();
    DrawTitleBand(painter, EdgeRect(11, 17, 340, 47));
    UseViewFont(painter, ViewFont::TitleLarge);
    DrawLineText(painter, EdgeRect(20, 18, 210, 35), QStringLiteral("Account Information"), Qt::AlignLeft,
                 PanelColor::TitleText(), PanelColor::BandFill());
    DrawButtonLabel(painter, EdgeRect(270, 20, 330, 36), QStringLiteral("Add/Edit"), PanelColor::LabelNormal(),
                    PanelColor::BandFill());
    FrameEdgeRect(painter, m_rcAccountPanel.adjusted(0, 20, 0, 0), PanelColor::Green());
    painter.restore();

    // Filled lazily: n account rows and the total row.
    if (!m_bListsCreated || m_pAccountList->GetItemCount() > n)
        return;
    FillAccountList();
}

void CQuilletView::FillAccountList()
{
    CXListCtrl* list = m_pAccountList;
    const ListFillGuard guard(list);
    list->DeleteAllItems();
    const QColor link = PanelColor::LabelNormal();
    const QColor cell = PanelColor::ListCell();
    // An account whose balance is no number shows the marker on its own
    // row and is left out of the total.
    FiniteSum total;
    int row = 0;
    // Each row carries its account: the names list would cut a long name
    // to 31 characters, and the cut name finds no account. Balances by name
    // come from accounts found once for the whole list: a walk per row
    // would grow with the square of the accounts.
    CAccountIndex accounts(*m_pDoc);
    for (; const CAccount* account = m_pDoc->GetAccount(row); ++row) {
        // An account without a name ends the list, as in the names text,
        // which has no way to tell it from the end.
        if (account->m_strName.empty())
            break;
        const QString name = QStringLiteral("  ") + FromBytes(account->m_strName);
        list->InsertItem(row, name);
        list->SetItemText(row, 0, name, link, cell);
        list->SetBold(row, 0, true);
        list->SetItemData(row, reinterpret_cast<quintptr>(account));
        const double balance = accounts.GetAccountBalance(account->m_strName, 0);
        total.Add(balance);
        list->SetItemText(row, 1, FormatMoney(balance) + QStringLiteral("  "), QColor(0, 0, 0), cell);
        list->SetEnabled(row, true);
    }
    list->InsertItem(row, QString());
    list->SetItemText(row, 0, QString(), link, cell);
    list->SetBold(row, 0, true);
    list->SetItemText(row, 1, QStringLiteral("Total: $") + FormatMoney(total.sum) + QStringLiteral("  "),
                      QColor(130, 130, 130), cell);
    list->SetEnabled(row, false);
}

void CQuilletView::DrawRecurringPanel(QPainter& painter)
{
    const int m = m_pDoc ? m_pDoc->CountDueRecurring(g_nUpcomingDays) : 0;

    const int top = m_rcAccountPanel.top() + m_rcAccountPanel.height() + 20;
    m_rcRecurringPanel = EdgeRect(10, top, 340, top + kRowHeight * m + 22);
    PlaceList(m_pRecurringList, QRect(11, top + 19, 328, kRowHeight * m + 2));

    painter.save();
    DrawTitleBand(painter, EdgeRect(11, top, 340, top + 30));
    UseViewFont(painter, ViewFont::Title);
    // The list, placed at top + 19, covers the title box's last row; the
    // descenders of "Recurring" must end above it.
    DrawLineText(painter, EdgeRect(20, top + 4, 330, top + 19), QStringLiteral("Recurring Transactions"),
                 Qt::AlignLeft, PanelColor::TitleText(), PanelColor::BandFill());
    DrawButtonLabel(painter, EdgeRect(270, top + 3, 330, top + 19), QStringLiteral("Add/Edit"),
                    PanelColor::LabelNormal(), PanelColor::BandFill());
    FrameEdgeRect(painter, m_rcRecurringPanel.adjusted(0, 20, 0, 0), PanelColor::Green());
    painter.restore();

    if (!m_bListsCreated || m_pRecurringList->GetItemCount() >= m)
        return;
    FillRecurringList();
}

void CQuilletView::FillRecurringList()
{
    CXListCtrl* list = m_pRecurringList;
    const ListFillGuard guard(list);
    list->DeleteAllItems();
    const QColor black(0, 0, 0);
    const QColor link = PanelColor::LabelNormal();
    const QColor cell = PanelColor::ListCell();
    const std::vector<CRecurringTransaction*> due = m_pDoc->GetAllDueRecurring(g_nUpcomingDays);
    for (int i = 0; i < int(due.size()); ++i) {
        CRecurringTransaction* t = due[size_t(i)];
        const QString date = QString::fromLatin1(t->m_nextDate.Format("%m/%d/%y").c_str());
        list->InsertItem(i, date);
        list->SetItemText(i, 0, date, black, cell);
        list->SetItemText(i, 1, QStringLiteral(" ") + FromBytes(t->m_strDescription), black, cell);
        list->SetItemText(i, 2, FormatMoney(std::fabs(t->m_dAmount), true), black, cell);
        list->SetItemText(i, 3, t->m_dAmount < 0.0 ? QStringLiteral("D") : QStringLiteral("W"), black, cell);
        list->SetItemText(i, 4, QStringLiteral("Add"), link, cell);
        list->SetItemText(i, 5, QStringLiteral("Skip"), link, cell);
        list->SetBold(i, 4, true);
        list->SetBold(i, 5, true);
        list->SetItemData(i, reinterpret_cast<quintptr>(t));
    }
    // Two-digit years: this is month/day/year text order, not date order.
    list->SortColumn(0, CXListCtrl::SortAscending);
}

void CQuilletView::OnAccountListClick(int row, int /*column*/)
{
    // The total row carries no account; a row left from before the document
    // changed may carry one the document no longer holds.
    const auto* account = reinterpret_cast<const CAccount*>(m_pAccountList->GetItemData(row));
    if (!m_pDoc || !account ||
        std::none_of(m_pDoc->m_accounts.begin(), m_pDoc->m_accounts.end(),
                     [account](const auto& held) { return held.get() == account; }))
        return;
    const std::string name = account->m_strName;
    // The register editor runs modally and the list is refilled afterwards;
    // neither may happen inside the list's own mouse handling.
    QMetaObject::invokeMethod(this, [this, name] { EditRegister(name); }, Qt::QueuedConnection);
}

bool CQuilletView::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == m_pAccountList || watched == m_pRecurringList) && event->type() == QEvent::KeyPress)
        return ListKey(static_cast<CXListCtrl*>(watched), static_cast<QKeyEvent*>(event));
    return QWidget::eventFilter(watched, event);
}

bool CQuilletView::ListKey(CXListCtrl* list, QKeyEvent* event)
{
    const int row = list->GetSelectionMark();
    const int key = event->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
    if (list == m_pAccountList) {
        if (!enter)
            return false;
        OnAccountListClick(row, 0);
        return true;
    }
    // A due row: Enter or Space on its Add or Skip cell, or A or S anywhere
    // on the row.
    int column = -1;
    if (enter)
        column = list->currentIndex().column();
    else if (key == Qt::Key_A && !(event->modifiers() & ~Qt::ShiftModifier))
        column = 4;
    else if (key == Qt::Key_S && !(event->modifiers() & ~Qt::ShiftModifier))
        column = 5;
    if (column != 4 && column != 5)
        return enter;
    OnRecurringListClick(row, column);
    return true;
}

void CQuilletView::OnRecurringListClick(int row, int column)
{
    if (row < 0 || row >= m_pRecurringList->GetItemCount() || (column != 4 && column != 5))
        return;
    auto* clicked = reinterpret_cast<CRecurringTransaction*>(m_pRecurringList->GetItemData(row));
    QMetaObject::invokeMethod(
        this,
        [this, clicked, column] {
            // The row may outlive its record if the document changed behind
            // the list; only act on a record the document still holds.
            if (!m_pDoc || !clicked)
                return;
            const int position = PositionOf(m_pDoc->m_recurring, static_cast<const CRecurringTransaction*>(clicked));
            if (position < 0)
                return;
            // Posting and skipping are steps of the history, like any change.
            if (column == 4) {
                if (!m_pHistory->Apply(std::make_unique<CDueRecurringChange>(position, CDueRecurringChange::Post))) {
                    UserMessage::Show(
                        this,
                        QStringLiteral("\"%1\" was not added: its account \"%2\" does not exist.\n"
                                       "Choose an existing account for it in Add/Edit Recurring, or skip it.")
                            .arg(FromBytes(clicked->m_strDescription), FromBytes(clicked->m_strAccount)),
                        UserMessage::Buttons::Ok, UserMessage::Icon::Warning);
                    return;
                }
                m_pAccountList->DeleteAllItems();
            } else {
                m_pHistory->Apply(std::make_unique<CDueRecurringChange>(position, CDueRecurringChange::Skip));
            }
            const int row = m_pRecurringList->GetSelectionMark();
            m_pRecurringList->DeleteAllItems();
            RefreshNow();
            // Keyboard users stay on the row that took the place of this
            // one, or on the panel's button once no row is left.
            MarkFocusedRow(m_pRecurringList, row);
            if (window()->focusWidget() == m_pRecurringList && m_pRecurringList->GetItemCount() == 0)
                FocusStop(Stop::RecurringButton);
        },
        Qt::QueuedConnection);
}
