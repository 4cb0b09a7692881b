#include "framework/qt/MouseCapture.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWindow>

namespace framework {

namespace {

bool IsCapturingRelease(const QMouseEvent* e) {
    // Released while the left button is still down: the left press holds the
    // capture, so Qt's delivery is already the right one.
    return e->button() == Qt::LeftButton || (e->buttons() & Qt::LeftButton);
}

// The widget under `global` that may take input now: none when a modal
// dialog blocks its window.
QWidget* ReceiverAt(const QPoint& global) {
    QWidget* w = QApplication::widgetAt(global);
    if (w == nullptr) return nullptr;
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && w->window() != modal && !modal->isAncestorOf(w)) return nullptr;
    return w;
}

}  // namespace

bool MouseCaptureFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonRelease) return false;
    auto* release = static_cast<QMouseEvent*>(event);

    if (watched->isWindowType()) {
        // The release as the desktop delivers it, before Qt picks the widget.
        pending_ = !IsCapturingRelease(release);
        if (pending_) {
            pendingTimestamp_ = release->timestamp();
            pendingGlobal_ = release->globalPosition();
            target_ = ReceiverAt(release->globalPosition().toPoint());
        }
        return false;
    }
    if (!pending_ || !watched->isWidgetType() || release->timestamp() != pendingTimestamp_ ||
        release->globalPosition() != pendingGlobal_)
        return false;
    // The first widget Qt hands the release to: the one that got the press.
    pending_ = false;
    QWidget* target = target_.data();
    target_ = nullptr;
    if (watched == target) return false;

    if (target != nullptr) {
        const QPointF global = release->globalPosition();
        QMouseEvent redirected(QEvent::MouseButtonRelease, target->mapFromGlobal(global),
                               target->window()->mapFromGlobal(global), global, release->button(),
                               release->buttons(), release->modifiers(), release->pointingDevice());
        redirected.setTimestamp(release->timestamp());
        QApplication::sendEvent(target, &redirected);
    }
    return true;  // the widget that got the press does not see this release
}

void InstallMouseCapture() {
    static MouseCaptureFilter* filter = nullptr;
    if (filter != nullptr || qApp == nullptr) return;
    filter = new MouseCaptureFilter(qApp);
    qApp->installEventFilter(filter);
}

}  // namespace framework
