// Help on a board: a plan that wins it from its colours as they are (the
// next press of it, or all of it), and the moves of the game so far, so
// that they can be taken back one by one.
//
// The plan gives each panel how many more presses it needs, 0..K-1; the
// order of presses does not matter. It is the one with the fewest presses
// wherever the solver can search for it, else the solver's plan. A press the
// plan asks for leaves the rest of it a plan with the fewest presses of the
// new board (had that board a shorter one, the press and it would be a
// shorter plan of the old board), so following the plan one press at a time
// wins in exactly its number of presses; any other change of the board makes
// a new plan.
//
// The search for the fewest presses takes up to a few hundred milliseconds
// on the largest searches. The solver's plan is there at once; the search
// runs for a few milliseconds when a plan is made and then, while it is not
// done, a slice at a time through Improve, so a window never waits for it.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "game/PanelBoard.h"
#include "game/Solver.h"
#include "game/SolverFewest.h"

class TBoardHelp {
  public:
    using CellPos = TPanelBoard::CellPos;

    // How long making a plan may search for one with fewer presses before
    // the rest is left to Improve.
    static constexpr std::chrono::microseconds kSearchAtOnce{4000};

    // Forgets the moves and the plan of the game before.
    void NewGame();

    // A move at (row, col) has just been made on `board`: it can be taken
    // back, and the plan in hand follows it.
    void Moved(const TPanelBoard& board, std::int32_t row, std::int32_t col);
    // Takes the last move back on `board` and returns where it was made;
    // nothing, and the board unchanged, when no move is left.
    std::optional<CellPos> TakeBack(TPanelBoard& board);
    std::size_t MovesToTakeBack() const { return moves_.size(); }

    // Presses left per panel, row-major, of a plan that wins `board` from
    // its colours now, made when none is in hand. Empty for a board that
    // cannot be won (a dealt board always can).
    const std::vector<std::int32_t>& Plan(const TPanelBoard& board);
    // The next press of that plan: the first panel, row by row, that has
    // presses left; nothing when the board needs none.
    std::optional<CellPos> NextPress(const TPanelBoard& board);
    // The number of presses of the plan in hand, and whether it is proven
    // the fewest; 0 and false with no plan in hand.
    std::int64_t PlanTotal() const { return planned_ ? total_ : 0; }
    bool PlanFewest() const { return planned_ && !search_ && fewest_; }

    // True while the plan in hand may still give way to one with fewer presses.
    bool Improving() const { return search_ != nullptr; }
    // Searches on for about `budget`; true when the plan in hand changed.
    bool Improve(std::chrono::nanoseconds budget);

  private:
    // Takes `plan` (a winning pattern of planBoard_) as the plan in hand and,
    // where the solver can, searches from it for fewer presses.
    void Adopt(std::vector<std::int32_t> plan);
    // Takes the search's best pattern as the plan; true when it differs.
    bool TakeBest();

    std::vector<std::int32_t> moves_;  // row * N + col of each move, oldest first

    bool planned_ = false;
    std::vector<std::int32_t> planBoard_;  // palette indices the plan is for
    std::vector<std::int32_t> plan_;
    std::int64_t total_ = 0;
    bool fewest_ = false;
    std::shared_ptr<const solver::TBoardAnalysis> analysis_;  // outlives search_
    std::unique_ptr<solver::TFewestSearch> search_;
};
