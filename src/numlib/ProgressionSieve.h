#pragma once
// Far out, a tile's runs start at numbers in quadratic progressions: along one side of the spiral,
// each ring's run starts 8 further on than the step from the ring before, and where a tile holds
// two sides, their runs take turns. The places of the sieving primes then carry from run to run by
// a few additions, where placing a prime anew costs a remainder; so such runs are sieved by many
// more primes than a run could otherwise afford, and far fewer of their numbers are left to test.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace numlib::detail {

class ProgressionSieve {
 public:
  // The largest prime it crosses off in a window of `count` numbers; it takes every one from 17 on,
  // past the small primes' pattern, to about the window's length, and at least to about 1024.
  static uint32_t largestPrimeFor(uint64_t count);
  // Whether it takes a window: one short enough for its places, above its primes' squares.
  static bool takes(uint64_t low, uint64_t count);
  // Whether windows starting at first, second and third, in this order, follow a progression whose
  // places carry; its curvature, third - 2 second + first, where asked.
  static bool follow(uint64_t first, uint64_t second, uint64_t third, int* curvature = nullptr);

  // Clears the bits of its primes' multiples among `count` numbers from low, bit i standing for
  // low + i. A window whose start continues a progression of the windows before it is placed by
  // additions; any other, prime by prime. Returns the largest prime crossed off.
  uint32_t crossOff(uint64_t low, uint64_t count, uint64_t* bits);
  // The next window does not continue those crossed off so far.
  void forget() { seen_ = 0; }

  // Eight places, primes or offsets in the processor's vector: each below 2^15, for primes below 2^13.
  using Lanes = int16_t __attribute__((vector_size(16)));

 private:
  struct Placed {
    uint64_t low = 0;
    std::vector<Lanes> offsets;  // of each prime's first odd multiple from low on, as deep as sieved
  };
  // The windows kept: the last four, which the longest lag reaches back to, and the one being
  // placed, in a ring of a power of two.
  static constexpr uint64_t kKept = 8;

  bool continues(uint64_t low, uint64_t lag, size_t vectors, int& curvature) const;
  const Placed& back(uint64_t lag) const { return placed_[(seen_ - lag) % kKept]; }

  std::array<Placed, kKept> placed_;
  uint64_t seen_ = 0;  // windows placed since the last forget()
  std::vector<uint64_t> hits_;  // a bit for each lane whose prime has a multiple inside
};

}  // namespace numlib::detail
