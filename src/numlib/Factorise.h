#pragma once
// The factorisation of any number below 2^64: trial division by the small primes, then Pollard's
// rho in Brent's form splits what is left until the primality test accepts every part.

#include <cstdint>
#include <vector>

#include "numlib.hpp"

namespace numlib::detail {

// Out of line, like the other paths past the blocks: a pass that inlines the blocks' look-ups
// must not grow by these.
[[gnu::noinline]] std::vector<PrimePower> factoriseAnywhere(uint64_t n);

}  // namespace numlib::detail
