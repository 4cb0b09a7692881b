#include "game/Solver.h"

#include <limits>
#include <map>
#include <stdexcept>
#include <utility>

#include "game/PanelBoard.h"

namespace solver {

TBoardAnalysis::TBoardAnalysis(std::int32_t size, std::int32_t colors)
    : size_(size), colors_(colors) {
    if (size < kMinBoardSize || size > kMaxBoardSize || colors < kMinColorCount ||
        colors > kMaxColorCount) {
        throw std::invalid_argument("board size or colour count out of range");
    }
    winningPatterns_ = static_cast<std::uint64_t>(colors);
    for (const TPrimePower& pq : FactorPrimePowers(colors)) {
        parts_.push_back(AnalysePrimePower(size, pq));
        const std::int32_t cofactor = colors / pq.q;
        idempotents_.push_back(cofactor * InverseMod(cofactor % pq.q, pq.q) % colors);
        for (std::int32_t w : parts_.back()->QuotientExponents()) {
            for (std::int32_t i = 0; i < w; ++i) {
                const std::uint64_t limit = std::numeric_limits<std::uint64_t>::max();
                const std::uint64_t p = static_cast<std::uint64_t>(pq.p);
                winningPatterns_ = winningPatterns_ > limit / p ? limit : winningPatterns_ * p;
            }
        }
    }
    ChooseMendCells();
}

std::string TBoardAnalysis::BoardsPerWinnable() const {
    // Little-endian limbs of 10^9.
    std::vector<std::uint64_t> limbs{1};
    for (const auto& part : parts_) {
        for (std::int32_t w : part->QuotientExponents()) {
            for (std::int32_t i = 0; i < w; ++i) {
                std::uint64_t carry = 0;
                for (std::uint64_t& limb : limbs) {
                    const std::uint64_t x =
                        limb * static_cast<std::uint64_t>(part->Modulus().p) + carry;
                    limb = x % 1000000000u;
                    carry = x / 1000000000u;
                }
                if (carry != 0) limbs.push_back(carry);
            }
        }
    }
    std::string text = std::to_string(limbs.back());
    for (std::size_t i = limbs.size() - 1; i-- > 0;) {
        const std::string limb = std::to_string(limbs[i]);
        text += std::string(9 - limb.size(), '0') + limb;
    }
    return text;
}

std::vector<std::uint8_t> TBoardAnalysis::Residues(const std::vector<std::int32_t>& board,
                                                   std::size_t part) const {
    const std::int32_t q = parts_[part]->Modulus().q;
    std::vector<std::uint8_t> out(board.size());
    for (std::size_t i = 0; i < board.size(); ++i) {
        out[i] = static_cast<std::uint8_t>(((board[i] % q) + q) % q);
    }
    return out;
}

std::int32_t TBoardAnalysis::Combine(const std::vector<std::int32_t>& residues) const {
    std::int64_t x = 0;
    for (std::size_t i = 0; i < residues.size(); ++i) {
        x += static_cast<std::int64_t>(idempotents_[i]) * residues[i];
    }
    return static_cast<std::int32_t>(x % colors_);
}

std::int32_t TBoardAnalysis::TargetOf(const std::vector<std::int32_t>& board,
                                      const std::vector<std::int32_t>& presses) const {
    // Cell 0 is changed by the presses on itself, its right and its lower neighbour.
    const std::int64_t c = static_cast<std::int64_t>(board[0]) + presses[0] + presses[1] +
                           presses[static_cast<std::size_t>(size_)];
    return static_cast<std::int32_t>(c % colors_);
}

bool TBoardAnalysis::IsWinnable(const std::vector<std::int32_t>& board) const {
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        for (std::uint8_t d : parts_[i]->Defect(Residues(board, i))) {
            if (d != 0) return false;
        }
    }
    return true;
}

std::optional<TSolution> TBoardAnalysis::Solve(const std::vector<std::int32_t>& board) const {
    const std::size_t n = static_cast<std::size_t>(Cells());
    std::vector<std::vector<std::uint8_t>> presses(parts_.size());
    std::vector<std::int32_t> targets(parts_.size());
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        if (!parts_[i]->Solve(Residues(board, i), presses[i], targets[i])) return std::nullopt;
    }
    TSolution s;
    s.presses.resize(n);
    std::vector<std::int32_t> residues(parts_.size());
    for (std::size_t cell = 0; cell < n; ++cell) {
        for (std::size_t i = 0; i < parts_.size(); ++i) residues[i] = presses[i][cell];
        s.presses[cell] = Combine(residues);
        s.total += s.presses[cell];
    }
    s.target = Combine(targets);
    return s;
}

namespace {

// The pair named to AnalyseAhead and its part under way.
struct TAhead {
    std::int32_t size = 0;
    std::int32_t colors = 0;  // 0: no pair named
    TPrimePower part;         // the part `move` belongs to
    std::unique_ptr<TSmithForm> move;
};

struct TCache {
    std::map<std::pair<std::int32_t, std::int32_t>, std::shared_ptr<const TBoardAnalysis>> boards;
    std::map<std::pair<std::int32_t, std::int32_t>, std::shared_ptr<const TPrimePowerAnalysis>>
        parts;
    TAhead ahead;
};

TCache& Cache() {
    static TCache cache;
    return cache;
}

}  // namespace

// An analysis is built completely before it is stored, and callers get
// shared ownership: a lookup made while another analysis is being built
// (the board analysis asks for its prime-power parts), or a cache cleared
// while an analysis is in use, never leaves anyone with a dangling or
// half-built entry. If building somehow stored the same key first, that
// entry is kept.
std::shared_ptr<const TBoardAnalysis> AnalyseBoard(std::int32_t size, std::int32_t colors) {
    const auto key = std::make_pair(size, colors);
    if (auto it = Cache().boards.find(key); it != Cache().boards.end()) return it->second;
    auto built = std::make_shared<const TBoardAnalysis>(size, colors);
    return Cache().boards.emplace(key, std::move(built)).first->second;
}

std::shared_ptr<const TPrimePowerAnalysis> AnalysePrimePower(std::int32_t size,
                                                             const TPrimePower& pq) {
    const auto key = std::make_pair(size, pq.q);
    if (auto it = Cache().parts.find(key); it != Cache().parts.end()) return it->second;
    // A part begun ahead of need is finished, not begun again.
    TAhead& ahead = Cache().ahead;
    std::unique_ptr<TSmithForm> move;
    if (ahead.move != nullptr && ahead.size == size && ahead.part.q == pq.q) {
        move = std::move(ahead.move);
    } else {
        move = TPrimePowerAnalysis::MoveForm(size, pq);
    }
    auto built = std::make_shared<const TPrimePowerAnalysis>(size, pq, std::move(move));
    return Cache().parts.emplace(key, std::move(built)).first->second;
}

void AnalyseAhead(std::int32_t size, std::int32_t colors) {
    TAhead& ahead = Cache().ahead;
    const bool inRange = size >= kMinBoardSize && size <= kMaxBoardSize &&
                         colors >= kMinColorCount && colors <= kMaxColorCount;
    const bool shared =
        inRange && ahead.move != nullptr && ahead.size == size && colors % ahead.part.q == 0;
    if (!shared) ahead.move.reset();
    ahead.size = inRange ? size : 0;
    ahead.colors = inRange ? colors : 0;
}

bool AnalyseAheadStep(std::chrono::nanoseconds budget) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + budget;
    TAhead& ahead = Cache().ahead;
    while (ahead.colors != 0) {
        if (ahead.move == nullptr) {
            // The next part not kept yet, or, with every part kept, the rest
            // of the analysis, which is quick.
            bool allKept = true;
            for (const TPrimePower& pq : FactorPrimePowers(ahead.colors)) {
                if (Cache().parts.count({ahead.size, pq.q}) != 0) continue;
                ahead.part = pq;
                ahead.move = TPrimePowerAnalysis::MoveForm(ahead.size, pq);
                allKept = false;
                break;
            }
            if (allKept) {
                AnalyseBoard(ahead.size, ahead.colors);
                ahead = TAhead{};
                return false;
            }
        }
        // A pivot step takes some tens of microseconds on the largest board.
        constexpr std::size_t kStepsBetweenClockReads = 4;
        while (!ahead.move->Advance(kStepsBetweenClockReads)) {
            if (Clock::now() >= deadline) return true;
        }
        AnalysePrimePower(ahead.size, ahead.part);  // takes the completed form
        if (Clock::now() >= deadline) return true;
    }
    return false;
}

bool AnalysisKept(std::int32_t size, std::int32_t colors) {
    return Cache().boards.count({size, colors}) != 0;
}

void ClearAnalysisCache() {
    // Move the maps out first, so that nothing destroyed here sees a map in
    // the middle of being cleared.
    TCache old;
    std::swap(old, Cache());
}

}  // namespace solver
