#pragma once
// The application icon in the top left corner of the small dialogs.

class QDialog;
class QGridLayout;
class QLabel;
class QLayout;
class QWidget;

QLabel* MakeDialogIcon(QWidget* parent);

// The small dialogs' layout: the icon, the fields beside it, the buttons
// below both; the fields take the width.
QGridLayout* LayOutWithIcon(QDialog* dialog, QLayout* fields, QWidget* buttons);
