#include "DialogIcon.h"

#include <QApplication>
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
