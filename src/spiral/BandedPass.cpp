#include "BandedPass.h"

#include <algorithm>
#include <bit>
#include <vector>

#include "Palette.h"
#include "Workers.h"
#include "numlib.hpp"

namespace spiral {

namespace {

// Below this many numbers a picture is walked on one thread: the workers would cost more than
// they save.
constexpr int64_t kBandsFrom = int64_t{1} << 20;
// Walk indices of one band, and of one worker's share of it: multiples of 64, so that no two
// workers write to one word of a bitset.
constexpr int64_t kBandSize = int64_t{1} << 20;
constexpr int64_t kShareSize = int64_t{1} << 14;

bool testBit(const std::vector<uint64_t>& bits, int64_t i) { return (bits[static_cast<size_t>(i >> 6)] >> (i & 63)) & 1; }
void setBit(std::vector<uint64_t>& bits, int64_t i) { bits[static_cast<size_t>(i >> 6)] |= uint64_t{1} << (i & 63); }

// Calls visit(i) for each set bit i of `bits` from `from` to `to` - 1, in order.
template <typename Visit>
void forEachSetBit(const std::vector<uint64_t>& bits, int64_t from, int64_t to, Visit visit) {
  for (int64_t w = from >> 6; w <= (to - 1) >> 6; ++w) {
    for (uint64_t word = bits[static_cast<size_t>(w)]; word != 0; word &= word - 1) {
      const int64_t i = w * 64 + std::countr_zero(word);
      if (i >= from && i < to) visit(i);
    }
  }
}

// One band of walk indices, first to end - 1, and what its steps find; indices into the vectors
// count from `first`.
class Band {
 public:
  Band(const PassParts& pass, int64_t first, int64_t end)
      : pass_(pass), g_(pass.geometry), first_(first), end_(end), count_(g_.numberOfNumbers),
        shown_(static_cast<size_t>((end - first + 63) / 64)), hasNeighbour_(shown_.size()),
        colors_(static_cast<size_t>(end - first), static_cast<uint8_t>(kBlack)) {}

  // Which numbers are shown, with the local colours or, for the cluster colours, whether an earlier
  // shown cell lies where the probes look. Returns what the band adds to the tally.
  Tally findShown(uint64_t* shownBits) {
    if (countsFactorsOfBand()) {
      factorCounts_.resize(colors_.size());
      numlib::factorCounts(numberAt(first_), factorCounts_.size(), factorCounts_.data(), pass_.settings.threads);
    }
    const int threads = pass_.classTest.testsInAnyOrder() ? pass_.settings.threads : 1;
    std::vector<Tally> tallies(static_cast<size_t>((end_ - first_ + kShareSize - 1) / kShareSize));
    numlib::forEachPiece(end_ - first_, kShareSize, threads, [&](int64_t from, int64_t length) {
      Tally& tally = tallies[static_cast<size_t>(from / kShareSize)];
      tally.shownBits = shownBits;
      findShownIn(first_ + from, first_ + from + length, tally);
    });
    Tally band;
    for (const Tally& share : tallies) band.addLater(share);
    return band;
  }

  // The cluster colours of the band's shown numbers, in walk order.
  void giveClusterColors() {
    SpiralWalk walk;
    forEachSetBit(shown_, 0, end_ - first_, [&](int64_t offset) {
      const int64_t i = first_ + offset;
      walk.moveTo(i);
      const auto [x, y] = g_.centreOf(walk.row(), walk.column());
      const auto pixelAt = [&](int px, int py) { return pixelBefore(i, px, py); };
      const int neighbour = testBit(hasNeighbour_, offset) ? pass_.colors.neighbourClusterColor(x, y, pixelAt) : -1;
      colors_[static_cast<size_t>(offset)] = static_cast<uint8_t>(
          pass_.colors.clusterColorOf(numberAt(i), walk.ring(), neighbour, pass_.classTest.isPrimeAt(i)));
    });
  }

  // The band's cells, each drawn by one worker.
  void drawCells() {
    const bool gridMarks = pass_.cells.drawsUnshownCells();
    numlib::forEachPiece(end_ - first_, kShareSize, pass_.settings.threads, [&](int64_t from, int64_t length) {
      SpiralWalk walk;
      const auto draw = [&](int64_t offset) {
        const int64_t i = first_ + offset;
        walk.moveTo(i);
        const auto [x, y] = g_.centreOf(walk.row(), walk.column());
        if (testBit(shown_, offset)) {
          pass_.cells.drawCell(x, y, colors_[static_cast<size_t>(offset)], numberAt(i));
        } else {
          pass_.cells.drawGridMark(x, y, i, walk);
        }
      };
      if (gridMarks) {
        for (int64_t offset = from; offset < from + length; ++offset) draw(offset);
      } else {
        forEachSetBit(shown_, from, from + length, draw);
      }
    });
  }

 private:
  Number numberAt(int64_t i) const { return pass_.settings.start + static_cast<Number>(i); }

  // The Veltra colours of a class that shows most numbers count the factors of the whole band at once.
  bool countsFactorsOfBand() const {
    const NumberClass shownClass = pass_.settings.numberClass;
    return pass_.settings.colorScheme == ColorScheme::Veltra &&
           (shownClass == NumberClass::All || shownClass == NumberClass::Random);
  }

  int factorCountOf(int64_t i, bool prime) const {
    if (pass_.settings.colorScheme != ColorScheme::Veltra || prime) return 1;
    if (!factorCounts_.empty()) return factorCounts_[static_cast<size_t>(i - first_)];
    return numlib::factorCount(numberAt(i));
  }

  bool isShown(int64_t i, bool& prime) const {
    return pass_.classTest.testsInAnyOrder() ? pass_.classTest.isShownAt(i, prime) : pass_.classTest.isShown(i, prime);
  }

  void findShownIn(int64_t from, int64_t to, Tally& tally) {
    const bool primesOnly = pass_.settings.numberClass == NumberClass::Primes;
    const auto next = [&](int64_t i) { return primesOnly ? pass_.classTest.nextPrimeIndex(i, to) : i; };
    SpiralWalk walk;
    for (int64_t i = next(std::max<int64_t>(from, 1)); i < to; i = next(i + 1)) {
      bool prime = false;
      if (!isShown(i, prime)) continue;
      const int64_t offset = i - first_;
      setBit(shown_, offset);
      tally.countShown(i);
      if (prime) tally.countPrime(numberAt(i));
      walk.moveTo(i);
      if (pass_.colors.isLocal()) {
        colors_[static_cast<size_t>(offset)] =
            static_cast<uint8_t>(pass_.colors.localColorOf(numberAt(i), walk, prime, factorCountOf(i, prime)));
      } else if (hasShownNeighbourBefore(i, walk)) {
        setBit(hasNeighbour_, offset);
      }
    }
  }

  // The walk index of the 1-pixel cell at (x, y), or -1 outside the picture and the spiral.
  int64_t indexAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= pass_.picture.width() || y >= pass_.picture.height()) return -1;
    const int64_t index = spiralIndex(y - g_.centerY, x - g_.centerX);
    return index < count_ ? index : -1;
  }

  // Whether a cell the cluster probes look at holds a number shown before index i. Any order: the
  // class test answers for every index.
  bool hasShownNeighbourBefore(int64_t i, const SpiralWalk& walk) const {
    if (!pass_.classTest.testsInAnyOrder()) return true;  // the probes will tell
    const auto [x, y] = g_.centreOf(walk.row(), walk.column());
    // Any cluster colour stands for "shown", so that the probes stop at the first such cell.
    const auto shownBefore = [&](int px, int py) {
      const int64_t j = indexAt(px, py);
      bool prime = false;
      return j >= 0 && j < i && pass_.classTest.isShownAt(j, prime) ? kCycleBaseColor : -1;
    };
    return pass_.colors.neighbourClusterColor(x, y, shownBefore) >= 0;
  }

  // The pixel at (x, y) as the walk on one thread would find it just before drawing index i: the
  // colour of an earlier cell of this band, black for a later one, the picture's for earlier bands
  // and the centre.
  int pixelBefore(int64_t i, int x, int y) const {
    const int64_t j = indexAt(x, y);
    if (j < 0) return pass_.picture.pixel(x, y);
    if (j >= i) return kBlack;
    if (j >= first_ && j > 0) return colors_[static_cast<size_t>(j - first_)];
    return pass_.picture.pixel(x, y);  // the caller drew the centre
  }

  const PassParts& pass_;
  const Geometry& g_;
  int64_t first_;
  int64_t end_;
  int64_t count_;
  std::vector<uint64_t> shown_;
  std::vector<uint64_t> hasNeighbour_;
  std::vector<uint8_t> colors_;
  std::vector<uint8_t> factorCounts_;
};

}  // namespace

bool drawsInBands(const DrawSettings& settings, const Geometry& geometry) {
  return settings.threads > 1 && geometry.numberOfNumbers >= kBandsFrom && !settings.writesNumerals() &&
         (settings.colorScheme != ColorScheme::Cluster || geometry.boxSize == 1);
}

int64_t drawInBands(const PassParts& pass, Tally& tally, const std::function<bool(int64_t)>& yieldThrough) {
  const int64_t count = pass.geometry.numberOfNumbers;
  for (int64_t first = 0; first < count; first += kBandSize) {
    const int64_t end = std::min(first + kBandSize, count);
    Band band(pass, first, end);
    tally.addLater(band.findShown(tally.shownBits));
    if (!pass.colors.isLocal()) band.giveClusterColors();
    band.drawCells();
    if (yieldThrough(end - 1)) return end;
  }
  return count;
}

}  // namespace spiral
