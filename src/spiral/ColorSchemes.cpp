#include "ColorSchemes.h"

#include <algorithm>
#include <cstdlib>

#include "Palette.h"
#include "numlib.hpp"

namespace spiral {

namespace {

// Where each cycling scheme starts its cycle. The offsets give the cycle's first colour to what the
// eye looks at first: ring 1, the centre, with (K + 5) mod 6 = (K - 1) mod 6; the diagonal through
// the centre, with (|d| + 12) mod 6 = |d| mod 6; and the numbers 1, 6, 11, ... with
// (n + 4) mod 5 = (n - 1) mod 5.
constexpr int kRingOffset = 5;
constexpr int kDiagonalOffset = kBaseColor + 3;
constexpr int kSequenceOffset = 4;

}  // namespace

void FactorCounts::countSegmentAt(Number offset) {
  constexpr Number kSegment = 65536;
  first_ = offset;
  counts_.resize(static_cast<size_t>(std::min(kSegment, count_ - offset)));
  numlib::factorCounts(start_ + first_, counts_.size(), counts_.data());
}

int veltraColor(Number n, bool prime, int factorCount) {
  if (prime) {
    switch (n % 12) {
      case 2: case 5: return kLightRed;
      case 3: case 7: return kLightGreen;
      case 11: return kLightBlue;
      default: return kBlack;
    }
  }
  static constexpr int kByFactorCount[] = {kBlack, kLightRed, kLightGreen, kYellow,
                                           kLightBlue, kLightMagenta, kLightCyan, kWhite};
  return factorCount >= 0 && factorCount <= 7 ? kByFactorCount[factorCount] : kBlack;
}

ColorChooser::ColorChooser(const DrawSettings& settings, const Picture& picture, int boxSize, int64_t count)
    : picture_(picture),
      scheme_(settings.colorScheme),
      primesOnly_(settings.numberClass == NumberClass::Primes),
      // A cycling scheme never divides by zero, whatever the caller passed.
      colorCount_(std::max(settings.colorCount.value_or(schemeOf(settings.colorScheme).colorCount), 1)),
      boxSize_(boxSize),
      factorCounts_(settings.start, count) {}

int ColorChooser::ringColor(int64_t ring) const {
  return kCycleBaseColor + static_cast<int>((ring + kRingOffset) % colorCount_);
}

// n + 4 is formed without passing 2^64 - 1.
int ColorChooser::sequenceColor(Number n) const {
  const auto count = static_cast<Number>(colorCount_);
  return kCycleBaseColor + static_cast<int>((n % count + kSequenceOffset) % count);
}

int ColorChooser::centreColor(Number start, bool prime) {
  lastNewClusterColor_ = kBaseColor;
  switch (scheme_) {
    case ColorScheme::Cluster:
    case ColorScheme::DiagonalNWSE:
    case ColorScheme::DiagonalSWNE:
    case ColorScheme::RingNumber:
      previousColor_ = kBaseColor;
      break;
    case ColorScheme::Sequence:
      previousColor_ = sequenceColor(start);
      break;
    case ColorScheme::Veltra:
      previousColor_ = veltraColorOf(start, prime);
      break;
    case ColorScheme::White:
    case ColorScheme::None:
      previousColor_ = kWhite;
      break;
  }
  return previousColor_;
}

void ColorChooser::centreNotShown() { lastNewClusterColor_ = colorCount_ + kBaseColor - 1; }

int ColorChooser::colorOf(Number n, int x, int y, const SpiralWalk& walk, bool prime) {
  if (!isLocal()) {
    const auto pixelAt = [this](int px, int py) { return picture_.pixel(px, py); };
    return clusterColorOf(n, walk.ring(), neighbourClusterColor(x, y, pixelAt), prime);
  }
  const bool countsFactors = scheme_ == ColorScheme::Veltra && !prime;
  return localColorOf(n, walk, prime, countsFactors ? factorCounts_.of(n) : 1);
}

int ColorChooser::localColorOf(Number n, const SpiralWalk& walk, bool prime, int factorCount) const {
  switch (scheme_) {
    case ColorScheme::DiagonalNWSE:
      return kCycleBaseColor + static_cast<int>((std::llabs(walk.diagonalNWSE()) + kDiagonalOffset) % colorCount_);
    case ColorScheme::DiagonalSWNE:
      return kCycleBaseColor + static_cast<int>((std::llabs(walk.diagonalSWNE()) + kDiagonalOffset) % colorCount_);
    case ColorScheme::RingNumber: return ringColor(walk.ring());
    case ColorScheme::Sequence: return sequenceColor(n);
    case ColorScheme::Veltra: return veltraColor(n, prime, prime ? 1 : factorCount);
    case ColorScheme::White: return kWhite;
    case ColorScheme::Cluster:
    case ColorScheme::None: break;
  }
  return previousColor_;
}

int ColorChooser::clusterColorOf(Number n, int64_t ring, int neighbour, bool prime) {
  int color = neighbour;  // joins an earlier neighbour's cluster
  if (!isCycleColor(neighbour)) {
    if (n == 2) {
      lastNewClusterColor_ = lastNewClusterColor_ == kBaseColor ? kBaseColor + 1 : kBaseColor;
      color = lastNewClusterColor_;
    } else if (primesOnly_ && n > 2 && n - 2 == lastPrime_) {  // twin primes share a colour
      color = lastPrimeColor_ + (n == 5 ? 1 : 0);
    } else {
      lastNewClusterColor_ = ringColor(ring);
      color = lastNewClusterColor_;
    }
  }
  if (prime) {
    lastPrime_ = n;
    lastPrimeColor_ = color;
  }
  previousColor_ = color;
  return color;
}

}  // namespace spiral
