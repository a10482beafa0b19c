#include "TextPixels.h"

#include <algorithm>
#include <functional>
#include <string>
#include <unordered_map>

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

namespace spiral {

namespace {

constexpr QRgb kGlyph = 0xFFFFFFFF;
constexpr QRgb kBackground = 0xFF000000;

QFont pictureFont(int pointSize) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(pointSize);
  // Plain pixels in palette colours: the picture is read back by colour.
  font.setStyleStrategy(QFont::NoAntialias);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

}  // namespace

QImage imageAt96Dpi(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.setDotsPerMeterX(kPixelsPerMeter);
  image.setDotsPerMeterY(kPixelsPerMeter);
  return image;
}

namespace {

// The text is drawn in white on a black scratch image and its white pixels listed: without
// anti-aliasing a glyph pixel is either the pen's colour or untouched. The scratch reaches a line
// height beyond the text on every side, more than any glyph overhangs. Font, metrics and scratch
// are kept between calls: an animation step writes dozens of numerals.
void paintTextPixels(const QString& text, int pointSize, std::vector<TextPixel>& pixels) {
  struct TextScratch {
    int pointSize = -1;
    QFont font;
    int margin = 0;
    int ascent = 0;
    QImage image;
  };
  thread_local TextScratch scratch;
  if (scratch.pointSize != pointSize) {
    scratch.pointSize = pointSize;
    scratch.font = pictureFont(pointSize);
    scratch.image = imageAt96Dpi(1, 1);
    const QFontMetrics metrics(scratch.font, &scratch.image);
    scratch.margin = metrics.height();
    scratch.ascent = metrics.ascent();
  }
  const int margin = scratch.margin;
  const int width = QFontMetrics(scratch.font, &scratch.image).horizontalAdvance(text) + 2 * margin;
  const int height = 3 * margin;
  if (scratch.image.width() < width || scratch.image.height() < height) {
    scratch.image = imageAt96Dpi(std::max(width, scratch.image.width()), height);
  }
  QImage& image = scratch.image;
  image.fill(kBackground);
  {
    QPainter painter(&image);
    painter.setFont(scratch.font);
    painter.setPen(QColor(kGlyph));
    painter.drawText(QPoint(margin, margin + scratch.ascent), text);
  }
  for (int sy = 0; sy < height; ++sy) {
    const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(sy));
    for (int sx = 0; sx < width; ++sx) {
      if (in[sx] != kBackground) pixels.push_back({sx - margin, sy - margin});
    }
  }
}

}  // namespace

// The pixels of the texts drawn lately, by point size and text: the next animation step writes
// nearly the same numerals again, each in a cell one place further on. A numeral fits the string's
// own storage, so a lookup allocates nothing. Each thread keeps its own: the explorer's workers
// write numerals at once.
const std::vector<TextPixel>& textPixels(const std::string& text, int pointSize) {
  struct Key {
    int pointSize;
    std::string text;
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& key) const {
      return std::hash<std::string>{}(key.text) ^ (std::size_t(key.pointSize) * 0x9E3779B97F4A7C15u);
    }
  };
  constexpr std::size_t kTextsKept = 4096;
  thread_local std::unordered_map<Key, std::vector<TextPixel>, KeyHash> drawn;
  Key key{pointSize, text};
  auto found = drawn.find(key);
  if (found == drawn.end()) {
    if (drawn.size() >= kTextsKept) drawn.clear();
    std::vector<TextPixel> painted;
    paintTextPixels(QString::fromStdString(text), pointSize, painted);
    found = drawn.emplace(std::move(key), std::move(painted)).first;
  }
  return found->second;
}

}  // namespace spiral
