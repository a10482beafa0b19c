// The main window: opening it, up to the first drawn spiral, and the number inspector's tooltip at
// the top of the window's range, offscreen.

#include <benchmark/benchmark.h>

#include <vector>

#include <QComboBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolTip>

#include "Choices.h"
#include "OffscreenWindow.h"
#include "PictureImage.h"
#include "SpiralView.h"
#include "frmMain.h"

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

// From the pointer's rest to the tooltip's text, with the rays through the cell worked out and
// outlined: the window's largest numbers in its most cells (1-pixel cells of all numbers, so every
// cell is shown). The pointer rests on one cell after another: on a grid of cells spread over the
// picture, three rays each (argument 0), or around the centre, where five or eight rays meet (1).
void BM_TooltipAtTopOfRange(benchmark::State& state) {
  SilentDesktop desktop;
  frmMain window(desktop);
  window.Form_Load();
  window.cboBoxSize->setCurrentIndex(window.cboBoxSize->findData(1));
  window.cboShow->setCurrentIndex(window.cboShow->findData(static_cast<int>(spiral::NumberClass::All)));
  window.optSquares->setChecked(true);
  const int64_t count = int64_t{window.picture.width()} * window.picture.height();
  window.txbStartNumber->setText(QString::number(spiral::largestStart(spiral::kWindowRange, spiral::NumberClass::All, count)));
  window.cmdDraw->click();
  if (window.lastPass.geometry.boxSize != 1 || window.numberTipAt(3, 3).isEmpty()) {
    state.SkipWithError("the 1-pixel picture of all numbers at the top was not drawn");
    return;
  }

  const QPoint centre(window.lastPass.geometry.centerX, window.lastPass.geometry.centerY);
  std::vector<QPoint> points;
  if (state.range(0) == 0) {
    for (int y = 7; y < window.picture.height(); y += 32)
      for (int x = 11; x < window.picture.width(); x += 32) points.emplace_back(x, y);
  } else {
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) points.push_back(centre + QPoint(dx, dy));
  }
  size_t next = 0;
  for (auto _ : state) {
    const QPoint at = points[next] + QPoint(SpiralView::kBorder, SpiralView::kBorder);
    next = (next + 1) % points.size();
    QHelpEvent rest(QEvent::ToolTip, at, window.picSpiral->mapToGlobal(at));
    QApplication::sendEvent(window.picSpiral, &rest);
    benchmark::DoNotOptimize(QToolTip::text());
  }
  QToolTip::hideText();
}
BENCHMARK(BM_TooltipAtTopOfRange)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) { return runOffscreenBenchmarks(argc, argv); }
