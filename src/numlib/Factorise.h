#pragma once
// The factorisation of any number below 2^64: trial division by the small primes, then Pollard's
// rho in Brent's form splits what is left until the primality test accepts every part.

#include <cstdint>
#include <vector>

#include "numlib.hpp"

namespace numlib::detail {

std::vector<PrimePower> factoriseAnywhere(uint64_t n);

}  // namespace numlib::detail
