// The number service across the 64-bit range: a 523 x 523 picture's window (273,529 numbers) of
// primality bits and of factor counts at several starts, and the two ways of a window's primality,
// chunk by chunk, against the magnitude of its numbers: where they cross sets the service's choice.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <span>
#include <vector>

#include "BailliePsw.h"
#include "PrimeWindow.h"
#include "numlib.hpp"

namespace {

constexpr uint64_t kPictureNumbers = 523 * 523;
constexpr uint64_t kTop = ~uint64_t{0};

struct Start {
  const char* name;
  uint64_t low;
};
constexpr Start kStarts[] = {{"1", 1}, {"1e12", 1000000000000}, {"1e15", 1000000000000000},
                             {"1e18", 1000000000000000000}, {"top", kTop - kPictureNumbers + 1}};

void primeBitsOfPicture(benchmark::State& state, uint64_t low) {
  std::vector<uint64_t> bits((kPictureNumbers + 63) / 64);
  for (auto _ : state) {
    numlib::primeBits(low, kPictureNumbers, bits.data());
    benchmark::DoNotOptimize(bits.data());
  }
}

// In the window's range the blocks stay sieved between passes; here every pass lands on blocks
// not sieved yet, as the first pass of a process does.
void BM_PrimeBitsOfPictureColdBlocks(benchmark::State& state) {
  std::vector<uint64_t> bits((kPictureNumbers + 63) / 64);
  uint64_t low = 1;
  for (auto _ : state) {
    low = low >= 2000000000 ? 1 : low + 10000000;
    numlib::primeBits(low, kPictureNumbers, bits.data());
    benchmark::DoNotOptimize(bits.data());
  }
}
BENCHMARK(BM_PrimeBitsOfPictureColdBlocks)->Unit(benchmark::kMillisecond);

void factorCountsOfPicture(benchmark::State& state, uint64_t low) {
  std::vector<uint8_t> counts(kPictureNumbers);
  for (auto _ : state) {
    numlib::factorCounts(low, kPictureNumbers, counts.data());
    benchmark::DoNotOptimize(counts.data());
  }
}

// A window of range(1) numbers ending at 2^range(0) (or 2^64 - 1), by each of the two ways.
template <void (*Way)(uint64_t, uint64_t, uint64_t*)>
void windowAtMagnitude(benchmark::State& state) {
  const uint64_t top = state.range(0) == 64 ? kTop : uint64_t{1} << state.range(0);
  const auto count = static_cast<uint64_t>(state.range(1));
  std::vector<uint64_t> bits((count + 63) / 64);
  for (auto _ : state) {
    Way(top - (count - 1), count, bits.data());
    benchmark::DoNotOptimize(bits.data());
  }
}
void BM_WindowBySieve(benchmark::State& state) { windowAtMagnitude<numlib::detail::primeBitsBySieve>(state); }
void BM_WindowByTests(benchmark::State& state) { windowAtMagnitude<numlib::detail::primeBitsByTests>(state); }
// The picture's window where the two cross, and long windows (a poster's) higher up.
BENCHMARK(BM_WindowBySieve)->ArgsProduct({{44, 46, 48, 50, 52}, {kPictureNumbers}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowByTests)->ArgsProduct({{44, 46, 48, 50, 52}, {kPictureNumbers}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowBySieve)->ArgsProduct({{52, 56, 60, 64}, {1 << 24}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowByTests)->ArgsProduct({{52, 56, 60, 64}, {1 << 24}})->Unit(benchmark::kMillisecond);

// The primality test alone, per number: 4096 primes, or 4096 odd composites with no prime factor
// below 100 (what a window's sieve leaves to it), just above 10^18 or just below 2^64.
std::vector<uint64_t> numbersFrom(uint64_t low, bool primes) {
  std::vector<uint64_t> numbers;
  for (uint64_t n = low | 1; numbers.size() < 4096; n += 2) {
    bool smallFactor = false;
    for (uint64_t p = 3; p < 100; p += 2) smallFactor = smallFactor || n % p == 0;
    if (!smallFactor && numlib::isPrime(n) == primes) numbers.push_back(n);
  }
  return numbers;
}
// The test as a window uses it (eight numbers to a vector where the processor has 52-bit
// multiply-add lanes, else sixteen to the AVX2 half lanes below 2^60), and the same in 64-bit words
// (_words) and in the half lanes (_half_lanes, where the processor has AVX2), to compare them.
void primalityTest(benchmark::State& state, uint64_t low, bool primes,
                   void (*test)(std::span<const uint64_t>, std::span<uint8_t>) = numlib::detail::testPrimality) {
  if (test == numlib::detail::testPrimalityInHalfLanes && !numlib::detail::halfLanesAvailable()) {
    state.SkipWithError("this processor has no AVX2 half lanes");
    return;
  }
  const std::vector<uint64_t> numbers = numbersFrom(low, primes);
  std::vector<uint8_t> prime(numbers.size());
  for (auto _ : state) {
    test(numbers, prime);
    benchmark::DoNotOptimize(prime.data());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * numbers.size()));
}
BENCHMARK_CAPTURE(primalityTest, primes_1e18, 1000000000000000000, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(primalityTest, composites_1e18, 1000000000000000000, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(primalityTest, primes_top, kTop - (uint64_t{1} << 20), true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(primalityTest, composites_top, kTop - (uint64_t{1} << 20), false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(primalityTest, primes_1e18_words, 1000000000000000000, true, numlib::detail::testPrimalityInWords)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(primalityTest, composites_1e18_words, 1000000000000000000, false, numlib::detail::testPrimalityInWords)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(primalityTest, primes_1e18_half_lanes, 1000000000000000000, true, numlib::detail::testPrimalityInHalfLanes)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(primalityTest, composites_1e18_half_lanes, 1000000000000000000, false,
                  numlib::detail::testPrimalityInHalfLanes)
    ->Unit(benchmark::kMicrosecond);

// Many short windows asked at once near 10^18, per window: a far tile's runs of 128 numbers, whose
// starts step 8 more from ring to ring, and windows of 2 numbers at random starts, each on its own.
void BM_FarWindows(benchmark::State& state) {
  const bool runs = state.range(0) != 0;
  const uint64_t count = runs ? 128 : 2;
  constexpr size_t kWindows = 4096;
  std::vector<uint64_t> bits(kWindows * 2);
  std::vector<numlib::BitWindow> windows;
  uint64_t random = 20261209;
  for (size_t k = 0; k < kWindows; ++k) {
    random = random * 6364136223846793005u + 1442695040888963407u;
    const uint64_t ring = 500000000 + k;
    const uint64_t low = runs ? 4 * ring * ring + ring : 1000000000000000000u + (random >> 8);
    windows.push_back({low, count, bits.data() + 2 * k});
  }
  for (auto _ : state) {
    numlib::primeBitsOfWindows(windows);
    benchmark::DoNotOptimize(bits.data());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kWindows));
}
BENCHMARK(BM_FarWindows)->ArgName("runs")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_FactoriseSemiprimeNear2To64(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(numlib::factorise(18446743979220271189u));  // 4294967291 * 4294967279
}
BENCHMARK(BM_FactoriseSemiprimeNear2To64)->Unit(benchmark::kMicrosecond);

void BM_PrimeAfterNear2To64(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(numlib::primeAfter(18446744073709551557u - 2000, kTop));
}
BENCHMARK(BM_PrimeAfterNear2To64)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  for (const Start& start : kStarts) {
    benchmark::RegisterBenchmark((std::string("BM_PrimeBitsOfPicture/") + start.name).c_str(), primeBitsOfPicture, start.low)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((std::string("BM_FactorCountsOfPicture/") + start.name).c_str(), factorCountsOfPicture,
                                 start.low)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
