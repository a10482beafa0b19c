// The Hardy-Littlewood constant of 4k^2 + bk + c through the class number of its discriminant; the
// method and its accuracy are described in HardyLittlewood.h.

#include "HardyLittlewood.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <numbers>
#include <numeric>
#include <span>
#include <utility>
#include <vector>

#include <primesieve.hpp>

namespace numlib {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr uint32_t kTamePrimes = 1u << 13;          // T and the estimate of h are cut here
constexpr int64_t kSeriesLimit = int64_t{1} << 20;  // the series gives h up to this |D|
constexpr int64_t kFormsLimit = int64_t{1} << 41;   // forms stay within 64 bits up to this |D|
constexpr int64_t kSlowSeriesLimit = int64_t{1} << 32;
constexpr uint32_t kPlainProductPrimes = 1u << 20;
constexpr double kSeriesReach = 4.5;  // the series is summed to n * sqrt(pi/|F|) = 4.5
constexpr int kFormsTried = 12;

// ------------------------------------------------------------------------------------------------
// Integers

Int128 magnitude(Int128 x) { return x < 0 ? -x : x; }

bool fitsInt64(Int128 x) {
  return x >= std::numeric_limits<int64_t>::min() && x <= std::numeric_limits<int64_t>::max();
}

// x mod m in 0 ... m - 1, for 0 < m < 2^63.
uint64_t residue(Int128 x, uint64_t m) {
  const auto modulus = static_cast<int64_t>(m);
  const Int128 r = fitsInt64(x) ? Int128{static_cast<int64_t>(x) % modulus} : x % modulus;
  return static_cast<uint64_t>(r < 0 ? r + modulus : r);
}

bool isSquare(Int128 x) {
  if (x < 0) return false;
  auto root = static_cast<Int128>(std::sqrt(static_cast<long double>(x)));
  while (root * root > x) --root;
  while ((root + 1) * (root + 1) <= x) ++root;
  return root * root == x;
}

int64_t floorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
int64_t ceilDiv(int64_t a, int64_t b) { return -floorDiv(-a, b); }

struct Bezout {
  int64_t u, v, gcd;  // u * a + v * b = gcd >= 0
};

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

// The distinct prime factors of n >= 1, by trial division.
std::vector<int64_t> primeFactors(int64_t n) {
  std::vector<int64_t> factors;
  for (int64_t p = 2; p * p <= n; ++p) {
    if (n % p != 0) continue;
    factors.push_back(p);
    while (n % p == 0) n /= p;
  }
  if (n > 1) factors.push_back(n);
  return factors;
}

// The odd primes up to `limit`, sieved as far as asked so far. The list grows only for the plain
// product, so spans of it stay valid while the constant of one quadratic is computed.
std::span<const uint32_t> oddPrimesUpTo(uint32_t limit) {
  thread_local std::vector<uint32_t> primes;
  thread_local uint32_t sievedTo = 0;
  if (limit > sievedTo) {
    primes.clear();
    primesieve::generate_primes(uint32_t{3}, limit, &primes);
    sievedTo = limit;
  }
  const auto end = std::upper_bound(primes.begin(), primes.end(), limit);
  return {primes.data(), static_cast<size_t>(end - primes.begin())};
}

// ------------------------------------------------------------------------------------------------
// Characters

// The Jacobi symbol (a/n) for odd n > 0 and 0 <= a < n. The sign is kept in the low bit of `flips`,
// without branches.
int jacobi(uint32_t a, uint32_t n) {
  uint32_t flips = 0;
  while (a != 0) {
    const auto twos = static_cast<uint32_t>(std::countr_zero(a));
    a >>= twos;
    flips ^= twos & ((n ^ n >> 1) >> 1);  // (2/n) = -1 for n = 3, 5 mod 8, once for each odd power of 2
    flips ^= (a & n) >> 1;                // reciprocity: -1 when a = n = 3 mod 4
    std::swap(a, n);
    a %= n;
  }
  if (n != 1) return 0;
  return (flips & 1) != 0 ? -1 : 1;
}

// The Kronecker symbol (d/2): 0 for even d, 1 for d = +-1 mod 8, -1 for d = +-3 mod 8.
int kroneckerAtTwo(Int128 d) {
  const uint64_t r = residue(d, 8);
  if (r % 2 == 0) return 0;
  return r == 1 || r == 7 ? 1 : -1;
}

// The Kronecker symbol (d/n) for 1 <= n < 2^32.
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

// (D/p) at the odd primes up to `limit`, in the order of oddPrimesUpTo(limit).
std::vector<int8_t> legendreSymbols(Int128 delta, uint32_t limit) {
  const std::span<const uint32_t> primes = oddPrimesUpTo(limit);
  std::vector<int8_t> symbols(primes.size());
  for (size_t i = 0; i < primes.size(); ++i) {
    symbols[i] = static_cast<int8_t>(jacobi(static_cast<uint32_t>(residue(delta, primes[i])), primes[i]));
  }
  return symbols;
}

// ------------------------------------------------------------------------------------------------
// L(1) by the series that the functional equation gives: the terms fall like exp(-pi n^2 / |F|).

// F and m with D = F m^2, F a fundamental discriminant; by trial division, for |D| <= 2^32.
std::pair<int64_t, int64_t> splitDiscriminant(int64_t delta) {
  int64_t rest = delta < 0 ? -delta : delta;
  int64_t squareFree = 1, conductor = 1;
  for (int64_t p = 2; p * p <= rest; ++p) {
    for (; rest % (p * p) == 0; rest /= p * p) conductor *= p;
    if (rest % p == 0) {
      rest /= p;
      squareFree *= p;
    }
  }
  squareFree *= rest;
  const int64_t s = delta < 0 ? -squareFree : squareFree;
  if (((s % 4) + 4) % 4 == 1) return {s, conductor};
  return {4 * s, conductor / 2};  // D = 0 mod 4 here, so the conductor is even
}

// L(1, (F/.)) for a fundamental discriminant F: for F < 0,
//   L = sum (F/n) [pi/sqrt|F| erfc(n a) + exp(-(n a)^2) / n],
// for F > 0,
//   L = sum (F/n) [erfc(n a) / n + E1((n a)^2) / sqrt F],   a = sqrt(pi/|F|).
// Summed to n a = 4.5, the terms left out add up to less than 1e-10.
double seriesL1(int64_t fundamental) {
  const double size = std::fabs(static_cast<double>(fundamental));
  const double root = std::sqrt(size);
  const double a = std::sqrt(kPi / size);
  const auto terms = static_cast<int64_t>(std::ceil(kSeriesReach / a));
  double sum = 0;
  for (int64_t n = 1; n <= terms; ++n) {
    const int chi = kronecker(fundamental, static_cast<uint32_t>(n));
    if (chi == 0) continue;
    const double x = static_cast<double>(n) * a;
    const double term = fundamental < 0 ? kPi / root * std::erfc(x) + std::exp(-x * x) / static_cast<double>(n)
                                        : std::erfc(x) / static_cast<double>(n) - std::expint(-x * x) / root;
    sum += chi * term;
  }
  return sum;
}

// L_D(1) = L(1, (F/.)) * prod over p | m of (1 - (F/p)/p), for |D| <= 2^32.
double seriesLOfDiscriminant(int64_t delta) {
  const auto [fundamental, conductor] = splitDiscriminant(delta);
  double l = seriesL1(fundamental);
  for (int64_t p : primeFactors(conductor))
    l *= 1.0 - kronecker(fundamental, static_cast<uint32_t>(p)) / static_cast<double>(p);
  return l;
}

// The number of automorphs of the forms of discriminant D < 0.
int automorphs(Int128 delta) { return delta == -3 ? 6 : delta == -4 ? 4 : 2; }

int64_t classNumberFromSeries(int64_t delta) {
  const double root = std::sqrt(static_cast<double>(-delta));
  return std::llround(automorphs(delta) * root * seriesLOfDiscriminant(delta) / (2 * kPi));
}

// ------------------------------------------------------------------------------------------------
// The class group of primitive positive definite forms (a, b, c) = ax^2 + bxy + cy^2, |D| <= 2^41:
// reduced forms have a <= sqrt(|D|/3) < 2^20, and every intermediate value stays below 2^62.

struct Form {
  int64_t a, b, c;
  bool isIdentity() const { return a == 1; }  // the only reduced form with a = 1
  uint64_t key() const { return static_cast<uint64_t>(a) << 32 | static_cast<uint32_t>(b); }
};

class ClassGroup {
 public:
  explicit ClassGroup(int64_t discriminant) : d_(discriminant) {}

  Form identity() const {
    const int64_t b = d_ & 1;
    return {1, b, (b - d_) / 4};
  }
  Form inverse(const Form& f) const { return reduce({f.a, -f.b, f.c}); }

  // The form of the prime p with (D/p) = 1: (p, b, (b^2 - D)/4p), b^2 = D mod 4p.
  Form primeForm(int64_t p) const {
    const auto target = static_cast<int64_t>(residue(d_, static_cast<uint64_t>(p)));
    int64_t b = 0;
    while (b * b % p != target) ++b;  // the primes tried are small
    if ((b - d_) % 2 != 0) b = p - b;
    return reduce({p, b, (b * b - d_) / (4 * p)});
  }

  // Composition (Cohen, A Course in Computational Algebraic Number Theory, algorithm 5.4.7).
  Form compose(Form f1, Form f2) const {
    if (f1.a > f2.a) std::swap(f1, f2);
    const int64_t s = (f1.b + f2.b) / 2;
    const int64_t n = f2.b - s;
    int64_t y1 = 0, d = f1.a;
    if (f2.a % f1.a != 0) {
      const Bezout first = extendedGcd(f2.a, f1.a);
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
    const int64_t v1 = f1.a / d1, v2 = f2.a / d1;
    Int128 r = (Int128{y1} * y2 * n - Int128{x2} * f2.c) % v1;
    if (r < 0) r += v1;
    const auto c3 = (Int128{f2.c} * d1 + r * (f2.b + Int128{v2} * r)) / v1;
    return reduce({v1 * v2, f2.b + 2 * v2 * static_cast<int64_t>(r), static_cast<int64_t>(c3)});
  }

  Form power(Form f, int64_t n) const {
    Form result = identity();
    for (; n > 0; n >>= 1) {
      if (n & 1) result = compose(result, f);
      f = compose(f, f);
    }
    return result;
  }

 private:
  // |b| <= a <= c, and b >= 0 when |b| = a or a = c: one form of each class.
  static Form reduce(Form f) {
    for (;;) {
      if (f.b <= -f.a || f.b > f.a) {  // f(x + qy, y) brings b into (-a, a]
        const int64_t q = floorDiv(f.a - f.b, 2 * f.a);
        const int64_t b = f.b + 2 * f.a * q;
        f.c += q * ((f.b + b) / 2);
        f.b = b;
      }
      if (f.a <= f.c) break;
      f = {f.c, -f.b, f.a};  // f(-y, x)
    }
    if (f.a == f.c && f.b < 0) f.b = -f.b;  // (a, b, a) and (a, -b, a) are one class
    return f;
  }

  int64_t d_;
};

// The t in low ... high with g^t = 1, if any: baby steps g^-j in a sorted table, giant steps of g^m.
std::optional<int64_t> exponentInRange(const ClassGroup& group, const Form& g, int64_t low, int64_t high) {
  if (low > high) return std::nullopt;
  const auto m = static_cast<int64_t>(std::ceil(std::sqrt(static_cast<double>(high - low + 1))));
  std::vector<std::pair<uint64_t, int64_t>> babySteps;
  babySteps.reserve(static_cast<size_t>(m));
  const Form back = group.inverse(g);
  Form x = group.identity();
  for (int64_t j = 0; j < m; ++j, x = group.compose(x, back)) babySteps.emplace_back(x.key(), j);
  std::sort(babySteps.begin(), babySteps.end());
  const Form giant = group.power(g, m);
  Form y = group.power(g, low);
  for (int64_t t = low; t <= high; t += m, y = group.compose(y, giant)) {
    const auto found = std::lower_bound(babySteps.begin(), babySteps.end(), std::pair{y.key(), int64_t{0}});
    if (found == babySteps.end() || found->first != y.key()) continue;
    if (t + found->second > high) break;
    return t + found->second;
  }
  return std::nullopt;
}

// The order of f, given f^n = 1.
int64_t orderOf(const ClassGroup& group, const Form& f, int64_t n) {
  int64_t order = n;
  for (int64_t q : primeFactors(n))
    while (order % q == 0 && group.power(f, order / q).isIdentity()) order /= q;
  return order;
}

// The multiples within low ... high of the exponent of the group the prime forms generate; h is one
// of them if it lies in the window. Empty when the window holds none, so that h lies outside.
std::vector<int64_t> classNumberCandidates(const ClassGroup& group, std::span<const int64_t> splitPrimes,
                                           int64_t low, int64_t high) {
  int64_t exponent = 1;
  for (int64_t p : splitPrimes.first(std::min<size_t>(splitPrimes.size(), kFormsTried))) {
    const Form f = group.primeForm(p);
    const std::optional<int64_t> t =
        exponentInRange(group, group.power(f, exponent), ceilDiv(low, exponent), high / exponent);
    if (!t) return {};
    exponent = std::lcm(exponent, orderOf(group, f, exponent * *t));
    if (ceilDiv(low, exponent) == high / exponent) break;
  }
  std::vector<int64_t> candidates;
  for (int64_t n = ceilDiv(low, exponent) * exponent; n <= high && candidates.size() < 2; n += exponent)
    candidates.push_back(n);
  return candidates;
}

// log L_D(1) by its Euler product over the primes up to `limit` (at least 2^13), with (D/p) from
// `symbols` as far as they go.
double logEulerProduct(int64_t delta, std::span<const int8_t> symbols, uint32_t limit) {
  const std::span<const uint32_t> primes = oddPrimesUpTo(limit);
  double logL = -std::log1p(-kroneckerAtTwo(delta) / 2.0);
  for (size_t i = 0; i < primes.size(); ++i) {
    const int symbol = i < symbols.size() ? symbols[i] : jacobi(static_cast<uint32_t>(residue(delta, primes[i])), primes[i]);
    logL -= std::log1p(-symbol / static_cast<double>(primes[i]));
  }
  return logL;
}

// h(D) for 2^20 < |D| <= 2^41 from the Euler product of L_D(1) and the forms. Where the class group
// leaves several candidates in the window of the product over p <= 2^13, the products over p <= 2^17
// and 2^20 narrow it; none where even they leave several.
std::optional<int64_t> classNumberFromForms(int64_t delta, std::span<const int8_t> symbols) {
  const std::span<const uint32_t> primes = oddPrimesUpTo(kTamePrimes);
  std::vector<int64_t> splitPrimes;
  for (size_t i = 0; i < primes.size(); ++i)
    if (symbols[i] == 1) splitPrimes.push_back(primes[i]);
  const ClassGroup group(delta);
  for (uint32_t limit : {kTamePrimes, 1u << 17, kPlainProductPrimes}) {
    const double logL = logEulerProduct(delta, symbols, limit);
    const double estimate = automorphs(delta) * std::sqrt(static_cast<double>(-delta)) * std::exp(logL) / (2 * kPi);
    // The tail's spread if its signs were random: sqrt(sum over p > P of 1/p^2) ~ 1/sqrt(P ln P).
    const auto primesCut = static_cast<double>(limit);
    const double spread = 1.0 / std::sqrt(primesCut * std::log(primesCut));
    for (double width = 6 * spread; width < 2; width *= 2) {
      const int64_t low = std::max<int64_t>(1, static_cast<int64_t>(std::floor(estimate * std::exp(-width))));
      const int64_t high = static_cast<int64_t>(std::ceil(estimate * std::exp(width)));
      const std::vector<int64_t> candidates = classNumberCandidates(group, splitPrimes, low, high);
      if (candidates.size() == 1) return candidates.front();
      if (candidates.size() > 1) break;
    }
  }
  return std::nullopt;
}

std::optional<int64_t> classNumberOf(Int128 delta, std::span<const int8_t> symbols) {
  const Int128 size = -delta;
  if (size <= kSeriesLimit) return classNumberFromSeries(static_cast<int64_t>(delta));
  if (size <= kFormsLimit) {
    if (const std::optional<int64_t> h = classNumberFromForms(static_cast<int64_t>(delta), symbols)) return h;
  }
  if (size <= kSlowSeriesLimit) return classNumberFromSeries(static_cast<int64_t>(delta));
  return std::nullopt;
}

bool isNegativeDiscriminant(Int128 d) { return d < 0 && residue(d, 4) <= 1; }

// ------------------------------------------------------------------------------------------------
// The constant

// L_D(1) = sum (D/n)/n where the class number or the series gives it.
std::optional<double> dirichletL1(Int128 delta, std::span<const int8_t> symbols) {
  if (delta > 0) {
    if (delta > kSlowSeriesLimit) return std::nullopt;
    return seriesLOfDiscriminant(static_cast<int64_t>(delta));
  }
  const std::optional<int64_t> h = classNumberOf(delta, symbols);
  if (!h) return std::nullopt;
  return 2 * kPi * static_cast<double>(*h) / (automorphs(delta) * std::sqrt(static_cast<double>(-delta)));
}

// prod over odd p <= 2^13 of (1 - x/((p-1)(p-x))), the part of A that converges fast.
double tameProduct(std::span<const int8_t> symbols) {
  const std::span<const uint32_t> primes = oddPrimesUpTo(kTamePrimes);
  double product = 1;
  for (size_t i = 0; i < primes.size(); ++i) {
    const double p = primes[i], x = symbols[i];
    product *= 1.0 - x / ((p - 1) * (p - x));
  }
  return product;
}

// prod over odd p <= 2^20 of (1 - (D/p)/(p-1)): the odd part of A where nothing better is at hand.
double plainProduct(Int128 delta) {
  double product = 1;
  for (uint32_t p : oddPrimesUpTo(kPlainProductPrimes))
    product *= 1.0 - jacobi(static_cast<uint32_t>(residue(delta, p)), p) / (p - 1.0);
  return product;
}

}  // namespace

double hardyLittlewoodConstant(int64_t b, Int128 c) {
  constexpr int64_t kLargestB = int64_t{1} << 60;
  constexpr Int128 kLargestC = Int128{1} << 120;
  if (b > kLargestB || b < -kLargestB || magnitude(c) > kLargestC) return std::numeric_limits<double>::quiet_NaN();
  if (b % 2 == 0 && c % 2 == 0) return 0;  // every value is even
  const Int128 delta = Int128{b} * b - 16 * c;
  if (isSquare(delta)) return 0;  // f factors
  const double atTwo = b % 2 != 0 ? 1 : 2;  // 2 - w(2)
  const std::vector<int8_t> symbols = legendreSymbols(delta, kTamePrimes);
  const std::optional<double> l = dirichletL1(delta, symbols);
  if (!l) return atTwo * plainProduct(delta);
  return atTwo * tameProduct(symbols) / (*l * (1.0 - kroneckerAtTwo(delta) / 2.0));
}

std::optional<int64_t> classNumber(Int128 discriminant) {
  if (!isNegativeDiscriminant(discriminant)) return std::nullopt;
  const bool needsSymbols = -discriminant > kSeriesLimit && -discriminant <= kFormsLimit;
  return classNumberOf(discriminant, needsSymbols ? legendreSymbols(discriminant, kTamePrimes) : std::vector<int8_t>{});
}

}  // namespace numlib
