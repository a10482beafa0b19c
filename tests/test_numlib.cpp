// The number service against plain references: a sieve of Eratosthenes and trial division.

#include <QTest>

#include <cstdint>
#include <random>
#include <vector>

#include "numlib.h"

namespace {

std::vector<bool> plainSieve(int64_t low, int64_t high) {
  std::vector<bool> prime(static_cast<size_t>(high - low + 1), true);
  for (int64_t n = low; n < 2 && n <= high; ++n) prime[n - low] = false;
  for (int64_t p = 2; p * p <= high; ++p) {
    int64_t first = std::max(p * p, (low + p - 1) / p * p);
    for (int64_t m = first; m <= high; m += p) prime[m - low] = false;
  }
  return prime;
}

struct Factorisation {
  int omega = 0;
  std::vector<int32_t> primes, exponents;
};

Factorisation trialDivision(int32_t n) {
  Factorisation f;
  int64_t rest = n;
  for (int64_t p = 2; p * p <= rest; ++p) {
    if (rest % p != 0) continue;
    int e = 0;
    while (rest % p == 0) { rest /= p; ++e; }
    f.primes.push_back(static_cast<int32_t>(p));
    f.exponents.push_back(e);
    f.omega += e;
  }
  if (rest > 1) {
    f.primes.push_back(static_cast<int32_t>(rest));
    f.exponents.push_back(1);
    f.omega += 1;
  }
  return f;
}

void compareFactor(int32_t n) {
  int32_t a[NUMLIB_FACTOR_ARRAY_SIZE];
  int32_t b[NUMLIB_FACTOR_ARRAY_SIZE];
  const Factorisation expected = trialDivision(n);
  QCOMPARE(factor_count(n), expected.omega);  // first: factor() must not take the count-only block
  factor(n, n, a, b);
  QCOMPARE(a[0], expected.omega);
  QCOMPARE(b[0], static_cast<int32_t>(expected.primes.size()));
  for (size_t j = 0; j < expected.primes.size(); ++j) {
    QCOMPARE(a[j + 1], expected.primes[j]);
    QCOMPARE(b[j + 1], expected.exponents[j]);
  }
}

// prime_bits() over the whole reference window, from its first number on and from one further.
void comparePrimeBits(int64_t low, const std::vector<bool>& reference) {
  for (int64_t skip : {0, 1}) {
    const auto count = static_cast<int64_t>(reference.size()) - skip;
    std::vector<uint64_t> bits(static_cast<size_t>((count + 63) / 64));
    prime_bits(low + skip, count, bits.data());
    for (int64_t i = 0; i < count; ++i) {
      if (((bits[i / 64] >> (i % 64)) & 1) != reference[i + skip]) QFAIL(qPrintable(QString::number(low + skip + i)));
    }
  }
}

}  // namespace

class TestNumlib : public QObject {
  Q_OBJECT

 private slots:
  // Before calculate_primes: the reader of the settings store asks first.
  void answersBeforePreparation() {
    QCOMPARE(is_prime(2, 2), int16_t{1});
    QCOMPARE(is_prime(4, 4), int16_t{0});
    QCOMPARE(is_prime(2147483629, 2147483629), int16_t{1});  // the largest prime below 2^31 - 1
  }

  void nonPositiveAndOneAreNotPrime() {
    calculate_primes(2147483646);
    for (int32_t n : {0, 1, -1, -2, -7, INT32_MIN}) QCOMPARE(is_prime(n, n), int16_t{0});
  }

  // 2^31 - 1 is prime, but lies beyond the largest number the service knows.
  void beyondTheLargestNumberIsNotPrime() {
    QCOMPARE(is_prime(2147483647, 2147483647), int16_t{0});
    QCOMPARE(is_prime(2147483646, 2147483646), int16_t{0});
  }

  void agreesWithSieveUpToAMillion() {
    const auto reference = plainSieve(0, 1000000);
    for (int32_t n = 0; n <= 1000000; ++n) {
      if (is_prime(n, n) != (reference[n] ? 1 : 0)) QFAIL(qPrintable(QString::number(n)));
    }
    comparePrimeBits(0, reference);
  }

  void agreesWithSieveOnTheTopMillion() {
    const int64_t low = 2147483646 - 999999;
    const auto reference = plainSieve(low, 2147483646);
    for (int64_t n = low; n <= 2147483646; ++n) {
      const auto n32 = static_cast<int32_t>(n);
      if (is_prime(n32, n32) != (reference[n - low] ? 1 : 0)) QFAIL(qPrintable(QString::number(n)));
    }
    comparePrimeBits(low, reference);
  }

  // Jumping between far apart blocks must not serve a stale block.
  void alternatingFarQueries() {
    for (int round = 0; round < 3; ++round) {
      for (int32_t n : {7, 2147483629, 1000003, 999983, 65537, 2147483645, 3}) {
        const bool expected = n != 2147483645;
        QCOMPARE(is_prime(n, n), static_cast<int16_t>(expected ? 1 : 0));
      }
    }
  }

  void factorsAgreeWithTrialDivision() {
    int32_t a[NUMLIB_FACTOR_ARRAY_SIZE];
    int32_t b[NUMLIB_FACTOR_ARRAY_SIZE];
    for (int32_t n : {1, 0, -12}) {  // no factors at all
      factor(n, n, a, b);
      QCOMPARE(a[0], 0);
      QCOMPARE(b[0], 0);
      QCOMPARE(factor_count(n), 0);
    }
    for (int32_t n : {223092870, 2147483646, 2147483629, 2147395600, 1073741824, 2147483647}) compareFactor(n);
    for (int32_t n = 2; n < 20000; ++n) compareFactor(n);
    for (int32_t n = 2147483646 - 20000; n < 2147483647 && n > 0; ++n) compareFactor(n);
    std::mt19937 random(12345);
    std::uniform_int_distribution<int32_t> any(2, 2147483646);
    for (int k = 0; k < 3000; ++k) compareFactor(any(random));
  }
};

QTEST_APPLESS_MAIN(TestNumlib)
#include "test_numlib.moc"
