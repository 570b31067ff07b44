#include "ListKeyboard.h"

#include "XListCtrl.h"

void OnRowWalkedTo(CXListCtrl* list, std::function<void(int row)> load)
{
    QObject::connect(list, &CXListCtrl::rowWalked, list,
                     [load = std::move(load)](int row, Qt::KeyboardModifiers) { load(row); });
}

void OnRowWalkedTo(CXListCtrl* list, std::function<void(int row, Qt::KeyboardModifiers modifiers)> load)
{
    QObject::connect(list, &CXListCtrl::rowWalked, list, std::move(load));
}
