// quillet [FILE]            opens the checkbook, or a new one
// quillet --print FILE      prints it on the default printer and exits
#include "QuilletApp.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    CQuilletApp app;
    if (!app.InitInstance(QApplication::arguments())) {
        app.ExitInstance();
        return app.ExitCode();
    }
    QApplication::exec();
    return app.ExitInstance();
}
