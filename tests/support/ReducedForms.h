#pragma once
// The class number h(D) of a negative discriminant D, by counting the reduced primitive forms
// (a, b, c) of discriminant b^2 - 4ac = D one by one: |b| <= a <= c, and b >= 0 when |b| = a or a = c.

#include <cstdint>
#include <numeric>

inline int64_t countReducedForms(int64_t d) {
  int64_t count = 0;
  for (int64_t a = 1; 3 * a * a <= -d; ++a) {
    for (int64_t b = -a + 1; b <= a; ++b) {
      if ((b * b - d) % (4 * a) != 0) continue;
      const int64_t c = (b * b - d) / (4 * a);
      if (c >= a && !(a == c && b < 0) && std::gcd(std::gcd(a, b), c) == 1) ++count;
    }
  }
  return count;
}
