// The explorer's view: a full view with no tile cached, a pan that reuses all but the new tiles,
// a full view far out, each with 1 and 2 workers; and a soak of random moves that reports the
// peak resident memory, which the tile cache bounds. Beside them, for the ratio of 2 workers to 1:
// the two full views in turn, and the engine's tiles of a view on plain threads.

#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <random>
#include <string>
#include <thread>

#include "BailliePsw.h"
#include "DrawPass.h"
#include "ExploreWindow.h"
#include "OffscreenWindow.h"

namespace {

constexpr QSize kViewSize(1920, 1080);
constexpr int kPanPixels = 96;

long peakResidentKib() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return 0;
}

// Coloured by ring: the cluster colours' walk from the centre is serial and has a benchmark of
// its own (BM_ExploreClusterWalk).
explorer::StoredView onePixelPrimes(spiral::Number start) {
  explorer::StoredView view;
  view.start = view.centre = start;
  view.boxSize = 1;
  view.scheme = spiral::ColorScheme::RingNumber;
  return view;
}

// A window whose view is exactly kViewSize device pixels.
struct ViewWindow {
  SilentDesktop desktop;
  explorer::ExploreWindow window;
  ViewWindow(spiral::Number start, int workers) : window(desktop, onePixelPrimes(start), workers) {
    window.view().setFixedSize(kViewSize);
    window.show();
    window.view().centreOn({0, 0});
  }
  // What a running event loop would have handled by the time a person drags (showing, painting,
  // the ring of tiles drawn ahead around a whole view), so that the timed part does not wade
  // through a queue that only a benchmark lets grow.
  void settle() {
    QCoreApplication::processEvents();
    window.tiles().waitForAll();
  }
};

// Ends an iteration as a running event loop would: without it, events the program posts wait in
// the queue from view to view, and each look into the queue for the tiles' results grows slower.
void closeView(std::unique_ptr<ViewWindow>& view) {
  view.reset();
  QCoreApplication::processEvents();
}

void fullView(benchmark::State& state, spiral::Number start) {
  for (auto _ : state) {
    state.PauseTiming();
    auto view = std::make_unique<ViewWindow>(start, static_cast<int>(state.range(0)));
    state.ResumeTiming();
    benchmark::DoNotOptimize(view->window.view().viewImage());
    state.PauseTiming();
    closeView(view);
    state.ResumeTiming();
  }
}

void BM_ExploreFull(benchmark::State& state) { fullView(state, 1); }
BENCHMARK(BM_ExploreFull)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// Two kinds of full view in turn, view after view, each a fresh window: on a machine whose speed
// drifts from second to second, the ratio of neighbours is steadier than that of two runs. Its own
// time includes making and closing the windows: read its counters, the medians of the views and of
// the second's time over the first's.
struct ViewKind {
  spiral::Number start;
  int workers;
  const char* counter;
};

void viewsInTurn(benchmark::State& state, ViewKind first, ViewKind second) {
  std::vector<double> firstTimes, secondTimes, ratio;
  const auto timed = [](const ViewKind& kind) {
    auto view = std::make_unique<ViewWindow>(kind.start, kind.workers);
    const auto begin = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(view->window.view().viewImage());
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - begin;
    closeView(view);
    return took.count();
  };
  for (auto _ : state) {
    firstTimes.push_back(timed(first));
    secondTimes.push_back(timed(second));
    ratio.push_back(secondTimes.back() / firstTimes.back());
  }
  const auto median = [](std::vector<double> x) {
    std::nth_element(x.begin(), x.begin() + x.size() / 2, x.end());
    return x[x.size() / 2];
  };
  state.counters[first.counter] = median(firstTimes);
  state.counters[second.counter] = median(secondTimes);
  state.counters["ratio"] = median(ratio);
}

// Far out, nearly every number left by the sieve goes to the primality tests, and their speed
// depends on the vectors the processor has: a far figure is compared only with one of the same kind.
void labelWithPrimalityLanes(benchmark::State& state) {
  state.SetLabel(numlib::detail::wideLanesAvailable()   ? "tests in AVX-512 IFMA lanes"
                 : numlib::detail::halfLanesAvailable() ? "tests in AVX2 half lanes"
                                                        : "tests in 64-bit words");
}

// BM_ExploreFull/1 and /2.
void BM_ExploreFullInTurn(benchmark::State& state) { viewsInTurn(state, {1, 1, "full1_ms"}, {1, 2, "full2_ms"}); }
BENCHMARK(BM_ExploreFullInTurn)->Unit(benchmark::kMillisecond)->UseRealTime();

// BM_ExploreFull/2 and BM_ExploreFullFar/2.
void BM_ExploreFarInTurn(benchmark::State& state) {
  viewsInTurn(state, {1, 2, "full2_ms"}, {1000000000000000000ULL, 2, "far2_ms"});
  labelWithPrimalityLanes(state);
}
BENCHMARK(BM_ExploreFarInTurn)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ExploreFullFar(benchmark::State& state) {
  fullView(state, 1000000000000000000ULL);
  labelWithPrimalityLanes(state);
}
BENCHMARK(BM_ExploreFullFar)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The yardstick of a worker's cost per cell: the renderer's draw pass, on one thread, over a
// square picture of as many cells as the full view, at the same start, scheme and class.
void BM_RendererPassOfAView(benchmark::State& state) {
  constexpr int kSide = 1440;
  static_assert(kSide * kSide == kViewSize.width() * kViewSize.height());
  spiral::DrawSettings settings = spiral::drawSettingsOf(explorer::viewSettingsOf(onePixelPrimes(1)));
  settings.threads = 1;
  spiral::Picture picture(kSide, kSide);
  for (auto _ : state) benchmark::DoNotOptimize(spiral::drawSpiral(settings, picture).shownCount);
}
BENCHMARK(BM_RendererPassOfAView)->Unit(benchmark::kMillisecond)->UseRealTime();

// The engine's share of BM_ExploreFull/1: the tiles of the same view drawn one after the other on
// this thread, as a worker draws them, without the pool, the cache or the composed image. The first
// argument 1: each tile keeps its per-cell counts, as the explorer asks; the second 1: the tiles stay
// alive until the view is drawn, as in the cache, so that each is drawn into memory not in use.
std::shared_ptr<explorer::Tile> drawnTile(const explorer::TileKey& key, const spiral::TileContext& context) {
  auto tile = std::make_shared<explorer::Tile>(key.rect());
  tile->result = spiral::drawTile(key.settings, key.rect(), tile->picture, context);
  return tile;
}

void BM_TilesOfAView(benchmark::State& state) {
  const std::vector<explorer::TileKey> keys = ViewWindow(1, 1).window.view().visibleTiles();
  spiral::TileContext context;
  context.marksOwnCells = state.range(0) != 0;
  std::vector<std::shared_ptr<explorer::Tile>> kept;
  for (auto _ : state) {
    for (const explorer::TileKey& key : keys) {
      std::shared_ptr<explorer::Tile> tile = drawnTile(key, context);
      benchmark::DoNotOptimize(tile->result.shownCount);
      if (state.range(1)) kept.push_back(tile);
    }
    kept.clear();
  }
}
BENCHMARK(BM_TilesOfAView)->Args({0,0})->Args({1,0})->Args({1,1})->Unit(benchmark::kMillisecond)->UseRealTime();

// The same tiles shared out over N plain threads, started for each view, each taking the next tile
// in turn: how far the engine alone scales, beside BM_ExploreFull/N with its pool, cache and
// composed view.
void BM_TilesOfAViewOnThreads(benchmark::State& state) {
  const std::vector<explorer::TileKey> keys = ViewWindow(1, 1).window.view().visibleTiles();
  spiral::TileContext context;
  context.marksOwnCells = true;
  const auto threads = static_cast<int>(state.range(0));
  for (auto _ : state) {
    std::vector<std::shared_ptr<explorer::Tile>> kept(keys.size());
    std::atomic<size_t> next{0};
    const auto draw = [&] {
      for (size_t k; (k = next++) < keys.size();) kept[k] = drawnTile(keys[k], context);
    };
    std::vector<std::thread> others;
    for (int t = 1; t < threads; ++t) others.emplace_back(draw);
    draw();
    for (std::thread& other : others) other.join();
  }
}
BENCHMARK(BM_TilesOfAViewOnThreads)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ExplorePan(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto view = std::make_unique<ViewWindow>(1, static_cast<int>(state.range(0)));
    view->window.view().viewImage();
    view->settle();
    state.ResumeTiming();
    view->window.view().panBy(kPanPixels, 0);
    benchmark::DoNotOptimize(view->window.view().viewImage());
    state.PauseTiming();
    closeView(view);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ExplorePan)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// Pans to and fro in one window whose tiles are all drawn: what a pan costs while the view image
// stays in the caches, beside BM_ExplorePan, the first pan after a full view and its painting.
void BM_ExplorePanSteady(benchmark::State& state) {
  ViewWindow view(1, 2);
  view.window.view().viewImage();
  view.settle();  // the ring of tiles around the view, which the pans reach
  int sign = 1;
  for (auto _ : state) {
    view.window.view().panBy(sign * kPanPixels, 0);
    benchmark::DoNotOptimize(view.window.view().viewImage());
    sign = -sign;
  }
}
BENCHMARK(BM_ExplorePanSteady)->Unit(benchmark::kMillisecond)->UseRealTime();

// The first paint after a zoom in about a whole view, before any tile of the new level is drawn:
// each tile in view shows its stand-in, made from the coarser level's tiles.
void BM_ExploreZoomInPaint(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto view = std::make_unique<ViewWindow>(1, 2);
    view->window.view().viewImage();
    view->settle();
    view->window.view().zoomAboutMiddle(1);
    state.ResumeTiming();
    view->window.view().grab();
    state.PauseTiming();
    closeView(view);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ExploreZoomInPaint)->Unit(benchmark::kMillisecond)->UseRealTime();

// Random pans, zooms and changes of class, scheme and start, each view drawn in full. The starts
// stay below 2^31, where a tile costs milliseconds: the soak is about memory, not far numbers.
void BM_ExploreSoak(benchmark::State& state) {
  ViewWindow view(1, 2);
  explorer::ExploreView& v = view.window.view();
  v.setFixedSize(320, 240);
  std::mt19937_64 random(20261207);
  for (auto _ : state) {
    for (int64_t i = 0; i < state.range(0); ++i) {
      spiral::ViewSettings settings = v.settings();
      switch (random() % 4) {
        case 0: v.panBy(static_cast<int>(random() % 2001) - 1000, static_cast<int>(random() % 2001) - 1000); break;
        case 1: v.zoomAboutMiddle(random() % 2 == 0 ? 1 : -1); break;
        case 2:
          settings.numberClass = spiral::kNumberClasses[random() % spiral::kNumberClasses.size()].numberClass;
          settings.colorScheme = spiral::kSchemes[random() % spiral::kSchemes.size()].scheme;
          v.setSettings(settings);
          break;
        default:
          settings.start = settings.randomSeed = 1 + random() % (spiral::Number{1} << 31);
          v.setSettings(settings);
      }
      v.viewImage();
    }
  }
  state.counters["peak_rss_mib"] = static_cast<double>(peakResidentKib()) / 1024;
  state.counters["cache_mib"] = static_cast<double>(view.window.tiles().cache().bytes()) / (1 << 20);
}
BENCHMARK(BM_ExploreSoak)->Arg(10000)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) { return runOffscreenBenchmarks(argc, argv); }
