#pragma once
// The seam between the windows and the desktop: every modal message box, the Save As dialog, the
// opening of a web address, the start of another program and the desktop's language go through it, so that tests can answer
// them without a real dialog or the machine's settings.

#include <QLocale>
#include <QString>
#include <QStringList>

class QWidget;

namespace platform {

class Desktop {
 public:
  enum class Icon { None, Information, Exclamation };
  enum class Buttons { Ok, YesNo };
  enum class Answer { Ok, Yes, No };

  // The answers of openUrl, as the Windows shell gives them: a value above kLastLaunchError means
  // the browser has started; kNoAssociation that no program takes the address.
  static constexpr int kLastLaunchError = 32;
  static constexpr int kNoAssociation = 31;

  virtual ~Desktop() = default;

  // A modal message box; returns the button pressed.
  virtual Answer showMessage(QWidget* parent, const QString& title, const QString& text,
                             Buttons buttons = Buttons::Ok, Icon icon = Icon::None) = 0;

  // The Save As dialog; returns the chosen file name, empty when cancelled. It does not ask about
  // overwriting: the caller does that through showMessage.
  virtual QString askSaveFileName(QWidget* parent, const QString& title, const QString& filter) = 0;

  // Opens a web address in the default browser. Answers like the Windows shell: a value above
  // kLastLaunchError on success, kNoAssociation when no program takes the address, other small
  // values for other failures.
  virtual int openUrl(const QString& address) = 0;

  // The user's locale on this desktop; its language is the program's on a first run.
  virtual QLocale systemLocale() const = 0;

  // Starts `program` with `arguments` as a process of its own, which outlives this one; true when
  // it has started.
  virtual bool startProgram(const QString& program, const QStringList& arguments) = 0;
};

// The real desktop: QMessageBox, QFileDialog, QDesktopServices and the system's locale.
class QtDesktop : public Desktop {
 public:
  Answer showMessage(QWidget* parent, const QString& title, const QString& text, Buttons buttons,
                     Icon icon) override;
  QString askSaveFileName(QWidget* parent, const QString& title, const QString& filter) override;
  int openUrl(const QString& address) override;
  QLocale systemLocale() const override { return QLocale::system(); }
  bool startProgram(const QString& program, const QStringList& arguments) override;
};

}  // namespace platform
