#pragma once
// "Encryption": turns the encryption of the checkbook file on (with a new
// passphrase typed twice), changes its passphrase, or turns it off. The
// dialog works out the new key itself, so the passphrase is wiped as soon
// as it is done with; the file is written encrypted at the next save.

#include "SealedFile.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class CEncryptionDialog : public QDialog
{
    Q_OBJECT
public:
    // encrypted: whether the checkbook is encrypted now.
    explicit CEncryptionDialog(bool encrypted, QWidget* parent = nullptr);

    QCheckBox* EncryptBox() const { return m_pEncrypt; }
    QLineEdit* FirstPassphraseEdit() const { return m_pPassphrase1; }
    QLineEdit* SecondPassphraseEdit() const { return m_pPassphrase2; }
    QPushButton* OkButton() const { return m_pOk; }

    // After OK: whether the encryption changed, and the new key (null: the
    // checkbook is to be saved without encryption).
    bool Changed() const { return m_bChanged; }
    const SealKeyPtr& Key() const { return m_key; }

public slots:
    void OnEncryptClicked();
    // Checks the passphrases and works out the new key.
    void accept() override;

private:
    bool m_bWasEncrypted;
    bool m_bChanged = false;
    SealKeyPtr m_key;
    QCheckBox* m_pEncrypt;
    QLineEdit* m_pPassphrase1;
    QLineEdit* m_pPassphrase2;
    QLabel* m_pKeepNote;
    QPushButton* m_pOk;
};

// Runs "Encryption" on the key the checkbook has (null: not encrypted).
// True when the user changed it; key is then the new one.
bool ChooseEncryption(QWidget* parent, SealKeyPtr& key);
