#include "Picture.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "Palette.h"
#include "Workers.h"

namespace spiral {

namespace {

// Half the width of a disc's row `dy` rows away from its centre.
int discHalfWidth(int radius, int dy) {
  return static_cast<int>(std::sqrt(static_cast<double>(radius * radius - dy * dy)));
}

}  // namespace

Picture::Picture(int width, int height) {
  const int w = std::max(width, 1);
  const int h = std::max(height, 1);
  try {
    static_assert(kBlack == 0, "a zeroed raster is black");
    pixels_.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
  } catch (const std::bad_alloc&) {
    return;  // isNull()
  }
  width_ = w;
  height_ = h;
}

void Picture::clear(int threads) {
  constexpr int64_t kPiece = int64_t{8} << 20;  // bytes: a picture of the window's size stays on one thread
  numlib::forEachPiece(static_cast<int64_t>(pixels_.size()), kPiece, threads, [this](int64_t first, int64_t length) {
    std::memset(pixels_.data() + first, kBlack, static_cast<size_t>(length));
  });
}

void Picture::horizontalLine(int x1, int x2, int y, int color) {
  if (x1 > x2) std::swap(x1, x2);
  if (y < 0 || y >= height()) return;
  x1 = std::max(x1, 0);
  x2 = std::min(x2, width() - 1);
  if (x1 > x2) return;
  std::fill(line(y) + x1, line(y) + x2 + 1, paletteIndex(color));
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

namespace {
TextDrawer installedTextDrawer = nullptr;
}  // namespace

void Picture::setTextDrawer(TextDrawer drawer) { installedTextDrawer = drawer; }

void Picture::drawText(int x, int y, const std::string& text, int pointSize, int color) {
  if (!installedTextDrawer) return;
  for (const TextPixel& p : installedTextDrawer(text, pointSize)) setPixel(x + p.dx, y + p.dy, color);
}

}  // namespace spiral
