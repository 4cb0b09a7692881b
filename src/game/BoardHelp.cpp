#include "game/BoardHelp.h"

#include <numeric>

namespace {

// The palette indices of a board after the cells a move at `cell` changes
// have gone `step` colours on (step 1 or K - 1), as the move rule does it.
std::vector<std::int32_t> Stepped(std::vector<std::int32_t> indices, const TPanelBoard& board,
                                  std::int32_t cell, std::int32_t step) {
    const std::int32_t n = board.Size();
    for (TPanelBoard::CellPos p : board.TargetsOf(cell / n, cell % n)) {
        std::int32_t& v = indices[static_cast<std::size_t>(p.row * n + p.col)];
        v = (v + step) % board.Colors();
    }
    return indices;
}

}  // namespace

void TBoardHelp::NewGame() {
    moves_.clear();
    planned_ = false;
    search_.reset();
    analysis_.reset();
}

void TBoardHelp::Moved(const TPanelBoard& board, std::int32_t row, std::int32_t col) {
    const std::int32_t cell = row * board.Size() + col;
    moves_.push_back(cell);
    if (!planned_) return;
    // The plan holds only for the board it was made for: moved likewise, that
    // must be the board now.
    std::vector<std::int32_t> expected = Stepped(planBoard_, board, cell, 1);
    const std::size_t at = static_cast<std::size_t>(cell);
    if (plan_.empty() || plan_[at] == 0 || expected != board.Indices()) {
        planned_ = false;  // made afresh when asked for
        search_.reset();
        return;
    }
    planBoard_ = std::move(expected);
    --plan_[at];
    --total_;
    // A search under way was for the board before: it starts again from here.
    if (search_) Adopt(plan_);
}

std::optional<TBoardHelp::CellPos> TBoardHelp::TakeBack(TPanelBoard& board) {
    if (moves_.empty()) return std::nullopt;
    const std::int32_t cell = moves_.back();
    moves_.pop_back();
    const std::int32_t n = board.Size();
    board.TakeBackMove(cell / n, cell % n);
    if (planned_) {
        std::vector<std::int32_t> expected = Stepped(planBoard_, board, cell, board.Colors() - 1);
        if (plan_.empty() || expected != board.Indices()) {
            planned_ = false;
            search_.reset();
        } else {
            // One more press of the panel wins the board as it was; the
            // fewest presses of it may be fewer still.
            planBoard_ = std::move(expected);
            std::int32_t& presses = plan_[static_cast<std::size_t>(cell)];
            presses = (presses + 1) % board.Colors();
            Adopt(plan_);
        }
    }
    return CellPos{cell / n, cell % n};
}

const std::vector<std::int32_t>& TBoardHelp::Plan(const TPanelBoard& board) {
    std::vector<std::int32_t> indices = board.Indices();
    if (planned_ && indices == planBoard_) return plan_;
    search_.reset();
    analysis_ = solver::AnalyseBoard(board.Size(), board.Colors());
    planBoard_ = std::move(indices);
    planned_ = true;
    std::optional<solver::TSolution> solved = analysis_->Solve(planBoard_);
    if (solved) {
        Adopt(std::move(solved->presses));
    } else {
        plan_.clear();
        total_ = 0;
        fewest_ = false;
    }
    return plan_;
}

std::optional<TBoardHelp::CellPos> TBoardHelp::NextPress(const TPanelBoard& board) {
    const std::vector<std::int32_t>& plan = Plan(board);
    const std::int32_t n = board.Size();
    for (std::size_t i = 0; i < plan.size(); ++i) {
        if (plan[i] > 0)
            return CellPos{static_cast<std::int32_t>(i) / n, static_cast<std::int32_t>(i) % n};
    }
    return std::nullopt;
}

void TBoardHelp::Adopt(std::vector<std::int32_t> plan) {
    plan_ = std::move(plan);
    total_ = std::accumulate(plan_.begin(), plan_.end(), std::int64_t{0});
    fewest_ = false;
    search_.reset();
    if (!analysis_->CanSearchFewest()) return;
    solver::TSolution start;
    start.presses = plan_;
    start.total = total_;
    search_ = std::make_unique<solver::TFewestSearch>(*analysis_, planBoard_, start);
    Improve(kSearchAtOnce);
}

bool TBoardHelp::TakeBest() {
    solver::TSolution best = search_->Best();
    if (best.presses == plan_) return false;
    plan_ = std::move(best.presses);
    total_ = best.total;
    return true;
}

bool TBoardHelp::Improve(std::chrono::nanoseconds budget) {
    if (!search_) return false;
    const bool done = search_->AdvanceFor(budget);
    const bool changed = TakeBest();
    if (done) {
        fewest_ = true;
        search_.reset();
    }
    return changed;
}
