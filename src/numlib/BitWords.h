#pragma once
// Bitsets in 64-bit words: bit i of bits[i / 64] stands for the i-th number of a window.

#include <cstdint>

namespace numlib::detail {

inline void setBit(uint64_t* bits, uint64_t i) { bits[i >> 6] |= uint64_t{1} << (i & 63); }
inline void clearBit(uint64_t* bits, uint64_t i) { bits[i >> 6] &= ~(uint64_t{1} << (i & 63)); }

}  // namespace numlib::detail
