#pragma once
// The primality of a window of consecutive numbers anywhere below 2^64, as a bitset: bit i of
// bits[i / 64] is set exactly when low + i is prime. Windows of any length are worked through in
// chunks, so that nothing but the bits grows with the window.

#include <cstdint>
#include <span>

#include "numlib.hpp"

namespace numlib::detail {

// Chooses the faster of the two ways below, segment by segment of a long window.
[[gnu::noinline]] void primeBitsAnywhere(uint64_t low, uint64_t count, uint64_t* bits);

// The two ways: primesieve's segmented sieve, whose cost has a part that grows with the root of
// the window's top; and, chunk by chunk, a sieve by the small primes followed by the Baillie-PSW
// tests of the numbers it leaves, whose cost grows with the window alone. The tests take windows
// above 2 only: they serve the numbers far above the blocks' range.
void primeBitsBySieve(uint64_t low, uint64_t count, uint64_t* bits);
void primeBitsByTests(uint64_t low, uint64_t count, uint64_t* bits);

// The longest piece of a window that one worker should take, for the workers to finish together.
uint64_t longestSharedPiece(uint64_t low, uint64_t count);

// Each window as primeBitsAnywhere gives it, all above 2: the numbers the short windows' sieves
// leave are tested together at the end.
void primeBitsOfFarWindows(std::span<const BitWindow> windows);

}  // namespace numlib::detail
