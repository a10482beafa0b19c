#pragma once
// Primality by trial division: slow, and plainly right; the reference the tests count primes with.

template <class Integer>
bool isPrimeByTrialDivision(Integer n) {
  if (n < 2) return false;
  for (Integer d = 2; d * d <= n; ++d)
    if (n % d == 0) return false;
  return true;
}
