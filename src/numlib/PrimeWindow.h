#pragma once
// The primality of a window of consecutive numbers anywhere below 2^64, as a bitset: bit i of
// bits[i / 64] is set exactly when low + i is prime. Windows of any length are worked through in
// chunks, so that nothing but the bits grows with the window.

#include <cstdint>

namespace numlib::detail {

// Chooses per chunk the faster of the two ways below.
void primeBitsAnywhere(uint64_t low, uint64_t count, uint64_t* bits);

// The two ways, for count <= kChunkSize: primesieve's segmented sieve, whose cost grows with the
// primes up to the root of the top number; and a sieve by the primes up to kPresieveLimit followed
// by the strong tests of the numbers it leaves, whose cost grows with the window alone.
inline constexpr uint64_t kChunkSize = uint64_t{1} << 18;
void primeBitsBySieve(uint64_t low, uint64_t count, uint64_t* bits);
void primeBitsByTests(uint64_t low, uint64_t count, uint64_t* bits);

}  // namespace numlib::detail
