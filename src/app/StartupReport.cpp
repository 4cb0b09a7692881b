#include "app/StartupReport.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/ProcessStats.h"

namespace {

// Waits for the window's first paint. The paint is followed, in the same
// event, by the flush of the frame to the screen; the report comes from the
// next turn of the event loop, once that frame is out.
class FirstPaintWatcher : public QObject {
  public:
    FirstPaintWatcher(QWidget* window, bool exitAfter) : QObject(window), exitAfter_(exitAfter) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !reported_) {
            reported_ = true;
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] { Report(); });
        }
        return false;
    }

  private:
    void Report() {
        const double ms = framework::MillisecondsSinceProcessStart();
        std::printf("startup-ms %.3f rss-kb %lld\n", ms,
                    static_cast<long long>(framework::PeakResidentKiB()));
        std::fflush(stdout);
        if (exitAfter_) QCoreApplication::exit(0);
    }

    bool exitAfter_;
    bool reported_ = false;
};

}  // namespace

void ReportStartupWhenShown(QWidget* window) {
    const char* mode = std::getenv("HORONPA_REPORT_STARTUP");
    if (mode == nullptr || window == nullptr) return;
    auto* watcher = new FirstPaintWatcher(window, std::strcmp(mode, "exit") == 0);
    window->installEventFilter(watcher);
}
