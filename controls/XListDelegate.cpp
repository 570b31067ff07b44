#include "XListDelegate.h"

#include "XListCtrl.h"

#include <QPainter>

CXListDelegate::CXListDelegate(CXListCtrl* list) : QStyledItemDelegate(list), m_pList(list) {}

void CXListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    painter->save();
    painter->setFont(option.font);
    m_pList->PaintCell(*painter, option.rect, index.row(), index.column(),
                       option.state.testFlag(QStyle::State_Selected));
    // The keyboard's cell, while the list has the focus.
    if (option.state.testFlag(QStyle::State_HasFocus)) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = option.rect.adjusted(1, 1, -2, -2);
        m_pList->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, m_pList);
    }
    painter->restore();
}
