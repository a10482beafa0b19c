#pragma once
// The values of a t^2 + b t + c (a >= 1, t >= 0) from low to high, ascending and each once, by a
// plain walk over t: from 0, or from a little below the root of low / a where low is far out, until
// f has passed its vertex and high.

#include <cmath>
#include <cstdint>
#include <set>
#include <vector>

__extension__ typedef __int128 PlainInt128;

inline std::vector<uint64_t> plainQuadraticValues(PlainInt128 a, PlainInt128 b, PlainInt128 c, uint64_t low, uint64_t high) {
  std::set<uint64_t> values;
  const long double root = std::sqrt(static_cast<long double>(low) / static_cast<long double>(a));
  for (PlainInt128 t = root > 1e6 ? static_cast<PlainInt128>(root) - 1000 : 0;; ++t) {
    const PlainInt128 value = (a * t + b) * t + c;
    if (value >= low && value <= high) values.insert(static_cast<uint64_t>(value));
    if (2 * a * t + b > 0 && value > high) break;
  }
  return {values.begin(), values.end()};
}
