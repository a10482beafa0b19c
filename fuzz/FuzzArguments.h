#pragma once
// An argument list from a harness's input: the input split at NUL bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline std::vector<std::string> argumentsFrom(const uint8_t* data, size_t size) {
  std::vector<std::string> arguments(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      arguments.emplace_back();
    } else {
      arguments.back().push_back(static_cast<char>(data[i]));
    }
  }
  return arguments;
}
