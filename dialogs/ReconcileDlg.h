#pragma once
// "Reconsile Accounts": ticks an account's entries off against a bank
// statement. Each click on a "C" box changes the entry's cleared mark in
// the document at once; the dialog shows the bank balance and how far it
// is from the statement balance the user types.

#include "XListCtrl.h"

#include <QDialog>

#include <string>
#include <vector>

class CDocHistory;
class CQuilletDoc;
class CTransaction;
class QComboBox;
class QLabel;
class QLineEdit;

// The dialog writes its own entry rows when the list first needs them.
class CReconcileDlg : public QDialog, private CXListRowSource
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
    // The rows of the entries FillList took, item i for the i-th.
    void WriteRow(CXListCtrl& list, int row, int item) override;
    QString CellText(int item, int column) const override;
    quintptr ItemData(int item) const override;
    bool HasCheckBox(int column) const override { return column == ColCleared; }
    // After an undo or redo: the accounts and the list follow the document.
    void OnDocumentChanged();
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
    std::vector<CTransaction*> m_rowEntries;
    double m_dBankBalance = 0.0;
};
