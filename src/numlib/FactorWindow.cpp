// Each number's prime factors up to a bound are divided out by a sieve, counted with multiplicity.
// With the bound at least the cube root of the window's top, what is left, the cofactor, has at most
// two prime factors, all above the bound: 1 adds nothing, a cofactor below (bound + 1)^2 is prime,
// and any other one is prime or the product of two primes, which one primality test tells.

#include "FactorWindow.h"

#include <algorithm>
#include <bit>
#include <span>
#include <vector>

#include "BailliePsw.h"
#include "Montgomery.h"
#include "SmallPrimes.h"
#include "numlib.hpp"

namespace numlib::detail {

namespace {

// floor(cbrt(2^64 - 1)): no number below 2^64 has three prime factors above it.
constexpr uint32_t kCubeRootOfTop = 2642245;
constexpr uint64_t kChunkSize = uint64_t{1} << 15;

// Divides the odd prime p out of `rest`, a multiple of it, as often as it goes; returns how often.
// Without a division: for a multiple m of p, m / p = m * inverse mod 2^64, and any m is a multiple
// exactly when m * inverse * p does not pass 2^64.
uint8_t divideOutFully(uint64_t& rest, uint64_t p, uint64_t inverse) {
  uint8_t times = 0;
  uint64_t product;
  do {
    rest *= inverse;
    ++times;
  } while (!__builtin_mul_overflow(rest * inverse, p, &product));
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
// multiple is carried from one chunk to the next, so only the first chunk divides to find it. Most
// primes have no multiple in a chunk: their inverses are made where one has, and no table of them is
// kept, as filling one costs more than making them (a new page is dear).
class OddPrimeSieve {
 public:
  OddPrimeSieve(uint64_t low, uint64_t bound) {
    const std::span<const uint32_t> primes = primesUpTo(static_cast<uint32_t>(bound));
    primes_ = primes.subspan(primes.empty() ? 0 : 1);  // without 2
    next_.resize(primes_.size());
    for (size_t j = 0; j < primes_.size(); ++j) next_[j] = static_cast<uint32_t>((primes_[j] - low % primes_[j]) % primes_[j]);
  }

  // The next chunk of the window: rest[i] holds its i-th number, divided by what came before.
  void divideOut(std::span<uint64_t> rest, uint8_t* out) {
    for (size_t j = 0; j < primes_.size(); ++j) {
      const uint64_t p = primes_[j];
      uint64_t i = next_[j];
      if (i < rest.size()) {
        const uint64_t inverse = inverseModWord(p);
        for (; i < rest.size(); i += p) out[i] = static_cast<uint8_t>(out[i] + divideOutFully(rest[i], p, inverse));
      }
      next_[j] = static_cast<uint32_t>(i - rest.size());
    }
  }

 private:
  std::span<const uint32_t> primes_;
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
