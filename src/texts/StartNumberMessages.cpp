#include "StartNumberMessages.h"

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

std::string wholeRangeRefusal(spiral::Number largestStart, int languageSlot) {
  const std::string largest = std::to_string(largestStart);
  switch (languageSlot) {
    case 0:
      return "End number would be greater than 2^64 - 1 = 18446744073709551615: the largest start number "
             "for this picture is " + largest + ".";
    case 1:
      return "Die Endzahl w\xC3\xBCrde 2^64 - 1 = 18446744073709551615 \xC3\xBC" "bersteigen: die h\xC3\xB6" "chste "
             "Startzahl f\xC3\xBCr dieses Bild ist " + largest + ".";
    default:
      return {};
  }
}

}  // namespace language
