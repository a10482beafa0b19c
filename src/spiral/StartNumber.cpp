#include "StartNumber.h"

namespace spiral {

StartNumber parseStartNumber(QStringView text) {
  StartNumber start;
  if (text.isEmpty()) {
    start.text = QStringLiteral("1");
    return start;
  }
  qsizetype firstKept = 0;
  while (firstKept < text.size() - 1 && text[firstKept] == u'0') ++firstKept;
  start.text = text.mid(firstKept).toString();
  start.value = 0;
  for (QChar c : text) {
    if (c < u'0' || c > u'9') {
      start.digitsOnly = false;
      break;
    }
    if (start.value <= kMaxNumber) start.value = start.value * 10 + (c.unicode() - u'0');
  }
  if (start.value > kMaxNumber) {
    start.value = kMaxNumber + 1;
    start.refusal = Refusal::StartTooLarge;
  }
  return start;
}

}  // namespace spiral
