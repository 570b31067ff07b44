// Start-up of the desktop program. The full application shell replaces
// this window; until then it shows an empty checkbook's caption.
#include "AppValues.h"
#include "QuilletDoc.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    AppValues::ResetToDefaults();
    CQuilletDoc doc;
    QMainWindow window;
    window.setWindowTitle("Untitled - Quillet");
    window.setCentralWidget(new QLabel("The dashboard is not built yet.", &window));
    window.resize(680, 515);
    window.show();
    return app.exec();
}
