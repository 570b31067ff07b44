#pragma once
// One window per checkbook. A Quillet window that has a file open listens
// on a local socket named after that file, in the user's private runtime
// folder. Starting Quillet again with the same file hands it to that
// window, which comes forward, and the new start ends; another file gets a
// window of its own.

#include <QObject>
#include <QString>

#include <memory>

class CDocSession;
class QLocalServer;
class QWidget;

namespace SingleInstance
{
// The socket of the window that has path open; empty when path names no
// existing file or there is no private runtime folder.
QString SocketPath(const QString& path);

// Asks the Quillet that has path open to bring its window forward. True
// when it did; false when none has it, or none answered in time.
bool HandOver(const QString& path, int timeoutMs = 5000);
}

// Answers hand-overs for the session's file, following it as the user
// opens, saves under another name or starts a new checkbook.
class CInstanceServer : public QObject
{
    Q_OBJECT
public:
    CInstanceServer(CDocSession& session, QWidget& window, QObject* parent = nullptr);
    ~CInstanceServer() override;

    // The socket it listens on; empty when it listens on none.
    QString SocketPath() const;

signals:
    // A second start with path came to this window.
    void HandedOver(const QString& path);

private:
    void Follow();
    void OnConnection();
    void BringForward(const QByteArray& activationToken, const QByteArray& startupId);

    CDocSession& m_session;
    QWidget& m_window;
    QString m_strFile;  // the canonical path listened for
    std::unique_ptr<QLocalServer> m_pServer;
};
