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
// away.
#pragma once

#include <QFont>
#include <QImage>

struct THelpLook {
    int presses = 0;         // presses left to show; 0 shows none
    bool nextPress = false;  // the ring
    bool besideMark = false;

    bool operator==(const THelpLook&) const = default;
    bool Empty() const { return presses == 0 && !nextPress; }
};

// The picture of `look` on a panel of side `side`: `side` x `side`,
// transparent but for the ring and the label; a null image for an empty look.
QImage HelpPicture(int side, const THelpLook& look);

// Where the baseline of a mark of M goes on a panel that also carries a
// label (its caption's top is this less the mark font's ascent).
int MarkBaselineAboveLabel(int side);
