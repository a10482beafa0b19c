#pragma once
// What one draw pass keeps while it walks: which numbers its class shows, and what it has gathered.
// Shared by the pass on one thread (DrawPass.cpp) and the pass in bands (BandedPass.cpp).

#include <algorithm>
#include <bit>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "Choices.h"
#include "DrawSettings.h"
#include "Geometry.h"
#include "Rule.h"
#include "Tiles.h"
#include "numlib.hpp"

namespace spiral {

// Decides whether a number belongs to the chosen class. The primality of the whole pass is read once
// from the number service as a bitset. The random class draws from a generator seeded by the start
// number, so the same start always gives the same picture. An own rule, when there is one, decides
// instead of the class, with the pass's primality for prime(n).
class ClassTest {
 public:
  ClassTest(const DrawSettings& settings, Number start, int64_t count)
      : class_(settings.numberClass), rule_(settings.ownRule.get()), start_(start), primeBits_((count + 63) / 64),
        random_(start) {
    if (count > 0) numlib::primeBits(start, static_cast<uint64_t>(count), primeBits_.data(), settings.threads);
  }

  // The primality of the pass's numbers, handed over once the pass no longer asks.
  numlib::ZeroedVector<uint64_t> takePrimeBits() { return std::move(primeBits_); }

  // The first prime's walk index from `i` on, or `count` when none is left.
  int64_t nextPrimeIndex(int64_t i, int64_t count) const {
    if (i >= count) return count;
    size_t word = static_cast<size_t>(i >> 6);
    uint64_t bits = primeBits_[word] & (~uint64_t{0} << (i & 63));
    while (bits == 0) {
      if (++word == primeBits_.size()) return count;
      bits = primeBits_[word];
    }
    return std::min(static_cast<int64_t>(word * 64 + std::countr_zero(bits)), count);
  }

  bool isPrimeAt(int64_t i) const { return (primeBits_[static_cast<size_t>(i >> 6)] >> (i & 63)) & 1; }

  // Whether the classes' numbers may be tested in any order and on any thread: all but the random
  // class, whose generator is drawn from in walk order.
  bool testsInAnyOrder() const { return class_ != NumberClass::Random && rule_ == nullptr; }

  // Whether the number at walk index i, where the walk stands, is shown; `prime` receives whether it
  // is prime, whatever the class. Asked in walk order.
  bool isShown(int64_t i, const SpiralWalk& walk, bool& prime) {
    if (rule_ == nullptr) return isShown(i, prime);
    prime = isPrimeAt(i);
    return ruleShows({start_ + static_cast<Number>(i), walk.ring(), walk.column(), -walk.row(), prime});
  }

  // The same for a pass without an own rule.
  bool isShown(int64_t i, bool& prime) {
    if (class_ == NumberClass::Random) {
      prime = isPrimeAt(i);
      return isRandomlyShown(start_ + static_cast<Number>(i));
    }
    return isShownAt(i, prime);
  }

  // The same for every class but the random one, in any order.
  bool isShownAt(int64_t i, bool& prime) const {
    prime = isPrimeAt(i);
    if (class_ == NumberClass::Primes) return prime;  // the common case first
    const Number n = start_ + static_cast<Number>(i);
    switch (class_) {
      case NumberClass::Primes: return prime;
      case NumberClass::Squares: return numlib::isSquare(n);
      case NumberClass::Triangular: return numlib::isTriangular(n);
      case NumberClass::All: return true;
      case NumberClass::Random:
      case NumberClass::None: return false;
    }
    return false;
  }

  // How many numbers the own rule left undefined so far.
  int64_t undefinedCount() const { return undefined_; }

 private:
  bool ruleShows(const rules::Inputs& inputs) {
    const rules::Verdict verdict = rule_->verdict(inputs);
    if (verdict == rules::Verdict::Undefined) ++undefined_;
    return verdict == rules::Verdict::Yes;
  }

  // Odd numbers from 3 on, each with the chance 2 / (ln n + 0.5), as primes thin out.
  bool isRandomlyShown(Number n) {
    if (n < 3 || n % 2 == 0) return false;
    const double r = static_cast<double>(random_() >> 11) * 0x1.0p-53;
    return r > randomShowThreshold(n);
  }

  NumberClass class_;
  const rules::Rule* rule_;
  int64_t undefined_ = 0;
  Number start_;
  numlib::ZeroedVector<uint64_t> primeBits_;
  std::mt19937_64 random_;
};

// What one pass has gathered so far.
struct Tally {
  int64_t shown = 0;
  int64_t firstShown = 0;  // walk indices, valid once shown > 0
  int64_t lastShown = 0;
  Number smallestPrime = 0;
  Number largestPrime = 0;
  uint64_t* shownBits = nullptr;  // the outcome's, when the caller asked for them

  void countShown(int64_t i) {
    if (shown++ == 0) firstShown = i;
    lastShown = i;
    if (shownBits != nullptr) shownBits[i >> 6] |= uint64_t{1} << (i & 63);
  }

  void countPrime(Number n) {
    if (smallestPrime == 0) smallestPrime = n;
    if (n > largestPrime) largestPrime = n;
  }

  // Adds what a tally of later numbers gathered.
  void addLater(const Tally& later) {
    if (later.shown > 0) {
      if (shown == 0) firstShown = later.firstShown;
      lastShown = later.lastShown;
    }
    shown += later.shown;
    if (smallestPrime == 0) smallestPrime = later.smallestPrime;
    largestPrime = std::max(largestPrime, later.largestPrime);
  }
};

}  // namespace spiral
