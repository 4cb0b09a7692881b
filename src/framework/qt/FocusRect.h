// The desktop's focus rectangle: a dotted outline drawn by inverting every
// other pixel of it, so that drawing it twice takes it away again.
#pragma once

#include <QPainter>
#include <QRect>

namespace framework {

// Draws the focus rectangle along the edge of `rect` (its outermost pixels).
void DrawFocusRect(QPainter& canvas, const QRect& rect);

}  // namespace framework
