#pragma once
// Signed 128-bit integers, for the constants of quadratics: the numbers of a spiral reach 2^64 and
// their quadratics' constants and discriminants pass 64 bits on either side of zero.

#include <string>

namespace numlib {

__extension__ typedef __int128 Int128;

// The decimal digits of x, with a minus sign when it is negative.
inline std::string toDecimal(Int128 x) {
  const bool negative = x < 0;
  // Digit by digit from the last; the remainder of a negative x is negative or zero.
  std::string digits;
  do {
    const int digit = static_cast<int>(x % 10);
    digits.insert(digits.begin(), static_cast<char>('0' + (negative ? -digit : digit)));
    x /= 10;
  } while (x != 0);
  if (negative) digits.insert(digits.begin(), '-');
  return digits;
}

}  // namespace numlib
