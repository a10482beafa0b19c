#include "Palette.h"

namespace spiral {

int paletteIndexOf(QRgb rgb) {
  const QRgb opaque = rgb | 0xFF000000;
  for (int i = 0; i < kPaletteSize; ++i) {
    if (detail::kPaletteColors[i] == opaque) return i;
  }
  return -1;
}

}  // namespace spiral
