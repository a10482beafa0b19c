#include "Picture.h"

#include <algorithm>
#include <cmath>
#include <new>

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

Picture::Picture(int width, int height) {
  const int w = std::max(width, 1);
  const int h = std::max(height, 1);
  try {
    pixels_.assign(static_cast<size_t>(w) * static_cast<size_t>(h), kBlack);
  } catch (const std::bad_alloc&) {
    return;  // isNull()
  }
  width_ = w;
  height_ = h;
}

const QImage& Picture::image() const {
  if (!imageStale_) return image_;
  if (image_.width() != width_ || image_.height() != height_) {
    image_ = QImage(width_, height_, QImage::Format_RGB32);
    image_.setDotsPerMeterX(kDotsPerMeterAt96Dpi);
    image_.setDotsPerMeterY(kDotsPerMeterAt96Dpi);
  }
  for (int y = 0; y < height_; ++y) {
    const uint8_t* in = line(y);
    auto* out = reinterpret_cast<QRgb*>(image_.scanLine(y));  // detaches from any copy
    for (int x = 0; x < width_; ++x) out[x] = detail::kPaletteColors[in[x]];
  }
  imageStale_ = false;
  return image_;
}

void Picture::clear() {
  std::fill(pixels_.begin(), pixels_.end(), kBlack);
  imageStale_ = true;
}

void Picture::horizontalLine(int x1, int x2, int y, int color) {
  if (x1 > x2) std::swap(x1, x2);
  if (y < 0 || y >= height()) return;
  x1 = std::max(x1, 0);
  x2 = std::min(x2, width() - 1);
  if (x1 > x2) return;
  std::fill(line(y) + x1, line(y) + x2 + 1, paletteIndex(color));
  imageStale_ = true;
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

// The text is drawn in white on a black scratch image and its pixels copied in as `color`: without
// anti-aliasing a glyph pixel is either the pen's colour or untouched. The scratch reaches a line
// height beyond the text on every side, more than any glyph overhangs. Font, metrics and scratch
// are kept between calls: an animation step writes dozens of numerals.
void Picture::drawText(int x, int y, const QString& text, int pointSize, int color) {
  struct TextScratch {
    int pointSize = -1;
    QFont font;
    int margin = 0;
    int ascent = 0;
    QImage image;
  };
  static TextScratch scratch;
  if (scratch.pointSize != pointSize) {
    scratch.pointSize = pointSize;
    scratch.font = pictureFont(pointSize);
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(kDotsPerMeterAt96Dpi);
    device.setDotsPerMeterY(kDotsPerMeterAt96Dpi);
    const QFontMetrics metrics(scratch.font, &device);
    scratch.margin = metrics.height();
    scratch.ascent = metrics.ascent();
    scratch.image = device;
  }
  const int margin = scratch.margin;
  const int width = QFontMetrics(scratch.font, &scratch.image).horizontalAdvance(text) + 2 * margin;
  const int height = 3 * margin;
  if (scratch.image.width() < width || scratch.image.height() < height) {
    scratch.image = QImage(std::max(width, scratch.image.width()), height, QImage::Format_RGB32);
    scratch.image.setDotsPerMeterX(kDotsPerMeterAt96Dpi);
    scratch.image.setDotsPerMeterY(kDotsPerMeterAt96Dpi);
  }
  QImage& image = scratch.image;
  image.fill(paletteRgb(kBlack));
  {
    QPainter painter(&image);
    painter.setFont(scratch.font);
    painter.setPen(QColor(paletteRgb(kWhite)));
    painter.drawText(QPoint(margin, margin + scratch.ascent), text);
  }
  for (int sy = 0; sy < height; ++sy) {
    const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(sy));
    for (int sx = 0; sx < width; ++sx) {
      if (in[sx] != paletteRgb(kBlack)) setPixel(x - margin + sx, y - margin + sy, color);
    }
  }
}

}  // namespace spiral
