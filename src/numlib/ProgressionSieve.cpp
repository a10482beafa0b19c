#include "ProgressionSieve.h"

#include <algorithm>
#include <bit>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "BitWords.h"
#include "SievingPrime.h"
#include "SmallPrimes.h"
#include "Uint128.h"

namespace numlib::detail {

namespace {

using Lanes = ProgressionSieve::Lanes;
constexpr size_t kLaneCount = 8;

// Every window is sieved by the primes from 17 to about this bound (to the end of its vector). Far
// fewer are left to test than by the primes up to 128 a run placed anew, yet deeper the additions
// and the crossing off cost a short run more than the tests they save (bench_explore,
// BM_ExploreFullFar/1, runs of 128: 2^8 to 2^10 alike, 2^11 a little and 2^12 much slower).
constexpr uint32_t kLeastDepth = uint32_t{1} << 10;
// A longer window is sieved by the primes up to its length, as a window placed anew would be, and
// at most by those below 2^13, whose places fit the lanes.
constexpr uint32_t kGreatestDepth = (uint32_t{1} << 13) - 1;
constexpr uint32_t kFirstPrime = 17;  // the pattern of 2, 3, 5, 7, 11 and 13 has cleared theirs
// The largest step between a progression's steps that carries: below 2 * 17, so that its
// remainder by any 2p is itself, or itself plus 2p.
constexpr int kLargestCurvature = 32;
// Offsets, compared in 16-bit lanes, stay below the window's length.
constexpr uint64_t kLongestWindow = (uint64_t{1} << 15) - 1;

Lanes splat(int value) {
  Lanes lanes;
  for (size_t k = 0; k < kLaneCount; ++k) lanes[k] = static_cast<int16_t>(value);
  return lanes;
}

struct Primes {
  std::vector<Lanes> p, twice;
  std::vector<SievingPrime> each;  // for the places of a window that continues none
};

const Primes& primes() {
  static const Primes made = [] {
    Primes m;
    for (uint32_t p : primesUpTo(kGreatestDepth)) {
      if (p >= kFirstPrime) m.each.emplace_back(p);
    }
    // The few past the last whole vector are left out.
    m.each.erase(m.each.begin() + static_cast<ptrdiff_t>(m.each.size() / kLaneCount * kLaneCount), m.each.end());
    for (size_t first = 0; first < m.each.size(); first += kLaneCount) {
      Lanes p, twice;
      for (size_t k = 0; k < kLaneCount; ++k) {
        p[k] = static_cast<int16_t>(m.each[first + k].value());
        twice[k] = static_cast<int16_t>(2 * m.each[first + k].value());
      }
      m.p.push_back(p);
      m.twice.push_back(twice);
    }
    return m;
  }();
  return made;
}

// The vectors of primes a window of `count` numbers is sieved by: those that begin at or below its
// depth.
size_t vectorsFor(const Primes& all, uint64_t count) {
  const uint64_t depth = std::clamp<uint64_t>(count, kLeastDepth, kGreatestDepth);
  const auto beginsWithin = [depth](const Lanes& p) { return static_cast<uint64_t>(p[0]) <= depth; };
  return static_cast<size_t>(std::partition_point(all.p.begin(), all.p.end(), beginsWithin) - all.p.begin());
}

// The largest prime of the first `vectors`.
uint32_t largestOf(const Primes& all, size_t vectors) { return static_cast<uint32_t>(all.p[vectors - 1][kLaneCount - 1]); }

// a - modulus where a >= modulus, lane by lane: a below 2 moduli comes back below one.
Lanes reduced(Lanes a, Lanes modulus) { return a - (modulus & (a >= modulus)); }
// a + modulus where a < 0: a above -modulus comes back to 0 ... modulus - 1.
Lanes raised(Lanes a, Lanes modulus) { return a + (modulus & (a < 0)); }

// The first odd multiple of p from n on lies (p - n mod 2p) mod 2p on: a window's places.
//
// The places of a window `lag` windows on from `before`, which is `lag` windows on from
// `beforeThat`, where the step between the windows' starts grew by `curvature`. The step from
// `beforeThat` to `before` is its place less before's, mod 2p; the window's place is before's less
// that step and the curvature.
void carry(const Primes& all, const std::vector<Lanes>& before, const std::vector<Lanes>& beforeThat, int curvature,
           std::vector<Lanes>& out) {
  const Lanes bend = splat(curvature);
  for (size_t v = 0; v < out.size(); ++v) {
    const Lanes modulus = all.twice[v];
    const Lanes step = reduced(raised(beforeThat[v] - before[v], modulus) + raised(bend, modulus), modulus);
    out[v] = raised(before[v] - step, modulus);
  }
}

// The places of a window from low on, prime by prime, each from a remainder.
void placeAnew(const Primes& all, uint64_t low, std::vector<Lanes>& out) {
  for (size_t i = 0; i < out.size() * kLaneCount; ++i) {
    const SievingPrime& p = all.each[i];
    out[i / kLaneCount][i % kLaneCount] = static_cast<int16_t>(toOddMultiple(low, p.value(), p.remainderOf(low)));
  }
}

// One bit for each lane that is not zero, lane k's as bit k.
uint32_t laneMask(Lanes lanes) {
#if defined(__SSE2__)
  const __m128i packed = _mm_packs_epi16(reinterpret_cast<__m128i>(lanes), _mm_setzero_si128());
  return static_cast<uint32_t>(_mm_movemask_epi8(packed));
#else
  uint32_t mask = 0;
  for (size_t k = 0; k < kLaneCount; ++k) mask |= uint32_t{lanes[k] != 0} << k;
  return mask;
#endif
}

// The bit of position x of a word, none for x past it.
uint64_t bitIf(int x) { return uint64_t{x < 64} << (x & 63); }

// The first vectors' primes, below 2^7, have their multiples in a word at its phase and at most one
// step 2p on (2p is at least 34): each clears a word at a time, without a branch. A prime's phase in
// the next word is 64 less, raised by 2p where it falls below 0, at most twice.
constexpr size_t kVectorsByWord = 2;

void clearSmallMultiples(const Primes& all, const std::vector<Lanes>& offsets, uint64_t count, uint64_t* bits) {
  const uint64_t words = (count + 63) / 64;
  for (size_t v = 0; v < kVectorsByWord; ++v) {
    for (size_t k = 0; k < kLaneCount; ++k) {
      const int step = all.twice[v][k];
      int phase = offsets[v][k];
      for (uint64_t w = 0; w < words; ++w) {
        bits[w] &= ~(bitIf(phase) | bitIf(phase + step));
        phase -= 64;
        phase += step & -int{phase < 0};
        phase += step & -int{phase < 0};
      }
    }
  }
}

// The later primes whose step 2p fits a long window more than once, lane by lane.
size_t clearRecurringMultiples(const Primes& all, const std::vector<Lanes>& offsets, uint64_t count, uint64_t* bits) {
  size_t v = kVectorsByWord;
  for (; v < offsets.size() && static_cast<uint64_t>(all.twice[v][0]) < count; ++v) {
    for (size_t k = 0; k < kLaneCount; ++k) {
      const auto step = static_cast<uint64_t>(all.twice[v][k]);
      for (auto at = static_cast<uint64_t>(offsets[v][k]); at < count; at += step) clearBit(bits, at);
    }
  }
  return v;
}

// Each prime from vector `first` on has at most one multiple inside, and only now and then: its lanes
// are tested eight at a time into a bit for each (in `hits`), without a branch on each eight, and
// only those with one are visited.
void clearSparseMultiples(const std::vector<Lanes>& offsets, size_t first, uint64_t count, uint64_t* bits,
                          std::vector<uint64_t>& hits) {
  const Lanes length = splat(static_cast<int>(count));
  hits.clear();
  uint64_t word = 0;
  for (size_t v = first; v < offsets.size(); ++v) {
    word |= uint64_t{laneMask(offsets[v] < length)} << ((v - first) % 8 * kLaneCount);
    if ((v - first) % 8 == 7 || v + 1 == offsets.size()) {
      hits.push_back(word);
      word = 0;
    }
  }
  for (size_t w = 0; w < hits.size(); ++w) {
    for (uint64_t lanes = hits[w]; lanes != 0; lanes &= lanes - 1) {
      const size_t lane = w * 64 + static_cast<size_t>(std::countr_zero(lanes));
      clearBit(bits, static_cast<uint64_t>(offsets[first + lane / kLaneCount][lane % kLaneCount]));
    }
  }
}

}  // namespace

uint32_t ProgressionSieve::largestPrimeFor(uint64_t count) {
  const Primes& all = primes();
  return largestOf(all, vectorsFor(all, count));
}

bool ProgressionSieve::takes(uint64_t low, uint64_t count) {
  const uint64_t largest = primes().each.back().value();
  return count <= kLongestWindow && low > largest * largest;
}

// third - 2 second + first is small.
bool ProgressionSieve::follow(uint64_t first, uint64_t second, uint64_t third, int* curvature) {
  // Most windows asked on their own fail at once in words, where the curvature wraps.
  if (third - 2 * second + first + kLargestCurvature > 2 * uint64_t{kLargestCurvature}) return false;
  const uint128 outer = uint128{third} + first, inner = 2 * uint128{second};
  if (outer + kLargestCurvature < inner || outer > inner + kLargestCurvature) return false;
  if (curvature != nullptr) *curvature = static_cast<int>(static_cast<int64_t>(static_cast<uint64_t>(outer - inner)));
  return true;
}

// Whether low continues the windows `lag` and 2 `lag` back, which were placed at least `vectors`
// deep.
bool ProgressionSieve::continues(uint64_t low, uint64_t lag, size_t vectors, int& curvature) const {
  if (seen_ < 2 * lag || back(lag).offsets.size() < vectors || back(2 * lag).offsets.size() < vectors) return false;
  return follow(back(2 * lag).low, back(lag).low, low, &curvature);
}

uint32_t ProgressionSieve::crossOff(uint64_t low, uint64_t count, uint64_t* bits) {
  const Primes& all = primes();
  const size_t vectors = vectorsFor(all, count);
  Placed& here = placed_[seen_ % kKept];
  here.offsets.resize(vectors);
  int curvature = 0;
  // The runs of one side follow one another; those of two sides take turns.
  if (continues(low, 1, vectors, curvature)) {
    carry(all, back(1).offsets, back(2).offsets, curvature, here.offsets);
  } else if (continues(low, 2, vectors, curvature)) {
    carry(all, back(2).offsets, back(4).offsets, curvature, here.offsets);
  } else {
    placeAnew(all, low, here.offsets);
  }
  here.low = low;
  ++seen_;
  clearSmallMultiples(all, here.offsets, count, bits);
  const size_t sparse = clearRecurringMultiples(all, here.offsets, count, bits);
  clearSparseMultiples(here.offsets, sparse, count, bits, hits_);
  return largestOf(all, vectors);
}

}  // namespace numlib::detail
