#include "BailliePsw.h"

#include <algorithm>
#include <array>
#include <bit>
#include <optional>
#include <utility>

#include "BailliePswHalves.h"
#include "Montgomery.h"

namespace numlib::detail {

namespace {

// Numbers tested side by side: their multiplications are independent, so the processor overlaps them.
constexpr size_t kLanes = 4;
// Bit p set for each prime p < 64.
constexpr uint64_t primesBelow64() {
  uint64_t bits = 0;
  for (uint64_t p = 2; p < 64; ++p) {
    bool prime = true;
    for (uint64_t q = 2; q < p; ++q) prime = prime && p % q != 0;
    if (prime) bits |= uint64_t{1} << p;
  }
  return bits;
}
constexpr uint64_t kPrimesBelow64 = primesBelow64();

// An odd number n > 2 prepared for the strong test to base 2: n - 1 = d * 2^s.
struct Base2Candidate {
  Montgomery form;
  uint64_t d = 0;
  int s = 0;

  Base2Candidate() = default;
  explicit Base2Candidate(uint64_t n) : form(n) {
    const PowerOfTwoSplit split = splitBelow(n);
    d = split.odd;
    s = split.twos;
  }
};

// An odd number n prepared for the Lucas test: n + 1 = d * 2^s, and P' = 1/Q - 2 in the form.
struct LucasCandidate {
  Montgomery form;
  uint64_t p = 0;
  uint64_t d = 0;
  int s = 0;
};

// `ifOne` when `bit` is 1, else `ifZero`, by a mask: a branch on the bits of d would be mispredicted
// half the time.
uint64_t select(uint64_t bit, uint64_t ifOne, uint64_t ifZero) { return ifZero ^ ((ifOne ^ ifZero) & (0 - bit)); }

// The two sequences' arithmetic, for a loop over the lanes. ExactForm keeps each value below n;
// the others, for smaller moduli, let values grow past n so that a step needs fewer compares and
// selects, and make a value exact once, after the loop. A constant c (below n) that a step takes
// off a product is first prepared by constant(c).
class ExactForm {
 public:
  static constexpr bool serves(uint64_t) { return true; }
  explicit ExactForm(const Montgomery& form) : form_(form) {}
  uint64_t multiply(uint64_t a, uint64_t b) const { return form_.multiply(a, b); }
  uint64_t twice(uint64_t a) const { return form_.add(a, a); }
  uint64_t constant(uint64_t c) const { return c; }
  uint64_t multiplyLess(uint64_t a, uint64_t b, uint64_t c) const { return form_.subtract(multiply(a, b), c); }
  // x^2 2^bit, bit 0 or 1.
  uint64_t squareTimesPowerOfTwo(uint64_t x, uint64_t bit) const {
    const uint64_t squared = multiply(x, x);
    return select(bit, twice(squared), squared);
  }
  uint64_t exact(uint64_t a) const { return a; }

 private:
  Montgomery form_;
};

// For n below 2^62, values below 2n: with 4n^2 below n 2^64 a product of two such values still
// reduces into (0, 2n), so that a product needs no compare and select at its end, and a test runs
// a fifth faster.
class LooseForm {
 public:
  static constexpr bool serves(uint64_t anyModulus) { return anyModulus < uint64_t{1} << 62; }
  explicit LooseForm(const Montgomery& form)
      : n_(form.modulus()), twiceN_(2 * form.modulus()), inverse_(form.inverse()) {}
  // a * b * 2^-64 in (0, 2n): t / 2^64 and m n / 2^64 both lie below n, so their difference plus n
  // is positive and below 2n.
  uint64_t multiply(uint64_t a, uint64_t b) const { return highDifference(a, b) + n_; }
  // For a below 2n: 2a, below 2n.
  uint64_t twice(uint64_t a) const { return a + a >= twiceN_ ? a + a - twiceN_ : a + a; }
  uint64_t constant(uint64_t c) const { return c; }
  uint64_t multiplyLess(uint64_t a, uint64_t b, uint64_t c) const {
    const uint64_t product = multiply(a, b);
    return product >= c ? product - c : product - c + twiceN_;
  }
  uint64_t squareTimesPowerOfTwo(uint64_t x, uint64_t bit) const {
    const uint64_t squared = multiply(x, x);
    return select(bit, twice(squared), squared);
  }
  uint64_t exact(uint64_t a) const { return a >= n_ ? a - n_ : a; }

 protected:
  // (a b - m n) / 2^64 for the m that clears the low word: in (-n, t / 2^64), as a word.
  uint64_t highDifference(uint64_t a, uint64_t b) const {
    const uint128 t = uint128{a} * b;
    const uint64_t m = static_cast<uint64_t>(t) * inverse_;
    return static_cast<uint64_t>(t >> 64) - static_cast<uint64_t>((uint128{m} * n_) >> 64);
  }
  uint64_t n_, twiceN_, inverse_;
};

// For n below 2^61, the strong test's doubling goes into the product: x^2 2^bit = x (x << bit),
// and a product with one factor below 4n, 8n^2, still reduces into (0, 2n). A bit of the exponent
// then costs one product and no compare.
class DoublingForm : public LooseForm {
 public:
  static constexpr bool serves(uint64_t anyModulus) { return anyModulus < uint64_t{1} << 61; }
  using LooseForm::LooseForm;
  uint64_t squareTimesPowerOfTwo(uint64_t x, uint64_t bit) const { return multiply(x, x << bit); }
};

// For n below 2^60, the Lucas test's values below 4n: a product of two, 16n^2, still lies below
// n 2^64 and reduces into (-n, n); a constant c is taken off by adding 3n - c, which lands the step
// in (n, 4n) without a compare. A bit then costs two products and two selects, about half of what
// it costs in the loose form.
class LooserForm : public LooseForm {
 public:
  static constexpr bool serves(uint64_t anyModulus) { return anyModulus < uint64_t{1} << 60; }
  using LooseForm::LooseForm;
  uint64_t constant(uint64_t c) const { return 3 * n_ - c; }
  uint64_t multiplyLess(uint64_t a, uint64_t b, uint64_t prepared) const { return highDifference(a, b) + prepared; }
  // The loose form's own steps take values below 2n only.
  uint64_t multiply(uint64_t, uint64_t) const = delete;
  uint64_t squareTimesPowerOfTwo(uint64_t, uint64_t) const = delete;
  uint64_t exact(uint64_t a) const {
    const uint64_t belowTwiceN = a >= twiceN_ ? a - twiceN_ : a;
    return belowTwiceN >= n_ ? belowTwiceN - n_ : belowTwiceN;
  }
};

// The lanes' forms, one per candidate.
template <class Form, class Candidate, size_t Lanes>
std::array<Form, Lanes> formsOf(const std::array<Candidate, Lanes>& c) {
  return [&]<size_t... k>(std::index_sequence<k...>) { return std::array<Form, Lanes>{Form(c[k].form)...}; }(
      std::make_index_sequence<Lanes>());
}

// The moduli of the lanes or'ed together: below a power of two exactly when every one of them is.
template <class Candidate, size_t Lanes>
uint64_t anyModulusOf(const std::array<Candidate, Lanes>& c) {
  uint64_t anyModulus = 0;
  for (const Candidate& candidate : c) anyModulus |= candidate.form.modulus();
  return anyModulus;
}

// Runs `loop` with the lanes' forms of the first of `Forms` that serves every modulus (the last
// must serve all).
template <class Form, class... Rest, class Candidate, size_t Lanes, class Loop>
void withFormsOf(const std::array<Candidate, Lanes>& c, Loop loop) {
  if constexpr (sizeof...(Rest) == 0) {
    loop(formsOf<Form>(c));
  } else if (Form::serves(anyModulusOf(c))) {
    loop(formsOf<Form>(c));
  } else {
    withFormsOf<Rest...>(c, loop);
  }
}

// The end of a strong test from x = 2^d: passed when x is +-1 or becomes -1 within s - 1 squarings.
bool endsStrongTest(const Montgomery& form, uint64_t x, int s) {
  if (x == form.one() || x == form.minusOne()) return true;
  for (int i = 1; i < s; ++i) {
    x = form.multiply(x, x);
    if (x == form.minusOne()) return true;
    if (x == form.one()) return false;  // a square root of 1 other than +-1: n is composite
  }
  return false;
}

// The strong test to base 2 for `Lanes` numbers side by side: 2^d from the top bit of d down, where
// a multiplication by 2 is an addition.
template <size_t Lanes>
std::array<bool, Lanes> passStrongBase2(const std::array<Base2Candidate, Lanes>& c) {
  std::array<uint64_t, Lanes> x;
  uint64_t anyD = 0;
  for (size_t k = 0; k < Lanes; ++k) {
    x[k] = c[k].form.one();
    anyD |= c[k].d;
  }
  withFormsOf<DoublingForm, LooseForm, ExactForm>(c, [&](const auto& forms) {
    for (int bit = std::bit_width(anyD) - 1; bit >= 0; --bit) {
      // Unrolled, the lanes stay in registers.
#pragma GCC unroll 8
      for (size_t k = 0; k < Lanes; ++k) x[k] = forms[k].squareTimesPowerOfTwo(x[k], (c[k].d >> bit) & 1);
    }
    for (size_t k = 0; k < Lanes; ++k) x[k] = forms[k].exact(x[k]);
  });
  std::array<bool, Lanes> passed;
  for (size_t k = 0; k < Lanes; ++k) passed[k] = endsStrongTest(c[k].form, x[k], c[k].s);
  return passed;
}

// The Lucas test's candidate in the 64-bit form, P' in the form: n + 1 = d * 2^s.
LucasCandidate lucasCandidate(const Montgomery& form, uint64_t pInForm) {
  const PowerOfTwoSplit split = splitAbove(form.modulus());
  return {form, pInForm, split.odd, split.twos};
}

// The end of the Lucas test from V_d and V_(d+1): passed when U_d = 0, or V_(d 2^t) = 0 for some
// t < s - 1. D' U_d = 2 V_(d+1) - P' V_d with D' = P'^2 - 4 = D / Q^2 prime to n, so U_d = 0 exactly
// when 2 V_(d+1) = P' V_d.
bool endsLucasTest(const LucasCandidate& c, uint64_t v, uint64_t vNext) {
  const Montgomery& form = c.form;
  if (form.add(vNext, vNext) == form.multiply(c.p, v)) return true;
  const uint64_t two = form.add(form.one(), form.one());
  for (int t = 0; t + 1 < c.s; ++t) {
    if (v == 0) return true;
    v = form.subtract(form.multiply(v, v), two);  // V_2k = V_k^2 - 2
  }
  return false;
}

// The Lucas test for `Lanes` numbers side by side. From k = 0 (V_0 = 2, V_1 = P'), each bit of d, from
// the top down, takes k to 2k + bit:
//   V_(2k+1) = V_k V_(k+1) - P',   V_2j = V_j^2 - 2 for j = k + bit.
// Without branches, as the lanes' bits differ.
template <size_t Lanes>
std::array<bool, Lanes> passLucasTest(const std::array<LucasCandidate, Lanes>& c) {
  std::array<uint64_t, Lanes> v, vNext, two;  // V_k, V_(k+1) and 2 in the form
  uint64_t anyD = 0;
  for (size_t k = 0; k < Lanes; ++k) {
    two[k] = c[k].form.add(c[k].form.one(), c[k].form.one());
    v[k] = two[k];
    vNext[k] = c[k].p;
    anyD |= c[k].d;
  }
  withFormsOf<LooserForm, LooseForm, ExactForm>(c, [&](const auto& forms) {
    std::array<uint64_t, Lanes> p, twoLess;  // P' and 2, prepared to be taken off a product
    for (size_t k = 0; k < Lanes; ++k) {
      p[k] = forms[k].constant(c[k].p);
      twoLess[k] = forms[k].constant(two[k]);
    }
    for (int bit = std::bit_width(anyD) - 1; bit >= 0; --bit) {
#pragma GCC unroll 8
      for (size_t k = 0; k < Lanes; ++k) {
        const uint64_t one = (c[k].d >> bit) & 1;
        const uint64_t odd = forms[k].multiplyLess(v[k], vNext[k], p[k]);
        const uint64_t j = select(one, vNext[k], v[k]);
        const uint64_t even = forms[k].multiplyLess(j, j, twoLess[k]);
        v[k] = select(one, odd, even);
        vNext[k] = select(one, even, odd);
      }
    }
    for (size_t k = 0; k < Lanes; ++k) {
      v[k] = forms[k].exact(v[k]);
      vNext[k] = forms[k].exact(vNext[k]);
    }
  });
  std::array<bool, Lanes> passed;
  for (size_t k = 0; k < Lanes; ++k) passed[k] = endsLucasTest(c[k], v[k], vNext[k]);
  return passed;
}

// A candidate for the Lucas test after the strong test to base 2, if n is still in the running.
std::optional<LucasCandidate> afterBase2(const Montgomery& form) {
  const LucasParameter p = lucasParameterAfterBase2(form.modulus(), form.one());
  if (!p.found) return std::nullopt;
  return lucasCandidate(form, p.value);
}

// The results of a test of `Lanes` numbers at a time over the first `filled` of many more, the rest
// left false.
template <size_t Lanes, class Candidate, size_t Count, class Test>
std::array<bool, Count> inGroupsOf(const std::array<Candidate, Count>& c, size_t filled, Test test) {
  static_assert(Count % Lanes == 0);
  std::array<bool, Count> passed{};
  for (size_t first = 0; first < filled; first += Lanes) {
    std::array<Candidate, Lanes> group;
    std::copy_n(c.begin() + static_cast<ptrdiff_t>(first), Lanes, group.begin());
    const std::array<bool, Lanes> results = test(group);
    std::copy(results.begin(), results.end(), passed.begin() + static_cast<ptrdiff_t>(first));
  }
  return passed;
}

// Whether the half lanes take a group: they need moduli below their bound, and a group of at most
// half their numbers runs faster in words, as a lane there costs about 1.6 times a half lane.
template <class Candidate, size_t Count>
bool halfLanesTake(const std::array<Candidate, Count>& c, size_t filled) {
  return filled > Count / 2 && anyModulusOf(c) < kHalfLanesServeBelow;
}

// Puts the candidates' moduli and exponents in the lanes; returns the bits the loop walks.
template <class Candidate, size_t Count>
int putModuli(const std::array<Candidate, Count>& c, HalfLanes& lanes) {
  uint64_t anyD = 0;
  for (size_t k = 0; k < Count; ++k) {
    lanes.n[k] = c[k].form.modulus();
    lanes.inverse[k] = c[k].form.inverse();
    lanes.d[k] = c[k].d;
    anyD |= c[k].d;
  }
  return std::bit_width(anyD);
}

// passStrongBase2 for a group of the half lanes, the same steps in the doubling form.
std::array<bool, kHalfLanes> passStrongBase2InHalves(const std::array<Base2Candidate, kHalfLanes>& c, size_t filled) {
  static_assert(DoublingForm::serves(kHalfLanesServeBelow - 1), "the half lanes take the doubling form's steps");
  if (!halfLanesTake(c, filled)) return inGroupsOf<kLanes>(c, filled, passStrongBase2<kLanes>);
  HalfLanesBase2 lanes;
  const int bits = putModuli(c, lanes);
  for (size_t k = 0; k < kHalfLanes; ++k) lanes.x[k] = c[k].form.one();
  raiseTwoInHalves(lanes, bits);
  std::array<bool, kHalfLanes> passed;
  for (size_t k = 0; k < kHalfLanes; ++k) passed[k] = endsStrongTest(c[k].form, DoublingForm(c[k].form).exact(lanes.x[k]), c[k].s);
  return passed;
}

// passLucasTest for a group of the half lanes, the same steps in the looser form.
std::array<bool, kHalfLanes> passLucasTestInHalves(const std::array<LucasCandidate, kHalfLanes>& c, size_t filled) {
  static_assert(LooserForm::serves(kHalfLanesServeBelow - 1), "the half lanes take the looser form's steps");
  if (!halfLanesTake(c, filled)) return inGroupsOf<kLanes>(c, filled, passLucasTest<kLanes>);
  HalfLanesLucas lanes;
  const int bits = putModuli(c, lanes);
  for (size_t k = 0; k < kHalfLanes; ++k) {
    const LooserForm form(c[k].form);
    const uint64_t two = c[k].form.add(c[k].form.one(), c[k].form.one());
    lanes.v[k] = two;
    lanes.vNext[k] = c[k].p;
    lanes.pPrepared[k] = form.constant(c[k].p);
    lanes.twoPrepared[k] = form.constant(two);
  }
  walkLucasInHalves(lanes, bits);
  std::array<bool, kHalfLanes> passed;
  for (size_t k = 0; k < kHalfLanes; ++k) {
    const LooserForm form(c[k].form);
    passed[k] = endsLucasTest(c[k], form.exact(lanes.v[k]), form.exact(lanes.vNext[k]));
  }
  return passed;
}

// Up to Count candidates of one kind, each with the index of its number, run together once full.
template <class Candidate, size_t Count>
struct Group {
  std::array<Candidate, Count> candidates;
  std::array<size_t, Count> indices;
  size_t filled = 0;

  bool add(const Candidate& c, size_t index) {
    indices[filled] = index;
    candidates[filled++] = c;
    return filled == Count;
  }
  // Runs `test` over the group (a short group repeats its first number) and hands each candidate,
  // its number's index and its result to `report`.
  template <class Test, class Report>
  void run(Test test, Report report) {
    if (filled == 0) return;
    for (size_t k = filled; k < Count; ++k) candidates[k] = candidates[0];
    const std::array<bool, Count> passed = test(candidates, filled);
    for (size_t k = 0; k < filled; ++k) report(candidates[k], indices[k], passed[k]);
    filled = 0;
  }
};

// The strong test to base 2 for every odd number from 64 on, Count at a time, then the Lucas test
// for those that pass it, Count at a time; each test takes a group and how many of it are filled.
template <size_t Count, class Base2Test, class LucasTest>
void testInGroups(std::span<const uint64_t> numbers, std::span<uint8_t> prime, Base2Test base2Test, LucasTest lucasTest) {
  Group<Base2Candidate, Count> base2;
  Group<LucasCandidate, Count> lucas;
  const auto runLucas = [&] {
    lucas.run(lucasTest, [&](const LucasCandidate&, size_t i, bool passed) { prime[i] = passed; });
  };
  const auto runBase2 = [&] {
    base2.run(base2Test, [&](const Base2Candidate& c, size_t i, bool passed) {
      const std::optional<LucasCandidate> next = passed ? afterBase2(c.form) : std::nullopt;
      prime[i] = false;
      if (next && lucas.add(*next, i)) runLucas();
    });
  };
  for (size_t i = 0; i < numbers.size(); ++i) {
    const uint64_t n = numbers[i];
    if (n < 64 || n % 2 == 0) {
      prime[i] = isPrimeByBailliePsw(n);
    } else if (base2.add(Base2Candidate(n), i)) {
      runBase2();
    }
  }
  runBase2();
  runLucas();
}

}  // namespace

bool isPrimeByBailliePsw(uint64_t n) {
  if (n < 64) return (kPrimesBelow64 >> n) & 1;
  if (n % 2 == 0) return false;
  const Base2Candidate c(n);
  if (!passStrongBase2<1>({c})[0]) return false;
  const std::optional<LucasCandidate> lucas = afterBase2(c.form);
  return lucas && passLucasTest<1>({*lucas})[0];
}

void testPrimalityInWords(std::span<const uint64_t> numbers, std::span<uint8_t> prime) {
  const auto inWords = [](auto test) { return [test](const auto& group, size_t) { return test(group); }; };
  testInGroups<kLanes>(numbers, prime, inWords(passStrongBase2<kLanes>), inWords(passLucasTest<kLanes>));
}

void testPrimalityInHalfLanes(std::span<const uint64_t> numbers, std::span<uint8_t> prime) {
  testInGroups<kHalfLanes>(numbers, prime, passStrongBase2InHalves, passLucasTestInHalves);
}

bool halfLanesAvailable() {
#if defined(__x86_64__)
  static const bool available = __builtin_cpu_supports("avx2");
  return available;
#else
  return false;
#endif
}

bool wideLanesAvailable() {
#if defined(__x86_64__)
  static const bool available = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512ifma");
  return available;
#else
  return false;
#endif
}

void testPrimality(std::span<const uint64_t> numbers, std::span<uint8_t> prime) {
  if (wideLanesAvailable()) {
    testPrimalityInWideLanes(numbers, prime);
  } else if (halfLanesAvailable() && std::ranges::any_of(numbers, [](uint64_t n) { return n < kHalfLanesServeBelow; })) {
    // Numbers all above the half lanes' bound would only pass through their groups to the words.
    testPrimalityInHalfLanes(numbers, prime);
  } else {
    testPrimalityInWords(numbers, prime);
  }
}

}  // namespace numlib::detail
