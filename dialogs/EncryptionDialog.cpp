#include "EncryptionDialog.h"

#include "DialogIcon.h"
#include "PassphraseDialog.h"
#include "SealedCheckbook.h"
#include "UserMessage.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{
const char kWhat[] =
    "An encrypted checkbook file shows nothing of what it holds to anyone who does not know the passphrase. "
    "It is written encrypted at the next save, and so are the backups kept beside it.";
const char kWarning[] =
    "If the passphrase is lost, nobody can open this checkbook again, not even with Quillet: there is no way "
    "to recover it. Keep it somewhere safe.";
}

CEncryptionDialog::CEncryptionDialog(bool encrypted, QWidget* parent) : QDialog(parent), m_bWasEncrypted(encrypted)
{
    setWindowTitle("Encryption");

    m_pEncrypt = new QCheckBox("&Encrypt the checkbook file", this);
    m_pPassphrase1 = new QLineEdit(this);
    m_pPassphrase2 = new QLineEdit(this);
    for (QLineEdit* edit : {m_pPassphrase1, m_pPassphrase2})
        edit->setEchoMode(QLineEdit::Password);
    auto* label1 = new QLabel(encrypted ? "&New passphrase:" : "&Passphrase:", this);
    auto* label2 = new QLabel("&Type it again:", this);
    label1->setBuddy(m_pPassphrase1);
    label2->setBuddy(m_pPassphrase2);
    m_pKeepNote = new QLabel("Leave both empty to keep the present passphrase.", this);
    m_pKeepNote->setVisible(encrypted);

    auto* what = new QLabel(kWhat, this);
    auto* warning = new QLabel(kWarning, this);
    warning->setObjectName("EncryptionWarning");
    for (QLabel* note : {m_pKeepNote, what, warning})
        note->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    m_pOk = buttons->addButton(QDialogButtonBox::Ok);
    buttons->addButton(QDialogButtonBox::Cancel);
    m_pOk->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CEncryptionDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CEncryptionDialog::reject);
    connect(m_pEncrypt, &QCheckBox::clicked, this, &CEncryptionDialog::OnEncryptClicked);

    auto* fields = new QVBoxLayout;
    fields->addWidget(m_pEncrypt);
    fields->addSpacing(6);
    fields->addWidget(label1);
    fields->addWidget(m_pPassphrase1);
    fields->addWidget(label2);
    fields->addWidget(m_pPassphrase2);
    fields->addWidget(m_pKeepNote);
    fields->addSpacing(6);
    fields->addWidget(what);
    fields->addWidget(warning);

    LayOutWithIcon(this, fields, buttons);
    setMinimumWidth(380);

    m_pEncrypt->setChecked(encrypted);
    OnEncryptClicked();
}

void CEncryptionDialog::OnEncryptClicked()
{
    const bool on = m_pEncrypt->isChecked();
    m_pPassphrase1->setEnabled(on);
    m_pPassphrase2->setEnabled(on);
    if (on)
        m_pPassphrase1->setFocus();
}

void CEncryptionDialog::accept()
{
    m_bChanged = false;
    m_key.reset();
    if (!m_pEncrypt->isChecked()) {
        m_bChanged = m_bWasEncrypted;
        QDialog::accept();
        return;
    }
    const bool typed = !m_pPassphrase1->text().isEmpty() || !m_pPassphrase2->text().isEmpty();
    if (m_bWasEncrypted && !typed) {
        QDialog::accept();
        return;
    }
    if (m_pPassphrase1->text() != m_pPassphrase2->text()) {
        UserMessage::Show(this, "The two passphrases do not match.");
        return;
    }
    if (!typed) {
        UserMessage::Show(this, "Type a passphrase to encrypt the checkbook with.");
        m_pPassphrase1->setFocus();
        return;
    }
    m_pPassphrase2->clear();
    const CSecret passphrase = TakePassphrase(m_pPassphrase1);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    SealKeyPtr key;
    const SealStatus made = CSealKey::Make(passphrase, key);
    QApplication::restoreOverrideCursor();
    if (made != SealStatus::Ok) {
        UserMessage::Show(this, QString::fromLocal8Bit(SealError(made, std::string()).message.c_str()),
                          UserMessage::Buttons::Ok, UserMessage::Icon::Error);
        return;
    }
    m_key = key;
    m_bChanged = true;
    QDialog::accept();
}

bool ChooseEncryption(QWidget* parent, SealKeyPtr& key)
{
    CEncryptionDialog dialog(key != nullptr, parent);
    if (dialog.exec() != QDialog::Accepted || !dialog.Changed())
        return false;
    key = dialog.Key();
    return true;
}
