#pragma once
// The language slots of the program's texts, in table order. Slot 5 is a spare that no text fills.

#include "ChoiceNames.h"

namespace language {

inline constexpr int kEnglish = 0;
inline constexpr int kGerman = 1;
inline constexpr int kFrench = 2;
inline constexpr int kPortuguese = 3;
inline constexpr int kSpanish = 4;
inline constexpr int kLanguageSlots = 6;

// The languages a program may be told to speak on its command line, by name.
inline constexpr spiral::NamedChoice<int> kLanguageNames[] = {{"en", kEnglish}, {"de", kGerman}};

// The tables a window keeps for itself (the start-number messages, the help texts) have three
// slots: English, German and one left empty.
inline constexpr int kWindowTextSlots = 3;

}  // namespace language
