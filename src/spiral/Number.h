#pragma once
// A number of the spiral: any whole number below 2^64. The window's pictures keep to its own
// smaller range (NumberRange in Choices.h).

#include <cstdint>

namespace spiral {

using Number = std::uint64_t;

}  // namespace spiral
