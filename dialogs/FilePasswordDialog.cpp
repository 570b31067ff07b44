#include "FilePasswordDialog.h"

#include "DialogIcon.h"
#include "PasswordHash.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CFilePasswordDialog::CFilePasswordDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Password Protected File");

    m_pPassword = new QLineEdit(this);
    m_pPassword->setEchoMode(QLineEdit::Password);
    auto* label = new QLabel("Enter the password:", this);
    label->setBuddy(m_pPassword);

    auto* buttons = new QDialogButtonBox(this);
    m_pEnter = buttons->addButton("Enter", QDialogButtonBox::AcceptRole);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    m_pEnter->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* fields = new QVBoxLayout;
    fields->addWidget(label);
    fields->addWidget(m_pPassword);

    LayOutWithIcon(this, fields, buttons);
    setMinimumWidth(300);
    m_pPassword->setFocus();
}

bool CheckFilePassword(const std::string& storedHash, const QString& typed)
{
    return CheckPassword(storedHash, PasswordBytes(typed.toStdString()));
}

bool AskFilePassword(QWidget* parent, const std::string& storedHash)
{
    CFilePasswordDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return CheckFilePassword(storedHash, dialog.PasswordEdit()->text());
}
