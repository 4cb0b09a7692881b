// The group box: a frame with its caption standing on the frame's top line,
// at the top left. The inside is not filled: the window's own background
// shows through, as with every control placed on it.
#pragma once

#include <QGroupBox>

namespace framework {

class TGroupBox : public QGroupBox {
    Q_OBJECT

  public:
    // Where the caption starts, from the box's left edge.
    static constexpr int kCaptionLeft = 8;

    explicit TGroupBox(const QString& caption, QWidget* parent = nullptr);

    // The y of the frame's top line: half a text height down, so that the line
    // runs through the middle of the caption.
    int FrameTop() const;
    // The rectangle the caption covers (the frame line is hidden behind it).
    QRect CaptionRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace framework
