// The winning press pattern with the fewest presses.
//
// Every winning pattern of a board is one found by Solve plus an element of
// the group { x : A x in <1> } (any target colour is allowed), and that
// group is the direct sum of the cyclic groups of the prime-power parts'
// generators, each lifted to Z_K through the Chinese remainder theorem.
// The search walks all of its K * M elements like an odometer: stepping a
// digit adds its generator, and a digit that wraps has added its generator
// a full order of times, i.e. nothing, so no step ever subtracts.
#include "game/Solver.h"

namespace solver {

std::optional<TSolution> TBoardAnalysis::SolveFewest(const std::vector<std::int32_t>& board) const {
    std::optional<TSolution> found = Solve(board);
    if (!found || !CanSearchFewest()) return found;

    const std::size_t n = static_cast<std::size_t>(Cells());
    const std::uint32_t k = static_cast<std::uint32_t>(colors_);
    struct TDigit {
        std::vector<std::uint8_t> step;
        std::int32_t order;
        std::int32_t value = 0;
    };
    std::vector<TDigit> digits;
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        for (auto& g : parts_[i]->KernelGenerators()) {
            TDigit d{std::vector<std::uint8_t>(n), g.order};
            for (std::size_t cell = 0; cell < n; ++cell) {
                d.step[cell] = static_cast<std::uint8_t>(
                    static_cast<std::int64_t>(idempotents_[i]) * g.presses[cell] % colors_);
            }
            digits.push_back(std::move(d));
        }
    }

    std::vector<std::uint8_t> x(found->presses.begin(), found->presses.end());
    std::vector<std::uint8_t> best = x;
    std::uint32_t bestTotal = static_cast<std::uint32_t>(found->total);
    for (;;) {
        std::size_t i = 0;
        while (i < digits.size()) {
            TDigit& d = digits[i];
            const std::uint8_t* step = d.step.data();
            for (std::size_t cell = 0; cell < n; ++cell) {
                const std::uint32_t v = x[cell] + step[cell];
                x[cell] = static_cast<std::uint8_t>(v >= k ? v - k : v);
            }
            if (++d.value < d.order) break;
            d.value = 0;
            ++i;
        }
        if (i == digits.size()) break;  // every digit wrapped: back at the start
        std::uint32_t total = 0;
        for (std::size_t cell = 0; cell < n; ++cell) total += x[cell];
        if (total < bestTotal) {
            bestTotal = total;
            best = x;
        }
    }

    TSolution s;
    s.presses.assign(best.begin(), best.end());
    s.total = bestTotal;
    s.target = TargetOf(board, s.presses);
    s.fewest = true;
    return s;
}

}  // namespace solver
