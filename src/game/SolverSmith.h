// Diagonalisation of a matrix over Z/p^e by row and column operations: the
// Smith form over a local ring. For an r x c matrix M it finds invertible P
// (r x r) and Q (c x c) with P * M * Q = D, where D is zero off the diagonal
// and D[i][i] = p^v[i] (0 when v[i] = e). The diagonal is not sorted by
// valuation; sorting it would only permute rows of P and columns of Q.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "game/SolverModular.h"

namespace solver {

class TSmithForm {
  public:
    // `matrix` holds rows * cols entries in 0..q-1, row-major. The form is
    // complete when the constructor returns.
    TSmithForm(const TPrimePower& pq, std::int32_t rows, std::int32_t cols,
               std::vector<std::uint8_t> matrix);
    // The same, left to be completed a few pivot steps at a time by Advance;
    // nothing may be read from it before it is complete.
    struct TStepwise {};
    TSmithForm(const TPrimePower& pq, std::int32_t rows, std::int32_t cols,
               std::vector<std::uint8_t> matrix, TStepwise);

    // Runs up to `steps` more pivot steps; true once the form is complete.
    bool Advance(std::size_t steps);
    bool Complete() const { return complete_; }

    std::int32_t Rows() const { return rows_; }
    std::int32_t Cols() const { return cols_; }
    // v[i] for i < min(rows, cols).
    std::int32_t Valuation(std::int32_t i) const {
        return valuations_[static_cast<std::size_t>(i)];
    }
    std::uint8_t P(std::int32_t i, std::int32_t j) const {
        return p_[static_cast<std::size_t>(i) * static_cast<std::size_t>(rows_) +
                  static_cast<std::size_t>(j)];
    }
    std::uint8_t Q(std::int32_t i, std::int32_t j) const {
        return qt_[static_cast<std::size_t>(j) * static_cast<std::size_t>(cols_) +
                   static_cast<std::size_t>(i)];
    }
    // P * b and Q * y modulo q (b has Rows() entries, y has Cols()).
    std::vector<std::uint8_t> ApplyP(const std::vector<std::uint8_t>& b) const;
    std::vector<std::uint8_t> ApplyQ(const std::vector<std::uint8_t>& y) const;

  private:
    // Where a row of P or of Q transposed can hold anything but zeros.
    struct TSpan {
        std::size_t lo, hi;
        TSpan Join(TSpan o) const { return {std::min(lo, o.lo), std::max(hi, o.hi)}; }
    };

    // Pivot step k; false when the rest of the matrix is zero.
    bool Step(std::size_t k);
    // Finds rowEnd_ afresh from the matrix.
    void FindRowEnds();

    TPrimePower pq_;
    std::int32_t rows_;
    std::int32_t cols_;
    std::vector<std::uint8_t> a_;      // the matrix being diagonalised; freed when complete
    std::vector<std::size_t> rowEnd_;  // per row of a_: no entry but zeros from here on
    std::vector<TSpan> pSpan_;         // per row of P
    std::vector<TSpan> qSpan_;         // per row of Q transposed
    std::size_t next_ = 0;             // the next pivot step
    bool complete_ = false;
    std::vector<std::int32_t> val_;    // valuation of each residue 0..q-1
    std::vector<std::int32_t> power_;  // p^0 .. p^e
    std::vector<std::int32_t> valuations_;
    std::vector<std::uint8_t> p_;   // P, row-major
    std::vector<std::uint8_t> qt_;  // Q transposed: row j is column j of Q
};

}  // namespace solver
