// quillet [FILE]            opens the checkbook, or a new one
// quillet --print FILE      prints it on the default printer and exits
// quillet --print-to-pdf OUT.pdf FILE
//                           writes its printed page to OUT.pdf and exits
#include "HeadlessRun.h"
#include "QuilletApp.h"

#include <QApplication>

int main(int argc, char** argv)
{
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
