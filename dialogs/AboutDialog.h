#pragma once
// "About Quillet": name, version and what the program is for.

#include <QDialog>

class CAboutDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CAboutDialog(QWidget* parent = nullptr);
};
