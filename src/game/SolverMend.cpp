// Mending a dealt board that cannot be won.
//
// The boards that can be won form the subgroup H = Im A + <1> of G = Z_K^n,
// and a board's defect d(b), its class in G / H, is zero exactly when it
// can be won. G / H is the direct sum over the primes p of K of its
// p-parts, each a sum of cyclic groups Z/p^w (TPrimePowerAnalysis).
//
// The cells. A fixed set D of cells can repair every board only if the unit
// boards e_c (c in D) generate G / H, so D needs at least as many cells as
// G / H needs generators: the largest number of cyclic factors of one
// p-part. By Nakayama's lemma the e_c generate a p-part exactly when their
// defects modulo p span it as a vector space over F_p, so D is chosen
// greedily, row-major, taking a cell only when it adds a dimension for every
// p-part not yet spanned; that reaches the least number whenever such cells
// exist (the tests check that it does for every size and colour count). Each
// p-part keeps one basis cell per cyclic factor; its defect matrix on those
// cells is invertible modulo p, hence modulo p^e.
//
// The repair. Let s(g), for g in G / H, be the board that is zero outside D
// and holds on each p-part's basis cells the inverse of that matrix applied
// to g's p-part (joined over the primes by the Chinese remainder theorem).
// Then d(s(g)) = g, s(0) = 0, and s is one-to-one. The mend replaces the
// values b_D on D by b_D - s(d(b)), which gives d = 0, and leaves a board
// with d(b) = 0 exactly as it was.
//
// Why the deal stays uniform over the winnable boards. Fix the cells outside
// D and take a winnable result y (y agrees with them and d(y) = 0). The
// draws b_D that are mended to y are exactly y_D + s(g) for the g in G / H:
// such a draw has defect d(y) + d(s(g)) = g, so it is mended to
// y_D + s(g) - s(g) = y_D; conversely any draw mended to y has
// b_D = y_D + s(d(b)). Since s is one-to-one these are |G / H| = M distinct
// draws. So every winnable board comes from exactly M of the K^n equally
// likely draws, and the mended deal is uniform over the winnable boards.
#include <algorithm>
#include <array>
#include <stdexcept>

#include "game/Solver.h"

namespace solver {

namespace {

// A growing basis of a subspace of F_p^r in echelon form: each kept vector
// has a leading 1 at its pivot and zeros at the pivots kept before it.
class TEchelon {
  public:
    TEchelon(std::int32_t p, std::int32_t dimension) : p_(p), dimension_(dimension) {}
    bool Full() const { return static_cast<std::int32_t>(rows_.size()) == dimension_; }
    // The vector reduced against the basis; all zero when it is dependent.
    std::vector<std::int32_t> Reduce(std::vector<std::int32_t> v) const {
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            const std::int32_t f = v[static_cast<std::size_t>(pivots_[i])];
            if (f == 0) continue;
            for (std::size_t j = 0; j < v.size(); ++j)
                v[j] = ((v[j] - f * rows_[i][j]) % p_ + p_) % p_;
        }
        return v;
    }
    static bool IsZero(const std::vector<std::int32_t>& v) {
        return std::all_of(v.begin(), v.end(), [](std::int32_t x) { return x == 0; });
    }
    // Adds a reduced, non-zero vector.
    void Add(std::vector<std::int32_t> v) {
        std::size_t pivot = 0;
        while (v[pivot] == 0) ++pivot;
        const std::int32_t inv = InverseMod(v[pivot], p_);
        for (std::int32_t& x : v) x = x * inv % p_;
        rows_.push_back(std::move(v));
        pivots_.push_back(static_cast<std::int32_t>(pivot));
    }

  private:
    std::int32_t p_;
    std::int32_t dimension_;
    std::vector<std::vector<std::int32_t>> rows_;
    std::vector<std::int32_t> pivots_;
};

// The inverse of an invertible r x r matrix over Z/q, row-major.
std::vector<std::uint8_t> Inverse(std::vector<std::int32_t> m, std::int32_t r,
                                  const TPrimePower& pq) {
    const std::int32_t q = pq.q;
    const std::size_t R = static_cast<std::size_t>(r);
    std::vector<std::int32_t> inv(R * R, 0);
    for (std::size_t i = 0; i < R; ++i) inv[i * R + i] = 1;
    for (std::size_t c = 0; c < R; ++c) {
        std::size_t pr = c;
        while (m[pr * R + c] % pq.p == 0) ++pr;  // a unit exists: the matrix is invertible mod p
        for (std::size_t j = 0; j < R; ++j) {
            std::swap(m[pr * R + j], m[c * R + j]);
            std::swap(inv[pr * R + j], inv[c * R + j]);
        }
        const std::int32_t u = InverseMod(m[c * R + c], q);
        for (std::size_t j = 0; j < R; ++j) {
            m[c * R + j] = m[c * R + j] * u % q;
            inv[c * R + j] = inv[c * R + j] * u % q;
        }
        for (std::size_t i = 0; i < R; ++i) {
            const std::int32_t f = m[i * R + c];
            if (i == c || f == 0) continue;
            for (std::size_t j = 0; j < R; ++j) {
                m[i * R + j] = ((m[i * R + j] - f * m[c * R + j]) % q + q) % q;
                inv[i * R + j] = ((inv[i * R + j] - f * inv[c * R + j]) % q + q) % q;
            }
        }
    }
    return std::vector<std::uint8_t>(inv.begin(), inv.end());
}

}  // namespace

void TBoardAnalysis::ChooseMendCells() {
    std::vector<TEchelon> spans;
    for (const auto& part : parts_) {
        spans.emplace_back(part->Modulus().p,
                           static_cast<std::int32_t>(part->QuotientExponents().size()));
    }
    mendParts_.assign(parts_.size(), {});
    auto column = [&](std::size_t i, std::int32_t cell) {
        std::vector<std::int32_t> v(parts_[i]->QuotientExponents().size());
        for (std::size_t j = 0; j < v.size(); ++j) {
            v[j] = parts_[i]->DefectColumn(static_cast<std::int32_t>(j), cell) %
                   parts_[i]->Modulus().p;
        }
        return v;
    };
    auto allFull = [&] {
        return std::all_of(spans.begin(), spans.end(), [](const TEchelon& s) { return s.Full(); });
    };
    // First pass: cells that add a dimension to every p-part still short;
    // second pass, should the first fall short: cells that add to any.
    for (bool strict : {true, false}) {
        for (std::int32_t cell = 0; cell < Cells() && !allFull(); ++cell) {
            if (std::find(mendCells_.begin(), mendCells_.end(), cell) != mendCells_.end()) continue;
            std::vector<std::vector<std::int32_t>> reduced(parts_.size());
            bool all = true, any = false;
            for (std::size_t i = 0; i < parts_.size(); ++i) {
                if (spans[i].Full()) continue;
                reduced[i] = spans[i].Reduce(column(i, cell));
                const bool adds = !TEchelon::IsZero(reduced[i]);
                all = all && adds;
                any = any || adds;
            }
            if (strict ? !all : !any) continue;
            mendCells_.push_back(cell);
            for (std::size_t i = 0; i < parts_.size(); ++i) {
                if (spans[i].Full() || TEchelon::IsZero(reduced[i])) continue;
                spans[i].Add(std::move(reduced[i]));
                mendParts_[i].cells.push_back(cell);
            }
        }
    }
    std::sort(mendCells_.begin(), mendCells_.end());
    if (mendCells_.size() > kMaxMendCells) throw std::logic_error("too many cells to mend");

    for (std::size_t i = 0; i < parts_.size(); ++i) {
        const std::vector<std::int32_t>& cells = mendParts_[i].cells;
        const std::int32_t r = static_cast<std::int32_t>(cells.size());
        std::vector<std::int32_t> m(static_cast<std::size_t>(r * r));
        for (std::int32_t j = 0; j < r; ++j) {
            for (std::int32_t a = 0; a < r; ++a) {
                m[static_cast<std::size_t>(j * r + a)] =
                    parts_[i]->DefectColumn(j, cells[static_cast<std::size_t>(a)]);
            }
        }
        mendParts_[i].inverse = Inverse(std::move(m), r, parts_[i]->Modulus());
        for (std::int32_t cell : cells) {
            const auto at = std::find(mendCells_.begin(), mendCells_.end(), cell);
            mendParts_[i].places.push_back(static_cast<std::int32_t>(at - mendCells_.begin()));
        }
    }
}

bool TBoardAnalysis::Mend(std::vector<std::int32_t>& board) const {
    // shift[d]: the value of s(d(b)) at mendCells_[d], before reduction mod K.
    std::array<std::int64_t, kMaxMendCells> shift{};
    std::array<std::uint8_t, kMaxMendCells> g{};
    bool defective = false;
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        if (!parts_[i]->DefectOf(board.data(), g.data())) continue;
        defective = true;
        const TMendPart& mp = mendParts_[i];
        const std::size_t r = mp.cells.size();
        const std::int32_t q = parts_[i]->Modulus().q;
        for (std::size_t a = 0; a < r; ++a) {
            std::int32_t s = 0;
            for (std::size_t j = 0; j < r; ++j) s += mp.inverse[a * r + j] * g[j];
            shift[static_cast<std::size_t>(mp.places[a])] +=
                static_cast<std::int64_t>(idempotents_[i]) * (s % q);
        }
    }
    if (!defective) return false;
    bool changed = false;
    for (std::size_t d = 0; d < mendCells_.size(); ++d) {
        const std::int32_t by = static_cast<std::int32_t>(shift[d] % colors_);
        if (by == 0) continue;
        std::int32_t& cell = board[static_cast<std::size_t>(mendCells_[d])];
        cell = ((cell - by) % colors_ + colors_) % colors_;
        changed = true;
    }
    return changed;
}

}  // namespace solver
