#include "StartNumber.h"

namespace spiral {

bool isStartNumberTooLarge(std::string_view digits) {
  constexpr std::string_view kLargest = "2147483646";
  if (digits.size() != kLargest.size()) return digits.size() > kLargest.size();
  return digits > kLargest;
}

int64_t leadingNumber(std::string_view text) {
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
    if (value > kMaxNumber) return kMaxNumber + 1;
  }
  return value;
}

}  // namespace spiral
