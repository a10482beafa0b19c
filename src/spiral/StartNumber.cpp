#include "StartNumber.h"

namespace spiral {
namespace {

// How many bytes the blank at the start of `text` takes, 0 when it begins with none. The blanks are
// those of Qt's QChar::isSpace(), so that the window's box and the renderer ignore the same ones:
// the ASCII space, tab to carriage return, U+0085, and Unicode's space, line and paragraph separators.
std::size_t blankLengthAt(std::string_view text) {
  static constexpr std::string_view kWideBlanks[] = {
      "\xC2\x85", "\xC2\xA0", "\xE1\x9A\x80", "\xE2\x80\xA8", "\xE2\x80\xA9", "\xE2\x80\xAF",
      "\xE2\x81\x9F", "\xE3\x80\x80"};
  if (!text.empty() && (text[0] == ' ' || (text[0] >= '\t' && text[0] <= '\r'))) return 1;
  for (std::string_view blank : kWideBlanks) {
    if (text.starts_with(blank)) return blank.size();
  }
  // U+2000 ... U+200A, the spaces of typesetting
  if (text.size() >= 3 && text.starts_with("\xE2\x80")) {
    const auto last = static_cast<unsigned char>(text[2]);
    if (last >= 0x80 && last <= 0x8A) return 3;
  }
  return 0;
}

// How many bytes the blank at the end of `text` takes, 0 when it ends in none.
std::size_t blankLengthBefore(std::string_view end) {
  for (std::size_t length = 1; length <= 3 && length <= end.size(); ++length) {
    if (blankLengthAt(end.substr(end.size() - length)) == length) return length;
  }
  return 0;
}

std::string_view withoutSurroundingBlanks(std::string_view text) {
  while (const std::size_t length = blankLengthAt(text)) text.remove_prefix(length);
  while (const std::size_t length = blankLengthBefore(text)) text.remove_suffix(length);
  return text;
}

}  // namespace

StartNumber parseStartNumber(std::string_view text) {
  text = withoutSurroundingBlanks(text);
  StartNumber start;
  start.typed = text;
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
