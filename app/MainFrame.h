#pragma once
// The main window: menus, toolbar, status bar and the dashboard view of the
// open checkbook. It owns no document; the session does.

#include <QHash>
#include <QMainWindow>

#include <functional>

class CDocSession;
class CQuilletView;
class QAction;
class QLabel;
class QMenu;
class QPrinter;

class CMainFrame : public QMainWindow
{
    Q_OBJECT
public:
    explicit CMainFrame(CDocSession& session, QWidget* parent = nullptr);

    CQuilletView* GetView() const { return m_pView; }
    CDocSession& Session() const { return m_session; }
    // The action of a command id (Commands.h); null for unknown ids.
    QAction* CommandAction(int id) const { return m_actions.value(id); }
    QToolBar* ToolBar() const { return m_wndToolBar; }
    QLabel* MessagePane() const { return m_pMessagePane; }
    QLabel* IndicatorPane(int index) const { return m_indicators[index]; }

    // The printer the print commands use, with the user's page setup; the
    // application owns it.
    using PrinterSource = std::function<QPrinter&()>;
    void SetPrinterSource(PrinterSource source) { m_printerSource = std::move(source); }
    // Writes the printed page to a PDF file laid out as the printer's page;
    // a failure is reported to the user. The PDF file dialog is replaceable
    // so tests never block.
    bool ExportPdf(const QString& path);
    using PdfPathDialog = std::function<QString(QWidget* parent, const QString& suggestedPath)>;
    void SetPdfPathDialog(PdfPathDialog dialog) { m_pdfPathDialog = std::move(dialog); }
    // The bank statement chooser of File > Import Statement, replaceable
    // so tests never block; empty text when cancelled.
    using StatementPathDialog = std::function<QString(QWidget* parent, const QString& startFolder)>;
    void SetStatementPathDialog(StatementPathDialog dialog) { m_statementPathDialog = std::move(dialog); }

public slots:
    void OnFileSave();
    void OnFileSaveAs();
    void OnSetPassword();
    void OnEncryption();
    void OnViewBalance();
    void OnViewCategories();
    void OnViewReconsile();
    // Printing of the dashboard (PrintCommands.cpp).
    void OnFilePrint();
    void OnFilePrintPreview();
    // Prints on the default printer without a dialog; false when nothing
    // was printed.
    bool OnFilePrintDirect();
    // Asks for a file name, then ExportPdf.
    void OnFileExportPdf();
    // Asks for a bank statement, then previews and imports it
    // (StatementImportCommand.cpp).
    void OnFileImportStatement();

    void UpdateCaption();
    // Edit > Undo and Redo: enabled when there is a step, named after it.
    void UpdateUndoCommands();
    void UpdateRecentFileMenu();
    void UpdateIndicators();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QAction* AddCommand(int id, const QString& text, const QList<QKeySequence>& keys = {});
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    // After a dialog that may have changed the document.
    void RefreshView();
    QPrinter* Printer() const;

    CDocSession& m_session;
    QStatusBar* m_wndStatusBar = nullptr;
    QToolBar* m_wndToolBar = nullptr;
    CQuilletView* m_pView = nullptr;
    QLabel* m_pMessagePane = nullptr;
    QLabel* m_indicators[3] = {};
    QHash<int, QAction*> m_actions;
    QAction* m_pRecentPlaceholder = nullptr;
    QList<QAction*> m_recentActions;
    PrinterSource m_printerSource;
    PdfPathDialog m_pdfPathDialog;
    StatementPathDialog m_statementPathDialog;
};

// The .ql1 file among dropped URLs, or empty text.
QString DroppedCheckbook(const QList<QUrl>& urls);
