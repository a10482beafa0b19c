#pragma once
// The command line of spirelle-explore: the renderer's names and values for the view's choices, read
// before any window exists. Standard C++ only.

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "Choices.h"

namespace explorer {

// The exit status when the arguments cannot be read, as the renderer's.
inline constexpr int kExitUsage = 64;

struct ExploreOptions {
  spiral::Number start = 1;
  std::optional<spiral::Number> centre;  // the number in the middle of the view; the start when none
  int boxSize = 7;
  bool squares = false;
  spiral::ColorScheme scheme = spiral::ColorScheme::Cluster;
  spiral::NumberClass numberClass = spiral::NumberClass::Primes;
  bool grid = false;
  bool numerals = false;
  std::string showIf;           // an own rule instead of the class; empty: none
  std::optional<int> language;  // a language slot; none: the window's stored choice, then the locale
  bool viewGiven = false;       // an option named the view: the last view is not restored
  bool help = false;
  bool version = false;
};

struct UsageError {
  std::string message;
};

// Reads the arguments after the program's name. Never throws and never exits.
std::variant<ExploreOptions, UsageError> parseExploreArguments(const std::vector<std::string>& arguments);

std::string usageText();
std::string versionText();

}  // namespace explorer
