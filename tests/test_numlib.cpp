// The number service against plain references: a sieve of Eratosthenes, trial division, reduced
// forms counted one by one and the Euler product of a Hardy-Littlewood constant.

#include <QTest>

#include <cmath>
#include <cstdint>
#include <numeric>
#include <optional>
#include <random>
#include <vector>

#include "HardyLittlewood.h"
#include "Rows.h"
#include "numlib.hpp"

namespace {

// Whether each of low ... high is prime, by a sieve of Eratosthenes.
std::vector<bool> plainSieve(int64_t low, int64_t high) {
  std::vector<bool> prime(static_cast<size_t>(high - low + 1), true);
  for (int64_t n = low; n < 2 && n <= high; ++n) prime[n - low] = false;
  for (int64_t p = 2; p * p <= high; ++p)
    for (int64_t m = std::max(p * p, (low + p - 1) / p * p); m <= high; m += p) prime[m - low] = false;
  return prime;
}

// is_prime(), isPrime() and primeBits() over low ... high against the sieve; primeBits() from low on
// and from one further, so that a window that does not start on a word boundary is read right too.
// The next prime up and down from every number of the window, against the sieve's own neighbours.
void agreesWithSieve(int64_t low, int64_t high) {
  const auto reference = plainSieve(low, high);
  const auto prime = [&](int64_t n) { return bool(reference[n - low]); };
  for (int64_t n = low; n <= high; ++n) {
    const auto n32 = static_cast<int32_t>(n);
    if (is_prime(n32, n32) != (prime(n) ? 1 : 0) || numlib::isPrime(n) != prime(n)) QFAIL(qPrintable(QString::number(n)));
  }
  for (int64_t skip : {0, 1}) {
    const auto count = static_cast<int64_t>(reference.size()) - skip;
    std::vector<uint64_t> bits(static_cast<size_t>((count + 63) / 64));
    numlib::primeBits(low + skip, count, bits.data());
    for (int64_t i = 0; i < count; ++i)
      if (((bits[i / 64] >> (i % 64)) & 1) != reference[i + skip]) QFAIL(qPrintable(QString::number(low + skip + i)));
  }
  std::optional<int64_t> below;  // the largest prime seen so far, from low on
  for (int64_t n = low; n <= high; ++n) {
    if (numlib::primeBefore(n, low) != below) QFAIL(qPrintable(QString("before %1").arg(n)));
    if (prime(n)) below = n;
  }
  std::optional<int64_t> above;  // the smallest prime seen so far, from high down
  for (int64_t n = high; n >= low; --n) {
    if (numlib::primeAfter(n, high) != above) QFAIL(qPrintable(QString("after %1").arg(n)));
    if (prime(n)) above = n;
  }
}

// factor(), factorise() and factorCount() against trial division: the distinct primes in ascending
// order with their exponents, and their count with multiplicity.
void compareFactor(int32_t n) {
  const int count = numlib::factorCount(n);  // first: factor() must not be served a block sieved for counts alone
  int32_t a[NUMLIB_FACTOR_ARRAY_SIZE] = {}, b[NUMLIB_FACTOR_ARRAY_SIZE] = {};
  factor(n, n, a, b);
  const std::vector<numlib::PrimePower> powers = numlib::factorise(n);
  int64_t rest = n;
  int omega = 0, distinct = 0;
  for (int64_t p = 2; rest > 1; ++p) {
    if (p * p > rest) p = rest;  // what is left is prime
    if (rest % p != 0) continue;
    int e = 0;
    for (; rest % p == 0; ++e) rest /= p;
    omega += e;
    ++distinct;
    if (a[distinct] != p || b[distinct] != e) QFAIL(qPrintable(QString("%1: %2^%3").arg(n).arg(p).arg(e)));
    if (powers.size() < size_t(distinct) || powers[distinct - 1] != numlib::PrimePower{p, e})
      QFAIL(qPrintable(QString("factorise %1: %2^%3").arg(n).arg(p).arg(e)));
  }
  QCOMPARE(powers.size(), size_t(distinct));
  QCOMPARE(count, omega);
  QCOMPARE(a[0], omega);
  QCOMPARE(b[0], distinct);
}

// h(D) for D < 0: the reduced primitive forms (a, b, c), |b| <= a <= c, b >= 0 when |b| = a or a = c.
int64_t countReducedForms(int64_t d) {
  int64_t count = 0;
  for (int64_t a = 1; 3 * a * a <= -d; ++a) {
    for (int64_t b = -a + 1; b <= a; ++b) {
      if ((b * b - d) % (4 * a) != 0) continue;
      const int64_t c = (b * b - d) / (4 * a);
      if (c >= a && !(a == c && b < 0) && std::gcd(std::gcd(a, b), c) == 1) ++count;
    }
  }
  return count;
}

// The roots of 4k^2 + bk + c mod p: every k tried for small p, Euler's criterion for the others.
int rootsModulo(int64_t b, int64_t c, int64_t p) {
  const auto mod = [p](int64_t x) { return (x % p + p) % p; };
  if (p < 1000) {
    int roots = 0;
    for (int64_t k = 0; k < p; ++k) roots += mod(mod(4 * k * k) + mod(b * k) + mod(c)) == 0;
    return roots;
  }
  const int64_t delta = mod(mod(b * b) - mod(16 * c));
  if (delta == 0) return 1;
  uint64_t power = 1, base = static_cast<uint64_t>(delta);
  for (int64_t e = (p - 1) / 2; e > 0; e >>= 1, base = base * base % p)
    if (e & 1) power = power * base % p;
  return power == 1 ? 2 : 0;
}

// The Euler product of the Hardy-Littlewood constant over the primes up to 10^7.
double referenceConstant(int64_t b, int64_t c) {
  static const std::vector<bool> prime = plainSieve(0, 10000000);
  double product = 1;
  for (int64_t p = 2; p < static_cast<int64_t>(prime.size()); ++p)
    if (prime[p]) product *= static_cast<double>(p - rootsModulo(b, c, p)) / static_cast<double>(p - 1);
  return product;
}

struct Constant {
  const char* name;
  int64_t b;
  numlib::Int128 c;
  double expected;  // -1: the reference product
};

}  // namespace

class TestNumlib : public QObject {
  Q_OBJECT

 private slots:
  // Before calculate_primes (the reader of the settings store asks first), after it, and while
  // jumping between far apart blocks, which must not serve a stale block. 2^31 - 1 is prime, but
  // lies beyond the largest number the service knows; 2147483629 is the largest prime below it.
  void knownNumbers() {
    const std::pair<int32_t, int16_t> known[] = {
        {2, 1}, {4, 0}, {2147483629, 1}, {0, 0}, {1, 0}, {-1, 0}, {-2, 0}, {-7, 0}, {INT32_MIN, 0},
        {2147483647, 0}, {2147483646, 0}, {7, 1}, {1000003, 1}, {999983, 1}, {65537, 1}, {2147483645, 0}, {3, 1}};
    for (int round = 0; round < 3; ++round) {
      for (auto [n, prime] : known) QCOMPARE(is_prime(n, n), prime);
      if (round == 0) calculate_primes(2147483646);
    }
  }

  void agreesWithSieveAtBothEnds() {
    agreesWithSieve(0, 1000000);
    agreesWithSieve(2147483646 - 999999, 2147483646);
  }

  void factorsAgreeWithTrialDivision() {
    for (int32_t n : {1, 0, -12, 223092870, 2147483646, 2147483629, 2147395600, 1073741824}) compareFactor(n);
    int32_t a[NUMLIB_FACTOR_ARRAY_SIZE] = {}, b[NUMLIB_FACTOR_ARRAY_SIZE] = {};
    factor(2147483647, 0, a, b);  // the C function takes 2^31 - 1, a prime, beyond the C++ face's range
    QCOMPARE(a[0], 1);
    QCOMPARE(a[1], 2147483647);
    QVERIFY(numlib::factorise(2147483647).empty());
    for (int32_t n = 2; n < 20000; ++n) compareFactor(n);
    for (int32_t n = 2147483646 - 20000; n < 2147483647 && n > 0; ++n) compareFactor(n);
    std::mt19937 random(12345);
    std::uniform_int_distribution<int32_t> any(2, 2147483646);
    for (int k = 0; k < 3000; ++k) compareFactor(any(random));
  }

  // Known constants; none for a quadratic that factors or takes only even values; the others against
  // the reference product, up to starts of 2^31 and beyond 2^37, where the constant is a product too.
  void hardyLittlewoodConstants_data() {
    const numlib::Int128 top = 2147483646 - 273528;
    addRows<Constant>({{"Euler's 4k^2 - 2k + 41", -2, 41, 6.6395463549428433},
                       {"4k^2 + 1", 0, 1, 2.7456269256364920},
                       {"(2k + 1)^2", 4, 1, 0},
                       {"(2k - 1)(2k + 1)", 0, -1, 0},
                       {"(4k + 1)(k + 1)", 5, 1, 0},
                       {"(4k - 3)(k + 2)", 5, -6, 0},
                       {"all even", 2, 2, 0},
                       {"all even, no linear term", 0, -8, 0},
                       {"the window's top", -3, top, -1},
                       {"the window's top, even b", 2, top + 1, -1},
                       {"2^36", 1, numlib::Int128{1} << 36, -1},
                       {"a class group of small exponent", 0, 3234846615, -1},  // D = -16 * 3 * 5 * ... * 29
                       {"beyond the class groups", 0, (numlib::Int128{1} << 40) + 7, -1}});
  }
  void hardyLittlewoodConstants() {
    QFETCH(Constant, row);
    const double expected = row.expected < 0 ? referenceConstant(row.b, static_cast<int64_t>(row.c)) : row.expected;
    const double a = numlib::hardyLittlewoodConstant(row.b, row.c);
    if (expected == 0) QCOMPARE(a, 0.0);
    QVERIFY2(std::fabs(a - expected) <= 1e-3 * expected, qPrintable(QString("%1 against %2").arg(a).arg(expected)));
  }

  // Random small quadratics, with the discriminant of either sign, against the reference product
  // or, where they factor or take only even values, none.
  void hardyLittlewoodConstantsOfSmallQuadratics() {
    std::mt19937 random(2024);
    std::uniform_int_distribution<int64_t> linear(-9, 9), negative(-700, 0), positive(1, 200000);
    for (int i = 0; i < 14; ++i) {
      const int64_t b = linear(random), c = i % 2 == 0 ? negative(random) : positive(random);
      const int64_t delta = b * b - 16 * c, root = std::llround(std::sqrt(std::fabs(double(delta))));
      const bool none = (delta >= 0 && root * root == delta) || (b % 2 == 0 && c % 2 == 0);  // factors, or even
      const double a = numlib::hardyLittlewoodConstant(b, c), expected = none ? 0 : referenceConstant(b, c);
      if (std::fabs(a - expected) > 1e-3 * expected || (none && a != 0))
        QFAIL(qPrintable(QString("4k^2 + %1k + %2: %3 against %4").arg(b).arg(c).arg(a).arg(expected)));
    }
  }

  // Class numbers from the series and from the class group (one of small exponent among them), against
  // reduced forms counted; none for what is no negative discriminant, or lies beyond the class groups.
  void classNumbers() {
    for (int64_t d : {-3, -4, -23, -163, -652, -4 * 1000003, -1048580, -1048579, -8 * 3 * 5 * 7 * 11 * 13 * 17 * 19})
      QCOMPARE(numlib::classNumber(d), std::optional(countReducedForms(d)));
    std::mt19937 random(7);
    std::uniform_real_distribution<double> logSize(1, std::log(3e7));
    for (int i = 0; i < 60; ++i) {
      const int64_t d = -4 * std::max<int64_t>(1, int64_t(std::exp(logSize(random)) / 4)) + i % 2;  // 0, 1 mod 4
      if (numlib::classNumber(d) != std::optional(countReducedForms(d))) QFAIL(qPrintable(QString::number(d)));
    }
    for (numlib::Int128 d : {numlib::Int128{5}, numlib::Int128{0}, numlib::Int128{-5}, numlib::Int128{-6},
                             -(numlib::Int128{1} << 42)})
      QCOMPARE(numlib::classNumber(d), std::nullopt);
  }
};

QTEST_APPLESS_MAIN(TestNumlib)
#include "test_numlib.moc"
