#pragma once
// How the window program is launched: its command line and its place on the desktop. --help and
// --version are answered before any window exists; --language is taken out of the arguments for
// the window, and everything else is left to Qt.

#include <optional>
#include <string>

namespace app {

// The exit status when the arguments cannot be read.
inline constexpr int kExitUsage = 64;

// The name of the program's desktop entry, spirelle.desktop, without its extension: the desktop
// matches the program's windows to the entry by it.
inline constexpr char kDesktopFileName[] = "spirelle";

struct LaunchOptions {
  std::optional<int> language;  // --language: the language slot that wins over the stored one
  std::string problem;          // why the arguments cannot be read; empty when they can
};

// Takes --language LANG and --language=LANG out of argv (the last one counts) and lowers argc to
// match; the other arguments stay, in their order, for Qt.
LaunchOptions takeLaunchOptions(int& argc, char* argv[]);

// The text of --help: every option the program reads itself.
std::string usageText();

// Tells the desktop which entry the running program belongs to (kDesktopFileName). Needs the
// application object.
void introduceToDesktop();

}  // namespace app
