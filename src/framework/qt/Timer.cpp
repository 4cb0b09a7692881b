#include "framework/qt/Timer.h"

#include "framework/qt/HandlerGuard.h"

namespace framework {

TTimer::TTimer(QObject* owner) : QObject(owner) {
    timer_.setInterval(1000);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (OnTimer) RunGuarded(OnTimer);
    });
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled == timer_.isActive()) return;
    if (enabled) {
        timer_.start();
    } else {
        timer_.stop();
    }
}

void TTimer::SetInterval(int ms) {
    bool running = timer_.isActive();
    timer_.setInterval(ms);
    if (running) timer_.start();
}

}  // namespace framework
