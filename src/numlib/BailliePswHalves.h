#pragma once
// The Baillie-PSW loops in vector lanes that multiply 32-bit halves (AVX2), for moduli below 2^60:
// the steps of the word loops' doubling and looser forms (BailliePsw.cpp), sixteen numbers at once,
// leaving the same values.

#include <cstddef>
#include <cstdint>

namespace numlib::detail {

constexpr size_t kHalfLanes = 16;
constexpr uint64_t kHalfLanesServeBelow = uint64_t{1} << 60;

// Each lane's odd modulus n below 2^60, n * inverse = 1 mod 2^64, and the exponent d it walks.
struct HalfLanes {
  uint64_t n[kHalfLanes];
  uint64_t inverse[kHalfLanes];
  uint64_t d[kHalfLanes];
};

// x, in the form and below 2n, becomes x^(2^bits) 2^(d mod 2^bits): each of d's bits from bit
// `bits` - 1 down squares x and doubles it where the bit is 1. Left below 2n.
struct HalfLanesBase2 : HalfLanes {
  uint64_t x[kHalfLanes];
};
void raiseTwoInHalves(HalfLanesBase2& lanes, int bits);

// From V_k = v, V_(k+1) = vNext (below 4n), each of d's bits from bit `bits` - 1 down takes k to
// 2k + bit, with pPrepared = 3n - P' and twoPrepared = 3n - 2 (2 and P' in the form, below n).
// Left below 4n.
struct HalfLanesLucas : HalfLanes {
  uint64_t v[kHalfLanes];
  uint64_t vNext[kHalfLanes];
  uint64_t pPrepared[kHalfLanes];
  uint64_t twoPrepared[kHalfLanes];
};
void walkLucasInHalves(HalfLanesLucas& lanes, int bits);

}  // namespace numlib::detail
