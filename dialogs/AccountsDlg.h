#pragma once
// "Add/Edit Accounts": lists the document's accounts and creates, changes
// and deletes them. Changes reach the document at Save and Delete; OK only
// closes. Adding or changing an account leaves the document's modified
// flag alone; deleting one sets it.

#include <QDialog>

#include <string>

class CAccount;
class CQuilletDoc;
class CXListCtrl;
class QLineEdit;
class QPushButton;

class CAccountsDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CAccountsDlg(CQuilletDoc* doc, QWidget* parent = nullptr);

    CXListCtrl* List() const { return m_list; }

public slots:
    void accept() override;

private:
    void FillList();
    void PrepareNewAccount();
    void LoadRow(int row);
    void OnDelete();
    void OnSave();
    void ShowAccount(const CAccount* account);
    bool IsNameTaken(const std::string& name) const;
    // Recurring transactions, the day chart and the category view refer to
    // an account by name; a rename takes them along.
    void RenameReferences(const std::string& oldName, const std::string& newName);

    CQuilletDoc* m_pDoc;
    CXListCtrl* m_list;
    QLineEdit* m_nameEdit;
    QLineEdit* m_balanceEdit;
    QLineEdit* m_numberEdit;
    QLineEdit* m_institutionEdit;
    QLineEdit* m_ownerEdit;
    QLineEdit* m_taxIdEdit;

    int m_nAccountCount = 0;
    int m_nEditIndex = -1;
    CAccount* m_pEditAccount = nullptr;
    bool m_bNewAccount = false;
};
