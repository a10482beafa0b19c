#pragma once
// The language slots of the program's texts, in table order. Slot 5 is a spare that no text fills.

namespace language {

inline constexpr int kEnglish = 0;
inline constexpr int kGerman = 1;
inline constexpr int kFrench = 2;
inline constexpr int kPortuguese = 3;
inline constexpr int kSpanish = 4;
inline constexpr int kLanguageSlots = 6;

// The tables a window keeps for itself (the start-number messages, the help texts) have three
// slots: English, German and one left empty.
inline constexpr int kWindowTextSlots = 3;

}  // namespace language
