// The winning press pattern with the fewest presses.
//
// Every winning pattern of a board is one found by Solve plus an element of
// the group { x : A x in <1> } (any target colour is allowed), and that
// group is the direct sum of the cyclic groups of the prime-power parts'
// generators, each lifted to Z_K through the Chinese remainder theorem.
// The search walks all of its K * M elements like an odometer: stepping a
// digit adds its generator, and a digit that wraps has added its generator
// a full order of times, i.e. nothing, so no step ever subtracts. The walk
// is a cycle, so it may start from any winning pattern.
#include "game/SolverFewest.h"

namespace solver {

TFewestSearch::TFewestSearch(const TBoardAnalysis& analysis, const std::vector<std::int32_t>& board,
                             const TSolution& start)
    : analysis_(analysis), board_(board) {
    const std::size_t n = static_cast<std::size_t>(analysis.Cells());
    for (std::size_t i = 0; i < analysis.parts_.size(); ++i) {
        for (auto& g : analysis.parts_[i]->KernelGenerators()) {
            TDigit d{std::vector<std::uint8_t>(n), g.order};
            for (std::size_t cell = 0; cell < n; ++cell) {
                d.step[cell] =
                    static_cast<std::uint8_t>(static_cast<std::int64_t>(analysis.idempotents_[i]) *
                                              g.presses[cell] % analysis.colors_);
            }
            digits_.push_back(std::move(d));
        }
    }
    x_.assign(start.presses.begin(), start.presses.end());
    best_ = x_;
    bestTotal_ = static_cast<std::uint32_t>(start.total);
}

bool TFewestSearch::Advance(std::uint64_t patterns) {
    const std::size_t n = x_.size();
    const std::uint32_t k = static_cast<std::uint32_t>(analysis_.colors_);
    std::uint8_t* x = x_.data();
    for (; patterns > 0 && !done_; --patterns) {
        // The presses of the new pattern are summed as the last digit stepped
        // writes it: one pass over the cells per step.
        std::uint32_t total = 0;
        std::size_t i = 0;
        while (i < digits_.size()) {
            TDigit& d = digits_[i];
            const std::uint8_t* step = d.step.data();
            total = 0;
            for (std::size_t cell = 0; cell < n; ++cell) {
                const std::uint32_t sum = x[cell] + step[cell];
                const std::uint32_t v = sum >= k ? sum - k : sum;
                x[cell] = static_cast<std::uint8_t>(v);
                total += v;
            }
            if (++d.value < d.order) break;
            d.value = 0;
            ++i;
        }
        if (i == digits_.size()) {
            done_ = true;  // every digit wrapped: back at the start
        } else if (total < bestTotal_) {
            bestTotal_ = total;
            best_ = x_;
        }
    }
    return done_;
}

bool TFewestSearch::AdvanceFor(std::chrono::nanoseconds budget) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + budget;
    // About 10 microseconds of work on the largest board between two looks
    // at the clock.
    constexpr std::uint64_t kPatternsBetweenClockReads = 64;
    while (!Advance(kPatternsBetweenClockReads)) {
        if (Clock::now() >= deadline) return false;
    }
    return true;
}

TSolution TFewestSearch::Best() const {
    TSolution s;
    s.presses.assign(best_.begin(), best_.end());
    s.total = bestTotal_;
    s.target = analysis_.TargetOf(board_, s.presses);
    s.fewest = done_;
    return s;
}

std::optional<TSolution> TBoardAnalysis::SolveFewest(const std::vector<std::int32_t>& board) const {
    std::optional<TSolution> found = Solve(board);
    if (!found || !CanSearchFewest()) return found;
    TFewestSearch search(*this, board, *found);
    search.Advance(UINT64_MAX);
    return search.Best();
}

}  // namespace solver
