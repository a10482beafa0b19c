#include "LSeries.h"

#include <cmath>
#include <numbers>
#include <utility>

#include "QuadraticCharacter.h"

namespace numlib::detail {

namespace {

constexpr double kSeriesReach = 4.5;  // the series is summed to n * sqrt(pi/|F|) = 4.5

// F and m with D = F m^2, F a fundamental discriminant; by trial division.
std::pair<int64_t, int64_t> splitDiscriminant(int64_t delta) {
  int64_t rest = delta < 0 ? -delta : delta;
  int64_t squareFree = 1, conductor = 1;
  for (int64_t p = 2; p * p <= rest; ++p) {
    for (; rest % (p * p) == 0; rest /= p * p) conductor *= p;
    if (rest % p == 0) {
      rest /= p;
      squareFree *= p;
    }
  }
  squareFree *= rest;
  const int64_t s = delta < 0 ? -squareFree : squareFree;
  if (((s % 4) + 4) % 4 == 1) return {s, conductor};
  return {4 * s, conductor / 2};  // D = 0 mod 4 here, so the conductor is even
}

// L(1, (F/.)) for a fundamental discriminant F: for F < 0,
//   L = sum (F/n) [pi/sqrt|F| erfc(n a) + exp(-(n a)^2) / n],
// for F > 0,
//   L = sum (F/n) [erfc(n a) / n + E1((n a)^2) / sqrt F],   a = sqrt(pi/|F|).
// Summed to n a = 4.5, the terms left out add up to less than 1e-10.
double seriesL1(int64_t fundamental) {
  constexpr double kPi = std::numbers::pi;
  const double size = std::fabs(static_cast<double>(fundamental));
  const double root = std::sqrt(size);
  const double a = std::sqrt(kPi / size);
  const auto terms = static_cast<int64_t>(std::ceil(kSeriesReach / a));
  double sum = 0;
  for (int64_t n = 1; n <= terms; ++n) {
    const int chi = kronecker(fundamental, static_cast<uint32_t>(n));
    if (chi == 0) continue;
    const double x = static_cast<double>(n) * a;
    const double term = fundamental < 0 ? kPi / root * std::erfc(x) + std::exp(-x * x) / static_cast<double>(n)
                                        : std::erfc(x) / static_cast<double>(n) - std::expint(-x * x) / root;
    sum += chi * term;
  }
  return sum;
}

}  // namespace

// L(1, (F/.)) * prod over p | m of (1 - (F/p)/p).
double seriesLOfDiscriminant(int64_t delta) {
  const auto [fundamental, conductor] = splitDiscriminant(delta);
  double l = seriesL1(fundamental);
  for (int64_t p : primeFactors(conductor))
    l *= 1.0 - kronecker(fundamental, static_cast<uint32_t>(p)) / static_cast<double>(p);
  return l;
}

}  // namespace numlib::detail
