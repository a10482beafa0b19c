#pragma once
// The number service's C++ face: the questions the engine, the window and the renderer ask, with
// plain C++ types, exact for every number below 2^64. The C functions of numlib.h stay for the
// callers that name them, with their 32-bit range.
//
// Where the answers come from:
// - 0 ... kLargestNumber (2^31 - 2), the window's range: tables of sieved blocks, kept between
//   calls, so that a pass's long runs of consecutive questions cost a table look-up each.
// - above: the Baillie-PSW test (a strong test to base 2 and a Lucas test), which no composite below
//   2^64 passes, so the answer is exact (no chance involved; BailliePsw.h gives the proof); windows
//   are sieved by small primes first, and factorisations found by trial division and Pollard's rho.
//
// Safe to call from any thread: each thread keeps its own sieved blocks. The window functions below
// split long windows among worker threads when asked to.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "numlib.h"

namespace numlib {

// The top of the window's range, answered from sieved blocks; every larger number is answered too.
inline constexpr uint64_t kLargestNumber = NUMLIB_LARGEST_NUMBER;

// Whether n is a prime.
bool isPrime(uint64_t n);

// The next prime up from n within the bound: the smallest prime p with n < p <= last.
std::optional<uint64_t> primeAfter(uint64_t n, uint64_t last);
// The next prime down from n within the bound: the largest prime p with first <= p < n.
std::optional<uint64_t> primeBefore(uint64_t n, uint64_t first);

// The primality of `count` consecutive numbers from `low` (low + count - 1 <= 2^64 - 1) as a
// bitset: bit i of bits[i / 64] is set exactly when low + i is prime. `bits` holds (count + 63) / 64
// words. Beyond the bits, the memory used does not grow with the window. A long window is split
// among up to `threads` workers; the bits are the same for every thread count.
void primeBits(uint64_t low, uint64_t count, uint64_t* bits, int threads = 1);

// A window of consecutive numbers and the words its bits go to, as primeBits takes them.
struct BitWindow {
  uint64_t low = 0;
  uint64_t count = 0;
  uint64_t* bits = nullptr;
};
// The bits of each window, exactly as primeBits gives them, on the calling thread. Far above the
// window's range the tests of all the windows' numbers run together, so that many short windows
// (the runs of a tile) cost what one long one does.
void primeBitsOfWindows(std::span<const BitWindow> windows);

// Omega(n): the prime factors of n counted with multiplicity; 0 for n <= 1.
int factorCount(uint64_t n);

// Omega of `count` consecutive numbers from `low` (low + count - 1 <= 2^64 - 1): out[i] =
// factorCount(low + i), at most 63. A long window is split among up to `threads` workers.
void factorCounts(uint64_t low, uint64_t count, uint8_t* out, int threads = 1);

struct PrimePower {
  uint64_t prime;
  int exponent;
  bool operator==(const PrimePower&) const = default;
};

// The prime factors of n in ascending order with their exponents; empty for n <= 1.
std::vector<PrimePower> factorise(uint64_t n);

// floor(sqrt(n)), exactly, for every n.
uint64_t isqrt(uint64_t n);
// Whether n = k^2 for some integer k (0 and 1 included).
bool isSquare(uint64_t n);
// Whether n = k(k + 1) / 2 for some integer k (0 and 1 included).
bool isTriangular(uint64_t n);

}  // namespace numlib
