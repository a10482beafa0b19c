#pragma once
// The primes up to a bound, from one list kept for the process that grows when a larger bound is
// asked for: the blocks, the window sieves and the trial division all read it.

#include <cstdint>
#include <span>

namespace numlib::detail {

// The primes p <= limit in ascending order; valid until a call with a larger limit.
std::span<const uint32_t> primesUpTo(uint32_t limit);

}  // namespace numlib::detail
