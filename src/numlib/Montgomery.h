#pragma once
// Arithmetic modulo an odd 64-bit number in Montgomery form (a stands for a * 2^64 mod n): a product
// costs three multiplications and no division. The primality test's two sequences and the factor
// search spend their time here.

#include <cstdint>

#include "Uint128.h"

namespace numlib::detail {

// x with n * x = 1 mod 2^64 for an odd n, by Newton's iteration: 3n xor 2 is the inverse to 5 bits
// (as a look at the sixteen odd residues mod 32 shows), and each step doubles the bits that are
// right: 10, 20, 40, 80.
constexpr uint64_t inverseModWord(uint64_t n) {
  uint64_t x = (3 * n) ^ 2;
  for (int i = 0; i < 4; ++i) x *= 2 - n * x;
  return x;
}

class Montgomery {
 public:
  Montgomery() = default;
  // n must be odd; every n up to 2^64 - 1 is served.
  explicit Montgomery(uint64_t n) : n_(n), inverse_(inverseModWord(n)), one_((0 - n) % n) {}

  uint64_t modulus() const { return n_; }
  uint64_t inverse() const { return inverse_; }  // n * inverse = 1 mod 2^64
  uint64_t one() const { return one_; }
  uint64_t minusOne() const { return n_ - one_; }

  // One division: a conversion is rare next to the multiplications that follow it.
  uint64_t toForm(uint64_t a) const { return static_cast<uint64_t>((uint128{a % n_} << 64) % n_); }

  // For a, b < n: (a * b) in the form.
  uint64_t multiply(uint64_t a, uint64_t b) const { return reduce(uint128{a} * b); }

  // For a, b < n: a + b mod n, without leaving 64 bits.
  uint64_t add(uint64_t a, uint64_t b) const { return a >= n_ - b ? a - (n_ - b) : a + b; }
  // For a, b < n: a - b mod n.
  uint64_t subtract(uint64_t a, uint64_t b) const { return a >= b ? a - b : a + (n_ - b); }

  // a^exponent in the form, a in the form.
  uint64_t power(uint64_t a, uint64_t exponent) const {
    uint64_t result = one_;
    for (; exponent != 0; exponent >>= 1) {
      if (exponent & 1) result = multiply(result, a);
      a = multiply(a, a);
    }
    return result;
  }

 private:
  // t * 2^-64 mod n for t < n * 2^64. m makes the low word of t - m * n vanish, so the difference of
  // the high words is exact and lies in (-n, n).
  uint64_t reduce(uint128 t) const {
    const uint64_t m = static_cast<uint64_t>(t) * inverse_;
    const auto mnHigh = static_cast<uint64_t>((uint128{m} * n_) >> 64);
    const auto tHigh = static_cast<uint64_t>(t >> 64);
    return tHigh >= mnHigh ? tHigh - mnHigh : tHigh - mnHigh + n_;
  }

  uint64_t n_ = 1;
  uint64_t inverse_ = 1;
  uint64_t one_ = 0;
};

}  // namespace numlib::detail
