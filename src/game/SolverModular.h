// Small arithmetic over Z/q for the solver: prime-power factors of a colour
// count, inverses of units, and the reduction used by the row operations.
#pragma once

#include <cstdint>
#include <vector>

namespace solver {

// One prime-power factor q = p^e of a colour count.
struct TPrimePower {
    std::int32_t p = 0;
    std::int32_t e = 0;
    std::int32_t q = 0;
};

// The prime-power factors of k (k >= 2), smallest prime first: 12 -> 4, 3.
std::vector<TPrimePower> FactorPrimePowers(std::int32_t k);

// The p-adic valuation of x in Z/p^e, taking x in 0..q-1; 0 has valuation e.
std::int32_t Valuation(std::int32_t x, const TPrimePower& pq);

// The inverse of a unit a modulo q (a not divisible by the prime of q).
std::int32_t InverseMod(std::int32_t a, std::int32_t q);

// x mod q for 0 <= x < 2^16 / q without a division: Barrett reduction with
// m = floor(2^16 / q) + 1. The error of x * m / 2^16 against x / q is below
// x / 2^16, which stays below 1 / q for every x the row operations produce
// (x < q * q + q <= 400), so the floor is exact.
struct TReducer {
    std::uint32_t q;
    std::uint32_t m;
    explicit TReducer(std::int32_t modulus)
        : q(static_cast<std::uint32_t>(modulus)), m(65536u / q + 1u) {}
    std::uint32_t operator()(std::uint32_t x) const { return x - q * ((x * m) >> 16); }
};

// dst[j] := (dst[j] + g * src[j]) mod q for j in 0..len-1; entries and g lie
// in 0..q-1. The loop is plain enough for the compiler to vectorise.
void AddMultiple(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t g, std::size_t len,
                 const TReducer& red);

}  // namespace solver
