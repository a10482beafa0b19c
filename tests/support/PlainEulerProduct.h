#pragma once
// The Hardy-Littlewood constant of ak^2 + bk + c as its Euler product, the product over the primes
// p up to 10^7 of (p - w(p)) / (p - 1), where w(p) counts the roots of the quadratic mod p.

#include <cstdint>
#include <vector>

#include "Int128.h"

// The roots of ak^2 + bk + c mod p: every k tried for small p and for p | a, Euler's criterion on
// the discriminant for the others.
inline int rootsModulo(int64_t a, int64_t b, numlib::Int128 c, int64_t p) {
  const auto mod = [p](int64_t x) { return (x % p + p) % p; };
  const auto constant = static_cast<int64_t>(c % p);
  if (p < 1000 || a % p == 0) {
    int roots = 0;
    for (int64_t k = 0; k < p; ++k) roots += mod(mod(mod(a) * mod(k * k % p)) + mod(mod(b) * k % p) + constant) == 0;
    return roots;
  }
  const int64_t delta = mod(mod(mod(b) * mod(b)) - mod(4 * mod(a) % p * mod(constant)));
  if (delta == 0) return 1;
  uint64_t power = 1, base = static_cast<uint64_t>(delta);
  for (int64_t e = (p - 1) / 2; e > 0; e >>= 1, base = base * base % p)
    if (e & 1) power = power * base % p;
  return power == 1 ? 2 : 0;
}

// The factors left out stray from 1 like random signs (D/p)/p would: their product strays from 1 by
// a standard deviation of 1/sqrt(P ln P) = 8e-5, so the product is good to 5e-4 (six deviations).
constexpr double kReferenceTolerance = 5e-4;
inline double referenceConstant(int64_t a, int64_t b, numlib::Int128 c) {
  constexpr int64_t kLimit = 10000000;
  static const std::vector<bool> composite = [] {  // a sieve of Eratosthenes
    std::vector<bool> crossed(kLimit + 1);
    for (int64_t p = 2; p * p <= kLimit; ++p)
      for (int64_t m = p * p; m <= kLimit && !crossed[p]; m += p) crossed[m] = true;
    return crossed;
  }();
  double product = 1;
  for (int64_t p = 2; p <= kLimit; ++p)
    if (!composite[p]) product *= static_cast<double>(p - rootsModulo(a, b, c, p)) / static_cast<double>(p - 1);
  return product;
}
