#include "ExploreOptions.h"

#include <functional>
#include <span>

#include <CLI/CLI.hpp>

#include "CheckedOptions.h"

#include "ChoiceNames.h"
#include "LanguageSlots.h"
#include "Rule.h"
#include "StartNumber.h"

namespace explorer {
namespace {

using cli::inQuotes;
using cli::StoreValue;
using cli::storeChoice;

// A number of the spiral, read as the start-number box reads it: blanks around the digits are
// ignored, empty means 1, and no number passes 2^64 - 1.
StoreValue storeNumber(spiral::Number& target) {
  return [&target](const std::string& value) -> std::string {
    const spiral::StartNumber number = spiral::parseStartNumber(value, spiral::kWholeRange);
    if (!number.digitsOnly) return inQuotes(value) + " is not a whole number of decimal digits";
    if (number.refusal != spiral::Refusal::None || number.value == 0) {
      return inQuotes(value) + " is not a number from 1 to 18446744073709551615";
    }
    target = number.value;
    return {};
  };
}

class CommandLine {
 public:
  explicit CommandLine(ExploreOptions& options) : options_(options) {
    app_.set_help_flag();
    app_.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    addValue("--start", "N", "the start number S, in the centre of the spiral, 1 to 2^64 - 1 (default 1)",
             storeNumber(options.start));
    addValue("--centre", "N", "the number whose cell is in the middle of the view, S or above (default S)",
             [&options](const std::string& value) { return storeNumber(options.centre.emplace())(value); });
    addValue("--cell", "PIXELS", "cell size, one of " + spiral::choiceList<int>(spiral::kCellSizeNames) + " (default 7)",
             storeChoice<int>(spiral::kCellSizeNames, options.boxSize));
    addValue("--shape", "SHAPE", spiral::choiceList<bool>(spiral::kShapeNames) + " (default circles)",
             storeChoice<bool>(spiral::kShapeNames, options.squares));
    addValue("--scheme", "SCHEME",
             "colour scheme, one of " + spiral::choiceList<spiral::ColorScheme>(spiral::kSchemeNames) + " (default cluster)",
             storeChoice<spiral::ColorScheme>(spiral::kSchemeNames, options.scheme));
    addValue("--show", "CLASS",
             "the numbers to mark, one of " + spiral::choiceList<spiral::NumberClass>(spiral::kClassNames) +
                 " (default primes)",
             storeChoice<spiral::NumberClass>(spiral::kClassNames, options.numberClass));
    addValue("--show-if", "EXPR",
             "mark the numbers for which EXPR is true instead of a class, in the renderer's language",
             [&options](const std::string& value) -> std::string {
               const std::variant<rules::Rule, rules::RuleError> rule = rules::compileRule(value);
               if (const auto* error = std::get_if<rules::RuleError>(&rule)) return rules::errorWithCaret(value, *error);
               options.showIf = value;
               return {};
             });
    app_.add_flag("--grid", options.grid, "grid marks in the empty cells (cells of 15 pixels and more)");
    app_.add_flag("--numerals", options.numerals, "each number written in its cell, where it fits");
    addValue("--language", "LANG",
             "the window's language, one of " + spiral::choiceList<int>(language::kLanguageNames) +
                 " (default: the window's choice, else the desktop's)",
             [&options](const std::string& value) {
               return storeChoice<int>(language::kLanguageNames, options.language.emplace())(value);
             });
    app_.add_flag("--help", options.help, "print this text");
    app_.add_flag("--version", options.version, "print the name and version");
  }

  std::optional<UsageError> read(const std::vector<std::string>& arguments) {
    std::vector<std::string> unread(arguments.rbegin(), arguments.rend());  // CLI11 reads from the back
    try {
      app_.parse(unread);
    } catch (const CLI::ParseError& error) {
      return UsageError{error.what()};
    }
    if (!app_.remaining().empty()) return UsageError{"unknown option or argument " + inQuotes(app_.remaining().front())};
    for (const char* option : {"--start", "--centre", "--cell", "--shape", "--scheme", "--show", "--show-if", "--grid",
                               "--numerals"}) {
      if (app_.count(option) > 0) options_.viewGiven = true;
    }
    if (app_.count("--show") > 0 && app_.count("--show-if") > 0) {
      return UsageError{"--show-if stands instead of --show: give one of them"};
    }
    return std::nullopt;
  }

  std::string usage() const { return app_.help(); }

 private:
  void addValue(const std::string& name, const char* placeholder, const std::string& description, StoreValue store) {
    cli::addCheckedOption(app_, name, placeholder, description, std::move(store));
  }

  ExploreOptions& options_;
  CLI::App app_{"Roams the square spiral of the whole numbers below 2^64: drag, zoom, go to any number.",
                "spirelle-explore"};
};

}  // namespace

std::variant<ExploreOptions, UsageError> parseExploreArguments(const std::vector<std::string>& arguments) {
  ExploreOptions options;
  try {
    CommandLine commandLine(options);
    if (std::optional<UsageError> error = commandLine.read(arguments)) return *error;
  } catch (const CLI::Error& error) {
    return UsageError{error.what()};
  }
  if (options.help || options.version) return options;
  if (options.centre && *options.centre < options.start) {
    return UsageError{"--centre: " + std::to_string(*options.centre) + " lies below the start " +
                      std::to_string(options.start)};
  }
  return options;
}

std::string usageText() {
  ExploreOptions unused;
  return CommandLine(unused).usage();
}

std::string versionText() { return "spirelle-explore (Spirelle) " SPIRELLE_VERSION "\n"; }

}  // namespace explorer
