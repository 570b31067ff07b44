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
    painter->restore();
}
