#pragma once
// h(D), the number of classes of primitive positive definite binary quadratic forms of a discriminant
// D < 0, and with it L_D(1) = 2 pi h / (w sqrt|D|) (w = 2; 4 for D = -4, 6 for D = -3).
//
// How h is found:
//   |D| <= 2^20: from the series for L_D(1) (LSeries.h), rounded.
//   beyond, up to |D| = 2^76: by baby steps and giant steps in the class group with 128-bit forms
//     (Shanks). The Euler product of L_D(1) over the primes up to P = 2^14 (2^16 beyond
//     |D| = 2^44) estimates h: if the signs (D/p) of the larger primes were random, the logarithm
//     of the estimate would stray from that of h with a standard deviation of 1/sqrt(P ln P) =
//     2.1e-3 (1.2e-3), and h would leave a window of six such deviations less than once in 10^8.
//     The first prime form g is searched outward from the estimate for a t in the window with
//     g^t = 1 (h most likely lies near it), and t factored for the order of g. Where one multiple
//     of that order lies in the window, it is h, as h is a multiple of every form's order. Where
//     several do (a class group of small exponent), the orders of up to 11 further prime forms
//     narrow them, then the order of the 2-part of the group they generate, counted element by
//     element up to 2^16 (D with many prime factors has many classes of order 2, so h exceeds the
//     exponent many times); then the products over p <= 2^17 and 2^20 narrow the window. A window
//     that holds no multiple is widened.
//   What is left: a window of the product over 2^20 (six deviations of 2.6e-4) that still holds
//   several multiples of that divisor, which takes a class group whose odd part is not cyclic
//   either, with an odd factor of its order beyond 300 left out of its exponent. No ray of the
//   tests meets one. Then the series decides up to |D| = 2^32, and beyond the multiple nearest the
//   estimate is taken.
//
// Cost: see HardyLittlewood.h.

#include <cstdint>
#include <optional>
#include <span>

#include "Int128.h"

namespace numlib {

// h(D) for D < 0, D = 0 or 1 mod 4, |D| <= 2^76; none for any other D.
std::optional<int64_t> classNumber(Int128 discriminant);

}  // namespace numlib

namespace numlib::detail {

// The cut of the Euler product that first estimates h: 2^14, and 2^16 for |D| > 2^44, where the
// longer product saves more giant steps than its symbols cost. The constant's tame product shares
// its (D/p).
uint32_t estimatePrimes(Int128 delta);

// w, the number of automorphs of the forms of discriminant D < 0.
int automorphs(Int128 delta);

// h(D) as above, given `symbols`, (D/p) at the odd primes up to estimatePrimes(D).
std::optional<int64_t> classNumberOf(Int128 delta, std::span<const int8_t> symbols);

}  // namespace numlib::detail
