#include "forms/Preanalysis.h"

#include <chrono>

#include "game/Solver.h"

TPreanalysis::TPreanalysis(framework::TSpinEdit* size, framework::TSpinEdit* colors, QObject* owner)
    : QObject(owner),
      size_(size),
      colors_(colors),
      settle_(new framework::TTimer(this)),
      slice_(new framework::TTimer(this)) {
    settle_->SetInterval(kSettleMs);
    settle_->OnTimer = [this] { Settled(); };
    slice_->SetInterval(0);
    slice_->OnTimer = [this] { Slice(); };
    for (framework::TSpinEdit* selector : {size_, colors_}) {
        connect(selector, &QSpinBox::valueChanged, this, [this] { SelectorsChanged(); });
    }
    SelectorsChanged();
}

void TPreanalysis::SelectorsChanged() {
    slice_->SetEnabled(false);
    settle_->SetEnabled(false);  // a fresh interval from this change
    settle_->SetEnabled(true);
}

void TPreanalysis::Settled() {
    settle_->SetEnabled(false);
    solver::AnalyseAhead(size_->Value(), colors_->Value());
    slice_->SetEnabled(true);
}

void TPreanalysis::Slice() {
    if (!solver::AnalyseAheadStep(std::chrono::microseconds(kSliceUs))) slice_->SetEnabled(false);
}
