#include "DocSession.h"

#include "DocChanges.h"
#include "FileLock.h"
#include "FilePasswordDialog.h"
#include "PassphraseDialog.h"
#include "QuilletDoc.h"
#include "UserMessage.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QWidget>

namespace
{
const char kFilter[] = "Checkbook Files (*.ql1)";
const char kExtension[] = ".ql1";

std::string NativePath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

// Tells whether the checkbook still holds what its file holds without
// keeping its contents a second time. BLAKE2b is as safe against two images
// sharing a digest as SHA-256 and takes well under half the time, which
// counts on every open of a file of a million entries.
QByteArray Digest(const std::string& image)
{
    return QCryptographicHash::hash(QByteArrayView(image.data(), qsizetype(image.size())),
                                    QCryptographicHash::Blake2b_256);
}

// Encryption turned on, off or onto a new passphrase: the key the next save
// seals the file under. Only keys are held, in the locked memory they live
// in, and only while the step can still be taken; the passphrases were
// wiped when the keys were made.
class CSealKeyChange : public CDocChange
{
public:
    CSealKeyChange(SealKeyPtr& slot, SealKeyPtr key) : m_slot(slot), m_after(std::move(key))
    {
        if (!m_after)
            m_name = "Turn Off Encryption";
        else
            m_name = m_slot ? "Change Passphrase" : "Turn On Encryption";
    }

    std::string Name() const override { return m_name; }
    bool Do(CQuilletDoc&) override
    {
        if (m_slot == m_after)
            return false;
        m_before = m_slot;
        m_slot = m_after;
        return true;
    }
    void Undo(CQuilletDoc&) override { m_slot = m_before; }
    void Redo(CQuilletDoc&) override { m_slot = m_after; }

private:
    SealKeyPtr& m_slot;
    SealKeyPtr m_before;
    SealKeyPtr m_after;
    std::string m_name;
};
}

QString DescribeFileError(const FileError& error, const QString& path)
{
    if (!error.message.empty())
        return QString::fromLocal8Bit(error.message.c_str());
    const QString name = QDir::toNativeSeparators(path);
    switch (error.kind) {
    case FileError::NotFound:
        return QString("Cannot open %1: the file was not found or cannot be read.").arg(name);
    case FileError::Damaged:
        return QString("Cannot open %1: it is not a checkbook file or it is damaged.").arg(name);
    case FileError::AccessDenied:
        return QString("Access to %1 was denied.").arg(name);
    case FileError::PassphraseRefused:
        return QString("%1 is encrypted and was not opened.").arg(name);
    case FileError::WriteFailed:
        return QString("Cannot save %1: the file could not be written.").arg(name);
    case FileError::Locked:
        return QString("Cannot save %1: another program is changing it.").arg(name);
    case FileError::None:
        break;
    }
    return QString("An unexpected error occurred with %1.").arg(name);
}

CDocSession::CDocSession(CQuilletDoc& doc, QObject* parent) : QObject(parent), m_doc(doc), m_history(doc)
{
    m_openDialog = [](QWidget* parent, const QString& folder) {
        return QFileDialog::getOpenFileName(parent, "Open", folder, QString(kFilter) + ";;All Files (*)");
    };
    m_saveDialog = [](QWidget* parent, const QString& suggested) {
        // The session asks before replacing a file, about the name it will
        // actually write, extension and all.
        return QFileDialog::getSaveFileName(parent, "Save As", suggested, kFilter, nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    };
    m_passwordPrompt = [this](const std::string& storedHash) { return AskFilePassword(DialogParent(), storedHash); };
    connect(&m_history, &CDocHistory::AboutToChange, this, [this] {
        if (m_fileDigest.isEmpty())
            m_fileDigest = Digest(WriteCheckbook(m_doc));
    });
    m_passphrasePrompt = [this](const std::string& fileName, const PassphraseAttempt& attempt) {
        return AskPassphrase(DialogParent(), fileName, attempt);
    };
    m_doc.SetModifiedListener([this](bool) { emit TitleChanged(); });
}

CDocSession::~CDocSession()
{
    m_doc.SetModifiedListener({});
}

QString CDocSession::Title() const
{
    return m_strPathName.isEmpty() ? QString("Untitled") : QFileInfo(m_strPathName).fileName();
}

void CDocSession::SetPathName(const QString& path)
{
    m_strPathName = path.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QWidget* CDocSession::DialogParent() const
{
    // At start-up the window is not shown yet; a box centred on it would
    // appear wherever the hidden window happens to be.
    return m_pWindow && m_pWindow->isVisible() ? m_pWindow : nullptr;
}

void CDocSession::Report(const QString& text)
{
    UserMessage::Show(DialogParent(), text, UserMessage::Buttons::Ok, UserMessage::Icon::Error);
}

bool CDocSession::SetSealKey(SealKeyPtr key)
{
    // A step like any other, so the modified mark follows it: undone back
    // to the key the file has, the checkbook is its file again.
    return m_history.Apply(std::make_unique<CSealKeyChange>(m_sealKey, std::move(key)));
}

void CDocSession::NewDocument()
{
    // The steps of the old document mean nothing to the new one.
    m_history.Clear();
    m_doc.OnNewDocument();
    m_doc.SetModifiedFlag(false);
    SetPathName(QString());
    m_fileStamp = FileStamp();
    m_sealKey.reset();
    m_fileKey.reset();
    // Nothing is lost by leaving a new checkbook as it came.
    m_fileDigest = Digest(WriteCheckbook(m_doc));
    emit DocumentReplaced();
    emit TitleChanged();
}

bool CDocSession::OpenDocumentFile(const QString& path, FileError::Kind* failure)
{
    FileError error;
    FileStamp stamp;
    SealKeyPtr key;
    const bool loaded =
        OpenCheckbookFile(m_doc, NativePath(path), m_passphrasePrompt, m_passwordPrompt, error, &stamp, key);
    if (failure)
        *failure = loaded ? FileError::None : error.kind;
    if (!loaded) {
        Report(DescribeFileError(error, path));
        // A refused password must not leave the document bound to the
        // protected file: a later save asks for a new name. Any other
        // failure read nothing into the open document, which stays.
        if (error.kind == FileError::AccessDenied)
            NewDocument();
        return false;
    }
    m_history.Clear();
    m_doc.SetModifiedFlag(false);
    SetPathName(path);
    m_fileStamp = stamp;
    m_sealKey = m_fileKey = key;
    m_fileDigest.clear();
    m_recent.Add(m_strPathName);
    emit RecentFilesChanged();
    emit DocumentReplaced();
    emit TitleChanged();
    return true;
}

bool CDocSession::DoSave(const QString& path)
{
    const std::string native = NativePath(path);
    CFileLock lock;
    FileError error;
    if (!lock.Acquire(native, m_lockWaitMs, error)) {
        Report(DescribeFileError(error, path));
        return false;
    }
    const bool ownFile = !m_strPathName.isEmpty() && QFileInfo(path) == QFileInfo(m_strPathName);
    if (ownFile && FileChangedSince(native, m_fileStamp)) {
        // Nobody waits on the lock while the user thinks.
        lock.Release();
        switch (AskAboutChangedFile()) {
        case ChangedFileAnswer::Replace:
            if (!lock.Acquire(native, m_lockWaitMs, error)) {
                Report(DescribeFileError(error, path));
                return false;
            }
            break;
        case ChangedFileAnswer::SaveAs:
            return OnFileSaveAs();
        case ChangedFileAnswer::Cancel:
            return false;
        }
    }

    SaveOutcome outcome;
    const std::string image = WriteCheckbook(m_doc);
    if (!SaveCheckbookImage(native, image, {m_sealKey, m_fileKey}, error, &outcome)) {
        Report(DescribeFileError(error, path));
        return false;
    }
    lock.Release();
    if (!outcome.backupProblem.empty())
        emit StatusMessage(QString::fromLocal8Bit(outcome.backupProblem.c_str()));
    SetPathName(path);
    m_fileStamp = outcome.stamp;
    m_fileKey = m_sealKey;
    m_fileDigest = Digest(image);
    // Undoing back to here gives what the file holds.
    m_history.SetClean();
    m_recent.Add(m_strPathName);
    emit RecentFilesChanged();
    emit TitleChanged();
    return true;
}

CDocSession::ChangedFileAnswer CDocSession::AskAboutChangedFile()
{
    const QString text = QString("The file %1 has been changed by another program since it was opened here.\n\n"
                                 "Replace it with this checkbook, save this checkbook under another name, or "
                                 "cancel? A replaced file is kept among its backups.")
                             .arg(QDir::toNativeSeparators(m_strPathName));
    switch (UserMessage::Show(DialogParent(), text, UserMessage::Buttons::YesNoCancel, UserMessage::Icon::Warning,
                              QString(), {"&Replace", "Save &As...", "Cancel"}, UserMessage::Answer::Cancel)) {
    case UserMessage::Answer::Yes:
        return ChangedFileAnswer::Replace;
    case UserMessage::Answer::No:
        return ChangedFileAnswer::SaveAs;
    default:
        break;
    }
    return ChangedFileAnswer::Cancel;
}

bool CDocSession::MatchesFile() const
{
    // No digest yet: nothing went through the history since the open, so a
    // marked document was changed some other way and differs.
    if (m_fileDigest.isEmpty())
        return !m_doc.IsModified();
    return m_sealKey == m_fileKey && Digest(WriteCheckbook(m_doc)) == m_fileDigest;
}

bool CDocSession::SaveModified()
{
    // Steps that cancel out (a tick and its untick) leave the mark on, but
    // there is nothing to save.
    if (!m_doc.IsModified() || MatchesFile())
        return true;
    const QString name = m_strPathName.isEmpty() ? Title() : QDir::toNativeSeparators(m_strPathName);
    switch (UserMessage::Show(DialogParent(), QString("Save changes to %1?").arg(name), UserMessage::Buttons::YesNoCancel,
                              UserMessage::Icon::Question)) {
    case UserMessage::Answer::Yes:
        return OnFileSave();
    case UserMessage::Answer::No:
        return true;
    default:
        break;
    }
    return false;
}

bool CDocSession::OnFileNew()
{
    if (!SaveModified())
        return false;
    NewDocument();
    return true;
}

bool CDocSession::OnFileOpen()
{
    const QString folder = m_strPathName.isEmpty() ? QDir::homePath() : QFileInfo(m_strPathName).absolutePath();
    const QString path = m_openDialog ? m_openDialog(m_pWindow, folder) : QString();
    if (path.isEmpty() || !SaveModified())
        return false;
    return OpenDocumentFile(path);
}

bool CDocSession::OnOpenRecentFile(int index)
{
    if (index < 0 || index >= m_recent.Files().size())
        return false;
    const QString path = m_recent.Files()[index];
    if (!SaveModified())
        return false;
    FileError::Kind failure = FileError::None;
    if (OpenDocumentFile(path, &failure))
        return true;
    // A file that is gone leaves the list; one that refused a password or
    // could not be read stays, so the user can try again.
    if (failure == FileError::NotFound && !QFileInfo::exists(path)) {
        m_recent.Remove(path);
        emit RecentFilesChanged();
    }
    return false;
}

bool CDocSession::OnFileSave()
{
    if (m_strPathName.isEmpty())
        return OnFileSaveAs();
    return DoSave(m_strPathName);
}

bool CDocSession::OnFileSaveAs()
{
    const QString path = AskSavePath();
    return !path.isEmpty() && DoSave(path);
}

QString CDocSession::AskSavePath()
{
    const QString suggested = m_strPathName.isEmpty() ? QDir(QDir::homePath()).filePath(Title() + kExtension)
                                                      : m_strPathName;
    for (;;) {
        QString path = m_saveDialog ? m_saveDialog(m_pWindow, suggested) : QString();
        if (path.isEmpty())
            return path;
        if (!path.endsWith(kExtension, Qt::CaseInsensitive))
            path += kExtension;
        // "No" goes back to the file dialog for another name.
        if (ConfirmReplace(path))
            return path;
    }
}

bool CDocSession::ConfirmReplace(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    return UserMessage::Show(DialogParent(),
                             QString("%1 already exists.\nDo you want to replace it?").arg(QDir::toNativeSeparators(path)),
                             UserMessage::Buttons::YesNo, UserMessage::Icon::Warning, QString(), {},
                             UserMessage::Answer::No) == UserMessage::Answer::Yes;
}
