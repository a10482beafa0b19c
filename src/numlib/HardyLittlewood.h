#pragma once
// The Hardy-Littlewood constant of a quadratic f(k) = 4k^2 + bk + c: how many more primes f takes
// than numbers of its size would hold at random, A = prod over all primes p of (p - w(p)) / (p - 1),
// w(p) the number of roots of f mod p. Primes among f(1), ..., f(K) then number about
// A * sum 1 / ln f(k) (Hardy and Littlewood's conjecture F, a case of Bateman-Horn).
//
// w(2) is 1 for odd b; for even b it is 2 when c is even (every value even: A = 0) and 0 when c is
// odd. For odd p, w(p) = 1 + (D/p) with D = b^2 - 16c and (D/p) the Legendre symbol. A = 0 when f
// factors (D is a square).
//
// How A is computed. With x(p) = (D/p), each odd factor splits as
//   1 - x/(p-1) = (1 - x/p) * (1 - x/((p-1)(p-x))),
// so A = (2 - w(2)) * T / L', where (EulerProduct.h)
//   T  = prod over odd p of (1 - x(p)/((p-1)(p-x(p)))) converges absolutely. It is cut after
//        p = 2^14 (2^16 for |D| > 2^44); the factors left out change it by less than the sum of 1/(p-1)^2 over them,
//        5.8e-6 (relative).
//   L' = prod over odd p of (1 - x(p)/p)^-1 = L_D(1) * (1 - (D/2)/2), where L_D(1) = sum (D/n)/n
//        over n >= 1 (the Kronecker symbol) converges slowly, and is taken instead from
//   - D < 0 (every ray that starts at the centre, and every ray far out): the class number,
//     L_D(1) = 2 pi h(D) / (w sqrt|D|), exact (ClassNumber.h): from the series up to |D| = 2^20,
//     beyond by baby steps and giant steps in the class group with 128-bit forms up to |D| = 2^76,
//     which holds every quadratic whose numbers lie below 2^64 (|D| < 2^69).
//   - D > 0 (c < b^2/16: rays that start off the centre at small starts): the series for real
//     characters (LSeries.h), exact to 1e-9, up to D = 2^32.
// So A is within 6e-6 (relative) of its limit for every D < 0 up to 2^76 and every D > 0 up to
// 2^32. Measured against an independent computation (PARI/GP: the class number by Buchmann's
// method and the tame product over p < 2*10^6), 400 random rays with |D| from 2^42 to 2^68 agree to
// 2e-7 or better, and every class number agrees.
// Beyond (D > 2^32, or |D| > 2^76, no ray of the spiral): the Euler product of A itself over
// p <= 2^20, whose error is the tail sum of x(p)/p over larger primes: for a character that
// behaves like random signs a standard deviation of 2.6e-4 (relative), without a bound.
//
// Cost on one core of 2.6 GHz (AMD EPYC), mean of 300 random rays: 0.08 ms at |D| = 2^35 (c near
// 2^31, the window's starts), 0.7 ms at |D| = 2^64 (c near 10^18), 1.2 ms at 2^68 (c near 2^64);
// the slowest of 400, whose class group has many classes of order 2, about 9 ms.
// Reentrant: nothing is kept between calls but the lists of small primes, sieved once and then
// only read.

#include <cstdint>
#include <vector>

#include "Int128.h"
#include "QuadraticPolynomial.h"

namespace numlib {

// A for f(k) = 4k^2 + bk + c; 0 when f factors or all its values are even. Not a number for
// |b| > 2^60 or |c| > 2^120, beyond any spiral.
double hardyLittlewoodConstant(int64_t b, Int128 c);

// A for any f(t) = a t^2 + b t + c within QuadraticPolynomial's limits. For odd p not dividing a,
// w(p) = 1 + (D/p) with D = b^2 - 4ac, as above, so A is the same product over the odd primes,
// with the factors of the odd primes that divide a replaced by their own: there f is b t + c mod p,
// which has one root, none (p | b only) or p (p | b and p | c). 2 - w(2) counts the even ones among
// f(0) and f(1). 0 when f factors or a prime divides every value; for a = 4 it is the constant above.
// As exact as that constant for the same D: |D| passes 2^76 only for coefficients far from 2^64's
// values, and D > 2^32 where a negative b or c puts f's roots far from 0. Not a number beyond the limits.
double hardyLittlewoodConstant(const QuadraticPolynomial& f);

// The primes among values of a quadratic whose constant is A, and how many Hardy and Littlewood
// expect: A times the sum of 1 / ln v over the values v > 1.
struct PrimesAmongValues {
  int64_t primes = 0;
  double expected = 0;
};
PrimesAmongValues primesAmong(const std::vector<uint64_t>& values, double hlConstant);

}  // namespace numlib
