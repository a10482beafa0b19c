// The engine's hot paths: whole draw passes, the diagonal measure and the number service.

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "Diagonals.h"
#include "DrawPass.h"
#include "PictureImage.h"
#include "numlib.h"

using namespace spiral;

namespace {

constexpr int64_t kTopOnePixelStart = 2147210118;  // the largest start a 1-pixel picture allows

DrawSettings onePixel(NumberClass numberClass, ColorScheme scheme, int64_t start) {
  DrawSettings settings;
  settings.start = start;
  settings.boxSize = 1;
  settings.numberClass = numberClass;
  settings.colorScheme = scheme;
  return settings;
}

void runPasses(benchmark::State& state, const DrawSettings& settings) {
  Picture picture;
  for (auto _ : state) {
    const DrawOutcome outcome = drawSpiral(settings, picture);
    benchmark::DoNotOptimize(outcome.shownCount);
  }
}

void BM_OnePixelPrimesClusterAtTop(benchmark::State& state) {
  runPasses(state, onePixel(NumberClass::Primes, ColorScheme::Cluster, kTopOnePixelStart));
}
BENCHMARK(BM_OnePixelPrimesClusterAtTop)->Unit(benchmark::kMillisecond);

// Every pass lands in a part of the range the number service has not sieved yet.
void BM_OnePixelPrimesClusterColdCache(benchmark::State& state) {
  Picture picture;
  int64_t start = 1000000000;
  for (auto _ : state) {
    start = start >= 2000000000 ? 1000000000 : start + 10000000;
    const DrawOutcome outcome = drawSpiral(onePixel(NumberClass::Primes, ColorScheme::Cluster, start), picture);
    benchmark::DoNotOptimize(outcome.shownCount);
  }
}
BENCHMARK(BM_OnePixelPrimesClusterColdCache)->Unit(benchmark::kMillisecond);

void BM_OnePixelVeltraAllAtTop(benchmark::State& state) {
  runPasses(state, onePixel(NumberClass::All, ColorScheme::Veltra, kTopOnePixelStart));
}
BENCHMARK(BM_OnePixelVeltraAllAtTop)->Unit(benchmark::kMillisecond);

void BM_OnePixelDiagonalsBoth(benchmark::State& state) {
  Picture picture;
  const DrawOutcome outcome =
      drawSpiral(onePixel(NumberClass::Primes, ColorScheme::Cluster, kTopOnePixelStart), picture);
  for (auto _ : state) {
    benchmark::DoNotOptimize(longestDiagonal(picture, outcome.geometry, true));
    benchmark::DoNotOptimize(longestDiagonal(picture, outcome.geometry, false));
  }
}
BENCHMARK(BM_OnePixelDiagonalsBoth)->Unit(benchmark::kMillisecond);

void BM_CalculatePrimes(benchmark::State& state) {
  for (auto _ : state) calculate_primes(2147483646);
}
BENCHMARK(BM_CalculatePrimes)->Unit(benchmark::kMillisecond);

void BM_ThreePixelPrimesCluster(benchmark::State& state) {
  DrawSettings settings = onePixel(NumberClass::Primes, ColorScheme::Cluster, 1000000);
  settings.boxSize = 3;
  runPasses(state, settings);
}
BENCHMARK(BM_ThreePixelPrimesCluster)->Unit(benchmark::kMillisecond);

void BM_SeventyFivePixelNumerals(benchmark::State& state) {
  DrawSettings settings = onePixel(NumberClass::All, ColorScheme::RingNumber, 1000000);
  settings.boxSize = 75;
  settings.squares = true;
  settings.numerals = true;
  runPasses(state, settings);
}
BENCHMARK(BM_SeventyFivePixelNumerals)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);  // fonts for the numerals
  installQtTextDrawing();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
