// The windows' font: "ＭＳ Ｐゴシック" at a height in pixels (the desktop
// substitutes an installed face for it, see RegisterFontSubstitutions).
#pragma once

#include <QFont>
#include <QWidget>

namespace framework {

QFont WindowFont(int pixelHeight, bool bold = false);
void ApplyWindowFont(QWidget* widget, int pixelHeight, bool bold = false);

}  // namespace framework
