#include "Launch.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include <QGuiApplication>

#include "LanguageSlots.h"

namespace app {

namespace {

constexpr std::string_view kLanguageOption = "--language";

std::string languageNames() { return spiral::choiceList<int>(language::kLanguageNames); }

// Reads the value of --language into `options`, or says what is wrong with it.
void readLanguage(std::string_view value, LaunchOptions& options) {
  options.language = spiral::choiceNamed<int>(language::kLanguageNames, value);
  if (!options.language) {
    options.problem = std::string(kLanguageOption) + ": '" + std::string(value) + "' is not one of " + languageNames();
  }
}

}  // namespace

LaunchOptions takeLaunchOptions(int& argc, char* argv[]) {
  const std::string withValue = std::string(kLanguageOption) + "=";
  LaunchOptions options;
  int kept = 1;  // the program's name stays
  for (int i = 1; i < argc && options.problem.empty(); ++i) {
    const std::string_view argument = argv[i];
    if (argument == kLanguageOption && i + 1 < argc) {
      readLanguage(argv[++i], options);
    } else if (argument == kLanguageOption) {
      options.problem = std::string(kLanguageOption) + " needs a value, one of " + languageNames();
    } else if (argument.starts_with(withValue)) {
      readLanguage(argument.substr(withValue.size()), options);
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  argv[argc] = nullptr;  // as the system hands argv over
  return options;
}

std::string usageText() {
  return "Usage: spirelle [--language LANG]\n"
         "  or:  spirelle --help | --version\n"
         "Opens the Spirelle window: the whole numbers drawn as a square spiral, with the primes or\n"
         "another class of numbers marked. Every choice is made in the window and kept for the next run.\n"
         "\n"
         "  --language LANG   the window's language, one of " + languageNames() + "; kept for the next run\n"
         "                    (a first run takes the desktop's language, German or else English)\n"
         "  --help            print this text\n"
         "  --version         print the name and version\n";
}

void introduceToDesktop() { QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopFileName)); }

}  // namespace app
