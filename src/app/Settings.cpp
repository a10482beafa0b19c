// The window's side of the settings store: defaults, reading into the controls, writing from them.

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include "StartNumber.h"
#include "SettingsStore.h"
#include "frmMain.h"
#include "WordTable.h"
#include "numlib.hpp"
#include "Desktop.h"

namespace {

// A stored list index: below `lowest` it is raised to `lowest`; past the end of the list it is not
// a choice of this program, and the line's default is taken instead.
int storedListIndex(const QComboBox* list, int stored, int lowest, int fallback) {
  if (stored >= list->count()) return fallback;
  return std::max(stored, lowest);
}

// Digits only, as many as the box takes, blanks around them ignored. A number too large for a
// picture is still the user's: it goes back into the box, and the first draw refuses it with its
// message, as it would any start the user typed.
bool isRestorableStartText(const spiral::StartNumber& start, int maxDigits) {
  return !start.typed.empty() && start.typed.size() <= std::size_t(maxDigits) && start.digitsOnly;
}

// Stored sizes below the smallest one that is restored come back as that one.
int smallestRestoredBoxSizeIndex() {
  int index = 0;
  while (!spiral::kCellSizes[index].restoredFromStore) ++index;
  return index;
}

}  // namespace

void frmMain::SetDefaultSettings() { applySettings(app::StoredSettings{}); }

// A store that gives no settings (none yet, one that cannot be read, or not a store of this
// version) starts the window as a first run does: with the defaults, in the desktop's language
// where the program has it. A language named on the command line wins over both. The store is
// left as it is until the end writes it.
void frmMain::ReadSettings() {
  std::optional<app::StoredSettings> stored = app::readSettingsFile(strSettingsFile);
  if (!stored || stored->version != intSettingsVersion) {
    stored = app::StoredSettings{};
    stored->language = app::languageOf(desktop_.systemLocale());
  }
  if (languageFromCommandLine) stored->language = *languageFromCommandLine;
  applySettings(*stored);
}

void frmMain::SaveSettings() { app::writeSettingsFile(strSettingsFile, settingsFromControls()); }

void frmMain::applySettings(const app::StoredSettings& s) {
  const app::StoredSettings defaults;
  const bool knownLanguage = s.language == language::kEnglish || s.language == language::kGerman;
  language::intLanguage = knownLanguage ? s.language : defaults.language;
  (s.shape == 1 ? optCircles : optSquares)->setChecked(true);

  cboBoxSize->setCurrentIndex(
      storedListIndex(cboBoxSize, s.boxSizeIndex, smallestRestoredBoxSizeIndex(), defaults.boxSizeIndex));
  cboColorBy->setCurrentIndex(storedListIndex(cboColorBy, s.colorByIndex, 0, defaults.colorByIndex));
  cboShow->setCurrentIndex(storedListIndex(cboShow, s.showIndex, 0, defaults.showIndex));
  cboClockTicks->setCurrentIndex(
      storedListIndex(cboClockTicks, s.clockTicksIndex, 0, defaults.clockTicksIndex));
  intBoxSizeIndex = cboBoxSize->currentIndex();

  const spiral::StartNumber stored = spiral::parseStartNumber(s.startNumberText.toStdString());
  const QString startText =
      isRestorableStartText(stored, intMaxStartDigits) ? QString::fromStdString(stored.typed) : defaults.startNumberText;
  setStartNumberText(startText);

  chkGrid->setChecked(s.grid == 1);
  chkNumerals->setChecked(s.numerals == 1);
  chkCentralNumberPrime->setChecked(s.centralNumberPrime == 1);
  chkCalculateLongest->setChecked(s.calculateLongest == 1);
  // A start past the largest is held as one past it, a prime, but is not the number stored.
  const int64_t start = spiral::parseStartNumber(startText.toStdString()).value;
  if (start > lngMaxNumber || !numlib::isPrime(start)) {
    chkCentralNumberPrime->setChecked(false);
  }
}

app::StoredSettings frmMain::settingsFromControls() const {
  app::StoredSettings s;  // of this version
  s.language = language::intLanguage;
  s.shape = optCircles->isChecked() ? 1 : 0;
  s.boxSizeIndex = cboBoxSize->currentIndex();
  s.colorByIndex = cboColorBy->currentIndex();
  s.showIndex = cboShow->currentIndex();
  s.clockTicksIndex = cboClockTicks->currentIndex();
  s.startNumberText = txbStartNumber->text();
  s.grid = chkGrid->isChecked() ? 1 : 0;
  s.numerals = chkNumerals->isChecked() ? 1 : 0;
  s.centralNumberPrime = chkCentralNumberPrime->isChecked() ? 1 : 0;
  s.calculateLongest = chkCalculateLongest->isChecked() ? 1 : 0;
  return s;
}

// Writes the start number into its box and runs the box's change handling, also when the text
// is unchanged (the box raises no change then).
void frmMain::setStartNumberText(const QString& text) {
  if (txbStartNumber->text() == text) {
    txbStartNumber_Change();
  } else {
    txbStartNumber->setText(text);
  }
}
