#pragma once
// A quadratic f(t) = a t^2 + b t + c with whole coefficients, a >= 1, asked of whole t >= 0: where
// its values fall, whether it factors over the integers, which primes divide all its values.

#include <cstdint>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include "Int128.h"

namespace numlib {

struct QuadraticPolynomial {
  Int128 a = 1;
  Int128 b = 0;
  Int128 c = 0;

  // The coefficients the arithmetic below takes: a from 1 to 2^60, |b| up to 2^62, |c| below 2^64.
  static constexpr Int128 kLargestA = Int128{1} << 60;
  static constexpr Int128 kLargestB = Int128{1} << 62;
  static constexpr Int128 kLargestC = (Int128{1} << 64) - 1;
  bool withinLimits() const {
    return a >= 1 && a <= kLargestA && b >= -kLargestB && b <= kLargestB && c >= -kLargestC && c <= kLargestC;
  }

  Int128 discriminant() const { return b * b - 4 * a * c; }
  bool operator==(const QuadraticPolynomial&) const = default;
};

// Why a text "a,b,c" names no quadratic: not three whole numbers, a below 1, or a coefficient
// beyond the limits.
enum class QuadraticTextError { NotThreeNumbers, ABelowOne, TooLarge };

// Reads "a,b,c": three whole numbers (an optional minus sign and at most 30 decimal digits, blanks
// around them ignored) separated by commas, within the limits above.
std::variant<QuadraticPolynomial, QuadraticTextError> parseQuadratic(std::string_view text);

// The values f(t), t >= 0, from `low` to `high` (0 <= low <= high), ascending, each once: f takes
// a value twice where t and the vertex's mirror image of t are both whole and >= 0.
std::vector<uint64_t> valuesBetween(const QuadraticPolynomial& f, uint64_t low, uint64_t high);

// The primes that divide every value of f, ascending: those of the coefficients' common divisor,
// and 2 where f(0) and f(1) are both even.
std::vector<uint64_t> fixedPrimeDivisors(const QuadraticPolynomial& f);

// f = constant (p1 t + q1)(p2 t + q2) over the integers, p1, p2 >= 1 and each factor's
// coefficients without a common divisor.
struct LinearFactors {
  Int128 constant, p1, q1, p2, q2;
};
// The factors when the discriminant is a square; none when f is irreducible.
std::optional<LinearFactors> linearFactors(const QuadraticPolynomial& f);

}  // namespace numlib
