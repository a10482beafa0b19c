// Square roots and the tests built on them, in integers alone: a double has 53 bits and rounds
// numbers near the top of the 64-bit range to their neighbours.

#include <bit>

#include "Uint128.h"
#include "numlib.hpp"

namespace numlib {

namespace {

// Bit r set for each residue r of a square modulo 64: 12 of the 64, so most numbers are turned away
// before a root is taken.
constexpr uint64_t squareResiduesMod64() {
  uint64_t residues = 0;
  for (uint64_t k = 0; k < 64; ++k) residues |= uint64_t{1} << (k * k % 64);
  return residues;
}
constexpr uint64_t kSquareResiduesMod64 = squareResiduesMod64();

// floor(sqrt(2n)) without forming 2n, which may not fit: with m = n / 2 and s = isqrt(m), 2n =
// 4m + 2(n % 2) lies in [(2s)^2, (2s + 2)^2), and reaches (2s + 1)^2 exactly when s^2 + s < m + n % 2.
uint64_t rootOfTwice(uint64_t n) {
  const uint64_t m = n / 2;
  const uint64_t s = isqrt(m);
  return 2 * s + (s * s + s < m + n % 2 ? 1 : 0);
}

}  // namespace

// Newton's iteration from above: 2^ceil(bits / 2) is at least the root, and each step stays at or
// above floor(sqrt(n)) while it falls, until it stops there.
uint64_t isqrt(uint64_t n) {
  if (n < 2) return n;
  uint64_t x = uint64_t{1} << ((std::bit_width(n) + 1) / 2);
  for (;;) {
    const uint64_t next = (x + n / x) / 2;
    if (next >= x) return x;
    x = next;
  }
}

bool isSquare(uint64_t n) {
  if (((kSquareResiduesMod64 >> (n % 64)) & 1) == 0) return false;
  const uint64_t root = isqrt(n);
  return root * root == n;
}

// n = k(k + 1) / 2 means k^2 < 2n < (k + 1)^2, so k can only be floor(sqrt(2n)).
bool isTriangular(uint64_t n) {
  const uint64_t k = rootOfTwice(n);
  return detail::uint128{k} * (k + 1) == detail::uint128{n} * 2;
}

}  // namespace numlib
