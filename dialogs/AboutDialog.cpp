#include "AboutDialog.h"

#include "AppValues.h"
#include "DialogIcon.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CAboutDialog::CAboutDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("About Quillet");

    auto* name = new QLabel("Quillet", this);
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    auto* version = new QLabel(QString::fromStdString(g_strVersion), this);
    auto* purpose = new QLabel("This program can help you maintain and balance your checkbook.", this);
    for (QLabel* label : {name, version, purpose})
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText("OK");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(version);
    texts->addSpacing(8);
    texts->addWidget(purpose);

    auto* grid = new QGridLayout(this);
    grid->addWidget(MakeDialogIcon(this), 0, 0, Qt::AlignTop | Qt::AlignLeft);
    grid->addLayout(texts, 0, 1);
    grid->addWidget(buttons, 1, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}
