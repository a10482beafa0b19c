#pragma once
// A main window for tests: its own settings folder (through XDG_CONFIG_HOME), a recording desktop,
// and helpers to prepare and read the settings store.

#include <memory>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include "RecordingDesktop.h"
#include "app/frmMain.h"

class MainWindowHarness {
 public:
  MainWindowHarness() { qputenv("XDG_CONFIG_HOME", configHome_.path().toLocal8Bit()); }

  QString storePath() const { return configHome_.filePath(QStringLiteral("Corvanel Works/spl.usr")); }

  void writeStore(const QByteArray& bytes) const {
    QDir().mkpath(configHome_.filePath(QStringLiteral("Corvanel Works")));
    QFile file(storePath());
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
  }

  // A store made of these lines, each ended by CR LF.
  void writeStoreLines(const QStringList& lines) const {
    writeStore((lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
  }

  QByteArray storeBytes() const {
    QFile file(storePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  // Builds the window and runs its start-up.
  frmMain& start() {
    window_ = std::make_unique<frmMain>(desktop);
    window_->Form_Load();
    return *window_;
  }

  frmMain& window() { return *window_; }

  RecordingDesktop desktop;

 private:
  QTemporaryDir configHome_;
  std::unique_ptr<frmMain> window_;
};

// The lines of a store that holds the defaults.
inline QStringList defaultStoreLines() {
  return {QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("3,0,0,2"),
          QStringLiteral("\"1\""), QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("0"),
          QStringLiteral("0")};
}
