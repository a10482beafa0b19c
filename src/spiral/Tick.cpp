#include "Tick.h"

#include "numlib.hpp"

namespace spiral {

std::optional<int64_t> nextStart(const TickRule& rule, int64_t current) {
  const bool inward = rule.direction == Direction::In;
  const int64_t last = inward ? largestStart(rule.numberClass, rule.count) : 1;
  const int64_t step = inward ? 1 : -1;
  if (inward ? current >= last : current <= last) return std::nullopt;
  if (!rule.primeSteps) return current + step;
  // The end itself is never taken, prime or not.
  return inward ? numlib::primeAfter(current, last - 1) : numlib::primeBefore(current, last + 1);
}

}  // namespace spiral
