#include "QuadraticFacts.h"

#include "HardyLittlewood.h"
#include "LensFacts.h"

namespace render {
namespace {

using numlib::Int128;

Int128 ceilDivide(Int128 x, Int128 y) { return x / y + ((x % y != 0) && ((x < 0) == (y < 0))); }

// The stretch of the ray whose numbers are f(alpha k + beta): a ray's numbers are 4k^2 + b'k + c',
// so a alpha^2 = 4, alpha 2 for a = 1 and 1 for a = 4; beta must then be whole and give c'.
std::optional<RayStretch> stretchOn(const spiral::Ray& ray, const spiral::Quadratic& numbers,
                                    const numlib::QuadraticPolynomial& f) {
  const Int128 alpha = f.a == 4 ? 1 : 2;
  const Int128 twiceAAlpha = 2 * f.a * alpha;
  const Int128 shifted = numbers.b - f.b * alpha;
  if (shifted % twiceAAlpha != 0) return std::nullopt;
  const Int128 beta = shifted / twiceAAlpha;
  if (f.a * beta * beta + f.b * beta + f.c != numbers.c) return std::nullopt;
  const Int128 kFrom = std::max<Int128>(ray.kFrom, ceilDivide(-beta, alpha));  // t = alpha k + beta >= 0
  if (kFrom > ray.kTo) return std::nullopt;
  return RayStretch{ray, numbers, static_cast<int64_t>(kFrom), ray.kTo};
}

std::vector<RayStretch> raysOf(const spiral::DrawOutcome& pass, const numlib::QuadraticPolynomial& f) {
  std::vector<RayStretch> stretches;
  if (f.a != 1 && f.a != 4) return stretches;  // no whole step of t moves one ring
  for (const spiral::Ray& ray : spiral::allRays(pass.geometry)) {
    if (auto stretch = stretchOn(ray, spiral::numbersOn(ray, Int128(pass.startNumber)), f)) stretches.push_back(*stretch);
  }
  return stretches;
}

}  // namespace

QuadraticFacts quadraticFactsOf(const spiral::DrawOutcome& pass, const numlib::QuadraticPolynomial& f) {
  QuadraticFacts facts;
  facts.f = f;
  facts.values = numlib::valuesBetween(f, pass.startNumber, pass.endNumber);
  facts.hlConstant = numlib::hardyLittlewoodConstant(f);
  const numlib::PrimesAmongValues primes = numlib::primesAmong(facts.values, facts.hlConstant);
  facts.primes = primes.primes;
  facts.expectedPrimes = primes.expected;
  facts.factors = numlib::linearFactors(f);
  facts.fixedPrimes = numlib::fixedPrimeDivisors(f);
  facts.rays = raysOf(pass, f);
  return facts;
}

std::vector<spiral::Cell> cellsOf(const spiral::DrawOutcome& pass, const std::vector<spiral::Number>& values) {
  std::vector<spiral::Cell> cells;
  for (const spiral::Number value : values) cells.push_back(cellAtIndex(static_cast<int64_t>(value - pass.startNumber)));
  return cells;
}

}  // namespace render
