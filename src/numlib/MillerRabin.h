#pragma once
// The primality of numbers of any size below 2^64: the strong probable-prime test to the seven
// bases 2, 325, 9375, 28178, 450775, 9780504, 1795265022, which no composite below 2^64 passes
// (Jim Sinclair's set), so the answer is exact.

#include <cstdint>
#include <span>

namespace numlib::detail {

// Whether n is prime, for every n.
[[gnu::noinline]] bool isPrimeByMillerRabin(uint64_t n);

// Whether each of `numbers` is prime (prime[i] = 1 or 0): the same answers as isPrimeByMillerRabin,
// faster for many numbers, as the tests of several of them run side by side.
void testPrimality(std::span<const uint64_t> numbers, std::span<uint8_t> prime);

}  // namespace numlib::detail
