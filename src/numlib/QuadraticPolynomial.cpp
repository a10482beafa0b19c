#include "QuadraticPolynomial.h"

#include <algorithm>
#include <cmath>

#include "QuadraticCharacter.h"
#include "numlib.hpp"

namespace numlib {
namespace {

// Above every value asked for: f's value where the arithmetic would leave 128 bits (only for
// large t, where a t^2 is what overflows).
constexpr Int128 kAbove = Int128{1} << 120;

// f(t) for 0 <= t < 2^63, or kAbove where it passes kAbove.
Int128 valueAt(const QuadraticPolynomial& f, Int128 t) {
  Int128 square;
  if (__builtin_mul_overflow(f.a, t * t, &square) || square > kAbove) return kAbove;
  return std::min(square + f.b * t + f.c, kAbove);  // |b t| < 2^125 and |c| < 2^64: no overflow
}

Int128 gcd(Int128 x, Int128 y) {
  x = x < 0 ? -x : x;
  y = y < 0 ? -y : y;
  while (y != 0) {
    const Int128 r = x % y;
    x = y;
    y = r;
  }
  return x;
}

// The first t in [from, to) for which `past(t)` holds, `to` where none does; `past` must hold from
// some t on.
template <typename Past>
Int128 firstWhere(Int128 from, Int128 to, Past past) {
  while (from < to) {
    const Int128 middle = from + (to - from) / 2;
    if (past(middle)) {
      to = middle;
    } else {
      from = middle + 1;
    }
  }
  return from;
}

std::optional<Int128> exactRoot(Int128 x) {
  if (x < 0) return std::nullopt;
  auto root = static_cast<Int128>(std::sqrt(static_cast<long double>(x)));
  while (root * root > x) --root;
  while ((root + 1) * (root + 1) <= x) ++root;
  if (root * root != x) return std::nullopt;
  return root;
}

// The factor (p t + q) whose root is -q/p = numerator/denominator, with p >= 1 and gcd(p, q) = 1.
std::pair<Int128, Int128> factorOfRoot(Int128 numerator, Int128 denominator) {
  if (denominator < 0) {
    numerator = -numerator;
    denominator = -denominator;
  }
  const Int128 common = gcd(numerator, denominator);
  return {denominator / common, -numerator / common};
}

// One coefficient; none for any other text or where it leaves 128 bits.
std::optional<Int128> coefficient(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  const bool negative = text.starts_with('-');
  if (negative) text.remove_prefix(1);
  if (text.empty() || text.size() > 30 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  Int128 value = 0;
  for (char digit : text) value = value * 10 + (digit - '0');
  return negative ? -value : value;
}

}  // namespace

std::variant<QuadraticPolynomial, QuadraticTextError> parseQuadratic(std::string_view text) {
  std::vector<Int128> coefficients;
  int parts = 0;
  for (;;) {
    const std::size_t comma = text.find(',');
    ++parts;
    if (const std::optional<Int128> number = coefficient(text.substr(0, comma))) coefficients.push_back(*number);
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  if (parts != 3 || coefficients.size() != 3) return QuadraticTextError::NotThreeNumbers;
  const QuadraticPolynomial f{coefficients[0], coefficients[1], coefficients[2]};
  if (f.a < 1) return QuadraticTextError::ABelowOne;
  if (!f.withinLimits()) return QuadraticTextError::TooLarge;
  return f;
}

std::vector<uint64_t> valuesBetween(const QuadraticPolynomial& f, uint64_t low, uint64_t high) {
  // f(t + 1) >= f(t) from tUp on, and f falls before it; past the vertex f passes 2^64 within 2^62 steps.
  const Int128 tUp = std::max<Int128>(0, -detail::floorDiv(f.a + f.b, 2 * f.a));
  const Int128 tEnd = tUp + (Int128{1} << 62);
  std::vector<uint64_t> values;
  const auto collect = [&](Int128 from, Int128 to) {
    for (Int128 t = from; t < to; ++t) {
      const Int128 value = valueAt(f, t);
      if (value >= low && value <= high) values.push_back(static_cast<uint64_t>(value));
    }
  };
  // Falling: the t with f(t) <= high, then those with f(t) < low.
  collect(firstWhere(0, tUp, [&](Int128 t) { return valueAt(f, t) <= high; }),
          firstWhere(0, tUp, [&](Int128 t) { return valueAt(f, t) < low; }));
  // Rising: from the first t with f(t) >= low to the first with f(t) > high.
  collect(firstWhere(tUp, tEnd, [&](Int128 t) { return valueAt(f, t) >= low; }),
          firstWhere(tUp, tEnd, [&](Int128 t) { return valueAt(f, t) > high; }));
  std::sort(values.begin(), values.end());
  values.erase(std::unique(values.begin(), values.end()), values.end());
  return values;
}

std::vector<uint64_t> fixedPrimeDivisors(const QuadraticPolynomial& f) {
  std::vector<uint64_t> primes;
  if (f.c % 2 == 0 && (f.a + f.b + f.c) % 2 == 0) primes.push_back(2);
  // The common divisor divides a, which is below 2^64.
  for (const PrimePower& power : factorise(static_cast<uint64_t>(gcd(gcd(f.a, f.b), f.c)))) {
    if (power.prime != 2) primes.push_back(power.prime);
  }
  return primes;
}

std::optional<LinearFactors> linearFactors(const QuadraticPolynomial& f) {
  const std::optional<Int128> root = exactRoot(f.discriminant());
  if (!root) return std::nullopt;
  const auto [p1, q1] = factorOfRoot(-f.b + *root, 2 * f.a);
  const auto [p2, q2] = factorOfRoot(-f.b - *root, 2 * f.a);
  return LinearFactors{f.a / (p1 * p2), p1, q1, p2, q2};
}

}  // namespace numlib
