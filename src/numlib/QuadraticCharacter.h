#pragma once
// The integers of a quadratic's discriminant D, which passes 64 bits (up to about 2^69 for the
// spiral's rays), and its character n -> (D/n), the Kronecker symbol: what the Euler products, the
// series and the class group all read.

#include <bit>
#include <cstdint>
#include <span>
#include <utility>
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

// The Jacobi symbol (a/n) for odd n > 0 and 0 <= a < n, in 32 or 64 bits, by quadratic
// reciprocity. The sign is kept in the low bit of `flips`, without branches.
template <class Unsigned>
constexpr int jacobi(Unsigned a, Unsigned n) {
  Unsigned flips = 0;
  while (a != 0) {
    const auto twos = static_cast<Unsigned>(std::countr_zero(a));
    a >>= twos;
    flips ^= twos & ((n ^ n >> 1) >> 1);  // (2/n) = -1 for n = 3, 5 mod 8, once for each odd power of 2
    flips ^= (a & n) >> 1;                // reciprocity: -1 when a = n = 3 mod 4
    std::swap(a, n);
    a %= n;
  }
  if (n != 1) return 0;
  return (flips & 1) != 0 ? -1 : 1;
}
// The Kronecker symbol (d/2): 0 for even d, 1 for d = +-1 mod 8, -1 for d = +-3 mod 8.
int kroneckerAtTwo(Int128 d);
// The Kronecker symbol (d/n) for 1 <= n < 2^32.
int kronecker(Int128 d, uint32_t n);
// (D/p) at the odd primes up to `limit`, in the order of oddPrimesUpTo(limit).
std::vector<int8_t> legendreSymbols(Int128 delta, uint32_t limit);

}  // namespace numlib::detail
