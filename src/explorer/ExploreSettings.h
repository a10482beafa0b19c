#pragma once
// The explorer's own settings file: its window's place and size and the last view, kept between runs
// in a small JSON file beside the window's store. Written all or nothing; a file that is missing,
// unreadable or not the explorer's gives the defaults.

#include <optional>
#include <string>

#include <QRect>
#include <QString>

#include "Choices.h"

namespace explorer {

// The view as it is kept: the spiral, where its middle is and how large its cells are.
struct StoredView {
  spiral::Number start = 1;
  spiral::Number centre = 1;   // the number in the view's middle
  int boxSize = 7;             // a cell's side in pixels
  int cellsPerPixel = 1;       // above 1: one pixel stands for that many cells a side
  bool squares = false;
  spiral::ColorScheme scheme = spiral::ColorScheme::Cluster;
  spiral::NumberClass numberClass = spiral::NumberClass::Primes;
  bool grid = false;
  bool numerals = false;
  std::string ownRule;         // the last own rule taken, in the renderer's --show-if language; empty: none
  bool showsOwnRule = false;   // the rule shows instead of numberClass
  bool operator==(const StoredView&) const = default;
};

struct ExploreSettings {
  std::optional<QRect> geometry;  // none: 1024 x 768, placed by the desktop
  bool maximized = false;
  StoredView view;
  bool operator==(const ExploreSettings&) const = default;
};

QByteArray formatExploreSettings(const ExploreSettings& settings);
// The settings of a file's bytes; the defaults for anything that is not an explorer settings file.
// A value that is missing or out of range takes its default alone.
ExploreSettings parseExploreSettings(const QByteArray& bytes);

ExploreSettings readExploreSettings(const QString& path);
bool writeExploreSettings(const QString& path, const ExploreSettings& settings);

// Where the explorer keeps its settings: beside the window's store, in the user's config folder.
QString exploreSettingsPath();

}  // namespace explorer
