// The timer component: while Enabled, OnTimer runs every Interval
// milliseconds on the user-interface thread. Enabling it starts a fresh
// interval; disabling it stops it.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace framework {

class TTimer : public QObject {
    Q_OBJECT

  public:
    explicit TTimer(QObject* owner = nullptr);

    bool Enabled() const { return timer_.isActive(); }
    void SetEnabled(bool enabled);
    int Interval() const { return timer_.interval(); }
    void SetInterval(int ms);

    // Runs under the handler guard on every tick.
    std::function<void()> OnTimer;

  private:
    QTimer timer_;
};

}  // namespace framework
