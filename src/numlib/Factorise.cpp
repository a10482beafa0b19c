#include "Factorise.h"

#include <algorithm>
#include <numeric>
#include <optional>

#include "BailliePsw.h"
#include "Montgomery.h"
#include "SmallPrimes.h"

namespace numlib::detail {

namespace {

constexpr uint32_t kTrialLimit = 1000;
// Products of this many differences share one gcd.
constexpr uint64_t kDifferencesPerGcd = 128;

uint64_t distance(uint64_t x, uint64_t y) { return x > y ? x - y : y - x; }

// A proper divisor of the odd composite n from the walk x -> x^2 + c, or none when the walk meets
// itself modulo every factor at once (another c then tries again). Brent's form: the walk is
// compared with its value at the last power of two, and the differences are multiplied up between
// gcds; if a batch overshoots to n, its steps are gone through again one by one.
std::optional<uint64_t> rhoDivisor(const Montgomery& form, uint64_t c) {
  const uint64_t n = form.modulus();
  const auto step = [&](uint64_t x) { return form.add(form.multiply(x, x), c); };
  uint64_t y = 2, x = y, saved = y, product = form.one(), g = 1;
  for (uint64_t length = 1; g == 1; length *= 2) {
    x = y;
    for (uint64_t i = 0; i < length; ++i) y = step(y);
    for (uint64_t done = 0; done < length && g == 1; done += kDifferencesPerGcd) {
      saved = y;
      for (uint64_t i = 0; i < std::min(kDifferencesPerGcd, length - done); ++i) {
        y = step(y);
        product = form.multiply(product, distance(x, y));
      }
      g = std::gcd(product, n);
    }
  }
  if (g == n) {  // the batch overshot: its steps once more, one gcd each
    do {
      saved = step(saved);
      g = std::gcd(distance(x, saved), n);
    } while (g == 1);
  }
  if (g == n) return std::nullopt;
  return g;
}

// Appends the prime factors of n > 1, which has no prime factor up to the trial limit.
void appendPrimeFactors(uint64_t n, std::vector<uint64_t>& primes) {
  if (isPrimeByBailliePsw(n)) {
    primes.push_back(n);
    return;
  }
  const Montgomery form(n);
  std::optional<uint64_t> divisor;
  for (uint64_t c = 1; !divisor; ++c) divisor = rhoDivisor(form, c);
  appendPrimeFactors(*divisor, primes);
  appendPrimeFactors(n / *divisor, primes);
}

}  // namespace

std::vector<PrimePower> factoriseAnywhere(uint64_t n) {
  if (n <= 1) return {};
  std::vector<uint64_t> primes;
  for (uint32_t p : primesUpTo(kTrialLimit)) {
    for (; n % p == 0; n /= p) primes.push_back(p);
  }
  if (n > 1) appendPrimeFactors(n, primes);
  std::sort(primes.begin(), primes.end());
  std::vector<PrimePower> powers;
  for (uint64_t p : primes) {
    if (!powers.empty() && powers.back().prime == p) {
      ++powers.back().exponent;
    } else {
      powers.push_back({p, 1});
    }
  }
  return powers;
}

}  // namespace numlib::detail
