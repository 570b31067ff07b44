#pragma once
// "Password Protected File": asks for the password while a protected file
// is being opened.

#include <QDialog>

#include <string>

class QLineEdit;
class QPushButton;

class CFilePasswordDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CFilePasswordDialog(QWidget* parent = nullptr);

    QLineEdit* PasswordEdit() const { return m_pPassword; }
    QPushButton* EnterButton() const { return m_pEnter; }

private:
    QLineEdit* m_pPassword;
    QPushButton* m_pEnter;
};

// Whether the typed password hashes to storedHash. Never true for a hash
// that is not a usable 13-character crypt hash.
bool CheckFilePassword(const std::string& storedHash, const QString& typed);

// Shows the prompt once; true only when "Enter" was pressed with the right
// password.
bool AskFilePassword(QWidget* parent, const std::string& storedHash);
