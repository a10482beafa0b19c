#include "PrimeWindow.h"

#include <algorithm>
#include <bit>
#include <span>
#include <vector>

#include <primesieve.hpp>

#include "MillerRabin.h"
#include "SmallPrimes.h"
#include "numlib.hpp"

namespace numlib::detail {

namespace {

constexpr uint32_t kPresieveLimit = uint32_t{1} << 17;
// Below this top number a chunk is sieved, above it tested: where the two take equally long for a
// chunk of kChunkSize numbers (bench_numlib's BM_WindowBySieve and BM_WindowByTests).
constexpr uint64_t kSieveBelow = uint64_t{1} << 46;

void setBit(uint64_t* bits, uint64_t i) { bits[i >> 6] |= uint64_t{1} << (i & 63); }
void clearBit(uint64_t* bits, uint64_t i) { bits[i >> 6] &= ~(uint64_t{1} << (i & 63)); }

// The bits past the window's last number in its last word are cleared.
void clearPastCount(uint64_t count, uint64_t* bits) {
  if (count % 64 != 0) bits[count / 64] &= (uint64_t{1} << (count % 64)) - 1;
}

// Clears the odd multiples of the odd prime p in the window from p^2 on: a smaller multiple has a
// smaller prime factor, and p itself stays.
void crossOff(uint64_t low, uint64_t count, uint32_t p, uint64_t* bits) {
  const uint64_t start = std::max(low, uint64_t{p} * p);
  if (start - low >= count) return;
  uint64_t offset = start - low + (p - start % p) % p;  // of the first multiple from start on
  if (((low ^ offset) & 1) == 0) offset += p;           // low + offset is even: the next is odd
  for (; offset < count; offset += 2 * uint64_t{p}) clearBit(bits, offset);
}

}  // namespace

void primeBitsBySieve(uint64_t low, uint64_t count, uint64_t* bits) {
  static std::vector<uint64_t> primes;
  primes.clear();
  primesieve::generate_primes(low, low + (count - 1), &primes);
  std::fill(bits, bits + (count + 63) / 64, 0);
  for (uint64_t p : primes) setBit(bits, p - low);
}

void primeBitsByTests(uint64_t low, uint64_t count, uint64_t* bits) {
  const uint64_t high = low + (count - 1);
  const uint64_t words = (count + 63) / 64;
  // Bit i stands for low + i, and each word starts at an even i: one pattern marks the odd numbers.
  std::fill(bits, bits + words, low % 2 == 0 ? 0xAAAAAAAAAAAAAAAAu : 0x5555555555555555u);
  if (low <= 2 && 2 <= high) setBit(bits, 2 - low);
  if (low <= 1 && 1 <= high) clearBit(bits, 1 - low);
  const uint64_t root = isqrt(high);
  const auto bound = static_cast<uint32_t>(std::min<uint64_t>(root, kPresieveLimit));
  for (uint32_t p : primesUpTo(bound)) {
    if (p > 2) crossOff(low, count, p, bits);  // 2 by the pattern
  }
  clearPastCount(count, bits);
  if (bound == root) return;  // every composite up to high has a prime factor up to its root

  // What is left above bound^2 has no prime factor up to the bound, but may still be composite.
  static std::vector<uint64_t> candidates;
  static std::vector<uint8_t> prime;
  candidates.clear();
  const uint64_t boundSquared = uint64_t{bound} * bound;
  for (uint64_t w = 0; w < words; ++w) {
    for (uint64_t word = bits[w]; word != 0; word &= word - 1) {
      const uint64_t i = w * 64 + static_cast<uint64_t>(std::countr_zero(word));
      if (low + i > boundSquared) candidates.push_back(low + i);
    }
  }
  prime.resize(candidates.size());
  testPrimality(candidates, prime);
  for (size_t k = 0; k < candidates.size(); ++k) {
    if (!prime[k]) clearBit(bits, candidates[k] - low);
  }
}

void primeBitsAnywhere(uint64_t low, uint64_t count, uint64_t* bits) {
  for (uint64_t done = 0; done < count; done += kChunkSize) {
    const uint64_t chunkLow = low + done;
    const uint64_t chunkCount = std::min(kChunkSize, count - done);
    uint64_t* chunkBits = bits + done / 64;
    if (chunkLow + (chunkCount - 1) < kSieveBelow) {
      primeBitsBySieve(chunkLow, chunkCount, chunkBits);
    } else {
      primeBitsByTests(chunkLow, chunkCount, chunkBits);
    }
  }
}

}  // namespace numlib::detail
