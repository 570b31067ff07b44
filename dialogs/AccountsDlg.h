#pragma once
// "Add/Edit Accounts": lists the document's accounts and creates, changes
// and deletes them. Changes reach the document at Save and Delete. Typed
// changes that were not saved are never dropped without a question: not by
// "Add Account", a click on another account, OK, Enter or closing.

#include <QDialog>
#include <QStringList>

#include <string>

class CAccount;
class CDocHistory;
class CQuilletDoc;
class CXListCtrl;
class QLineEdit;
class QPushButton;

class CAccountsDlg : public QDialog
{
    Q_OBJECT
public:
    // Changes go through history, which holds the document.
    explicit CAccountsDlg(CDocHistory& history, QWidget* parent = nullptr);

    CXListCtrl* List() const { return m_list; }
    // The account whose fields are loaded for editing, if any.
    const CAccount* EditedAccount() const { return m_pEditAccount; }
    bool IsNewAccountMode() const { return m_bNewAccount; }

public slots:
    void done(int result) override;

private:
    void FillList();
    int BlankRow() const;
    void OnAddAccount();
    void PrepareNewAccount();
    // The blank row that stands for the account being created, selected.
    void ShowBlankRow();
    // After an undo or redo: the list and the fields follow the document.
    void OnDocumentChanged();
    void OnRowChosen(int row);
    void LoadRow(int row);
    void OnDelete();
    bool Save();
    void ShowAccount(const CAccount* account);
    QStringList FieldTexts() const;
    bool HasUnsavedChanges() const { return FieldTexts() != m_shown; }
    // Asks whether to save typed changes before they are replaced; false
    // when the user cancels or the save is refused.
    bool ConfirmLeavingFields();
    bool IsNameTaken(const std::string& name) const;

    CDocHistory& m_history;
    CQuilletDoc* m_pDoc;
    CXListCtrl* m_list;
    QLineEdit* m_nameEdit;
    QLineEdit* m_balanceEdit;
    QLineEdit* m_numberEdit;
    QLineEdit* m_institutionEdit;
    QLineEdit* m_ownerEdit;
    QLineEdit* m_taxIdEdit;

    int m_nAccountCount = 0;
    CAccount* m_pEditAccount = nullptr;
    bool m_bNewAccount = false;
    QStringList m_shown;  // the field texts as last loaded or saved
};
