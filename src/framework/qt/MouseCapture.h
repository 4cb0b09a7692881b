// Mouse capture as the original platform does it.
//
// Qt gives the widget that receives any button press the mouse until every
// button is up again. On the original platform only a left press captures
// the mouse; a right or middle release goes to the control under the pointer,
// wherever the press was, and the control that got the press does not see
// that release. The board relies on this: a right release over a panel is a
// move on that panel.
//
// A left press keeps Qt's behaviour (the pressed widget gets the release), and
// while the left button is held every release stays with the captured widget.
#pragma once

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QWidget>

namespace framework {

class MouseCaptureFilter : public QObject {
    Q_OBJECT

  public:
    explicit MouseCaptureFilter(QObject* parent = nullptr) : QObject(parent) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // A right or middle release has arrived at a window; the first widget it
    // is dispatched to is checked against `target`.
    // The release is recognised by its time stamp and position.
    bool pending_ = false;
    quint64 pendingTimestamp_ = 0;
    QPointF pendingGlobal_;
    QPointer<QWidget> target_;
};

// Installs the filter on the application (once; later calls do nothing).
void InstallMouseCapture();

}  // namespace framework
