// Soak: many animation steps and many 1-pixel passes must not make the program grow. Reports the
// growth of the resident memory over the run (counter rss_growth_kib); it should stay within 2 MiB.

#include <benchmark/benchmark.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTimer>

#include <fstream>

#include <unistd.h>

#include "OffscreenWindow.h"
#include "frmMain.h"

namespace {

constexpr int kOnePixelIndex = 0;
constexpr int kThreePixelIndex = 1;
constexpr int kWarmUp = 50;

long residentKib() {
  long pages = 0, resident = 0;
  std::ifstream("/proc/self/statm") >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Spiral In from 1 on 3-pixel cells, its ticks driven directly from inside the wait loop.
void BM_SoakAnimationSteps(benchmark::State& state) {
  SilentDesktop desktop;
  frmMain window(desktop);
  window.Form_Load();
  window.cboBoxSize->setCurrentIndex(kThreePixelIndex);
  long before = 0, after = 0;
  QTimer::singleShot(0, &window, [&] {
    for (int i = 0; i < kWarmUp; ++i) window.ClkClock_Timer();
    before = residentKib();
    for (auto _ : state) {
      for (int64_t i = 0; i < state.range(0); ++i) window.ClkClock_Timer();
    }
    after = residentKib();
    window.cmdStopButton_Click();
  });
  window.cmdSpiralIn_Click();
  state.counters["rss_growth_kib"] = static_cast<double>(after - before);
  state.counters["rss_kib"] = static_cast<double>(after);
}
BENCHMARK(BM_SoakAnimationSteps)->Arg(10000)->Iterations(1)->Unit(benchmark::kSecond);

// Whole 1-pixel passes of the window, each from another start number.
void BM_SoakOnePixelPasses(benchmark::State& state) {
  SilentDesktop desktop;
  frmMain window(desktop);
  window.Form_Load();
  window.cboBoxSize->setCurrentIndex(kOnePixelIndex);
  int64_t start = 1;
  const auto pass = [&] {
    start += 104729;
    window.txbStartNumber->setText(QString::number(start));
    window.DrawSpiral();
  };
  for (int i = 0; i < kWarmUp; ++i) pass();
  const long before = residentKib();
  for (auto _ : state) {
    for (int64_t i = 0; i < state.range(0); ++i) pass();
  }
  const long after = residentKib();
  state.counters["rss_growth_kib"] = static_cast<double>(after - before);
  state.counters["rss_kib"] = static_cast<double>(after);
}
BENCHMARK(BM_SoakOnePixelPasses)->Arg(1000)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) { return runOffscreenBenchmarks(argc, argv); }
