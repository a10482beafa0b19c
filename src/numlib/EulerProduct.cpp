#include "EulerProduct.h"

#include <cmath>

#include "QuadraticCharacter.h"

namespace numlib::detail {

namespace {

int legendreAt(Int128 delta, uint32_t p) { return jacobi(static_cast<uint32_t>(residue(delta, p)), p); }

}  // namespace

double logLEulerProduct(Int128 delta, std::span<const int8_t> symbols, uint32_t limit) {
  const std::span<const uint32_t> primes = oddPrimesUpTo(limit);
  double logL = -std::log1p(-kroneckerAtTwo(delta) / 2.0);
  for (size_t i = 0; i < primes.size(); ++i) {
    const int symbol = i < symbols.size() ? symbols[i] : legendreAt(delta, primes[i]);
    logL -= std::log1p(-symbol / static_cast<double>(primes[i]));
  }
  return logL;
}

double tameProduct(std::span<const int8_t> symbols, uint32_t limit) {
  const std::span<const uint32_t> primes = oddPrimesUpTo(limit);
  double product = 1;
  for (size_t i = 0; i < primes.size(); ++i) {
    const double p = primes[i], x = symbols[i];
    product *= 1.0 - x / ((p - 1) * (p - x));
  }
  return product;
}

double plainProduct(Int128 delta) {
  double product = 1;
  for (uint32_t p : oddPrimesUpTo(kLargestListedPrime)) product *= 1.0 - legendreAt(delta, p) / (p - 1.0);
  return product;
}

}  // namespace numlib::detail
