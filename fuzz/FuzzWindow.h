#pragma once
// A main window for the harnesses: offscreen, its own settings folder, every dialog answered at once.

#include <memory>

#include <QApplication>
#include <QTemporaryDir>

#include "app/frmMain.h"
#include "platform/Desktop.h"

class SilentDesktop : public platform::Desktop {
 public:
  Answer showMessage(QWidget*, const QString&, const QString&, Buttons, Icon) override { return Answer::Ok; }
  QString askSaveFileName(QWidget*, const QString&, const QString&) override { return {}; }
  int openUrl(const QString&) override { return 42; }
};

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
