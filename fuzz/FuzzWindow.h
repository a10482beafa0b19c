#pragma once
// A main window for the harnesses: offscreen, its own settings folder, every dialog answered at once.

#include <memory>

#include <QApplication>
#include <QTemporaryDir>

#include "frmMain.h"
#include "SilentDesktop.h"

// Built once per harness process, on first use.
inline frmMain& fuzzWindow() {
  static int argc = 1;
  static char name[] = "fuzz";
  static char* argv[] = {name, nullptr};
  static QTemporaryDir* configHome = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    auto* dir = new QTemporaryDir;
    qputenv("XDG_CONFIG_HOME", dir->path().toLocal8Bit());
    return dir;
  }();
  static auto* application = new QApplication(argc, argv);
  static SilentDesktop desktop;
  static frmMain* window = [] {
    auto* w = new frmMain(desktop);
    w->Form_Load();
    return w;
  }();
  (void)configHome;
  (void)application;
  return *window;
}
