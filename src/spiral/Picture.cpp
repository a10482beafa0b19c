#include "Picture.h"

#include <algorithm>
#include <cmath>

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include "Palette.h"

namespace spiral {

namespace {

constexpr int kDotsPerMeterAt96Dpi = 3780;

QFont pictureFont(int pointSize) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(pointSize);
  // Plain pixels in palette colours: the picture is read back by colour.
  font.setStyleStrategy(QFont::NoAntialias);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

// Half the width of a disc's row `dy` rows away from its centre.
int discHalfWidth(int radius, int dy) {
  return static_cast<int>(std::sqrt(static_cast<double>(radius * radius - dy * dy)));
}

}  // namespace

Picture::Picture(int width, int height)
    : image_(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32) {
  image_.setDotsPerMeterX(kDotsPerMeterAt96Dpi);
  image_.setDotsPerMeterY(kDotsPerMeterAt96Dpi);
  clear();
}

void Picture::takePixels() {
  width_ = image_.width();
  height_ = image_.height();
  pixels_ = reinterpret_cast<QRgb*>(image_.bits());  // detaches from any copy
  stride_ = image_.bytesPerLine() / static_cast<ptrdiff_t>(sizeof(QRgb));
}

void Picture::clear() {
  image_.fill(paletteRgb(kBlack));
  takePixels();
}

int Picture::pixel(int x, int y) const {
  if (!inside(x, y)) return -1;
  const QRgb rgb = line(y)[x];
  // The common cases first: this is the hot path of the cluster colours.
  if (rgb == paletteRgb(kBlack)) return kBlack;
  return paletteIndexOf(rgb);
}

void Picture::horizontalLine(int x1, int x2, int y, int color) {
  if (x1 > x2) std::swap(x1, x2);
  if (y < 0 || y >= height()) return;
  x1 = std::max(x1, 0);
  x2 = std::min(x2, width() - 1);
  if (x1 > x2) return;
  std::fill(line(y) + x1, line(y) + x2 + 1, paletteRgb(color));
}

void Picture::verticalLine(int x, int y1, int y2, int color) {
  if (y1 > y2) std::swap(y1, y2);
  for (int y = y1; y <= y2; ++y) setPixel(x, y, color);
}

void Picture::fillBox(int x1, int y1, int x2, int y2, int color) {
  if (y1 > y2) std::swap(y1, y2);
  for (int y = std::max(y1, 0); y <= std::min(y2, height() - 1); ++y) horizontalLine(x1, x2, y, color);
}

void Picture::outlineBox(int x1, int y1, int x2, int y2, int outline, int fill) {
  fillBox(x1, y1, x2, y2, fill);
  horizontalLine(x1, x2, y1, outline);
  horizontalLine(x1, x2, y2, outline);
  verticalLine(x1, y1, y2, outline);
  verticalLine(x2, y1, y2, outline);
}

void Picture::fillCircle(int cx, int cy, int radius, int color) {
  if (radius < 0) return;
  for (int dy = -radius; dy <= radius; ++dy) {
    const int half = discHalfWidth(radius, dy);
    horizontalLine(cx - half, cx + half, cy + dy, color);
  }
}

void Picture::outlineCircle(int cx, int cy, int radius, int outline, int fill) {
  if (radius < 0) return;
  fillCircle(cx, cy, radius, fill);
  // The rim: the pixels of the disc that have a neighbour outside it.
  const auto inDisc = [radius](int dx, int dy) {
    return std::abs(dy) <= radius && std::abs(dx) <= discHalfWidth(radius, dy);
  };
  for (int dy = -radius; dy <= radius; ++dy) {
    const int half = discHalfWidth(radius, dy);
    for (int dx = -half; dx <= half; ++dx) {
      if (!inDisc(dx - 1, dy) || !inDisc(dx + 1, dy) || !inDisc(dx, dy - 1) || !inDisc(dx, dy + 1)) {
        setPixel(cx + dx, cy + dy, outline);
      }
    }
  }
}

void Picture::drawText(int x, int y, const QString& text, int pointSize, int color) {
  const QFont font = pictureFont(pointSize);
  {
    QPainter painter(&image_);
    painter.setFont(font);
    painter.setPen(QColor(paletteRgb(color)));
    painter.drawText(QPoint(x, y + QFontMetrics(font, &image_).ascent()), text);
  }
  takePixels();
}

}  // namespace spiral
