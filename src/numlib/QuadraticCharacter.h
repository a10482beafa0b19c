#pragma once
// The integers of a quadratic's discriminant D, which passes 64 bits (up to about 2^69 for the
// spiral's rays), and its character n -> (D/n), the Kronecker symbol: what the Euler products, the
// series and the class group all read.

#include <cstdint>
#include <span>
#include <vector>

#include "Int128.h"

namespace numlib::detail {

Int128 magnitude(Int128 x);
bool fitsInt64(Int128 x);
// x mod m in 0 ... m - 1, for 0 < m < 2^63.
uint64_t residue(Int128 x, uint64_t m);
bool isSquare(Int128 x);
Int128 floorDiv(Int128 a, Int128 b);
Int128 ceilDiv(Int128 a, Int128 b);

struct Bezout {
  int64_t u, v, gcd;  // u * a + v * b = gcd >= 0
};
Bezout extendedGcd(int64_t a, int64_t b);

// The distinct prime factors of n >= 1 in ascending order, by trial division (quick below 2^40).
std::vector<int64_t> primeFactors(int64_t n);

// The odd primes up to `limit` <= kLargestListedPrime, from lists sieved once for the process and
// never changed, so that worker threads may read them together: a short one, and the long one only
// when a larger limit is asked for.
inline constexpr uint32_t kLargestListedPrime = uint32_t{1} << 20;
std::span<const uint32_t> oddPrimesUpTo(uint32_t limit);

// The Jacobi symbol (a/n) for odd n > 0 and 0 <= a < n.
int jacobi(uint32_t a, uint32_t n);
// The Kronecker symbol (d/2): 0 for even d, 1 for d = +-1 mod 8, -1 for d = +-3 mod 8.
int kroneckerAtTwo(Int128 d);
// The Kronecker symbol (d/n) for 1 <= n < 2^32.
int kronecker(Int128 d, uint32_t n);
// (D/p) at the odd primes up to `limit`, in the order of oddPrimesUpTo(limit).
std::vector<int8_t> legendreSymbols(Int128 delta, uint32_t limit);

}  // namespace numlib::detail
