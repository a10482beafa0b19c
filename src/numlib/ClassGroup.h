#pragma once
// The class group of primitive positive definite binary quadratic forms (a, b, c) = ax^2 + bxy + cy^2
// of a discriminant D = b^2 - 4ac < 0, each class held by its one reduced form. 128-bit forms:
// reduced ones have a <= sqrt(|D|/3), and the products inside a composition stay below 2^120 for
// |D| <= kLargestFormDiscriminant.

#include <cstdint>

#include "Int128.h"

namespace numlib::detail {

inline constexpr Int128 kLargestFormDiscriminant = Int128{1} << 76;

struct Form {
  Int128 a, b, c;
  bool isIdentity() const { return a == 1; }  // the only reduced form with a = 1
  bool operator==(const Form&) const = default;
};

class ClassGroup {
 public:
  explicit ClassGroup(Int128 discriminant) : d_(discriminant) {}

  Form identity() const;
  Form inverse(const Form& f) const;
  // The class of the prime p with (D/p) = 1: (p, b, (b^2 - D)/4p), b^2 = D mod 4p.
  Form primeForm(int64_t p) const;
  Form compose(const Form& f1, const Form& f2) const;
  Form power(Form f, int64_t n) const;

 private:
  Int128 d_;
};

}  // namespace numlib::detail
