#pragma once
// The cluster colours of a view: the one colour rule that needs the whole walk from the centre, as
// a cell joins the cluster of a neighbour drawn before it. They are walked once per start, class
// and random seed, up to a reach, and read by any number of tiles afterwards.
//
// What a cell's colour depends on: which cells before it in the walk are shown, their colours, its
// ring, and for 2 and twin primes its number. The draw pass finds a neighbour by reading the
// picture's pixels; where its cells are large enough for numerals the digits may cover some of
// the pixels it reads, so that there a later neighbour in the looking order can answer first.
// The walk here looks at the cells themselves, in that order.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "Tiles.h"

namespace spiral {

// The reach: the first 2^28 numbers of the walk, the cells of a 16384 x 16384 poster of 1-pixel cells.
inline constexpr Number kClusterReach = Number{1} << 28;

// Whether two views walk the same cluster colours: the same start, class, own rule and, for the
// random class, seed.
bool walksAlike(const ViewSettings& a, const ViewSettings& b);

// Whether every cell a plane rectangle shows lies within the reach.
bool withinClusterReach(const ViewSettings& view, const PlaneRect& rect);

class ClusterColours {
 public:
  // Walks the first `positions` cells (at most kClusterReach) of the view's spiral. Calls
  // `progress` with the fraction done now and then; returns null when `cancel` was set.
  static std::shared_ptr<const ClusterColours> compute(const ViewSettings& view, Number positions = kClusterReach,
                                                       const std::atomic<bool>* cancel = nullptr,
                                                       const std::function<void(double)>& progress = {});

  // Whether these colours were walked for the view's start, class, own rule and seed.
  bool matches(const ViewSettings& view) const;
  // Whether the walk reached this position.
  bool covers(Number position) const { return position < positions_; }
  // The cluster colour of the shown cell at a covered position.
  int colourAt(Number position) const;
  // The memory the colours take, in bytes.
  size_t bytes() const;

 private:
  ClusterColours() = default;
  bool isShown(Number position) const {
    return allShown_ || ((shownBits_[position >> 6] >> (position & 63)) & 1) != 0;
  }
  Number rankOf(Number position) const;
  void setColour(Number rank, int colour);

  void markShown(const ViewSettings& view, Number first, Number count);

  ViewSettings view_;  // the spiral walked
  Number positions_ = 0;
  bool allShown_ = false;               // every cell is shown: no bits, the rank is the position
  std::vector<uint64_t> shownBits_;     // bit p: the cell at walk position p is shown
  std::vector<uint32_t> rankDirectory_; // shown cells before each block of kRankBlock positions
  std::vector<uint64_t> colours_;       // 3 bits per shown cell, 21 to a word: colour - kCycleBaseColor
};

}  // namespace spiral
