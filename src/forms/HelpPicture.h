// How the help of H and S looks on a panel: a picture the panel draws over
// its face and under its caption (the mark of M).
//
//   next press (H)    a thick ring around the panel's middle, black outside
//                     and white inside;
//   presses left (S)  the number in black on a small white label edged in
//                     black; beside a mark of M the label takes the lower
//                     part of the panel and the mark the upper part.
//
// Only black and white, each against the other, so both read on every colour
// of the cycle; neither is a bare number in the panel's ink, as a mark of M
// is, and neither touches the groove, whose inner line is what a press takes
// away. Where a mark shows, the ring leaves the mark's place (and a pixel
// round it) to the panel's own colour, so the mark, in the ink that reads on
// that colour, never stands on a stroke of its own ink.
#pragma once

#include <QFont>
#include <QImage>
#include <compare>

struct THelpLook {
    int presses = 0;         // presses left to show; 0 shows none
    bool nextPress = false;  // the ring
    bool mark = false;       // the panel shows its mark of M

    auto operator<=>(const THelpLook&) const = default;
    bool Empty() const { return presses == 0 && !nextPress; }
    // A label shares the panel with a mark: the mark goes above it.
    bool BesideMark() const { return mark && presses > 0; }
};

// The font of the marks of M on panels of side `side`: as large as fits the
// panel with a label below the mark, each a pixel clear of the groove and of
// the other, but never below 6 pixels.
QFont MarkFont(int side);

// The top of a panel's caption (its mark of M) with `look`: above the label
// beside one, else -1 (the panel centres its caption).
int MarkTop(int side, const THelpLook& look);

// The picture of `look` on a panel of side `side`, drawn at `dpr` device
// pixels per pixel: `side` x `side` pixels, transparent but for the ring and
// the label; a null image for an empty look.
QImage HelpPicture(int side, const THelpLook& look, qreal dpr = 1);
