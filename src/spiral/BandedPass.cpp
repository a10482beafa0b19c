#include "BandedPass.h"

#include <algorithm>
#include <bit>
#include <vector>

#include <oneapi/tbb/parallel_for.h>
#include <oneapi/tbb/parallel_invoke.h>
#include <oneapi/tbb/task_arena.h>

#include "Palette.h"
#include "Workers.h"
#include "ZeroedMemory.h"
#include "numlib.hpp"

namespace spiral {

namespace {

// Below this many pixels of cells a picture is walked on one thread: the workers would cost more
// than they save. Every picture of the window's size stays below it.
constexpr int64_t kBandsFromPixels = int64_t{1} << 20;
// Walk indices of one band, and of one worker's share of it: multiples of 64, so that no two
// workers write to one word of a bitset.
// A band is longer than eight times the largest ring, so that the cells the cluster probes look
// at lie in the band itself, the band before it, or bands already drawn.
constexpr int64_t kBandSize = int64_t{1} << 19;
constexpr int64_t kShareSize = int64_t{1} << 16;
// A distance to the first shown cell the cluster probes find: none, or not known before the walk.
constexpr uint32_t kNoneShown = 0;
constexpr uint32_t kProbeAll = UINT32_MAX;

// A band's arrays are zeroed memory, its two largest (2 MiB each) in huge pages: three bands'
// storage is made before any worker starts, and in small pages its first touch cost more than a
// step of the pipeline.
using Bits = numlib::ZeroedVector<uint64_t>;

bool testBit(const Bits& bits, int64_t i) { return (bits[static_cast<size_t>(i >> 6)] >> (i & 63)) & 1; }
void setBit(Bits& bits, int64_t i) { bits[static_cast<size_t>(i >> 6)] |= uint64_t{1} << (i & 63); }

// Calls visit(i) for each set bit i of `bits` from `from` to `to` - 1, in order.
template <typename Visit>
void forEachSetBit(const Bits& bits, int64_t from, int64_t to, Visit visit) {
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
  // A band's storage, used again for band after band.
  explicit Band(const PassParts& pass)
      : pass_(pass), g_(pass.geometry), colorsFound_(pass.colors), count_(g_.numberOfNumbers), shown_(kBandSize / 64),
        colors_(kBandSize),
        tallies_(kBandSize / kShareSize) {
    if (pass.colors.isLocal()) return;
    nearestShown_.resize(kBandSize);
    rings_.resize(kBandSize);
  }

  // Takes up the walk indices first to end - 1. `previous`, the band before, is kept until this one
  // has its colours.
  void takeUp(int64_t first, int64_t end, const Band* previous) {
    first_ = first;
    end_ = end;
    previous_ = previous;
  }

  int64_t end() const { return end_; }
  int64_t shares() const { return (end_ - first_ + kShareSize - 1) / kShareSize; }

  // Which numbers of one share are shown, with their local colours or, for the cluster colours,
  // whether an earlier shown cell lies where the probes look.
  void findShown(int64_t share, uint64_t* shownBits) {
    const int64_t from = first_ + share * kShareSize;
    const int64_t to = std::min(from + kShareSize, end_);
    std::fill(colors_.begin() + (from - first_), colors_.begin() + (to - first_), static_cast<uint8_t>(kBlack));
    std::fill(shown_.begin() + (from - first_) / 64, shown_.begin() + (to - first_ + 63) / 64, 0);
    // Counted on the stack: neighbouring shares' tallies share cache lines, and two workers counting
    // into them at once would take the lines from each other at every shown number.
    Tally tally{.shownBits = shownBits};
    std::vector<uint8_t> factorCounts;
    if (countsFactorsOfShare()) {
      factorCounts.resize(static_cast<size_t>(to - from));
      numlib::factorCounts(numberAt(from), factorCounts.size(), factorCounts.data());
    }
    findShownIn(from, to, factorCounts, tally);
    tallies_[static_cast<size_t>(share)] = tally;
  }

  // What the band adds to the tally, once every share is found.
  Tally tally() const {
    Tally band;
    for (int64_t share = 0; share < shares(); ++share) band.addLater(tallies_[static_cast<size_t>(share)]);
    return band;
  }

  // The cluster colours of the band's shown numbers, in walk order. A cell takes the cluster of the
  // first shown cell its probes found, or none; every shown cell before it, the centre included,
  // holds a cluster colour by now. Only the random class, which is not found in any order, probes here.
  void giveClusterColors() {
    forEachSetBit(shown_, 0, end_ - first_, [&](int64_t offset) {
      const int64_t i = first_ + offset;
      const uint32_t distance = nearestShown_[static_cast<size_t>(offset)];
      int neighbour = -1;
      if (distance == kProbeAll) {
        neighbour = probeAround(i);
      } else if (distance != kNoneShown) {
        neighbour = colorBefore(i, i - distance);
      }
      colors_[static_cast<size_t>(offset)] = static_cast<uint8_t>(
          pass_.colors.clusterColorOf(numberAt(i), rings_[static_cast<size_t>(offset)], neighbour, pass_.classTest.isPrimeAt(i)));
    });
  }

  // The cells of one share of the band.
  void drawCells(int64_t share) const {
    const int64_t from = share * kShareSize;
    const int64_t to = std::min(from + kShareSize, end_ - first_);
    SpiralWalk walk;
    const auto draw = [&](int64_t offset) {
      const int64_t i = first_ + offset;
      if (i == 0) return;  // the caller drew the centre
      walk.moveTo(i);
      const auto [x, y] = g_.centreOf(walk.row(), walk.column());
      if (testBit(shown_, offset)) {
        pass_.cells.drawCell(x, y, colors_[static_cast<size_t>(offset)], numberAt(i));
      } else {
        pass_.cells.drawGridMark(x, y, i, walk);
      }
    };
    if (pass_.cells.drawsUnshownCells()) {
      for (int64_t offset = from; offset < to; ++offset) draw(offset);
    } else {
      forEachSetBit(shown_, from, to, draw);
    }
  }

 private:
  Number numberAt(int64_t i) const { return pass_.settings.start + static_cast<Number>(i); }

  // The Veltra colours of a class that shows most numbers count the factors of a whole share at once.
  bool countsFactorsOfShare() const {
    const NumberClass shownClass = pass_.settings.numberClass;
    return pass_.settings.colorScheme == ColorScheme::Veltra &&
           (shownClass == NumberClass::All || shownClass == NumberClass::Random);
  }

  // `counts` holds the factor counts of the share from `from` on, or nothing.
  int factorCountOf(int64_t i, bool prime, const std::vector<uint8_t>& counts, int64_t from) const {
    if (pass_.settings.colorScheme != ColorScheme::Veltra || prime) return 1;
    if (!counts.empty()) return counts[static_cast<size_t>(i - from)];
    return numlib::factorCount(numberAt(i));
  }

  bool isShown(int64_t i, bool& prime) const {
    return pass_.classTest.testsInAnyOrder() ? pass_.classTest.isShownAt(i, prime) : pass_.classTest.isShown(i, prime);
  }

  void findShownIn(int64_t from, int64_t to, const std::vector<uint8_t>& factorCounts, Tally& tally) {
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
      if (colorsFound_.isLocal()) {
        colors_[static_cast<size_t>(offset)] =
            static_cast<uint8_t>(colorsFound_.localColorOf(numberAt(i), walk, prime, factorCountOf(i, prime, factorCounts, from)));
      } else {
        nearestShown_[static_cast<size_t>(offset)] = distanceToFirstProbedShown(i, walk);
        rings_[static_cast<size_t>(offset)] = static_cast<uint32_t>(walk.ring());
      }
    }
  }

  // The walk index of the 1-pixel cell at (x, y), or -1 outside the picture and the spiral.
  int64_t indexAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= pass_.picture.width() || y >= pass_.picture.height()) return -1;
    const int64_t index = spiralIndex(y - g_.centerY, x - g_.centerX);
    return index < count_ ? index : -1;
  }

  // How far back in the walk lies the first cell the cluster probes find shown before index i, or
  // kNoneShown. The probes go through every class but the random one in any order.
  uint32_t distanceToFirstProbedShown(int64_t i, const SpiralWalk& walk) const {
    if (!pass_.classTest.testsInAnyOrder()) return kProbeAll;
    const auto [x, y] = g_.centreOf(walk.row(), walk.column());
    int64_t found = i;
    // Any cluster colour stands for "shown", so that the probes stop at the first such cell.
    const auto shownBefore = [&](int px, int py) {
      const int64_t j = indexAt(px, py);
      bool prime = false;
      if (j < 0 || j >= i || !pass_.classTest.isShownAt(j, prime)) return -1;
      if (found == i) found = j;  // the probes of a group are all made before the first is taken
      return kCycleBaseColor;
    };
    colorsFound_.neighbourClusterColor(x, y, shownBefore);
    return static_cast<uint32_t>(i - found);
  }

  // The cluster the probes around index i find, as the walk on one thread finds it.
  int probeAround(int64_t i) const {
    SpiralWalk walk;
    walk.moveTo(i);
    const auto [x, y] = g_.centreOf(walk.row(), walk.column());
    return pass_.colors.neighbourClusterColor(x, y, [&](int px, int py) {
      const int64_t j = indexAt(px, py);
      return j < 0 ? pass_.picture.pixel(px, py) : colorBefore(i, j);
    });
  }

  // The colour of the cell at walk index j as the walk on one thread finds it just before drawing
  // index i: from this band or the one before, black for a later cell, and the picture's for the
  // centre and the bands drawn already.
  int colorBefore(int64_t i, int64_t j) const {
    if (j >= i) return kBlack;
    if (j == 0) return pass_.picture.pixel(g_.centerX, g_.centerY);  // the caller drew the centre
    if (j >= first_) return colors_[static_cast<size_t>(j - first_)];
    if (previous_ != nullptr && j >= previous_->first_) return previous_->colors_[static_cast<size_t>(j - previous_->first_)];
    SpiralWalk walk;
    walk.moveTo(j);
    const auto [x, y] = g_.centreOf(walk.row(), walk.column());
    return pass_.picture.pixel(x, y);
  }

  const PassParts& pass_;
  const Geometry& g_;
  // The colour chooser as the workers finding shown cells read it: a copy of the pass's, so
  // that no cache line they read at every cell is one the thread giving the cluster colours writes.
  const ColorChooser colorsFound_;
  int64_t count_;
  int64_t first_ = 0;
  int64_t end_ = 0;
  const Band* previous_ = nullptr;
  Bits shown_;
  numlib::ZeroedVector<uint8_t> colors_;
  // For the cluster colours, at each shown cell: how far back the first shown cell the probes find
  // lies, and the cell's ring.
  numlib::ZeroedVector<uint32_t> nearestShown_;
  numlib::ZeroedVector<uint32_t> rings_;
  std::vector<Tally> tallies_;
};

// One step of the pipeline, all three parts at once: one worker gives the cluster colours of one
// band in walk order while the others find the shown numbers of the next band and draw the cells
// of the band before; then each joins what is left. Any part may be missing.
void runStep(oneapi::tbb::task_arena& workers, const PassParts& pass, Band* finding, Band* coloring, const Band* drawing,
             uint64_t* shownBits) {
  const bool findsInAnyOrder = pass.classTest.testsInAnyOrder();
  const int64_t findShares = finding != nullptr && findsInAnyOrder ? finding->shares() : 0;
  const int64_t drawShares = drawing != nullptr ? drawing->shares() : 0;
  const auto inWalkOrder = [&] {
    if (finding != nullptr && !findsInAnyOrder) {
      for (int64_t share = 0; share < finding->shares(); ++share) finding->findShown(share, shownBits);
    }
    if (coloring != nullptr && !pass.colors.isLocal()) coloring->giveClusterColors();
  };
  const auto inAnyOrder = [&] {
    oneapi::tbb::parallel_for(int64_t{0}, findShares + drawShares, [&](int64_t k) {
      if (k < findShares) {
        finding->findShown(k, shownBits);
      } else {
        drawing->drawCells(k - findShares);
      }
    });
  };
  workers.execute([&] { oneapi::tbb::parallel_invoke(inWalkOrder, inAnyOrder); });
}

// A stopped pass records only the cells it drew: bands are whole words of the bitset.
void forgetShownFrom(int64_t first, int64_t count, uint64_t* shownBits) {
  if (shownBits != nullptr) std::fill(shownBits + first / 64, shownBits + (count + 63) / 64, 0);
}

}  // namespace

bool drawsInBands(const DrawSettings& settings, const Geometry& geometry) {
  const int64_t cellPixels = int64_t{geometry.boxSize} * geometry.boxSize;
  return settings.threads > 1 && !settings.ownRule && geometry.numberOfNumbers * cellPixels >= kBandsFromPixels && !settings.writesNumerals() &&
         (settings.colorScheme != ColorScheme::Cluster || geometry.boxSize == 1);
}

// Step k finds band k, colours band k - 1 and draws band k - 2.
int64_t drawInBands(const PassParts& pass, Tally& tally, const std::function<bool(int64_t)>& yieldThrough) {
  const int64_t count = pass.geometry.numberOfNumbers;
  const int64_t bands = (count + kBandSize - 1) / kBandSize;
  // Band b lives in slot b % 3 from the step that finds it to the step that draws it.
  std::vector<Band> slots;
  slots.reserve(3);
  for (int slot = 0; slot < 3; ++slot) slots.emplace_back(pass);
  oneapi::tbb::task_arena workers(pass.settings.threads);
  const auto band = [&](int64_t b, int64_t step) {
    return b >= 0 && b < bands && b >= step - 2 && b <= step ? &slots[static_cast<size_t>(b % 3)] : nullptr;
  };
  for (int64_t k = 0; k < bands + 2; ++k) {
    if (k < bands) band(k, k)->takeUp(k * kBandSize, std::min((k + 1) * kBandSize, count), band(k - 1, k));
    const Band* drawing = band(k - 2, k);
    runStep(workers, pass, band(k, k), band(k - 1, k), drawing, tally.shownBits);
    if (drawing == nullptr) continue;
    tally.addLater(drawing->tally());
    if (yieldThrough(drawing->end() - 1)) {
      forgetShownFrom(drawing->end(), count, tally.shownBits);
      return drawing->end();
    }
  }
  return count;
}

}  // namespace spiral
