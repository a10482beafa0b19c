// The Hardy-Littlewood constant of 4k^2 + bk + c from the class number or the series of its
// discriminant and a tame Euler product; the method and its accuracy are described in
// HardyLittlewood.h.

#include "HardyLittlewood.h"

#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <vector>

#include "ClassNumber.h"
#include "EulerProduct.h"
#include "LSeries.h"
#include "QuadraticCharacter.h"
#include "numlib.hpp"

namespace numlib {

namespace {

// L_D(1) = sum (D/n)/n where the class number or the series gives it.
std::optional<double> dirichletL1(Int128 delta, std::span<const int8_t> symbols) {
  if (delta > 0) {
    if (delta > detail::kLargestSeriesDiscriminant) return std::nullopt;
    return detail::seriesLOfDiscriminant(static_cast<int64_t>(delta));
  }
  const std::optional<int64_t> h = detail::classNumberOf(delta, symbols);
  if (!h) return std::nullopt;
  return 2 * std::numbers::pi * static_cast<double>(*h) / (detail::automorphs(delta) * std::sqrt(static_cast<double>(-delta)));
}

// prod over the odd primes p of (1 - (D/p)/(p - 1)), D not a square: the odd part of A.
double oddPrimesPart(Int128 delta) {
  const uint32_t cut = detail::estimatePrimes(delta);
  const std::vector<int8_t> symbols = detail::legendreSymbols(delta, cut);
  const std::optional<double> l = dirichletL1(delta, symbols);
  if (!l) return detail::plainProduct(delta);
  return detail::tameProduct(symbols, cut) / (*l * (1.0 - detail::kroneckerAtTwo(delta) / 2.0));
}

}  // namespace

double hardyLittlewoodConstant(int64_t b, Int128 c) {
  constexpr int64_t kLargestB = int64_t{1} << 60;
  constexpr Int128 kLargestC = Int128{1} << 120;
  if (b > kLargestB || b < -kLargestB || detail::magnitude(c) > kLargestC) return std::numeric_limits<double>::quiet_NaN();
  if (b % 2 == 0 && c % 2 == 0) return 0;  // every value is even
  const Int128 delta = Int128{b} * b - 16 * c;
  if (detail::isSquare(delta)) return 0;  // f factors
  const double atTwo = b % 2 != 0 ? 1 : 2;  // 2 - w(2)
  return atTwo * oddPrimesPart(delta);
}

double hardyLittlewoodConstant(const QuadraticPolynomial& f) {
  if (!f.withinLimits()) return std::numeric_limits<double>::quiet_NaN();
  const Int128 delta = f.discriminant();
  if (detail::isSquare(delta)) return 0;  // f factors
  const double atTwo = 2 - (f.c % 2 == 0) - ((f.a + f.b + f.c) % 2 == 0);  // 2 - w(2)
  double product = atTwo * oddPrimesPart(delta);
  for (const PrimePower& power : factorise(static_cast<uint64_t>(f.a))) {
    const uint64_t p = power.prime;
    if (p == 2) continue;
    const bool dividesB = detail::residue(f.b, p) == 0, dividesC = detail::residue(f.c, p) == 0;
    // f = b t + c mod p; D = b^2 mod p, so (D/p) is 1 unless p | b.
    const double roots = !dividesB ? 1 : dividesC ? static_cast<double>(p) : 0;
    const double symbol = dividesB ? 0 : 1;
    const double q = static_cast<double>(p);
    product *= ((q - roots) / (q - 1)) / (1.0 - symbol / (q - 1));
  }
  return product;
}

PrimesAmongValues primesAmong(const std::vector<uint64_t>& values, double hlConstant) {
  PrimesAmongValues tally;
  double inverseLogs = 0;
  for (const uint64_t value : values) {
    tally.primes += isPrime(value);
    if (value > 1) inverseLogs += 1.0 / std::log(static_cast<double>(value));
  }
  tally.expected = hlConstant * inverseLogs;
  return tally;
}

}  // namespace numlib
