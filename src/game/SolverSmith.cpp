#include "game/SolverSmith.h"

#include <algorithm>
#include <utility>

namespace solver {

namespace {

std::vector<std::uint8_t> Identity(std::int32_t n) {
    std::vector<std::uint8_t> m(static_cast<std::size_t>(n) * static_cast<std::size_t>(n), 0);
    for (std::int32_t i = 0; i < n; ++i) m[static_cast<std::size_t>(i) * (n + 1)] = 1;
    return m;
}

void SwapRows(std::vector<std::uint8_t>& m, std::size_t width, std::size_t a, std::size_t b) {
    std::swap_ranges(m.begin() + static_cast<std::ptrdiff_t>(a * width),
                     m.begin() + static_cast<std::ptrdiff_t>((a + 1) * width),
                     m.begin() + static_cast<std::ptrdiff_t>(b * width));
}

}  // namespace

TSmithForm::TSmithForm(const TPrimePower& pq, std::int32_t rows, std::int32_t cols,
                       std::vector<std::uint8_t> matrix)
    : TSmithForm(pq, rows, cols, std::move(matrix), TStepwise{}) {
    Advance(static_cast<std::size_t>(std::min(rows, cols)));
}

TSmithForm::TSmithForm(const TPrimePower& pq, std::int32_t rows, std::int32_t cols,
                       std::vector<std::uint8_t> matrix, TStepwise)
    : pq_(pq),
      rows_(rows),
      cols_(cols),
      a_(std::move(matrix)),
      val_(static_cast<std::size_t>(pq.q)),
      power_(static_cast<std::size_t>(pq.e + 1), 1),
      p_(Identity(rows)),
      qt_(Identity(cols)) {
    for (std::int32_t x = 0; x < pq.q; ++x)
        val_[static_cast<std::size_t>(x)] = solver::Valuation(x, pq);
    for (std::int32_t i = 1; i <= pq.e; ++i)
        power_[static_cast<std::size_t>(i)] = power_[static_cast<std::size_t>(i - 1)] * pq.p;
    valuations_.assign(static_cast<std::size_t>(std::min(rows, cols)), pq.e);
    rowEnd_.resize(static_cast<std::size_t>(rows));
    FindRowEnds();
    for (std::size_t i = 0; i < static_cast<std::size_t>(rows); ++i) pSpan_.push_back({i, i + 1});
    for (std::size_t j = 0; j < static_cast<std::size_t>(cols); ++j) qSpan_.push_back({j, j + 1});
    complete_ = valuations_.empty();
}

bool TSmithForm::Advance(std::size_t steps) {
    for (; steps > 0 && !complete_; --steps) {
        if (!Step(next_) || ++next_ == valuations_.size()) {
            complete_ = true;
            std::vector<std::uint8_t>().swap(a_);
            std::vector<std::size_t>().swap(rowEnd_);
        }
    }
    return complete_;
}

// Step k puts a pivot of least valuation at (k, k), clears column k below it
// with row operations (recorded in P) and row k right of it with column
// operations (recorded in Q). Least valuation makes every cleared entry a
// multiple of the pivot, which is what lets a local ring be diagonalised
// like a field. Any unit is of least valuation, so the pivot is looked for
// first in column k itself: the board matrices are banded, and taking the
// pivot from its own column keeps the band and the work near n^2 * N rather
// than n^3. Only when column k has no unit is the whole remaining block
// searched, which happens for the few steps that reach the kernel.
bool TSmithForm::Step(std::size_t k) {
    const std::size_t R = static_cast<std::size_t>(rows_), C = static_cast<std::size_t>(cols_);
    const std::int32_t q = pq_.q;
    const TReducer red(q);
    std::vector<std::uint8_t>& a = a_;
    const std::vector<std::int32_t>& val = val_;
    auto at = [&](std::size_t i, std::size_t j) -> std::uint8_t& { return a[i * C + j]; };

    // Choose the pivot.
    std::size_t pr = k, pc = k;
    std::int32_t best = val[at(k, k)];
    if (best != 0) {
        for (std::size_t i = k + 1; i < R && best != 0; ++i) {
            if (val[at(i, k)] == 0) {
                pr = i;
                best = 0;
            }
        }
    }
    if (best != 0) {
        for (std::size_t i = k; i < R && best != 0; ++i) {
            for (std::size_t j = k; j < C; ++j) {
                std::int32_t v = val[at(i, j)];
                if (v < best) {
                    best = v;
                    pr = i;
                    pc = j;
                    if (v == 0) break;
                }
            }
        }
    }
    if (best == pq_.e) return false;  // the rest is zero
    if (pr != k) {
        SwapRows(a, C, pr, k);
        std::swap(rowEnd_[pr], rowEnd_[k]);
        SwapRows(p_, R, pr, k);
        std::swap(pSpan_[pr], pSpan_[k]);
    }
    if (pc != k) {
        for (std::size_t i = 0; i < R; ++i) std::swap(at(i, k), at(i, pc));
        FindRowEnds();
        SwapRows(qt_, C, pc, k);
        std::swap(qSpan_[pc], qSpan_[k]);
    }
    valuations_[k] = best;
    const std::int32_t pv = power_[static_cast<std::size_t>(best)];

    // Scale row k so that the pivot is exactly p^v. Entries left of
    // column k are already zero.
    const std::int32_t unit = InverseMod(at(k, k) / pv, q);
    const std::size_t end = rowEnd_[k];
    for (std::size_t j = k; j < end; ++j) at(k, j) = static_cast<std::uint8_t>(at(k, j) * unit % q);
    const TSpan pk = pSpan_[k];
    for (std::size_t j = pk.lo; j < pk.hi; ++j) {
        p_[k * R + j] = static_cast<std::uint8_t>(p_[k * R + j] * unit % q);
    }

    // Clear column k below the pivot. Row operations touch only the part of
    // a row that can hold anything but zeros: on the banded board matrices
    // that keeps them short.
    for (std::size_t i = k + 1; i < R; ++i) {
        std::int32_t x = at(i, k);
        if (x == 0) continue;
        const std::uint32_t g = static_cast<std::uint32_t>((q - x / pv) % q);
        AddMultiple(&at(i, k), &at(k, k), g, end - k, red);
        rowEnd_[i] = std::max(rowEnd_[i], end);
        AddMultiple(&p_[i * R + pk.lo], &p_[k * R + pk.lo], g, pk.hi - pk.lo, red);
        pSpan_[i] = pSpan_[i].Join(pk);
    }
    // Clear row k right of the pivot. Column k is zero below the pivot
    // now, so in the matrix only row k changes.
    const TSpan qk = qSpan_[k];
    for (std::size_t j = k + 1; j < end; ++j) {
        std::int32_t x = at(k, j);
        if (x == 0) continue;
        const std::uint32_t g = static_cast<std::uint32_t>((q - x / pv) % q);
        at(k, j) = 0;
        AddMultiple(&qt_[j * C + qk.lo], &qt_[k * C + qk.lo], g, qk.hi - qk.lo, red);
        qSpan_[j] = qSpan_[j].Join(qk);
    }
    rowEnd_[k] = k + 1;
    return true;
}

void TSmithForm::FindRowEnds() {
    const std::size_t R = static_cast<std::size_t>(rows_), C = static_cast<std::size_t>(cols_);
    for (std::size_t i = 0; i < R; ++i) {
        std::size_t end = C;
        while (end > 0 && a_[i * C + end - 1] == 0) --end;
        rowEnd_[i] = end;
    }
}

std::vector<std::uint8_t> TSmithForm::ApplyP(const std::vector<std::uint8_t>& b) const {
    const std::size_t R = static_cast<std::size_t>(rows_);
    std::vector<std::uint8_t> out(R);
    for (std::size_t i = 0; i < R; ++i) {
        std::uint32_t s = 0;
        const std::uint8_t* row = &p_[i * R];
        for (std::size_t j = 0; j < R; ++j) s += static_cast<std::uint32_t>(row[j]) * b[j];
        out[i] = static_cast<std::uint8_t>(s % static_cast<std::uint32_t>(pq_.q));
    }
    return out;
}

std::vector<std::uint8_t> TSmithForm::ApplyQ(const std::vector<std::uint8_t>& y) const {
    const std::size_t C = static_cast<std::size_t>(cols_);
    std::vector<std::uint32_t> acc(C, 0);
    for (std::size_t j = 0; j < C; ++j) {
        if (y[j] == 0) continue;
        const std::uint8_t* col = &qt_[j * C];
        for (std::size_t i = 0; i < C; ++i) acc[i] += static_cast<std::uint32_t>(col[i]) * y[j];
    }
    std::vector<std::uint8_t> out(C);
    for (std::size_t i = 0; i < C; ++i) {
        out[i] = static_cast<std::uint8_t>(acc[i] % static_cast<std::uint32_t>(pq_.q));
    }
    return out;
}

}  // namespace solver
