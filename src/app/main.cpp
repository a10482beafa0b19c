// Spirelle: draws the whole numbers as a square spiral and marks primes and other classes in it.

#include <cstdio>
#include <cstring>

#include <QApplication>

#include "app/frmMain.h"
#include "platform/Desktop.h"

namespace {

constexpr char kUsage[] =
    "Usage: spirelle [--help | --version]\n"
    "Opens the Spirelle window: the whole numbers drawn as a square spiral, with the primes or\n"
    "another class of numbers marked. Every choice is made in the window and kept for the next run.\n"
    "\n"
    "  --help            print this text\n"
    "  --version         print the name and version\n";

// --help and --version answer on stdout and end the run before any window (or display) is needed.
// Any other argument is left to Qt, as before.
bool answeredFromCommandLine(int argc, char* argv[]) {
  if (argc != 2) return false;
  if (std::strcmp(argv[1], "--version") == 0) {
    std::fputs("spirelle (Spirelle) " SPIRELLE_VERSION "\n", stdout);
    return true;
  }
  if (std::strcmp(argv[1], "--help") == 0) {
    std::fputs(kUsage, stdout);
    return true;
  }
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (answeredFromCommandLine(argc, argv)) return 0;
  QApplication application(argc, argv);
  platform::QtDesktop desktop;
  frmMain window(desktop);
  window.Form_Load();
  return QApplication::exec();
}
