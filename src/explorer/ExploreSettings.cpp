#include "ExploreSettings.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include "ChoiceNames.h"
#include "DeviceWriter.h"
#include "Rule.h"
#include "SettingsStore.h"
#include "StartNumber.h"

namespace explorer {

namespace {

constexpr qint64 kLargestFile = 16 * 1024;  // a real file is a few hundred bytes
const QString kFormat = QStringLiteral("spirelle-explore settings 1");

QString numberText(spiral::Number n) { return QString::number(n); }

// A stored number of the spiral, 1 to 2^64 - 1; none for anything else.
std::optional<spiral::Number> numberFrom(const QJsonValue& value) {
  if (!value.isString()) return std::nullopt;
  const spiral::StartNumber number = spiral::parseStartNumber(value.toString().toStdString(), spiral::kWholeRange);
  if (!number.digitsOnly || number.refusal != spiral::Refusal::None || number.value == 0 ||
      value.toString().trimmed().isEmpty()) {
    return std::nullopt;
  }
  return number.value;
}

template <typename T>
void readChoice(const QJsonValue& value, std::span<const spiral::NamedChoice<T>> choices, T& target) {
  if (const std::optional<T> chosen = spiral::choiceNamed(choices, value.toString().toStdString())) target = *chosen;
}

void readFlag(const QJsonValue& value, bool& target) {
  if (value.isBool()) target = value.toBool();
}

StoredView viewFrom(const QJsonObject& json) {
  StoredView view;
  const std::optional<spiral::Number> start = numberFrom(json[QStringLiteral("start")]);
  const std::optional<spiral::Number> centre = numberFrom(json[QStringLiteral("centre")]);
  if (start) view.start = *start;
  view.centre = centre && *centre >= view.start ? *centre : view.start;
  readChoice<int>(json[QStringLiteral("cell")], spiral::kCellSizeNames, view.boxSize);
  const int cellsPerPixel = json[QStringLiteral("cellsPerPixel")].toInt(1);
  if (cellsPerPixel == 1 || cellsPerPixel == 2 || cellsPerPixel == 4 || cellsPerPixel == 8) {
    view.cellsPerPixel = cellsPerPixel;
  }
  readChoice<bool>(json[QStringLiteral("shape")], spiral::kShapeNames, view.squares);
  readChoice<spiral::ColorScheme>(json[QStringLiteral("scheme")], spiral::kSchemeNames, view.scheme);
  readChoice<spiral::NumberClass>(json[QStringLiteral("show")], spiral::kClassNames, view.numberClass);
  readFlag(json[QStringLiteral("grid")], view.grid);
  readFlag(json[QStringLiteral("numerals")], view.numerals);
  // A rule is kept only when it still reads: a rule the user typed was read before it was stored.
  const std::string rule = json[QStringLiteral("ownRule")].toString().toStdString();
  if (std::holds_alternative<rules::Rule>(rules::compileRule(rule))) {
    view.ownRule = rule;
    readFlag(json[QStringLiteral("showsOwnRule")], view.showsOwnRule);
  }
  return view;
}

QJsonObject jsonOf(const StoredView& view) {
  return {{QStringLiteral("start"), numberText(view.start)},
          {QStringLiteral("centre"), numberText(view.centre)},
          {QStringLiteral("cell"), QString::number(view.boxSize)},
          {QStringLiteral("cellsPerPixel"), view.cellsPerPixel},
          {QStringLiteral("shape"), QString::fromStdString(spiral::nameOfChoice<bool>(spiral::kShapeNames, view.squares))},
          {QStringLiteral("scheme"),
           QString::fromStdString(spiral::nameOfChoice<spiral::ColorScheme>(spiral::kSchemeNames, view.scheme))},
          {QStringLiteral("show"),
           QString::fromStdString(spiral::nameOfChoice<spiral::NumberClass>(spiral::kClassNames, view.numberClass))},
          {QStringLiteral("grid"), view.grid},
          {QStringLiteral("numerals"), view.numerals},
          {QStringLiteral("ownRule"), QString::fromStdString(view.ownRule)},
          {QStringLiteral("showsOwnRule"), view.showsOwnRule}};
}

// A place on the screen no window manager would refuse: a positive size within reason.
std::optional<QRect> geometryFrom(const QJsonValue& value) {
  const QJsonObject json = value.toObject();
  constexpr int kLargest = 100000;
  const QRect rect(json[QStringLiteral("x")].toInt(), json[QStringLiteral("y")].toInt(),
                   json[QStringLiteral("width")].toInt(), json[QStringLiteral("height")].toInt());
  if (rect.width() <= 0 || rect.height() <= 0 || rect.width() > kLargest || rect.height() > kLargest) return std::nullopt;
  if (std::abs(rect.x()) > kLargest || std::abs(rect.y()) > kLargest) return std::nullopt;
  return rect;
}

}  // namespace

QByteArray formatExploreSettings(const ExploreSettings& settings) {
  QJsonObject json{{QStringLiteral("format"), kFormat},
                   {QStringLiteral("maximized"), settings.maximized},
                   {QStringLiteral("view"), jsonOf(settings.view)}};
  if (settings.geometry) {
    const QRect& r = *settings.geometry;
    json[QStringLiteral("geometry")] = QJsonObject{{QStringLiteral("x"), r.x()}, {QStringLiteral("y"), r.y()},
                                                  {QStringLiteral("width"), r.width()},
                                                  {QStringLiteral("height"), r.height()}};
  }
  return QJsonDocument(json).toJson();
}

ExploreSettings parseExploreSettings(const QByteArray& bytes) {
  const QJsonDocument document = QJsonDocument::fromJson(bytes);
  const QJsonObject json = document.object();
  if (!document.isObject() || json[QStringLiteral("format")].toString() != kFormat) return {};
  ExploreSettings settings;
  settings.geometry = geometryFrom(json[QStringLiteral("geometry")]);
  readFlag(json[QStringLiteral("maximized")], settings.maximized);
  settings.view = viewFrom(json[QStringLiteral("view")].toObject());
  return settings;
}

ExploreSettings readExploreSettings(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.read(kLargestFile + 1);
  if (bytes.size() > kLargestFile) return {};
  return parseExploreSettings(bytes);
}

bool writeExploreSettings(const QString& path, const ExploreSettings& settings) {
  return fileio::qt::replaceFile(path, formatExploreSettings(settings)).written;
}

QString exploreSettingsPath() {
  return app::GetDataFilePath(QStringLiteral("spirelle-explore.json"), QStringLiteral("Corvanel Works"));
}

}  // namespace explorer
