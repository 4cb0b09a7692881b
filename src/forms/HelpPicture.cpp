#include "forms/HelpPicture.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "framework/qt/WindowFont.h"

namespace {

// The groove takes two pixels on each side.
constexpr int kGroove = 2;

// A label shares the panel with a mark or sits inside the ring: smaller.
QFont LabelFont(int side, bool small) {
    return framework::WindowFont(std::max(6, small ? side * 7 / 20 : side * 2 / 5), true);
}

// The label of `presses` on a panel of side `side`.
QRect LabelRect(int side, int presses, const THelpLook& look) {
    const QFontMetrics metrics(LabelFont(side, look.besideMark || look.nextPress));
    const int pad = std::max(1, metrics.capHeight() / 5);
    const int w = metrics.horizontalAdvance(QString::number(presses)) + 2 * pad + 2;
    const int h = metrics.capHeight() + 2 * pad + 2;
    const int left = (side - w) / 2;
    const int top = look.besideMark ? side - kGroove - 1 - h : (side - h) / 2;
    return QRect(left, top, w, h);
}

void DrawRing(QPainter& p, int side) {
    const double outer = (side - 2 * kGroove) / 2.0;
    const double band = std::max(2.0, std::round(side * 0.08));
    const QPointF centre(side / 2.0, side / 2.0);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, band));
    p.drawEllipse(centre, outer - band / 2, outer - band / 2);
    p.setPen(QPen(Qt::white, band));
    p.drawEllipse(centre, outer - 1.5 * band, outer - 1.5 * band);
    p.setRenderHint(QPainter::Antialiasing, false);
}

void DrawLabel(QPainter& p, int side, const THelpLook& look) {
    const QFont font = LabelFont(side, look.besideMark || look.nextPress);
    const QFontMetrics metrics(font);
    const QRect r = LabelRect(side, look.presses, look);
    p.fillRect(r, Qt::white);
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.setFont(font);
    const int pad = std::max(1, metrics.capHeight() / 5);
    p.drawText(QPoint(r.left() + 1 + pad, r.top() + 1 + pad + metrics.capHeight()),
               QString::number(look.presses));
}

}  // namespace

QImage HelpPicture(int side, const THelpLook& look) {
    if (look.Empty() || side <= 0) return {};
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    if (look.nextPress) DrawRing(p, side);
    if (look.presses > 0) DrawLabel(p, side, look);
    return image;
}

int MarkBaselineAboveLabel(int side) {
    // Every label beside a mark is as high.
    THelpLook look;
    look.presses = 1;
    look.besideMark = true;
    return LabelRect(side, look.presses, look).top() - 1;
}
