#pragma once
// One step of Spiral In or Spiral Out: the start number that follows the current one.

#include <cstdint>
#include <optional>

#include "Choices.h"

namespace spiral {

enum class Direction { In, Out };

struct TickRule {
  Direction direction = Direction::In;
  NumberClass numberClass = NumberClass::Primes;
  int64_t count = 1;        // the numbers in the picture, N x N
  bool primeSteps = false;  // each step goes on to the next prime ("Show only for central number prime")
  NumberRange range = kWindowRange;  // the numbers a picture may hold
};

// The start number after `current` in the direction of travel, or none at the end. Spiral In ends at
// the largest start number the draw pass accepts for the range, the class and the count, Spiral Out
// at 1. With
// prime steps the search stops before the end even when the end is prime itself, so Spiral Out ends
// after 2.
std::optional<Number> nextStart(const TickRule& rule, Number current);

}  // namespace spiral
