#include "DrawPass.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "CellRenderer.h"
#include "ColorSchemes.h"
#include "Diagonals.h"
#include "Palette.h"
#include "numlib.hpp"

namespace spiral {

namespace {

constexpr int64_t kYieldEvery = 1000;

// Decides whether a number belongs to the chosen class. The primality of the whole pass is read once
// from the number service as a bitset. The random class draws from a generator seeded by the start
// number, so the same start always gives the same picture. An own rule, when there is one, decides
// instead of the class, with the pass's primality for prime(n).
class ClassTest {
 public:
  ClassTest(const DrawSettings& settings, Number start, int64_t count)
      : class_(settings.numberClass), rule_(settings.ownRule.get()), start_(start), primeBits_((count + 63) / 64),
        random_(start) {
    if (count > 0) numlib::primeBits(start, count, primeBits_.data());
  }

  // The primality of the pass's numbers, handed over once the pass no longer asks.
  std::vector<uint64_t> takePrimeBits() { return std::move(primeBits_); }

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

  // Whether the number at walk index i, where the walk stands, is shown; `prime` receives whether it
  // is prime, whatever the class.
  bool isShown(int64_t i, const SpiralWalk& walk, bool& prime) {
    prime = (primeBits_[static_cast<size_t>(i >> 6)] >> (i & 63)) & 1;
    const Number n = start_ + static_cast<Number>(i);
    if (rule_ != nullptr) return ruleShows({n, walk.ring(), walk.column(), -walk.row(), prime});
    if (class_ == NumberClass::Primes) return prime;  // the common case first
    switch (class_) {
      case NumberClass::Primes: return prime;
      case NumberClass::Random: return isRandomlyShown(n);
      case NumberClass::Squares: return numlib::isSquare(n);
      case NumberClass::Triangular: return numlib::isTriangular(n);
      case NumberClass::All: return true;
      case NumberClass::None: return false;
    }
    return false;
  }

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
    const auto threshold = static_cast<float>(1.0 - 2.0 / (std::log(static_cast<double>(n)) + 0.5));
    return r > threshold;
  }

  NumberClass class_;
  const rules::Rule* rule_;
  int64_t undefined_ = 0;
  Number start_;
  std::vector<uint64_t> primeBits_;
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
};

// The last number of `count` from `start`, held at 2^64 - 1 where a refused picture would pass it;
// a picture without cells ends just before its start.
Number endNumberOf(Number start, int64_t count) {
  if (count == 0) return start > 0 ? start - 1 : 0;
  const auto rest = static_cast<Number>(count - 1);
  return start > UINT64_MAX - rest ? UINT64_MAX : start + rest;
}

}  // namespace

DrawOutcome validateRequest(const DrawSettings& settings, int width, int height) {
  DrawOutcome outcome;
  outcome.refusal = startRefusal(settings.start, settings.range);
  if (outcome.refusal != Refusal::None) return outcome;
  outcome.geometry = computeGeometry(width, height, settings.boxSize);
  outcome.startNumber = settings.start;
  const int64_t count = outcome.geometry.numberOfNumbers;
  outcome.endNumber = endNumberOf(settings.start, count);
  outcome.refusal = pictureRefusal(settings.start, count, settings.numberClass, settings.range);
  return outcome;
}

DrawOutcome drawSpiral(const DrawSettings& settings, Picture& picture, const DrawHooks& hooks) {
  DrawOutcome outcome = validateRequest(settings, picture.width(), picture.height());
  if (outcome.refusal != Refusal::None) return outcome;
  const Geometry& g = outcome.geometry;
  if (hooks.accepted) hooks.accepted(g);

  picture.clear();
  const Number start = outcome.startNumber;
  const int64_t count = g.numberOfNumbers;
  const CellSizeChoice& size = cellSizeOf(g.boxSize);
  ClassTest classTest(settings, start, count);
  ColorChooser colors(settings, picture, g.boxSize, count);
  CellRenderer cells(settings, g, picture);
  Tally tally;
  if (settings.recordShown) {
    outcome.shownBits.assign(static_cast<size_t>((count + 63) / 64), 0);
    tally.shownBits = outcome.shownBits.data();
  }
  bool prime = false;

  if (count > 0) {
    if (classTest.isShown(0, SpiralWalk(), prime)) {
      tally.countShown(0);
      cells.drawCell(g.centerX, g.centerY, colors.centreColor(start, prime), start);
      if (prime) tally.countPrime(start);
    } else {
      if (size.centreGridDot) cells.drawCentralGridDot(g.centerX, g.centerY);
      colors.centreNotShown();
    }
  }

  // Primes alone, on cells that draw nothing where no number is shown: the walk jumps from prime
  // to prime. Otherwise it steps through every number.
  const bool primesOnly = settings.numberClass == NumberClass::Primes && !cells.drawsUnshownCells();
  const auto nextIndex = [&](int64_t i) { return primesOnly ? classTest.nextPrimeIndex(i, count) : i; };
  // The message loop runs after every kYieldEvery-th number, whether or not it was drawn: before
  // a number is drawn, once for each such number passed since the last yield. Returns whether the
  // hook asked to stop.
  const bool yields = size.yields && hooks.yield;
  int64_t nextYield = kYieldEvery;
  const auto yieldThrough = [&](int64_t last) {
    for (; yields && nextYield <= last; nextYield += kYieldEvery) {
      if (hooks.yield(nextYield)) {
        outcome.stopped = true;
        break;
      }
    }
    return outcome.stopped;
  };
  SpiralWalk walk;
  for (int64_t i = nextIndex(1); i < count; i = nextIndex(i + 1)) {
    if (yieldThrough(i - 1)) break;
    walk.moveTo(i);
    const Number n = start + static_cast<Number>(i);
    const auto [x, y] = g.centreOf(walk.row(), walk.column());
    if (classTest.isShown(i, walk, prime)) {
      tally.countShown(i);
      cells.drawCell(x, y, colors.colorOf(n, x, y, walk, prime), n);
      if (prime) tally.countPrime(n);
    } else {
      cells.drawGridMark(x, y, i, walk);
    }
  }
  if (!outcome.stopped) yieldThrough(count - 1);

  outcome.shownCount = tally.shown;
  outcome.smallestPrime = tally.smallestPrime;
  outcome.largestPrime = tally.largestPrime;
  outcome.smallestShown = start + static_cast<Number>(tally.firstShown);
  outcome.largestShown = start + static_cast<Number>(tally.lastShown);
  if (settings.ownRule) outcome.undefinedCount = classTest.undefinedCount();
  if (settings.recordShown) outcome.primeBits = classTest.takePrimeBits();
  if (outcome.stopped || !settings.calculateLongest) return outcome;

  if (tally.shown == 0) {
    outcome.longestNWSE = 0;
    outcome.longestSWNE = 0;
  } else {
    if (hooks.beforeDiagonals) hooks.beforeDiagonals();
    outcome.longestNWSE = longestDiagonal(picture, g, true);
    outcome.longestSWNE = longestDiagonal(picture, g, false);
  }
  return outcome;
}

void drawBusyNotice(Picture& picture, const Geometry& geometry, const std::string& text) {
  const int cx = geometry.centerX;
  const int cy = geometry.centerY;
  const BusyNotice notice = cellSizeOf(geometry.boxSize).busyNotice;
  if (notice == BusyNotice::None) return;
  picture.fillBox(cx - 60, cy + 130, cx + 70, cy + 174, kBlack);
  if (notice == BusyNotice::BoxAndText) picture.drawText(cx - 50, cy + 140, text, 14, kYellow);
}

}  // namespace spiral
