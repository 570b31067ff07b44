#include "QuilletApp.h"

#include "AboutDialog.h"
#include "AppSettings.h"
#include "AppValues.h"
#include "CommandLine.h"
#include "Commands.h"
#include "DocSession.h"
#include "MainFrame.h"
#include "QuilletDoc.h"
#include "QuilletView.h"
#include "SingleInstance.h"
#include "UserMessage.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QPrinter>
#include <QSettings>

namespace
{
// Exit statuses of a start that ends at once.
constexpr int kExitOpenFailed = 1;
constexpr int kExitBadCommandLine = 2;
// --print-to-pdf: the checkbook could not be read or the PDF not written.
constexpr int kExitPdfFailed = 2;

QIcon ApplicationIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QString(":/icons/quillet-%1.png").arg(size), QSize(size, size));
    return icon;
}
}

// The resources live in a static library; they must be pulled in by name,
// from the global namespace.
static void LoadResources()
{
    Q_INIT_RESOURCE(quillet);
}

CQuilletApp::CQuilletApp(QObject* parent) : QObject(parent)
{
    LoadResources();
    QCoreApplication::setOrganizationName("Quillet-Orvane");
    QCoreApplication::setApplicationName("Quillet");
    QCoreApplication::setApplicationVersion(QString::fromStdString(g_strVersion));
    // Ties the windows to the installed launcher (Wayland's application id).
    QGuiApplication::setDesktopFileName("io.github.quillet.Quillet");
    QApplication::setWindowIcon(ApplicationIcon());

    // The four integers are left alone here: the settings store gives them
    // once the command line has been processed.
    g_strPasswordHash.clear();
    g_strCategoryAccount = AppValues::kShowAll;
    m_pDoc = std::make_unique<CQuilletDoc>();
    m_pSession = std::make_unique<CDocSession>(*m_pDoc);
    m_printHook = [](CMainFrame& frame) { return frame.OnFilePrintDirect(); };
}

CQuilletApp::~CQuilletApp()
{
    m_pInstanceServer.reset();
    // The frame's view points at the document; it goes first.
    m_pFrame.reset();
    m_pSession.reset();
}

bool CQuilletApp::InitInstance(const QStringList& arguments)
{
    {
        const auto settings = AppSettings::Open();
        m_pSession->RecentFiles().SetFiles(AppSettings::ReadRecentFiles(*settings));
    }

    m_pFrame = std::make_unique<CMainFrame>(*m_pSession);
    connect(m_pFrame->CommandAction(ID_FILE_NEW), &QAction::triggered, this, &CQuilletApp::OnFileNew);
    connect(m_pFrame->CommandAction(ID_FILE_OPEN), &QAction::triggered, this, &CQuilletApp::OnFileOpen);
    connect(m_pFrame->CommandAction(ID_FILE_PRINT_SETUP), &QAction::triggered, this, &CQuilletApp::OnFilePrintSetup);
    connect(m_pFrame->CommandAction(ID_APP_ABOUT), &QAction::triggered, this, &CQuilletApp::OnAppAbout);
    m_pFrame->SetPrinterSource([this]() -> QPrinter& { return Printer(); });

    if (!ProcessCommandLine(arguments))
        return false;

    ApplyStoredViewSettings();
    m_pInstanceServer = std::make_unique<CInstanceServer>(*m_pSession, *m_pFrame);
    m_bStarted = true;

    if (m_bShowMainWindow) {
        m_pFrame->show();
        m_pFrame->activateWindow();
    }
    return true;
}

bool CQuilletApp::ProcessCommandLine(const QStringList& arguments)
{
    const CommandLine line = ParseCommandLine(arguments);
    if (const auto status = AnswerOnTerminal(line)) {
        m_nExitCode = *status;
        return false;
    }
    if (!line.error.isEmpty()) {
        UserMessage::Show(nullptr, line.error, UserMessage::Buttons::Ok, UserMessage::Icon::Error);
        m_nExitCode = kExitBadCommandLine;
        return false;
    }
    if (line.action == CommandLine::Action::PrintToPdf) {
        m_nExitCode = PrintToPdf(line.pdfPath, line.file) ? 0 : kExitPdfFailed;
        return false;
    }
    if (line.action == CommandLine::Action::Print) {
        // Printing runs with the window hidden and ends the program; a
        // refused password leaves nothing worth printing.
        if (!m_pSession->OpenDocumentFile(line.file)) {
            m_nExitCode = kExitOpenFailed;
            return false;
        }
        ApplyStoredViewSettings();
        m_nExitCode = m_printHook && m_printHook(*m_pFrame) ? 0 : kExitOpenFailed;
        return false;
    }

    if (line.file.isEmpty()) {
        m_pSession->NewDocument();
        return true;
    }
    FileError::Kind failure = FileError::None;
    if (m_pSession->OpenDocumentFile(line.file, &failure))
        return true;
    // A refused password or passphrase is no failure of the start: the user
    // goes on with an empty document and may open the file again.
    if (failure == FileError::AccessDenied)
        return true;
    if (failure == FileError::PassphraseRefused) {
        m_pSession->NewDocument();
        return true;
    }
    m_nExitCode = kExitOpenFailed;
    return false;
}

void CQuilletApp::ApplyStoredViewSettings()
{
    // After the command-line file: the stored preferences win over what
    // that file carried, for the window and the printed page alike.
    {
        const auto settings = AppSettings::Open();
        AppSettings::ReadViewSettings(*settings);
    }
    m_pFrame->GetView()->OnDocumentChanged();
}

int CQuilletApp::ExitInstance()
{
    // A start that ended at once never read the store, so it must not
    // overwrite the user's preferences with what it happens to hold.
    if (m_bStarted) {
        const auto settings = AppSettings::Open();
        AppSettings::WriteViewSettings(*settings);
        // Another window may have stored its own recent files since this one
        // read them: this window's changes go on top of what is there now.
        settings->sync();
        const QStringList stored = AppSettings::ReadRecentFiles(*settings);
        AppSettings::WriteRecentFiles(*settings, m_pSession->RecentFiles().MergedInto(stored));
        settings->sync();
    }
    m_pInstanceServer.reset();
    m_pFrame.reset();
    return m_nExitCode;
}

void CQuilletApp::OnAppAbout()
{
    CAboutDialog dialog(m_pFrame.get());
    dialog.exec();
}

void CQuilletApp::OnFileNew()
{
    m_pSession->OnFileNew();
}

void CQuilletApp::OnFileOpen()
{
    m_pSession->OnFileOpen();
}
