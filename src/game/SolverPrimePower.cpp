#include "game/SolverPrimePower.h"

namespace solver {

namespace {

// A = I + (grid adjacency) on the N x N board, cells row-major: column j is
// what a press at cell j adds.
std::vector<std::uint8_t> MoveMatrix(std::int32_t size) {
    const std::size_t n = static_cast<std::size_t>(size) * static_cast<std::size_t>(size);
    std::vector<std::uint8_t> a(n * n, 0);
    for (std::int32_t r = 0; r < size; ++r) {
        for (std::int32_t c = 0; c < size; ++c) {
            const std::size_t i = static_cast<std::size_t>(r * size + c);
            a[i * n + i] = 1;
            if (r > 0) a[i * n + i - static_cast<std::size_t>(size)] = 1;
            if (c > 0) a[i * n + i - 1] = 1;
            if (r < size - 1) a[i * n + i + static_cast<std::size_t>(size)] = 1;
            if (c < size - 1) a[i * n + i + 1] = 1;
        }
    }
    return a;
}

std::int32_t Power(std::int32_t p, std::int32_t e) {
    std::int32_t x = 1;
    while (e-- > 0) x *= p;
    return x;
}

}  // namespace

std::unique_ptr<TSmithForm> TPrimePowerAnalysis::MoveForm(std::int32_t size,
                                                          const TPrimePower& pq) {
    const std::int32_t n = size * size;
    return std::make_unique<TSmithForm>(pq, n, n, MoveMatrix(size), TSmithForm::TStepwise{});
}

TPrimePowerAnalysis::TPrimePowerAnalysis(std::int32_t size, const TPrimePower& pq)
    : TPrimePowerAnalysis(size, pq, MoveForm(size, pq)) {}

TPrimePowerAnalysis::TPrimePowerAnalysis(std::int32_t size, const TPrimePower& pq,
                                         std::unique_ptr<TSmithForm> move)
    : size_(size), pq_(pq), move_(std::move(move)) {
    const std::int32_t n = size * size;
    const std::int32_t q = pq.q;
    move_->Advance(static_cast<std::size_t>(n));  // whatever is left of it
    for (std::int32_t i = 0; i < n; ++i) {
        if (move_->Valuation(i) > 0) deficient_.push_back(i);
    }
    u_ = move_->ApplyP(std::vector<std::uint8_t>(static_cast<std::size_t>(n), 1));

    // What is left to solve on the deficient rows i: p^v_i * y_i + s * u_i = c_i,
    // with the target colour's s as one more unknown.
    const std::int32_t r = static_cast<std::int32_t>(deficient_.size());
    std::vector<std::uint8_t> small(static_cast<std::size_t>(r) * static_cast<std::size_t>(r + 1),
                                    0);
    for (std::int32_t a = 0; a < r; ++a) {
        const std::int32_t i = deficient_[static_cast<std::size_t>(a)];
        small[static_cast<std::size_t>(a * (r + 1) + a)] =
            static_cast<std::uint8_t>(Power(pq.p, move_->Valuation(i)) % q);
        small[static_cast<std::size_t>(a * (r + 1) + r)] = u_[static_cast<std::size_t>(i)];
    }
    residual_ = std::make_unique<TSmithForm>(pq, r, r + 1, std::move(small));

    // G / H = sum over j of Z/p^w_j, and a board's class there is row j of
    // P2 * (P restricted to the deficient rows) applied to it.
    for (std::int32_t j = 0; j < r; ++j) {
        const std::int32_t w = residual_->Valuation(j);
        if (w == 0) continue;
        quotientRows_.push_back(j);
        quotientExponents_.push_back(w);
        quotientOrders_.push_back(Power(pq.p, w));
        for (std::int32_t cell = 0; cell < n; ++cell) {
            std::uint32_t s = 0;
            for (std::int32_t a = 0; a < r; ++a) {
                s += static_cast<std::uint32_t>(residual_->P(j, a)) *
                     move_->P(deficient_[static_cast<std::size_t>(a)], cell);
            }
            defectMap_.push_back(static_cast<std::uint8_t>(s % static_cast<std::uint32_t>(q)));
        }
    }
}

std::vector<std::uint8_t> TPrimePowerAnalysis::Defect(
    const std::vector<std::uint8_t>& board) const {
    const std::size_t n = static_cast<std::size_t>(Cells());
    std::vector<std::uint8_t> out(quotientExponents_.size());
    for (std::size_t j = 0; j < out.size(); ++j) {
        const std::uint8_t* row = &defectMap_[j * n];
        std::uint32_t s = 0;
        for (std::size_t cell = 0; cell < n; ++cell)
            s += static_cast<std::uint32_t>(row[cell]) * board[cell];
        out[j] = static_cast<std::uint8_t>(
            s % static_cast<std::uint32_t>(Power(pq_.p, quotientExponents_[j])));
    }
    return out;
}

bool TPrimePowerAnalysis::DefectOf(const std::int32_t* board, std::uint8_t* out) const {
    const std::size_t n = static_cast<std::size_t>(Cells());
    bool any = false;
    for (std::size_t j = 0; j < quotientOrders_.size(); ++j) {
        const std::uint8_t* row = &defectMap_[j * n];
        // At most 400 terms below 19 * 20 each: no overflow.
        std::uint32_t s = 0;
        for (std::size_t cell = 0; cell < n; ++cell) {
            s += static_cast<std::uint32_t>(row[cell]) * static_cast<std::uint32_t>(board[cell]);
        }
        out[j] = static_cast<std::uint8_t>(s % static_cast<std::uint32_t>(quotientOrders_[j]));
        any = any || out[j] != 0;
    }
    return any;
}

std::vector<std::uint8_t> TPrimePowerAnalysis::Lift(const std::vector<std::uint8_t>& small,
                                                    const std::vector<std::uint8_t>& c) const {
    const std::int32_t n = Cells(), q = pq_.q;
    const std::int32_t r = static_cast<std::int32_t>(deficient_.size());
    const std::int32_t s = small[static_cast<std::size_t>(r)];
    std::vector<std::uint8_t> y(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) {
        y[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(
            ((c[static_cast<std::size_t>(i)] - s * u_[static_cast<std::size_t>(i)]) % q + q) % q);
    }
    for (std::int32_t a = 0; a < r; ++a) {
        y[static_cast<std::size_t>(deficient_[static_cast<std::size_t>(a)])] =
            small[static_cast<std::size_t>(a)];
    }
    return move_->ApplyQ(y);
}

bool TPrimePowerAnalysis::Solve(const std::vector<std::uint8_t>& board,
                                std::vector<std::uint8_t>& presses, std::int32_t& target) const {
    const std::int32_t q = pq_.q;
    const std::int32_t r = static_cast<std::int32_t>(deficient_.size());
    std::vector<std::uint8_t> negated(board.size());
    for (std::size_t i = 0; i < board.size(); ++i)
        negated[i] = static_cast<std::uint8_t>((q - board[i]) % q);
    const std::vector<std::uint8_t> c = move_->ApplyP(negated);

    std::vector<std::uint8_t> cr(static_cast<std::size_t>(r));
    for (std::int32_t a = 0; a < r; ++a)
        cr[static_cast<std::size_t>(a)] =
            c[static_cast<std::size_t>(deficient_[static_cast<std::size_t>(a)])];
    const std::vector<std::uint8_t> d = residual_->ApplyP(cr);
    std::vector<std::uint8_t> z(static_cast<std::size_t>(r + 1), 0);
    for (std::int32_t j = 0; j < r; ++j) {
        const std::int32_t w = residual_->Valuation(j);
        const std::int32_t dj = d[static_cast<std::size_t>(j)];
        if (w == pq_.e) {
            if (dj != 0) return false;
            continue;
        }
        const std::int32_t pw = Power(pq_.p, w);
        if (dj % pw != 0) return false;
        z[static_cast<std::size_t>(j)] = static_cast<std::uint8_t>(dj / pw);
    }
    const std::vector<std::uint8_t> small = residual_->ApplyQ(z);
    presses = Lift(small, c);
    target = (q - small[static_cast<std::size_t>(r)]) % q;
    return true;
}

std::vector<TPrimePowerAnalysis::TGenerator> TPrimePowerAnalysis::KernelGenerators() const {
    const std::int32_t r = static_cast<std::int32_t>(deficient_.size());
    const std::vector<std::uint8_t> zero(static_cast<std::size_t>(Cells()), 0);
    std::vector<TGenerator> out;
    auto add = [&](std::int32_t j, std::int32_t scale, std::int32_t order) {
        std::vector<std::uint8_t> z(static_cast<std::size_t>(r + 1), 0);
        z[static_cast<std::size_t>(j)] = static_cast<std::uint8_t>(scale);
        out.push_back({Lift(residual_->ApplyQ(z), zero), order});
    };
    for (std::size_t k = 0; k < quotientRows_.size(); ++k) {
        const std::int32_t w = quotientExponents_[k];
        add(quotientRows_[k], Power(pq_.p, pq_.e - w), Power(pq_.p, w));
    }
    add(r, 1, pq_.q);  // the target colour itself
    return out;
}

}  // namespace solver
