// The files that tie the program to the desktop agree with it: the launcher
// names the program's windows, and the checkbook file type knows a
// checkbook by its content.
#include "AppTestSupport.h"

#include <QDir>
#include <QGuiApplication>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

namespace
{
const QString kResources = QStringLiteral(QUILLET_SOURCE_DIR "/res/");

// Key=value lines of a desktop entry's main group.
QHash<QString, QString> DesktopEntry(const QString& path)
{
    QHash<QString, QString> entry;
    const QList<QByteArray> lines = ReadFileBytes(path).split('\n');
    for (const QByteArray& line : lines) {
        if (line.startsWith("[Desktop Action"))
            break;
        const int equals = line.indexOf('=');
        if (equals > 0)
            entry.insert(QString::fromUtf8(line.left(equals)), QString::fromUtf8(line.mid(equals + 1)));
    }
    return entry;
}
}

class DesktopFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void launcherNamesTheProgramsWindows()
    {
        AppHarness h;
        h.Make();
        // Wayland finds the launcher by this name, X11 by the windows' class,
        // which Qt takes from the application name.
        const QString launcher = kResources + QGuiApplication::desktopFileName() + ".desktop";
        QVERIFY2(QFileInfo::exists(launcher), qPrintable(launcher));
        const auto entry = DesktopEntry(launcher);
        QCOMPARE(entry.value("StartupWMClass"), QCoreApplication::applicationName());
    }

    void checkbookKnownByItsContent()
    {
        if (QStandardPaths::findExecutable("update-mime-database").isEmpty())
            QSKIP("update-mime-database (shared-mime-info) is not installed");
        QTemporaryDir data;
        QVERIFY(QDir().mkpath(data.filePath("mime/packages")));
        QVERIFY(QFile::copy(kResources + "quillet-mime.xml", data.filePath("mime/packages/quillet.xml")));
        QCOMPARE(QProcess::execute("update-mime-database", {data.filePath("mime")}), 0);
        qputenv("XDG_DATA_DIRS", QFile::encodeName(data.path()));
        qputenv("XDG_DATA_HOME", QFile::encodeName(data.filePath("home")));

        AppHarness h;
        const QString copy = h.Path("Home backup"), notes = h.Path("notes");
        h.WriteCheckbook(copy, "Checking");
        WriteFileBytes(notes, "Version 1.0.0.0 of my notes\n");
        QMimeDatabase mime;
        QCOMPARE(mime.mimeTypeForFile(copy).name(), QString("application/x-quillet-document"));
        QCOMPARE(mime.mimeTypeForFile(h.Path("new.ql1")).name(), QString("application/x-quillet-document"));
        QVERIFY(mime.mimeTypeForFile(notes).name() != "application/x-quillet-document");
    }
};

QTEST_MAIN(DesktopFilesTest)
#include "tst_DesktopFiles.moc"
