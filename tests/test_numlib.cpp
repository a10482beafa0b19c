// The number service against plain references: a sieve of Eratosthenes and trial division.

#include <QTest>

#include <cstdint>
#include <optional>
#include <random>
#include <vector>

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
};

QTEST_APPLESS_MAIN(TestNumlib)
#include "test_numlib.moc"
