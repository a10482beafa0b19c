#pragma once
// The raster the spiral is drawn on. It is also a store: the cluster colours, the diagonal measure
// and the click report read back the colours of pixels drawn earlier, so every operation works in
// palette indices. Everything outside the raster is clipped; reads outside it give -1.

#include <QImage>
#include <QString>

namespace spiral {

class Picture {
 public:
  explicit Picture(int width = 523, int height = 523);

  int width() const { return image_.width(); }
  int height() const { return image_.height(); }
  const QImage& image() const { return image_; }

  // Fills the whole raster with black, the background.
  void clear();

  void setPixel(int x, int y, int color);
  // The palette index of the pixel, or -1 outside the raster or for a colour outside the palette.
  int pixel(int x, int y) const;
  // True when the pixel lies inside the raster and is not the black background.
  bool isMarked(int x, int y) const;

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
  QRgb* line(int y) { return reinterpret_cast<QRgb*>(image_.scanLine(y)); }
  const QRgb* line(int y) const { return reinterpret_cast<const QRgb*>(image_.constScanLine(y)); }
  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width() && y < height(); }

  QImage image_;
};

}  // namespace spiral
