#pragma once
// "Reconsile Accounts": ticks an account's entries off against a bank
// statement. Each click on a "C" box changes the entry's cleared mark in
// the document at once; the dialog shows the bank balance and how far it
// is from the statement balance the user types.

#include <QDialog>

#include <string>

class CDocHistory;
class CQuilletDoc;
class CTransaction;
class CXListCtrl;
class QComboBox;
class QLabel;
class QLineEdit;

class CReconcileDlg : public QDialog
{
    Q_OBJECT
public:
    // Ticks go through history, which holds the document.
    explicit CReconcileDlg(CDocHistory& history, QWidget* parent = nullptr);
    ~CReconcileDlg() override;

    enum Column
    {
        ColDate,
        ColCheckNumber,
        ColDescription,
        ColCategory,
        ColAmount,
        ColCleared,
        ColFee,
        ColDeposit,
        ColumnCount
    };

    CXListCtrl* List() const { return m_list; }
    double StatementBalance() const { return m_dStatementBalance; }

    // Closes only when the statement balance field holds a number.
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildLayout();
    void SetColumnWidths();
    void FillAccounts();
    void FillList();
    // After an undo or redo: the accounts and the list follow the document.
    void OnDocumentChanged();
    void AddRow(const CTransaction& t);
    void ComputeBankBalance();
    void ShowBalances();
    void ToggleCleared(int row);

    void OnAccountCloseUp(int index);
    void OnStatementChange(const QString& text);
    void OnListClick(int row, int column);

    CDocHistory& m_history;
    CQuilletDoc* m_pDoc;
    CXListCtrl* m_list = nullptr;
    QComboBox* m_comboAccount = nullptr;
    QLabel* m_bankBalanceText = nullptr;
    QLabel* m_differenceText = nullptr;
    QLineEdit* m_statementEdit = nullptr;
    QString m_strBankBalance;
    QString m_strDifference;
    double m_dStatementBalance = 0.0;
    std::string m_strSelectedAccount;
    int m_nRows = 0;
    double m_dBankBalance = 0.0;
};
