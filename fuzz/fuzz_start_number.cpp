// The start-number box under any sequence of typed keys and pasted texts: it always holds digits
// only, at most 12 of them, and the scroll bar shows the number whenever it can.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include "FuzzWindow.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

void checkInvariant(const frmMain& window) {
  const QString text = window.txbStartNumber->text();
  check(text.size() <= 12);
  for (QChar c : text) check(c >= u'0' && c <= u'9');
  bool ok = false;
  const qlonglong number = text.toLongLong(&ok);
  if (ok && number <= 32767) check(window.vsbStartNumber->value() == number);
}

// Each input byte is one action on the box; the bytes after a paste action are the pasted text.
void act(frmMain& window, const uint8_t*& data, const uint8_t* end) {
  QLineEdit* box = window.txbStartNumber;
  const uint8_t action = *data++;
  switch (action % 8) {
    case 0: QTest::keyClick(box, Qt::Key_Backspace); break;
    case 1: QTest::keyClick(box, Qt::Key_Delete); break;
    case 2: QTest::keyClick(box, Qt::Key_Home); break;
    case 3: QTest::keyClick(box, Qt::Key_End); break;
    case 4: {  // paste the next bytes, up to a zero byte
      QByteArray pasted;
      while (data < end && *data != 0) pasted.append(static_cast<char>(*data++));
      if (data < end) ++data;
      QApplication::clipboard()->setText(QString::fromUtf8(pasted));
      QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
      break;
    }
    case 5: box->insert(QString::fromLatin1(reinterpret_cast<const char*>(&action), 1)); break;
    default: QTest::keyClick(box, static_cast<char>('0' + action % 10)); break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  frmMain& window = fuzzWindow();
  window.txbStartNumber->setText(QStringLiteral("1"));
  window.txbStartNumber->setFocus();
  const uint8_t* end = data + size;
  while (data < end) {
    act(window, data, end);
    checkInvariant(window);
  }
  return 0;
}
