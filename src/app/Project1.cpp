// The program: the application object, the windows, then the message loop
// until the main menu window closes.
#include <QApplication>
#include <cstdio>

#include "app/StartupReport.h"
#include "forms/StartUp.h"
#include "forms/Unit1.h"
#include "framework/qt/Display.h"

int main(int argc, char** argv) {
    const std::string noDisplay = framework::MissingDisplayReason();
    if (!noDisplay.empty()) {
        std::fprintf(stderr, "horonpa: cannot start: %s\n", noDisplay.c_str());
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("horonpa");
    CreateApplicationWindows();
    ReportStartupWhenShown(Form1);
    Form1->Show();
    return QApplication::exec();
}
