#pragma once
// "Balance Books": a read-only overview of every account's balance and
// bank (cleared) balance, accounts sharing an account number grouped with
// a "Summary" row, and the two grand totals.

#include <QDialog>

class CDocHistory;
class CQuilletDoc;
class CXListCtrl;
class QLabel;

class CBalanceBooksDlg : public QDialog
{
    Q_OBJECT
public:
    // Shows history's document, and follows it through undo and redo.
    explicit CBalanceBooksDlg(CDocHistory& history, QWidget* parent = nullptr);

    CXListCtrl* List() const { return m_list; }
    QString BalanceTotalText() const;
    QString BankTotalText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fill();
    void AlignTotals();

    CQuilletDoc* m_pDoc;
    CXListCtrl* m_list;
    QLabel* m_balanceTotal;
    QLabel* m_bankTotal;
    QWidget* m_totalsGap;
};
