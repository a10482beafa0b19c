// The start-number text box: its messages and the handling of a changed text.

#include <QLineEdit>
#include <QScrollBar>

#include "StartNumber.h"
#include "language/WordTable.h"
#include "app/frmMain.h"
#include "platform/Desktop.h"

void frmMain::SetStartNumberMessages() {
  strStartNumberMessages[TooLargeMessage] = {
      QStringLiteral("Start number must be <= 2^31 - 2 = 2147483646."),
      QStringLiteral("Die Startzahl muss kleiner als 2^31 - 2 = 2147483646 sein."), QString()};
  strStartNumberMessages[EndNumberMessage] = {
      QStringLiteral("End number would be greater than 2^31 - 2 = 2147483646."),
      QStringLiteral("Die Endzahl w\u00FCrde 2^31 - 2 = 2147483646 \u00FCbersteigen."), QString()};
  strStartNumberMessages[TriangularMessage] = {
      QStringLiteral("For triangular numbers the start number is too large."),
      QStringLiteral("Bei Dreieckzahlen ist die Startzahl zu gross."), QString()};
}

void frmMain::ShowStartNumberMessage(StartNumberMessage message) {
  // The message table has three language slots; any other language reads the English one.
  const int slot = language::intLanguage >= 0 && language::intLanguage < 3 ? language::intLanguage
                                                                             : language::kEnglish;
  desktop_.showMessage(this, language::W(language::Word::Error),
                       strStartNumberMessages[message][slot]);
}

// Drops leading zeros, refuses a number that is too large, and keeps the scroll bar in step. It
// never draws: typing only edits the text.
void frmMain::txbStartNumber_Change() {
  QString text = txbStartNumber->text();
  while (text.size() >= 2 && text.startsWith(QLatin1Char('0'))) text.remove(0, 1);

  int64_t number = -1;  // an empty box: the scroll bar cannot show it
  if (!text.isEmpty()) {
    const std::string digits = text.toStdString();
    if (spiral::isStartNumberTooLarge(digits)) {
      if (blnFormLoaded) ShowStartNumberMessage(TooLargeMessage);
      return;  // the text stays as typed until the user corrects it
    }
    number = spiral::leadingNumber(digits);
  }
  keepScrollBarInStep(number);
  // Writing the text raises this handler once more, which then finds nothing to change.
  if (txbStartNumber->text() != text) txbStartNumber->setText(text);
}

void frmMain::keepScrollBarInStep(int64_t number) {
  if (number < intScrollLow || number > lngScrollHigh) {
    vsbStartNumber->setEnabled(false);
    return;
  }
  if (vsbStartNumber->value() != number) {
    blnSyncingScrollBar = true;
    vsbStartNumber->setValue(static_cast<int>(number));
    blnSyncingScrollBar = false;
  }
  if (!isSpiralling()) vsbStartNumber->setEnabled(true);
}
