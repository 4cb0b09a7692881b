// The search for the winning press pattern with the fewest presses, done a
// piece at a time.
//
// The search visits all K * M winning patterns of a board, which takes up to
// a few hundred milliseconds on the largest searches (K * M near 2^18 on a
// big board): too long for one frame of a window. So it keeps its place
// between calls and works for as long as it is given; the best pattern found
// so far is a winning one at every moment.
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include "game/Solver.h"

namespace solver {

class TFewestSearch {
  public:
    // Begins the search on `board` (palette indices, row-major) from
    // `start`, one of its winning patterns (as Solve gives). The analysis
    // must allow the search (CanSearchFewest) and outlive this object.
    TFewestSearch(const TBoardAnalysis& analysis, const std::vector<std::int32_t>& board,
                  const TSolution& start);

    // Visits up to `patterns` more winning patterns; true once all of them
    // have been visited.
    bool Advance(std::uint64_t patterns);
    // Works for about `budget` (at least a few patterns); true once done.
    bool AdvanceFor(std::chrono::nanoseconds budget);
    bool Done() const { return done_; }

    // The pattern with the fewest presses found so far, `start` or better;
    // marked fewest once the search is done.
    TSolution Best() const;

  private:
    struct TDigit {
        std::vector<std::uint8_t> step;  // a generator, lifted to Z_K
        std::int32_t order;
        std::int32_t value = 0;
    };

    const TBoardAnalysis& analysis_;
    std::vector<std::int32_t> board_;
    std::vector<TDigit> digits_;
    std::vector<std::uint8_t> x_;  // the pattern the odometer stands on
    std::vector<std::uint8_t> best_;
    std::uint32_t bestTotal_ = 0;
    bool done_ = false;
};

}  // namespace solver
