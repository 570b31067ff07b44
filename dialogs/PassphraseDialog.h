#pragma once
// "Encrypted Checkbook": asks for the passphrase of an encrypted file while
// it is being opened. A wrong passphrase may be typed again; Cancel gives up.

#include "SealedCheckbook.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class CPassphraseDialog : public QDialog
{
    Q_OBJECT
public:
    CPassphraseDialog(const QString& fileName, PassphraseAttempt attempt, QWidget* parent = nullptr);

    QLineEdit* PassphraseEdit() const { return m_pPassphrase; }
    QPushButton* OpenButton() const { return m_pOpen; }
    QLabel* ProblemLabel() const { return m_pProblem; }
    // The answer of the last passphrase tried; NoPassphrase when none was.
    SealStatus Status() const { return m_status; }

public slots:
    // Tries the passphrase typed; stays open when it is wrong.
    void accept() override;

private:
    PassphraseAttempt m_attempt;
    QLineEdit* m_pPassphrase;
    QPushButton* m_pOpen;
    QLabel* m_pProblem;
    SealStatus m_status = SealStatus::NoPassphrase;
};

// The text of edit as a secret (its UTF-8 bytes, as the command line takes
// them), the edit emptied.
CSecret TakePassphrase(QLineEdit* edit);

// Runs "Encrypted Checkbook" for the file fileName (its bytes as the file
// system gives them); what a PassphrasePrompt returns.
SealStatus AskPassphrase(QWidget* parent, const std::string& fileName, const PassphraseAttempt& attempt);
