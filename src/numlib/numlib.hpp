#pragma once
// The number service's C++ face, over the C functions of numlib.h: the questions the engine, the
// window and the renderer ask, with plain C++ types. The C functions stay for the callers that
// name them; everything else asks here.
//
// Like the C functions, meant for one thread at a time (the service caches sieved blocks).

#include <cstdint>
#include <optional>
#include <vector>

#include "numlib.h"

namespace numlib {

// The largest number the service answers for, 2^31 - 2.
inline constexpr int64_t kLargestNumber = NUMLIB_LARGEST_NUMBER;

// Whether n is a prime; false for every n outside 2 ... kLargestNumber.
bool isPrime(int64_t n);

// The next prime up from n within the bound: the smallest prime p with n < p <= last.
std::optional<int64_t> primeAfter(int64_t n, int64_t last);
// The next prime down from n within the bound: the largest prime p with first <= p < n.
std::optional<int64_t> primeBefore(int64_t n, int64_t first);

// The primality of `count` consecutive numbers from `low` (0 <= low, low + count - 1 <=
// kLargestNumber) as a bitset: bit i of bits[i / 64] is set exactly when low + i is prime.
// `bits` holds (count + 63) / 64 words.
void primeBits(int64_t low, int64_t count, uint64_t* bits);

// Omega(n): the prime factors of n counted with multiplicity; 0 for n <= 1.
int factorCount(int64_t n);

struct PrimePower {
  int64_t prime;
  int exponent;
  bool operator==(const PrimePower&) const = default;
};

// The prime factors of n in ascending order with their exponents; empty for n <= 1.
std::vector<PrimePower> factorise(int64_t n);

}  // namespace numlib
