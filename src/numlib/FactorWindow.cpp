// Each number's prime factors up to a bound are divided out by a sieve, counted with multiplicity.
// With the bound at least the cube root of the window's top, what is left, the cofactor, has at most
// two prime factors, all above the bound: 1 adds nothing, a cofactor below (bound + 1)^2 is prime,
// and any other one is prime or the product of two primes, which one primality test tells.

#include "FactorWindow.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <span>
#include <vector>

#include "MillerRabin.h"
#include "SmallPrimes.h"
#include "numlib.hpp"

namespace numlib::detail {

namespace {

// floor(cbrt(2^64 - 1)): no number below 2^64 has three prime factors above it.
constexpr uint32_t kCubeRootOfTop = 2642245;
constexpr uint64_t kChunkSize = uint64_t{1} << 15;

// An odd prime p with what divides by it without a division: for a multiple m of p, m / p =
// m * inverse mod 2^64, and any m is a multiple exactly when m * inverse <= largestQuotient.
struct Divisor {
  uint64_t inverse;
  uint64_t largestQuotient;
  uint32_t prime;
};

// The odd primes up to `bound` (at most kCubeRootOfTop) as divisors, from a table made once.
std::span<const Divisor> oddDivisorsUpTo(uint64_t bound) {
  static std::vector<Divisor> table;
  if (table.empty()) {
    for (uint32_t p : primesUpTo(kCubeRootOfTop)) {
      if (p == 2) continue;
      uint64_t inverse = p;  // Newton's iteration: right to 3 bits for an odd p, doubling each step
      for (int i = 0; i < 5; ++i) inverse *= 2 - p * inverse;
      table.push_back({inverse, std::numeric_limits<uint64_t>::max() / p, p});
    }
  }
  const auto end = std::partition_point(table.begin(), table.end(), [&](const Divisor& d) { return d.prime <= bound; });
  return {table.data(), static_cast<size_t>(end - table.begin())};
}

// Divides the prime out of `rest`, a multiple of it, as often as it goes; returns how often.
uint8_t divideOut(uint64_t& rest, const Divisor& d) {
  uint8_t times = 0;
  do {
    rest *= d.inverse;
    ++times;
  } while (rest * d.inverse <= d.largestQuotient);
  return times;
}

// The factors 2 by the trailing zero bits; none for 0, which `rest` holds as 1.
void divideOutTwos(std::span<uint64_t> rest, uint8_t* out) {
  for (size_t i = 0; i < rest.size(); ++i) {
    const int twos = std::countr_zero(rest[i]);
    rest[i] >>= twos;
    out[i] = static_cast<uint8_t>(out[i] + twos);
  }
}

// Adds what each cofactor contributes: nothing, one prime, or one or two by the primality test.
void countCofactors(std::span<const uint64_t> rest, uint64_t primeBelow, uint8_t* out) {
  static std::vector<uint64_t> undecided;
  static std::vector<size_t> at;
  static std::vector<uint8_t> prime;
  undecided.clear();
  at.clear();
  for (size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] == 1) continue;
    if (rest[i] < primeBelow) {
      ++out[i];
    } else {
      undecided.push_back(rest[i]);
      at.push_back(i);
    }
  }
  prime.resize(undecided.size());
  testPrimality(undecided, prime);
  for (size_t k = 0; k < undecided.size(); ++k) out[at[k]] = static_cast<uint8_t>(out[at[k]] + (prime[k] ? 1 : 2));
}

}  // namespace

void factorCountsAnywhere(uint64_t low, uint64_t count, uint8_t* out) {
  const uint64_t high = low + (count - 1);
  // The cube root of the top would do; the square root, when it is smaller, leaves no test at all.
  const uint64_t bound = std::min<uint64_t>(isqrt(high), kCubeRootOfTop);
  const std::span<const Divisor> odd = oddDivisorsUpTo(bound);
  std::vector<uint32_t> next(odd.size());  // each prime's next multiple, from the chunk's start
  for (size_t j = 0; j < odd.size(); ++j) next[j] = static_cast<uint32_t>((odd[j].prime - low % odd[j].prime) % odd[j].prime);
  std::vector<uint64_t> rest(std::min(count, kChunkSize));

  for (uint64_t done = 0; done < count; done += kChunkSize) {
    const uint64_t chunkLow = low + done;
    const uint64_t chunkCount = std::min(kChunkSize, count - done);
    const std::span chunkRest(rest.data(), chunkCount);
    uint8_t* chunkOut = out + done;
    for (uint64_t i = 0; i < chunkCount; ++i) rest[i] = chunkLow + i;
    std::fill(chunkOut, chunkOut + chunkCount, 0);
    if (chunkLow == 0) rest[0] = 1;  // 0 has no factorisation: it must not be divided forever
    divideOutTwos(chunkRest, chunkOut);
    for (size_t j = 0; j < odd.size(); ++j) {
      uint64_t i = next[j];
      for (; i < chunkCount; i += odd[j].prime) chunkOut[i] = static_cast<uint8_t>(chunkOut[i] + divideOut(rest[i], odd[j]));
      next[j] = static_cast<uint32_t>(i - chunkCount);
    }
    countCofactors(chunkRest, (bound + 1) * (bound + 1), chunkOut);
  }
}

}  // namespace numlib::detail
