#pragma once
// The application icon in the top left corner of the small dialogs.

class QLabel;
class QWidget;

QLabel* MakeDialogIcon(QWidget* parent);
