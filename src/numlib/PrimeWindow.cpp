#include "PrimeWindow.h"

#include <algorithm>
#include <bit>
#include <span>
#include <utility>
#include <vector>

#include <primesieve.hpp>

#include "BailliePsw.h"
#include "BailliePswHalves.h"
#include "BitWords.h"
#include "ProgressionSieve.h"
#include "SievingPrime.h"
#include "SmallPrimes.h"
#include "Uint128.h"
#include "numlib.hpp"

namespace numlib::detail {

namespace {

constexpr uint64_t kChunkSize = uint64_t{1} << 18;  // numbers, a multiple of 64
// A long window is worked through in segments of this many numbers (a multiple of 64), each sieved
// or tested: primesieve holds the primes of what it sieves at once, 8 bytes each, besides its own
// tables. For a 16384 x 16384 poster's window at 10^18, sieved, the service then peaks at about 45 MB;
// in one piece it would peak at 110 MB.
constexpr uint64_t kSegmentSize = uint64_t{1} << 26;
constexpr uint32_t kPresieveLimit = uint32_t{1} << 17;
constexpr uint64_t kLargestPrimeBelow2To64 = 18446744073709551557u;

// The two ways' costs as measured by bench_numlib (BM_WindowBySieve, BM_WindowByTests), in tenths
// of a nanosecond: the sieve finds the primes up to the root of the window's top first, about 4 for
// each unit of the root, then spends about 30 on each number; the tests spend about 43 on each number
// eight to a vector, whatever its size, about 73 sixteen to the half lanes below 2^60, and about 110
// in 64-bit words (a picture's window of 273,529 numbers: 1.1 ms from 2^44 to 2^52 in words, where
// the sieve takes 2.3 ms at 2^44 and 5.3 ms at 2^46; a window of 2^24 numbers: 73 ms from 2^52 to
// 2^64 in words, two thirds of that in the half lanes, where the sieve takes 72 ms at 2^52 and
// 151 ms at 2^56). So a picture's window is sieved below about 2^39.5 with vectors, 2^42.9 with
// half lanes and 2^44.8 in words; a window of 2^24 numbers below about 2^51.4, 2^54.8 and 2^56.6.
constexpr uint64_t kSievePerRootUnit = 4;
constexpr uint64_t kSievePerNumber = 30;
constexpr uint64_t kTestsPerNumberInWords = 110;
constexpr uint64_t kTestsPerNumberInHalfLanes = 73;
constexpr uint64_t kTestsPerNumberInVectors = 43;

// What the tests spend on each number of a window whose top is `high`.
uint64_t testsPerNumber(uint64_t high) {
  if (wideLanesAvailable()) return kTestsPerNumberInVectors;
  if (halfLanesAvailable() && high < kHalfLanesServeBelow) return kTestsPerNumberInHalfLanes;
  return kTestsPerNumberInWords;
}

// Whether kSievePerRootUnit * isqrt(high) + kSievePerNumber * count < testsPerNumber * count, that
// is isqrt(high) < saved / kSievePerRootUnit for what the sieve saves on the numbers, so high below
// the square of that quotient rounded up: no root taken for each of a far tile's many short windows.
bool sieveIsFaster(uint64_t high, uint64_t count) {
  const uint128 saved = uint128{testsPerNumber(high) - kSievePerNumber} * count;
  const uint128 rootBound = (saved + kSievePerRootUnit - 1) / kSievePerRootUnit;
  return rootBound > (uint128{1} << 32) || uint128{high} < rootBound * rootBound;
}

// The bits past the window's last number in its last word are cleared.
void clearPastCount(uint64_t count, uint64_t* bits) {
  if (count % 64 != 0) bits[count / 64] &= (uint64_t{1} << (count % 64)) - 1;
}

// Reciprocals are kept for the primes a short window sieves by; a long one divides for the rest.
constexpr uint32_t kReciprocalsUpTo = uint32_t{1} << 12;

// The odd primes up to the bound (at most kReciprocalsUpTo) with their reciprocals, made once.
std::span<const SievingPrime> sievingPrimesUpTo(uint32_t bound) {
  static const std::vector<SievingPrime> primes = [] {
    std::vector<SievingPrime> made;
    for (uint32_t p : primesUpTo(kReciprocalsUpTo)) {
      if (p > 2) made.emplace_back(p);
    }
    return made;
  }();
  const auto end = std::partition_point(primes.begin(), primes.end(), [bound](const SievingPrime& p) { return p.value() <= bound; });
  return {primes.data(), static_cast<size_t>(end - primes.begin())};
}

// The numbers prime to 2, 3, 5, 7, 11 and 13 repeat every 30030: the pattern of their bits, with a
// word to spare at the end, so that any 64 bits from an offset below the period can be read.
constexpr uint32_t kPatternPrimes[] = {2, 3, 5, 7, 11, 13};
constexpr uint64_t kPatternPeriod = 2 * 3 * 5 * 7 * 11 * 13;

class PresievePattern {
 public:
  PresievePattern() : words_(kPatternPeriod / 64 + 2, 0) {
    for (uint64_t i = 0; i < kPatternPeriod + 64; ++i) {
      bool prime = true;
      for (uint32_t p : kPatternPrimes) prime = prime && i % p != 0;
      if (prime) setBit(words_.data(), i);
    }
  }
  // Fills the window's bits: bit i stands for low + i. Each word reads 64 bits from the offset of
  // its first number in the period.
  void fill(uint64_t low, uint64_t words, uint64_t* bits) const {
    uint64_t offset = low % kPatternPeriod;
    for (uint64_t w = 0; w < words; ++w) {
      const uint64_t at = offset / 64, shift = offset % 64;
      bits[w] = shift == 0 ? words_[at] : (words_[at] >> shift) | (words_[at + 1] << (64 - shift));
      offset += 64;
      if (offset >= kPatternPeriod) offset -= kPatternPeriod;
    }
  }

 private:
  std::vector<uint64_t> words_;
};

// A window from this number on takes the small primes' bits from the pattern: it holds none of
// them, and from here the pattern clears what crossing off from each prime's square would.
constexpr uint64_t kPatternServesFrom = 64;
constexpr uint32_t kFirstPrimeAfterPattern = 17;

// Sets every odd number's bit of a window; where the window lies above the pattern's primes, their
// multiples' bits are cleared too.
void fillBeforeSieving(uint64_t low, uint64_t count, uint64_t* bits) {
  const uint64_t words = (count + 63) / 64;
  if (low >= kPatternServesFrom) {
    static const PresievePattern pattern;
    pattern.fill(low, words, bits);
  } else {
    // Bit i stands for low + i, and each word starts at an even i: one pattern marks the odd numbers.
    std::fill(bits, bits + words, low % 2 == 0 ? 0xAAAAAAAAAAAAAAAAu : 0x5555555555555555u);
  }
}

// The odd primes up to a bound that a window is sieved by, past 13 for a window the pattern serves,
// each with the offset of its next odd multiple to clear from the start of the chunk at hand, from
// its square on: a smaller multiple has a smaller prime factor, and the prime itself stays. A long
// window is sieved chunk by chunk, and a prime's place carries over from one chunk to the next:
// placing each prime in each chunk anew took a remainder apiece, a fifth of the sieve's time. The
// places' storage is kept from window to window, as a far view sieves many short ones.
class SmallPrimeSieve {
 public:
  // Places the primes up to the bound for a window from low on.
  void start(uint64_t low, uint32_t bound) {
    primes_.clear();
    next_.clear();
    const uint32_t from = low >= kPatternServesFrom ? kFirstPrimeAfterPattern : 3;
    for (const SievingPrime& p : sievingPrimesUpTo(std::min(bound, kReciprocalsUpTo))) {
      if (p.value() >= from) place(low, p.value(), p.remainderOf(std::max(low, uint64_t{p.value()} * p.value())));
    }
    if (bound <= kReciprocalsUpTo) return;
    const std::span<const uint32_t> primes = primesUpTo(bound);
    for (auto p = std::upper_bound(primes.begin(), primes.end(), kReciprocalsUpTo); p != primes.end(); ++p) {
      place(low, *p, std::max(low, uint64_t{*p} * *p) % *p);
    }
  }

  // Clears the multiples among the next `count` numbers, from bits[0] on, and moves on past them.
  void crossOff(uint64_t count, uint64_t* bits) {
    for (size_t k = 0; k < primes_.size(); ++k) {
      const uint64_t step = 2 * uint64_t{primes_[k]};
      uint64_t offset = next_[k];
      if (step >= count) {
        // At most one multiple falls in the chunk, and whether it does is as good as random, so
        // would be a branch on it.
        const uint64_t inside = offset < count;
        const uint64_t at = offset & (0 - inside);
        bits[at >> 6] &= ~(inside << (at & 63));
        offset += step & (0 - inside);
      } else {
        for (; offset < count; offset += step) clearBit(bits, offset);
      }
      next_[k] = offset - count;
    }
  }

 private:
  // The first odd multiple of p from start = max(low, p^2) on, whose remainder is given.
  void place(uint64_t low, uint32_t p, uint64_t remainderOfStart) {
    const uint64_t start = std::max(low, uint64_t{p} * p);
    primes_.push_back(p);
    next_.push_back(start - low + toOddMultiple(start, p, remainderOfStart));
  }

  std::vector<uint32_t> primes_;
  std::vector<uint64_t> next_;
};

// A prime p above the window's length crosses off at most one number, and only now and then, yet
// costs a remainder to place: a short window on its own presieves only by primes up to its length,
// and at least up to 128, and tests the rest (measured on a tile's runs before they were sieved in
// progressions: a bound of 4 times the length was slower, and so was a least bound of 256 once the
// tests ran eight to a vector).
uint64_t presieveBound(uint64_t count) { return std::max<uint64_t>(count, 128); }

constexpr size_t kTestedAtOnce = 512;  // undecided numbers

// Numbers a sieve by the small primes left, which the tests must still decide, and the bits that
// stand for them. Tested together, many short windows fill the tests' groups; they are tested a
// few hundred at a time, so that they stay in the nearest cache.
class Undecided {
 public:
  void add(uint64_t n, uint64_t* word, uint64_t mask) {
    numbers_.push_back(n);
    places_.push_back({word, mask});
    if (numbers_.size() == kTestedAtOnce) settle();
  }
  // Clears the bits of the composites among them, and forgets them.
  void settle() {
    prime_.resize(numbers_.size());
    testPrimality(numbers_, prime_);
    // Without a branch: whether a number is prime is as good as random.
    for (size_t k = 0; k < numbers_.size(); ++k) {
      *places_[k].first &= ~(places_[k].second & (uint64_t{prime_[k]} - 1));
    }
    numbers_.clear();
    places_.clear();
  }

 private:
  std::vector<uint64_t> numbers_;
  std::vector<std::pair<uint64_t*, uint64_t>> places_;
  std::vector<uint8_t> prime_;
};

// The bound a window is sieved to, for its top and the length of its chunks: the root of the top
// where that is smaller, taken only then, as a far view has many short windows.
uint32_t sieveBound(uint64_t high, uint64_t chunkCount) {
  const uint64_t bound = std::min<uint64_t>(kPresieveLimit, presieveBound(chunkCount));
  return static_cast<uint32_t>(high >= bound * bound ? bound : std::min(isqrt(high), bound));
}

// A thread's sieve places and undecided numbers: the worker threads sieve at once.
struct ThreadSieve {
  SmallPrimeSieve primes;
  ProgressionSieve progressions;
  Undecided undecided;
};

ThreadSieve& sieveOfThisThread() {
  thread_local ThreadSieve sieve;
  return sieve;
}

// Hands what a sieve by the primes up to the bound left of a window to the undecided numbers. The
// tests are only ever chosen far above the blocks' range, where neither 1 nor 2 can appear.
void keepUndecided(uint64_t low, uint64_t count, uint64_t* bits, uint32_t bound, Undecided& undecided) {
  clearPastCount(count, bits);
  // A number below (bound + 1)^2 that is left has no prime factor up to its root: it is prime.
  const uint64_t firstUndecided = (uint64_t{bound} + 1) * (uint64_t{bound} + 1);
  if (low + (count - 1) < firstUndecided) return;
  const uint64_t words = (count + 63) / 64;
  for (uint64_t w = 0; w < words; ++w) {
    for (uint64_t word = bits[w]; word != 0; word &= word - 1) {
      const int bit = std::countr_zero(word);
      const uint64_t n = low + w * 64 + static_cast<uint64_t>(bit);
      if (n >= firstUndecided) undecided.add(n, bits + w, uint64_t{1} << bit);
    }
  }
}

// The next chunk of at most kChunkSize numbers from low, all above 2, sieved by the small primes up
// to the bound: its bits fit the processor's nearest cache.
void sieveChunk(uint64_t low, uint64_t count, uint64_t* bits, uint32_t bound, ThreadSieve& sieve) {
  fillBeforeSieving(low, count, bits);
  sieve.primes.crossOff(count, bits);
  keepUndecided(low, count, bits, bound, sieve.undecided);
}

// For each window, whether it lies in a progression with its neighbours: those of one side, or of
// two sides taking turns; at its start, in its middle or at its end. Each three windows a
// progression could pass through are looked at once, for all three.
std::vector<bool> inProgressions(std::span<const BitWindow> windows) {
  const size_t n = windows.size();
  std::vector<bool> in(n, false);
  for (const size_t lag : {size_t{1}, size_t{2}}) {
    for (size_t first = 0; first + 2 * lag < n; ++first) {
      if (ProgressionSieve::follow(windows[first].low, windows[first + lag].low, windows[first + 2 * lag].low)) {
        in[first] = in[first + lag] = in[first + 2 * lag] = true;
      }
    }
  }
  return in;
}

// A short far window, sieved where its start continues the windows before it.
void sieveInProgression(const BitWindow& window, ThreadSieve& sieve) {
  fillBeforeSieving(window.low, window.count, window.bits);
  const uint32_t bound = sieve.progressions.crossOff(window.low, window.count, window.bits);
  keepUndecided(window.low, window.count, window.bits, bound, sieve.undecided);
}

}  // namespace

void primeBitsBySieve(uint64_t low, uint64_t count, uint64_t* bits) {
  const uint64_t high = low + (count - 1);
  std::fill(bits, bits + (count + 63) / 64, 0);
  if (low > kLargestPrimeBelow2To64) return;
  primesieve::iterator primes(low, high);
  for (uint64_t p = primes.next_prime(); p <= high; p = primes.next_prime()) {
    setBit(bits, p - low);
    if (p == kLargestPrimeBelow2To64) break;  // the iterator refuses to look past it
  }
}

void primeBitsByTests(uint64_t low, uint64_t count, uint64_t* bits) {
  const uint32_t bound = sieveBound(low + (count - 1), std::min(count, kChunkSize));
  ThreadSieve& sieve = sieveOfThisThread();
  sieve.primes.start(low, bound);
  for (uint64_t done = 0; done < count; done += kChunkSize) {
    sieveChunk(low + done, std::min(kChunkSize, count - done), bits + done / 64, bound, sieve);
    sieve.undecided.settle();  // while the chunk's bits are near
  }
}

// Tests cost about the same for every number, so a tested window is shared among the workers in
// pieces short enough that they finish together: a 16384 x 16384 poster at 10^18 in four pieces
// left one worker idle for the last tenth of a second. A sieved window pays for the root of its top
// once a piece, and is shared a segment at a time.
constexpr uint64_t kTestedPiece = uint64_t{1} << 22;

uint64_t longestSharedPiece(uint64_t low, uint64_t count) {
  const uint64_t high = low + (count - 1);
  return sieveIsFaster(high, std::min(count, kSegmentSize)) ? kSegmentSize : kTestedPiece;
}

void primeBitsAnywhere(uint64_t low, uint64_t count, uint64_t* bits) {
  for (uint64_t done = 0; done < count; done += kSegmentSize) {
    const uint64_t segmentLow = low + done;
    const uint64_t segmentCount = std::min(kSegmentSize, count - done);
    if (sieveIsFaster(segmentLow + (segmentCount - 1), segmentCount)) {
      primeBitsBySieve(segmentLow, segmentCount, bits + done / 64);
    } else {
      primeBitsByTests(segmentLow, segmentCount, bits + done / 64);
    }
  }
}

// A short window in a progression is sieved deep, its places carried from the windows before it; one
// on its own is placed anew, only as deep as its length asks, since placing a prime costs more than
// the tests it saves for a few numbers.
void primeBitsOfFarWindows(std::span<const BitWindow> windows) {
  ThreadSieve& sieve = sieveOfThisThread();
  sieve.progressions.forget();
  const std::vector<bool> inProgression = inProgressions(windows);
  for (size_t k = 0; k < windows.size(); ++k) {
    const BitWindow& window = windows[k];
    if (window.count == 0) continue;
    const uint64_t high = window.low + (window.count - 1);
    const bool isShort = window.count <= kChunkSize && !sieveIsFaster(high, window.count);
    if (isShort && inProgression[k] && ProgressionSieve::takes(window.low, window.count)) {
      sieveInProgression(window, sieve);
      continue;
    }
    sieve.progressions.forget();
    if (isShort) {
      const uint32_t bound = sieveBound(high, window.count);
      sieve.primes.start(window.low, bound);
      sieveChunk(window.low, window.count, window.bits, bound, sieve);
    } else {
      primeBitsAnywhere(window.low, window.count, window.bits);
    }
  }
  sieve.undecided.settle();
}

}  // namespace numlib::detail
