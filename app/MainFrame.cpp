#include "MainFrame.h"


#include "BalanceBooksDlg.h"
#include "CategoriesDlg.h"
#include "CommandIcons.h"
#include "Commands.h"
#include "DocSession.h"
#include "EncryptionDialog.h"
#include "LockKeys.h"
#include "PasswordDialog.h"
#include "QuilletDoc.h"
#include "QuilletView.h"
#include "ReconcileDlg.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>
#include <QMimeData>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

namespace
{
const char kReady[] = "Ready";
// Long enough to be read after a save.
constexpr int kStatusMessageMs = 20000;
const char* const kIndicatorTexts[3] = {"CAP", "NUM", "SCRL"};
const LockKey kIndicatorKeys[3] = {LockKey::Caps, LockKey::Num, LockKey::Scroll};
}

QString DroppedCheckbook(const QList<QUrl>& urls)
{
    for (const QUrl& url : urls) {
        if (url.isLocalFile() && url.toLocalFile().endsWith(".ql1", Qt::CaseInsensitive))
            return url.toLocalFile();
    }
    return QString();
}

CMainFrame::CMainFrame(CDocSession& session, QWidget* parent) : QMainWindow(parent), m_session(session)
{
    setObjectName("MainFrame");
    setWindowIcon(QApplication::windowIcon());
    setAcceptDrops(true);

    // A window smaller than the dashboard scrolls to every part of it.
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("DashboardScroll");
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    m_pView = new CQuilletView(scroll);
    scroll->setWidget(m_pView);
    setCentralWidget(scroll);

    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    resize(680, 515);

    m_session.SetWindow(this);
    connect(&m_session, &CDocSession::DocumentReplaced, m_pView, &CQuilletView::OnDocumentChanged);
    connect(&m_session, &CDocSession::TitleChanged, this, &CMainFrame::UpdateCaption);
    connect(&m_session, &CDocSession::RecentFilesChanged, this, &CMainFrame::UpdateRecentFileMenu);
    connect(&m_session, &CDocSession::StatusMessage, this,
            [this](const QString& text) { m_wndStatusBar->showMessage(text, kStatusMessageMs); });
    m_pView->SetDocument(&m_session.Document(), &m_session.History());
    // The keyboard starts on the dashboard.
    m_pView->setFocus(Qt::OtherFocusReason);
    UpdateCaption();
    UpdateRecentFileMenu();

    qApp->installEventFilter(this);
}

QAction* CMainFrame::AddCommand(int id, const QString& text, const QList<QKeySequence>& keys)
{
    auto* action = new QAction(text, this);
    action->setObjectName(QString("command%1").arg(id));
    action->setShortcuts(keys);
    action->setStatusTip(CommandStatusTip(id));
    if (!CommandToolTip(id).isEmpty()) {
        action->setToolTip(CommandToolTip(id));
        // A button without a theme icon shows this instead of the menu text.
        action->setIconText(CommandToolTip(id));
    }
    action->setIcon(CommandIcon(id));
    m_actions.insert(id, action);
    return action;
}

void CMainFrame::CreateMenus()
{
    // The texts carry their key after a tab, as the menu shows it.
    QMenu* file = menuBar()->addMenu("&File");
    file->addAction(AddCommand(ID_FILE_NEW, "&New\tCtrl+N", {QKeySequence("Ctrl+N")}));
    file->addAction(AddCommand(ID_FILE_OPEN, "&Open...\tCtrl+O", {QKeySequence("Ctrl+O")}));
    file->addAction(AddCommand(ID_FILE_SAVE, "&Save\tCtrl+S", {QKeySequence("Ctrl+S")}));
    file->addAction(AddCommand(ID_FILE_SAVE_AS, "Save &As..."));
    file->addSeparator();
    file->addAction(AddCommand(ID_FILE_IMPORT_STATEMENT, "&Import Statement..."));
    file->addSeparator();
    file->addAction(AddCommand(ID_FILE_SETPASSWORD, "S&et Password..."));
    file->addAction(AddCommand(ID_FILE_ENCRYPTION, "En&cryption..."));
    file->addSeparator();
    file->addAction(AddCommand(ID_FILE_PRINT, "&Print...\tCtrl+P", {QKeySequence("Ctrl+P")}));
    file->addAction(AddCommand(ID_FILE_PRINT_PREVIEW, "Print Pre&view"));
    file->addAction(AddCommand(ID_FILE_PRINT_SETUP, "P&rint Setup..."));
    file->addAction(AddCommand(ID_FILE_EXPORT_PDF, "Export P&DF..."));
    file->addSeparator();
    m_pRecentPlaceholder = file->addAction("Recent File");
    m_pRecentPlaceholder->setEnabled(false);
    for (int i = 0; i < CRecentFileList::kSize; ++i) {
        QAction* recent = AddCommand(ID_FILE_MRU_FILE1 + i, QString());
        connect(recent, &QAction::triggered, this, [this, i] { m_session.OnOpenRecentFile(i); });
        file->addAction(recent);
        m_recentActions << recent;
    }
    file->addSeparator();
    file->addAction(AddCommand(ID_APP_EXIT, "E&xit"));

    // Undo and Redo take the document's steps back and forth; their texts
    // name the step (UpdateUndoCommands).
    QMenu* edit = menuBar()->addMenu("&Edit");
    edit->addAction(AddCommand(ID_EDIT_UNDO, "&Undo\tCtrl+Z", CDocHistory::UndoKeys()));
    edit->addAction(AddCommand(ID_EDIT_REDO, "&Redo\tCtrl+Y", CDocHistory::RedoKeys()));
    edit->addSeparator();
    edit->addAction(AddCommand(ID_EDIT_CUT, "Cu&t\tCtrl+X", {QKeySequence("Ctrl+X"), QKeySequence("Shift+Del")}));
    edit->addAction(AddCommand(ID_EDIT_COPY, "&Copy\tCtrl+C", {QKeySequence("Ctrl+C"), QKeySequence("Ctrl+Ins")}));
    edit->addAction(AddCommand(ID_EDIT_PASTE, "&Paste\tCtrl+V", {QKeySequence("Ctrl+V"), QKeySequence("Shift+Ins")}));
    // Nothing in the program handles these; they stay disabled, and so do
    // their keys, which the edit fields of the dialogs then keep.
    for (int id : {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE})
        m_actions[id]->setEnabled(false);

    QMenu* view = menuBar()->addMenu("&View");
    view->addAction(AddCommand(ID_VIEW_TOOLBAR, "&Toolbar"));
    view->addAction(AddCommand(ID_VIEW_STATUS_BAR, "&Status Bar"));
    view->addAction(AddCommand(ID_VIEW_BALANCE, "&Balance..."));
    view->addAction(AddCommand(ID_VIEW_CATEGORIES, "&Categories..."));
    view->addAction(AddCommand(ID_VIEW_RECONSILE, "&Reconsile..."));
    // What the dashboard's painted buttons open, for the keyboard.
    view->addSeparator();
    view->addAction(AddCommand(ID_VIEW_ACCOUNTS, "&Accounts..."));
    view->addAction(AddCommand(ID_VIEW_RECURRING, "Rec&urring Transactions..."));
    view->addAction(AddCommand(ID_VIEW_DAY_CHART, "&Day Chart Settings..."));
    view->addAction(AddCommand(ID_VIEW_CATEGORY_VIEW, "Category &View Settings..."));

    QMenu* help = menuBar()->addMenu("&Help");
    help->addAction(AddCommand(ID_APP_ABOUT, "&About Quillet..."));

    // Keys without a menu entry.
    addAction(AddCommand(ID_NEXT_PANE, "Next Pane", {QKeySequence(Qt::Key_F6)}));
    addAction(AddCommand(ID_PREV_PANE, "Previous Pane", {QKeySequence(Qt::SHIFT | Qt::Key_F6)}));

    CDocHistory& history = m_session.History();
    connect(m_actions[ID_EDIT_UNDO], &QAction::triggered, &history, &CDocHistory::Undo);
    connect(m_actions[ID_EDIT_REDO], &QAction::triggered, &history, &CDocHistory::Redo);
    connect(&history, &CDocHistory::StateChanged, this, &CMainFrame::UpdateUndoCommands);
    history.WatchKeys(this);
    UpdateUndoCommands();

    connect(m_actions[ID_FILE_SAVE], &QAction::triggered, this, &CMainFrame::OnFileSave);
    connect(m_actions[ID_FILE_SAVE_AS], &QAction::triggered, this, &CMainFrame::OnFileSaveAs);
    connect(m_actions[ID_FILE_SETPASSWORD], &QAction::triggered, this, &CMainFrame::OnSetPassword);
    connect(m_actions[ID_FILE_ENCRYPTION], &QAction::triggered, this, &CMainFrame::OnEncryption);
    connect(m_actions[ID_FILE_PRINT], &QAction::triggered, this, &CMainFrame::OnFilePrint);
    connect(m_actions[ID_FILE_PRINT_PREVIEW], &QAction::triggered, this, &CMainFrame::OnFilePrintPreview);
    connect(m_actions[ID_FILE_EXPORT_PDF], &QAction::triggered, this, &CMainFrame::OnFileExportPdf);
    connect(m_actions[ID_FILE_IMPORT_STATEMENT], &QAction::triggered, this, &CMainFrame::OnFileImportStatement);
    connect(m_actions[ID_APP_EXIT], &QAction::triggered, this, &QWidget::close);
    connect(m_actions[ID_VIEW_BALANCE], &QAction::triggered, this, &CMainFrame::OnViewBalance);
    connect(m_actions[ID_VIEW_CATEGORIES], &QAction::triggered, this, &CMainFrame::OnViewCategories);
    connect(m_actions[ID_VIEW_RECONSILE], &QAction::triggered, this, &CMainFrame::OnViewReconsile);
    connect(m_actions[ID_VIEW_ACCOUNTS], &QAction::triggered, m_pView, &CQuilletView::EditAccounts);
    connect(m_actions[ID_VIEW_RECURRING], &QAction::triggered, m_pView, &CQuilletView::EditRecurring);
    connect(m_actions[ID_VIEW_DAY_CHART], &QAction::triggered, m_pView, &CQuilletView::EditDayChartSettings);
    connect(m_actions[ID_VIEW_CATEGORY_VIEW], &QAction::triggered, m_pView, &CQuilletView::EditCategoryViewSettings);
    connect(m_actions[ID_NEXT_PANE], &QAction::triggered, this, [this] { focusNextPrevChild(true); });
    connect(m_actions[ID_PREV_PANE], &QAction::triggered, this, [this] { focusNextPrevChild(false); });
}

void CMainFrame::CreateToolBar()
{
    m_wndToolBar = new QToolBar("Toolbar", this);
    m_wndToolBar->setObjectName("ToolBar");
    m_wndToolBar->setIconSize(QSize(16, 16));
    m_wndToolBar->setMovable(true);
    m_wndToolBar->setFloatable(true);
    m_wndToolBar->setAllowedAreas(Qt::AllToolBarAreas);
    const int buttons[] = {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_EDIT_CUT, ID_EDIT_COPY,
                           ID_EDIT_PASTE, 0, ID_FILE_PRINT, 0, ID_APP_ABOUT};
    for (int id : buttons) {
        if (id == 0)
            m_wndToolBar->addSeparator();
        else
            m_wndToolBar->addAction(m_actions[id]);
    }
    addToolBar(Qt::TopToolBarArea, m_wndToolBar);

    QAction* toggle = m_actions[ID_VIEW_TOOLBAR];
    toggle->setCheckable(true);
    toggle->setChecked(true);
    connect(toggle, &QAction::toggled, m_wndToolBar, &QWidget::setVisible);
    connect(m_wndToolBar, &QToolBar::visibilityChanged, toggle, [this, toggle] {
        // Hiding the whole window must not uncheck the entry.
        if (isVisible())
            toggle->setChecked(m_wndToolBar->isVisible());
    });
}

void CMainFrame::CreateStatusBar()
{
    m_wndStatusBar = new QStatusBar(this);
    m_pMessagePane = new QLabel(kReady, m_wndStatusBar);
    m_pMessagePane->setObjectName("MessagePane");
    m_wndStatusBar->addWidget(m_pMessagePane, 1);
    for (int i = 0; i < 3; ++i) {
        auto* pane = new QLabel(m_wndStatusBar);
        pane->setObjectName(QString("Indicator%1").arg(kIndicatorTexts[i]));
        pane->setFrameShape(QFrame::Panel);
        pane->setFrameShadow(QFrame::Sunken);
        pane->setAlignment(Qt::AlignCenter);
        // Sized for the text, blank while the lock is off.
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(kIndicatorTexts[i]) + 12);
        m_wndStatusBar->addPermanentWidget(pane);
        m_indicators[i] = pane;
    }
    setStatusBar(m_wndStatusBar);
    UpdateIndicators();

    QAction* toggle = m_actions[ID_VIEW_STATUS_BAR];
    toggle->setCheckable(true);
    toggle->setChecked(true);
    connect(toggle, &QAction::toggled, m_wndStatusBar, &QWidget::setVisible);
}

void CMainFrame::UpdateCaption()
{
    // A literal "[*]" in a file name must not become the modified mark.
    QString title = m_session.Title();
    title.replace("[*]", "[*][*]");
    setWindowTitle(title + "[*] - Quillet");
    setWindowModified(m_session.Document().IsModified());
}

void CMainFrame::UpdateUndoCommands()
{
    const CDocHistory& history = m_session.History();
    auto show = [](QAction* action, const QString& verb, const QString& step, const QString& key, bool enabled) {
        action->setText(verb + (enabled && !step.isEmpty() ? " " + step : QString()) + "\t" + key);
        action->setEnabled(enabled);
    };
    show(m_actions[ID_EDIT_UNDO], "&Undo", history.UndoName(), "Ctrl+Z", history.CanUndo());
    show(m_actions[ID_EDIT_REDO], "&Redo", history.RedoName(), "Ctrl+Y", history.CanRedo());
}

void CMainFrame::UpdateRecentFileMenu()
{
    const QStringList& files = m_session.RecentFiles().Files();
    m_pRecentPlaceholder->setVisible(files.isEmpty());
    for (int i = 0; i < m_recentActions.size(); ++i) {
        QAction* action = m_recentActions[i];
        action->setVisible(i < files.size());
        if (i < files.size()) {
            action->setText(RecentFileMenuText(i, files[i]));
            action->setToolTip(files[i]);
        }
    }
}

void CMainFrame::UpdateIndicators()
{
    for (int i = 0; i < 3; ++i)
        m_indicators[i]->setText(LockKeys::IsOn(kIndicatorKeys[i]) ? kIndicatorTexts[i] : "");
}

bool CMainFrame::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        m_pMessagePane->setText(tip.isEmpty() ? QString(kReady) : tip);
        return true;
    }
    if (event->type() == QEvent::WindowActivate)
        UpdateIndicators();
    return QMainWindow::event(event);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    // The lock LEDs change with the key; read them once it is released.
    if (event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_CapsLock || key == Qt::Key_NumLock || key == Qt::Key_ScrollLock)
            UpdateIndicators();
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (m_session.SaveModified())
        event->accept();
    else
        event->ignore();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls() && !DroppedCheckbook(event->mimeData()->urls()).isEmpty())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    const QString path = DroppedCheckbook(event->mimeData()->urls());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    activateWindow();
    // Opened once the drop is over: the save question, the password prompt
    // and error boxes must not keep the drag source waiting.
    QTimer::singleShot(0, this, [this, path] {
        if (m_session.SaveModified())
            m_session.OpenDocumentFile(path);
    });
}

void CMainFrame::OnFileSave()
{
    m_session.OnFileSave();
}

void CMainFrame::OnFileSaveAs()
{
    m_session.OnFileSaveAs();
}

void CMainFrame::OnSetPassword()
{
    // The hash is application-wide, but it only protects the file once the
    // document is saved: the change is a step, so leaving asks to save it.
    SetPasswordDialog(m_session.History(), this);
}

void CMainFrame::OnEncryption()
{
    SealKeyPtr key = m_session.SealKey();
    if (ChooseEncryption(this, key))
        m_session.SetSealKey(key);
}

void CMainFrame::RefreshView()
{
    // A modal dialog leaves no damage to repaint here, so changes it made
    // would otherwise not show until the next repaint.
    m_pView->OnDocumentChanged();
}

// The three document dialogs get the document and run modally; how they
// were closed does not matter.
void CMainFrame::OnViewBalance()
{
    CBalanceBooksDlg dialog(m_session.History(), this);
    dialog.exec();
    RefreshView();
}

void CMainFrame::OnViewCategories()
{
    CCategoriesDlg dialog(m_session.History(), this);
    dialog.exec();
    RefreshView();
}

void CMainFrame::OnViewReconsile()
{
    CReconcileDlg dialog(m_session.History(), this);
    dialog.exec();
    RefreshView();
}
