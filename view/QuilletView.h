#pragma once
// The dashboard: the main window's painted view of the open checkbook.

#include <QWidget>

#include <string>

class CQuilletDoc;

class CQuilletView : public QWidget
{
    Q_OBJECT
public:
    explicit CQuilletView(QWidget* parent = nullptr);

    void SetDocument(CQuilletDoc* doc);
    CQuilletDoc* GetDocument() const { return m_pDoc; }

    // The document was replaced, loaded or changed outside the view:
    // refill and repaint.
    void OnDocumentChanged();

    // Dialogs opened from the dashboard's buttons and lists.
    void EditRegister(const std::string& accountName);
    void EditAccounts();
    void EditRecurring();
    void EditCategoryViewSettings();
    void EditDayChartSettings();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CQuilletDoc* m_pDoc = nullptr;
};
