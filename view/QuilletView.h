#pragma once
// The dashboard: the main window's painted view of the open checkbook.
// Four panels at fixed positions (accounts, recurring transactions due
// soon, the day chart and the category pie), painted buttons that open the
// editors, and two grid lists that hold the account and recurring rows.

#include <QRect>
#include <QString>
#include <QWidget>

#include <memory>
#include <string>

class CDocHistory;
class CQuilletDoc;
class CXListCtrl;
struct CPrintInfo;
class QDialog;
class QPainter;

class CQuilletView : public QWidget
{
    Q_OBJECT
public:
    explicit CQuilletView(QWidget* parent = nullptr);
    ~CQuilletView() override;

    // The document and the history its changes go through; a view given
    // no history (a view of its own, as tests make) keeps one for itself.
    void SetDocument(CQuilletDoc* doc, CDocHistory* history = nullptr);
    CQuilletDoc* GetDocument() const { return m_pDoc; }
    CDocHistory* GetHistory() const { return m_pHistory; }

    // The document was replaced, loaded or changed outside the view:
    // refill and repaint.
    void OnDocumentChanged();
    // A new or opened document: both lists are emptied and refilled by the
    // next paint.
    void OnInitialUpdate();

    // Dialogs opened from the dashboard's buttons and lists; each refreshes
    // the view afterwards.
    void EditRegister(const std::string& accountName);
    void EditAccounts();
    void EditRecurring();
    void EditCategoryViewSettings();
    void EditDayChartSettings();

    // Paints the four panels in their fixed places, logical units = pixels.
    // Also places and refills the two lists, so call it for the screen and
    // for a printed page alike.
    void PaintDashboard(QPainter& painter);

    // Printing (DashboardPrinter.cpp). OnPrepareDC scales the logical units
    // to the painter's device; OnPrint paints the page: the header, the
    // panels under it and the two lists' rows.
    void OnPrepareDC(QPainter& painter) const;
    void OnPrint(QPainter& painter, CPrintInfo& info, const QString& title);
    // The title at the left, today's date at the right and a rule under
    // them; moves the printable area's top below the header.
    void PrintPageHeader(QPainter& painter, CPrintInfo& info, const QString& title) const;

    CXListCtrl* AccountList() const { return m_pAccountList; }
    CXListCtrl* RecurringList() const { return m_pRecurringList; }
    QRect AccountPanel() const { return m_rcAccountPanel; }
    QRect RecurringPanel() const { return m_rcRecurringPanel; }
    QRect DayChartPanel() const { return m_rcDayChartPanel; }
    QRect CategoryPanel() const { return m_rcCategoryPanel; }

    QSize sizeHint() const override;
    // Everything the last paint placed: a smaller window scrolls.
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Every dialog of the view runs through here (tests answer it).
    virtual int RunDialog(QDialog& dialog);

private:
    enum class Panel
    {
        None,
        Account,
        Recurring,
        Category,
        DayChart,
    };
    // How the pressed label is shown until the next full repaint.
    enum class Feedback
    {
        None,
        Pressed,
        Normal,
        Released,
    };

    void DrawAccountPanel(QPainter& painter);
    void DrawRecurringPanel(QPainter& painter);
    void DrawDayChart(QPainter& painter);
    void DrawCategoryPanel(QPainter& painter);

    void FillAccountList();
    void FillRecurringList();
    void PlaceList(CXListCtrl* list, const QRect& geometry);
    void CreateLists();

    void OnAccountListClick(int row, int column);
    void OnRecurringListClick(int row, int column);

    Panel PanelAt(const QPoint& point) const;
    QRect ButtonRect(Panel panel) const;
    static QString ButtonLabel(Panel panel);
    void ShowLabel(Feedback feedback);
    void ClickPanel(Panel panel);

    // Keyboard: Tab walks the painted buttons and the lists in the panels'
    // order; Enter or Space on a button does what its click does.
    enum class Stop
    {
        AccountButton,
        AccountList,
        RecurringButton,
        RecurringList,
        DayChartButton,
        CategoryButton,
        Count,
    };
    Stop CurrentStop() const;
    void FocusStop(Stop stop);
    // Brings area, a part of panel, into sight in a window smaller than the
    // panels: the whole panel where it fits, else its left and top edges
    // with as much of area as fits.
    void ScrollTo(const QRect& area, const QRect& panel);
    QRect PanelRect(Panel panel) const;
    static Panel ButtonOf(Stop stop);
    // Selects a row of a list that has the window's focus, so its mark shows.
    static void MarkFocusedRow(CXListCtrl* list, int row);
    bool ListKey(CXListCtrl* list, QKeyEvent* event);
    // Invalidate the whole view and repaint it at once.
    void RefreshNow();

    CQuilletDoc* m_pDoc = nullptr;
    CDocHistory* m_pHistory = nullptr;
    std::unique_ptr<CDocHistory> m_ownHistory;

    bool m_bButtonDown = false;
    QRect m_rcButton;
    QString m_strButton;
    Feedback m_feedback = Feedback::None;
    Stop m_focusButton = Stop::AccountButton;  // the button the view's own focus is on
    QSize m_extent;

    QRect m_rcAccountPanel;
    QRect m_rcRecurringPanel;
    QRect m_rcCategoryPanel;
    QRect m_rcDayChartPanel;

    CXListCtrl* m_pAccountList = nullptr;
    CXListCtrl* m_pRecurringList = nullptr;
    bool m_bListsCreated = false;
};
