#pragma once
// A Quillet application driven by a test: a throw-away settings store,
// scripted answers to the message boxes, file dialogs, password and
// passphrase prompts.

#include "AppSettings.h"
#include "AppValues.h"
#include "CheckbookFile.h"
#include "Commands.h"
#include "DocSession.h"
#include "MainFrame.h"
#include "QuilletApp.h"
#include "QuilletDoc.h"
#include "UserMessage.h"

#include <QAction>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class AppHarness
{
public:
    AppHarness()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_profile.path());
        AppValues::ResetToDefaults();
        UserMessage::SetHandler([this](const UserMessage::Shown& shown) {
            messages << shown.text;
            return answers.isEmpty() ? UserMessage::Answer::Ok : answers.takeFirst();
        });
    }
    ~AppHarness()
    {
        app.reset();
        UserMessage::SetHandler({});
    }
    Q_DISABLE_COPY(AppHarness)

    // A new application whose dialogs answer from the fields below.
    CQuilletApp& Make()
    {
        app = std::make_unique<CQuilletApp>();
        CDocSession& session = app->Session();
        session.SetOpenDialog([this](QWidget*, const QString&) { return openPath; });
        session.SetSaveDialog([this](QWidget*, const QString& suggested) {
            saveSuggestions << suggested;
            return savePath;
        });
        session.SetPasswordPrompt([this](const std::string&) {
            ++passwordPrompts;
            return passwordAccepted;
        });
        // Tries the passphrases in turn until one is not wrong.
        session.SetPassphrasePrompt([this](const std::string&, const PassphraseAttempt& attempt) {
            ++passphrasePrompts;
            SealStatus status = SealStatus::NoPassphrase;
            while (!passphrases.isEmpty()) {
                std::string typed = passphrases.takeFirst().toStdString();
                status = attempt(CSecret::Take(typed));
                if (status != SealStatus::WrongPassphrase)
                    break;
            }
            return status;
        });
        return *app;
    }
    bool Start(const QStringList& arguments = {})
    {
        if (!app)
            Make();
        return app->InitInstance(QStringList{"quillet"} + arguments);
    }
    CMainFrame& Frame() { return *app->GetMainFrame(); }
    CQuilletDoc& Doc() { return app->GetDocument(); }
    void Trigger(int id) { Frame().CommandAction(id)->trigger(); }
    QString Title() { return Frame().windowTitle(); }
    // An unsaved change, as an edit in a dialog would make.
    void Modify()
    {
        Doc().AddAccount("Cash", "", 10.0, "", "", "");
        Doc().SetModifiedFlag();
    }

    QString Path(const QString& name) const { return m_files.filePath(name); }
    std::unique_ptr<QSettings> Store() const { return AppSettings::Open(); }

    // A checkbook with one account, saved with the given values; the
    // application-wide values are put back after.
    void WriteCheckbook(const QString& path, const std::string& account, int upcomingDays = 20,
                        const std::string& passwordHash = std::string())
    {
        const std::string savedHash = g_strPasswordHash;
        const int savedUpcoming = g_nUpcomingDays;
        CQuilletDoc doc;
        doc.AddAccount(account, "1001", 250.0, "", "", "");
        g_nUpcomingDays = upcomingDays;
        g_strPasswordHash = passwordHash;
        FileError error;
        QVERIFY2(SaveCheckbookFile(doc, path.toStdString(), error), error.message.c_str());
        g_strPasswordHash = savedHash;
        g_nUpcomingDays = savedUpcoming;
    }

    std::unique_ptr<CQuilletApp> app;
    QStringList messages;
    QList<UserMessage::Answer> answers;
    QString openPath, savePath;
    QStringList saveSuggestions;
    bool passwordAccepted = true;
    int passwordPrompts = 0;
    QStringList passphrases;
    int passphrasePrompts = 0;

private:
    QTemporaryDir m_profile, m_files;
};

inline QByteArray ReadFileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void WriteFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}
