#pragma once
// The number inspector: what a shown cell holds, told in a tooltip without a modal box.

#include <cstdint>

#include <QString>

#include "LineLens.h"

namespace interaction {

// `number` with digit grouping, then "prime" or its prime factors (1,001 = 7 × 11 × 13, a repeated
// factor as a power, 3^2), and on a second line its ring. 1 has neither.
QString describeNumber(spiral::Number number, int64_t ring);

// One line of a ray through the cell: its direction, the quadratic of its numbers, how many of
// them are prime, and how many primes its Hardy-Littlewood constant A leads one to expect:
// "NE 4k² − 2k + 41: 18 primes in 18 cells, expected 12.3 (A = 6.64)". Numbers in the desktop
// locale's form.
QString describeRay(const spiral::RayFacts& facts);
// The same line for a ray of the explorer's view, counted over its cells in view.
QString describeRay(const spiral::PlaneRayFacts& facts);

}  // namespace interaction
