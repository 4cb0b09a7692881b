#include "support/Mouse.h"

#include <QApplication>
#include <QTest>
#include <QWindow>

Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button,
                                      QEvent::Type type, Qt::KeyboardModifiers mods, int timestamp);

namespace testsupport {

// The test library's mouse clock is shared, so events of other tests never
// look like the second half of a double click.
void Mouse::Send(QWidget* w, QPoint pos, Qt::MouseButton button, QEvent::Type type,
                 Qt::KeyboardModifiers mods) {
    QWindow* window = w->window()->windowHandle();
    const QPoint local = window->mapFromGlobal(w->mapToGlobal(pos));
    QTest::lastMouseTimestamp += 1;
    qt_handleMouseEvent(window, local, window->mapToGlobal(local), buttons_, button, type, mods,
                        QTest::lastMouseTimestamp);
    QApplication::processEvents();
}

void Mouse::Move(QWidget* w, QPoint pos) { Send(w, pos, Qt::NoButton, QEvent::MouseMove, {}); }

void Mouse::Press(QWidget* w, Qt::MouseButton button, QPoint pos, Qt::KeyboardModifiers mods) {
    buttons_ |= button;
    Send(w, pos, button, QEvent::MouseButtonPress, mods);
}

void Mouse::Release(QWidget* w, Qt::MouseButton button, QPoint pos, Qt::KeyboardModifiers mods) {
    buttons_ &= ~Qt::MouseButtons(button);
    Send(w, pos, button, QEvent::MouseButtonRelease, mods);
}

void Mouse::Click(QWidget* w, Qt::MouseButton button, QPoint pos) {
    Press(w, button, pos);
    Release(w, button, pos);
}

void Mouse::Pause() { QTest::lastMouseTimestamp += 5000; }

}  // namespace testsupport
