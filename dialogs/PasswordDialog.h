#pragma once
// "Password Protection": switches the document's password on (with a new
// password) or off. Works on the application-wide hash, as a step of the
// document's history; the new hash reaches the file at the next save.

#include <QDialog>

class CDocHistory;
class QCheckBox;
class QLineEdit;
class QPushButton;

class CPasswordDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CPasswordDialog(CDocHistory& history, QWidget* parent = nullptr);

    QCheckBox* EnableBox() const { return m_pEnable; }
    QLineEdit* FirstPasswordEdit() const { return m_pPassword1; }
    QLineEdit* SecondPasswordEdit() const { return m_pPassword2; }
    QPushButton* SetButton() const { return m_pSet; }

public slots:
    void OnEnableClicked();
    // "Set": checks the two passwords and stores the new hash.
    void accept() override;

private:
    CDocHistory& m_history;
    QCheckBox* m_pEnable;
    QLineEdit* m_pPassword1;
    QLineEdit* m_pPassword2;
    QPushButton* m_pSet;
};

// Runs "Password Protection" modally.
void SetPasswordDialog(CDocHistory& history, QWidget* parent);
