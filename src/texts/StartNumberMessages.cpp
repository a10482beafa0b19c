#include "texts/StartNumberMessages.h"

namespace language {

using spiral::Refusal;

std::string_view startNumberMessage(Refusal refusal, int languageSlot) {
  if (languageSlot != 0 && languageSlot != 1) return {};
  const bool german = languageSlot == 1;
  switch (refusal) {
    case Refusal::StartTooLarge:
      return german ? "Die Startzahl muss kleiner als 2^31 - 2 = 2147483646 sein."
                    : "Start number must be <= 2^31 - 2 = 2147483646.";
    case Refusal::EndNumberTooLarge:
      return german ? "Die Endzahl w\xC3\xBCrde 2^31 - 2 = 2147483646 \xC3\xBC" "bersteigen."
                    : "End number would be greater than 2^31 - 2 = 2147483646.";
    case Refusal::ClassLimitExceeded:
      return german ? "Bei Dreieckzahlen ist die Startzahl zu gross."
                    : "For triangular numbers the start number is too large.";
    case Refusal::None:
      break;
  }
  return {};
}

}  // namespace language
