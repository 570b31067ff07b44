#include "QuilletView.h"

#include "AccountsDlg.h"
#include "CategoryViewDlg.h"
#include "DayChartDlg.h"
#include "DocHistory.h"
#include "PanelChrome.h"
#include "QuilletDoc.h"
#include "RecurringDlg.h"
#include "RegisterDlg.h"
#include "XListCtrl.h"

#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>
#include <iterator>
#include <utility>

namespace
{
// The right edge as the layout gives it, just outside the rectangle.
int RightEdge(const QRect& r) { return r.x() + r.width(); }

// Where a scroll bar showing `size` units from `current` goes so that the
// focus, [focusStart, focusEnd), a part of the panel [panelStart, panelEnd),
// is seen. A panel already in sight stays where it is; otherwise the least
// movement that shows the first of these that fits: the panel with a
// margin, the panel, the panel's leading edge up to the end of the focus,
// the focus. Centring something wider than the window would cut off the
// panel's left edge, where its names start.
int ScrollValue(int current, int size, int focusStart, int focusEnd, int panelStart, int panelEnd)
{
    if (panelStart >= current && panelEnd <= current + size)
        return current;
    const int margin = 10;
    const std::pair<int, int> candidates[] = {{panelStart - margin, panelEnd + margin},
                                              {panelStart, panelEnd},
                                              {panelStart, focusEnd},
                                              {focusStart, focusEnd}};
    for (const auto& [start, end] : candidates) {
        if (end - start > size)
            continue;
        if (start < current)
            return start;
        return end > current + size ? end - size : current;
    }
    return focusStart - panelStart < size ? panelStart : focusStart;
}
}

CQuilletView::CQuilletView(QWidget* parent) : QWidget(parent)
{
    // The whole client area is painted on every paint, into Qt's back
    // buffer, so nothing flickers and no background erase is needed.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    OnInitialUpdate();
}

CQuilletView::~CQuilletView() = default;

QSize CQuilletView::sizeHint() const
{
    return QSize(680, 520);
}

QSize CQuilletView::minimumSizeHint() const
{
    return m_extent.isValid() ? m_extent : QSize(680, 520);
}

void CQuilletView::SetDocument(CQuilletDoc* doc, CDocHistory* history)
{
    if (m_pHistory)
        disconnect(m_pHistory, nullptr, this, nullptr);
    m_pDoc = doc;
    m_ownHistory.reset();
    if (doc && !history) {
        m_ownHistory = std::make_unique<CDocHistory>(*doc);
        history = m_ownHistory.get();
    }
    m_pHistory = history;
    // An undo or redo, also one made in a dialog over the view, shows at once.
    if (m_pHistory)
        connect(m_pHistory, &CDocHistory::DocumentChanged, this, &CQuilletView::OnDocumentChanged);
    OnInitialUpdate();
}

void CQuilletView::OnInitialUpdate()
{
    if (!m_bListsCreated)
        CreateLists();
    m_pAccountList->DeleteAllItems();
    m_pRecurringList->DeleteAllItems();
    update();
}

void CQuilletView::OnDocumentChanged()
{
    // Balances may have moved under the lists (reconciling, a file read):
    // let the next paint refill both, and the pie sum the entries again.
    if (m_pDoc)
        m_pDoc->RebuildCategoryTotals();
    if (m_bListsCreated) {
        m_pAccountList->DeleteAllItems();
        m_pRecurringList->DeleteAllItems();
    }
    update();
}

void CQuilletView::RefreshNow()
{
    repaint();
}

int CQuilletView::RunDialog(QDialog& dialog)
{
    return dialog.exec();
}

void CQuilletView::PaintDashboard(QPainter& painter)
{
    // Each panel is placed from the one painted before it.
    DrawAccountPanel(painter);
    DrawRecurringPanel(painter);
    DrawDayChart(painter);
    DrawCategoryPanel(painter);
}

void CQuilletView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    PaintDashboard(painter);

    // The panels grow with the rows; ten units of white beyond the last.
    const QSize extent(RightEdge(m_rcCategoryPanel) + 10,
                       std::max(m_rcCategoryPanel.bottom(), m_rcDayChartPanel.top() + 135) + 10);
    if (extent != m_extent) {
        m_extent = extent;
        updateGeometry();
    }

    if (hasFocus()) {
        // The focused button's mark: a dotted frame just around its label.
        const QRect label = ButtonRect(ButtonOf(m_focusButton));
        painter.save();
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(QRect(label.left() - 3, label.top() - 1, label.width() + 3, label.height() - 1));
        painter.restore();
    }

    switch (m_feedback) {
    case Feedback::None:
        break;
    case Feedback::Pressed:
        DrawButtonLabel(painter, m_rcButton, m_strButton, PanelColor::LabelPressed(), PanelColor::BandFill());
        break;
    case Feedback::Normal:
        DrawButtonLabel(painter, m_rcButton, m_strButton, PanelColor::LabelNormal(), PanelColor::BandFill());
        break;
    case Feedback::Released:
        DrawButtonLabel(painter, m_rcButton, m_strButton, PanelColor::LabelNormal(), PanelColor::ListCell());
        break;
    }
}

// ---- painted buttons -------------------------------------------------------

CQuilletView::Panel CQuilletView::PanelAt(const QPoint& point) const
{
    if (m_rcAccountPanel.contains(point))
        return Panel::Account;
    if (m_rcRecurringPanel.contains(point))
        return Panel::Recurring;
    if (m_rcCategoryPanel.contains(point))
        return Panel::Category;
    if (m_rcDayChartPanel.contains(point))
        return Panel::DayChart;
    return Panel::None;
}

QRect CQuilletView::ButtonRect(Panel panel) const
{
    switch (panel) {
    case Panel::Account:
        return EdgeRect(m_rcAccountPanel.left() + 260, m_rcAccountPanel.top() + 3, m_rcAccountPanel.left() + 320,
                        m_rcAccountPanel.top() + 19);
    case Panel::Recurring:
        return EdgeRect(m_rcRecurringPanel.left() + 260, m_rcRecurringPanel.top() + 3,
                        m_rcRecurringPanel.left() + 320, m_rcRecurringPanel.top() + 19);
    case Panel::Category:
        return EdgeRect(m_rcCategoryPanel.left() + 260, m_rcCategoryPanel.top() + 3, m_rcCategoryPanel.left() + 290,
                        m_rcCategoryPanel.top() + 19);
    case Panel::DayChart:
        return EdgeRect(RightEdge(m_rcDayChartPanel) - 40, m_rcDayChartPanel.top() + 3,
                        RightEdge(m_rcDayChartPanel) - 10, m_rcDayChartPanel.top() + 19);
    case Panel::None:
        break;
    }
    return QRect();
}

QString CQuilletView::ButtonLabel(Panel panel)
{
    switch (panel) {
    case Panel::Account:
    case Panel::Recurring:
        return QStringLiteral("Add/Edit");
    case Panel::Category:
    case Panel::DayChart:
        return QStringLiteral("Edit");
    case Panel::None:
        break;
    }
    return QString();
}

void CQuilletView::ShowLabel(Feedback feedback)
{
    if (m_feedback == feedback)
        return;
    m_feedback = feedback;
    repaint(m_rcButton);
}

void CQuilletView::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    const Panel panel = PanelAt(point);
    if (panel == Panel::None)
        return;
    const QRect button = ButtonRect(panel);
    if (!button.contains(point))
        return;
    m_rcButton = button;
    m_strButton = ButtonLabel(panel);
    m_bButtonDown = true;
    m_feedback = Feedback::None;
    ShowLabel(Feedback::Pressed);
}

void CQuilletView::mouseMoveEvent(QMouseEvent* event)
{
    QWidget::mouseMoveEvent(event);
    if (!m_bButtonDown)
        return;
    // Strictly inside: on the label's left or top edge it looks released.
    const QPoint p = event->position().toPoint();
    const bool inside = p.x() > m_rcButton.left() && p.x() < RightEdge(m_rcButton) && p.y() > m_rcButton.top() &&
                        p.y() < m_rcButton.top() + m_rcButton.height();
    ShowLabel(inside ? Feedback::Pressed : Feedback::Normal);
}

void CQuilletView::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    const bool fire = m_bButtonDown && m_rcButton.contains(point);
    m_bButtonDown = false;
    if (fire) {
        ClickPanel(PanelAt(point));
    } else if (m_feedback != Feedback::None) {
        // Released elsewhere: the label goes back to its normal look.
        ShowLabel(Feedback::None);
    }
}

void CQuilletView::ClickPanel(Panel panel)
{
    ShowLabel(Feedback::Released);
    if (panel != Panel::None && m_strButton == ButtonLabel(panel)) {
        switch (panel) {
        case Panel::Account:
            EditAccounts();
            break;
        case Panel::Recurring:
            EditRecurring();
            break;
        case Panel::Category:
            EditCategoryViewSettings();
            break;
        case Panel::DayChart:
            EditDayChartSettings();
            break;
        case Panel::None:
            break;
        }
    }
    m_feedback = Feedback::None;
    RefreshNow();
}

// ---- keyboard -----------------------------------------------------------------

CQuilletView::Panel CQuilletView::ButtonOf(Stop stop)
{
    switch (stop) {
    case Stop::AccountButton:
        return Panel::Account;
    case Stop::RecurringButton:
        return Panel::Recurring;
    case Stop::DayChartButton:
        return Panel::DayChart;
    case Stop::CategoryButton:
        return Panel::Category;
    default:
        break;
    }
    return Panel::None;
}

CQuilletView::Stop CQuilletView::CurrentStop() const
{
    if (m_pAccountList->hasFocus())
        return Stop::AccountList;
    if (m_pRecurringList->hasFocus())
        return Stop::RecurringList;
    if (hasFocus())
        return m_focusButton;
    return Stop::Count;
}

void CQuilletView::FocusStop(Stop stop)
{
    if (stop == Stop::AccountList || stop == Stop::RecurringList) {
        CXListCtrl* list = stop == Stop::AccountList ? m_pAccountList : m_pRecurringList;
        list->setFocus(Qt::TabFocusReason);
        if (list->GetSelectionMark() < 0)
            MarkFocusedRow(list, 0);
        ScrollTo(list->geometry(), PanelRect(stop == Stop::AccountList ? Panel::Account : Panel::Recurring));
        return;
    }
    m_focusButton = stop;
    setFocus(Qt::TabFocusReason);
    ScrollTo(ButtonRect(ButtonOf(stop)), PanelRect(ButtonOf(stop)));
    update();
}

QRect CQuilletView::PanelRect(Panel panel) const
{
    switch (panel) {
    case Panel::Account:
        return m_rcAccountPanel;
    case Panel::Recurring:
        return m_rcRecurringPanel;
    case Panel::Category:
        return m_rcCategoryPanel;
    case Panel::DayChart:
        return m_rcDayChartPanel;
    case Panel::None:
        break;
    }
    return QRect();
}

void CQuilletView::ScrollTo(const QRect& area, const QRect& panel)
{
    // The view is the scroll area's widget: its coordinates are the
    // scroll bars' values.
    for (QWidget* up = parentWidget(); up; up = up->parentWidget())
        if (auto* scroll = qobject_cast<QScrollArea*>(up)) {
            const QRect whole = panel.united(area);
            const QSize shown = scroll->viewport()->size();
            QScrollBar* across = scroll->horizontalScrollBar();
            QScrollBar* down = scroll->verticalScrollBar();
            across->setValue(ScrollValue(across->value(), shown.width(), area.left(), RightEdge(area), whole.left(),
                                         RightEdge(whole)));
            down->setValue(ScrollValue(down->value(), shown.height(), area.top(), area.top() + area.height(),
                                       whole.top(), whole.top() + whole.height()));
            return;
        }
}

void CQuilletView::MarkFocusedRow(CXListCtrl* list, int row)
{
    row = std::min(row, list->GetItemCount() - 1);
    // The window's focus widget, also while a closing dialog still holds
    // the activation.
    if (row < 0 || list->window()->focusWidget() != list)
        return;
    list->SetItemState(row, CXListCtrl::StateSelected | CXListCtrl::StateFocused,
                       CXListCtrl::StateSelected | CXListCtrl::StateFocused);
    list->EnsureVisible(row);
}

bool CQuilletView::focusNextPrevChild(bool next)
{
    const Stop current = CurrentStop();
    if (current == Stop::Count)
        return QWidget::focusNextPrevChild(next);
    // The stops go round; the recurring list is one only while it has rows.
    const int count = int(Stop::Count);
    int stop = int(current);
    do
        stop = (stop + (next ? 1 : count - 1)) % count;
    while (Stop(stop) == Stop::RecurringList && m_pRecurringList->GetItemCount() == 0);
    FocusStop(Stop(stop));
    return true;
}

void CQuilletView::keyPressEvent(QKeyEvent* event)
{
    const Stop buttons[] = {Stop::AccountButton, Stop::RecurringButton, Stop::DayChartButton, Stop::CategoryButton};
    const int at = int(std::find(std::begin(buttons), std::end(buttons), m_focusButton) - std::begin(buttons));
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: {
        const Panel panel = ButtonOf(m_focusButton);
        m_rcButton = ButtonRect(panel);
        m_strButton = ButtonLabel(panel);
        ClickPanel(panel);
        return;
    }
    case Qt::Key_Left:
    case Qt::Key_Up:
        FocusStop(buttons[(at + 3) % 4]);
        return;
    case Qt::Key_Right:
    case Qt::Key_Down:
        FocusStop(buttons[(at + 1) % 4]);
        return;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void CQuilletView::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void CQuilletView::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

// ---- dialogs ----------------------------------------------------------------

void CQuilletView::EditRegister(const std::string& accountName)
{
    if (!m_pDoc)
        return;
    CRegisterDlg dialog(*m_pHistory, accountName, this);
    const int row = m_pAccountList->GetSelectionMark();
    RunDialog(dialog);
    // Entries may have been changed in place: every balance is read again
    // by the refill, and the pie sums them again.
    m_pDoc->RebuildCategoryTotals();
    m_pAccountList->DeleteAllItems();
    RefreshNow();
    MarkFocusedRow(m_pAccountList, row);
}

void CQuilletView::EditAccounts()
{
    if (!m_pDoc)
        return;
    CAccountsDlg dialog(*m_pHistory, this);
    RunDialog(dialog);
    // A renamed account may have left or joined the category view.
    m_pDoc->RebuildCategoryTotals();
    m_pAccountList->DeleteAllItems();
    RefreshNow();
}

void CQuilletView::EditRecurring()
{
    if (!m_pDoc)
        return;
    CRecurringDlg dialog(*m_pHistory, this);
    RunDialog(dialog);
    m_pRecurringList->DeleteAllItems();
    RefreshNow();
}

void CQuilletView::EditCategoryViewSettings()
{
    if (!m_pDoc)
        return;
    // On OK the dialog itself stores the three settings and rebuilds the
    // category totals; a cancel changes nothing. Repaint either way.
    CCategoryViewDlg dialog(*m_pHistory, this);
    RunDialog(dialog);
    RefreshNow();
}

void CQuilletView::EditDayChartSettings()
{
    if (!m_pDoc)
        return;
    CDayChartDlg dialog(*m_pHistory, this);
    RunDialog(dialog);
    // The lookback is the pie's window too.
    m_pDoc->RebuildCategoryTotals();
    RefreshNow();
}
