#pragma once
// "Import Statement": a bank statement (CSV, QIF, OFX or QFX) shown line by
// line before anything lands in a register. New lines are ticked; lines
// already in the register, repeated or unreadable are greyed and unticked.
// "Import" adds the ticked lines as one change; Cancel changes nothing.

#include "StatementImport.h"

#include <QDialog>
#include <QString>

#include <string>

class CDocHistory;
class CQuilletDoc;
class CXListCtrl;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

class CImportStatementDlg : public QDialog
{
    Q_OBJECT
public:
    // Reads the file at path; whether it can be shown at all is
    // IsReadable(), and Problem() then says why not.
    CImportStatementDlg(CDocHistory& history, const QString& path, QWidget* parent = nullptr);
    ~CImportStatementDlg() override;

    // Runs the whole command on a chosen file: refusals are told to the
    // user naming the file. True when entries were added.
    static bool ImportFile(CDocHistory& history, const QString& path, QWidget* parent);

    enum Column
    {
        ColImport,
        ColDate,
        ColCheckNumber,
        ColDescription,
        ColAmount,
        ColStatus,
        ColumnCount
    };

    bool IsReadable() const { return m_problem.isEmpty(); }
    QString Problem() const { return m_problem; }
    CXListCtrl* List() const { return m_list; }
    QString Format() const { return QString::fromStdString(m_format); }
    // The account the ticked lines go to.
    std::string AccountName() const;
    int AddedCount() const { return m_nAdded; }

    // "Import": adds the ticked lines and says how many.
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildLayout();
    void FillAccounts();
    // After an undo or redo: planned again against the register as it is.
    void OnDocumentChanged();
    void FillCsvColumnChoices();
    void ChooseAccount();
    void GuessDateOrder();
    CsvColumns ChosenColumns() const;
    DateOrder ChosenOrder() const;
    Statement ReadStatement(DateOrder order) const;
    // Reads the statement again with the choices made, then Refresh().
    void Reread();
    // The same after a change of the CSV columns.
    void RereadColumns();
    // Plans against the chosen account's register and refills the list.
    void Refresh();
    void UpdateImportButton();
    // The current line's whole description and status, which the list
    // may have to cut.
    void ShowLineDetail();

    CDocHistory& m_history;
    CQuilletDoc* m_pDoc;
    QString m_fileName;
    std::string m_bytes;
    std::string m_format;
    Statement m_statement;
    QString m_problem;
    int m_nAdded = 0;

    QLabel* m_sourceText = nullptr;
    QComboBox* m_comboAccount = nullptr;
    QWidget* m_csvBox = nullptr;
    QCheckBox* m_headerCheck = nullptr;
    QComboBox* m_columnCombos[5] = {};
    QComboBox* m_comboOrder = nullptr;
    CXListCtrl* m_list = nullptr;
    QLabel* m_summaryText = nullptr;
    QLabel* m_detailText = nullptr;
    QLabel* m_orderLabel = nullptr;
    QPushButton* m_importButton = nullptr;
};
