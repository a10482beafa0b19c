// The engine's hot paths: whole draw passes, the diagonal measure, the line lens and the number
// service.

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "ClusterColours.h"
#include "Diagonals.h"
#include "DrawPass.h"
#include "LineLens.h"
#include "PictureImage.h"
#include "Tiles.h"
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

// The pass that records what it shows, for the line lens.
void BM_OnePixelPrimesClusterAtTopRecorded(benchmark::State& state) {
  DrawSettings settings = onePixel(NumberClass::Primes, ColorScheme::Cluster, kTopOnePixelStart);
  settings.recordShown = true;
  runPasses(state, settings);
}
BENCHMARK(BM_OnePixelPrimesClusterAtTopRecorded)->Unit(benchmark::kMillisecond);

// The window's tooltip at the top of its range: the lens over the pass and the facts of the rays
// through one cell, the centre's eight (argument 0) or a plain cell's three (1).
void BM_LineLensOfOneCellAtTop(benchmark::State& state) {
  DrawSettings settings = onePixel(NumberClass::Primes, ColorScheme::Cluster, kTopOnePixelStart);
  settings.recordShown = true;
  Picture picture;
  const DrawOutcome outcome = drawSpiral(settings, picture);
  const Cell cell = state.range(0) == 0 ? Cell{0, 0} : Cell{-100, 37};
  for (auto _ : state) {
    const LineLens lens(outcome);
    benchmark::DoNotOptimize(lens.raysThrough(cell));
  }
}
BENCHMARK(BM_LineLensOfOneCellAtTop)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The renderer's line list: every ray of a 1-pixel picture from 1 and the 20 with the most primes.
void BM_BestRaysFromOne(benchmark::State& state) {
  DrawSettings settings = onePixel(NumberClass::Primes, ColorScheme::Cluster, 1);
  settings.recordShown = true;
  Picture picture;
  const DrawOutcome outcome = drawSpiral(settings, picture);
  for (auto _ : state) benchmark::DoNotOptimize(LineLens(outcome).bestRays(20));
}
BENCHMARK(BM_BestRaysFromOne)->Unit(benchmark::kMillisecond);

// Tiles against the pass over as many cells: 523 x 523 1-pixel cells of primes, by ring, at a
// height of 1, 10^12 and 10^18. The pass starts there; the tiles (128 x 128 pixels, one after
// the other, as one worker draws them) lie around that number's cell in the spiral of 1.
constexpr Number kHeights[] = {1, 1000000000000ULL, 1000000000000000000ULL};

void BM_PassAtHeight(benchmark::State& state) {
  DrawSettings settings = onePixel(NumberClass::Primes, ColorScheme::RingNumber, 1);
  settings.start = kHeights[state.range(0)];
  settings.range = kWholeRange;
  runPasses(state, settings);
}
BENCHMARK(BM_PassAtHeight)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_TilesAtHeight(benchmark::State& state) {
  const ViewSettings view{.start = 1, .zoom = 7, .numerals = false, .colorScheme = ColorScheme::RingNumber};
  const CellPos centre = *cellOfNumber(1, kHeights[state.range(0)]);
  constexpr int kSide = kPictureSize, kTile = 128;
  for (auto _ : state) {
    for (int y = 0; y < kSide; y += kTile) {
      for (int x = 0; x < kSide; x += kTile) {
        const PlaneRect rect{centre.column - kSide / 2 + x, centre.row - kSide / 2 + y, std::min(kTile, kSide - x),
                             std::min(kTile, kSide - y)};
        Picture out(rect.width, rect.height);
        benchmark::DoNotOptimize(drawTile(view, rect, out).shownCount);
      }
    }
  }
}
BENCHMARK(BM_TilesAtHeight)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// The cluster colours of primes from 1 over their whole reach, once per view; their memory as a
// counter.
void BM_ClusterColoursFromOne(benchmark::State& state) {
  const ViewSettings view{.start = 1};
  size_t bytes = 0;
  for (auto _ : state) bytes = ClusterColours::compute(view)->bytes();
  state.counters["MiB"] = static_cast<double>(bytes) / (1 << 20);
}
BENCHMARK(BM_ClusterColoursFromOne)->Unit(benchmark::kMillisecond)->Iterations(1);

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
