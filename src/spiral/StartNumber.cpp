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

StartNumber parseStartNumber(std::string_view text, const NumberRange& range) {
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
  bool beyond64Bits = false;
  // No byte of a character outside ASCII is a digit, so such a text is never digits only.
  for (char c : text) {
    if (c < '0' || c > '9') {
      start.digitsOnly = false;
      break;
    }
    const auto digit = static_cast<Number>(c - '0');
    if (start.value > (UINT64_MAX - digit) / 10) beyond64Bits = true;
    if (!beyond64Bits) start.value = start.value * 10 + digit;
  }
  start.refusal = beyond64Bits ? Refusal::StartTooLarge : startRefusal(start.value, range);
  if (start.refusal != Refusal::None) start.value = range.largest == UINT64_MAX ? UINT64_MAX : range.largest + 1;
  return start;
}

Refusal startRefusal(Number start, const NumberRange& range) {
  return start > range.largest ? Refusal::StartTooLarge : Refusal::None;
}

Refusal pictureRefusal(Number start, int64_t count, NumberClass numberClass, const NumberRange& range) {
  if (const Refusal refusal = startRefusal(start, range); refusal != Refusal::None) return refusal;
  if (start > largestStart({range.largest, false}, numberClass, count)) return Refusal::EndNumberTooLarge;
  if (start > largestStart(range, numberClass, count)) return Refusal::ClassLimitExceeded;
  return Refusal::None;
}

}  // namespace spiral
