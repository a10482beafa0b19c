#include "SmallPrimes.h"

#include <algorithm>
#include <vector>

#include <primesieve.hpp>

namespace numlib::detail {

std::span<const uint32_t> primesUpTo(uint32_t limit) {
  thread_local std::vector<uint32_t> primes;
  thread_local uint32_t coveredUpTo = 0;
  if (limit > coveredUpTo) {
    primes.clear();
    primesieve::generate_primes(limit, &primes);
    coveredUpTo = limit;
  }
  const auto end = std::upper_bound(primes.begin(), primes.end(), limit);
  return {primes.data(), static_cast<size_t>(end - primes.begin())};
}

}  // namespace numlib::detail
