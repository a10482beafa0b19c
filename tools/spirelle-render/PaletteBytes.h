#pragma once
// The 16 palette colours as the red, green and blue bytes that PNG and GIF files store.

#include <array>
#include <cstdint>

#include "Palette.h"

namespace render {

struct RgbBytes {
  uint8_t red, green, blue;
};

using PaletteBytes = std::array<RgbBytes, spiral::kPaletteSize>;

// The colours in palette order, so that a pixel's palette index is its index in the file's table.
inline PaletteBytes paletteBytes() {
  PaletteBytes bytes{};
  for (int i = 0; i < spiral::kPaletteSize; ++i) {
    const spiral::Rgb rgb = spiral::paletteRgb(i);
    bytes[i] = {uint8_t(spiral::redOf(rgb)), uint8_t(spiral::greenOf(rgb)), uint8_t(spiral::blueOf(rgb))};
  }
  return bytes;
}

}  // namespace render
