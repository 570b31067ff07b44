#include "PasswordDialog.h"

#include "AppValues.h"
#include "Cp1252.h"
#include "DialogIcon.h"
#include "DocChanges.h"
#include "DocHistory.h"
#include "PasswordHash.h"
#include "UserMessage.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{
// What the password does and does not do, in plain words.
const char kPasswordNote[] =
    "The password stops the checkbook from being opened in Quillet without it. The file is not encrypted: "
    "anyone who has the file can read the amounts. File, Encryption... encrypts it.";
}

CPasswordDialog::CPasswordDialog(CDocHistory& history, QWidget* parent) : QDialog(parent), m_history(history)
{
    setWindowTitle("Password Protection");

    m_pEnable = new QCheckBox("Enable Password Protection", this);
    m_pPassword1 = new QLineEdit(this);
    m_pPassword2 = new QLineEdit(this);
    for (QLineEdit* edit : {m_pPassword1, m_pPassword2})
        edit->setEchoMode(QLineEdit::Password);
    auto* label1 = new QLabel("Enter a password:", this);
    auto* label2 = new QLabel("Re-enter the password:", this);
    label1->setBuddy(m_pPassword1);
    label2->setBuddy(m_pPassword2);

    auto* buttons = new QDialogButtonBox(this);
    m_pSet = buttons->addButton("Set", QDialogButtonBox::AcceptRole);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    m_pSet->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CPasswordDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPasswordDialog::reject);
    connect(m_pEnable, &QCheckBox::clicked, this, &CPasswordDialog::OnEnableClicked);

    auto* fields = new QVBoxLayout;
    fields->addWidget(m_pEnable);
    fields->addSpacing(6);
    fields->addWidget(label1);
    fields->addWidget(m_pPassword1);
    fields->addWidget(label2);
    fields->addWidget(m_pPassword2);
    // The file format scrambles its texts but keeps amounts and dates as
    // they are; nobody should take that for encryption.
    auto* note = new QLabel(kPasswordNote, this);
    note->setObjectName("PasswordNote");
    note->setWordWrap(true);
    fields->addSpacing(6);
    fields->addWidget(note);

    LayOutWithIcon(this, fields, buttons);
    setMinimumWidth(340);

    // The old password is never shown: the edits always start empty.
    m_pEnable->setChecked(!g_strPasswordHash.empty());
    OnEnableClicked();
    m_history.AddKeys(this);
}

void CPasswordDialog::OnEnableClicked()
{
    const bool enabled = m_pEnable->isChecked();
    m_pPassword1->setEnabled(enabled);
    m_pPassword2->setEnabled(enabled);
}

void CPasswordDialog::accept()
{
    if (m_pEnable->isChecked()) {
        // The hash is made from Windows-1252 bytes: a character the code
        // page lacks would silently become "?" and weaken the password.
        for (QLineEdit* edit : {m_pPassword1, m_pPassword2}) {
            std::string bytes, bad;
            if (!Utf8ToCp1252(edit->text().toStdString(), bytes, bad)) {
                UserMessage::Show(this, QStringLiteral("Password: Invalid Value.\nA password cannot hold %1. Please "
                                                       "use only letters, digits and signs of Western European "
                                                       "languages.")
                                            .arg(QString::fromStdString(bad)));
                edit->setFocus(Qt::OtherFocusReason);
                edit->selectAll();
                return;
            }
        }
        // The bytes the command line hashes too, so both open the file.
        const std::string first = PasswordBytes(m_pPassword1->text().toStdString());
        const std::string second = PasswordBytes(m_pPassword2->text().toStdString());
        if (first != second) {
            UserMessage::Show(this, "New Passwords do not match.");
            return;
        }
        const std::string hash = MakePasswordHash(first);
        // A hash the library refused would lock the user out of the next save.
        if (hash.empty()) {
            UserMessage::Show(this, "The password could not be set.", UserMessage::Buttons::Ok,
                              UserMessage::Icon::Error);
            return;
        }
        m_history.Apply(std::make_unique<CPasswordChange>(hash));
    } else {
        m_history.Apply(std::make_unique<CPasswordChange>(std::string()));
    }
    QDialog::accept();
}

void SetPasswordDialog(CDocHistory& history, QWidget* parent)
{
    CPasswordDialog dialog(history, parent);
    dialog.exec();
}
