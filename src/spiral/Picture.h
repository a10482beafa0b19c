#pragma once
// The raster the spiral is drawn on. It is also a store: the cluster colours, the diagonal measure
// and the click report read back the colours of pixels drawn earlier, so every operation works in
// palette indices, and the raster holds one palette index per pixel. Everything outside the raster
// is clipped; reads outside it give -1.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Palette.h"
#include "ZeroedMemory.h"

namespace spiral {

// The side of the window's picture in pixels, and of the renderer's unless it is told otherwise.
inline constexpr int kPictureSize = 523;

// The picture's resolution: 96 pixels per inch, stored in its files as pixels per metre.
inline constexpr int kPixelsPerMeter = 3780;

// Where a text's pixels lie, relative to its top-left corner.
struct TextPixel {
  int dx = 0;
  int dy = 0;
};
// The pixels of `text` (UTF-8) in the given point size (96 pixels per inch), drawn without anti-aliasing,
// so that each pixel is either part of a glyph or not. The list holds until the next call.
using TextDrawer = const std::vector<TextPixel>& (*)(const std::string& text, int pointSize);

class Picture {
 public:
  // A picture without pixels (isNull()) when the memory for the raster cannot be had.
  explicit Picture(int width = kPictureSize, int height = kPictureSize);

  bool isNull() const { return pixels_.empty(); }
  int width() const { return width_; }
  int height() const { return height_; }
  // The palette indices of scan line y, width() of them.
  const uint8_t* indexLine(int y) const { return line(y); }
  // The same, to write: for a drawer that has placed its pixels inside the raster itself.
  uint8_t* writableLine(int y) { return line(y); }
  // The palette index a colour is drawn in: black for a colour outside the palette.
  static uint8_t paletteIndex(int color) {
    return static_cast<uint8_t>(color >= 0 && color < kPaletteSize ? color : kBlack);
  }

  // Fills the whole raster with black, the background. A large raster is shared among up to
  // `threads` workers: its pages are first touched, and so zeroed by the system, by them all.
  void clear(int threads = 1);

  // A colour outside the palette is drawn black.
  void setPixel(int x, int y, int color) {
    if (inside(x, y)) line(y)[x] = paletteIndex(color);
  }
  // The palette index of the pixel, or -1 outside the raster.
  int pixel(int x, int y) const { return inside(x, y) ? line(y)[x] : -1; }
  // True when the pixel lies inside the raster and is not the black background.
  bool isMarked(int x, int y) const { return inside(x, y) && line(y)[x] != kBlack; }

  // A filled box from (x1, y1) to (x2, y2), corners included.
  void fillBox(int x1, int y1, int x2, int y2, int color);
  // The box's one-pixel outline in `outline`, its inside in `fill`.
  void outlineBox(int x1, int y1, int x2, int y2, int outline, int fill);
  // A disc of the given radius around (cx, cy).
  void fillCircle(int cx, int cy, int radius, int color);
  // The disc in `fill` with its one-pixel rim in `outline`.
  void outlineCircle(int cx, int cy, int radius, int outline, int fill);
  // A horizontal or vertical run of pixels, both ends included.
  void horizontalLine(int x1, int x2, int y, int color);
  void verticalLine(int x, int y1, int y2, int color);
  // Text whose top-left corner is at (x, y), through the installed text drawer; nothing is drawn
  // while none is installed. Fonts live in Qt Gui, which the engine's core does not link: the
  // window installs Qt's fonts at its start-up, and the renderer loads them only when it writes
  // numerals.
  void drawText(int x, int y, const std::string& text, int pointSize, int color);
  static void setTextDrawer(TextDrawer drawer);

 private:
  uint8_t* line(int y) { return pixels_.data() + static_cast<ptrdiff_t>(y) * width_; }
  const uint8_t* line(int y) const { return pixels_.data() + static_cast<ptrdiff_t>(y) * width_; }
  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  numlib::ZeroedVector<uint8_t> pixels_;  // huge pages for a poster
  int width_ = 0;
  int height_ = 0;
};

}  // namespace spiral
