#include "game/PanelMark.h"

#include <cmath>

#include "game/PanelBoard.h"

namespace {

// One sRGB channel, 0..255, as linear light 0..1.
double Linear(std::uint8_t channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(TColor color) {
    return 0.2126 * Linear(ColorRed(color)) + 0.7152 * Linear(ColorGreen(color)) +
           0.0722 * Linear(ColorBlue(color));
}

}  // namespace

TColor ContrastingInk(TColor color) {
    // Contrast ratio (lighter + 0.05) / (darker + 0.05); black has luminance
    // 0 and white 1.
    const double l = RelativeLuminance(color);
    const double onBlack = (l + 0.05) / 0.05;
    const double onWhite = 1.05 / (l + 0.05);
    return onBlack >= onWhite ? clMarkBlack : clMarkWhite;
}

TPanelMark PanelMarkOf(TColor color) { return {PaletteIndexOf(color) + 1, ContrastingInk(color)}; }
