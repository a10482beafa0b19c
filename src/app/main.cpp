// Spirelle: draws the whole numbers as a square spiral and marks primes and other classes in it.

#include <cstdio>
#include <cstring>

#include <QApplication>

#include "Launch.h"
#include "frmMain.h"
#include "Desktop.h"

namespace {

// --help and --version answer on stdout and end the run before any window (or display) is needed.
bool answeredFromCommandLine(int argc, char* argv[]) {
  if (argc != 2) return false;
  if (std::strcmp(argv[1], "--version") == 0) {
    std::fputs("spirelle (Spirelle) " SPIRELLE_VERSION "\n", stdout);
    return true;
  }
  if (std::strcmp(argv[1], "--help") == 0) {
    std::fputs(app::usageText().c_str(), stdout);
    return true;
  }
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (answeredFromCommandLine(argc, argv)) return 0;
  // The window's own options; any other argument is left to Qt, as before.
  const app::LaunchOptions options = app::takeLaunchOptions(argc, argv);
  if (!options.problem.empty()) {
    std::fprintf(stderr, "spirelle: %s\n\n%s", options.problem.c_str(), app::usageText().c_str());
    return app::kExitUsage;
  }
  QApplication application(argc, argv);
  app::introduceToDesktop();
  platform::QtDesktop desktop;
  frmMain window(desktop);
  window.languageFromCommandLine = options.language;
  window.Form_Load();
  return QApplication::exec();
}
