#pragma once
// L_D(1) = sum over n >= 1 of (D/n)/n for a discriminant D (not a square) of moderate size, by the
// series that the functional equation gives: its terms fall like exp(-pi n^2 / |F|), F the
// fundamental discriminant of D = F m^2, so about 2.5 sqrt|F| terms give it to 1e-10. Exact to
// that for |D| <= kLargestSeriesDiscriminant; its cost grows like sqrt|D| (about 10 ms at 2^32).

#include <cstdint>

namespace numlib::detail {

inline constexpr int64_t kLargestSeriesDiscriminant = int64_t{1} << 32;

// L_D(1) for 0 < |D| <= kLargestSeriesDiscriminant, D = 0 or 1 mod 4 and not a square.
double seriesLOfDiscriminant(int64_t delta);

}  // namespace numlib::detail
