#pragma once
// The standard 16-colour palette the spiral is drawn with.

#include <cstdint>

namespace spiral {

// A colour as 0xAARRGGBB, the layout of Qt's QRgb, so that the window can hand it to Qt as it is.
using Rgb = std::uint32_t;

inline constexpr int kPaletteSize = 16;
inline constexpr int kBlack = 0;
inline constexpr int kDarkBlue = 1;
inline constexpr int kDarkGreen = 2;
inline constexpr int kLightBlue = 9;
inline constexpr int kLightGreen = 10;
inline constexpr int kLightCyan = 11;
inline constexpr int kLightRed = 12;
inline constexpr int kLightMagenta = 13;
inline constexpr int kYellow = 14;
inline constexpr int kWhite = 15;
// Light grey, for marks over a picture (the renderer's --mark-lines and --mark-quadratic, the
// explorer's marked quadratic). The cells draw with black (0) and the bright colours 9 to 15, the
// density levels also with 1 and 2, so light grey marks without being mistaken for a cell. Most of
// a line runs over the black background, and light grey stands out most against it (a contrast of
// about 11:1, dark grey about 5:1, the dark hues less); as the one pale colour without a hue it
// also stands apart from the saturated colours 9 to 14 of the cells it crosses.
inline constexpr int kMarkColour = 7;

namespace detail {
// The classic 16-colour palette in palette order.
inline constexpr Rgb kPaletteColors[kPaletteSize] = {
    0xFF000000, 0xFF000080, 0xFF008000, 0xFF008080, 0xFF800000, 0xFF800080, 0xFF808000, 0xFFC0C0C0,
    0xFF808080, 0xFF0000FF, 0xFF00FF00, 0xFF00FFFF, 0xFFFF0000, 0xFFFF00FF, 0xFFFFFF00, 0xFFFFFFFF,
};
}  // namespace detail

// The colour of a palette index (0 ... 15); black for anything else.
inline Rgb paletteRgb(int index) {
  return index >= 0 && index < kPaletteSize ? detail::kPaletteColors[index] : detail::kPaletteColors[kBlack];
}

inline constexpr int redOf(Rgb rgb) { return static_cast<int>((rgb >> 16) & 0xFF); }
inline constexpr int greenOf(Rgb rgb) { return static_cast<int>((rgb >> 8) & 0xFF); }
inline constexpr int blueOf(Rgb rgb) { return static_cast<int>(rgb & 0xFF); }

}  // namespace spiral
