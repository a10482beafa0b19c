// is_prime and factor against plain trial division, on numbers the fuzzer chooses.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "numlib.h"

namespace {

bool isPrimeByTrialDivision(int64_t n) {
  if (n < 2 || n > 2147483646) return false;
  for (int64_t p = 2; p * p <= n; ++p) {
    if (n % p == 0) return false;
  }
  return true;
}

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
    check(isPrimeByTrialDivision(a[j]) || a[j] == 2147483647);
    if (j > 1) check(a[j] > a[j - 1]);
    check(b[j] >= 1);
    for (int e = 0; e < b[j]; ++e) product *= a[j];
    omega += b[j];
  }
  check(product == n);
  check(a[0] == omega);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  int32_t n = 0;
  std::memcpy(&n, data, sizeof n);
  if (size >= 5 && data[4] == 1) calculate_primes(n);
  check(is_prime(n, n) == (isPrimeByTrialDivision(n) ? 1 : 0));
  checkFactor(n);
  return 0;
}
