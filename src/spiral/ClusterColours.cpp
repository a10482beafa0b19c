#include "ClusterColours.h"

#include <algorithm>
#include <bit>

#include "ColorSchemes.h"
#include "Geometry.h"
#include "numlib.hpp"

namespace spiral {

namespace {

constexpr Number kRankBlock = 512;          // positions per entry of the rank directory
constexpr Number kColoursPerWord = 21;      // 3 bits each
constexpr Number kChunk = Number{1} << 20;  // positions between looks at the cancel flag

void setBit(std::vector<uint64_t>& bits, Number i) { bits[i >> 6] |= uint64_t{1} << (i & 63); }

}  // namespace

bool withinClusterReach(const ViewSettings& view, const PlaneRect& rect) {
  const std::optional<Number> largest = largestPositionIn(cellsOf(view, rect));
  return largest && *largest < kClusterReach;
}

std::shared_ptr<const ClusterColours> ClusterColours::compute(const ViewSettings& view, Number positions,
                                                              const std::atomic<bool>* cancel,
                                                              const std::function<void(double)>& progress) {
  const auto stopped = [cancel] { return cancel != nullptr && cancel->load(std::memory_order_relaxed); };
  const auto report = [&progress](double done) {
    if (progress) progress(done);
  };
  std::shared_ptr<ClusterColours> colours(new ClusterColours);
  ClusterColours& c = *colours;
  c.view_ = view;
  c.positions_ = std::min({positions, kClusterReach, ~Number{0} - view.start + 1});
  const Number count = c.positions_;
  c.allShown_ = view.numberClass == NumberClass::All;

  // Which cells are shown: half of the work's report.
  if (!c.allShown_) {
    c.shownBits_.assign(static_cast<size_t>((count + 63) / 64), 0);
    for (Number first = 0; first < count; first += kChunk) {
      if (stopped()) return nullptr;
      report(0.5 * static_cast<double>(first) / static_cast<double>(count));
      const Number n = std::min(kChunk, count - first);
      if (view.ownRule) {
        c.markShown(view, first, n);
        continue;
      }
      switch (view.numberClass) {
        case NumberClass::Primes:
          numlib::primeBits(view.start + first, n, c.shownBits_.data() + first / 64);
          break;
        case NumberClass::Random:
          for (Number p = first; p < first + n; ++p) {
            if (isRandomlyShownAt(view.randomSeed, p, view.start + p)) setBit(c.shownBits_, p);
          }
          break;
        default:
          c.markShown(view, first, n);
          break;
      }
    }
    c.rankDirectory_.resize(static_cast<size_t>((count + kRankBlock - 1) / kRankBlock));
    uint32_t before = 0;
    for (size_t word = 0; word < c.shownBits_.size(); ++word) {
      if (word % (kRankBlock / 64) == 0) c.rankDirectory_[word / (kRankBlock / 64)] = before;
      before += static_cast<uint32_t>(std::popcount(c.shownBits_[word]));
    }
    c.colours_.assign(static_cast<size_t>(before / kColoursPerWord + 1), 0);
  } else {
    c.colours_.assign(static_cast<size_t>(count / kColoursPerWord + 1), 0);
  }

  // The walk: every shown cell in turn, as the draw pass meets them.
  ClusterRule rule(schemeOf(ColorScheme::Cluster).colorCount, view.numberClass == NumberClass::Primes);
  if (count > 0) {
    if (c.isShown(0)) {
      rule.centreShown();
      c.setColour(0, kBaseColor);
    } else {
      rule.centreNotShown();
    }
  }
  SpiralWalk walk;
  for (Number p = 1; p < count; ++p) {
    if (p % kChunk == 0) {
      if (stopped()) return nullptr;
      report(0.5 + 0.5 * static_cast<double>(p) / static_cast<double>(count));
    }
    if (!c.isShown(p)) continue;
    walk.moveTo(static_cast<int64_t>(p));
    int neighbour = -1;
    for (const CellSteps* group : kClusterLookingOrder) {
      for (const CellStep& step : *group) {
        const auto q = static_cast<Number>(spiralIndex(walk.row() + step.rows, walk.column() + step.columns));
        if (q >= p || !c.isShown(q)) continue;
        const int colour = c.colourAt(q);
        if (rule.isCycleColor(colour)) {
          neighbour = colour;
          break;
        }
      }
      if (neighbour >= 0) break;
    }
    const Number n = view.start + p;
    const int colour = rule.colorOf(n, walk.ring(), neighbour);
    rule.shown(n, view.numberClass == NumberClass::Primes, colour);
    c.setColour(c.rankOf(p), colour);
  }
  report(1.0);
  return colours;
}

bool walksAlike(const ViewSettings& a, const ViewSettings& b) {
  return a.start == b.start && a.numberClass == b.numberClass && a.ownRule == b.ownRule &&
         (a.numberClass != NumberClass::Random || a.randomSeed == b.randomSeed);
}

bool ClusterColours::matches(const ViewSettings& view) const { return walksAlike(view_, view); }

// The shown cells among `count` positions from `first`, for the classes tested one number at a
// time and for an own rule, which may ask whether n is prime.
void ClusterColours::markShown(const ViewSettings& view, Number first, Number count) {
  std::vector<uint64_t> primes;
  if (view.ownRule) {
    primes.assign(static_cast<size_t>((count + 63) / 64), 0);
    numlib::primeBits(view.start + first, count, primes.data());
  }
  for (Number p = first; p < first + count; ++p) {
    const Number j = p - first;
    const bool prime = !primes.empty() && ((primes[j >> 6] >> (j & 63)) & 1) != 0;
    if (viewShows(view, p, view.start + p, prime)) setBit(shownBits_, p);
  }
}

Number ClusterColours::rankOf(Number position) const {
  if (allShown_) return position;
  const Number block = position / kRankBlock;
  Number rank = rankDirectory_[block];
  for (Number word = block * (kRankBlock / 64); word < position / 64; ++word) rank += std::popcount(shownBits_[word]);
  return rank + std::popcount(shownBits_[position / 64] & ((uint64_t{1} << (position & 63)) - 1));
}

void ClusterColours::setColour(Number rank, int colour) {
  const Number shift = rank % kColoursPerWord * 3;
  uint64_t& word = colours_[rank / kColoursPerWord];
  word = (word & ~(uint64_t{7} << shift)) | (static_cast<uint64_t>(colour - kCycleBaseColor) << shift);
}

int ClusterColours::colourAt(Number position) const {
  const Number rank = rankOf(position);
  return kCycleBaseColor + static_cast<int>((colours_[rank / kColoursPerWord] >> (rank % kColoursPerWord * 3)) & 7);
}

size_t ClusterColours::bytes() const {
  return sizeof(*this) + shownBits_.size() * sizeof(uint64_t) + rankDirectory_.size() * sizeof(uint32_t) +
         colours_.size() * sizeof(uint64_t);
}

}  // namespace spiral
