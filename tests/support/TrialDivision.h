#pragma once
// Primality and the count of prime factors by trial division: slow, and plainly right; the
// reference the tests and the fuzzers count primes and factors with.

template <class Integer>
bool isPrimeByTrialDivision(Integer n) {
  if (n < 2) return false;
  for (Integer d = 2; d * d <= n; ++d)
    if (n % d == 0) return false;
  return true;
}

// The prime factors of n by trial division: with multiplicity (Omega), or each once (omega); 0 for
// n <= 1.
template <class Integer>
int factorCountByTrialDivision(Integer n, bool distinct = false) {
  int count = 0;
  for (Integer d = 2; d * d <= n; ++d) {
    if (n % d != 0) continue;
    for (bool first = true; n % d == 0; n /= d, first = false) count += first || !distinct;
  }
  return count + (n > 1);
}
