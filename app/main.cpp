// quillet [FILE]            opens the checkbook, or a new one; when a running
//                           Quillet has FILE open, that window comes forward
// quillet --print FILE      prints it on the default printer and exits
// quillet --print-to-pdf OUT.pdf FILE
//                           writes its printed page to OUT.pdf and exits
// quillet --help | --version
#include "CommandLine.h"
#include "HeadlessRun.h"
#include "QuilletApp.h"
#include "SingleInstance.h"

#include <QApplication>
#include <QCoreApplication>

int main(int argc, char** argv)
{
    {
        // Settled before the window application exists, because that needs
        // a display: the help, the version, and a file already open in
        // another window.
        QCoreApplication early(argc, argv);
        const CommandLine line = ParseCommandLine(QCoreApplication::arguments());
        if (const auto status = AnswerOnTerminal(line))
            return *status;
        if (line.action == CommandLine::Action::Window && line.error.isEmpty() && !line.file.isEmpty() &&
            SingleInstance::HandOver(line.file))
            return 0;
    }

    const bool headless = HeadlessRun::Requested(argc, argv);
    if (headless)
        HeadlessRun::ChoosePlatform();
    QApplication application(argc, argv);
    CQuilletApp app;
    if (headless)
        HeadlessRun::UseTerminal(app);
    if (!app.InitInstance(QApplication::arguments())) {
        app.ExitInstance();
        return app.ExitCode();
    }
    QApplication::exec();
    return app.ExitInstance();
}
