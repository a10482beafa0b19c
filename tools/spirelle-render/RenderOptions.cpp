#include "RenderOptions.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <utility>

#include <CLI/CLI.hpp>

#include "CheckedOptions.h"

#include "ChoiceNames.h"
#include "ClusterColours.h"
#include "Geometry.h"
#include "Workers.h"
#include "Rule.h"

namespace render {
namespace {

constexpr int kSmallestSize = 16;
constexpr int kLargestSize = 16384;
constexpr int kMostFrames = 10000;
constexpr int kShortestDelay = 20;
constexpr int kLongestDelay = 10000;
constexpr int kMostLines = 1000;
constexpr int kMostThreads = 256;

template <typename T>
using Choice = spiral::NamedChoice<T>;

constexpr auto& kCellSizes = spiral::kCellSizeNames;
constexpr auto& kShapes = spiral::kShapeNames;
constexpr auto& kSchemes = spiral::kSchemeNames;
constexpr auto& kClasses = spiral::kClassNames;
constexpr Choice<spiral::Direction> kDirections[] = {{"in", spiral::Direction::In}, {"out", spiral::Direction::Out}};
constexpr Choice<int> kCellsPerPixel[] = {{"1", 1}, {"2", 2}, {"4", 4}, {"8", 8}};
constexpr Choice<Language> kLanguages[] = {{"en", Language::English}, {"de", Language::German}};

using spiral::choiceList;

bool isAllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

using cli::inQuotes;
using cli::StoreValue;
using cli::storeChoice;

// Decimal digits only: no sign, no blanks, and no octal or hexadecimal reading of a leading 0. None
// for any other text and for a number beyond T.
template <typename T>
std::optional<T> wholeNumber(const std::string& value) {
  T number = 0;
  const char* end = value.data() + value.size();
  if (value.empty() || !isAllDigits(value) || std::from_chars(value.data(), end, number).ec != std::errc()) {
    return std::nullopt;
  }
  return number;
}

StoreValue storeWholeNumber(int low, int high, int& target) {
  return [low, high, &target](const std::string& value) -> std::string {
    const std::optional<int> number = wholeNumber<int>(value);
    if (!number || *number < low || *number > high) {
      return inQuotes(value) + " is not a whole number from " + std::to_string(low) + " to " + std::to_string(high);
    }
    target = *number;
    return {};
  };
}

// A number of the picture. Whether the picture holds it is known only once every option is read.
StoreValue storePictureNumber(std::optional<spiral::Number>& target) {
  return [&target](const std::string& value) -> std::string {
    if (value.empty() || !isAllDigits(value)) return inQuotes(value) + " is not a whole number of decimal digits";
    const std::optional<spiral::Number> number = wholeNumber<spiral::Number>(value);
    if (!number) return inQuotes(value) + " lies beyond the numbers of every picture";
    target = *number;
    return {};
  };
}

// Blanks around the digits are ignored, as the start-number box ignores them. Any start below 2^64
// is read; whether its picture fits below 2^64 the run decides, with a refusal.
StoreValue storeStart(spiral::Number& target) {
  return [&target](const std::string& value) -> std::string {
    const spiral::StartNumber start = spiral::parseStartNumber(value, spiral::kWholeRange);
    if (!start.digitsOnly) return inQuotes(value) + " is not a whole number of decimal digits";
    target = start.value;
    return {};
  };
}

// A rule of one's own, read once here; its text stays for the report.
StoreValue storeOwnRule(RenderOptions& options) {
  return [&options](const std::string& value) -> std::string {
    std::variant<rules::Rule, rules::RuleError> compiled = rules::compileRule(value);
    if (const auto* error = std::get_if<rules::RuleError>(&compiled)) return rules::errorWithCaret(value, *error);
    options.draw.ownRule = std::make_shared<const rules::Rule>(std::get<rules::Rule>(std::move(compiled)));
    options.showIf = value;
    return {};
  };
}

// "a,b,c": the quadratic a t^2 + b t + c, within the limits its arithmetic takes.
StoreValue storeQuadratic(std::optional<numlib::QuadraticPolynomial>& target) {
  return [&target](const std::string& value) -> std::string {
    const auto parsed = numlib::parseQuadratic(value);
    if (const auto* f = std::get_if<numlib::QuadraticPolynomial>(&parsed)) {
      target = *f;
      return {};
    }
    switch (std::get<numlib::QuadraticTextError>(parsed)) {
      case numlib::QuadraticTextError::NotThreeNumbers: return inQuotes(value) + " is not three whole numbers a,b,c";
      case numlib::QuadraticTextError::ABelowOne: return "a must be at least 1";
      case numlib::QuadraticTextError::TooLarge: break;
    }
    return inQuotes(value) + " is too large: a goes to 2^60, b from -2^62 to 2^62, c from -(2^64 - 1) to 2^64 - 1";
  };
}

StoreValue storeFileName(std::string& target) {
  return [&target](const std::string& value) -> std::string {
    if (value.empty()) return "needs a file name";
    target = value;
    return {};
  };
}

// The usage text: the usage line, what the program does, one line for each option (its description
// continued in the same column) and the exit status.
class UsageFormatter : public CLI::Formatter {
 public:
  UsageFormatter() {
    column_width(20);
    label("OPTIONS", "options");
  }
  std::string make_help(const CLI::App* app, std::string name, CLI::AppFormatMode) const override {
    std::string text = make_usage(app, std::move(name)) + make_description(app) + "\n";
    for (const CLI::Option* option : app->get_options()) text += make_option(option, false);
    return text + "\n" + make_footer(app);
  }
};

// Whether CLI11 reads a value for the option, as it does for all but flags.
bool takesValue(const CLI::Option& option) { return option.get_items_expected_max() > 0; }

// The command line of spirelle-render, read into `options`. CLI11 hands each option's value to its
// store as soon as it has read it, so that the first wrong argument is the one reported.
class CommandLine {
 public:
  explicit CommandLine(RenderOptions& options) {
    app_.set_help_flag();
    app_.formatter(std::make_shared<UsageFormatter>());
    app_.footer(
        "Exit status: 0 done, 1 the picture could not be made or written, 2 the start number was\n"
        "refused, 64 the arguments could not be read.");
    app_.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    const auto number = [](int n) { return std::to_string(n); };
    spiral::DrawSettings& draw = options.draw;
    addValue("--start", "TEXT",
             "the start (central) number: up to 20 decimal digits, blanks around\n"
             "them are ignored, empty means 1 (default 1); the picture's end number\n"
             "must not pass 2^64 - 1 = 18446744073709551615",
             storeStart(draw.start));
    addValue("--cell", "PIXELS", "cell size, one of " + choiceList<int>(kCellSizes) + " (default 7)",
             storeChoice<int>(kCellSizes, draw.boxSize));
    addValue("--shape", "SHAPE", choiceList<bool>(kShapes) + " (default circles)", storeChoice<bool>(kShapes, draw.squares));
    addValue("--scheme", "SCHEME", "colour scheme, one of " + choiceList<spiral::ColorScheme>(kSchemes) + " (default cluster)",
             storeChoice<spiral::ColorScheme>(kSchemes, draw.colorScheme));
    addValue("--show", "CLASS",
             "the numbers to mark, one of " + choiceList<spiral::NumberClass>(kClasses) + " (default primes)",
             storeChoice<spiral::NumberClass>(kClasses, draw.numberClass));
    addValue("--show-if", "EXPR",
             "mark the numbers for which EXPR is true, instead of --show: whole\n"
             "numbers; n, ring, x, y (the cell from the centre, y upward); + - * / %\n"
             "(exact, 128 bits); == != < <= > >=; && || ! ( ); prime(e) square(e)\n"
             "triangular(e) factors(e) distinct(e) gcd(a, b) abs(e). Where a result\n"
             "leaves the arithmetic or a function's argument leaves 0 to 2^64 - 1, n\n"
             "is not marked, and the report counts it as undefined. Examples:\n"
             "'prime(n) && n % 4 == 1', 'factors(n) == 2', 'prime(n*n + 1)'",
             storeOwnRule(options));
    addFlag("--grid", "grid marks in the empty cells (cells of 15 pixels and more)", draw.grid);
    addFlag("--numerals", "each number written in its cell, where it fits", draw.numerals);
    addFlag("--longest", "measure the longest runs along the NW-SE and SW-NE diagonals", draw.calculateLongest);
    addValue("--size", "PIXELS",
             "the picture is PIXELS x PIXELS, " + number(kSmallestSize) + " to " + number(kLargestSize) +
                 " (default " + number(spiral::kPictureSize) + ")",
             storeWholeNumber(kSmallestSize, kLargestSize, options.size));
    addValue("--threads", "K",
             "worker threads for the numbers and the cells, 1 to " + number(kMostThreads) +
                 " (default: one per core);\n"
                 "the picture and the facts are the same for every K",
             storeWholeNumber(1, kMostThreads, draw.threads));
    addValue("--language", "LANG", "language of the refusal messages, " + choiceList<Language>(kLanguages) + " (default en)",
             storeChoice<Language>(kLanguages, options.language));
    addValue("--out", "FILE.png", "write the picture to FILE.png", storeFileName(options.outFile));
    addValue("--animate", "DIR",
             "one of " + choiceList<spiral::Direction>(kDirections) +
                 ": Spiral In or Spiral Out as an animated GIF, each frame\n"
                 "one tick after the one before (needs --out FILE.gif)",
             [&options](const std::string& value) {
               return storeChoice<spiral::Direction>(kDirections, options.animate.emplace())(value);
             });
    addValue("--frames", "K",
             "the animation's frames, 1 to " + number(kMostFrames) + " (default 60); the end of the number\n"
             "range ends it earlier",
             storeWholeNumber(1, kMostFrames, options.frames));
    addFlag("--prime-steps", "each step of the animation goes on to the next prime", options.primeSteps);
    addValue("--delay", "MS",
             "each frame stays MS milliseconds, " + number(kShortestDelay) + " to " + number(kLongestDelay) +
                 " (default 250)",
             storeWholeNumber(kShortestDelay, kLongestDelay, options.delayMs));
    addValue("--centre", "N",
             "centre the picture on the cell of N, a number from the start on; cells\n"
             "whose numbers would pass 2^64 - 1 stay empty",
             storePictureNumber(options.centre));
    addValue("--cells-per-pixel", "K",
             "with --cell 1, one pixel for K x K cells, one of " + choiceList<int>(kCellsPerPixel) +
                 " (default 1):\n"
                 "shaded by how many of them the class marks against its density there",
             storeChoice<int>(kCellsPerPixel, options.cellsPerPixel));
    addValue("--inspect", "N",
             "report the cell of N, a number of the picture, and each ray through it:\n"
             "a run of cells outward whose numbers follow one quadratic 4k^2 + bk + c",
             storePictureNumber(options.inspect));
    addValue("--lines", "K", "report the K rays of the picture with the most primes, 1 to " + number(kMostLines),
             storeWholeNumber(1, kMostLines, options.lines));
    addFlag("--mark-lines", "draw the rays of --lines over the picture as light grey lines (needs --out)", options.markLines);
    addValue("--mark-quadratic", "A,B,C",
             "outline the cells of the values a t^2 + b t + c (whole t >= 0, a >= 1)\n"
             "and report how many are prime against Hardy and Littlewood's\n"
             "expectation, and the rays they lie on; example: 1,1,41",
             storeQuadratic(options.markQuadratic));
    addFlag("--json", "print the facts as one JSON object instead of lines", options.json);
    stops_[0] = addFlag("--help", "print this text", options.help);
    stops_[1] = addFlag("--version", "print the name and version", options.version);
  }

  // Reads the arguments into the options; why not, when they could not be read. --help and
  // --version end the reading where they stand.
  std::optional<UsageError> read(const std::vector<std::string>& arguments) {
    const Prepared prepared = prepare(arguments);
    std::vector<std::string> unread(prepared.arguments.rbegin(), prepared.arguments.rend());  // CLI11 reads from the back
    try {
      app_.parse(unread);
    } catch (const CLI::ParseError& error) {
      const std::size_t read = prepared.arguments.size() - std::min(unread.size(), prepared.arguments.size());
      return usageErrorOf(error, read > 0 ? prepared.arguments[read - 1] : std::string());
    }
    if (std::optional<UsageError> unknown = unknownArgument()) return unknown;
    return prepared.flagWithValue;
  }

  bool given(const std::string& name) const { return app_.count(name) > 0; }

  std::string usage() const { return app_.help(); }

 private:
  // What CLI11 is given to read.
  struct Prepared {
    std::vector<std::string> arguments;
    std::optional<UsageError> flagWithValue;  // the argument after `arguments`, a flag given a value
  };

  void addValue(const std::string& name, const char* placeholder, const std::string& description, StoreValue store) {
    cli::addCheckedOption(app_, name, placeholder, description, std::move(store));
  }
  const CLI::Option* addFlag(const std::string& name, const std::string& description, bool& target) {
    return app_.add_flag(name, target, description);
  }

  // Where the renderer's reading differs from CLI11's, the arguments are settled before CLI11 reads:
  // - CLI11 reads "--name=" as "--name" alone, which then takes the next argument as its value.
  //   Here the empty text after "=" is the value ("--start=" is the start 1): such an argument goes
  //   to CLI11 as the option and an empty argument.
  // - CLI11 takes "--grid=true" and "--grid=" for "--grid". Here a flag takes no value: CLI11 reads
  //   the arguments before such a flag only, and the flag is the error unless one of them is.
  // - --help and --version end the reading: CLI11 reads the arguments up to them only.
  // An argument that is the value of the option before it is left as it is, as CLI11 leaves it.
  Prepared prepare(const std::vector<std::string>& arguments) const {
    Prepared prepared;
    bool isValue = false;
    for (const std::string& argument : arguments) {
      const std::size_t equals = isValue || !argument.starts_with("--") ? std::string::npos : argument.find('=');
      const CLI::Option* option = isValue ? nullptr : app_.get_option_no_throw(argument.substr(0, equals));
      isValue = option && equals == std::string::npos && takesValue(*option);
      if (option && equals != std::string::npos && !takesValue(*option)) {
        prepared.flagWithValue = UsageError{option->get_name() + " takes no value"};
        break;
      }
      if (option && equals + 1 == argument.size()) {
        prepared.arguments.insert(prepared.arguments.end(), {option->get_name(), ""});
      } else {
        prepared.arguments.push_back(argument);
      }
      if (std::find(stops_.begin(), stops_.end(), option) != stops_.end()) break;
    }
    return prepared;
  }

  // The first argument CLI11 found no use for, "--" included, which CLI11 would take for the end of
  // the options: the renderer has no arguments but options.
  std::optional<UsageError> unknownArgument() const {
    const std::vector<std::string> unknown = app_.remaining();
    if (unknown.empty()) return std::nullopt;
    return UsageError{"unknown option or argument " + inQuotes(unknown.front())};
  }

  // Why CLI11 stopped, worded as the renderer words it. An argument CLI11 found no use for comes
  // first when it stood before the one that stopped the reading. `lastRead` is the argument CLI11
  // took last: an option that ran out of arguments before its value, when that was why.
  UsageError usageErrorOf(const CLI::ParseError& error, const std::string& lastRead) const {
    if (std::optional<UsageError> unknown = unknownArgument()) return *unknown;
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error)) return UsageError{lastRead + " needs a value"};
    return UsageError{error.what()};
  }

  CLI::App app_{"Draws the whole numbers as a square spiral, marks one class of them and reports on the picture.",
                "spirelle-render"};
  std::array<const CLI::Option*, 2> stops_{};
};

// An own rule stands instead of a class; the class's row it draws with follows from the rule.
std::string checkOwnRule(RenderOptions& options, const CommandLine& commandLine) {
  if (!options.draw.ownRule) return {};
  if (commandLine.given("--show")) return "--show-if stands instead of --show: give one of them";
  options.draw.numberClass = spiral::classDrawnLike(*options.draw.ownRule);
  return {};
}

// The size and the cell size only make sense together when the picture holds at least one cell.
std::string checkPictureHoldsACell(const RenderOptions& options) {
  if (spiral::computeGeometry(options.size, options.size, options.draw.boxSize).cellsPerSide > 0) return {};
  return "--size: " + std::to_string(options.size) + " pixels cannot hold a cell of " +
         std::to_string(options.draw.boxSize) + " pixels";
}

bool endsWithIgnoringCase(std::string_view text, std::string_view ending) {
  if (text.size() < ending.size()) return false;
  return std::equal(ending.begin(), ending.end(), text.end() - std::ptrdiff_t(ending.size()),
                    [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b)); });
}

// An animation goes into a GIF file, and the animation's options need one.
std::string checkAnimationOptions(const RenderOptions& options, const CommandLine& commandLine) {
  if (!options.animate) {
    for (const char* option : {"--frames", "--delay", "--prime-steps"}) {
      if (commandLine.given(option)) return std::string(option) + " needs --animate";
    }
    return {};
  }
  if (!endsWithIgnoringCase(options.outFile, ".gif")) return "--animate needs --out FILE.gif";
  const spiral::NumberClassChoice& shown = spiral::numberClassOf(options.draw.numberClass);
  if (!shown.animates) return "--animate: --show " + std::string(shown.name) + " does not move with the start number";
  return {};
}

std::string checkNumberInPicture(spiral::Number number, const RenderOptions& options) {
  const spiral::DrawOutcome picture = spiral::validateRequest(options.draw, options.size, options.size);
  if (picture.refusal != spiral::Refusal::None) return {};  // there is no picture: the run refuses its start
  if (number >= picture.startNumber && number <= picture.endNumber) return {};
  return "--inspect: " + std::to_string(number) + " is not in the picture, whose numbers are " +
         std::to_string(picture.startNumber) + " to " + std::to_string(picture.endNumber);
}

// The line lens reports on one picture: on the numbers it holds, and marks only the rays it lists.
std::string checkLensOptions(const RenderOptions& options) {
  if (options.markLines && options.lines == 0) return "--mark-lines needs --lines";
  if (options.markLines && options.outFile.empty()) return "--mark-lines needs --out FILE.png";
  if (options.animate) {
    const std::pair<const char*, bool> lensOptions[] = {
        {"--inspect", options.inspect.has_value()}, {"--lines", options.lines > 0}, {"--mark-lines", options.markLines},
        {"--mark-quadratic", options.markQuadratic.has_value()}};
    for (const auto& [option, given] : lensOptions) {
      if (given) return std::string(option) + " reports on one picture, not on an animation";
    }
  }
  if (options.inspect) return checkNumberInPicture(*options.inspect, options);
  return {};
}

// A picture in tiles is one picture of the spiral of its start, whose lens facts need a pass.
std::string checkTileOptions(const RenderOptions& options) {
  if (options.cellsPerPixel > 1 && options.draw.boxSize != 1) return "--cells-per-pixel needs --cell 1";
  if (!options.drawsTiles()) return {};
  const char* tiles = options.centre ? "--centre" : "--cells-per-pixel";
  const std::pair<const char*, bool> passOptions[] = {
      {"--animate", options.animate.has_value()}, {"--inspect", options.inspect.has_value()},
      {"--lines", options.lines > 0}, {"--longest", options.draw.calculateLongest},
      {"--mark-quadratic", options.markQuadratic.has_value()}};
  for (const auto& [option, given] : passOptions) {
    if (given) return std::string(option) + " cannot go with " + tiles + ", which draws one picture in tiles";
  }
  if (options.centre && *options.centre < options.draw.start) {
    return "--centre: " + std::to_string(*options.centre) + " lies before the start " + std::to_string(options.draw.start);
  }
  if (options.draw.colorScheme == spiral::ColorScheme::Cluster &&
      !spiral::withinClusterReach(options.view(), options.pictureRect())) {
    return std::string(tiles) +
           ": the picture reaches past the walk's first 2^28 numbers (a poster of 16384 pixels), where "
           "cluster colours are not drawn";
  }
  return {};
}

}  // namespace

spiral::ViewSettings RenderOptions::view() const {
  int zoom = 0;
  for (size_t i = 0; i < spiral::kZoomLevels.size(); ++i) {
    if (spiral::kZoomLevels[i] == spiral::ZoomLevel{draw.boxSize, cellsPerPixel}) zoom = static_cast<int>(i);
  }
  // The random class draws from the start as its seed, as a pass does.
  return {.start = draw.start, .zoom = zoom, .squares = draw.squares, .grid = draw.grid, .numerals = draw.numerals,
          .numberClass = draw.numberClass, .colorScheme = draw.colorScheme, .randomSeed = draw.start,
          .ownRule = {draw.ownRule, showIf}};
}

spiral::PlaneRect RenderOptions::pictureRect() const {
  const spiral::ViewSettings tiles = view();
  const spiral::CellPos cell = spiral::cellOfNumber(draw.start, centre.value_or(draw.start)).value_or(spiral::CellPos{});
  const spiral::PlanePoint middle = spiral::centreOfCell(tiles, cell);
  return {middle.x - size / 2, middle.y - size / 2, size, size};
}

spiral::DrawSettings RenderOptions::defaultDrawSettings() {
  spiral::DrawSettings settings;
  settings.numerals = false;
  settings.range = spiral::kWholeRange;
  settings.threads = std::clamp(numlib::coreCount(), 1, kMostThreads);
  return settings;
}

ParseResult parseRenderArguments(const std::vector<std::string>& arguments) {
  RenderOptions options;
  try {
    CommandLine commandLine(options);
    if (std::optional<UsageError> error = commandLine.read(arguments)) return *error;
    if (options.help || options.version) return options;
    if (std::string problem = checkOwnRule(options, commandLine); !problem.empty()) return UsageError{problem};
    if (std::string problem = checkPictureHoldsACell(options); !problem.empty()) return UsageError{problem};
    if (std::string problem = checkAnimationOptions(options, commandLine); !problem.empty()) return UsageError{problem};
    if (std::string problem = checkTileOptions(options); !problem.empty()) return UsageError{problem};
    if (std::string problem = checkLensOptions(options); !problem.empty()) return UsageError{problem};
    // The lens counts the shown cells of its rays from the pass's record, which costs a little.
    options.draw.recordShown = options.inspect || options.lines > 0;
    return options;
  } catch (const CLI::Error& error) {  // the options themselves could not be set up
    return UsageError{error.what()};
  }
}

const char* directionName(spiral::Direction direction) {
  for (const Choice<spiral::Direction>& choice : kDirections) {
    if (choice.value == direction) return choice.name;
  }
  return "";
}

std::string usageText() {
  RenderOptions unused;
  return CommandLine(unused).usage();
}

std::string versionText() { return "spirelle-render (Spirelle) " SPIRELLE_VERSION "\n"; }

}  // namespace render
