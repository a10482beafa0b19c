#pragma once
// The command-line names of the choices, shared by every program that reads them: the renderer's
// options and the explorer's take the same words for the same choices. The names of cell sizes,
// schemes and classes come from their rows in Choices.h; the shapes have no table of their own.

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Choices.h"
#include "DrawSettings.h"

namespace spiral {

template <typename T>
struct NamedChoice {
  const char* name;
  T value;
};

// The names of a table of the engine's choices, in the table's order.
template <typename T, std::size_t N, typename Row>
constexpr std::array<NamedChoice<T>, N> namesOf(const std::array<Row, N>& rows, T Row::*value) {
  std::array<NamedChoice<T>, N> choices{};
  for (std::size_t i = 0; i < N; ++i) choices[i] = {rows[i].name, rows[i].*value};
  return choices;
}

inline constexpr auto kCellSizeNames = namesOf(kCellSizes, &CellSizeChoice::pixels);
inline constexpr NamedChoice<bool> kShapeNames[] = {{"circles", false}, {"squares", true}};  // value: squares
inline constexpr auto kSchemeNames = namesOf(kSchemes, &SchemeChoice::scheme);
inline constexpr auto kClassNames = namesOf(kNumberClasses, &NumberClassChoice::numberClass);

// The choice of that name, or none.
template <typename T>
std::optional<T> choiceNamed(std::span<const NamedChoice<T>> choices, std::string_view name) {
  auto match = std::find_if(choices.begin(), choices.end(), [&](const NamedChoice<T>& choice) { return name == choice.name; });
  if (match == choices.end()) return std::nullopt;
  return match->value;
}

// The name of a choice; empty when the table has none for it.
template <typename T>
std::string nameOfChoice(std::span<const NamedChoice<T>> choices, T value) {
  auto match = std::find_if(choices.begin(), choices.end(), [&](const NamedChoice<T>& choice) { return value == choice.value; });
  return match == choices.end() ? std::string() : std::string(match->name);
}

// "a|b|c", for usage texts and messages.
template <typename T>
std::string choiceList(std::span<const NamedChoice<T>> choices) {
  std::string names;
  for (const NamedChoice<T>& choice : choices) names += (names.empty() ? "" : "|") + std::string(choice.name);
  return names;
}

// The options that name a picture's start and choices, as the renderer and the explorer read them:
// "--start 41 --cell 7 --shape circles --scheme cluster --show primes", then "--grid" and
// "--numerals" when they are set. A scheme or class that is no choice (None) is left out.
inline std::vector<std::string> choiceArguments(const DrawSettings& settings) {
  std::vector<std::string> arguments = {"--start", std::to_string(settings.start), "--cell", std::to_string(settings.boxSize),
                                        "--shape", nameOfChoice<bool>(kShapeNames, settings.squares)};
  const std::pair<const char*, std::string> named[] = {
      {"--scheme", nameOfChoice<ColorScheme>(kSchemeNames, settings.colorScheme)},
      {"--show", nameOfChoice<NumberClass>(kClassNames, settings.numberClass)}};
  for (const auto& [option, name] : named) {
    if (!name.empty()) arguments.insert(arguments.end(), {option, name});
  }
  if (settings.grid) arguments.emplace_back("--grid");
  if (settings.numerals) arguments.emplace_back("--numerals");
  return arguments;
}

}  // namespace spiral
