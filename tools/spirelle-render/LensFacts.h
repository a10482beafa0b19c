#pragma once
// What the line lens finds in a drawn picture when the options ask: the cell of one number and the
// rays through it (--inspect), and the rays with the most primes (--lines).

#include <cstdint>
#include <optional>
#include <vector>

#include "DrawPass.h"
#include "LineLens.h"
#include "numlib.hpp"

namespace render {

struct InspectedNumber {
  spiral::Number number = 0;
  int64_t ring = 0;  // 1 for the centre cell
  bool prime = false;
  std::vector<numlib::PrimePower> factors;  // ascending; none for 0 and 1
  std::vector<spiral::RayFacts> rays;       // the rays through its cell, by direction
};

struct LensFacts {
  std::optional<InspectedNumber> inspected;
  std::optional<std::vector<spiral::RayFacts>> lines;  // the most primes first
};

// The cell the walk reaches at `index`.
spiral::Cell cellAtIndex(int64_t index);

// The facts of a drawn (not refused) pass. `inspect` must be one of its numbers; `lines` 0 asks
// for no list.
LensFacts lensFactsOf(const spiral::DrawOutcome& pass, std::optional<spiral::Number> inspect, int lines);

}  // namespace render
