#pragma once
// The pieces the renderer's and the explorer's command lines share: an option whose value is
// checked as it is read, the quoting of a refused value, and the choice among named values. A
// checked value that is wrong ends the reading with its option's name and what is wrong.

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include <CLI/CLI.hpp>

#include "ChoiceNames.h"

namespace cli {

inline std::string inQuotes(std::string_view value) { return "'" + std::string(value) + "'"; }

// Stores the value of one option; returns an empty text, or what is wrong with the value.
using StoreValue = std::function<std::string(const std::string& value)>;

template <typename T, typename Target>
StoreValue storeChoice(std::span<const spiral::NamedChoice<T>> choices, Target& target) {
  return [choices, &target](const std::string& value) -> std::string {
    const std::optional<T> chosen = spiral::choiceNamed(choices, value);
    if (!chosen) return inQuotes(value) + " is not one of " + spiral::choiceList(choices);
    target = static_cast<Target>(*chosen);
    return {};
  };
}

inline void addCheckedOption(CLI::App& app, const std::string& name, const char* placeholder,
                             const std::string& description, StoreValue store) {
  app.add_option_function<std::string>(
         name,
         [name, store = std::move(store)](const std::string& value) {
           if (std::string problem = store(value); !problem.empty()) throw CLI::ValidationError(name, problem);
         },
         description)
      ->type_name(placeholder)
      ->trigger_on_parse();
}

}  // namespace cli
