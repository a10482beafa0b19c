// spirelle-explore: roams the square spiral of the whole numbers anywhere below 2^64.

#include <cstdio>
#include <string>
#include <variant>
#include <vector>

#include <QApplication>

#include "Desktop.h"
#include "ExploreLaunch.h"
#include "ExploreWindow.h"
#include "PictureImage.h"
#include "SettingsStore.h"
#include "WordTable.h"

int main(int argc, char* argv[]) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const auto parsed = explorer::parseExploreArguments(arguments);
  if (const auto* error = std::get_if<explorer::UsageError>(&parsed)) {
    std::fprintf(stderr, "spirelle-explore: %s\n\n%s", error->message.c_str(), explorer::usageText().c_str());
    return explorer::kExitUsage;
  }
  const explorer::ExploreOptions& options = std::get<explorer::ExploreOptions>(parsed);
  if (options.help || options.version) {
    std::fputs((options.help ? explorer::usageText() : explorer::versionText()).c_str(), stdout);
    return 0;
  }
  int qtArgc = 1;  // every argument is the explorer's own
  QApplication application(qtArgc, argv);
  QGuiApplication::setDesktopFileName(QStringLiteral("spirelle-explore"));
  spiral::installQtTextDrawing();  // numerals in the cells
  platform::QtDesktop desktop;
  const QString windowStore = app::GetDataFilePath(QStringLiteral("spl.usr"), QStringLiteral("Corvanel Works"));
  language::intLanguage = explorer::chooseLanguage(options.language, windowStore, desktop.systemLocale());
  const QString settingsPath = explorer::exploreSettingsPath();
  const explorer::ExploreSettings stored = explorer::readExploreSettings(settingsPath);
  explorer::ExploreWindow window(desktop, explorer::chooseView(options, stored.view), 0, settingsPath);
  if (stored.geometry) window.setGeometry(*stored.geometry);
  if (stored.maximized) {
    window.showMaximized();
  } else {
    window.show();
  }
  return QApplication::exec();
}
