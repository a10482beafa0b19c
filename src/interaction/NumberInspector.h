#pragma once
// The number inspector: what a shown cell holds, told in a tooltip without a modal box.

#include <cstdint>

#include <QString>

namespace interaction {

// `number` with digit grouping, then "prime" or its prime factors (1,001 = 7 × 11 × 13, a repeated
// factor as a power, 3^2), and on a second line its ring. 1 has neither.
QString describeNumber(int64_t number, int64_t ring);

}  // namespace interaction
