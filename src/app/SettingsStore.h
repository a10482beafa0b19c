#pragma once
// The settings store: a nine-line text file that keeps the window's options between runs.
//
//   1  format version            1
//   2  language                  0 English, 1 German
//   3  cell shape                1 circles, 0 squares
//   4  four list indices         box size, colour scheme, number class, clock ticks: 3,0,0,2
//   5  start number text, quoted "1"
//   6..9  grid, numerals, central number prime only, longest diagonals: 1 ticked, 0 not
//
// Values are separated by commas or line ends, strings are quoted, and every line ends in CR LF.

#include <optional>

#include <QByteArray>
#include <QLocale>
#include <QString>

namespace app {

// The store's format version, its first line: a store of another version is not read.
inline constexpr int kSettingsVersion = 1;

// The values of a store; as constructed, the defaults of a first run.
struct StoredSettings {
  int version = kSettingsVersion;
  int language = 0;
  int shape = 1;
  int boxSizeIndex = 3;
  int colorByIndex = 0;
  int showIndex = 0;
  int clockTicksIndex = 2;
  QString startNumberText = QStringLiteral("1");
  int grid = 0;
  int numerals = 1;
  int centralNumberPrime = 0;
  int calculateLongest = 0;

  bool operator==(const StoredSettings&) const = default;
};

// The store's bytes for `settings`.
QByteArray formatSettings(const StoredSettings& settings);

// The values of a store, whatever its version; nothing when a value is missing or a number does
// not read as one. The values are not checked against their ranges.
std::optional<StoredSettings> parseSettings(const QByteArray& bytes);

// Reads the store at `path`; nothing when it cannot be read or is not a store at all.
std::optional<StoredSettings> readSettingsFile(const QString& path);

// Replaces the store at `path` as a whole: a failed write leaves the previous store as it was.
bool writeSettingsFile(const QString& path, const StoredSettings& settings);

// Removes the temporary copies of the store at `path` that a crash while writing left beside it.
void removeStoreLeftovers(const QString& path);

// The language slot of a desktop's locale: German for any German locale, English for every other,
// as the program has no third language.
int languageOf(const QLocale& locale);

// The full path of `fileName` in the folder `folderName` under the user's application-data folder
// (the home folder when there is none); the folder is created when missing.
QString GetDataFilePath(const QString& fileName, const QString& folderName);

}  // namespace app
