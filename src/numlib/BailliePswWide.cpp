// The Baillie-PSW test eight numbers to a vector, on processors whose vector unit multiplies 52-bit
// halves (AVX-512 IFMA). A 64-bit number is held in two limbs, x = low + high * 2^52 with high below
// 2^12, and Montgomery's reduction works with R = 2^104. A product then costs 17 multiply-adds (a
// square 15) for eight numbers, where the 64-bit multiplier takes three products for one, and the
// steps leave their results below 2n or 3n rather than reducing them: the test, which decides far
// numbers, runs two and a half to three times as fast (bench_numlib: primalityTest against _words).
//
// The steps are those of the 64-bit test in BailliePsw.cpp, with the same answers: the tests compare
// the two on every hard number and on windows around the whole range.

#include "BailliePsw.h"

#include <algorithm>
#include <array>
#include <bit>
#include <optional>

#include "Montgomery.h"
#include "Uint128.h"

#if defined(__x86_64__)

#include <immintrin.h>

// Everything below is compiled for those lanes, and only ever called where wideLanesAvailable()
// (BailliePsw.cpp, compiled for any processor) found them.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx512f,avx512ifma"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx512f,avx512ifma")
#endif

namespace numlib::detail {

namespace {

using Vector = __m512i;
using Mask = __mmask8;

// The vector steps are small, and a call would pass their vectors through memory.
#define Inline [[gnu::always_inline]] inline

constexpr uint64_t kLimbMask = (uint64_t{1} << 52) - 1;
constexpr size_t kLanes = 8;    // numbers in a vector
constexpr size_t kVectors = 4;  // vectors worked side by side, so that the multiply-adds overlap
constexpr size_t kBlock = kLanes * kVectors;

// x = low + high * 2^52, low < 2^52, for eight numbers.
struct Wide {
  Vector low, high;
};

// The eight moduli n and -1/n mod 2^52.
struct Moduli {
  Vector low, high, inverse;
};

Inline Vector broadcast(uint64_t x) { return _mm512_set1_epi64(static_cast<long long>(x)); }
Inline Vector multiplyLow(Vector sum, Vector a, Vector b) { return _mm512_madd52lo_epu64(sum, a, b); }
Inline Vector multiplyHigh(Vector sum, Vector a, Vector b) { return _mm512_madd52hi_epu64(sum, a, b); }
Inline Vector shiftOutLimb(Vector a) { return _mm512_srli_epi64(a, 52); }
Inline Vector limbOf(Vector a) { return _mm512_and_si512(a, broadcast(kLimbMask)); }

Inline Wide select(Mask takeSecond, Wide first, Wide second) {
  return {_mm512_mask_blend_epi64(takeSecond, first.low, second.low), _mm512_mask_blend_epi64(takeSecond, first.high, second.high)};
}

Inline Mask equal(Wide a, Wide b) { return _mm512_cmpeq_epi64_mask(a.low, b.low) & _mm512_cmpeq_epi64_mask(a.high, b.high); }
Inline Mask isZero(Wide a) { return _mm512_testn_epi64_mask(_mm512_or_si512(a.low, a.high), _mm512_or_si512(a.low, a.high)); }

// a + b limb by limb, the carry taken up and nothing reduced: for a sum below 2^66, whose high limb
// stays small.
Inline Wide sumOf(Wide a, Wide b) {
  const Vector low = _mm512_add_epi64(a.low, b.low);
  return {limbOf(low), _mm512_add_epi64(_mm512_add_epi64(a.high, b.high), shiftOutLimb(low))};
}

// a - b limb by limb, the borrow taken from the high limb, which goes negative exactly when a < b.
Inline Wide differenceOf(Wide a, Wide b) {
  const Vector low = _mm512_sub_epi64(a.low, b.low);
  return {limbOf(low), _mm512_sub_epi64(_mm512_sub_epi64(a.high, b.high), _mm512_srli_epi64(low, 63))};
}

Inline Mask isNegative(Wide a) { return _mm512_cmplt_epi64_mask(a.high, _mm512_setzero_si512()); }
Inline Wide modulusOf(const Moduli& m) { return {m.low, m.high}; }

// For x < 2n with normalised limbs: x mod n.
Inline Wide reduceOnce(const Moduli& m, Wide x) {
  const Wide less = differenceOf(x, modulusOf(m));
  return select(isNegative(less), less, x);
}

// A product's columns, t = t0 + t1 2^52 + t2 2^104.
struct Columns {
  Vector t0, t1, t2;
};

// For a, b < 2n: a * b. Their high limbs are below 2^13, so that product has no high half.
Inline Columns productColumns(Wide a, Wide b) {
  const Vector zero = _mm512_setzero_si512();
  const Vector t1 = multiplyLow(multiplyLow(multiplyHigh(zero, a.low, b.low), a.low, b.high), a.high, b.low);
  const Vector t2 = multiplyLow(multiplyHigh(multiplyHigh(zero, a.low, b.high), a.high, b.low), a.high, b.high);
  return {multiplyLow(zero, a.low, b.low), t1, t2};
}

// For a < 2n: a * a, the cross product once, doubled by a shift.
Inline Columns squareColumns(Wide a) {
  const Vector zero = _mm512_setzero_si512();
  return {multiplyLow(zero, a.low, a.low), multiplyHigh(_mm512_slli_epi64(multiplyLow(zero, a.low, a.high), 1), a.low, a.low),
          multiplyLow(_mm512_slli_epi64(multiplyHigh(zero, a.low, a.high), 1), a.high, a.high)};
}

// t / 2^104 mod n, below 2n but not reduced, for t below n 2^104: limb by limb, a multiple of n
// clears the low limb, and (t + m n) / 2^104 < n + n. A product of two numbers below 2n, even
// doubled (8 n^2), stays below n 2^104, so that the steps of a test need not reduce.
Inline Wide reduceBelowTwiceN(const Moduli& m, Columns t) {
  const Vector zero = _mm512_setzero_si512();
  const Vector m0 = multiplyLow(zero, t.t0, m.inverse);  // of t0's low 52 bits
  const Vector t0 = multiplyLow(t.t0, m0, m.low);  // a multiple of 2^52 now
  Vector t1 = multiplyLow(multiplyHigh(t.t1, m0, m.low), m0, m.high);
  Vector t2 = multiplyHigh(t.t2, m0, m.high);
  t1 = _mm512_add_epi64(t1, shiftOutLimb(t0));

  const Vector m1 = multiplyLow(zero, t1, m.inverse);  // of t1's low 52 bits
  t1 = multiplyLow(t1, m1, m.low);
  t2 = multiplyLow(multiplyHigh(t2, m1, m.low), m1, m.high);
  const Vector t3 = multiplyHigh(zero, m1, m.high);
  t2 = _mm512_add_epi64(t2, shiftOutLimb(t1));
  return {limbOf(t2), _mm512_add_epi64(t3, shiftOutLimb(t2))};
}

// For a, b < 2n: a * b / 2^104 mod n, and the same below 2n.
Inline Wide multiply(const Moduli& m, Wide a, Wide b) { return reduceOnce(m, reduceBelowTwiceN(m, productColumns(a, b))); }
Inline Wide multiplyBelowTwiceN(const Moduli& m, Wide a, Wide b) { return reduceBelowTwiceN(m, productColumns(a, b)); }
Inline Wide square(const Moduli& m, Wide a) { return reduceOnce(m, reduceBelowTwiceN(m, squareColumns(a))); }
Inline Wide squareBelowTwiceN(const Moduli& m, Wide a) { return reduceBelowTwiceN(m, squareColumns(a)); }

// For a < 2n: a * a * 2^shift / 2^104 below 2n, shift 0 or 1 in each lane. Shifting the product's
// columns doubles it, where an addition mod n and a choice would lengthen every step.
Inline Wide squareTimesTwoToThe(const Moduli& m, Wide a, Vector shift) {
  const Columns t = squareColumns(a);
  return reduceBelowTwiceN(m, {_mm512_sllv_epi64(t.t0, shift), _mm512_sllv_epi64(t.t1, shift), _mm512_sllv_epi64(t.t2, shift)});
}

// For a, b < n: a + b mod n.
Inline Wide add(const Moduli& m, Wide a, Wide b) { return reduceOnce(m, sumOf(a, b)); }

// For a < 2n and b < n: a - b mod n, below 2n (a - b is above -n).
Inline Wide subtract(const Moduli& m, Wide a, Wide b) {
  const Wide difference = differenceOf(a, b);
  return select(isNegative(difference), difference, sumOf(difference, modulusOf(m)));
}

// (high * 2^64 + low) mod n for high < n, by one division instruction: the library's 128-bit
// remainder takes a general path that cost more than a number's whole test to base 2.
uint64_t remainderOf(uint64_t high, uint64_t low, uint64_t n) {
  uint64_t quotient = 0, remainder = 0;
  asm("divq %4" : "=a"(quotient), "=d"(remainder) : "a"(low), "d"(high), "rm"(n) : "cc");
  return remainder;
}

// 1 in the form, 2^104 mod n: in one division above 2^40, where its quotient fits 64 bits, else in
// two steps whose quotients do.
uint64_t oneInForm(uint64_t n) {
  constexpr uint64_t k2To40 = uint64_t{1} << 40;
  if (n > k2To40) return remainderOf(k2To40, 0, n);
  const uint64_t times2To64 = remainderOf(1, 0, n);
  return remainderOf(times2To64 >> 24, times2To64 << 40, n);
}

// An odd number n >= 64 in the lanes' terms: its limbs, -1/n mod 2^52, and 1 in the form.
struct Modulus {
  uint64_t low = 0, high = 0, inverse = 0, one = 0;

  Modulus() = default;
  explicit Modulus(uint64_t n)
      : low(n & kLimbMask), high(n >> 52), inverse((0 - inverseModWord(n)) & kLimbMask), one(oneInForm(n)) {}
};

// Up to kBlock odd numbers n >= 64 in lanes, with what one of the two tests needs: its exponent
// (n -+ 1 = exponent * 2^twos, splitBelow or splitAbove) and, for the Lucas test, P' in the form. Short blocks repeat lane 0.
struct Block {
  alignas(64) std::array<uint64_t, kBlock> low, high, inverse, oneLow, oneHigh, exponent, twos, pLow, pHigh;
  std::array<size_t, kBlock> index;
  size_t filled = 0;

  bool add(const Modulus& n, size_t at, PowerOfTwoSplit split, uint64_t pInForm = 0) {
    low[filled] = n.low;
    high[filled] = n.high;
    inverse[filled] = n.inverse;
    oneLow[filled] = n.one & kLimbMask;
    oneHigh[filled] = n.one >> 52;
    exponent[filled] = split.odd;
    twos[filled] = static_cast<uint64_t>(split.twos);
    pLow[filled] = pInForm & kLimbMask;
    pHigh[filled] = pInForm >> 52;
    index[filled++] = at;
    return filled == kBlock;
  }
  Modulus modulusIn(size_t lane) const {
    Modulus n;
    n.low = low[lane];
    n.high = high[lane];
    n.inverse = inverse[lane];
    n.one = oneLow[lane] | oneHigh[lane] << 52;
    return n;
  }
  void padWithFirst() {
    for (auto* lanes : {&low, &high, &inverse, &oneLow, &oneHigh, &exponent, &twos, &pLow, &pHigh}) {
      std::fill(lanes->begin() + static_cast<ptrdiff_t>(filled), lanes->end(), (*lanes)[0]);
    }
  }
  uint64_t anyExponent() const {
    uint64_t any = 0;
    for (uint64_t e : exponent) any |= e;
    return any;
  }
  uint64_t mostTwos() const { return *std::max_element(twos.begin(), twos.end()); }
};

Inline Vector load(const std::array<uint64_t, kBlock>& lanes, size_t v) { return _mm512_load_si512(lanes.data() + v * kLanes); }
Inline Moduli moduliOf(const Block& b, size_t v) { return {load(b.low, v), load(b.high, v), load(b.inverse, v)}; }
Inline Wide oneOf(const Block& b, size_t v) { return {load(b.oneLow, v), load(b.oneHigh, v)}; }
Inline Mask bitOf(const Block& b, size_t v, int bit) { return _mm512_test_epi64_mask(load(b.exponent, v), broadcast(uint64_t{1} << bit)); }
// The lanes with more than k twos.
Inline Mask moreTwosThan(const Block& b, size_t v, uint64_t k) { return _mm512_cmpgt_epu64_mask(load(b.twos, v), broadcast(k)); }

// The strong test to base 2: 2^exponent from its top bit down, then up to twos - 1 squarings.
// A lane passes when 2^exponent is +-1, or a later square is -1 (once 1, a square stays 1).
std::array<Mask, kVectors> passStrongBase2(const Block& b) {
  std::array<Moduli, kVectors> m;
  std::array<Wide, kVectors> x, minusOne;
  for (size_t v = 0; v < kVectors; ++v) {
    m[v] = moduliOf(b, v);
    x[v] = oneOf(b, v);
    minusOne[v] = subtract(m[v], Wide{_mm512_setzero_si512(), _mm512_setzero_si512()}, x[v]);
  }
  for (int bit = std::bit_width(b.anyExponent()) - 1; bit >= 0; --bit) {
#pragma GCC unroll 4
    for (size_t v = 0; v < kVectors; ++v) {
      const Vector exponentBit = _mm512_and_si512(_mm512_srli_epi64(load(b.exponent, v), static_cast<unsigned>(bit)), broadcast(1));
      x[v] = squareTimesTwoToThe(m[v], x[v], exponentBit);
    }
  }
  std::array<Mask, kVectors> passed;
  for (size_t v = 0; v < kVectors; ++v) {
    x[v] = reduceOnce(m[v], x[v]);
    passed[v] = equal(x[v], oneOf(b, v)) | equal(x[v], minusOne[v]);
  }
  for (uint64_t i = 1; i < b.mostTwos(); ++i) {
    for (size_t v = 0; v < kVectors; ++v) {
      x[v] = square(m[v], x[v]);
      passed[v] |= moreTwosThan(b, v, i) & equal(x[v], minusOne[v]);
    }
  }
  return passed;
}

// The Lucas test: from V_0 = 2 and V_1 = P', each bit of the exponent takes k to 2k + bit, as in
// the 64-bit test; then U_d = 0 (2 V_(d+1) = P' V_d), or V_(d 2^t) = 0 for some t < twos - 1.
std::array<Mask, kVectors> passLucasTest(const Block& b) {
  std::array<Moduli, kVectors> m;
  // Within the sequence, x - P' is taken as x + (n - P'), below 3n, where a subtraction mod n would
  // compare and choose at every step: a product of two numbers below 3n still reduces below 2n.
  std::array<Wide, kVectors> v, vNext, p, two, minusP, minusTwo;
  for (size_t k = 0; k < kVectors; ++k) {
    m[k] = moduliOf(b, k);
    two[k] = add(m[k], oneOf(b, k), oneOf(b, k));
    p[k] = {load(b.pLow, k), load(b.pHigh, k)};
    minusP[k] = differenceOf(modulusOf(m[k]), p[k]);
    minusTwo[k] = differenceOf(modulusOf(m[k]), two[k]);
    v[k] = two[k];
    vNext[k] = p[k];
  }
  for (int bit = std::bit_width(b.anyExponent()) - 1; bit >= 0; --bit) {
#pragma GCC unroll 4
    for (size_t k = 0; k < kVectors; ++k) {
      const Mask one = bitOf(b, k, bit);
      const Wide odd = sumOf(multiplyBelowTwiceN(m[k], v[k], vNext[k]), minusP[k]);
      const Wide j = select(one, v[k], vNext[k]);
      const Wide even = sumOf(squareBelowTwiceN(m[k], j), minusTwo[k]);
      v[k] = select(one, even, odd);
      vNext[k] = select(one, odd, even);
    }
  }
  std::array<Mask, kVectors> passed;
  for (size_t k = 0; k < kVectors; ++k) {
    v[k] = reduceOnce(m[k], reduceOnce(m[k], v[k]));
    vNext[k] = reduceOnce(m[k], reduceOnce(m[k], vNext[k]));
    passed[k] = equal(add(m[k], vNext[k], vNext[k]), multiply(m[k], p[k], v[k]));
  }
  for (uint64_t t = 0; t + 1 < b.mostTwos(); ++t) {
    for (size_t k = 0; k < kVectors; ++k) {
      passed[k] |= moreTwosThan(b, k, t + 1) & isZero(v[k]);
      v[k] = subtract(m[k], square(m[k], v[k]), two[k]);
    }
  }
  return passed;
}

// Runs `test` over a block's lanes, and empties it: bit k of the result is set when lane k, one of
// those filled, passed.
template <class Test>
uint32_t runBlock(Block& b, Test test) {
  if (b.filled == 0) return 0;
  b.padWithFirst();
  const std::array<Mask, kVectors> passed = test(b);
  uint32_t lanes = 0;
  for (size_t v = 0; v < kVectors; ++v) lanes |= uint32_t{passed[v]} << (v * kLanes);
  static_assert(kBlock == 32);
  if (b.filled < kBlock) lanes &= (uint32_t{1} << b.filled) - 1;
  b.filled = 0;
  return lanes;
}

}  // namespace

void testPrimalityInWideLanes(std::span<const uint64_t> numbers, std::span<uint8_t> prime) {
  Block base2, lucas;
  const auto runLucas = [&] {
    const size_t filled = lucas.filled;
    const uint32_t passed = runBlock(lucas, passLucasTest);
    for (size_t k = 0; k < filled; ++k) prime[lucas.index[k]] = (passed >> k) & 1;
  };
  // The lanes that passed are taken by their bits, as a branch on each lane's result was as good as
  // random.
  const auto runBase2 = [&] {
    const size_t filled = base2.filled;
    const uint32_t passed = runBlock(base2, passStrongBase2);
    for (size_t k = 0; k < filled; ++k) prime[base2.index[k]] = false;
    for (uint32_t left = passed; left != 0; left &= left - 1) {
      const auto k = static_cast<size_t>(std::countr_zero(left));
      const size_t i = base2.index[k];
      const uint64_t n = numbers[i];
      const Modulus modulus = base2.modulusIn(k);
      const LucasParameter pInForm = lucasParameterAfterBase2(n, modulus.one);
      if (pInForm.found && lucas.add(modulus, i, splitAbove(n), pInForm.value)) runLucas();
    }
  };
  for (size_t i = 0; i < numbers.size(); ++i) {
    const uint64_t n = numbers[i];
    if (n < 64 || n % 2 == 0) {
      prime[i] = isPrimeByBailliePsw(n);
    } else {
      if (base2.add(Modulus(n), i, splitBelow(n))) runBase2();
    }
  }
  runBase2();
  runLucas();
}

}  // namespace numlib::detail

#undef Inline
#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

#else  // no such lanes on other processors: wideLanesAvailable() is false there

namespace numlib::detail {
void testPrimalityInWideLanes(std::span<const uint64_t> numbers, std::span<uint8_t> prime) { testPrimalityInWords(numbers, prime); }
}  // namespace numlib::detail

#endif
