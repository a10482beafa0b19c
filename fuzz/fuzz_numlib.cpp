// is_prime and factor against plain trial division, on numbers the fuzzer chooses; from the 14th
// byte on, the C++ face on 64-bit numbers against the plain strong test: isPrime, the
// factorisation (ascending primes whose powers multiply back to n), the factor counts and a small
// window of primality bits.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "numlib.h"
#include "numlib.hpp"
#include "PlainMillerRabin.h"
#include "TrialDivision.h"

namespace {

// The C functions' primes: none past their largest number, 2^31 - 2.
bool isPrimeForC(int32_t n) { return n <= 2147483646 && isPrimeByTrialDivision(int64_t{n}); }

void check(bool condition) {
  if (!condition) std::abort();
}

void checkFactor(int32_t n) {
  int32_t a[NUMLIB_FACTOR_ARRAY_SIZE];
  int32_t b[NUMLIB_FACTOR_ARRAY_SIZE];
  factor(n, n, a, b);
  if (n <= 1) {
    check(a[0] == 0 && b[0] == 0);
    return;
  }
  // The distinct primes ascend, are prime, and their powers multiply back to n.
  int64_t product = 1;
  int omega = 0;
  check(b[0] >= 1 && b[0] <= 10);
  for (int j = 1; j <= b[0]; ++j) {
    check(isPrimeByTrialDivision(int64_t{a[j]}));
    if (j > 1) check(a[j] > a[j - 1]);
    check(b[j] >= 1);
    for (int e = 0; e < b[j]; ++e) product *= a[j];
    omega += b[j];
  }
  check(product == n);
  check(a[0] == omega);
}

void checkWide(uint64_t n, uint64_t windowCount) {
  check(numlib::isPrime(n) == referenceIsPrime(n));
  Wide product = 1;
  int omega = 0;
  uint64_t previous = 1;
  for (const auto& [p, e] : numlib::factorise(n)) {
    check(p > previous && e >= 1 && referenceIsPrime(p));
    for (int i = 0; i < e; ++i) product *= p;
    omega += e;
    previous = p;
  }
  check(product == (n == 0 ? 1 : n));
  check(numlib::factorCount(n) == omega);
  uint8_t count = 0;
  numlib::factorCounts(n, 1, &count);
  check(count == omega);
  // A window from n on, cut at 2^64 - 1.
  const uint64_t last = n + (windowCount - 1) < n ? UINT64_MAX : n + (windowCount - 1);
  std::vector<uint64_t> bits((last - n + 64) / 64);
  numlib::primeBits(n, last - n + 1, bits.data());
  for (uint64_t i = 0; i <= last - n; ++i) check(((bits[i / 64] >> (i % 64)) & 1) == referenceIsPrime(n + i));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  int32_t n = 0;
  std::memcpy(&n, data, sizeof n);
  if (size >= 5 && data[4] == 1) calculate_primes(n);
  check(is_prime(n, n) == (isPrimeForC(n) ? 1 : 0));
  checkFactor(n);
  if (size >= 14) {
    uint64_t wide = 0;
    std::memcpy(&wide, data + 5, sizeof wide);
    checkWide(wide, data[13] % 130 + 1);
  }
  return 0;
}
