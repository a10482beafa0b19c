#pragma once
// Euler products over the odd primes up to a cut, for a discriminant D with the character
// x(p) = (D/p): the factors of A = prod (1 - x/(p-1)) split as
//   1 - x/(p-1) = (1 - x/p) * (1 - x/((p-1)(p-x))),
// the first being L_D(1)'s (which converges slowly: taken from the class number or the series) and
// the second converging absolutely.

#include <cstdint>
#include <span>

#include "Int128.h"

namespace numlib::detail {

// log L_D(1) from its Euler product over 2 and the odd primes up to `limit`, with (D/p) read from
// `symbols` as far as they go (in the order of oddPrimesUpTo) and computed beyond.
double logLEulerProduct(Int128 delta, std::span<const int8_t> symbols, uint32_t limit);

// prod of (1 - x/((p-1)(p-x))) over the odd primes up to `limit`, `symbols` their x.
double tameProduct(std::span<const int8_t> symbols, uint32_t limit);

// prod of (1 - (D/p)/(p-1)) over the odd primes up to kLargestListedPrime: the odd part of A
// itself, where nothing better is at hand.
double plainProduct(Int128 delta);

}  // namespace numlib::detail
