#include "RenderOptions.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <optional>
#include <span>
#include <string_view>

#include "Geometry.h"

namespace render {
namespace {

constexpr int kSmallestSize = 16;
constexpr int kLargestSize = 16384;
constexpr int kMostFrames = 10000;
constexpr int kShortestDelay = 20;
constexpr int kLongestDelay = 10000;

template <typename T>
struct Choice {
  const char* name;
  T value;
};

// The names of a table of the engine's choices, in the table's order.
template <typename T, std::size_t N, typename Row>
constexpr std::array<Choice<T>, N> choicesOf(const std::array<Row, N>& rows, T Row::*value) {
  std::array<Choice<T>, N> choices{};
  for (std::size_t i = 0; i < N; ++i) choices[i] = {rows[i].name, rows[i].*value};
  return choices;
}

constexpr auto kCellSizes = choicesOf(spiral::kCellSizes, &spiral::CellSizeChoice::pixels);
constexpr Choice<bool> kShapes[] = {{"circles", false}, {"squares", true}};
constexpr auto kSchemes = choicesOf(spiral::kSchemes, &spiral::SchemeChoice::scheme);
constexpr auto kClasses = choicesOf(spiral::kNumberClasses, &spiral::NumberClassChoice::numberClass);
constexpr Choice<spiral::Direction> kDirections[] = {{"in", spiral::Direction::In}, {"out", spiral::Direction::Out}};
constexpr Choice<Language> kLanguages[] = {{"en", Language::English}, {"de", Language::German}};

template <typename T>
std::optional<T> lookUp(std::span<const Choice<T>> choices, std::string_view name) {
  auto match = std::find_if(choices.begin(), choices.end(), [&](const Choice<T>& choice) { return name == choice.name; });
  if (match == choices.end()) return std::nullopt;
  return match->value;
}

template <typename T>
std::string choiceList(std::span<const Choice<T>> choices) {
  std::string names;
  for (const Choice<T>& choice : choices) names += (names.empty() ? "" : "|") + std::string(choice.name);
  return names;
}

bool isAllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string quoted(std::string_view value) { return "'" + std::string(value) + "'"; }

std::string notOneOf(std::string_view value, const std::string& choices) {
  return quoted(value) + " is not one of " + choices;
}

// Stores one choice into `target`; the error text when `value` names none of them.
template <typename T, typename Target>
std::string assignChoice(std::span<const Choice<T>> choices, std::string_view value, Target& target) {
  std::optional<T> chosen = lookUp(choices, value);
  if (!chosen) return notOneOf(value, choiceList(choices));
  target = static_cast<Target>(*chosen);
  return {};
}

// Blanks around the digits are ignored, as the start-number box ignores them.
std::string setStart(RenderOptions& options, const std::string& value) {
  const spiral::StartNumber start = spiral::parseStartNumber(value);
  if (!start.digitsOnly) return quoted(value) + " is not a whole number of decimal digits";
  options.draw.start = start.value;
  return {};
}

// Stores a whole number from `low` to `high` into `target`; the error text when `value` is none.
std::string assignWholeNumber(const std::string& value, int low, int high, int& target) {
  int number = 0;
  const char* end = value.data() + value.size();
  const bool ok = !value.empty() && isAllDigits(value) && std::from_chars(value.data(), end, number).ec == std::errc();
  if (!ok || number < low || number > high) {
    return quoted(value) + " is not a whole number from " + std::to_string(low) + " to " + std::to_string(high);
  }
  target = number;
  return {};
}

std::string setOut(RenderOptions& options, const std::string& value) {
  if (value.empty()) return "needs a file name";
  options.outFile = value;
  return {};
}

// An option, whether it takes a value, and the handler that stores it: the handler returns an empty
// text on success, otherwise what is wrong with the value.
struct OptionRule {
  const char* name;
  bool takesValue;
  std::string (*apply)(RenderOptions& options, const std::string& value);
};

using Value = const std::string&;

const OptionRule kOptionRules[] = {
    {"--start", true, setStart},
    {"--cell", true, [](RenderOptions& o, Value v) { return assignChoice<int>(kCellSizes, v, o.draw.boxSize); }},
    {"--shape", true, [](RenderOptions& o, Value v) { return assignChoice<bool>(kShapes, v, o.draw.squares); }},
    {"--scheme", true,
     [](RenderOptions& o, Value v) { return assignChoice<spiral::ColorScheme>(kSchemes, v, o.draw.colorScheme); }},
    {"--show", true,
     [](RenderOptions& o, Value v) { return assignChoice<spiral::NumberClass>(kClasses, v, o.draw.numberClass); }},
    {"--size", true,
     [](RenderOptions& o, Value v) { return assignWholeNumber(v, kSmallestSize, kLargestSize, o.size); }},
    {"--language", true,
     [](RenderOptions& o, Value v) { return assignChoice<Language>(kLanguages, v, o.language); }},
    {"--out", true, setOut},
    {"--animate", true,
     [](RenderOptions& o, Value v) { return assignChoice<spiral::Direction>(kDirections, v, o.animate.emplace()); }},
    {"--frames", true, [](RenderOptions& o, Value v) { return assignWholeNumber(v, 1, kMostFrames, o.frames); }},
    {"--delay", true,
     [](RenderOptions& o, Value v) { return assignWholeNumber(v, kShortestDelay, kLongestDelay, o.delayMs); }},
    {"--prime-steps", false, [](RenderOptions& o, Value) { o.primeSteps = true; return std::string(); }},
    {"--grid", false, [](RenderOptions& o, Value) { o.draw.grid = true; return std::string(); }},
    {"--numerals", false, [](RenderOptions& o, Value) { o.draw.numerals = true; return std::string(); }},
    {"--longest", false, [](RenderOptions& o, Value) { o.draw.calculateLongest = true; return std::string(); }},
    {"--json", false, [](RenderOptions& o, Value) { o.json = true; return std::string(); }},
    {"--help", false, [](RenderOptions& o, Value) { o.help = true; return std::string(); }},
    {"--version", false, [](RenderOptions& o, Value) { o.version = true; return std::string(); }},
};

const OptionRule* findRule(std::string_view name) {
  for (const OptionRule& rule : kOptionRules) {
    if (name == rule.name) return &rule;
  }
  return nullptr;
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
std::string checkAnimationOptions(const RenderOptions& options, const std::vector<std::string_view>& given) {
  if (!options.animate) {
    for (const char* option : {"--frames", "--delay", "--prime-steps"}) {
      if (std::find(given.begin(), given.end(), option) != given.end()) return std::string(option) + " needs --animate";
    }
    return {};
  }
  if (!endsWithIgnoringCase(options.outFile, ".gif")) return "--animate needs --out FILE.gif";
  const spiral::NumberClassChoice& shown = spiral::numberClassOf(options.draw.numberClass);
  if (!shown.animates) return "--animate: --show " + std::string(shown.name) + " does not move with the start number";
  return {};
}

}  // namespace

spiral::DrawSettings RenderOptions::defaultDrawSettings() {
  spiral::DrawSettings settings;
  settings.numerals = false;
  return settings;
}

ParseResult parseRenderArguments(const std::vector<std::string>& arguments) {
  RenderOptions options;
  std::vector<std::string_view> given;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const std::size_t equals = argument.starts_with("--") ? argument.find('=') : std::string::npos;
    const std::string name = argument.substr(0, equals);
    const OptionRule* rule = findRule(name);
    if (!rule) return UsageError{"unknown option or argument " + quoted(argument)};
    given.push_back(rule->name);

    std::string value;
    if (equals != std::string::npos) {
      if (!rule->takesValue) return UsageError{name + " takes no value"};
      value = argument.substr(equals + 1);
    } else if (rule->takesValue) {
      if (i + 1 == arguments.size()) return UsageError{name + " needs a value"};
      value = arguments[++i];
    }
    const std::string problem = rule->apply(options, value);
    if (!problem.empty()) return UsageError{name + ": " + problem};
    if (options.help || options.version) return options;
  }
  if (std::string problem = checkPictureHoldsACell(options); !problem.empty()) return UsageError{problem};
  if (std::string problem = checkAnimationOptions(options, given); !problem.empty()) return UsageError{problem};
  return options;
}

std::string usageText() {
  const auto number = [](int n) { return std::to_string(n); };
  return "Usage: spirelle-render [options]\n"
         "Draws the whole numbers as a square spiral, marks one class of them and reports on the picture.\n"
         "\n"
         "  --start TEXT      the start (central) number: decimal digits, blanks around them are\n"
         "                    ignored, empty means 1 (default 1)\n"
         "  --cell PIXELS     cell size, one of " + choiceList<int>(kCellSizes) + " (default 7)\n"
         "  --shape SHAPE     " + choiceList<bool>(kShapes) + " (default circles)\n"
         "  --scheme SCHEME   colour scheme, one of " + choiceList<spiral::ColorScheme>(kSchemes) + " (default cluster)\n"
         "  --show CLASS      the numbers to mark, one of " + choiceList<spiral::NumberClass>(kClasses) + " (default primes)\n"
         "  --grid            grid marks in the empty cells (cells of 15 pixels and more)\n"
         "  --numerals        each number written in its cell, where it fits\n"
         "  --longest         measure the longest runs along the NW-SE and SW-NE diagonals\n"
         "  --size PIXELS     the picture is PIXELS x PIXELS, " + number(kSmallestSize) + " to " + number(kLargestSize) + " (default 523)\n"
         "  --language LANG   language of the refusal messages, " + choiceList<Language>(kLanguages) + " (default en)\n"
         "  --out FILE.png    write the picture to FILE.png\n"
         "  --animate DIR     one of " + choiceList<spiral::Direction>(kDirections) + ": Spiral In or Spiral Out as an animated GIF, each frame\n"
         "                    one tick after the one before (needs --out FILE.gif)\n"
         "  --frames K        the animation's frames, 1 to " + number(kMostFrames) + " (default 60); the end of the number\n"
         "                    range ends it earlier\n"
         "  --prime-steps     each step of the animation goes on to the next prime\n"
         "  --delay MS        each frame stays MS milliseconds, " + number(kShortestDelay) + " to " + number(kLongestDelay) + " (default 250)\n"
         "  --json            print the facts as one JSON object instead of lines\n"
         "  --help            print this text\n"
         "  --version         print the name and version\n"
         "\n"
         "Exit status: 0 done, 1 the picture could not be made or written, 2 the start number was\n"
         "refused, 64 the arguments could not be read.\n";
}

std::string versionText() { return "spirelle-render (Spirelle) " SPIRELLE_VERSION "\n"; }

}  // namespace render
