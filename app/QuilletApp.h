#pragma once
// The application object: start-up (command line, settings store, main
// window), exit, and the commands that belong to the application rather
// than to the window (New, Open, Print Setup, About).

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

class CDocSession;
class CInstanceServer;
class CMainFrame;
class CQuilletDoc;
class QPrinter;

class CQuilletApp : public QObject
{
    Q_OBJECT
public:
    explicit CQuilletApp(QObject* parent = nullptr);
    ~CQuilletApp() override;

    // Prints the open document without a dialog; false when nothing printed.
    using PrintHook = std::function<bool(CMainFrame& frame)>;

    // Starts the program with its command line (arguments[0] is the
    // program). False when it is to end at once, with ExitCode().
    bool InitInstance(const QStringList& arguments);
    // Writes the settings store (when the start succeeded) and gives the
    // exit status.
    int ExitInstance();
    int ExitCode() const { return m_nExitCode; }

    CQuilletDoc& GetDocument() const { return *m_pDoc; }
    // The document's file, title and the file dialogs; configure it before
    // InitInstance to answer the start-up questions.
    CDocSession& Session() const { return *m_pSession; }
    CMainFrame* GetMainFrame() const { return m_pFrame.get(); }
    // Answers later starts with the open file; null until the start succeeded.
    CInstanceServer* InstanceServer() const { return m_pInstanceServer.get(); }
    void SetPrintHook(PrintHook hook) { m_printHook = std::move(hook); }
    // Tests keep the window hidden.
    void SetShowMainWindow(bool show) { m_bShowMainWindow = show; }
    // The one printer of the run, made when first needed; it keeps the
    // page setup the user chose for printing and PDF export alike.
    QPrinter& Printer();

public slots:
    void OnAppAbout();
    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();

private:
    bool ProcessCommandLine(const QStringList& arguments);
    // The four view settings from the settings store, then a repaint.
    void ApplyStoredViewSettings();
    // --print-to-pdf: opens file and writes its printed page to pdfPath;
    // false, with the reason reported, when either fails.
    bool PrintToPdf(const QString& pdfPath, const QString& file);

    std::unique_ptr<CQuilletDoc> m_pDoc;
    std::unique_ptr<CDocSession> m_pSession;
    std::unique_ptr<CMainFrame> m_pFrame;
    std::unique_ptr<CInstanceServer> m_pInstanceServer;
    std::unique_ptr<QPrinter> m_pPrinter;
    PrintHook m_printHook;
    bool m_bShowMainWindow = true;
    bool m_bStarted = false;
    int m_nExitCode = 0;
};
