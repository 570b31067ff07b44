#pragma once
// The one open checkbook and its file: New, Open, Save, Save As, the
// question to save changes, failure reports, the title and the recent
// files. The document object itself is reused for every file.

#include "CheckbookFile.h"
#include "DocHistory.h"
#include "FileAccess.h"
#include "RecentFileList.h"
#include "SealedCheckbook.h"

#include <QByteArray>
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
    // Every change the user makes goes through here, so it can be undone.
    CDocHistory& History() { return m_history; }
    QString PathName() const { return m_strPathName; }
    // The file's name, or "Untitled".
    QString Title() const;

    CRecentFileList& RecentFiles() { return m_recent; }

    // Parent of the message boxes and file dialogs.
    void SetWindow(QWidget* window) { m_pWindow = window; }
    void SetOpenDialog(OpenDialog dialog) { m_openDialog = std::move(dialog); }
    void SetSaveDialog(SaveDialog dialog) { m_saveDialog = std::move(dialog); }
    void SetPasswordPrompt(PasswordPrompt prompt) { m_passwordPrompt = std::move(prompt); }
    void SetPassphrasePrompt(PassphrasePrompt prompt) { m_passphrasePrompt = std::move(prompt); }
    // How long a save waits for another program that is changing the file.
    void SetLockWait(int ms) { m_lockWaitMs = ms; }

    // The key the next save encrypts the file under; null: saved plain.
    const SealKeyPtr& SealKey() const { return m_sealKey; }
    // Turns encryption on, changes its key, or turns it off (null): one
    // step of the history, so it can be undone. False when the key is the
    // one it has.
    bool SetSealKey(SealKeyPtr key);

    // An empty document titled "Untitled", bound to no file and not
    // encrypted.
    void NewDocument();
    // Reads the file into a fresh document that replaces the open one only
    // on success. On failure the user is told why and the open document
    // stays, except after a refused password, which leaves a new
    // "Untitled" one; failure, when given, says what went wrong (None on
    // success). An encrypted file asks for its passphrase first.
    bool OpenDocumentFile(const QString& path, FileError::Kind* failure = nullptr);
    // Writes the document to path under the file's lock and binds it to
    // that file; reports failure. Saving over the open file after another
    // program changed it asks first.
    bool DoSave(const QString& path);

    // When modified and different from the file, asks whether to save
    // ("Yes" saves). False means the user cancelled (or the save failed)
    // and the current action must stop.
    bool SaveModified();
    // Whether a save now would write what the file holds: the same
    // checkbook under the same key.
    bool MatchesFile() const;

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
    // A note for the status bar (a backup that could not be kept).
    void StatusMessage(const QString& text);

private:
    enum class ChangedFileAnswer { Replace, SaveAs, Cancel };

    QString AskSavePath();
    // Whether path names an existing file (or link) and the user agrees to
    // replace it.
    bool ConfirmReplace(const QString& path);
    ChangedFileAnswer AskAboutChangedFile();
    QWidget* DialogParent() const;
    void Report(const QString& text);
    void SetPathName(const QString& path);

    CQuilletDoc& m_doc;
    CDocHistory m_history;
    QString m_strPathName;
    // The bound file as last read or written here.
    FileStamp m_fileStamp;
    SealKeyPtr m_sealKey;
    // The key of the bound file as last read or written here: its backups
    // are brought under a new key.
    SealKeyPtr m_fileKey;
    // A digest of the image the file was read as or written with; empty
    // after an open until the first change, which takes it (writing the
    // image of a large file costs a noticeable part of opening it).
    QByteArray m_fileDigest;
    CRecentFileList m_recent;
    QWidget* m_pWindow = nullptr;
    OpenDialog m_openDialog;
    SaveDialog m_saveDialog;
    PasswordPrompt m_passwordPrompt;
    PassphrasePrompt m_passphrasePrompt;
    int m_lockWaitMs = 5000;
};

// What the user reads when a file could not be opened or saved.
QString DescribeFileError(const FileError& error, const QString& path);
