// What the picture needs from Qt Gui: its 32-bit image, and the fonts for its text. Whatever
// links this part of the engine draws text from its start.

#include "Palette.h"
#include "Picture.h"
#include "TextPixels.h"

namespace spiral {

namespace {

[[maybe_unused]] const bool textDrawerInstalled = (Picture::setTextDrawer(&textPixels), true);

}  // namespace

QImage Picture::image() const {
  QImage image = imageAt96Dpi(width(), height());
  for (int y = 0; y < height(); ++y) {
    const uint8_t* in = indexLine(y);
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width(); ++x) out[x] = detail::kPaletteColors[in[x]];
  }
  return image;
}

}  // namespace spiral
