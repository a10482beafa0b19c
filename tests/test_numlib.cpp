// The number service against the plain references: the strong test to seven bases that admit no
// composite below 2^64, reduced forms counted one by one and the Euler product of a
// Hardy-Littlewood constant; and far constants and class numbers computed by PARI/GP.

#include <QTest>

#include <cmath>
#include <cstdint>
#include <numeric>
#include <latch>
#include <limits>
#include <optional>
#include <random>
#include <span>
#include <thread>
#include <vector>

#include "BailliePsw.h"
#include "ClassNumber.h"
#include "HardyLittlewood.h"
#include "PlainEulerProduct.h"
#include "QuadraticPolynomial.h"
#include "PrimeWindow.h"
#include "ProgressionSieve.h"
#include "PlainMillerRabin.h"
#include "ReducedForms.h"
#include "PlainQuadratic.h"
#include "Rows.h"
#include "TrialDivision.h"
#include "numlib.hpp"

namespace {

constexpr uint64_t kTop = std::numeric_limits<uint64_t>::max();  // 2^64 - 1

// The ways of testing many numbers at once that this processor has: 64-bit words everywhere,
// vectors of 52-bit limbs where it multiplies those, and vectors of 32-bit halves where it has them.
using BatchTest = void (*)(std::span<const uint64_t>, std::span<uint8_t>);
std::vector<std::pair<const char*, BatchTest>> batchTests() {
  std::vector<std::pair<const char*, BatchTest>> ways = {{"words", numlib::detail::testPrimalityInWords}};
  if (numlib::detail::wideLanesAvailable()) ways.emplace_back("wide lanes", numlib::detail::testPrimalityInWideLanes);
  if (numlib::detail::halfLanesAvailable()) ways.emplace_back("half lanes", numlib::detail::testPrimalityInHalfLanes);
  return ways;
}

// factorise(n) is its factorisation when its primes ascend, each passes the reference, and their
// powers multiply to n: the factorisation is unique. Returns Omega, or -1 when a check fails.
int checkedFactorCount(uint64_t n) {
  Wide product = 1;
  int omega = 0;
  uint64_t previous = 1;
  for (const auto& [p, e] : numlib::factorise(n)) {
    if (p <= previous || e < 1 || !referenceIsPrime(p)) return -1;
    for (int i = 0; i < e; ++i) product *= p;
    omega += e;
    previous = p;
  }
  return product == (n == 0 ? 1 : n) ? omega : -1;
}

// primeBits() as read back for low + from ... low + to - 1, against the reference, number by number.
void bitsAgreeWithReference(const std::vector<uint64_t>& bits, uint64_t low, uint64_t from, uint64_t to) {
  for (uint64_t i = from; i < to; ++i)
    if (((bits[i / 64] >> (i % 64)) & 1) != referenceIsPrime(low + i)) QFAIL(qPrintable(QString::number(low + i)));
}

// is_prime() (where the C function reaches), isPrime() and primeBits() over the window of `count`
// numbers from low against the reference; primeBits() from low on and from one further, so that a
// window that does not start on a word boundary is read right too. The next prime up and down from
// every number of the window, within the window, against the reference's own neighbours.
void agreesWithReference(uint64_t low, uint64_t count) {
  const uint64_t high = low + (count - 1);
  std::vector<bool> isPrime(count);
  for (uint64_t i = 0; i < count; ++i) isPrime[i] = referenceIsPrime(low + i);
  const auto prime = [&](uint64_t n) { return bool(isPrime[n - low]); };
  for (uint64_t n = low; n - low < count; ++n) {
    const auto n32 = static_cast<int32_t>(n);
    if (n <= INT32_MAX && is_prime(n32, n32) != (prime(n) && n <= numlib::kLargestNumber ? 1 : 0))
      QFAIL(qPrintable(QString("is_prime %1").arg(n)));
    if (numlib::isPrime(n) != prime(n)) QFAIL(qPrintable(QString("isPrime %1").arg(n)));
  }
  for (uint64_t skip : {0, 1}) {
    std::vector<uint64_t> bits((count - skip + 63) / 64, ~uint64_t{0});
    numlib::primeBits(low + skip, count - skip, bits.data());
    for (uint64_t i = 0; i < 64 * bits.size(); ++i)
      if (((bits[i / 64] >> (i % 64)) & 1) != (i < count - skip && prime(low + skip + i)))
        QFAIL(qPrintable(QString("primeBits from %1, bit %2").arg(low + skip).arg(i)));
  }
  std::optional<uint64_t> below;  // the largest prime seen so far, from low on
  for (uint64_t n = low; n - low < count; ++n) {
    if (numlib::primeBefore(n, low) != below) QFAIL(qPrintable(QString("before %1").arg(n)));
    if (prime(n)) below = n;
  }
  std::optional<uint64_t> above;  // the smallest prime seen so far, from high down
  for (uint64_t n = high; n >= low && n <= high; --n) {
    if (numlib::primeAfter(n, high) != above) QFAIL(qPrintable(QString("after %1").arg(n)));
    if (prime(n)) above = n;
  }
}

// factorCounts() over the window, from low on and from one further, and factorCount() of each
// number, against the checked factorisations.
void factorCountsAgree(uint64_t low, uint64_t count) {
  std::vector<uint8_t> counts(count);
  numlib::factorCounts(low, count, counts.data());
  std::vector<uint8_t> shifted(count - 1);
  numlib::factorCounts(low + 1, count - 1, shifted.data());
  for (uint64_t i = 0; i < count; ++i) {
    const int omega = checkedFactorCount(low + i);
    if (omega < 0 || counts[i] != omega || numlib::factorCount(low + i) != omega || (i > 0 && shifted[i - 1] != omega))
      QFAIL(qPrintable(QString("factor count of %1: %2 for %3").arg(low + i).arg(counts[i]).arg(omega)));
  }
}

// factor() and factorCount() against factorise(), whose factorisation is checked as above. The C
// face takes no negatives.
void compareFactor(int32_t n) {
  const int count = n < 0 ? 0 : numlib::factorCount(uint64_t(n));  // first: factor() must not be served a block sieved for counts alone
  int32_t a[NUMLIB_FACTOR_ARRAY_SIZE] = {}, b[NUMLIB_FACTOR_ARRAY_SIZE] = {};
  factor(n, n, a, b);
  const std::vector<numlib::PrimePower> powers = n < 0 ? std::vector<numlib::PrimePower>() : numlib::factorise(uint64_t(n));
  QCOMPARE(count, n < 2 ? 0 : checkedFactorCount(uint64_t(n)));
  QCOMPARE((QList<int32_t>{n, a[0], b[0]}), (QList<int32_t>{n, count, int32_t(powers.size())}));
  for (size_t i = 0; i < powers.size(); ++i)
    if (uint64_t(a[i + 1]) != powers[i].prime || b[i + 1] != powers[i].exponent) QFAIL(qPrintable(QString::number(n)));
}

// a t^2 + b t + c and its constant: -1 for the reference product, NaN for none.
struct Constant { const char* name; numlib::Int128 a; int64_t b; numlib::Int128 c; double expected; };
struct Values { const char* name; numlib::QuadraticPolynomial f; uint64_t low, high; };

struct KnownClassNumber { const char* name; numlib::Int128 d; int64_t h; };
struct Window { const char* name; uint64_t low, count; };
struct Known { const char* name; uint64_t n; int omega; bool fermatPseudoprimeTo2; };  // prime when omega is 1
// Runs of `count` numbers on `sides` sides taking turns, `rings` of each, as a far tile asks them:
// side s's run on ring k starts at low + s * 100003 + k * step + curvature * k (k - 1) / 2, and is
// 13 s numbers shorter and k `grow` longer.
struct Progression {
  const char* name;
  uint64_t low;
  int64_t step, curvature;
  uint64_t count;
  int sides, rings;
  uint64_t grow = 0;
};

// Windows at random 64-bit starts, the same in every run.
std::vector<Window> randomWindows(int howMany, uint64_t count) {
  std::mt19937_64 random(20240613);
  std::vector<Window> windows;
  for (int k = 0; k < howMany; ++k) windows.push_back({"random", random() % (kTop - count + 2), count});
  return windows;
}

}  // namespace


class TestNumlib : public QObject {
  Q_OBJECT

 private slots:
  // Before calculate_primes (the reader of the settings store asks first), after it, and while
  // jumping between far apart blocks, which must not serve a stale block. 2^31 - 1 is prime, but
  // lies beyond the largest number the C functions know; 2147483629 is the largest prime below it.
  void knownNumbers() {
    const std::pair<int32_t, int16_t> known[] = {
        {2, 1}, {4, 0}, {2147483629, 1}, {0, 0}, {1, 0}, {-1, 0}, {-2, 0}, {-7, 0}, {INT32_MIN, 0},
        {2147483647, 0}, {2147483646, 0}, {7, 1}, {1000003, 1}, {999983, 1}, {65537, 1}, {2147483645, 0}, {3, 1}};
    for (int round = 0; round < 3; ++round) {
      for (auto [n, prime] : known) QCOMPARE(is_prime(n, n), prime);
      if (round == 0) calculate_primes(2147483646);
    }
  }

  void factorsAreCheckedFactorisations() {
    for (int32_t n : {1, 0, -12, 223092870, 2147483646, 2147483629, 2147395600, 1073741824}) compareFactor(n);
    int32_t a[NUMLIB_FACTOR_ARRAY_SIZE] = {}, b[NUMLIB_FACTOR_ARRAY_SIZE] = {};
    factor(2147483647, 0, a, b);  // the C function takes 2^31 - 1, a prime, beyond the blocks' range
    QCOMPARE(a[0], 1);
    QCOMPARE(a[1], 2147483647);
    QCOMPARE(numlib::factorise(2147483647), (std::vector<numlib::PrimePower>{{2147483647, 1}}));
    for (int32_t n = 2; n < 20000; ++n) compareFactor(n);
    for (int32_t n = 2147483646 - 20000; n < 2147483647 && n > 0; ++n) compareFactor(n);
    std::mt19937 random(12345);
    std::uniform_int_distribution<int32_t> any(2, 2147483646);
    for (int k = 0; k < 3000; ++k) compareFactor(any(random));
  }

  // Known constants: the small ones from long products, Shanks's for t^2 + 1 and Euler's for
  // t^2 + t + 41, the far ones from PARI/GP (the class number by Buchmann's method, the tame product
  // over p < 2 * 10^6); to 1e-6 for 4k^2 + bk + c (A is bound to 6e-6, the agreement measured is
  // 2e-7), to 1e-5 for other leading coefficients. 0 for a quadratic that factors or whose values
  // share a prime; none beyond the limits. The others, and random small ones, against the reference
  // product, to its own tolerance, up to starts of 2^31 and on to 2^64. 4k^2 + bk + c goes through
  // the rays' call, any other quadratic through the general one.
  void hardyLittlewoodConstants_data() {
    const numlib::Int128 top = 2147483646 - 273528, far = (numlib::Int128{1} << 64) - 1;
    const double none = std::nan(""), reference = -1;
    addRows<Constant>({{"Euler's 4k^2 - 2k + 41", 4, -2, 41, 6.6395463552032791},
                       {"4k^2 + 1", 4, 0, 1, 2.7456269256007656},
                       {"at 10^18, from PARI/GP", 4, 0, 1000000000000000063, 5.9720575390226628},
                       {"near 2^64, from PARI/GP", 4, 2, far - 833820, 0.80913033746808941},
                       {"near 2^64, odd b, from PARI/GP", 4, -9, far - 219630, 0.82071923408629179},
                       {"near 2^61, odd b, from PARI/GP", 4, 1, 1850475703520450600, 1.1515981703953523},
                       {"(2k + 1)^2", 4, 4, 1, 0},
                       {"(2k - 1)(2k + 1)", 4, 0, -1, 0},
                       {"(4k + 1)(k + 1)", 4, 5, 1, 0},
                       {"all even", 4, 2, 2, 0},
                       {"all even, no linear term", 4, 0, -8, 0},
                       {"the window's top", 4, -3, top, reference},
                       {"the window's top, even b", 4, 2, top + 1, reference},
                       {"2^36", 4, 1, numlib::Int128{1} << 36, reference},
                       {"a class group of small exponent", 4, 0, 3234846615, reference},  // D = -16 * 3 * 5 * ... * 29
                       {"2^40", 4, 0, (numlib::Int128{1} << 40) + 7, reference},
                       {"2^50, odd b", 4, 3, (numlib::Int128{1} << 50) + 1, reference},
                       {"10^18", 4, -4, 1000000000000000093, reference},
                       {"near 2^64", 4, 7, far - 263081, reference},
                       {"t^2 + 1", 1, 0, 1, 1.3728134628662462},
                       {"Euler's t^2 + t + 41", 1, 1, 41, 2 * 3.3197731774714},
                       {"2t^2 + 2t + 1", 2, 2, 1, reference},
                       {"2t^2 + 3t + 5", 2, 3, 5, reference},
                       {"3t^2 + 1", 3, 0, 1, reference},
                       {"3t^2 + 2t + 7", 3, 2, 7, reference},
                       {"6t^2 + 6t + 1, D > 0", 6, 6, 1, reference},
                       {"6t^2 + 5t + 7", 6, 5, 7, reference},
                       {"9t^2 + 3t + 1, 3 divides a and b", 9, 3, 1, reference},
                       {"15t^2 + 5t + 3", 15, 5, 3, reference},
                       {"(t + 1)(t + 2)", 1, 3, 2, 0},
                       {"(2t + 1)(t + 2)", 2, 5, 2, 0},
                       {"t^2, a double root", 1, 0, 0, 0},
                       {"t^2 + t + 2, always even", 1, 1, 2, 0},
                       {"3t^2 + 3t + 3, always a multiple of 3", 3, 3, 3, 0},
                       {"5t^2 + 10t + 15", 5, 10, 15, 0},
                       {"a = 0, beyond the limits", 0, 1, 1, none},
                       {"a = 2^60 + 1, beyond the limits", (int64_t{1} << 60) + 1, 0, 1, none}});
    std::mt19937 random(2024);  // random small quadratics, with the discriminant of either sign
    std::uniform_int_distribution<int64_t> linear(-9, 9), negative(-700, 0), positive(1, 200000);
    for (int i = 0; i < 14; ++i) {
      const int64_t b = linear(random), c = i % 2 == 0 ? negative(random) : positive(random);
      const int64_t delta = b * b - 16 * c, root = std::llround(std::sqrt(std::fabs(double(delta))));
      const bool zero = (delta >= 0 && root * root == delta) || (b % 2 == 0 && c % 2 == 0);  // factors, or even
      QTest::addRow("random 4k^2 + %lldk + %lld", (long long)b, (long long)c) << Constant{"", 4, b, c, zero ? 0.0 : reference};
    }
  }
  void hardyLittlewoodConstants() {
    QFETCH(Constant, row);
    const double a = row.a == 4 ? numlib::hardyLittlewoodConstant(row.b, row.c)
                                : numlib::hardyLittlewoodConstant(numlib::QuadraticPolynomial{row.a, row.b, row.c});
    if (std::isnan(row.expected)) {
      QVERIFY(std::isnan(a));
      return;
    }
    const double expected = row.expected < 0 ? referenceConstant(int64_t(row.a), row.b, row.c) : row.expected;
    const double tolerance = row.expected < 0 ? kReferenceTolerance : row.a == 4 ? 1e-6 : 1e-5;
    if (expected == 0) QCOMPARE(a, 0.0);
    QVERIFY2(std::fabs(a - expected) <= tolerance * expected, qPrintable(QString("%1 against %2").arg(a, 0, 'g', 17).arg(expected, 0, 'g', 17)));
  }

  // The values in a window against a plain walk: rising and falling branches, a value taken twice,
  // windows far out.
  void quadraticValues_data() {
    const uint64_t far = uint64_t{1} << 62;
    addRows<Values>({{"Euler's from 1", {1, 1, 41}, 1, 273529},
                     {"squares", {1, 0, 0}, 0, 100000},
                     {"falling then rising, values twice", {1, -100, 3000}, 400, 4000},
                     {"beyond the vertex only", {3, -7, 5}, 1000, 2000},
                     {"a window the values skip", {1000, 0, 1}, 1002, 3999},
                     {"falling far", {1, -2000000, 1000000000001}, 0, 5000000},
                     {"negative constant", {2, 3, -1000}, 0, 50000},
                     {"near 2^62", {4, -3, 7}, far, far + 273528},
                     {"ending at 2^64 - 1", {1, 1, 0}, kTop - 1000000000, kTop}});
  }
  void quadraticValues() {
    QFETCH(Values, row);
    QCOMPARE(numlib::valuesBetween(row.f, row.low, row.high), plainQuadraticValues(row.f.a, row.f.b, row.f.c, row.low, row.high));
  }

  // The primes that divide every value, against the values themselves; and the factors over the
  // integers, multiplied out again.
  void quadraticDivisorsAndFactors() {
    const numlib::QuadraticPolynomial quadratics[] = {{1, 1, 2}, {3, 3, 3}, {6, 0, 12}, {2, 2, 4}, {1, 1, 41},
                                                      {1000003, 2000006, 1000003}, {7, 7, 14}, {1, 3, 2},
                                                      {2, 5, 2}, {6, -5, 1}, {4, 0, 0}, {9, 12, 4}, {1, 0, -4}};
    for (const numlib::QuadraticPolynomial& f : quadratics) {
      std::vector<uint64_t> fixed;
      const numlib::Int128 common = std::gcd(std::gcd(static_cast<int64_t>(f.a), static_cast<int64_t>(f.b)), static_cast<int64_t>(f.c));
      for (uint64_t p = 2; p < 2000000; ++p) {
        if ((p > 200 && common % p != 0) || !isPrimeByTrialDivision(p)) continue;
        bool all = true;
        for (numlib::Int128 t = 0; t < numlib::Int128(std::min<uint64_t>(p, 200)) && all; ++t) all = (f.a * t * t + f.b * t + f.c) % p == 0;
        if (all) fixed.push_back(p);
      }
      QCOMPARE(numlib::fixedPrimeDivisors(f), fixed);
      const std::optional<numlib::LinearFactors> factors = numlib::linearFactors(f);
      const numlib::Int128 d = f.discriminant();
      const auto root = static_cast<numlib::Int128>(std::llround(std::sqrt(std::fabs(static_cast<double>(d)))));
      QCOMPARE(factors.has_value(), d >= 0 && root * root == d);
      if (!factors) continue;
      const numlib::LinearFactors& x = *factors;
      QVERIFY(x.p1 >= 1 && x.p2 >= 1);
      QVERIFY(x.constant * x.p1 * x.p2 == f.a && x.constant * (x.p1 * x.q2 + x.q1 * x.p2) == f.b && x.constant * x.q1 * x.q2 == f.c);
    }
  }

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
                             -(numlib::Int128{1} << 77)})
      QCOMPARE(numlib::classNumber(d), std::nullopt);
  }

  // Far class numbers known from PARI/GP (Buchmann's method and Shanks's agree on each).
  void knownClassNumbers_data() {
    addRows<KnownClassNumber>({
        {"-16 (10^18 + 63)", -16 * numlib::Int128{1000000000000000063}, 516653100},
        {"near -2^68", numlib::Int128{4} - 16 * ((numlib::Int128{1} << 64) - 833821), 9405147732},
        {"-4 * 3 * 5 * ... * 43, 2-rank 12", -26165522663340060, 57925632},
        {"-4 * 3 * 5 * ... * 47, 2-rank 13", -1229779565176982820, 364101632},
    });
  }
  void knownClassNumbers() {
    QFETCH(KnownClassNumber, row);
    QCOMPARE(numlib::classNumber(row.d), std::optional<int64_t>(row.h));
  }

  // Whole windows anywhere in the 64-bit range against the reference, number by number. Windows
  // from a prime to a prime, which the next prime down and up must reach.
  void windowsAgreeWithReference_data() {
    addRows<Window>({
        // Read from the blocks: a million numbers from 0 and up to the blocks' top.
        {"from 0", 0, 1000000},
        {"from 2^24, whose blocks take the places of those from 0", uint64_t{1} << 24, 1000000},
        {"up to the blocks' top", numlib::kLargestNumber - 999999, 1000000},
        {"from the prime 2 to the prime 97", 2, 96},
        {"up to the prime 2147483629", 2147483629 - 999, 1000},
        {"from the prime 4294967311 to the prime 4294967357", 4294967311, 47},
        // Sieved: a window this low and this long.
        {"across the blocks' top", numlib::kLargestNumber - 2500, 5000},
        // Tested, in chunks of 2^18 numbers: a short window even this low.
        {"around 2^32", (uint64_t{1} << 32) - 1000, 2000},
        {"two chunks at 2^50", (uint64_t{1} << 50) - 100, (uint64_t{1} << 18) + 300},
        {"around 2^63", (uint64_t{1} << 63) - 1000, 2000},
        // From a multiple of 2 * 3 * 5 * 7 * 11 * 13 = 30030, where the small primes' pattern starts over.
        {"from 30030 * 33300000000000", 30030 * uint64_t{33300000000000}, 2000},
        {"ending at 2^64 - 1", kTop - 1999, 2000},
    });
    for (const Window& w : randomWindows(4, 1000)) QTest::newRow(w.name) << w;
  }
  void windowsAgreeWithReference() {
    QFETCH(Window, row);
    agreesWithReference(row.low, row.count);
  }

  // A window longer than a segment (2^26 numbers) is read right where its segments meet; here both
  // are sieved.
  void segmentsMeet() {
    const uint64_t low = (uint64_t{1} << 33) + 1, count = (uint64_t{1} << 26) + (uint64_t{1} << 20);
    std::vector<uint64_t> bits((count + 63) / 64);
    numlib::primeBits(low, count, bits.data());
    bitsAgreeWithReference(bits, low, (uint64_t{1} << 26) - 1000, (uint64_t{1} << 26) + 1000);
  }

  // Many windows asked at once, as a tile asks its runs: short ones of every length around a word
  // far out, whose tests run together, beside ones in the blocks, across their top and at 2^64 - 1.
  void manyWindowsAtOnceAgreeWithReference() {
    std::vector<std::pair<uint64_t, uint64_t>> places = {
        {1, 100}, {numlib::kLargestNumber - 40, 90}, {kTop - 199, 200}, {(uint64_t{1} << 40) + 3, 0}};
    for (uint64_t length = 1; length <= 130; length += 3) places.push_back({1000000000000000000u + 977 * length, length});
    std::vector<std::vector<uint64_t>> bits;
    std::vector<numlib::BitWindow> windows;
    for (const auto& [low, count] : places) bits.emplace_back((count + 63) / 64 + 1, ~uint64_t{0});
    for (size_t k = 0; k < places.size(); ++k) windows.push_back({places[k].first, places[k].second, bits[k].data()});
    numlib::primeBitsOfWindows(windows);
    for (size_t k = 0; k < places.size(); ++k) {
      bitsAgreeWithReference(bits[k], places[k].first, 0, places[k].second);
      QCOMPARE(bits[k].back(), ~uint64_t{0});  // the word past the window's is not touched
    }
  }

  // Runs whose starts follow quadratic progressions are placed from the runs before them: with the
  // places carried wrong, primes would be crossed off.
  void runsInProgressionsAgreeWithReference_data() {
    addRows<Progression>({
        {"one side, each ring's step 8 more", 1000000000000000000u, 8000001, 8, 128, 1, 300},
        {"two sides taking turns", 1000000000000000000u, 7999999, 8, 128, 2, 200},
        {"the largest curvature carried", 3 * (uint64_t{1} << 60), 1000, 32, 97, 1, 200},
        {"the most negative curvature carried", 3 * (uint64_t{1} << 60), 100000, -32, 97, 1, 200},
        {"a curvature too large to carry", 3 * (uint64_t{1} << 60), 1000, 40, 97, 1, 200},
        {"a curvature too negative to carry", 3 * (uint64_t{1} << 60), 100000, -40, 97, 1, 200},
        {"falling runs from one whose last number is 2^64 - 1", kTop - 100130, -50000, 8, 128, 2, 30},
        {"long runs, which small primes cross more than once", 1000000000000000000u, 100000, 8, 3000, 1, 12},
        {"runs longer than the deepest primes", 1000000000000000000u, 100000, 8, 10000, 1, 4},
        {"runs growing past 1024 numbers, sieved deeper", 1000000000000000000u, 100000, 8, 1000, 1, 12, 5},
        {"one number each", 1000000000000000001u, 2, 0, 1, 1, 3000},
    });
  }
  void runsInProgressionsAgreeWithReference() {
    QFETCH(Progression, row);
    std::vector<numlib::BitWindow> windows;
    std::vector<std::vector<uint64_t>> bits;
    for (int64_t k = 0; k < row.rings; ++k) {
      for (int s = 0; s < row.sides; ++s) {
        const int64_t along = k * row.step + row.curvature * k * (k - 1) / 2;
        const uint64_t count = row.count - 13 * static_cast<uint64_t>(s) + row.grow * static_cast<uint64_t>(k);
        windows.push_back({row.low + static_cast<uint64_t>(s) * 100003 + static_cast<uint64_t>(along), count, nullptr});
        bits.emplace_back((count + 63) / 64);
      }
    }
    for (size_t k = 0; k < windows.size(); ++k) windows[k].bits = bits[k].data();
    numlib::primeBitsOfWindows(windows);
    for (size_t k = 0; k < windows.size(); ++k) bitsAgreeWithReference(bits[k], windows[k].low, 0, windows[k].count);
    // The sieve alone crosses off exactly the odd multiples of its primes, carried or placed anew.
    numlib::detail::ProgressionSieve sieve;
    const auto crossed = [&](uint64_t n, uint64_t largest) {
      for (uint64_t d = 17; d <= largest; d += 2) {
        if (n % d == 0 && referenceIsPrime(d)) return n % 2 == 1;
      }
      return false;
    };
    for (const numlib::BitWindow& window : windows) {
      std::vector<uint64_t> left((window.count + 63) / 64, ~uint64_t{0});
      const uint64_t largest = sieve.crossOff(window.low, window.count, left.data());
      QCOMPARE(largest, uint64_t{numlib::detail::ProgressionSieve::largestPrimeFor(window.count)});
      uint64_t next = largest + 2;  // past every prime up to the window's length, and to 1024
      while (!referenceIsPrime(next)) next += 2;
      QVERIFY(next > std::min<uint64_t>(std::max<uint64_t>(window.count, 1024), 8000));
      for (uint64_t i = 0; i < window.count; ++i) {
        if (((left[i / 64] >> (i % 64)) & 1) == crossed(window.low + i, largest)) QFAIL(qPrintable(QString::number(window.low + i)));
      }
    }
  }

  // The tests' way over three chunks below 2^34, which the small primes decide alone: each prime's
  // place, carried from chunk to chunk, is all that clears its multiples there.
  void chunksTheSmallPrimesDecide() {
    const uint64_t low = (uint64_t{1} << 33) - 100, count = (uint64_t{1} << 19) + 300;
    std::vector<uint64_t> bits((count + 63) / 64);
    numlib::detail::primeBitsByTests(low, count, bits.data());
    bitsAgreeWithReference(bits, low, 0, count);
  }

  // Both ways of a window's primality where the sieve would look past the last prime below 2^64.
  void bothWaysAgreeAtTheTop() {
    for (auto way : {numlib::detail::primeBitsBySieve, numlib::detail::primeBitsByTests}) {
      for (uint64_t low : {kTop - 199, kTop - 57}) {  // with and without 18446744073709551557
        std::vector<uint64_t> bits((kTop - low + 64) / 64);
        way(low, kTop - low + 1, bits.data());
        bitsAgreeWithReference(bits, low, 0, kTop - low + 1);
      }
    }
  }

  // A long window split among workers gives the bits and factor counts of one thread; where its
  // pieces meet near 2^64, the reference agrees too. A tested window longer than two of its shared
  // pieces (2^22 numbers) is split by them, not by the workers' even shares; its factor counts
  // would take seconds, and are left to the shorter rows.
  void workersSplitWindowsAsOneThread_data() {
    addRows<Window>({
        {"in the blocks from 1", 1, (uint64_t{1} << 22) + 1000},
        {"across the blocks' top", numlib::kLargestNumber - (uint64_t{1} << 20), uint64_t{1} << 21},
        {"sieved at 2^36", (uint64_t{1} << 36) - 5, (uint64_t{1} << 17) + 7},
        {"tested, ending at 2^64 - 1", kTop - (uint64_t{1} << 17) - 99, (uint64_t{1} << 17) + 100},
        {"tested in shared pieces at 10^18", 1000000000000000003, (uint64_t{1} << 23) + 4099},
    });
  }
  void workersSplitWindowsAsOneThread() {
    QFETCH(Window, row);
    std::vector<uint64_t> alone((row.count + 63) / 64), shared(alone.size());
    numlib::primeBits(row.low, row.count, alone.data(), 1);
    numlib::primeBits(row.low, row.count, shared.data(), 2);
    QVERIFY(shared == alone);
    if (row.low > numlib::kLargestNumber) {
      for (uint64_t meet : {row.count / 2, uint64_t{1} << 22}) {
        if (meet + 500 <= row.count) bitsAgreeWithReference(shared, row.low, meet - 500, meet + 500);
      }
    }
    if (row.count > (uint64_t{1} << 22)) return;
    std::vector<uint8_t> countsAlone(row.count), countsShared(row.count);
    numlib::factorCounts(row.low, row.count, countsAlone.data(), 1);
    numlib::factorCounts(row.low, row.count, countsShared.data(), 3);
    QVERIFY(countsShared == countsAlone);
  }

  // Threads that ask at once for the blocks every thread shares, each sieved by the first to ask,
  // and for their own blocks beyond, all get the reference's bits.
  void threadsAskingAtOnceGetTheSameBits() {
    constexpr uint64_t low = (uint64_t{1} << 24) - (uint64_t{1} << 19) - 77, count = uint64_t{1} << 20;
    std::vector<std::vector<uint64_t>> bits(4, std::vector<uint64_t>((count + 63) / 64));
    std::latch ready(static_cast<ptrdiff_t>(bits.size()));
    std::vector<std::thread> threads;
    for (std::vector<uint64_t>& each : bits) {
      threads.emplace_back([&ready, &each] {
        ready.arrive_and_wait();
        numlib::primeBits(low, count, each.data(), 1);
      });
    }
    for (std::thread& thread : threads) thread.join();
    bitsAgreeWithReference(bits[0], low, 0, count);
    for (const std::vector<uint64_t>& each : bits) QVERIFY(each == bits[0]);
  }

  // Past the sieved factor tables: what is left after the primes up to the cube root has at most
  // two prime factors, and a square or a product of two primes just above it must count 2.
  void factorCountsAgreeWithFactorisations_data() {
    addRows<Window>({
        {"from 1 across a block", 1, 70000},
        {"across the blocks' top", numlib::kLargestNumber - 300, 600},
        {"across a chunk at 2^40", (uint64_t{1} << 40) - 1000, (uint64_t{1} << 15) + 2000},
        {"around 2642257^2, the least square left", 6981522054049 - 300, 600},
        {"around 2^17 * 2642257 * 2642287", (uint64_t{1} << 17) * 2642257 * 2642287 - 300, 600},
        {"around 4294967291^2", 18446744030759878681u - 300, 600},
        {"around 4294967291 * 4294967279", 18446743979220271189u - 300, 600},
        {"ending at 2^64 - 1", kTop - 599, 600},
    });
    for (const Window& w : randomWindows(3, 400)) QTest::newRow(w.name) << w;
  }
  void factorCountsAgreeWithFactorisations() {
    QFETCH(Window, row);
    factorCountsAgree(row.low, row.count);
  }

  // Primes and composites that tests of primality stumble on, through every test and count of
  // factors, alone and among others (four at a time, each lane in its place): Carmichael numbers (the
  // least with 6 ... 12 prime factors) and strong pseudoprimes to the first primes as bases, which
  // the Baillie-PSW test's Lucas part must turn away (the Fermat condition is checked, so each such
  // row is as hard as its name says); strong Lucas pseudoprimes for Selfridge's parameters, which the
  // base-2 test turns away; squares, turned away before a D is sought (3511^2 passes the base-2
  // test); primes at both ends. The least of each kind, below 2^21 (825265, 1093^2, ...), the tests
  // of every number up to 2^21 and of the factor counts from 1 meet.
  void hardNumbers_data() {
    addRows<Known>({
        {"Carmichael 321197185", 321197185, 6, true}, {"Carmichael 5394826801", 5394826801, 7, true},
        {"Carmichael 232250619601", 232250619601, 8, true},
        {"Carmichael 9746347772161", 9746347772161, 9, true},
        {"Carmichael 1436697831295441", 1436697831295441, 10, true},
        {"Carmichael 60977817398996785", 60977817398996785, 11, true},
        {"Carmichael 7156857700403137441", 7156857700403137441, 12, true},
        {"Carmichael 1432621 * 2865241 * 4297861", 17641878857973672121u, 3, true},
        {"Carmichael 1417561 * 2835121 * 4252681", 17091341903103690961u, 3, true},
        {"to 2 ... 7", 3215031751, 3, true},
        {"to 2 ... 11", 2152302898747, 3, true}, {"to 2 ... 13", 3474749660383, 3, true},
        {"to 2 ... 17", 341550071728321, 2, true}, {"to 2 ... 23", 3825123056546413051, 3, true},
        {"1000001137 * 2000002273", 2000004547002584401, 2, true},
        {"3037000429 * 6074000857", 18446743208455367653u, 2, true}, {"3511^2", 12327121, 2, true},
        {"4294967291^2", 18446744030759878681u, 2, false}, {"4294967279^2", 18446743927680663841u, 2, false},
        {"65537^2", 4295098369, 2, false}, {"2^63 + 1", (uint64_t{1} << 63) + 1, 7, false},
        {"3 * 5 * 7 * 11 * 13 * 17 * 19 * 23", 111546435, 8, false}, {"largest prime below 2^32", 4294967291, 1, false},
        {"least prime above 2^32", 4294967311, 1, false}, {"largest prime below 2^63", 9223372036854775783u, 1, false},
        {"2^63", uint64_t{1} << 63, 63, false}, {"3^40", 12157665459056928801u, 40, false},
        {"a prime near 10^18", 1000000000000000003, 1, false},
        {"largest prime 3 mod 4 below 2^64", 18446744073709551427u, 1, false},
        {"largest prime below 2^64", 18446744073709551557u, 1, false},
        {"2^64 - 1 = 3 * 5 * 17 * 257 * 641 * 65537 * 6700417", kTop, 7, false},
    });
  }
  void hardNumbers() {
    QFETCH(Known, row);
    const bool prime = row.omega == 1;
    QCOMPARE(referenceIsPrime(row.n), prime);  // the reference itself, on known values
    if (row.fermatPseudoprimeTo2) QVERIFY(powerMod(2, row.n - 1, row.n) == 1);
    QCOMPARE(numlib::isPrime(row.n), prime);
    QCOMPARE(numlib::detail::isPrimeByBailliePsw(row.n), prime);
    QCOMPARE(checkedFactorCount(row.n), row.omega);
    QCOMPARE(numlib::factorCount(row.n), row.omega);
    uint8_t count = 0;
    numlib::factorCounts(row.n, 1, &count);
    QCOMPARE(int(count), row.omega);
    // Among others, in every kind of lane of a block of groups: a prime, and 2047, which passes the
    // base-2 test and no Lucas test.
    std::vector<uint64_t> batch(40);
    for (size_t i = 0; i < batch.size(); ++i) batch[i] = i % 3 == 0 ? row.n : i % 3 == 1 ? 1000000000000000003 : 2047;
    for (auto [way, test] : batchTests()) {
      std::vector<uint8_t> inBatch(batch.size());
      test(batch, inBatch);
      for (size_t i = 0; i < batch.size(); ++i) {
        if (bool(inBatch[i]) != (batch[i] == row.n ? prime : referenceIsPrime(batch[i]))) QFAIL(way);
      }
    }
  }

  // Every number up to 2^21, where all the small pseudoprimes of either kind lie, the last below
  // 2^64, where a product's reduction passes 64 bits, those on either side of 2^60, 2^61 and 2^62,
  // below which the tests let their values grow past the number, each bound a step less, and random
  // 64-bit numbers, odd and even, against the reference, one by one and in batches.
  void bailliePswAgreesEverywhere() {
    constexpr uint64_t kSmall = uint64_t{1} << 21;
    std::vector<uint64_t> numbers(kSmall);
    std::iota(numbers.begin(), numbers.end(), 0);
    for (uint64_t n = kTop - 20000; n != kTop; ++n) numbers.push_back(n);
    for (int bound : {60, 61, 62}) {
      for (uint64_t n = (uint64_t{1} << bound) - 20000; n != (uint64_t{1} << bound) + 2000; ++n) numbers.push_back(n);
    }
    std::mt19937_64 random(99);
    for (int i = 0; i < 20000; ++i) numbers.push_back(random() >> (i % 40));
    std::vector<uint8_t> expected(numbers.size());
    for (size_t i = 0; i < numbers.size(); ++i) expected[i] = referenceIsPrime(numbers[i]);
    for (size_t i = 0; i < numbers.size(); ++i) {
      if (numlib::detail::isPrimeByBailliePsw(numbers[i]) != bool(expected[i])) QFAIL(qPrintable(QString::number(numbers[i])));
    }
    for (auto [way, test] : batchTests()) {
      std::vector<uint8_t> prime(numbers.size());
      test(numbers, prime);
      for (size_t i = 0; i < numbers.size(); ++i) {
        if (prime[i] != expected[i]) QFAIL(qPrintable(QString("%1: %2").arg(way).arg(numbers[i])));
      }
    }
  }

  // The Lucas test's P' for n = the product of `primes` (distinct, odd), against Selfridge's rule
  // written out: (D/n) as the product of Euler's criterion D^((p-1)/2) mod p over its primes; none
  // when a 0 comes first, else the first D of 5, -7, 9, ... with (D/n) = -1 and (P' + 2) Q = 1 mod n,
  // and times a unit, the same P' times it. `found` gets the D.
  static bool selfridgeAgrees(const std::vector<uint64_t>& primes, int64_t* found = nullptr) {
    uint64_t n = 1;
    for (uint64_t p : primes) n *= p;
    int64_t d = 5;
    int symbol = 1;
    for (;; d = d > 0 ? -(d + 2) : -d + 2) {
      symbol = 1;
      for (uint64_t p : primes) {
        const uint64_t euler = powerMod(d > 0 ? uint64_t(d) % p : p - uint64_t(-d) % p, (p - 1) / 2, p);
        symbol *= euler == 0 ? 0 : euler == 1 ? 1 : -1;
      }
      if (symbol != 1) break;
    }
    if (found) *found = d;
    const auto p = numlib::detail::lucasParameterAfterBase2(n);
    const uint64_t unit = (0 - n) % n;  // 2^64 mod n
    const auto pTimesUnit = numlib::detail::lucasParameterAfterBase2(n, unit);
    if (symbol == 0) return !p.found && !pTimesUnit.found;
    if (!p.found || !pTimesUnit.found || p.value >= n) return false;
    const int64_t q = (1 - d) / 4;
    const uint64_t qModN = q > 0 ? uint64_t(q) : n - uint64_t(-q);
    return (Wide{p.value} + 2) % n * qModN % n == 1 && Wide{p.value} * unit % n == pTimesUnit.value;
  }

  // Selfridge's parameters for primes from 10^18 on, until four whose D lies past |D| = 31, for
  // primes below 2^64, and for products of a small and a large prime, where a D that shares the small
  // one ends the search; none for squares, whose symbols are never -1.
  void lucasParameterFollowsSelfridge() {
    int pastThe31 = 0;
    for (uint64_t n = 1000000000000000001; pastThe31 < 4 && n < 1000000000040000000; n += 2) {
      int64_t d = 0;
      if (!referenceIsPrime(n)) continue;
      if (!selfridgeAgrees({n}, &d)) QFAIL(qPrintable(QString::number(n)));
      pastThe31 += std::abs(d) > 31;
    }
    QCOMPARE(pastThe31, 4);
    for (uint64_t n = kTop - 2; n > kTop - 3000; n -= 2) {
      if (referenceIsPrime(n) && !selfridgeAgrees({n})) QFAIL(qPrintable(QString::number(n)));
    }
    for (uint64_t small : {3, 5, 7, 11, 13, 37, 41, 43, 97, 101, 65537}) {
      for (uint64_t large = 10000000000001; large < 10000000001000; large += 2) {
        if (referenceIsPrime(large) && !selfridgeAgrees({small, large})) QFAIL(qPrintable(QString("%1 * %2").arg(small).arg(large)));
      }
    }
    for (uint64_t n : {uint64_t{12327121}, uint64_t{4295098369}, uint64_t{18446744030759878681u}}) {
      QVERIFY2(!numlib::detail::lucasParameterAfterBase2(n).found, qPrintable(QString::number(n)));
    }
  }

  // The next prime up and down with the search open to the far end of the range; the windows above
  // meet the ends themselves (nothing past 2^64 - 59, nothing below 2).
  void nextPrimesAcrossTheWholeRange() {
    QCOMPARE(numlib::primeBefore(kTop, 0), std::optional<uint64_t>(18446744073709551557u));
    QCOMPARE(numlib::primeAfter(numlib::kLargestNumber, kTop), std::optional<uint64_t>(2147483647));
  }

  // Roots, squares and triangular numbers where a double rounds: next to (2^32 - 1)^2, at the top of
  // the range, and T(k) = k(k + 1) / 2 up to the largest below 2^64, T(6074000999). (Every number
  // below 3000 the rules' square(n) and triangular(n) meet, against a plain root.)
  void rootsSquaresAndTriangularNumbers() {
    const std::pair<uint64_t, uint64_t> roots[] = {{0, 0}, {1, 1}, {2, 1}, {3, 1}, {4, 2}, {8, 2}, {9, 3}, {kTop, 4294967295}};
    for (auto [n, root] : roots) QCOMPARE(numlib::isqrt(n), root);
    for (uint64_t k = 4294967295; k > 4294967295 - 2000; --k) {
      QVERIFY(numlib::isqrt(k * k) == k && numlib::isqrt(k * k - 1) == k - 1 && numlib::isqrt(k * k + 2 * k) == k);
      QVERIFY(numlib::isSquare(k * k) && !numlib::isSquare(k * k - 1) && !numlib::isSquare(k * k + 1));
    }
    QVERIFY(numlib::isTriangular(9223372034707292160u) && !numlib::isTriangular(9223372034707292159u) &&
            !numlib::isTriangular(9223372034707292161u));
    for (uint64_t k = 6074000999; k > 6074000999 - 2000; --k) {
      const auto t = static_cast<uint64_t>(Wide{k} * (k + 1) / 2);
      QVERIFY(numlib::isTriangular(t) && !numlib::isTriangular(t - 1) && !numlib::isTriangular(t + 1));
    }
    QVERIFY(!numlib::isTriangular(kTop) && numlib::isTriangular(0) && numlib::isTriangular(1) && !numlib::isTriangular(2));
    std::mt19937_64 random(7);
    for (int i = 0; i < 100000; ++i) {  // anywhere: r^2 <= n < (r + 1)^2
      const uint64_t n = random(), r = numlib::isqrt(n);
      QVERIFY(Wide{r} * r <= n && Wide{r + 1} * (r + 1) > n);
    }
  }
};

QTEST_APPLESS_MAIN(TestNumlib)
#include "test_numlib.moc"
