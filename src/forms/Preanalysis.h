// Analysis of the next board while the player is still on the main menu.
//
// The first board of a size and colour count needs the solver's analysis of
// that pair, which takes a few milliseconds on the largest boards: too long
// to add to the frame in which the board appears. So once the menu's two
// selectors have shown the same pair for a moment (longer than a held arrow
// takes to step on, so pairs merely passed through are left alone), the
// analysis is done in slices of about a millisecond, one slice per pass of
// the event loop: a click or a key waits at most one slice. When Yes comes
// before the work is done, the deal finishes it where it stands.
#pragma once

#include <QObject>

#include "framework/qt/SpinEdit.h"
#include "framework/qt/Timer.h"

class TPreanalysis : public QObject {
    Q_OBJECT

  public:
    // How long the selectors must keep a pair, and the length of one slice.
    static constexpr int kSettleMs = framework::TSpinEdit::kRepeatIntervalMs + 50;
    static constexpr int kSliceUs = 1000;

    // Watches `size` and `colors` from now on; the pair they show now is
    // analysed once it has settled.
    TPreanalysis(framework::TSpinEdit* size, framework::TSpinEdit* colors, QObject* owner);

    // True while a pair waits to settle or its analysis is under way.
    bool Busy() const { return settle_->Enabled() || slice_->Enabled(); }

  private:
    void SelectorsChanged();
    void Settled();
    void Slice();

    framework::TSpinEdit* size_;
    framework::TSpinEdit* colors_;
    framework::TTimer* settle_;
    framework::TTimer* slice_;  // interval 0: once per pass of the event loop
};
