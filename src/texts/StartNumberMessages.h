#pragma once
// What the user is told when a start number is refused, by language slot.

#include <string_view>

#include "StartNumber.h"

namespace language {

// The message of a refusal (UTF-8) in language slot 0 (English) or 1 (German); empty for any other
// slot and for Refusal::None.
std::string_view startNumberMessage(spiral::Refusal refusal, int languageSlot);

}  // namespace language
