#include "texts/StartNumberMessages.h"

namespace language {

using spiral::Refusal;

QString startNumberMessage(Refusal refusal, int languageSlot) {
  if (languageSlot != 0 && languageSlot != 1) return {};
  const bool german = languageSlot == 1;
  switch (refusal) {
    case Refusal::StartTooLarge:
      return german ? QStringLiteral("Die Startzahl muss kleiner als 2^31 - 2 = 2147483646 sein.")
                    : QStringLiteral("Start number must be <= 2^31 - 2 = 2147483646.");
    case Refusal::EndNumberTooLarge:
      return german ? QStringLiteral("Die Endzahl w\u00FCrde 2^31 - 2 = 2147483646 \u00FCbersteigen.")
                    : QStringLiteral("End number would be greater than 2^31 - 2 = 2147483646.");
    case Refusal::TriangularTooLarge:
      return german ? QStringLiteral("Bei Dreieckzahlen ist die Startzahl zu gross.")
                    : QStringLiteral("For triangular numbers the start number is too large.");
    case Refusal::None:
      break;
  }
  return {};
}

}  // namespace language
