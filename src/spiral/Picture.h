#pragma once
// The raster the spiral is drawn on. It is also a store: the cluster colours, the diagonal measure
// and the click report read back the colours of pixels drawn earlier, so every operation works in
// palette indices. Everything outside the raster is clipped; reads outside it give -1.

#include <QImage>
#include <QString>

#include <cstddef>

#include "Palette.h"

namespace spiral {

class Picture {
 public:
  explicit Picture(int width = 523, int height = 523);

  int width() const { return width_; }
  int height() const { return height_; }
  // The raster as an image. A copy of it shares the pixels of the picture until the next clear():
  // take image().copy() to keep a frame.
  const QImage& image() const { return image_; }

  // Fills the whole raster with black, the background.
  void clear();

  void setPixel(int x, int y, int color) {
    if (inside(x, y)) line(y)[x] = paletteRgb(color);
  }
  // The palette index of the pixel, or -1 outside the raster or for a colour outside the palette.
  int pixel(int x, int y) const;
  // True when the pixel lies inside the raster and is not the black background.
  bool isMarked(int x, int y) const { return inside(x, y) && line(y)[x] != paletteRgb(kBlack); }

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
  // Text whose top-left corner is at (x, y), in the given point size (96 pixels per inch), without
  // anti-aliasing so that every pixel keeps a palette colour. Needs a QGuiApplication.
  void drawText(int x, int y, const QString& text, int pointSize, int color);

 private:
  // The hot paths write and read the scan lines directly, through a pointer taken again after
  // every call that may give the image a buffer of its own.
  void takePixels();
  QRgb* line(int y) { return pixels_ + static_cast<ptrdiff_t>(y) * stride_; }
  const QRgb* line(int y) const { return pixels_ + static_cast<ptrdiff_t>(y) * stride_; }
  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  QImage image_;
  int width_ = 0;
  int height_ = 0;
  QRgb* pixels_ = nullptr;
  ptrdiff_t stride_ = 0;  // in pixels
};

}  // namespace spiral
