#include "StartNumber.h"

namespace spiral {

StartNumber parseStartNumber(std::string_view text) {
  StartNumber start;
  if (text.empty()) {
    start.text = "1";
    return start;
  }
  std::size_t firstKept = 0;
  while (firstKept + 1 < text.size() && text[firstKept] == '0') ++firstKept;
  start.text = text.substr(firstKept);
  start.value = 0;
  // No byte of a character outside ASCII is a digit, so such a text is never digits only.
  for (char c : text) {
    if (c < '0' || c > '9') {
      start.digitsOnly = false;
      break;
    }
    if (start.value <= kMaxNumber) start.value = start.value * 10 + (c - '0');
  }
  start.refusal = startRefusal(start.value);
  if (start.refusal != Refusal::None) start.value = kMaxNumber + 1;
  return start;
}

Refusal startRefusal(int64_t start) { return start > kMaxNumber ? Refusal::StartTooLarge : Refusal::None; }

Refusal pictureRefusal(int64_t start, int64_t count, NumberClass numberClass) {
  if (const Refusal refusal = startRefusal(start); refusal != Refusal::None) return refusal;
  if (start > kMaxNumber - (count - 1)) return Refusal::EndNumberTooLarge;
  if (start > largestStart(numberClass, count)) return Refusal::ClassLimitExceeded;
  return Refusal::None;
}

}  // namespace spiral
