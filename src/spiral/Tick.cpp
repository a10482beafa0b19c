#include "Tick.h"

#include "numlib.hpp"

namespace spiral {

std::optional<Number> nextStart(const TickRule& rule, Number current) {
  if (rule.direction == Direction::In) {
    const Number last = largestStart(rule.range, rule.numberClass, rule.count);
    if (current >= last) return std::nullopt;
    // The end itself is never taken by a prime step, prime or not.
    return rule.primeSteps ? numlib::primeAfter(current, last - 1) : std::optional<Number>(current + 1);
  }
  if (current <= 1) return std::nullopt;
  return rule.primeSteps ? numlib::primeBefore(current, 2) : std::optional<Number>(current - 1);
}

}  // namespace spiral
