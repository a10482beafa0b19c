#pragma once
// Omega (the prime factors counted with multiplicity) of a window of consecutive numbers anywhere
// below 2^64, worked through in chunks.

#include <cstdint>

namespace numlib::detail {

// out[i] = Omega(low + i) for i < count, low + count - 1 <= 2^64 - 1.
[[gnu::noinline]] void factorCountsAnywhere(uint64_t low, uint64_t count, uint8_t* out);

}  // namespace numlib::detail
