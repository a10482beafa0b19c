#include "SmallPrimes.h"

#include <algorithm>
#include <deque>
#include <mutex>
#include <vector>

#include <primesieve.hpp>

namespace numlib::detail {

// A larger bound adds a new list and keeps the old ones: a span handed out stays valid while
// another worker asks for more. The lists grow a few times in a process, so little is kept twice.
std::span<const uint32_t> primesUpTo(uint32_t limit) {
  static std::mutex guard;
  static std::deque<std::vector<uint32_t>> lists;
  static uint32_t coveredUpTo = 0;
  const std::lock_guard lock(guard);
  if (lists.empty() || limit > coveredUpTo) {
    primesieve::generate_primes(limit, &lists.emplace_back());
    coveredUpTo = limit;
  }
  const std::vector<uint32_t>& primes = lists.back();
  const auto end = std::upper_bound(primes.begin(), primes.end(), limit);
  return {primes.data(), static_cast<size_t>(end - primes.begin())};
}

}  // namespace numlib::detail
