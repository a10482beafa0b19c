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

// Omega(n): the prime factors of n counted with multiplicity, 0 for n <= 1.
template <class Integer>
int factorCountByTrialDivision(Integer n) {
  int count = 0;
  for (Integer d = 2; d * d <= n; ++d)
    for (; n % d == 0; n /= d) ++count;
  return count + (n > 1 ? 1 : 0);
}
