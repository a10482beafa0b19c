// Selfridge's parameters for the Lucas test: D the first of 5, -7, 9, -11, 13, ... with Jacobi symbol
// (D/n) = -1, Q = (1 - D) / 4, and P' = 1/Q - 2 mod n. Every prime the base-2 test passes comes here,
// so the search works without a division for the D that nearly every number stops at.

#include <array>
#include <bit>
#include <optional>
#include <utility>

#include "BailliePsw.h"
#include "Montgomery.h"
#include "QuadraticCharacter.h"
#include "Uint128.h"
#include "numlib.hpp"

namespace numlib::detail {

namespace {

// 1/q mod n for 0 < q < n, or none when q shares a factor with n: k with k q = 1 + t n, where
// t r = -1 mod q for r = n mod q. t comes from Euclid's algorithm on the small pair (q, r), which
// also gives gcd(r, q) = gcd(n, q).
std::optional<uint64_t> inverseOfSmall(uint64_t q, uint64_t n) {
  const uint64_t quotient = n / q, r = n % q;
  // Invariants: a = x * r mod q and b = y * r mod q; at the end a = gcd(r, q).
  int64_t a = static_cast<int64_t>(r), b = static_cast<int64_t>(q), x = 1, y = 0;
  while (b != 0) {
    const int64_t step = a / b;
    a -= step * b;
    x -= step * y;
    std::swap(a, b);
    std::swap(x, y);
  }
  if (a != 1) return std::nullopt;
  const int64_t qSigned = static_cast<int64_t>(q);
  const auto t = static_cast<uint64_t>(((-x) % qSigned + qSigned) % qSigned);  // t r = -1 mod q
  return t * quotient + (t * r + 1) / q;  // (1 + t n) / q, in two parts that fit
}

// P' times the unit, from 1/Q mod n: (1/Q - 2) unit mod n.
inline uint64_t parameterOf(bool qPositive, uint64_t unitOverQMagnitude, uint64_t unit, uint64_t n) {
  const uint64_t unitOverQ = qPositive || unitOverQMagnitude == 0 ? unitOverQMagnitude : n - unitOverQMagnitude;
  const uint64_t twoUnits = unit >= n - unit ? unit - (n - unit) : unit + unit;
  return unitOverQ >= twoUnits ? unitOverQ - twoUnits : unitOverQ + (n - twoUnits);
}

// The general search, from the discriminant `from` on, for what the constant divisors left: n is
// no square then.
LucasParameter searchFrom(int64_t from, uint64_t n, uint64_t unit) {
  for (int64_t discriminant = from;; discriminant = discriminant > 0 ? -(discriminant + 2) : -discriminant + 2) {
    const uint64_t magnitude = static_cast<uint64_t>(discriminant > 0 ? discriminant : -discriminant);
    const int symbol = jacobi(magnitude % n, n) * (discriminant < 0 && n % 4 == 3 ? -1 : 1);  // (-1/n) = -1 for n = 3 mod 4
    if (symbol == 0) return {};
    if (symbol == 1) continue;
    const int64_t q = (1 - discriminant) / 4;
    const std::optional<uint64_t> inverse = inverseOfSmall(static_cast<uint64_t>(q > 0 ? q : -q), n);  // of |Q|
    if (!inverse) return {};
    return {true, parameterOf(q > 0, static_cast<uint64_t>(uint128{*inverse} * unit % n), unit, n)};
  }
}

// Every Selfridge D is 1 mod 4, and for such a D and an odd n > 0 quadratic reciprocity gives
// (D/n) = (n/|D|): for D < 0 the factor (-1/n) and the sign of swapping cancel. So the symbol is read
// from a table by n mod |D|, a division by a constant, which the compiler makes a multiplication.
template <uint64_t M>
constexpr std::array<int8_t, M> kSymbolOfRemainder = [] {
  std::array<int8_t, M> symbols{};
  for (uint64_t r = 0; r < M; ++r) symbols[r] = static_cast<int8_t>(jacobi(r, M));
  return symbols;
}();

// r -> 1/r mod Q for each r prime to Q, 0 for the others (1 for Q = 1).
template <uint64_t Q>
constexpr std::array<uint64_t, Q> kInverseModulo = [] {
  std::array<uint64_t, Q> inverses{};
  for (uint64_t r = 0; r < Q; ++r) {
    for (uint64_t x = 1; x < Q; ++x) {
      if (r * x % Q == 1) inverses[r] = x;
    }
  }
  if (Q == 1) inverses[0] = 1;
  return inverses;
}();

// unit / q mod n for a small constant q prime to n: unit + t n for t = -unit / n mod q is a
// multiple of q, and the quotient, below n, is its low word times 1/q mod 2^64 once the twos of q are
// shifted out. No branch on t: its value is as good as random.
template <uint64_t Q>
uint64_t divideBySmall(uint64_t unit, uint64_t n) {
  constexpr int twos = std::countr_zero(Q);
  constexpr uint64_t oddInverse = inverseModWord(Q >> twos);
  const uint64_t t = (Q - unit % Q * kInverseModulo<Q>[n % Q] % Q) % Q;
  return static_cast<uint64_t>((uint128{t} * n + unit) >> twos) * oddInverse;
}

// Where the search stands after a D.
enum class Search { goOn, composite, found };

template <int64_t D>
Search tryDiscriminant(uint64_t n, uint64_t unit, LucasParameter& parameter) {
  constexpr uint64_t magnitude = D > 0 ? D : -D;
  const int symbol = kSymbolOfRemainder<magnitude>[n % magnitude];
  if (symbol == 1) return Search::goOn;
  if (symbol == 0) return Search::composite;
  constexpr int64_t q = (1 - D) / 4;
  constexpr uint64_t qMagnitude = q > 0 ? q : -q;
  if (kInverseModulo<qMagnitude>[n % qMagnitude] == 0) return Search::composite;  // a factor in common
  parameter = {true, parameterOf(q > 0, divideBySmall<qMagnitude>(unit, n), unit, n)};
  return Search::found;
}

// The first fourteen D, up to |D| = 31: a number goes past them about once in 4,000.
using FirstDiscriminants = std::integer_sequence<int64_t, 5, -7, 9, -11, 13, -15, 17, -19, 21, -23, 25, -27, 29, -31>;
constexpr int64_t kFirstAfterThem = 33;

template <int64_t... D>
LucasParameter selfridgeParameter(uint64_t n, uint64_t unit, std::integer_sequence<int64_t, D...>) {
  LucasParameter parameter;
  Search search = Search::goOn;
  (void)(((search = tryDiscriminant<D>(n, unit, parameter)) == Search::goOn) && ...);
  if (search != Search::goOn) return parameter;
  // Every (D/n) of a square is 0 or 1, so the search would not end: a square is turned away here.
  if (isSquare(n)) return {};
  return searchFrom(kFirstAfterThem, n, unit);
}

}  // namespace

LucasParameter lucasParameterAfterBase2(uint64_t n, uint64_t unit) {
  return selfridgeParameter(n, unit, FirstDiscriminants{});
}

}  // namespace numlib::detail
