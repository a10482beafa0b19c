// Opening the main window: construction and start-up up to the first drawn spiral, offscreen.

#include <benchmark/benchmark.h>

#include "OffscreenWindow.h"
#include "app/frmMain.h"
#include "PictureImage.h"

namespace {

void BM_StartUpToFirstPicture(benchmark::State& state) {
  SilentDesktop desktop;
  for (auto _ : state) {
    frmMain window(desktop);
    window.Form_Load();
    benchmark::DoNotOptimize(spiral::imageOf(window.picture).constBits());
  }
}
BENCHMARK(BM_StartUpToFirstPicture)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) { return runOffscreenBenchmarks(argc, argv); }
