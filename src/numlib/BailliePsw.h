#pragma once
// The primality of numbers of any size below 2^64 by the Baillie-PSW test: the strong probable-prime
// test to base 2, then the strong Lucas probable-prime test with Selfridge's parameters (D the first
// of 5, -7, 9, -11, 13, ... with Jacobi symbol (D/n) = -1, P = 1, Q = (1 - D) / 4).
//
// Why the answer is exact below 2^64: a composite that passes the first test is a base-2 Fermat
// pseudoprime, and J. Feitsma and W. Galway listed every one of those below 2^64 (2009). J. Gilchrist
// ran the Lucas test with Selfridge's parameters over that whole list and none of them passes it
// (2009; C. Greathouse checked it again in 2011). A strong Lucas probable prime is a Lucas probable
// prime for the same parameters, so no composite below 2^64 passes both tests here either.
// The tests: R. Baillie and S. Wagstaff, "Lucas pseudoprimes", Math. Comp. 35 (1980), 1391-1417;
// C. Pomerance, J. Selfridge and S. Wagstaff, "The pseudoprimes to 25 * 10^9", Math. Comp. 35
// (1980), 1003-1026.
//
// The cost, for a prime: one exponentiation to base 2 and one Lucas sequence of two
// products a bit, where the seven-base strong test takes seven exponentiations. A composite mostly
// ends after the first.

#include <bit>
#include <cstdint>
#include <optional>
#include <span>

namespace numlib::detail {

// Whether n is prime, for every n.
[[gnu::noinline]] bool isPrimeByBailliePsw(uint64_t n);

// Whether each of `numbers` is prime (prime[i] = 1 or 0): the same answers as isPrimeByBailliePsw,
// faster for many numbers, as the tests of several of them run side by side: eight to a vector where
// the processor has 52-bit multiply-add lanes (AVX-512 IFMA); else sixteen at a time in vectors of
// 32-bit multiplies (AVX2) where the numbers lie below 2^60; else four in 64-bit words.
void testPrimality(std::span<const uint64_t> numbers, std::span<uint8_t> prime);

// The three ways testPrimality chooses between; the wide one only where wideLanesAvailable(), the
// half one only where halfLanesAvailable().
void testPrimalityInWords(std::span<const uint64_t> numbers, std::span<uint8_t> prime);
void testPrimalityInWideLanes(std::span<const uint64_t> numbers, std::span<uint8_t> prime);
void testPrimalityInHalfLanes(std::span<const uint64_t> numbers, std::span<uint8_t> prime);
bool wideLanesAvailable();
bool halfLanesAvailable();

// For odd n > 1: n - 1 = odd * 2^twos, which the strong test to base 2 raises 2 to, and
// n + 1 = odd * 2^twos, which the Lucas test walks (formed without n + 1, which may pass 2^64 - 1).
struct PowerOfTwoSplit {
  uint64_t odd = 0;
  int twos = 0;
};
inline PowerOfTwoSplit splitBelow(uint64_t n) {
  const int twos = std::countr_zero(n - 1);
  return {(n - 1) >> twos, twos};
}
inline PowerOfTwoSplit splitAbove(uint64_t n) {
  const int twos = std::countr_one(n);
  return {(n >> twos) + 1, twos};
}

// For an odd n >= 64 that passed the strong test to base 2: the Lucas test's P' = 1/Q - 2 mod n for
// Selfridge's D and Q, times `unit` mod n (the form's 1 gives P' in the form), or not found when n is
// a square or shares a factor with D or Q (then composite). A pair of words, which comes back in
// registers: an optional came back through memory, and stalled every prime's test.
struct LucasParameter {
  bool found = false;
  uint64_t value = 0;
};
LucasParameter lucasParameterAfterBase2(uint64_t n, uint64_t unit = 1);

}  // namespace numlib::detail
