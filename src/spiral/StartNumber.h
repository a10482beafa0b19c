#pragma once
// The start number: the one reading of its text, and why a picture may be refused for it.

#include <cstdint>
#include <string>
#include <string_view>

#include "Choices.h"

namespace spiral {

enum class Refusal {
  None,
  StartTooLarge,       // the start number is above the range's largest number
  EndNumberTooLarge,   // the last number of the picture would be above the range's largest number
  ClassLimitExceeded,  // the last number would be above the class's own limit (triangular numbers)
};

// Why a picture cannot start at `start`, from the start alone: above the range's largest number.
Refusal startRefusal(Number start, const NumberRange& range);
// Why a picture of `count` numbers of the class cannot start at `start`: the start alone, then the
// end number, then the class's own limit. The one rule for both the parser and the draw pass.
Refusal pictureRefusal(Number start, int64_t count, NumberClass numberClass, const NumberRange& range);

struct StartNumber {
  std::string typed;     // the text without the blanks around it, as it was typed
  std::string text;      // the digits without leading zeros (a lone "0" stays); "1" for an empty text
  // Saturates one past the range's largest number (at 2^64 - 1 in the whole range), so that no
  // digit string overflows.
  Number value = 1;
  bool digitsOnly = true;  // the text held decimal digits only (an empty text does)
  Refusal refusal = Refusal::None;  // StartTooLarge above the range's largest number
};

// Reads a start-number text (UTF-8). Blanks around it are ignored, the ones Qt's QChar::isSpace()
// knows; blanks inside it are not. A text that is empty without its blanks stands for 1.
StartNumber parseStartNumber(std::string_view text, const NumberRange& range = kWindowRange);

}  // namespace spiral
