#include "SettingsStore.h"

#include <limits>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include "DeviceWriter.h"
#include "LanguageSlots.h"

namespace app {

namespace {

// A real store is well under a hundred bytes; anything much larger is not one.
constexpr qint64 kLargestStore = 4096;

struct Value {
  QString text;
  bool quoted = false;
};

bool isLineEnd(QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); }

// Reads one value starting at `pos` and moves `pos` past the comma or line end that ends it.
Value readValue(const QString& text, qsizetype& pos) {
  while (pos < text.size() && (text[pos] == QLatin1Char(' ') || text[pos] == QLatin1Char('\t'))) ++pos;
  Value value;
  if (pos < text.size() && text[pos] == QLatin1Char('"')) {
    const qsizetype close = text.indexOf(QLatin1Char('"'), pos + 1);
    const qsizetype end = close < 0 ? text.size() : close;
    value = {text.mid(pos + 1, end - pos - 1), true};
    pos = end + 1;
  }
  const qsizetype start = pos;
  while (pos < text.size() && text[pos] != QLatin1Char(',') && !isLineEnd(text[pos])) ++pos;
  if (!value.quoted) value.text = text.mid(start, pos - start).trimmed();
  if (pos < text.size() && text[pos] == QLatin1Char(',')) {
    ++pos;
  } else if (pos < text.size()) {  // CR LF, CR or LF
    if (text[pos] == QLatin1Char('\r') && pos + 1 < text.size() && text[pos + 1] == QLatin1Char('\n')) ++pos;
    ++pos;
  }
  return value;
}

std::vector<Value> splitValues(const QString& text, std::size_t wanted) {
  std::vector<Value> values;
  qsizetype pos = 0;
  while (pos < text.size() && values.size() < wanted) values.push_back(readValue(text, pos));
  return values;
}

// A whole number in the range of a 16-bit integer, as the store keeps them.
std::optional<int> toSmallInteger(const Value& value) {
  if (value.quoted) return std::nullopt;
  bool ok = false;
  const int number = value.text.toInt(&ok);
  if (!ok || number < std::numeric_limits<int16_t>::min() || number > std::numeric_limits<int16_t>::max()) {
    return std::nullopt;
  }
  return number;
}

}  // namespace

QByteArray formatSettings(const StoredSettings& s) {
  const QString text =
      QStringLiteral("%1\r\n%2\r\n%3\r\n%4,%5,%6,%7\r\n\"%8\"\r\n%9\r\n%10\r\n%11\r\n%12\r\n")
          .arg(s.version)
          .arg(s.language)
          .arg(s.shape)
          .arg(s.boxSizeIndex)
          .arg(s.colorByIndex)
          .arg(s.showIndex)
          .arg(s.clockTicksIndex)
          .arg(s.startNumberText)
          .arg(s.grid)
          .arg(s.numerals)
          .arg(s.centralNumberPrime)
          .arg(s.calculateLongest);
  return text.toUtf8();
}

std::optional<StoredSettings> parseSettings(const QByteArray& bytes) {
  constexpr std::size_t kValueCount = 12;
  constexpr std::size_t kStartNumberValue = 7;
  const std::vector<Value> values = splitValues(QString::fromUtf8(bytes), kValueCount);
  if (values.size() < kValueCount) return std::nullopt;

  std::vector<int> numbers;
  for (std::size_t i = 0; i < kValueCount; ++i) {
    if (i == kStartNumberValue) continue;
    const std::optional<int> number = toSmallInteger(values[i]);
    if (!number) return std::nullopt;
    numbers.push_back(*number);
  }
  StoredSettings s;
  int* const fields[] = {&s.version,      &s.language,           &s.shape,           &s.boxSizeIndex,
                         &s.colorByIndex, &s.showIndex,          &s.clockTicksIndex, &s.grid,
                         &s.numerals,     &s.centralNumberPrime, &s.calculateLongest};
  for (std::size_t i = 0; i < numbers.size(); ++i) *fields[i] = numbers[i];
  s.startNumberText = values[kStartNumberValue].text;
  return s;
}

std::optional<StoredSettings> readSettingsFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray bytes = file.read(kLargestStore + 1);
  if (bytes.size() > kLargestStore) return std::nullopt;
  return parseSettings(bytes);
}

bool writeSettingsFile(const QString& path, const StoredSettings& settings) {
  return fileio::qt::replaceFile(path, formatSettings(settings)).written;
}

void removeStoreLeftovers(const QString& path) {
  const QFileInfo store(path);
  fileio::qt::removeLeftovers(store.path());
  // Earlier versions wrote the store through "spl.usr.XXXXXX"; a crash could leave one behind.
  const QRegularExpression earlierTemporary(QRegularExpression::anchoredPattern(
      QRegularExpression::escape(store.fileName()) + QStringLiteral("\\.[A-Za-z0-9]{6}")));
  for (const QString& name : store.dir().entryList(QDir::Files | QDir::Hidden)) {
    if (earlierTemporary.match(name).hasMatch()) QFile::remove(store.dir().filePath(name));
  }
}

int languageOf(const QLocale& locale) {
  return locale.language() == QLocale::German ? language::kGerman : language::kEnglish;
}

QString GetDataFilePath(const QString& fileName, const QString& folderName) {
#ifdef Q_OS_WIN
  QString base = qEnvironmentVariable("APPDATA");
#else
  QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
#endif
  if (base.isEmpty()) base = QDir::homePath();
  const QString folder = QDir(base).filePath(folderName);
  // A folder that cannot be made leaves a path that can be neither read nor written, which the
  // store treats as a missing store.
  if (!QFileInfo(folder).isDir()) QDir().mkpath(folder);
  return QDir(folder).filePath(fileName);
}

}  // namespace app
