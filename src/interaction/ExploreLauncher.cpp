// Ctrl+E: the explorer roams the spiral the window shows, beyond the window's keyhole. It runs as a
// process of its own, so that the window's modal boxes and animations never hold it up.

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "ChoiceNames.h"
#include "Desktop.h"
#include "LanguageSlots.h"
#include "WordTable.h"
#include "frmMain.h"

namespace {

// Beside the window's program, where the build and an installation put it; else from the PATH.
QString explorerProgram() {
  const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("spirelle-explore"));
  return QFileInfo(beside).isExecutable() ? beside : QStringLiteral("spirelle-explore");
}

}  // namespace

void frmMain::startExplorer() {
  // The picture on the screen: the pass's start and cell size, the lists' other choices.
  spiral::DrawSettings settings = drawSettingsFromControls();
  if (lastPass.startNumber == 0) return;  // no picture yet
  settings.start = lastPass.startNumber;
  settings.boxSize = lastPass.geometry.boxSize;
  QStringList arguments;
  for (const std::string& argument : spiral::choiceArguments(settings)) arguments << QString::fromStdString(argument);
  const std::string language = spiral::nameOfChoice<int>(language::kLanguageNames, language::intLanguage);
  arguments << QStringLiteral("--language") << QString::fromStdString(language.empty() ? "en" : language);
  desktop_.startProgram(explorerProgram(), arguments);
}
