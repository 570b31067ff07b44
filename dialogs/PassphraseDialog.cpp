#include "PassphraseDialog.h"

#include "DialogIcon.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CPassphraseDialog::CPassphraseDialog(const QString& fileName, PassphraseAttempt attempt, QWidget* parent)
    : QDialog(parent), m_attempt(std::move(attempt))
{
    setWindowTitle("Encrypted Checkbook");

    m_pPassphrase = new QLineEdit(this);
    m_pPassphrase->setEchoMode(QLineEdit::Password);
    auto* name = new QLabel(QString("\"%1\" is encrypted.").arg(fileName), this);
    name->setWordWrap(true);
    auto* label = new QLabel("Enter its &passphrase:", this);
    label->setBuddy(m_pPassphrase);
    m_pProblem = new QLabel("The passphrase is not correct. Try again.", this);
    m_pProblem->setObjectName("PassphraseProblem");
    // Its room is kept, so that the dialog need not grow when it shows.
    QSizePolicy policy = m_pProblem->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    m_pProblem->setSizePolicy(policy);
    m_pProblem->hide();

    auto* buttons = new QDialogButtonBox(this);
    m_pOpen = buttons->addButton("&Open", QDialogButtonBox::AcceptRole);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    m_pOpen->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CPassphraseDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPassphraseDialog::reject);

    auto* fields = new QVBoxLayout;
    fields->addWidget(name);
    fields->addWidget(label);
    fields->addWidget(m_pPassphrase);
    fields->addWidget(m_pProblem);

    LayOutWithIcon(this, fields, buttons);
    setMinimumWidth(340);
    m_pPassphrase->setFocus();
}

void CPassphraseDialog::accept()
{
    const CSecret passphrase = TakePassphrase(m_pPassphrase);
    // Working out the key takes about a second.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_status = m_attempt ? m_attempt(passphrase) : SealStatus::NoPassphrase;
    QApplication::restoreOverrideCursor();
    if (m_status == SealStatus::WrongPassphrase) {
        m_pProblem->show();
        m_pPassphrase->setFocus();
        return;
    }
    QDialog::accept();
}

CSecret TakePassphrase(QLineEdit* edit)
{
    QByteArray bytes = edit->text().toUtf8();
    CSecret secret(bytes.constData(), size_t(bytes.size()));
    WipeBytes(bytes.data(), size_t(bytes.size()));
    edit->clear();
    return secret;
}

SealStatus AskPassphrase(QWidget* parent, const std::string& fileName, const PassphraseAttempt& attempt)
{
    CPassphraseDialog dialog(QFile::decodeName(QByteArray::fromStdString(fileName)), attempt, parent);
    dialog.exec();
    return dialog.Status();
}
