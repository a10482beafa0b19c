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
  thread_local std::vector<Divisor> table;
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
uint8_t divideOutFully(uint64_t& rest, const Divisor& d) {
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
  thread_local std::vector<uint64_t> undecided;
  thread_local std::vector<size_t> at;
  thread_local std::vector<uint8_t> prime;
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

// The odd primes up to a bound divided out of the chunks of a window in turn; each prime's next
// multiple is carried from one chunk to the next, so only the first chunk divides to find it.
class OddPrimeSieve {
 public:
  OddPrimeSieve(uint64_t low, uint64_t bound) : primes_(oddDivisorsUpTo(bound)), next_(primes_.size()) {
    for (size_t j = 0; j < primes_.size(); ++j) {
      const uint32_t p = primes_[j].prime;
      next_[j] = static_cast<uint32_t>((p - low % p) % p);
    }
  }

  // The next chunk of the window: rest[i] holds its i-th number, divided by what came before.
  void divideOut(std::span<uint64_t> rest, uint8_t* out) {
    for (size_t j = 0; j < primes_.size(); ++j) {
      uint64_t i = next_[j];
      for (; i < rest.size(); i += primes_[j].prime) out[i] = static_cast<uint8_t>(out[i] + divideOutFully(rest[i], primes_[j]));
      next_[j] = static_cast<uint32_t>(i - rest.size());
    }
  }

 private:
  std::span<const Divisor> primes_;
  std::vector<uint32_t> next_;
};

}  // namespace

void factorCountsAnywhere(uint64_t low, uint64_t count, uint8_t* out) {
  const uint64_t high = low + (count - 1);
  // The cube root of the top would do; the square root, when it is smaller, leaves no test at all.
  const uint64_t bound = std::min<uint64_t>(isqrt(high), kCubeRootOfTop);
  OddPrimeSieve oddPrimes(low, bound);
  std::vector<uint64_t> rest(std::min(count, kChunkSize));
  for (uint64_t done = 0; done < count; done += kChunkSize) {
    const std::span chunk(rest.data(), std::min(kChunkSize, count - done));
    uint8_t* chunkOut = out + done;
    for (uint64_t i = 0; i < chunk.size(); ++i) chunk[i] = low + done + i;
    if (low + done == 0) chunk[0] = 1;  // 0 has no factorisation: it must not be divided forever
    std::fill(chunkOut, chunkOut + chunk.size(), 0);
    divideOutTwos(chunk, chunkOut);
    oddPrimes.divideOut(chunk, chunkOut);
    countCofactors(chunk, (bound + 1) * (bound + 1), chunkOut);
  }
}

}  // namespace numlib::detail
