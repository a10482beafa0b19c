#include "RenderOptions.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>

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
std::optional<T> lookUp(std::span<const Choice<T>> choices, const QString& name) {
  auto match = std::find_if(choices.begin(), choices.end(),
                            [&](const Choice<T>& choice) { return name == QLatin1String(choice.name); });
  if (match == choices.end()) return std::nullopt;
  return match->value;
}

template <typename T>
QString choiceList(std::span<const Choice<T>> choices) {
  QStringList names;
  for (const Choice<T>& choice : choices) names << QLatin1String(choice.name);
  return names.join(QLatin1Char('|'));
}

bool isAllDigits(const QString& text) {
  return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QString notOneOf(const QString& value, const QString& choices) {
  return QStringLiteral("'%1' is not one of %2").arg(value, choices);
}

// Stores one choice into `target`; the error text when `value` names none of them.
template <typename T, typename Target>
QString assignChoice(std::span<const Choice<T>> choices, const QString& value, Target& target) {
  std::optional<T> chosen = lookUp(choices, value);
  if (!chosen) return notOneOf(value, choiceList(choices));
  target = static_cast<Target>(*chosen);
  return {};
}

// Blanks around the digits are ignored, as the start-number box ignores them.
QString setStart(RenderOptions& options, const QString& value) {
  const spiral::StartNumber start = spiral::parseStartNumber(value.trimmed());
  if (!start.digitsOnly) return QStringLiteral("'%1' is not a whole number of decimal digits").arg(value);
  options.draw.start = start.value;
  return {};
}

// Stores a whole number from `low` to `high` into `target`; the error text when `value` is none.
QString assignWholeNumber(const QString& value, int low, int high, int& target) {
  bool ok = isAllDigits(value) && !value.isEmpty();
  int number = ok ? value.toInt(&ok) : 0;
  if (!ok || number < low || number > high) {
    return QStringLiteral("'%1' is not a whole number from %2 to %3").arg(value).arg(low).arg(high);
  }
  target = number;
  return {};
}

QString setOut(RenderOptions& options, const QString& value) {
  if (value.isEmpty()) return QStringLiteral("needs a file name");
  options.outFile = value;
  return {};
}

// An option, whether it takes a value, and the handler that stores it: the handler returns an empty
// text on success, otherwise what is wrong with the value.
struct OptionRule {
  const char* name;
  bool takesValue;
  QString (*apply)(RenderOptions& options, const QString& value);
};

const OptionRule kOptionRules[] = {
    {"--start", true, setStart},
    {"--cell", true,
     [](RenderOptions& o, const QString& v) { return assignChoice<int>(kCellSizes, v, o.draw.boxSize); }},
    {"--shape", true,
     [](RenderOptions& o, const QString& v) { return assignChoice<bool>(kShapes, v, o.draw.squares); }},
    {"--scheme", true,
     [](RenderOptions& o, const QString& v) {
       return assignChoice<spiral::ColorScheme>(kSchemes, v, o.draw.colorScheme);
     }},
    {"--show", true,
     [](RenderOptions& o, const QString& v) {
       return assignChoice<spiral::NumberClass>(kClasses, v, o.draw.numberClass);
     }},
    {"--size", true,
     [](RenderOptions& o, const QString& v) { return assignWholeNumber(v, kSmallestSize, kLargestSize, o.size); }},
    {"--language", true,
     [](RenderOptions& o, const QString& v) { return assignChoice<Language>(kLanguages, v, o.language); }},
    {"--out", true, setOut},
    {"--animate", true,
     [](RenderOptions& o, const QString& v) {
       return assignChoice<spiral::Direction>(kDirections, v, o.animate.emplace());
     }},
    {"--frames", true,
     [](RenderOptions& o, const QString& v) { return assignWholeNumber(v, 1, kMostFrames, o.frames); }},
    {"--delay", true,
     [](RenderOptions& o, const QString& v) {
       return assignWholeNumber(v, kShortestDelay, kLongestDelay, o.delayMs);
     }},
    {"--prime-steps", false, [](RenderOptions& o, const QString&) { o.primeSteps = true; return QString(); }},
    {"--grid", false, [](RenderOptions& o, const QString&) { o.draw.grid = true; return QString(); }},
    {"--numerals", false, [](RenderOptions& o, const QString&) { o.draw.numerals = true; return QString(); }},
    {"--longest", false,
     [](RenderOptions& o, const QString&) { o.draw.calculateLongest = true; return QString(); }},
    {"--json", false, [](RenderOptions& o, const QString&) { o.json = true; return QString(); }},
    {"--help", false, [](RenderOptions& o, const QString&) { o.help = true; return QString(); }},
    {"--version", false, [](RenderOptions& o, const QString&) { o.version = true; return QString(); }},
};

const OptionRule* findRule(const QString& name) {
  for (const OptionRule& rule : kOptionRules) {
    if (name == QLatin1String(rule.name)) return &rule;
  }
  return nullptr;
}

// The size and the cell size only make sense together when the picture holds at least one cell.
QString checkPictureHoldsACell(const RenderOptions& options) {
  if (spiral::computeGeometry(options.size, options.size, options.draw.boxSize).cellsPerSide > 0) return {};
  return QStringLiteral("--size: %1 pixels cannot hold a cell of %2 pixels")
      .arg(options.size)
      .arg(options.draw.boxSize);
}

// An animation goes into a GIF file, and the animation's options need one.
QString checkAnimationOptions(const RenderOptions& options, const QStringList& given) {
  if (!options.animate) {
    for (const char* option : {"--frames", "--delay", "--prime-steps"}) {
      if (given.contains(QLatin1String(option))) return QStringLiteral("%1 needs --animate").arg(option);
    }
    return {};
  }
  if (!options.outFile.endsWith(QLatin1String(".gif"), Qt::CaseInsensitive)) {
    return QStringLiteral("--animate needs --out FILE.gif");
  }
  const spiral::NumberClassChoice& shown = spiral::numberClassOf(options.draw.numberClass);
  if (!shown.animates) return QStringLiteral("--animate: --show %1 does not move with the start number").arg(shown.name);
  return {};
}

}  // namespace

spiral::DrawSettings RenderOptions::defaultDrawSettings() {
  spiral::DrawSettings settings;
  settings.numerals = false;
  return settings;
}

ParseResult parseRenderArguments(const QStringList& arguments) {
  RenderOptions options;
  QStringList given;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    qsizetype equals = argument.startsWith(QLatin1String("--")) ? argument.indexOf(u'=') : -1;
    QString name = equals < 0 ? argument : argument.left(equals);
    const OptionRule* rule = findRule(name);
    if (!rule) return UsageError{QStringLiteral("unknown option or argument '%1'").arg(argument)};
    given << name;

    QString value;
    if (equals >= 0) {
      if (!rule->takesValue) return UsageError{QStringLiteral("%1 takes no value").arg(name)};
      value = argument.mid(equals + 1);
    } else if (rule->takesValue) {
      if (i + 1 == arguments.size()) return UsageError{QStringLiteral("%1 needs a value").arg(name)};
      value = arguments[++i];
    }
    QString problem = rule->apply(options, value);
    if (!problem.isEmpty()) return UsageError{QStringLiteral("%1: %2").arg(name, problem)};
    if (options.help || options.version) return options;
  }
  if (QString problem = checkPictureHoldsACell(options); !problem.isEmpty()) return UsageError{problem};
  if (QString problem = checkAnimationOptions(options, given); !problem.isEmpty()) return UsageError{problem};
  return options;
}

QString usageText() {
  return QStringLiteral(
             "Usage: spirelle-render [options]\n"
             "Draws the whole numbers as a square spiral, marks one class of them and reports on the picture.\n"
             "\n"
             "  --start TEXT      the start (central) number: decimal digits, blanks around them are\n"
             "                    ignored, empty means 1 (default 1)\n"
             "  --cell PIXELS     cell size, one of %1 (default 7)\n"
             "  --shape SHAPE     %2 (default circles)\n"
             "  --scheme SCHEME   colour scheme, one of %3 (default cluster)\n"
             "  --show CLASS      the numbers to mark, one of %4 (default primes)\n"
             "  --grid            grid marks in the empty cells (cells of 15 pixels and more)\n"
             "  --numerals        each number written in its cell, where it fits\n"
             "  --longest         measure the longest runs along the NW-SE and SW-NE diagonals\n"
             "  --size PIXELS     the picture is PIXELS x PIXELS, %6 to %7 (default 523)\n"
             "  --language LANG   language of the refusal messages, %5 (default en)\n"
             "  --out FILE.png    write the picture to FILE.png\n"
             "  --animate DIR     one of %8: Spiral In or Spiral Out as an animated GIF, each frame\n"
             "                    one tick after the one before (needs --out FILE.gif)\n"
             "  --frames K        the animation's frames, 1 to %9 (default 60); the end of the number\n"
             "                    range ends it earlier\n"
             "  --prime-steps     each step of the animation goes on to the next prime\n"
             "  --delay MS        each frame stays MS milliseconds, %10 to %11 (default 250)\n"
             "  --json            print the facts as one JSON object instead of lines\n"
             "  --help            print this text\n"
             "  --version         print the name and version\n"
             "\n"
             "Exit status: 0 done, 1 the picture could not be made or written, 2 the start number was\n"
             "refused, 64 the arguments could not be read.\n")
      .arg(choiceList<int>(kCellSizes), choiceList<bool>(kShapes),
           choiceList<spiral::ColorScheme>(kSchemes), choiceList<spiral::NumberClass>(kClasses),
           choiceList<Language>(kLanguages))
      .arg(kSmallestSize)
      .arg(kLargestSize)
      .arg(choiceList<spiral::Direction>(kDirections))
      .arg(kMostFrames)
      .arg(kShortestDelay)
      .arg(kLongestDelay);
}

QString versionText() { return QStringLiteral("spirelle-render (Spirelle) " SPIRELLE_VERSION "\n"); }

}  // namespace render
