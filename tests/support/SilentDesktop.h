#pragma once
// A desktop that answers every dialog at once and records nothing: for benchmarks and fuzzing,
// where nobody reads what the window said.

#include "Desktop.h"

class SilentDesktop : public platform::Desktop {
 public:
  Answer showMessage(QWidget*, const QString&, const QString&, Buttons, Icon) override { return Answer::Ok; }
  QString askSaveFileName(QWidget*, const QString&, const QString&) override { return {}; }
  int openUrl(const QString&) override { return 42; }
  QLocale systemLocale() const override { return QLocale::c(); }
  bool startProgram(const QString&, const QStringList&) override { return true; }
};
