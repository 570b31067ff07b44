#pragma once
// Lets a dialog load the row the user walks to with the arrow keys, the
// way a click loads it. Only key presses count: the list taking the focus
// or the dialog selecting a row itself calls nothing.

#include <Qt>

#include <functional>

class CXListCtrl;

void OnRowWalkedTo(CXListCtrl* list, std::function<void(int row)> load);
// As above, told the modifier keys of the walk (Shift extends the selection).
void OnRowWalkedTo(CXListCtrl* list, std::function<void(int row, Qt::KeyboardModifiers modifiers)> load);
