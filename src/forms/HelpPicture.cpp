#include "forms/HelpPicture.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRect>
#include <algorithm>
#include <cmath>

#include "framework/qt/WindowFont.h"

namespace {

// The groove takes two pixels on each side.
constexpr int kGroove = 2;
// The marks are the numbers 1 to 20.
constexpr int kMarks = 20;
constexpr int kSmallestMark = 6;

// A label shares the panel with a mark or sits inside the ring: smaller.
QFont LabelFont(int side, bool small) {
    return framework::WindowFont(std::max(6, small ? side * 7 / 20 : side * 2 / 5), true);
}

bool SmallLabel(const THelpLook& look) { return look.BesideMark() || look.nextPress; }

// The label of `presses` on a panel of side `side`.
QRect LabelRect(int side, int presses, const THelpLook& look) {
    const QFontMetrics metrics(LabelFont(side, SmallLabel(look)));
    const int pad = std::max(1, metrics.capHeight() / 5);
    const int w = metrics.horizontalAdvance(QString::number(presses)) + 2 * pad + 2;
    const int h = metrics.capHeight() + 2 * pad + 2;
    const int left = (side - w) / 2;
    const int top = look.BesideMark() ? side - kGroove - 1 - h : (side - h) / 2;
    return QRect(left, top, w, h);
}

// The top of every label that stands below a mark.
int LabelTopBesideMark(int side) {
    THelpLook look;
    look.presses = 1;
    look.mark = true;
    return LabelRect(side, look.presses, look).top();
}

// How far the digits reach above the baseline.
int DigitHeight(const QFontMetrics& metrics) {
    return -metrics.tightBoundingRect(QStringLiteral("0123456789")).top();
}

// The pixels any mark of M covers on a panel with `look`, with a pixel
// round them. The panel centres its caption across, and down too unless
// MarkTop places it.
QRect MarkArea(int side, const THelpLook& look) {
    const QFontMetrics metrics(MarkFont(side));
    QRect area;
    for (int n = 1; n <= kMarks; ++n) {
        const QRect extent =
            metrics.boundingRect(QRect(), Qt::TextShowMnemonic, QString::number(n));
        const int top = look.BesideMark() ? MarkTop(side, look) : (side - extent.height()) / 2;
        const int baseline = top + metrics.ascent();
        const int left = (side - extent.width()) / 2;
        area |= QRect(left, baseline - DigitHeight(metrics), extent.width(), DigitHeight(metrics));
    }
    return area.adjusted(-1, -1, 1, 1);
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
    const QFont font = LabelFont(side, SmallLabel(look));
    const QFontMetrics metrics(font);
    const QRect r = LabelRect(side, look.presses, look);
    // Edged in whole pixels, also where a pixel is several on the screen.
    p.fillRect(r, Qt::black);
    p.fillRect(r.adjusted(1, 1, -1, -1), Qt::white);
    p.setPen(Qt::black);
    p.setFont(font);
    const int pad = std::max(1, metrics.capHeight() / 5);
    p.drawText(QPoint(r.left() + 1 + pad, r.top() + 1 + pad + metrics.capHeight()),
               QString::number(look.presses));
}

}  // namespace

QFont MarkFont(int side) {
    // The digits end a pixel above the label and begin a pixel below the
    // groove.
    const int room = LabelTopBesideMark(side) - 1 - (kGroove + 1);
    int size = std::max(kSmallestMark, side * 9 / 20);
    while (size > kSmallestMark &&
           DigitHeight(QFontMetrics(framework::WindowFont(size, true))) > room)
        --size;
    return framework::WindowFont(size, true);
}

int MarkTop(int side, const THelpLook& look) {
    if (!look.BesideMark()) return -1;
    // The baseline is the row between the digits and the label.
    return LabelTopBesideMark(side) - 1 - QFontMetrics(MarkFont(side)).ascent();
}

QImage HelpPicture(int side, const THelpLook& look, qreal dpr) {
    if (look.Empty() || side <= 0) return {};
    QImage image(QSize(side, side) * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    QPainter p(&image);
    if (look.nextPress) {
        DrawRing(p, side);
        if (look.mark) {
            p.setCompositionMode(QPainter::CompositionMode_Clear);
            p.fillRect(MarkArea(side, look), Qt::transparent);
            p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
    }
    if (look.presses > 0) DrawLabel(p, side, look);
    return image;
}
