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
// so A = (2 - w(2)) * T / L', where
//   T  = prod over odd p of (1 - x(p)/((p-1)(p-x(p)))) converges absolutely. It is cut after
//        p = 2^13; the factors left out change it by less than 1.4e-5 (relative).
//   L' = prod over odd p of (1 - x(p)/p)^-1 = L_D(1) * (1 - (D/2)/2), where L_D(1) = sum (D/n)/n over
//        n >= 1 (the Kronecker symbol) converges slowly, and is taken instead from the class number:
//   - D < 0: L_D(1) = 2 pi h(D) / (w sqrt|D|), h(D) the number of classes of primitive positive
//     definite forms of discriminant D, w = 2 (4 for D = -4, 6 for D = -3). h(D) is exact:
//       |D| <= 2^20: from the smoothed series of L(1, x_F) for the fundamental discriminant F of
//         D = F m^2 (m by trial division), which converges like exp(-pi n^2/|F|) and is summed
//         to n = 4.5 sqrt(|F|/pi): its error in h is below 1e-5, and h is rounded.
//       |D| <= 2^41: by baby steps and giant steps in the class group (Shanks). The Euler product of
//         L_D(1) over p <= 2^13 estimates h: if the signs (D/p) of the larger primes were random,
//         the logarithm of the estimate would stray from that of h with a standard deviation of
//         3.7e-3, and h would leave a window of six such deviations less than once in 10^8. In that
//         window the orders of a few prime forms single out the one multiple of their exponent; the
//         window widens until it holds one. Where several stay in it (a class group of small
//         exponent, from many prime factors of D), the products over p <= 2^17 and 2^20 narrow the
//         window; where even they leave several, the series decides up to |D| = 2^32.
//     So for every c below about 2^37 (every start the window allows) A is within 2e-5 of its
//     limit, given that the class number found is right; the tests compare it with reduced forms.
//   - D > 0 (c < b^2/16: rays that start off the centre at small starts): L_D(1) from the series
//     for real characters, exact to 1e-9, up to D = 2^32.
// Beyond (|D| > 2^41, c beyond about 2^37; or an ambiguous class group above 2^32): the Euler product
// of A itself over p <= 2^20. Its error is the tail sum of x(p)/p over larger primes: for a character
// that behaves like random signs, a standard deviation of 2.6e-4 (relative), without a bound.
//
// Cost on one core of 2.6 GHz: about 50 us up to |D| = 2^20, 0.2 ms at |D| = 2^35 (c near 2^31; up
// to 5 ms where the window must be narrowed), 6 to 9 ms for the product beyond 2^41.

#include <cstdint>
#include <optional>

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
double hardyLittlewoodConstant(const QuadraticPolynomial& f);

// h(D), the number of classes of primitive positive definite binary quadratic forms of discriminant
// D (D < 0, D = 0 or 1 mod 4), found as described above; none for any other D, and for |D| > 2^41
// or an ambiguous class group above 2^32.
std::optional<int64_t> classNumber(Int128 discriminant);

}  // namespace numlib
