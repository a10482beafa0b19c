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

int colorCountOf(const DrawSettings& settings) {
  return std::max(settings.colorCount.value_or(schemeOf(settings.colorScheme).colorCount), 1);
}

int ringColor(int64_t ring, int colorCount) {
  return kCycleBaseColor + static_cast<int>((ring + kRingOffset) % colorCount);
}

namespace {

int diagonalColor(int64_t diagonal, int colorCount) {
  return kCycleBaseColor + static_cast<int>((std::llabs(diagonal) + kDiagonalOffset) % colorCount);
}

// n + 4 is formed without passing 2^64 - 1.
int sequenceColor(Number n, int colorCount) {
  const auto count = static_cast<Number>(colorCount);
  return kCycleBaseColor + static_cast<int>((n % count + kSequenceOffset) % count);
}

}  // namespace

int ownColor(ColorScheme scheme, int colorCount, const OwnColorFacts& cell) {
  switch (scheme) {
    case ColorScheme::DiagonalNWSE: return diagonalColor(cell.diagonalNWSE, colorCount);
    case ColorScheme::DiagonalSWNE: return diagonalColor(cell.diagonalSWNE, colorCount);
    case ColorScheme::Cluster:  // a cluster cell's own colour is its ring's, as when it starts a cluster
    case ColorScheme::RingNumber: return ringColor(cell.ring, colorCount);
    case ColorScheme::Sequence: return sequenceColor(cell.n, colorCount);
    case ColorScheme::Veltra: return veltraColor(cell.n, cell.prime, cell.prime ? 1 : cell.factorCount);
    case ColorScheme::White:
    case ColorScheme::None: return kWhite;
  }
  return kWhite;
}

int centreColorOf(ColorScheme scheme, int colorCount, Number start, bool prime, int factorCount) {
  switch (scheme) {
    case ColorScheme::Sequence:
    case ColorScheme::Veltra:
    case ColorScheme::White:
    case ColorScheme::None:
      return ownColor(scheme, colorCount, {.n = start, .prime = prime, .factorCount = factorCount});
    default:
      return kBaseColor;
  }
}

int ClusterRule::colorOf(Number n, int64_t ring, int neighbour) {
  if (isCycleColor(neighbour)) return neighbour;  // joins an earlier neighbour's cluster
  if (n == 2) {
    lastNewClusterColor_ = lastNewClusterColor_ == kBaseColor ? kBaseColor + 1 : kBaseColor;
    return lastNewClusterColor_;
  }
  if (primesOnly_ && n > 2 && n - 2 == lastPrime_) {  // twin primes share a colour
    return lastPrimeColor_ + (n == 5 ? 1 : 0);
  }
  lastNewClusterColor_ = ringColor(ring, colorCount_);
  return lastNewClusterColor_;
}

ColorChooser::ColorChooser(const DrawSettings& settings, const Picture& picture, int boxSize, int64_t count)
    : picture_(picture),
      scheme_(settings.colorScheme),
      colorCount_(colorCountOf(settings)),
      boxSize_(boxSize),
      cluster_(colorCount_, settings.numberClass == NumberClass::Primes),
      factorCounts_(settings.start, count) {}

int ColorChooser::centreColor(Number start, bool prime) {
  cluster_.centreShown();
  previousColor_ = centreColorOf(scheme_, colorCount_, start, prime, factorCountOf(start, prime));
  return previousColor_;
}

void ColorChooser::centreNotShown() { cluster_.centreNotShown(); }

int ColorChooser::colorOf(Number n, int x, int y, const SpiralWalk& walk, bool prime) {
  int color = previousColor_;
  if (scheme_ == ColorScheme::Cluster) {
    color = cluster_.colorOf(n, walk.ring(), neighbourClusterColor(x, y));
  } else if (scheme_ != ColorScheme::None) {
    color = ownColor(scheme_, colorCount_,
                     {n, walk.ring(), walk.diagonalNWSE(), walk.diagonalSWNE(), prime, factorCountOf(n, prime)});
  }
  cluster_.shown(n, prime, color);
  previousColor_ = color;
  return color;
}

// Each neighbour cell is probed at its centre and, for cells larger than a pixel, the eight pixels
// around it: for each of those nine offsets in turn, every neighbour of the group.
int ColorChooser::neighbourClusterColor(int x, int y) const {
  const int s = boxSize_;
  const int spread = s == 1 ? 0 : 1;
  for (const CellSteps* group : kClusterLookingOrder) {
    for (int dx = spread; dx >= -spread; --dx) {
      for (int dy = spread; dy >= -spread; --dy) {
        for (const CellStep& step : *group) {
          const int c = probe(x + step.columns * s + dx, y + step.rows * s + dy);
          if (c >= 0) return c;
        }
      }
    }
  }
  return -1;
}

}  // namespace spiral
