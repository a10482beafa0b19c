#pragma once
// Squares and triangular numbers, plainly: whether some k near the root of n / scale gives
// k(k + scale - 1) / scale = n, with scale 1 for squares and 2 for triangular numbers.

#include <cmath>
#include <cstdint>

inline bool plainRootHits(uint64_t n, int scale) {
  __extension__ typedef unsigned __int128 Wide;
  const auto root = static_cast<uint64_t>(std::sqrt(static_cast<long double>(n) * scale));
  for (uint64_t k = root > 2 ? root - 2 : 0; k <= root + 2; ++k) {
    if (Wide{k} * (k + static_cast<uint64_t>(scale) - 1) == Wide{n} * static_cast<uint64_t>(scale)) return true;
  }
  return false;
}
inline bool plainSquare(uint64_t n) { return plainRootHits(n, 1); }
inline bool plainTriangular(uint64_t n) { return plainRootHits(n, 2); }
