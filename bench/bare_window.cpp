// The yardstick for start-up: the least a Qt 6 Widgets program does to put a
// window on the screen. It reports its start-up exactly as the game does
// (HORONPA_REPORT_STARTUP), so the two can be compared run for run.
#include <QApplication>
#include <QWidget>

#include "app/StartupReport.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.resize(341, 167);
    ReportStartupWhenShown(&window);
    window.show();
    return QApplication::exec();
}
