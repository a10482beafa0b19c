// The loops of the strong test to base 2 and of the Lucas test in vector lanes whose multiplier
// takes 32-bit halves (AVX2), sixteen numbers at a time. A lane's product is Montgomery's, with
// R = 2^64, reduced in two steps of 32 bits: the same m clears the low word as the 64-bit form's, so
// every step leaves the very value the word loops in BailliePsw.cpp leave, and the word loops' ends
// and answers follow unchanged. The 64-bit multiplier gives a product in about five cycles, and the
// loops ran 1.7 times as fast in these lanes as in words (1.1 against 1.8 ns a bit and number for
// the strong test): with the work around the loops, a prime's whole test takes 0.7 of the time in
// words and a composite's 0.8 (bench_numlib: primalityTest against _words).

#include "BailliePswHalves.h"

#if defined(__x86_64__)

#include <immintrin.h>

// Everything below is compiled for those lanes, and only ever called where halfLanesAvailable()
// found them.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

namespace numlib::detail {

namespace {

using Vector = __m256i;

#define Inline [[gnu::always_inline]] inline

constexpr size_t kVectors = kHalfLanes / 4;  // worked side by side, so that their products overlap

Inline Vector broadcast(uint64_t x) { return _mm256_set1_epi64x(static_cast<long long>(x)); }
Inline Vector load(const uint64_t* from) { return _mm256_loadu_si256(reinterpret_cast<const Vector*>(from)); }
Inline void store(uint64_t* to, Vector v) { _mm256_storeu_si256(reinterpret_cast<Vector*>(to), v); }
Inline Vector add(Vector a, Vector b) { return _mm256_add_epi64(a, b); }
Inline Vector subtract(Vector a, Vector b) { return _mm256_sub_epi64(a, b); }
// The product of the low halves of a and b.
Inline Vector multiplyLow32(Vector a, Vector b) { return _mm256_mul_epu32(a, b); }
Inline Vector high32(Vector a) { return _mm256_srli_epi64(a, 32); }
// Each lane of a mask of all ones or none: ifOne where the mask is set, else ifZero.
Inline Vector select(Vector mask, Vector ifOne, Vector ifZero) { return _mm256_blendv_epi8(ifZero, ifOne, mask); }

// A vector's four moduli: n, its high half, and 1/n mod 2^32 in the low half of `inverse`.
struct Moduli {
  Vector n, high, inverse;
};

// Keeps the first step's sum L non-negative: L lies above -2^61, and 2^62 has no low half to upset
// the second step's m. Taken off again at the end, as 2^30 of the 32-bit-shifted sum.
constexpr uint64_t kBias = uint64_t{1} << 62;

// (a b - m n) / 2^64 + addend for m = a b / n mod 2^64, with addendLessBias = addend - 2^30: the
// 64-bit form's highDifference(a, b) + addend, for n below 2^60 and a, b below 2^62. With t = a b
// in the halves' four products, m is found 32 bits at a time:
//   m0 = t mod 2^32 / n,  L = (t - m0 n) / 2^32 = t00/2^32 - q0/2^32 + t01 + t10 - m0 nHigh,
//   m1 = L mod 2^32 / n,  (L - m1 n) / 2^32 + t11 = L/2^32 - q1/2^32 + t11 - m1 nHigh,
// where q = m n's low-half product, whose low half equals what it is taken from, so that each
// difference of high halves is exact. The bounds: t01 and t10 below 2^62 keep L below 2^63 + 2^32,
// and m0 nHigh below 2^60 keeps it above -2^61, so that L + 2^62 is a word.
Inline Vector productPlus(const Moduli& m, Vector a, Vector b, Vector addendLessBias) {
  const Vector aHigh = high32(a), bHigh = high32(b);
  const Vector t00 = multiplyLow32(a, b), t01 = multiplyLow32(a, bHigh), t10 = multiplyLow32(aHigh, b);
  const Vector t11 = multiplyLow32(aHigh, bHigh);
  const Vector m0 = multiplyLow32(t00, m.inverse);
  const Vector q0 = multiplyLow32(m0, m.n), q0High = multiplyLow32(m0, m.high);
  Vector sum = subtract(high32(t00), high32(q0));
  sum = add(sum, add(t01, t10));
  sum = subtract(sum, subtract(q0High, broadcast(kBias)));
  const Vector m1 = multiplyLow32(sum, m.inverse);
  const Vector q1 = multiplyLow32(m1, m.n), q1High = multiplyLow32(m1, m.high);
  const Vector result = add(subtract(high32(sum), high32(q1)), subtract(t11, q1High));
  return add(result, addendLessBias);
}

Inline Moduli moduliOf(const uint64_t* n, const uint64_t* inverse) {
  const Vector modulus = load(n);
  return {modulus, high32(modulus), load(inverse)};
}

// Bit `bit` of each d, 0 or 1.
Inline Vector bitOf(Vector d, Vector bit) { return _mm256_and_si256(_mm256_srlv_epi64(d, bit), broadcast(1)); }

// All ones where bit `bit` of d is 1, else none.
Inline Vector bitMask(Vector d, Vector bit) { return subtract(_mm256_setzero_si256(), bitOf(d, bit)); }

constexpr uint64_t kBiasShifted = kBias >> 32;

}  // namespace

void raiseTwoInHalves(HalfLanesBase2& lanes, int bits) {
  Moduli moduli[kVectors];
  Vector x[kVectors], d[kVectors], nLessBias[kVectors];
  for (size_t v = 0; v < kVectors; ++v) {
    moduli[v] = moduliOf(lanes.n + 4 * v, lanes.inverse + 4 * v);
    x[v] = load(lanes.x + 4 * v);
    d[v] = load(lanes.d + 4 * v);
    nLessBias[v] = subtract(moduli[v].n, broadcast(kBiasShifted));
  }
  for (int bit = bits - 1; bit >= 0; --bit) {
    const Vector at = broadcast(static_cast<uint64_t>(bit));
    for (size_t v = 0; v < kVectors; ++v) {
      // x^2 2^bit as x (x << bit): below 2n and 4n, within the product's bounds for n below 2^60.
      const Vector doubled = _mm256_sllv_epi64(x[v], bitOf(d[v], at));
      x[v] = productPlus(moduli[v], x[v], doubled, nLessBias[v]);
    }
  }
  for (size_t v = 0; v < kVectors; ++v) store(lanes.x + 4 * v, x[v]);
}

void walkLucasInHalves(HalfLanesLucas& lanes, int bits) {
  Moduli moduli[kVectors];
  Vector v[kVectors], vNext[kVectors], d[kVectors], pLess[kVectors], twoLess[kVectors];
  for (size_t k = 0; k < kVectors; ++k) {
    moduli[k] = moduliOf(lanes.n + 4 * k, lanes.inverse + 4 * k);
    v[k] = load(lanes.v + 4 * k);
    vNext[k] = load(lanes.vNext + 4 * k);
    d[k] = load(lanes.d + 4 * k);
    pLess[k] = subtract(load(lanes.pPrepared + 4 * k), broadcast(kBiasShifted));
    twoLess[k] = subtract(load(lanes.twoPrepared + 4 * k), broadcast(kBiasShifted));
  }
  for (int bit = bits - 1; bit >= 0; --bit) {
    const Vector at = broadcast(static_cast<uint64_t>(bit));
    for (size_t k = 0; k < kVectors; ++k) {
      const Vector one = bitMask(d[k], at);
      const Vector odd = productPlus(moduli[k], v[k], vNext[k], pLess[k]);
      const Vector j = select(one, vNext[k], v[k]);
      const Vector even = productPlus(moduli[k], j, j, twoLess[k]);
      v[k] = select(one, odd, even);
      vNext[k] = select(one, even, odd);
    }
  }
  for (size_t k = 0; k < kVectors; ++k) {
    store(lanes.v + 4 * k, v[k]);
    store(lanes.vNext + 4 * k, vNext[k]);
  }
}

}  // namespace numlib::detail

#undef Inline
#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

#else  // no such lanes on other processors: halfLanesAvailable() is false there, and these never run

namespace numlib::detail {
void raiseTwoInHalves(HalfLanesBase2&, int) {}
void walkLucasInHalves(HalfLanesLucas&, int) {}
}  // namespace numlib::detail

#endif
