#pragma once
// The one open checkbook and its file: New, Open, Save, Save As, the
// question to save changes, failure reports, the title and the recent
// files. The document object itself is reused for every file.

#include "CheckbookFile.h"
#include "RecentFileList.h"

#include <QObject>
#include <QString>

#include <functional>

class CQuilletDoc;
class QWidget;

class CDocSession : public QObject
{
    Q_OBJECT
public:
    // The file dialogs, replaceable so tests never block. Each returns the
    // chosen path or empty text when cancelled.
    using OpenDialog = std::function<QString(QWidget* parent, const QString& startFolder)>;
    using SaveDialog = std::function<QString(QWidget* parent, const QString& suggestedPath)>;

    explicit CDocSession(CQuilletDoc& doc, QObject* parent = nullptr);
    ~CDocSession() override;

    CQuilletDoc& Document() const { return m_doc; }
    QString PathName() const { return m_strPathName; }
    // The file's name, or "Untitled".
    QString Title() const;

    CRecentFileList& RecentFiles() { return m_recent; }

    // Parent of the message boxes and file dialogs.
    void SetWindow(QWidget* window) { m_pWindow = window; }
    void SetOpenDialog(OpenDialog dialog) { m_openDialog = std::move(dialog); }
    void SetSaveDialog(SaveDialog dialog) { m_saveDialog = std::move(dialog); }
    void SetPasswordPrompt(PasswordPrompt prompt) { m_passwordPrompt = std::move(prompt); }

    // An empty document titled "Untitled", bound to no file.
    void NewDocument();
    // Reads the file into the document. On failure the user is told why and
    // the document is a new "Untitled" one; failure, when given, says what
    // went wrong (None on success).
    bool OpenDocumentFile(const QString& path, FileError::Kind* failure = nullptr);
    // Writes the document to path and binds it to that file; reports failure.
    bool DoSave(const QString& path);

    // When modified, asks whether to save ("Yes" saves). False means the
    // user cancelled (or the save failed) and the current action must stop.
    bool SaveModified();

    // The commands, with their questions and dialogs; true when done.
    bool OnFileNew();
    bool OnFileOpen();
    bool OnOpenRecentFile(int index);
    bool OnFileSave();
    bool OnFileSaveAs();

signals:
    // A new or opened document replaced the old contents: views refill.
    void DocumentReplaced();
    // Title, file or modified mark changed: the caption follows.
    void TitleChanged();
    void RecentFilesChanged();

private:
    QString AskSavePath();
    QWidget* DialogParent() const;
    void Report(const QString& text);
    void SetPathName(const QString& path);

    CQuilletDoc& m_doc;
    QString m_strPathName;
    CRecentFileList m_recent;
    QWidget* m_pWindow = nullptr;
    OpenDialog m_openDialog;
    SaveDialog m_saveDialog;
    PasswordPrompt m_passwordPrompt;
};

// What the user reads when a file could not be opened or saved.
QString DescribeFileError(const FileError& error, const QString& path);
