#pragma once
// Limits of the numbers a picture may hold.

#include <cstdint>
#include <string_view>

namespace spiral {

inline constexpr int64_t kMaxNumber = 2147483646;           // 2^31 - 2
inline constexpr int64_t kMaxTriangularNumber = kMaxNumber / 8;  // 8n + 1 stays below 2^31

// True when the digit string stands for a number above kMaxNumber. Works on the text, so it never
// converts a number that does not fit.
bool isStartNumberTooLarge(std::string_view digits);

// The value of the leading decimal digits of `text` (0 when it starts with none); saturates at
// kMaxNumber + 1 so that a too-long digit string never overflows.
int64_t leadingNumber(std::string_view text);

}  // namespace spiral
