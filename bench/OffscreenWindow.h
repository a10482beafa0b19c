#pragma once
// What the window benchmarks share: a desktop that answers every dialog at once, and a main that
// runs the benchmarks offscreen, without a settings store (the first run).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include "SilentDesktop.h"

inline int runOffscreenBenchmarks(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir configHome;
  qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
