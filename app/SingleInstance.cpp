#include "SingleInstance.h"

#include "DocSession.h"
#include "X11Startup.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace
{
// One request a connection, one line: "open PATH TOKEN STARTUP-ID", each
// field percent-encoded; the answer is one byte. The last two are what the
// desktop gave the start that hands over, to let the window take the focus.
const QByteArray kVerb = "open";
constexpr char kAccepted = '1';
constexpr char kDeclined = '0';
constexpr qint64 kMaxRequest = 64 * 1024;
// How long a silent client may keep its connection.
constexpr int kClientTimeoutMs = 5000;

QString CanonicalPath(const QString& path)
{
    return path.isEmpty() ? QString() : QFileInfo(path).canonicalFilePath();
}

QString SocketFor(const QString& canonicalPath)
{
    if (canonicalPath.isEmpty())
        return QString();
    // Private to the user: nobody else may learn which files are open, or
    // answer in a window's place.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        return QString();
    const QByteArray digest = QCryptographicHash::hash(QFile::encodeName(canonicalPath), QCryptographicHash::Sha256);
    return folder + "/quillet-" + QString::fromLatin1(digest.toHex().left(32));
}
}

QString SingleInstance::SocketPath(const QString& path)
{
    return SocketFor(CanonicalPath(path));
}

bool SingleInstance::HandOver(const QString& path, int timeoutMs)
{
    const QString canonical = CanonicalPath(path);
    const QString socketPath = SocketFor(canonical);
    if (socketPath.isEmpty() || !QFileInfo::exists(socketPath))
        return false;
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(deadline.remainingTime()))
        return false;
    const auto field = [](const QString& text) { return ' ' + QUrl::toPercentEncoding(text); };
    socket.write(kVerb + field(canonical) + field(qEnvironmentVariable("XDG_ACTIVATION_TOKEN")) +
                 field(qEnvironmentVariable("DESKTOP_STARTUP_ID")) + '\n');
    if (!socket.waitForBytesWritten(deadline.remainingTime()))
        return false;
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(deadline.remainingTime()))
            return false;
    }
    char answer = kDeclined;
    return socket.getChar(&answer) && answer == kAccepted;
}

CInstanceServer::CInstanceServer(CDocSession& session, QWidget& window, QObject* parent)
    : QObject(parent), m_session(session), m_window(window)
{
    connect(&m_session, &CDocSession::TitleChanged, this, &CInstanceServer::Follow);
    Follow();
}

CInstanceServer::~CInstanceServer() = default;

QString CInstanceServer::SocketPath() const
{
    return m_pServer ? m_pServer->fullServerName() : QString();
}

void CInstanceServer::Follow()
{
    const QString file = CanonicalPath(m_session.PathName());
    if (file == m_strFile)
        return;
    m_pServer.reset();
    m_strFile = file;
    const QString socketPath = SocketFor(file);
    if (socketPath.isEmpty())
        return;
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(socketPath)) {
        // Another window that opened the same file from its menu keeps it;
        // a socket left by a Quillet that crashed is taken over.
        QLocalSocket probe;
        probe.connectToServer(socketPath);
        if (probe.waitForConnected(500))
            return;
        QLocalServer::removeServer(socketPath);
        if (!server->listen(socketPath))
            return;
    }
    connect(server.get(), &QLocalServer::newConnection, this, &CInstanceServer::OnConnection);
    m_pServer = std::move(server);
}

void CInstanceServer::OnConnection()
{
    while (QLocalSocket* socket = m_pServer->nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(kClientTimeoutMs, socket, [socket] { socket->abort(); });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kMaxRequest)
                    socket->abort();
                return;
            }
            QByteArray line = socket->readLine(kMaxRequest);
            line.chop(1);
            const QList<QByteArray> fields = line.split(' ');
            const QString path = fields.size() == 4 && fields[0] == kVerb ? QUrl::fromPercentEncoding(fields[1]) : QString();
            const bool mine = !m_strFile.isEmpty() && path == m_strFile;
            socket->putChar(mine ? kAccepted : kDeclined);
            socket->disconnectFromServer();
            if (mine) {
                BringForward(QUrl::fromPercentEncoding(fields[2]).toLocal8Bit(),
                             QUrl::fromPercentEncoding(fields[3]).toLocal8Bit());
                emit HandedOver(path);
            }
        });
    }
}

void CInstanceServer::BringForward(const QByteArray& activationToken, const QByteArray& startupId)
{
    // Under Wayland a window may take the focus only with the token the
    // desktop gave to the start that was handed over.
    if (!activationToken.isEmpty())
        qputenv("XDG_ACTIVATION_TOKEN", activationToken);
    if (m_window.isMinimized())
        m_window.setWindowState(m_window.windowState() & ~Qt::WindowMinimized);
    m_window.raise();
    m_window.activateWindow();
    // A dialog open in front of the window stays in front.
    QWidget* front = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : &m_window;
    if (front != &m_window) {
        front->raise();
        front->activateWindow();
    }
    X11Startup::Complete(*front, startupId);
}
