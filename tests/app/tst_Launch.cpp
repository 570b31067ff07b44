// How the program starts: --help and --version without a display, and one
// window per checkbook (a second start with a file that a window has open
// goes to that window and ends).
#include "AppTestSupport.h"

#include "SingleInstance.h"

#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

namespace
{
struct Run
{
    int status = -1;
    QString out;
};

// The environment of the program started by a test: its settings under
// the test's folder, and a display only when asked for.
QProcessEnvironment ProgramEnvironment(bool display)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    if (display)
        env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_CONFIG_HOME", qEnvironmentVariable("XDG_RUNTIME_DIR") + "/config");
    return env;
}

// The program itself, as the desktop starts it. The event loop keeps
// running meanwhile, so a window of this test can answer it. A start that
// does not end in time is stopped, and its status stays -1.
Run RunQuillet(const QStringList& arguments, bool display = true)
{
    QProcess process;
    process.setProcessEnvironment(ProgramEnvironment(display));
    QSignalSpy finished(&process, &QProcess::finished);
    process.start(QStringLiteral(QUILLET_PROGRAM), arguments);
    Run run;
    if (finished.wait(20000) && process.exitStatus() == QProcess::NormalExit)
        run.status = process.exitCode();
    else
        process.kill(), process.waitForFinished();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    return run;
}

// One raw request to the window's socket, and its answer.
QByteArray Ask(const QString& socketPath, const QByteArray& request)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    socket.write(request);
    QSignalSpy closed(&socket, &QLocalSocket::disconnected);
    closed.wait(5000);
    return socket.readAll();
}
}

class LaunchTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_runtime;

private slots:
    void initTestCase()
    {
        // The sockets of this test's windows, apart from everything else.
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
    }

    void helpAndVersionNeedNoDisplay()
    {
        Run run = RunQuillet({"--help"}, false);
        QCOMPARE(run.status, 0);
        QVERIFY2(run.out.contains("--print-to-pdf") && run.out.contains("[file]"), qPrintable(run.out));
        // Help is given even beside a mistake.
        QCOMPARE(RunQuillet({"--frobnicate", "-h"}, false).out, run.out);
        run = RunQuillet({"--version"}, false);
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, QString("Quillet Version 1.0.0.0\n"));
    }

    void aSecondStartWithAnOpenFileGoesToItsWindow()
    {
        AppHarness h;
        const QString file = h.Path("Home.ql1"), link = h.Path("Link.ql1");
        h.WriteCheckbook(file, "Checking");
        QVERIFY(QFile::link(file, link));
        // What a Quillet that crashed left behind does not stand in the way.
        WriteFileBytes(SingleInstance::SocketPath(file), "left over");
        QVERIFY(h.Start({file}));
        h.Frame().showMinimized();
        QSignalSpy handed(h.app->InstanceServer(), &CInstanceServer::HandedOver);

        // The same file, also under another name: no second window.
        for (const QString& path : {file, link})
            QCOMPARE(RunQuillet({path}).status, 0);
        QCOMPARE(handed.count(), 2);
        QCOMPARE(handed[1][0].toString(), QFileInfo(file).canonicalFilePath());
        QVERIFY(!h.Frame().isMinimized());
        // The starts that ended wrote nothing over the settings.
        QVERIFY(!QFileInfo::exists(m_runtime.filePath("config/Quillet-Orvane/Quillet.conf")));

        // Another file gets a window of its own, which then answers for it.
        const QString other = h.Path("Other.ql1");
        h.WriteCheckbook(other, "Savings");
        QProcess second;
        second.setProcessEnvironment(ProgramEnvironment(true));
        second.start(QStringLiteral(QUILLET_PROGRAM), {other});
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(SingleInstance::SocketPath(other)), 20000);
        QCOMPARE(second.state(), QProcess::Running);
        QCOMPARE(handed.count(), 2);
        second.terminate();
        second.waitForFinished();

        // The window follows the file it has open: the old one is free again.
        const QString opened = h.Path("Opened.ql1");
        h.WriteCheckbook(opened, "Cash");
        h.openPath = opened;
        h.Trigger(ID_FILE_OPEN);
        QVERIFY(!QFileInfo::exists(SingleInstance::SocketPath(file)));
        QCOMPARE(h.app->InstanceServer()->SocketPath(), SingleInstance::SocketPath(opened));
        QCOMPARE(RunQuillet({opened}).status, 0);
        QCOMPARE(handed.count(), 3);

        // A request for another file, or no request at all, is refused.
        const QString socket = h.app->InstanceServer()->SocketPath();
        QCOMPARE(Ask(socket, "open " + QUrl::toPercentEncoding(file) + "  \n"), QByteArray("0"));
        QCOMPARE(Ask(socket, "show " + QUrl::toPercentEncoding(QFileInfo(opened).canonicalFilePath()) + "  \n"),
                 QByteArray("0"));
        QCOMPARE(handed.count(), 3);
    }
};

QTEST_MAIN(LaunchTest)
#include "tst_Launch.moc"
