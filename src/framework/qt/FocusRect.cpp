#include "framework/qt/FocusRect.h"

#include <QPolygon>

namespace framework {

void DrawFocusRect(QPainter& canvas, const QRect& rect) {
    if (rect.width() <= 0 || rect.height() <= 0) return;
    const int left = rect.left(), top = rect.top(), right = rect.right(), bottom = rect.bottom();
    QPolygon dots;
    const auto dot = [&](int x, int y) {
        if ((x + y) % 2 == 0) dots << QPoint(x, y);
    };
    for (int x = left; x <= right; ++x) {
        dot(x, top);
        if (bottom > top) dot(x, bottom);
    }
    for (int y = top + 1; y < bottom; ++y) {
        dot(left, y);
        if (right > left) dot(right, y);
    }
    canvas.save();
    canvas.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    canvas.setPen(QPen(Qt::white, 0));
    canvas.drawPoints(dots);
    canvas.restore();
}

}  // namespace framework
