#include "game/SolverModular.h"

namespace solver {

std::vector<TPrimePower> FactorPrimePowers(std::int32_t k) {
    std::vector<TPrimePower> out;
    for (std::int32_t p = 2; k > 1; ++p) {
        if (k % p != 0) continue;
        TPrimePower pq{p, 0, 1};
        while (k % p == 0) {
            k /= p;
            ++pq.e;
            pq.q *= p;
        }
        out.push_back(pq);
    }
    return out;
}

std::int32_t Valuation(std::int32_t x, const TPrimePower& pq) {
    if (x % pq.q == 0) return pq.e;
    std::int32_t v = 0;
    while (x % pq.p == 0) {
        x /= pq.p;
        ++v;
    }
    return v;
}

std::int32_t InverseMod(std::int32_t a, std::int32_t q) {
    // Extended Euclid on (a, q); a is a unit, so the gcd is 1.
    std::int32_t r0 = q, r1 = ((a % q) + q) % q;
    std::int32_t t0 = 0, t1 = 1;
    while (r1 != 0) {
        std::int32_t quot = r0 / r1;
        std::int32_t r2 = r0 - quot * r1;
        r0 = r1;
        r1 = r2;
        std::int32_t t2 = t0 - quot * t1;
        t0 = t1;
        t1 = t2;
    }
    return ((t0 % q) + q) % q;
}

void AddMultiple(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t g, std::size_t len,
                 const TReducer& red) {
    const std::uint32_t q = red.q, m = red.m;
    for (std::size_t j = 0; j < len; ++j) {
        std::uint32_t x = dst[j] + g * src[j];
        dst[j] = static_cast<std::uint8_t>(x - q * ((x * m) >> 16));
    }
}

}  // namespace solver
