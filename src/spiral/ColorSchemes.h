#pragma once
// The colour of each shown number under the chosen scheme.

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

  // The cluster an earlier cell near the cell centred on (x, y) belongs to, or -1. Looks first at
  // the four diagonal neighbours, then at the cells two steps away along the row and column; the
  // cells sharing a side are not looked at. Each cell is probed at its centre and, for cells larger
  // than a pixel, the eight pixels around it. `pixelAt(x, y)` gives the palette index the picture
  // holds there at this point of the walk, or -1 outside it.
  template <typename PixelAt>
  int neighbourClusterColor(int x, int y, PixelAt pixelAt) const {
    const int s = boxSize_;
    const int spread = s == 1 ? 0 : 1;
    const auto probe = [&](int px, int py) {
      const int color = pixelAt(px, py);
      return isCycleColor(color) ? color : -1;
    };
    for (int dx = spread; dx >= -spread; --dx) {
      for (int dy = spread; dy >= -spread; --dy) {
        for (int c : {probe(x + s + dx, y - s + dy), probe(x - s + dx, y + s + dy),
                      probe(x + s + dx, y + s + dy), probe(x - s + dx, y - s + dy)}) {
          if (c >= 0) return c;
        }
      }
    }
    for (int dx = spread; dx >= -spread; --dx) {
      for (int dy = spread; dy >= -spread; --dy) {
        for (int c : {probe(x + 2 * s + dx, y + dy), probe(x - 2 * s + dx, y + dy),
                      probe(x + dx, y + 2 * s + dy), probe(x + dx, y - 2 * s + dy)}) {
          if (c >= 0) return c;
        }
      }
    }
    return -1;
  }

  // Whether a colour is one of the cycle's: a cluster colour.
  bool isCycleColor(int color) const {
    return color >= kCycleBaseColor && color < kCycleBaseColor + colorCount_;
  }

 private:
  int ringColor(int64_t ring) const;
  int sequenceColor(Number n) const;
  int veltraColorOf(Number n, bool prime) { return veltraColor(n, prime, prime ? 1 : factorCounts_.of(n)); }

  const Picture& picture_;
  ColorScheme scheme_;
  bool primesOnly_;
  int colorCount_;  // L
  int boxSize_;
  int previousColor_ = 0;
  int lastNewClusterColor_ = 0;
  Number lastPrime_ = 0;
  FactorCounts factorCounts_;
  int lastPrimeColor_ = 0;
};

}  // namespace spiral
