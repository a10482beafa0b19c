#pragma once
// The number service: primality and factorisation of 32-bit numbers. These are its C functions;
// numlib.hpp is its C++ face.
//
// Every function is meant for one thread (the user-interface thread); the service keeps a small
// cache of sieved blocks between calls and is not safe to call from several threads at once.

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// The largest number the service answers for: 2^31 - 2.
#define NUMLIB_LARGEST_NUMBER 2147483646

// The most distinct prime factors a number below 2^31 can have is 9, so arrays of
// NUMLIB_FACTOR_ARRAY_SIZE elements always suffice for factor().
#define NUMLIB_FACTOR_ARRAY_SIZE 32

// Prepares the service for every number up to `limit` (at most 2147483646): builds the primes up to
// the square root of the limit. Cheap; larger numbers are answered from blocks sieved on demand.
void calculate_primes(int32_t limit);

// 1 exactly when n is a prime in 2 ... 2147483646, 0 for every other value (0, 1 and negatives
// included). `n2` repeats n and is ignored. Correct before calculate_primes() was ever called.
int16_t is_prime(int32_t n, int32_t n2);

// Factorises n. A[0] = the number of prime factors counted with multiplicity (0 for n <= 1),
// A[1..k] = the distinct prime factors in ascending order, B[0] = k, B[1..k] = their exponents.
// Both arrays must hold NUMLIB_FACTOR_ARRAY_SIZE elements. `n2` repeats n and is ignored.
void factor(int32_t n, int32_t n2, int32_t* A, int32_t* B);

#ifdef __cplusplus
}
#endif
