#pragma once
// "Add/Edit Recurring": lists the document's recurring transactions and
// creates, changes and deletes them. A deposit is stored with a negative
// amount; the dialog shows the magnitude and the "Deposit" box. Creating
// and deleting mark the document modified, changing one does not.

#include "Time.h"

#include <QDialog>
#include <QStringList>

class CDocHistory;
class CQuilletDoc;
class CRecurringTransaction;
class CXListCtrl;
class QCheckBox;
class CDateField;
class QComboBox;
class QLineEdit;

class CRecurringDlg : public QDialog
{
    Q_OBJECT
public:
    // Changes go through history, which holds the document.
    explicit CRecurringDlg(CDocHistory& history, QWidget* parent = nullptr);

    CXListCtrl* List() const { return m_list; }
    // The transaction whose fields are loaded for editing, if any.
    const CRecurringTransaction* EditedRecurring() const { return m_pEditRecurring; }
    bool IsNewMode() const { return m_bNew; }

    // The periods text holds a plain integer exactly as "%d" writes it.
    static bool IsPeriodsNumber(const QString& text);

public slots:
    void accept() override;

private:
    void FillChoices();
    void FillList();
    // After an undo or redo: the list, the choices and the fields follow
    // the document.
    void OnDocumentChanged();
    QStringList FieldTexts() const;
    void AddRow(int row, const CRecurringTransaction& record);
    void PrepareNew();
    void LoadRow(int row);
    void OnSave();
    void OnDelete();
    void OnCategoryChosen(int index);

    CDocHistory& m_history;
    CQuilletDoc* m_pDoc;
    CXListCtrl* m_list;
    QComboBox* m_accountCombo;
    CDateField* m_startDate;
    QLineEdit* m_amountEdit;
    QCheckBox* m_depositCheck;
    QLineEdit* m_descriptionEdit;
    QComboBox* m_categoryCombo;
    QComboBox* m_flagCombo;
    QComboBox* m_frequencyCombo;
    QComboBox* m_periodsCombo;

    // The time of day the start date carries along (now, or the loaded
    // transaction's), since the picker shows only the date.
    CTime m_startTime;
    int m_nRecurringCount = 0;
    CRecurringTransaction* m_pEditRecurring = nullptr;
    bool m_bNew = false;
    QStringList m_shown;  // the field texts as the transaction was loaded
};
