#include "Tick.h"

#include "numlib.h"

namespace spiral {

std::optional<int64_t> nextStart(const TickRule& rule, int64_t current) {
  const bool inward = rule.direction == Direction::In;
  const int64_t last = inward ? largestStart(rule.numberClass, rule.count) : 1;
  const int64_t step = inward ? 1 : -1;
  if (inward ? current >= last : current <= last) return std::nullopt;
  if (!rule.primeSteps) return current + step;
  for (int64_t candidate = current + step; candidate != last; candidate += step) {
    const auto n = static_cast<int32_t>(candidate);
    if (is_prime(n, n) == 1) return candidate;
  }
  return std::nullopt;
}

}  // namespace spiral
