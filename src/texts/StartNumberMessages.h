#pragma once
// What the user is told when a start number is refused, by language slot.

#include <string>
#include <string_view>

#include "StartNumber.h"

namespace language {

// The message of a refusal (UTF-8) in language slot 0 (English) or 1 (German); empty for any other
// slot and for Refusal::None.
std::string_view startNumberMessage(spiral::Refusal refusal, int languageSlot);

// The refusal of a picture that would pass 2^64 - 1, naming the largest start it allows (UTF-8), in
// language slot 0 (English) or 1 (German); empty for any other slot.
std::string wholeRangeRefusal(spiral::Number largestStart, int languageSlot);

}  // namespace language
