#pragma once
// --mark-quadratic: where the values of a quadratic the user typed fall in a drawn picture, how
// many of them are prime against Hardy and Littlewood's expectation, and the rays they lie on.

#include <cstdint>
#include <optional>
#include <vector>

#include "DrawPass.h"
#include "QuadraticPolynomial.h"
#include "Rays.h"

namespace render {

// The stretch of a ray, ring indices kFrom to kTo, whose numbers are values of the quadratic.
struct RayStretch {
  spiral::Ray ray;
  spiral::Quadratic numbers;  // the ray's numbers in the pass's spiral
  int64_t kFrom = 0;
  int64_t kTo = 0;
};

struct QuadraticFacts {
  numlib::QuadraticPolynomial f;
  std::vector<spiral::Number> values;  // the values in the picture, ascending
  int64_t primes = 0;
  double hlConstant = 0;
  double expectedPrimes = 0;  // A * sum of 1 / ln v over the values v > 1
  std::optional<numlib::LinearFactors> factors;
  std::vector<uint64_t> fixedPrimes;  // the primes that divide every value
  std::vector<RayStretch> rays;
};

// The facts of f over a drawn (not refused) pass.
QuadraticFacts quadraticFactsOf(const spiral::DrawOutcome& pass, const numlib::QuadraticPolynomial& f);

// The cells of the values, for the marks.
std::vector<spiral::Cell> cellsOf(const spiral::DrawOutcome& pass, const std::vector<spiral::Number>& values);

}  // namespace render
