#include "framework/qt/GroupBox.h"

#include <QFontMetrics>
#include <QPainter>

namespace framework {

TGroupBox::TGroupBox(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {
    setAutoFillBackground(false);
}

int TGroupBox::FrameTop() const { return QFontMetrics(font()).height() / 2 - 1; }

QRect TGroupBox::CaptionRect() const {
    if (title().isEmpty()) return {};
    const QFontMetrics fm(font());
    return {kCaptionLeft, 0, fm.horizontalAdvance(title()), fm.height()};
}

void TGroupBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // An etched frame: the shadow line, and the highlight line one pixel to
    // the lower right of it.
    const QRect frame(0, FrameTop(), width() - 1, height() - FrameTop() - 1);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(frame.translated(1, 1).adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    const QRect caption = CaptionRect();
    if (caption.isEmpty()) return;
    // The caption stands on the background it is placed on, hiding the line.
    painter.fillRect(caption, palette().window());
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.setFont(font());
    painter.drawText(caption, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, title());
}

}  // namespace framework
