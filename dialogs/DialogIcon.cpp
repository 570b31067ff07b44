#include "DialogIcon.h"

#include <QApplication>
#include <QDialog>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>

QLabel* MakeDialogIcon(QWidget* parent)
{
    auto* label = new QLabel(parent);
    // The application sets its icon at start; a dialog run on its own
    // (tests) simply shows an empty corner.
    const QIcon icon = QApplication::windowIcon();
    if (!icon.isNull())
        label->setPixmap(icon.pixmap(32, 32));
    label->setFixedSize(40, 40);
    label->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    return label;
}

QGridLayout* LayOutWithIcon(QDialog* dialog, QLayout* fields, QWidget* buttons)
{
    auto* grid = new QGridLayout(dialog);
    grid->addWidget(MakeDialogIcon(dialog), 0, 0, Qt::AlignTop | Qt::AlignLeft);
    grid->addLayout(fields, 0, 1);
    grid->addWidget(buttons, 1, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    return grid;
}
