// Turns a TColor into the colour that is actually drawn. System colours are
// looked up in the application palette when drawn, so a theme change reaches
// every control on its next paint.
#pragma once

#include <QColor>

#include "framework/Color.h"

namespace framework {

// clBtnFace -> Button, clBtnShadow -> Dark, clBtnHighlight -> Light,
// cl3DDkShadow -> Shadow, cl3DLight -> Midlight, clInfoBk -> ToolTipBase, and a
// few other common system colours; a system colour without a palette role is
// black (what the platform answers for an unknown index). Any other value is
// 0x00BBGGRR.
QColor ColorToQColor(TColor color);

}  // namespace framework
