#pragma once
// "Registry Editor": one account's register with its running balance, and
// the editor in which the user adds, changes, clears, voids and deletes
// entries. Entries are changed in the document as soon as they are saved.

#include "Time.h"
#include "XListCtrl.h"

#include <QDialog>
#include <QStringList>

#include <string>
#include <vector>

class CAccount;
class CDescriptionEdit;
class CDocHistory;
class CQuilletDoc;
class CTransaction;
class QCheckBox;
class CDateField;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The dialog writes its own entry rows when the list first needs them.
class CRegisterDlg : public QDialog, private CXListRowSource
{
    Q_OBJECT
public:
    // Changes go through history, which holds the document.
    CRegisterDlg(CDocHistory& history, const std::string& accountName, QWidget* parent = nullptr);
    ~CRegisterDlg() override;

    // List columns.
    enum Column
    {
        ColDate,
        ColCheckNumber,
        ColDescription,
        ColAmount,
        ColCleared,
        ColFee,
        ColDeposit,
        ColAvailable,
        ColumnCount
    };

    CXListCtrl* List() const { return m_list; }
    bool IsNewEntryMode() const { return m_bNewEntry; }
    bool IsMultiSelectionMode() const { return m_bMultiSelection; }
    const CTransaction* EditedEntry() const { return m_pEditEntry; }

    void accept() override;
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What the editor fields hold.
    struct EntryValues
    {
        CTime date;
        QString checkNumber;
        double amount = 0.0;
        bool deposit = false;
        QString description;
        QString category;
        int flag = 0;  // kNoChange in multi-selection mode
        double fee = 0.0;
        int cleared = 0;  // 0, 1, or kUndecided
        int isVoid = 0;
    };
    static constexpr int kUndecided = -1;
    static constexpr int kNoChange = 11;  // index of "No Change" in the flag selector

    void BuildLayout();
    void FillCategories();
    void SetColumnWidths();
    CAccount* Account() const;
    // The account's position and an entry's position in its register; -1
    // when the document no longer holds it.
    int AccountPosition() const;
    int EntryPosition(const CTransaction* entry) const;
    // After an undo or redo: the list and the editor follow the document.
    void OnDocumentChanged();

    void FillList();
    void AddOpeningRow();
    int AddEntryRow(int row, CTransaction* entry, double balance);
    // Writes an entry's cells; balanceText null keeps the Available cell.
    void WriteEntryRow(int row, const CTransaction& entry, const QString* balanceText);
    // The rows FillList leaves to the list, item i for the i-th entry.
    void WriteRow(CXListCtrl& list, int row, int item) override;
    QString CellText(int item, int column) const override;
    quintptr ItemData(int item) const override;
    bool HasCheckBox(int column) const override { return column == ColCleared; }
    void ShowBankBalance();
    void SelectRow(int row);

    void ShowValues(const EntryValues& values);
    bool ReadValues(EntryValues& values);
    QStringList FieldTexts() const;

    void OnAddEntry();
    void OnDeleteEntry();
    void OnSaveEntry();
    void SaveNewEntry(const EntryValues& values);
    void SaveSelectedEntries(const EntryValues& values);
    void SaveEditedEntry(const EntryValues& values);
    void OnListClick(int row, int column, Qt::KeyboardModifiers modifiers);
    void LoadSelectedRow();
    void LoadRow(int row);
    void ToggleCleared(int row);
    void EnterMultiSelection();
    void LeaveMultiSelection();
    void OnCategoryChosen();
    void OnDescriptionCompleted(const QString& category, int flag, bool descriptionCompleted);

    CDocHistory& m_history;
    CQuilletDoc* m_pDoc;
    std::string m_strAccount;
    // The entries the list was last filled with and the balance after each.
    std::vector<CTransaction*> m_rowEntries;
    std::vector<double> m_rowBalances;

    bool m_bNewEntry = false;
    bool m_bMultiSelection = false;
    CTransaction* m_pEditEntry = nullptr;  // the entry loaded for editing
    CTime m_editorTime;                    // time of day behind the date picker
    bool m_bShowing = false;               // the program is filling the fields
    QStringList m_shown;                   // the field texts as last filled in

    QWidget* m_header = nullptr;
    CXListCtrl* m_list = nullptr;
    QLabel* m_bankBalance = nullptr;
    CDateField* m_date = nullptr;
    QLineEdit* m_checkNumber = nullptr;
    QLineEdit* m_amount = nullptr;
    QCheckBox* m_deposit = nullptr;
    CDescriptionEdit* m_description = nullptr;
    QComboBox* m_category = nullptr;
    QComboBox* m_flag = nullptr;
    QLineEdit* m_fee = nullptr;
    QCheckBox* m_cleared = nullptr;
    QCheckBox* m_void = nullptr;
    QPushButton* m_addButton = nullptr;
    QPushButton* m_deleteButton = nullptr;
    QPushButton* m_saveButton = nullptr;
    QPushButton* m_okButton = nullptr;
};
