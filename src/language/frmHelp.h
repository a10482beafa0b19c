#pragma once
// The help window: a fixed English text about the spiral and its colour schemes beside a picture of
// a small prime spiral. Modal; Close only hides it, so it is built once and shown again as it was.

#include <array>
#include <functional>

#include <QDialog>
#include <QString>

#include "LanguageSlots.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

class frmHelp : public QDialog {
  Q_OBJECT

 public:
  // `setLanguageToEnglish` is called every time the window is shown: the help speaks English, and
  // the program goes on in English afterwards (the main window passes a function that sets
  // intLanguage to 0).
  explicit frmHelp(std::function<void()> setLanguageToEnglish, QWidget* parent = nullptr);

  // The opening from the main window's Help button: places the window over the lower part of
  // `mainWindow` (its left edge and width, its top 720 twips below the top of the start-number
  // frame, which lies `frameTopTwips` below the main window's top), shows it modally and returns
  // when the user has closed it.
  void showModalFor(QWidget* mainWindow, int frameTopTwips);

  // The help text of a language slot (English and German; other slots are empty). Paragraphs are
  // separated by carriage return and line feed.
  QString helpText(int languageSlot) const;

  // The text the box shows as it reads when copied: its web addresses are shown unbreakable.
  static QString plainText(QString shown);

 private:
  void buildHelpTexts();
  void Form_Activate(QWidget* mainWindow, int frameTopTwips);
  void cmdClose_Click();

  std::function<void()> setLanguageToEnglish_;
  std::array<QString, language::kWindowTextSlots> strHelpText;
  QPlainTextEdit* txbHelp1;
  QLabel* imgSpiral;
  QPushButton* cmdClose;
};
