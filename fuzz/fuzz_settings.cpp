// The settings-store reader on any bytes as the file: the window must come up with values it can
// show, whatever the store holds.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>

#include "FuzzWindow.h"
#include "WordTable.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

// Digits the box can hold; a number too large for a picture is kept for the first draw to refuse.
bool isStartText(const QString& text) {
  if (text.isEmpty() || text.size() > 12) return false;
  for (QChar c : text) {
    if (c < u'0' || c > u'9') return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  frmMain& window = fuzzWindow();
  {
    QFile store(window.strSettingsFile);
    check(store.open(QIODevice::WriteOnly | QIODevice::Truncate));
    store.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }
  window.ReadSettings();
  check(language::intLanguage == 0 || language::intLanguage == 1);
  check(window.cboBoxSize->currentIndex() >= 3 && window.cboBoxSize->currentIndex() < window.cboBoxSize->count());
  for (QComboBox* list : {window.cboColorBy, window.cboShow, window.cboClockTicks}) {
    check(list->currentIndex() >= 0 && list->currentIndex() < list->count());
  }
  check(window.intBoxSizeIndex == window.cboBoxSize->currentIndex());
  check(isStartText(window.txbStartNumber->text()));
  check(window.optCircles->isChecked() != window.optSquares->isChecked());
  return 0;
}
