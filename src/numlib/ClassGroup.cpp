#include "ClassGroup.h"

#include <utility>

#include "QuadraticCharacter.h"

namespace numlib::detail {

namespace {

// |b| <= a <= c, and b >= 0 when |b| = a or a = c: one form of each class.
Form reduce(Form f) {
  for (;;) {
    if (f.b <= -f.a || f.b > f.a) {  // f(x + qy, y) brings b into (-a, a]
      const Int128 q = floorDiv(f.a - f.b, 2 * f.a);
      const Int128 b = f.b + 2 * f.a * q;
      f.c += q * ((f.b + b) / 2);
      f.b = b;
    }
    if (f.a <= f.c) break;
    f = {f.c, -f.b, f.a};  // f(-y, x)
  }
  if (f.a == f.c && f.b < 0) f.b = -f.b;  // (a, b, a) and (a, -b, a) are one class
  return f;
}

}  // namespace

Form ClassGroup::identity() const {
  const Int128 b = d_ & 1;
  return {1, b, (b - d_) / 4};
}

Form ClassGroup::inverse(const Form& f) const { return reduce({f.a, -f.b, f.c}); }

Form ClassGroup::primeForm(int64_t p) const {
  const auto target = static_cast<int64_t>(residue(d_, static_cast<uint64_t>(p)));
  int64_t b = 0;
  while (b * b % p != target) ++b;  // the primes asked for are small
  if ((b - d_) % 2 != 0) b = p - b;
  return reduce({p, b, (Int128{b} * b - d_) / (4 * p)});
}

// Cohen, A Course in Computational Algebraic Number Theory, algorithm 5.4.7. The a and b of reduced
// forms fit 64 bits, so the greatest common divisors are taken there.
Form ClassGroup::compose(const Form& x, const Form& y) const {
  const bool ordered = x.a <= y.a;
  const Form& f1 = ordered ? x : y;
  const Form& f2 = ordered ? y : x;
  const auto a1 = static_cast<int64_t>(f1.a), a2 = static_cast<int64_t>(f2.a);
  const auto s = static_cast<int64_t>((f1.b + f2.b) / 2);
  const int64_t n = static_cast<int64_t>(f2.b) - s;
  int64_t y1 = 0, d = a1;
  if (a2 % a1 != 0) {
    const Bezout first = extendedGcd(a2, a1);
    y1 = first.u;
    d = first.gcd;
  }
  int64_t x2 = 0, y2 = -1, d1 = d;
  if (s % d != 0) {
    const Bezout second = extendedGcd(s, d);
    x2 = second.u;
    y2 = -second.v;
    d1 = second.gcd;
  }
  const int64_t v1 = a1 / d1, v2 = a2 / d1;
  Int128 r = (Int128{y1} * y2 * n - x2 * f2.c) % v1;
  if (r < 0) r += v1;
  const Int128 c3 = (f2.c * d1 + r * (f2.b + v2 * r)) / v1;
  return reduce({Int128{v1} * v2, f2.b + 2 * v2 * r, c3});
}

Form ClassGroup::power(Form f, int64_t n) const {
  Form result = identity();
  for (; n > 0; n >>= 1) {
    if (n & 1) result = compose(result, f);
    if (n > 1) f = compose(f, f);
  }
  return result;
}

}  // namespace numlib::detail
