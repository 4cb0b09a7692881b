// The solver for a board of side N (3..20) and K colours (2..20).
//
// A press pattern x (how often each panel is pressed, 0..K-1) adds A * x to
// the board b, where A = I + (grid adjacency) is the move matrix; the order
// of the presses does not matter. b can be won when b + A x = t * 1 for some
// x and colour t, i.e. when b lies in H = Im A + <1>. The analysis of a pair
// factors K into prime powers p^e, diagonalises A over each Z/p^e
// (TPrimePowerAnalysis) and joins the answers by the Chinese remainder
// theorem. Boards and press patterns are palette indices, one per cell,
// row-major.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "game/BoardLimits.h"
#include "game/SolverModular.h"
#include "game/SolverPrimePower.h"

namespace solver {

struct TSolution {
    std::int32_t target = 0;            // the palette index every panel ends on
    std::vector<std::int32_t> presses;  // per cell, row-major, 0..K-1
    std::int64_t total = 0;             // the sum of presses
    bool fewest = false;                // proven to have the fewest presses
};

// The fewest-press search visits every winning press pattern of the board.
// A winnable board has exactly K * M of them (M boards per winnable one), so
// the search runs when K * M <= 2^18 = 262,144 and each pattern costs one
// vector addition of N * N entries: at most about 10^8 simple steps.
constexpr std::uint64_t kFewestSearchLimit = std::uint64_t{1} << 18;

class TFewestSearch;

class TBoardAnalysis {
  public:
    TBoardAnalysis(std::int32_t size, std::int32_t colors);

    std::int32_t Size() const { return size_; }
    std::int32_t Colors() const { return colors_; }
    std::int32_t Cells() const { return size_ * size_; }
    const std::vector<std::shared_ptr<const TPrimePowerAnalysis>>& Parts() const { return parts_; }

    // M, the number of boards per winnable one (|G / H|), in decimal: it can
    // exceed 64 bits.
    std::string BoardsPerWinnable() const;
    // K * M, the number of winning press patterns of a winnable board, or
    // UINT64_MAX when that does not fit.
    std::uint64_t WinningPatterns() const { return winningPatterns_; }
    bool CanSearchFewest() const { return winningPatterns_ <= kFewestSearchLimit; }

    bool IsWinnable(const std::vector<std::int32_t>& board) const;
    // A press pattern that wins the board, or nothing when it cannot be won.
    std::optional<TSolution> Solve(const std::vector<std::int32_t>& board) const;
    // The winning pattern with the fewest presses when CanSearchFewest(),
    // otherwise the same as Solve. All at once; TFewestSearch (SolverFewest.h)
    // does the same search a slice at a time.
    std::optional<TSolution> SolveFewest(const std::vector<std::int32_t>& board) const;

    // The fixed cells a deal may recolour; as few as G / H needs (its least
    // number of generators).
    const std::vector<std::int32_t>& MendCells() const { return mendCells_; }
    // Makes the board winnable by recolouring some of MendCells(); a
    // winnable board is left alone. True when a cell changed.
    bool Mend(std::vector<std::int32_t>& board) const;

  private:
    friend class TFewestSearch;  // walks the winning patterns with the parts' generators

    // Bounds the work arrays of Mend: a p-part has no more cyclic factors
    // than A has kernel dimensions modulo p, and that is at most N (a press
    // pattern in the kernel is fixed by its first row), so 2 * N cells
    // suffice even if the greedy choice had to take a basis for two primes.
    static constexpr std::size_t kMaxMendCells = 2 * static_cast<std::size_t>(kMaxBoardSize);
    struct TMendPart {
        std::vector<std::int32_t> cells;    // one basis cell per cyclic factor
        std::vector<std::int32_t> places;   // where each of them is in mendCells_
        std::vector<std::uint8_t> inverse;  // the inverse of the defect map on them
    };
    void ChooseMendCells();
    std::vector<std::uint8_t> Residues(const std::vector<std::int32_t>& board,
                                       std::size_t part) const;
    std::int32_t Combine(const std::vector<std::int32_t>& residues) const;
    std::int32_t TargetOf(const std::vector<std::int32_t>& board,
                          const std::vector<std::int32_t>& presses) const;

    std::int32_t size_;
    std::int32_t colors_;
    std::vector<std::shared_ptr<const TPrimePowerAnalysis>> parts_;
    std::vector<std::int32_t> idempotents_;  // 1 mod its q, 0 mod the other factors
    std::uint64_t winningPatterns_ = 0;
    std::vector<std::int32_t> mendCells_;
    std::vector<TMendPart> mendParts_;
};

// The analysis of (size, colors), computed on first use and kept. Throws
// std::invalid_argument outside 3..20 x 2..20.
std::shared_ptr<const TBoardAnalysis> AnalyseBoard(std::int32_t size, std::int32_t colors);
// The analysis of one prime-power part, shared by every colour count it divides.
std::shared_ptr<const TPrimePowerAnalysis> AnalysePrimePower(std::int32_t size,
                                                             const TPrimePower& pq);
// True when the analysis of (size, colors) is kept.
bool AnalysisKept(std::int32_t size, std::int32_t colors);
// Forgets every kept analysis (analyses already handed out stay valid), and
// the pair named to AnalyseAhead.
void ClearAnalysisCache();

// Analysis ahead of need: the program names the pair it expects to deal next
// and gives the work idle moments, a slice at a time, so that the first board
// of a size and colour count finds its analysis kept. Naming another pair
// drops the work on the old one, except a prime-power part the new pair
// shares. A pair outside 3..20 x 2..20 names nothing. AnalyseBoard asked for
// the named pair before it is done finishes the work where it stands.
void AnalyseAhead(std::int32_t size, std::int32_t colors);
// Works on the named pair for about `budget` (at least one pivot step);
// true while work on it remains.
bool AnalyseAheadStep(std::chrono::nanoseconds budget);

}  // namespace solver
