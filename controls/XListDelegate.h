#pragma once
// Paints every cell of a CXListCtrl through the list's own cell painter,
// so screen and print share one drawing path.

#include <QStyledItemDelegate>

class CXListCtrl;

class CXListDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit CXListDelegate(CXListCtrl* list);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    CXListCtrl* m_pList;
};
