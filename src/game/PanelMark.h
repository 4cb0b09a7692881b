// The mark a panel can carry, so that colours that look alike can be told
// apart: the colour's place in the cycle, counted from 1 (aqua 1 ... yellow
// 20), written in black or white, whichever stands out more on the colour.
#pragma once

#include <cstdint>

#include "framework/Color.h"

constexpr TColor clMarkBlack = 0x000000;
constexpr TColor clMarkWhite = 0xFFFFFF;

struct TPanelMark {
    std::int32_t number;  // 1..20; 0 for a colour outside PanelPalette
    TColor ink;           // clMarkBlack or clMarkWhite
};

// The mark of a panel showing `color`.
TPanelMark PanelMarkOf(TColor color);

// Black or white, whichever has the higher contrast ratio with `color`
// (relative luminance of sRGB, as for legible text). A tie goes to black.
TColor ContrastingInk(TColor color);
