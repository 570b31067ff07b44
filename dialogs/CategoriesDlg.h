#pragma once
// "Define Categories": the document's sorted category list with each
// category's default flag. Insert adds a category at its sorted place (a
// name that exists already is refused), Modify gives the selected category
// the chosen flag, Delete removes the selected one. Changes go into the
// list at once and mark the document modified.

#include <QDialog>

#include <string>

class CCategory;
class CDocHistory;
class CQuilletDoc;
class CXListCtrl;
class QComboBox;
class QLineEdit;

class CCategoriesDlg : public QDialog
{
    Q_OBJECT
public:
    // Changes go through history, which holds the document.
    explicit CCategoriesDlg(CDocHistory& history, QWidget* parent = nullptr);

    CXListCtrl* List() const { return m_list; }

private:
    void FillList();
    void SelectRow(int row);
    CCategory* SelectedCategory() const;
    int FindRow(const std::string& name) const;
    void LoadRow(int row);
    void OnInsert();
    void OnModify();
    void OnDelete();
    // After an undo or redo: the list follows the document.
    void OnDocumentChanged();

    CDocHistory& m_history;
    CQuilletDoc* m_pDoc;
    CXListCtrl* m_list;
    QLineEdit* m_nameEdit;
    QComboBox* m_flagCombo;
    int m_nCategoryCount = 0;
};
