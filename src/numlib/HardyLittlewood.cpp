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

}  // namespace

double hardyLittlewoodConstant(int64_t b, Int128 c) {
  constexpr int64_t kLargestB = int64_t{1} << 60;
  constexpr Int128 kLargestC = Int128{1} << 120;
  if (b > kLargestB || b < -kLargestB || detail::magnitude(c) > kLargestC) return std::numeric_limits<double>::quiet_NaN();
  if (b % 2 == 0 && c % 2 == 0) return 0;  // every value is even
  const Int128 delta = Int128{b} * b - 16 * c;
  if (detail::isSquare(delta)) return 0;  // f factors
  const double atTwo = b % 2 != 0 ? 1 : 2;  // 2 - w(2)
  const uint32_t cut = detail::estimatePrimes(delta);
  const std::vector<int8_t> symbols = detail::legendreSymbols(delta, cut);
  const std::optional<double> l = dirichletL1(delta, symbols);
  if (!l) return atTwo * detail::plainProduct(delta);
  return atTwo * detail::tameProduct(symbols, cut) / (*l * (1.0 - detail::kroneckerAtTwo(delta) / 2.0));
}

}  // namespace numlib
