#pragma once
// What the user is told when a draw request is refused, by language slot.

#include <QString>

#include "DrawPass.h"

namespace spiral {

// The message of a refusal in language slot 0 (English) or 1 (German); empty for any other slot
// and for Refusal::None.
QString refusalMessage(Refusal refusal, int languageSlot);

}  // namespace spiral
