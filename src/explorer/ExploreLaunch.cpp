#include "ExploreLaunch.h"

#include "LanguageSlots.h"
#include "SettingsStore.h"

namespace explorer {

int chooseLanguage(std::optional<int> fromCommandLine, const QString& windowStorePath, const QLocale& locale) {
  if (fromCommandLine) return *fromCommandLine;
  const std::optional<app::StoredSettings> window = app::readSettingsFile(windowStorePath);
  const bool known = window && window->version == app::kSettingsVersion &&
                     (window->language == language::kEnglish || window->language == language::kGerman);
  return known ? window->language : app::languageOf(locale);
}

StoredView chooseView(const ExploreOptions& options, const StoredView& stored) {
  if (!options.viewGiven) return stored;
  StoredView view;
  view.start = options.start;
  view.centre = options.centre.value_or(options.start);
  view.boxSize = options.boxSize;
  view.squares = options.squares;
  view.scheme = options.scheme;
  view.numberClass = options.numberClass;
  view.grid = options.grid;
  view.numerals = options.numerals;
  view.ownRule = options.showIf.empty() ? stored.ownRule : options.showIf;  // the last rule stays at hand
  view.showsOwnRule = !options.showIf.empty();
  return view;
}

}  // namespace explorer
