#pragma once
// The primes up to a bound, from lists kept for the process, a longer one added when a larger bound
// is asked for: the blocks, the window sieves and the trial division all read them, from any thread.

#include <cstdint>
#include <span>

namespace numlib::detail {

// The primes p <= limit in ascending order; valid for the whole process.
std::span<const uint32_t> primesUpTo(uint32_t limit);

}  // namespace numlib::detail
