#pragma once
// The seam between the windows and the desktop: every modal message box, the Save As dialog and
// the opening of a web address go through it, so that tests can answer them without a real dialog.

#include <QString>

class QWidget;

namespace platform {

class Desktop {
 public:
  enum class Icon { None, Information, Exclamation };
  enum class Buttons { Ok, YesNo };
  enum class Answer { Ok, Yes, No };

  virtual ~Desktop() = default;

  // The answers of openUrl, as the Windows shell gives them: a value above kLastLaunchError means
  // the browser has started; kNoAssociation that no program takes the address.
  static constexpr int kLastLaunchError = 32;
  static constexpr int kNoAssociation = 31;

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
};

// The real desktop: QMessageBox, QFileDialog and QDesktopServices.
class QtDesktop : public Desktop {
 public:
  Answer showMessage(QWidget* parent, const QString& title, const QString& text, Buttons buttons,
                     Icon icon) override;
  QString askSaveFileName(QWidget* parent, const QString& title, const QString& filter) override;
  int openUrl(const QString& address) override;
};

}  // namespace platform
