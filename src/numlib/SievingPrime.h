#pragma once
// An odd sieving prime with its reciprocal to 128 bits, which gives the remainder of any 64-bit
// number without a division: the fraction n / p - floor(n / p) comes out exact enough that p times
// it is n mod p (D. Lemire, O. Kaser and N. Kurz, "Faster remainder by direct computation", 2019).
// A short window places each of its primes once, and there a division cost more than the sieving.

#include <cstdint>

#include "Uint128.h"

namespace numlib::detail {

// From n, given r = n mod p for an odd prime p, the distance to the first odd multiple of p from n
// on: below 2p.
inline uint64_t toOddMultiple(uint64_t n, uint64_t p, uint64_t r) {
  const uint64_t toMultiple = r == 0 ? 0 : p - r;
  return toMultiple + (p & (0 - (~(n ^ toMultiple) & 1)));  // n + toMultiple is even: the next is odd
}

class SievingPrime {
 public:
  explicit SievingPrime(uint32_t p) : p_(p), reciprocal_(~uint128{0} / p + 1) {}
  uint32_t value() const { return p_; }
  uint64_t remainderOf(uint64_t n) const {
    const uint128 fraction = reciprocal_ * n;
    const uint128 high = uint128{static_cast<uint64_t>(fraction >> 64)} * p_;
    const uint128 low = uint128{static_cast<uint64_t>(fraction)} * p_;
    return static_cast<uint64_t>((high + (low >> 64)) >> 64);
  }

 private:
  uint32_t p_;
  uint128 reciprocal_;
};

}  // namespace numlib::detail
