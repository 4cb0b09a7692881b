#include "framework/qt/WindowFont.h"

#include "framework/qt/Platform.h"

namespace framework {

QFont WindowFont(int pixelHeight, bool bold) {
    QFont font(QString::fromUtf16(kWindowFontFamily));
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

void ApplyWindowFont(QWidget* widget, int pixelHeight, bool bold) {
    widget->setFont(WindowFont(pixelHeight, bold));
}

}  // namespace framework
