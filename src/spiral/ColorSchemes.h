#pragma once
// The colour of each shown number under the chosen scheme.

#include <array>
#include <cstdint>
#include <vector>

#include "DrawSettings.h"
#include "Geometry.h"
#include "Palette.h"
#include "Picture.h"
#include "numlib.hpp"

namespace spiral {

// F: the first colour of a cycle; a cycle of L colours runs from F to F + L - 1.
inline constexpr int kCycleBaseColor = kLightBlue;
// B: the colour a pass starts from, given to the shown centre and to the first cluster. It is the
// cycle's first colour, so that the centre's cluster begins the cycle.
inline constexpr int kBaseColor = kCycleBaseColor;

// The Veltra colour of n: primes by their remainder mod 12, other numbers by their factor count
// (with multiplicity).
int veltraColor(Number n, bool prime, int factorCount);

// The colour count L of a scheme: its own, unless the caller passed another; never zero, so that a
// cycling scheme never divides by zero.
int colorCountOf(const DrawSettings& settings);

// A shown cell's own colour under every scheme but the cluster's: what the cell alone decides.
// `factorCount` is read by Veltra for numbers that are not prime.
struct OwnColorFacts {
  Number n = 0;
  int64_t ring = 1;
  int64_t diagonalNWSE = 0;  // d = b - a
  int64_t diagonalSWNE = 0;  // e = a + b
  bool prime = false;
  int factorCount = 0;
};
int ringColor(int64_t ring, int colorCount);
int ownColor(ColorScheme scheme, int colorCount, const OwnColorFacts& cell);
// The colour of the shown centre cell (start number `start`).
int centreColorOf(ColorScheme scheme, int colorCount, Number start, bool prime, int factorCount);

// The cells a new cluster cell looks at, in the order it looks: the four diagonal neighbours, then
// the cells two steps away along the row and column (the cells sharing a side are not looked at).
// Each is (columns right, rows down). Only cells drawn earlier in the walk can answer.
struct CellStep {
  int columns;
  int rows;
};
using CellSteps = std::array<CellStep, 4>;
inline constexpr CellSteps kClusterDiagonals = {{{1, -1}, {-1, 1}, {1, 1}, {-1, -1}}};
inline constexpr CellSteps kClusterStraights = {{{2, 0}, {-2, 0}, {0, 2}, {0, -2}}};
inline constexpr std::array<const CellSteps*, 2> kClusterLookingOrder = {&kClusterDiagonals, &kClusterStraights};

// The cluster rule once the neighbour is known: a cell joins the cluster of the first neighbour
// that has one; otherwise it starts a cluster in its ring's colour, except that 2 alternates with
// the centre's colour and twin primes share one. Fed every shown cell in walk order.
class ClusterRule {
 public:
  ClusterRule(int colorCount, bool primesOnly) : colorCount_(colorCount), primesOnly_(primesOnly) {}
  void centreShown() { lastNewClusterColor_ = kBaseColor; }
  void centreNotShown() { lastNewClusterColor_ = colorCount_ + kBaseColor - 1; }
  // The colour of shown number n in ring `ring`; `neighbour` is the first neighbour's cluster
  // colour, or -1.
  int colorOf(Number n, int64_t ring, int neighbour);
  // Every shown cell after the centre, whatever the scheme chose for it.
  void shown(Number n, bool prime, int color) {
    if (prime) {
      lastPrime_ = n;
      lastPrimeColor_ = color;
    }
  }
  bool isCycleColor(int color) const { return color >= kCycleBaseColor && color < kCycleBaseColor + colorCount_; }

 private:
  int colorCount_;
  bool primesOnly_;
  int lastNewClusterColor_ = 0;
  Number lastPrime_ = 0;
  int lastPrimeColor_ = 0;
};

// The factor counts of a pass's numbers, asked in walk order. Where the asks come close together
// they are counted a segment at a time, which far from 1 costs a small part of factorising each
// number alone; a number asked far from the one before (squares, triangular numbers) is counted alone.
class FactorCounts {
 public:
  FactorCounts(Number start, int64_t count) : start_(start), count_(static_cast<Number>(count)) {}
  // The count of n, one of the pass's numbers.
  int of(Number n) {
    const Number offset = n - start_;
    const Number sinceLastAsked = offset - lastAsked_;
    lastAsked_ = offset;
    if (offset >= first_ && offset - first_ < counts_.size()) return counts_[offset - first_];
    if (sinceLastAsked > kCloseAsks) return numlib::factorCount(n);
    countSegmentAt(offset);
    return counts_[0];
  }

 private:
  static constexpr Number kCloseAsks = 256;
  void countSegmentAt(Number offset);

  Number start_;
  Number count_;
  Number lastAsked_ = 0;
  Number first_ = 0;             // the offset from start_ of counts_[0]
  std::vector<uint8_t> counts_;
};

// Chooses the colours of one pass. Remembers what the cluster scheme needs: the colour last given
// to a new cluster, the last shown prime and its colour.
class ColorChooser {
 public:
  // For a pass of `count` numbers from settings.start.
  ColorChooser(const DrawSettings& settings, const Picture& picture, int boxSize, int64_t count);

  // The colour of the shown centre number.
  int centreColor(Number start, bool prime);
  // The centre number is not shown.
  void centreNotShown();
  // The colour of a shown number other than the centre, at the cell centred on (x, y).
  int colorOf(Number n, int x, int y, const SpiralWalk& walk, bool prime);

  // Whether a number's colour depends on the number and its cell alone (every scheme but the
  // cluster colours): such colours may be found in any order, on any thread.
  bool isLocal() const { return scheme_ != ColorScheme::Cluster; }
  // The colour of a shown number under a local scheme; `factorCount` is read by the Veltra colours
  // of numbers that are not prime.
  int localColorOf(Number n, const SpiralWalk& walk, bool prime, int factorCount) const;
  // The cluster colour of the next shown number in walk order, given the colour of the cluster it
  // joins (neighbourClusterColor()), or -1 when it joins none.
  int clusterColorOf(Number n, int64_t ring, int neighbour, bool prime);

  // The cluster an earlier cell near the cell centred on (x, y) belongs to, or -1, looking at the
  // cells of kClusterLookingOrder. Each cell is probed at its centre and, for cells larger than a
  // pixel, the eight pixels around it: for each of those nine offsets in turn, every cell of the
  // group. `pixelAt(x, y)` gives the palette index the picture holds there at this point of the
  // walk, or -1 outside it.
  template <typename PixelAt>
  int neighbourClusterColor(int x, int y, PixelAt pixelAt) const {
    const int s = boxSize_;
    const int spread = s == 1 ? 0 : 1;
    for (const CellSteps* group : kClusterLookingOrder) {
      for (int dx = spread; dx >= -spread; --dx) {
        for (int dy = spread; dy >= -spread; --dy) {
          for (const CellStep& step : *group) {
            const int color = pixelAt(x + step.columns * s + dx, y + step.rows * s + dy);
            if (cluster_.isCycleColor(color)) return color;
          }
        }
      }
    }
    return -1;
  }

 private:
  int factorCountOf(Number n, bool prime) { return scheme_ == ColorScheme::Veltra && !prime ? factorCounts_.of(n) : 1; }

  const Picture& picture_;
  ColorScheme scheme_;
  int colorCount_;  // L
  int boxSize_;
  int previousColor_ = 0;
  ClusterRule cluster_;
  FactorCounts factorCounts_;
};

}  // namespace spiral
