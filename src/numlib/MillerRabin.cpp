#include "MillerRabin.h"

#include <algorithm>
#include <array>
#include <bit>

#include "Montgomery.h"

namespace numlib::detail {

namespace {

constexpr uint64_t kFirstBase = 2;
constexpr std::array<uint64_t, 6> kOtherBases = {325, 9375, 28178, 450775, 9780504, 1795265022};
// Above the largest base, no base is a multiple of the number tested.
constexpr uint64_t kAboveBases = 1795265023;
// Numbers tested side by side against the first base.
constexpr size_t kLanes = 4;

// An odd number n > 2 prepared for its tests: n - 1 = d * 2^s.
struct Candidate {
  Montgomery form;
  uint64_t d = 0;
  int s = 0;

  Candidate() = default;
  explicit Candidate(uint64_t n) : form(n), s(std::countr_zero(n - 1)) { d = (n - 1) >> s; }
};

// The end of a strong test from x = a^d: passed when x is +-1 or becomes -1 within s - 1 squarings.
bool endsStrongTest(const Montgomery& form, uint64_t x, int s) {
  if (x == form.one() || x == form.minusOne()) return true;
  for (int i = 1; i < s; ++i) {
    x = form.multiply(x, x);
    if (x == form.minusOne()) return true;
    if (x == form.one()) return false;  // a square root of 1 other than +-1: n is composite
  }
  return false;
}

bool passesStrongTest(const Candidate& c, uint64_t base) {
  const uint64_t a = base % c.form.modulus();
  if (a == 0) return true;  // a base that is a multiple of n says nothing
  return endsStrongTest(c.form, c.form.power(c.form.toForm(a), c.d), c.s);
}

// The first base for `lanes` numbers side by side: their multiplications are independent, so the
// processor overlaps them. 2^d from the top bit of d down, where a multiplication by 2 is an addition.
template <size_t Lanes>
std::array<bool, Lanes> passFirstBase(const std::array<Candidate, Lanes>& c) {
  std::array<uint64_t, Lanes> x;
  uint64_t anyD = 0;
  for (size_t k = 0; k < Lanes; ++k) {
    x[k] = c[k].form.one();
    anyD |= c[k].d;
  }
  for (int bit = std::bit_width(anyD) - 1; bit >= 0; --bit) {
    // Unrolled, the lanes stay in registers.
#pragma GCC unroll 8
    for (size_t k = 0; k < Lanes; ++k) {
      const uint64_t squared = c[k].form.multiply(x[k], x[k]);
      const uint64_t doubled = c[k].form.add(squared, squared);
      x[k] = (c[k].d >> bit) & 1 ? doubled : squared;
    }
  }
  std::array<bool, Lanes> passed;
  for (size_t k = 0; k < Lanes; ++k) passed[k] = endsStrongTest(c[k].form, x[k], c[k].s);
  return passed;
}

// The other bases of one number side by side, sharing the bits of d.
bool passesOtherBases(const Candidate& c) {
  std::array<uint64_t, kOtherBases.size()> a, x;
  for (size_t k = 0; k < a.size(); ++k) x[k] = a[k] = c.form.toForm(kOtherBases[k]);
  for (int bit = std::bit_width(c.d) - 2; bit >= 0; --bit) {
#pragma GCC unroll 6
    for (size_t k = 0; k < a.size(); ++k) x[k] = c.form.multiply(x[k], x[k]);
    if ((c.d >> bit) & 1) {
#pragma GCC unroll 6
      for (size_t k = 0; k < a.size(); ++k) x[k] = c.form.multiply(x[k], a[k]);
    }
  }
  return std::all_of(x.begin(), x.end(), [&](uint64_t xk) { return endsStrongTest(c.form, xk, c.s); });
}

}  // namespace

bool isPrimeByMillerRabin(uint64_t n) {
  if (n < 4) return n >= 2;
  if (n % 2 == 0) return false;
  const Candidate c(n);
  if (!passesStrongTest(c, kFirstBase)) return false;
  if (n >= kAboveBases) return passesOtherBases(c);
  return std::all_of(kOtherBases.begin(), kOtherBases.end(), [&](uint64_t base) { return passesStrongTest(c, base); });
}

void testPrimality(std::span<const uint64_t> numbers, std::span<uint8_t> prime) {
  std::array<Candidate, kLanes> lanes;
  std::array<size_t, kLanes> indices;
  size_t filled = 0;
  const auto testLanes = [&] {
    for (size_t k = filled; k < kLanes; ++k) lanes[k] = lanes[0];  // a short last group repeats a number
    const std::array<bool, kLanes> passed = passFirstBase(lanes);
    for (size_t k = 0; k < filled; ++k) prime[indices[k]] = passed[k] && passesOtherBases(lanes[k]);
    filled = 0;
  };
  for (size_t i = 0; i < numbers.size(); ++i) {
    const uint64_t n = numbers[i];
    if (n < kAboveBases || n % 2 == 0) {
      prime[i] = isPrimeByMillerRabin(n);
      continue;
    }
    indices[filled] = i;
    lanes[filled++] = Candidate(n);
    if (filled == kLanes) testLanes();
  }
  if (filled > 0) testLanes();
}

}  // namespace numlib::detail
