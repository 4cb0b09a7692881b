// A mouse that goes through the window system like a real one: the window
// gets the event first, so implicit grab, double clicks, button state and the
// application's mouse capture behave as they do for a player.
#pragma once

#include <QEvent>
#include <QPoint>
#include <QWidget>

namespace testsupport {

class Mouse {
  public:
    void Move(QWidget* w, QPoint pos);
    void Press(QWidget* w, Qt::MouseButton button, QPoint pos = {5, 5},
               Qt::KeyboardModifiers mods = {});
    void Release(QWidget* w, Qt::MouseButton button, QPoint pos = {5, 5},
                 Qt::KeyboardModifiers mods = {});
    // A press and a release; a second Click() right after it is a double click.
    void Click(QWidget* w, Qt::MouseButton button, QPoint pos = {5, 5});
    // Lets the double-click interval pass.
    void Pause();

  private:
    void Send(QWidget* w, QPoint pos, Qt::MouseButton button, QEvent::Type type,
              Qt::KeyboardModifiers mods);
    Qt::MouseButtons buttons_;
};

}  // namespace testsupport
