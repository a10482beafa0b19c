#pragma once
// The standard 16-colour palette the spiral is drawn with.

#include <QRgb>

namespace spiral {

inline constexpr int kPaletteSize = 16;
inline constexpr int kBlack = 0;
inline constexpr int kLightBlue = 9;
inline constexpr int kLightGreen = 10;
inline constexpr int kLightCyan = 11;
inline constexpr int kLightRed = 12;
inline constexpr int kLightMagenta = 13;
inline constexpr int kYellow = 14;
inline constexpr int kWhite = 15;

// The colour of a palette index (0 ... 15); black for anything else.
QRgb paletteRgb(int index);

// The first palette index (0 ... 15) whose colour is `rgb`, or -1 when none is (the alpha byte is ignored).
int paletteIndexOf(QRgb rgb);

}  // namespace spiral
