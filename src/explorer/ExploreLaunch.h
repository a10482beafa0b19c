#pragma once
// How the explorer starts: its language and its first view, from the command line, the stored
// settings and the desktop.

#include <optional>

#include <QLocale>
#include <QString>

#include "ExploreOptions.h"
#include "ExploreSettings.h"

namespace explorer {

// The language slot: the command line's, else the one the window keeps in its store at
// `windowStorePath`, else the desktop locale's.
int chooseLanguage(std::optional<int> fromCommandLine, const QString& windowStorePath, const QLocale& locale);

// The view to open: the command line's when it names one, else the stored last view.
StoredView chooseView(const ExploreOptions& options, const StoredView& stored);

}  // namespace explorer
