// Diagonalisation of a matrix over Z/p^e by row and column operations: the
// Smith form over a local ring. For an r x c matrix M it finds invertible P
// (r x r) and Q (c x c) with P * M * Q = D, where D is zero off the diagonal
// and D[i][i] = p^v[i] (0 when v[i] = e). The diagonal is not sorted by
// valuation; sorting it would only permute rows of P and columns of Q.
#pragma once

#include <cstdint>
#include <vector>

#include "game/SolverModular.h"

namespace solver {

class TSmithForm {
  public:
    // `matrix` holds rows * cols entries in 0..q-1, row-major.
    TSmithForm(const TPrimePower& pq, std::int32_t rows, std::int32_t cols,
               std::vector<std::uint8_t> matrix);

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
    void Reduce(std::vector<std::uint8_t>& a);

    TPrimePower pq_;
    std::int32_t rows_;
    std::int32_t cols_;
    std::vector<std::int32_t> valuations_;
    std::vector<std::uint8_t> p_;   // P, row-major
    std::vector<std::uint8_t> qt_;  // Q transposed: row j is column j of Q
};

}  // namespace solver
