#include "game/PanelMark.h"

#include <gtest/gtest.h>

#include "game/PanelBoard.h"

namespace {

// Every colour of the cycle, with its mark worked out by hand from the
// colour's relative luminance L: black ink gives (L + 0.05) / 0.05, white
// 1.05 / (L + 0.05); the larger wins. The close calls are teal (L 0.170:
// white 4.8 against black 4.4), olive (L 0.200: black 5.0 against white
// 4.2) and grey (L 0.216: black 5.3 against white 3.9).
TEST(PanelMark, EachColourOfTheCycleGetsItsNumberAndTheContrastingInk) {
    FillPanelPalette();
    struct Expected {
        const char* name;
        TColor ink;
    } expected[kPaletteSize] = {
        {"aqua", clMarkBlack},   {"black", clMarkWhite},      {"blue", clMarkWhite},
        {"cream", clMarkBlack},  {"grey", clMarkBlack},       {"fuchsia", clMarkBlack},
        {"silver", clMarkBlack}, {"green", clMarkWhite},      {"lime", clMarkBlack},
        {"maroon", clMarkWhite}, {"pale green", clMarkBlack}, {"navy", clMarkWhite},
        {"olive", clMarkBlack},  {"purple", clMarkWhite},     {"red", clMarkBlack},
        {"rose", clMarkBlack},   {"sky blue", clMarkBlack},   {"teal", clMarkWhite},
        {"white", clMarkBlack},  {"yellow", clMarkBlack},
    };
    for (int i = 0; i < kPaletteSize; ++i) {
        const TPanelMark mark = PanelMarkOf(PanelPalette[static_cast<std::size_t>(i)]);
        EXPECT_EQ(mark.number, i + 1) << expected[i].name;
        EXPECT_EQ(mark.ink, expected[i].ink) << expected[i].name;
    }
}

}  // namespace
