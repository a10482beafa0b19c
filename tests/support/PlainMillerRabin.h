#pragma once
// The reference for 64-bit primality, written plainly and apart from the number service: trial
// division up to 1000, then the strong test to the seven bases known to admit no composite below
// 2^64, with products taken in 128 bits. Shared by the number service's test and its fuzzer.

#include <cstdint>

__extension__ typedef unsigned __int128 Wide;

inline uint64_t powerMod(uint64_t base, uint64_t exponent, uint64_t m) {
  uint64_t result = 1;
  base %= m;
  for (; exponent > 0; exponent /= 2) {
    if (exponent % 2 == 1) result = static_cast<uint64_t>(Wide{result} * base % m);
    base = static_cast<uint64_t>(Wide{base} * base % m);
  }
  return result;
}

inline bool referenceIsPrime(uint64_t n) {
  if (n < 2) return false;
  for (uint64_t p = 2; p < 1000; p += p == 2 ? 1 : 2) {
    if (p * p > n) return true;
    if (n % p == 0) return false;
  }
  uint64_t d = n - 1;
  int s = 0;
  for (; d % 2 == 0; d /= 2) ++s;
  for (uint64_t base : {2, 325, 9375, 28178, 450775, 9780504, 1795265022}) {
    uint64_t x = powerMod(base, d, n);
    bool passes = x == 1 || x == n - 1;
    for (int i = 1; i < s && !passes; ++i) {
      x = static_cast<uint64_t>(Wide{x} * x % n);
      passes = x == n - 1;
    }
    if (!passes) return false;
  }
  return true;
}
