// A measuring hook for start-up: when the environment variable
// HORONPA_REPORT_STARTUP is set, the moment a window is first painted the
// process prints one line on standard output,
//   startup-ms <milliseconds since the process started> rss-kb <peak resident KiB>
// and, when the variable's value is "exit", then ends its event loop.
// Without the variable nothing is installed.
#pragma once

class QWidget;

void ReportStartupWhenShown(QWidget* window);
