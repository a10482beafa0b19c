#include "QuadraticCharacter.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <utility>

#include <primesieve.hpp>

#include "Uint128.h"

namespace numlib::detail {

namespace {

constexpr uint32_t kShortListEnd = uint32_t{1} << 16;

std::vector<uint32_t> sieveOddPrimes(uint32_t limit) {
  std::vector<uint32_t> primes;
  primesieve::generate_primes(uint32_t{3}, limit, &primes);
  return primes;
}

}  // namespace

Int128 magnitude(Int128 x) { return x < 0 ? -x : x; }

bool fitsInt64(Int128 x) {
  return x >= std::numeric_limits<int64_t>::min() && x <= std::numeric_limits<int64_t>::max();
}

// Two 64-bit divisions instead of one of 128 bits, for |x| < 2^96 (the discriminants); the general
// one beyond.
uint64_t residue(Int128 x, uint64_t m) {
  if (m < (uint64_t{1} << 32) && magnitude(x) < (Int128{1} << 96)) {
    const auto size = static_cast<uint128>(magnitude(x));
    const uint64_t high = static_cast<uint64_t>(size >> 32) % m;
    const uint64_t r = ((high << 32) | static_cast<uint32_t>(size)) % m;
    return x < 0 && r != 0 ? m - r : r;
  }
  const Int128 r = x % static_cast<Int128>(m);
  return static_cast<uint64_t>(r < 0 ? r + static_cast<Int128>(m) : r);
}

bool isSquare(Int128 x) {
  if (x < 0) return false;
  auto root = static_cast<Int128>(std::sqrt(static_cast<long double>(x)));
  while (root * root > x) --root;
  while ((root + 1) * (root + 1) <= x) ++root;
  return root * root == x;
}

// In 64 bits where both fit (a form's a and b, once reduced), as 128-bit division is slow.
Int128 floorDiv(Int128 a, Int128 b) {
  if (fitsInt64(a) && fitsInt64(b)) {
    const auto x = static_cast<int64_t>(a), y = static_cast<int64_t>(b);
    return x / y - ((x % y != 0) && ((x < 0) != (y < 0)));
  }
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}
Int128 ceilDiv(Int128 a, Int128 b) { return -floorDiv(-a, b); }

Bezout extendedGcd(int64_t a, int64_t b) {
  int64_t oldR = a, r = b, oldU = 1, u = 0, oldV = 0, v = 1;
  while (r != 0) {
    const int64_t q = oldR / r;
    oldR = std::exchange(r, oldR - q * r);
    oldU = std::exchange(u, oldU - q * u);
    oldV = std::exchange(v, oldV - q * v);
  }
  return oldR < 0 ? Bezout{-oldU, -oldV, -oldR} : Bezout{oldU, oldV, oldR};
}

std::vector<int64_t> primeFactors(int64_t n) {
  std::vector<int64_t> factors;
  const auto takeOut = [&](int64_t p) {
    if (n % p != 0) return;
    factors.push_back(p);
    while (n % p == 0) n /= p;
  };
  takeOut(2);
  const auto root = static_cast<uint32_t>(std::min<double>(std::sqrt(static_cast<double>(n)) + 1, kLargestListedPrime));
  int64_t p = 3;
  for (uint32_t listed : oddPrimesUpTo(root)) {
    p = listed;
    if (p * p > n) break;
    takeOut(p);
  }
  for (; p * p <= n; p += 2) takeOut(p);  // beyond the list, for n >= 2^40
  if (n > 1) factors.push_back(n);
  return factors;
}

std::span<const uint32_t> oddPrimesUpTo(uint32_t limit) {
  static const std::vector<uint32_t> shortList = sieveOddPrimes(kShortListEnd);
  const std::vector<uint32_t>* list = &shortList;
  if (limit > kShortListEnd) {
    static const std::vector<uint32_t> longList = sieveOddPrimes(kLargestListedPrime);
    list = &longList;
  }
  const auto end = std::upper_bound(list->begin(), list->end(), limit);
  return {list->data(), static_cast<size_t>(end - list->begin())};
}

int kroneckerAtTwo(Int128 d) {
  const uint64_t r = residue(d, 8);
  if (r % 2 == 0) return 0;
  return r == 1 || r == 7 ? 1 : -1;
}

int kronecker(Int128 d, uint32_t n) {
  const int twos = std::countr_zero(n);
  const uint32_t odd = n >> twos;
  int sign = 1;
  if (twos > 0) {
    const int atTwo = kroneckerAtTwo(d);
    if (atTwo == 0) return 0;
    if (twos % 2 == 1) sign = atTwo;
  }
  return sign * jacobi(static_cast<uint32_t>(residue(d, odd)), odd);
}

std::vector<int8_t> legendreSymbols(Int128 delta, uint32_t limit) {
  const std::span<const uint32_t> primes = oddPrimesUpTo(limit);
  std::vector<int8_t> symbols(primes.size());
  for (size_t i = 0; i < primes.size(); ++i)
    symbols[i] = static_cast<int8_t>(jacobi(static_cast<uint32_t>(residue(delta, primes[i])), primes[i]));
  return symbols;
}

}  // namespace numlib::detail
