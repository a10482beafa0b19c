#include "PictureImage.h"

#include "Palette.h"
#include "TextPixels.h"

namespace spiral {

QImage imageOf(const Picture& picture) {
  QImage image = imageAt96Dpi(picture.width(), picture.height());
  for (int y = 0; y < picture.height(); ++y) {
    const uint8_t* in = picture.indexLine(y);
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < picture.width(); ++x) out[x] = detail::kPaletteColors[in[x]];  // indices < 16
  }
  return image;
}

void installQtTextDrawing() { Picture::setTextDrawer(&textPixels); }

}  // namespace spiral
