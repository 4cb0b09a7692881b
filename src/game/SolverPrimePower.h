// The board of side N seen modulo one prime-power factor q = p^e of the
// colour count.
//
// A board is a vector b over Z/q with one entry per cell (row-major); a
// press pattern x adds A * x, where A = I + (grid adjacency) is the n x n
// move matrix, n = N * N. Pressing x wins with target colour t exactly when
// b + A x = t * 1, i.e. when (x, s) solves A x + s * 1 = -b with t = -s.
//
// Two diagonalisations answer every question:
//  1. the Smith form P A Q = diag(p^v_i) of the move matrix itself;
//  2. the Smith form of the small system left over by the rows with v_i > 0,
//     [diag(p^v_i) | u] with u = P * 1, which adds the free target colour.
// Together they give the group G / H of boards modulo winnable ones, where
// H = Im A + <1>, as a sum of cyclic groups Z/p^w_j.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "game/SolverModular.h"
#include "game/SolverSmith.h"

namespace solver {

class TPrimePowerAnalysis {
  public:
    TPrimePowerAnalysis(std::int32_t size, const TPrimePower& pq);
    // The same from the move matrix's Smith form as MoveForm began it, with
    // as many of its steps done as there was time for; the rest are done here.
    TPrimePowerAnalysis(std::int32_t size, const TPrimePower& pq, std::unique_ptr<TSmithForm> move);
    // The Smith form of the move matrix modulo q, still to be completed: the
    // bulk of the analysis, which can so be done a slice at a time.
    static std::unique_ptr<TSmithForm> MoveForm(std::int32_t size, const TPrimePower& pq);

    const TPrimePower& Modulus() const { return pq_; }
    std::int32_t Size() const { return size_; }
    std::int32_t Cells() const { return size_ * size_; }

    // dim of the kernel of A modulo p (the number of v_i > 0).
    std::int32_t KernelDimension() const { return static_cast<std::int32_t>(deficient_.size()); }
    // The exponents w_j > 0 of G / H = sum of Z/p^w_j; empty when every board
    // can be won modulo q.
    const std::vector<std::int32_t>& QuotientExponents() const { return quotientExponents_; }

    // The class of board b in G / H: entry j in 0..p^w_j - 1. All zero
    // exactly when b can be won modulo q.
    std::vector<std::uint8_t> Defect(const std::vector<std::uint8_t>& board) const;
    // The same for a board of palette indices 0..19 (taken modulo q), written to
    // out[0..QuotientExponents().size()); true when some entry is not zero. Allocates nothing: the
    // deal calls it.
    bool DefectOf(const std::int32_t* board, std::uint8_t* out) const;
    // Entry j of the defect of the board that is 1 at `cell` and 0 elsewhere,
    // before reduction modulo p^w_j (column `cell` of the defect map).
    std::uint8_t DefectColumn(std::int32_t j, std::int32_t cell) const {
        return defectMap_[static_cast<std::size_t>(j) * static_cast<std::size_t>(Cells()) +
                          static_cast<std::size_t>(cell)];
    }

    // A press pattern (entries 0..q-1) that brings b to one colour modulo q,
    // and that colour. False when b cannot be won modulo q.
    bool Solve(const std::vector<std::uint8_t>& board, std::vector<std::uint8_t>& presses,
               std::int32_t& target) const;

    // Generators of the press patterns that shift every board by one common
    // colour, { x : A x in <1> }. Adding such a pattern to a winning one gives
    // another winning one, and every winning pattern of a board is one of them
    // plus the pattern Solve returns. The group is the direct sum of the
    // cyclic groups generated here (generator of the given order).
    struct TGenerator {
        std::vector<std::uint8_t> presses;
        std::int32_t order;
    };
    std::vector<TGenerator> KernelGenerators() const;

  private:
    // (y_R, s) of the small system into the full press pattern x = Q y.
    std::vector<std::uint8_t> Lift(const std::vector<std::uint8_t>& small,
                                   const std::vector<std::uint8_t>& c) const;

    std::int32_t size_;
    TPrimePower pq_;
    std::unique_ptr<TSmithForm> move_;      // P A Q = diag(p^v_i)
    std::vector<std::int32_t> deficient_;   // the i with v_i > 0
    std::vector<std::uint8_t> u_;           // P * 1
    std::unique_ptr<TSmithForm> residual_;  // Smith form of [diag(p^v_i) | u] on those rows
    std::vector<std::int32_t> quotientRows_;
    std::vector<std::int32_t> quotientExponents_;
    std::vector<std::int32_t> quotientOrders_;  // p^w_j
    std::vector<std::uint8_t> defectMap_;       // rows of P2 * P restricted, one per w_j > 0
};

}  // namespace solver
