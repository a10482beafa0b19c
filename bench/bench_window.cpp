// Opening the main window: construction and start-up up to the first drawn spiral, offscreen.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include "app/frmMain.h"
#include "platform/Desktop.h"

namespace {

// Answers nothing: start-up without a store shows no message box.
class SilentDesktop : public platform::Desktop {
 public:
  Answer showMessage(QWidget*, const QString&, const QString&, Buttons, Icon) override { return Answer::Ok; }
  QString askSaveFileName(QWidget*, const QString&, const QString&) override { return {}; }
  int openUrl(const QString&) override { return 42; }
};

void BM_StartUpToFirstPicture(benchmark::State& state) {
  SilentDesktop desktop;
  for (auto _ : state) {
    frmMain window(desktop);
    window.Form_Load();
    benchmark::DoNotOptimize(window.picture.image().constBits());
  }
}
BENCHMARK(BM_StartUpToFirstPicture)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir configHome;  // no settings store: the first run
  qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
