// The number service. In the window's range, primality comes from bitsets of sieved blocks and
// factorisations from blocks of recorded small prime factors, so that the draw pass's long runs of
// consecutive queries cost a table look-up each. Larger numbers go to the files named below.

#include "numlib.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include <primesieve.hpp>

#include "BailliePsw.h"
#include "FactorWindow.h"
#include "Factorise.h"
#include "PrimeWindow.h"
#include "SmallPrimes.h"
#include "Workers.h"

namespace {

using numlib::kLargestNumber;
using numlib::detail::primesUpTo;
constexpr uint32_t kSqrtLargest = 46341;        // above the square root of every number served

// ---------------------------------------------------------------------------------------------
// Primality: one bit per number of a block of 2^18 numbers. The first 64 blocks, the first 2^24
// numbers, are the process's: every picture near the spiral's start reads them, and each is sieved
// once, by the first thread that asks, and only read after that, so that workers (new ones too)
// do not sieve them again. Of the farther blocks each thread keeps its own 64, so that worker
// threads may ask at the same time; every other cache of the number service is the thread's own.

constexpr int kPrimeBlockBits = 18;
constexpr int64_t kPrimeBlockSize = int64_t{1} << kPrimeBlockBits;
constexpr int kSharedPrimeBlocks = 64;
// Block b is kept in slot b % kPrimeBlocksKept of its thread: 2 MB a thread at most.
constexpr int kPrimeBlocksKept = 64;

// The bits are written when the block is sieved: the slots are not cleared beforehand, so that a
// thread touches only the pages of the blocks it uses.
struct PrimeBlock {
  int64_t index = -1;
  std::array<uint64_t, kPrimeBlockSize / 64> bits;
};

struct SharedPrimeBlocks {
  std::array<std::once_flag, kSharedPrimeBlocks> sieved;
  std::array<PrimeBlock, kSharedPrimeBlocks> blocks;
};

thread_local std::unique_ptr<std::array<PrimeBlock, kPrimeBlocksKept>> primeBlocks;
thread_local const PrimeBlock* lastPrimeBlock = nullptr;

void sievePrimeBlock(PrimeBlock& block, int64_t index) {
  thread_local std::vector<uint32_t> found;
  found.clear();
  const uint64_t low = static_cast<uint64_t>(index) << kPrimeBlockBits;
  const uint64_t high = low + kPrimeBlockSize - 1;
  primesieve::generate_primes(low, high, &found);
  block.bits.fill(0);
  for (uint32_t p : found) {
    const uint64_t offset = p - low;
    block.bits[offset >> 6] |= uint64_t{1} << (offset & 63);
  }
  block.index = index;
}

// Never freed: a worker still drawing while the process exits (a walk for the explorer's cluster
// colours, say) may read a block after the statics are gone.
const PrimeBlock& sharedPrimeBlock(int64_t index) {
  static SharedPrimeBlocks* const shared = std::make_unique_for_overwrite<SharedPrimeBlocks>().release();
  PrimeBlock& block = shared->blocks[static_cast<size_t>(index)];
  std::call_once(shared->sieved[static_cast<size_t>(index)], [&] { sievePrimeBlock(block, index); });
  return block;
}

const PrimeBlock& ownPrimeBlock(int64_t index) {
  if (!primeBlocks) primeBlocks = std::make_unique_for_overwrite<std::array<PrimeBlock, kPrimeBlocksKept>>();
  PrimeBlock& block = (*primeBlocks)[static_cast<size_t>(index % kPrimeBlocksKept)];
  if (block.index != index) sievePrimeBlock(block, index);
  return block;
}

// The block asked last first: a window's words, and a pass's numbers, ask for their block one by one.
const PrimeBlock& primeBlockFor(int64_t index) {
  if (lastPrimeBlock != nullptr && lastPrimeBlock->index == index) return *lastPrimeBlock;
  const PrimeBlock& block = index < kSharedPrimeBlocks ? sharedPrimeBlock(index) : ownPrimeBlock(index);
  lastPrimeBlock = &block;
  return block;
}

// ---------------------------------------------------------------------------------------------
// Factorisation: for each number of a block of 2^16 numbers its prime factors up to the square
// root of the block's top, its factor count with multiplicity, and the product of those factors.
// The quotient of the number by that product is 1 or one more prime.

constexpr int kFactorBlockBits = 16;
constexpr int64_t kFactorBlockSize = int64_t{1} << kFactorBlockBits;
constexpr int kMaxDistinctSmallFactors = 9;  // 2*3*5*...*23 < 2^31 < 2*3*5*...*29
// A 523 x 523 window of numbers spans at most six blocks: eight kept let the next animation step,
// or the next pass over the same window, find its blocks sieved.
constexpr int kFactorBlocksKept = 8;

// The tables are allocated when a block is first sieved: only the Veltra colours and the click
// report factorise, and a process that never does should not pay for 3 MB at start-up.
// A block sieved for the factor counts alone (the Veltra colours) skips recording the primes.
struct FactorBlock {
  int64_t index = -1;
  bool withPrimes = false;
  std::vector<uint32_t> product;
  std::vector<uint8_t> factorCount;    // the prime factors up to the root, with multiplicity
  std::vector<uint8_t> distinctCount;  // how many of them `primes` records
  std::vector<uint16_t> primes;

  void allocate(bool recordPrimes) {
    product.resize(kFactorBlockSize);
    factorCount.resize(kFactorBlockSize);
    if (!recordPrimes) return;
    distinctCount.resize(kFactorBlockSize);
    primes.resize(kFactorBlockSize * kMaxDistinctSmallFactors);
  }
};

thread_local std::array<FactorBlock, kFactorBlocksKept> factorBlocks;
thread_local int lastFactorBlock = 0;
thread_local int nextFactorBlockToReplace = 0;

// The prime 2 and its powers in one go: the trailing zero bits of a number are its factors 2.
void recordTwo(FactorBlock& block, uint64_t low) {
  for (uint64_t offset = low % 2; offset < kFactorBlockSize; offset += 2) {
    const uint64_t m = low + offset;
    if (m == 0) continue;  // 0 is nobody's multiple here
    const int twos = std::countr_zero(m);
    if (block.withPrimes) block.primes[offset * kMaxDistinctSmallFactors + block.distinctCount[offset]++] = 2;
    block.product[offset] <<= twos;
    block.factorCount[offset] = static_cast<uint8_t>(block.factorCount[offset] + twos);
  }
}

// Counts every multiple of p^k in [low, high) once more: no divisions in the inner loops.
void recordPrime(FactorBlock& block, uint64_t low, uint64_t high, uint32_t p) {
  uint64_t first = (low + p - 1) / p * p;
  if (first == 0) first = p;  // 0 is nobody's multiple here
  for (uint64_t m = first; m < high; m += p) {
    const uint64_t offset = m - low;
    if (block.withPrimes) {
      block.primes[offset * kMaxDistinctSmallFactors + block.distinctCount[offset]++] = static_cast<uint16_t>(p);
    }
    block.product[offset] *= p;
    ++block.factorCount[offset];
  }
  for (uint64_t power = uint64_t{p} * p; power < high; power *= p) {
    for (uint64_t m = (low + power - 1) / power * power; m < high; m += power) {
      if (m == 0) continue;
      const uint64_t offset = m - low;
      block.product[offset] *= p;
      ++block.factorCount[offset];
    }
  }
}

void sieveFactorBlock(FactorBlock& block, int64_t index, bool withPrimes) {
  const uint64_t low = static_cast<uint64_t>(index) << kFactorBlockBits;
  const uint64_t high = low + kFactorBlockSize;
  const uint64_t root = numlib::isqrt(high);
  block.withPrimes = withPrimes;
  block.allocate(withPrimes);
  std::fill(block.product.begin(), block.product.end(), 1u);
  std::fill(block.factorCount.begin(), block.factorCount.end(), 0);
  std::fill(block.distinctCount.begin(), block.distinctCount.end(), 0);
  recordTwo(block, low);
  for (uint32_t p : primesUpTo(kSqrtLargest)) {
    if (p > root) break;
    if (p > 2) recordPrime(block, low, high, p);
  }
  for (uint64_t offset = 0; offset < kFactorBlockSize; ++offset) {
    if (low + offset > block.product[offset]) ++block.factorCount[offset];  // one prime above the root
  }
  block.index = index;
}

const FactorBlock& factorBlockFor(int64_t index, bool withPrimes) {
  const auto serves = [&](const FactorBlock& block) {
    return block.index == index && (block.withPrimes || !withPrimes);
  };
  if (serves(factorBlocks[lastFactorBlock])) return factorBlocks[lastFactorBlock];  // the usual case
  for (int i = 0; i < kFactorBlocksKept; ++i) {
    if (serves(factorBlocks[i])) {
      lastFactorBlock = i;
      return factorBlocks[i];
    }
  }
  lastFactorBlock = nextFactorBlockToReplace;
  nextFactorBlockToReplace = (nextFactorBlockToReplace + 1) % kFactorBlocksKept;
  sieveFactorBlock(factorBlocks[lastFactorBlock], index, withPrimes);
  return factorBlocks[lastFactorBlock];
}

// The 64 bits of the primes from a multiple of 64: one word of one block, as blocks hold whole words.
// Bits beyond the largest number (2^31 - 1 is prime) fall past `count` and are masked off there.
uint64_t alignedPrimeWord(int64_t first) {
  if (first > static_cast<int64_t>(kLargestNumber)) return 0;
  const PrimeBlock& block = primeBlockFor(first >> kPrimeBlockBits);
  return block.bits[(first & (kPrimeBlockSize - 1)) >> 6];
}

// The factors of n up to the root of its block, and the one prime above it if there is one: the
// pairs of (prime, exponent) in ascending order, handed to `record`.
template <typename Record>
void forEachPrimePower(int64_t n, Record record) {
  const FactorBlock& block = factorBlockFor(n >> kFactorBlockBits, true);
  const uint32_t offset = static_cast<uint32_t>(n) & (kFactorBlockSize - 1);
  int64_t rest = n;
  for (int j = 0; j < block.distinctCount[offset]; ++j) {
    const int64_t p = block.primes[offset * kMaxDistinctSmallFactors + j];
    int exponent = 0;
    for (; rest % p == 0; rest /= p) ++exponent;
    record(p, exponent);
  }
  if (rest > 1) record(rest, 1);  // the one prime factor above the square root
}

}  // namespace

extern "C" {

void calculate_primes(int32_t limit) {
  if (limit < 2) return;
  primesUpTo(static_cast<uint32_t>(numlib::isqrt(std::min<uint64_t>(static_cast<uint64_t>(limit), kLargestNumber))) + 1);
}

// The C function keeps its range: 2^31 - 1, prime, is beyond it.
int16_t is_prime(int32_t n, int32_t /*n2*/) {
  return n >= 0 && static_cast<uint64_t>(n) <= kLargestNumber && numlib::isPrime(static_cast<uint64_t>(n)) ? 1 : 0;
}

void factor(int32_t n, int32_t /*n2*/, int32_t* A, int32_t* B) {
  A[0] = 0;
  B[0] = 0;
  if (n <= 1) return;
  forEachPrimePower(n, [&](int64_t p, int exponent) {
    A[0] += exponent;
    ++B[0];
    A[B[0]] = static_cast<int32_t>(p);
    B[B[0]] = exponent;
  });
}

}  // extern "C"

namespace {

// The blocks' words for a window inside the window's range (low + count - 1 <= kLargestNumber), so
// a pass tests each number with a shift and a mask.
void primeBitsFromBlocks(int64_t low, int64_t count, uint64_t* bits) {
  const int shift = static_cast<int>(low & 63);
  const int64_t aligned = low - shift;
  const int64_t words = (count + 63) / 64;
  uint64_t current = alignedPrimeWord(aligned);
  for (int64_t w = 0; w < words; ++w) {
    const uint64_t next = alignedPrimeWord(aligned + 64 * (w + 1));
    bits[w] = shift == 0 ? current : current >> shift | next << (64 - shift);
    current = next;
  }
  if (count % 64 != 0) bits[words - 1] &= (uint64_t{1} << (count % 64)) - 1;
}

// Below these many numbers a window stays on the calling thread: waking the workers would cost more
// than they save. A number costs a few nanoseconds in the blocks' range, and tens above it.
constexpr uint64_t kSplitInBlocksFrom = uint64_t{1} << 22;
constexpr uint64_t kSplitAboveBlocksFrom = uint64_t{1} << 16;
// A piece is never longer than the window sieve's segment, so that each piece makes the same
// choice between sieve and tests that one thread makes for the whole window.
constexpr uint64_t kLongestPiece = uint64_t{1} << 26;

bool worthSplitting(uint64_t low, uint64_t count, int threads) {
  const uint64_t high = low + (count - 1);
  return threads > 1 && count >= (high > kLargestNumber ? kSplitAboveBlocksFrom : kSplitInBlocksFrom);
}

// An even share of the window for each worker, in whole words of bits.
uint64_t pieceOf(uint64_t count, int threads) {
  const uint64_t share = (count + static_cast<uint64_t>(threads) - 1) / static_cast<uint64_t>(threads);
  return std::min(kLongestPiece, (share + 63) / 64 * 64);
}

// A look at the smallest primes first: most composites end there, before the Baillie-PSW test.
[[gnu::noinline]] bool isPrimeAboveBlocks(uint64_t n) {
  for (uint64_t p : {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37}) {
    if (n % p == 0) return false;  // n is larger than p
  }
  return numlib::detail::isPrimeByBailliePsw(n);
}

}  // namespace

namespace numlib {

bool isPrime(uint64_t n) {
  if (n > kLargestNumber) return isPrimeAboveBlocks(n);
  if (n < 2) return false;
  const PrimeBlock& block = primeBlockFor(static_cast<int64_t>(n >> kPrimeBlockBits));
  const uint32_t offset = static_cast<uint32_t>(n) & (kPrimeBlockSize - 1);
  return (block.bits[offset >> 6] >> (offset & 63)) & 1;
}

// Counted so that neither end of the 64-bit range is stepped over.
std::optional<uint64_t> primeAfter(uint64_t n, uint64_t last) {
  for (uint64_t candidate = n; candidate < last;) {
    if (isPrime(++candidate)) return candidate;
  }
  return std::nullopt;
}

std::optional<uint64_t> primeBefore(uint64_t n, uint64_t first) {
  for (uint64_t candidate = n; candidate > first;) {
    if (isPrime(--candidate)) return candidate;
  }
  return std::nullopt;
}

// The blocks' words as far as they reach, in whole words; the rest from the window sieve.
void primeBits(uint64_t low, uint64_t count, uint64_t* bits, int threads) {
  if (count == 0) return;
  if (worthSplitting(low, count, threads)) {
    const uint64_t piece = std::min(pieceOf(count, threads), detail::longestSharedPiece(low, count));
    forEachPiece(static_cast<int64_t>(count), static_cast<int64_t>(piece), threads, [&](int64_t first, int64_t length) {
      primeBits(low + static_cast<uint64_t>(first), static_cast<uint64_t>(length), bits + first / 64, 1);
    });
    return;
  }
  const uint64_t inBlocks = low > kLargestNumber ? 0 : std::min(count, kLargestNumber - low + 1);
  if (inBlocks == count) {
    primeBitsFromBlocks(static_cast<int64_t>(low), static_cast<int64_t>(count), bits);
    return;
  }
  const uint64_t fromBlocks = inBlocks / 64 * 64;
  if (fromBlocks > 0) primeBitsFromBlocks(static_cast<int64_t>(low), static_cast<int64_t>(fromBlocks), bits);
  detail::primeBitsAnywhere(low + fromBlocks, count - fromBlocks, bits + fromBlocks / 64);
}

void primeBitsOfWindows(std::span<const BitWindow> windows) {
  thread_local std::vector<BitWindow> far;
  far.clear();
  for (const BitWindow& window : windows) {
    if (window.low > kLargestNumber) {
      far.push_back(window);
    } else {
      primeBits(window.low, window.count, window.bits);
    }
  }
  detail::primeBitsOfFarWindows(far);
}

int factorCount(uint64_t n) {
  if (n > kLargestNumber) {
    int count = 0;
    for (const PrimePower& power : detail::factoriseAnywhere(n)) count += power.exponent;
    return count;
  }
  if (n <= 1) return 0;
  const FactorBlock& block = factorBlockFor(static_cast<int64_t>(n >> kFactorBlockBits), false);
  return block.factorCount[static_cast<uint32_t>(n) & (kFactorBlockSize - 1)];
}

void factorCounts(uint64_t low, uint64_t count, uint8_t* out, int threads) {
  if (worthSplitting(low, count, threads)) {
    forEachPiece(static_cast<int64_t>(count), static_cast<int64_t>(pieceOf(count, threads)), threads,
                 [&](int64_t first, int64_t length) {
                   factorCounts(low + static_cast<uint64_t>(first), static_cast<uint64_t>(length), out + first, 1);
                 });
    return;
  }
  const uint64_t inBlocks = low > kLargestNumber ? 0 : std::min(count, kLargestNumber - low + 1);
  // Whole runs copied from the blocks, one block at a time.
  for (uint64_t i = 0; i < inBlocks;) {
    const uint64_t n = low + i;
    const uint64_t offset = n & (kFactorBlockSize - 1);
    const uint64_t run = std::min(inBlocks - i, kFactorBlockSize - offset);
    const FactorBlock& block = factorBlockFor(static_cast<int64_t>(n >> kFactorBlockBits), false);
    std::memcpy(out + i, block.factorCount.data() + offset, run);
    i += run;
  }
  if (inBlocks < count) detail::factorCountsAnywhere(low + inBlocks, count - inBlocks, out + inBlocks);
}

std::vector<PrimePower> factorise(uint64_t n) {
  if (n > kLargestNumber) return detail::factoriseAnywhere(n);
  std::vector<PrimePower> powers;
  if (n <= 1) return powers;
  forEachPrimePower(static_cast<int64_t>(n), [&](int64_t p, int exponent) {
    powers.push_back({static_cast<uint64_t>(p), exponent});
  });
  return powers;
}

}  // namespace numlib
