#include "ViewImage.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "Palette.h"

namespace explorer {

namespace {

using spiral::PlaneRect;

bool isEmpty(const PlaneRect& rect) { return rect.width <= 0 || rect.height <= 0; }

// Where two rectangles of the plane meet; empty when they do not.
PlaneRect overlap(const PlaneRect& a, const PlaneRect& b) {
  const int64_t x0 = std::max(a.x, b.x), x1 = std::min(a.x + a.width, b.x + b.width);
  const int64_t y0 = std::max(a.y, b.y), y1 = std::min(a.y + a.height, b.y + b.height);
  if (x0 >= x1 || y0 >= y1) return {x0, y0, 0, 0};
  return {x0, y0, static_cast<int>(x1 - x0), static_cast<int>(y1 - y0)};
}

// The parts of `rect` outside `hole`: the bands above and below it, and between those the parts
// left and right of it.
template <class F>
void forEachPartOutside(const PlaneRect& rect, const PlaneRect& hole, F f) {
  const PlaneRect inside = overlap(rect, hole);
  if (isEmpty(inside)) {
    f(rect);
    return;
  }
  const auto part = [&f](int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
    if (x0 < x1 && y0 < y1) f(PlaneRect{x0, y0, static_cast<int>(x1 - x0), static_cast<int>(y1 - y0)});
  };
  const int64_t right = rect.x + rect.width, bottom = rect.y + rect.height;
  const int64_t insideBottom = inside.y + inside.height;
  part(rect.x, rect.y, right, inside.y);
  part(rect.x, insideBottom, right, bottom);
  part(rect.x, inside.y, inside.x, insideBottom);
  part(inside.x + inside.width, inside.y, right, insideBottom);
}

// Moves the image's pixels by (dx, dy), |dx| and |dy| below its width and height; the pixels
// they leave keep what they had. Rows are taken in the order that reads each before it is written.
void shiftPixels(QImage& image, int64_t dx, int64_t dy) {
  uchar* const pixels = image.bits();
  const qsizetype stride = image.bytesPerLine();
  const auto width = static_cast<size_t>(image.width() - std::abs(dx));
  const int height = image.height();
  const auto moveRow = [&](int64_t y) {
    std::memmove(pixels + y * stride + std::max<int64_t>(dx, 0), pixels + (y - dy) * stride + std::max<int64_t>(-dx, 0), width);
  };
  if (dy > 0) {
    for (int64_t y = height - 1; y >= dy; --y) moveRow(y);
  } else {
    for (int64_t y = 0; y < height + dy; ++y) moveRow(y);
  }
}

}  // namespace

const QImage& ViewImage::compose(spiral::PlanePoint topLeft, QSize size, const std::vector<TileKey>& keys,
                                 const std::vector<std::shared_ptr<const Tile>>& tiles) {
  const PlaneRect before{topLeft_.x, topLeft_.y, image_.width(), image_.height()};
  const bool kept = keepWhatStaysInView(topLeft, size);
  const PlaneRect view{topLeft.x, topLeft.y, size.width(), size.height()};
  uchar* const pixels = image_.bits();
  std::unordered_map<TileKey, std::shared_ptr<const Tile>, TileKeyHash> used;
  for (size_t k = 0; k < keys.size(); ++k) {
    const PlaneRect tileRect = keys[k].rect();
    const PlaneRect part = overlap(tileRect, view);
    if (isEmpty(part)) continue;
    const auto had = tiles_.find(keys[k]);
    if (kept && had != tiles_.end() && had->second == tiles[k]) {  // the same tile, or background again
      forEachPartOutside(part, before, [&](const PlaneRect& p) { copyFromTile(tiles[k].get(), tileRect, p, pixels); });
    } else {
      copyFromTile(tiles[k].get(), tileRect, part, pixels);
    }
    used.emplace(keys[k], tiles[k]);
  }
  tiles_ = std::move(used);
  return image_;
}

// Other settings keep the pixels too, but no tile of theirs matches one the pixels came from.
bool ViewImage::keepWhatStaysInView(spiral::PlanePoint topLeft, QSize size) {
  const int64_t dx = topLeft_.x - topLeft.x, dy = topLeft_.y - topLeft.y;
  const bool keep = !image_.isNull() && image_.size() == size && std::abs(dx) < size.width() && std::abs(dy) < size.height();
  topLeft_ = topLeft;
  if (!keep) {
    // A jump or a zoom keeps the image's memory, whose pages are then not faulted in afresh.
    if (image_.size() != size) {
      image_ = QImage(size, QImage::Format_Indexed8);
      image_.setColorTable(paletteColourTable());
    }
    tiles_.clear();
    return false;
  }
  if (dx != 0 || dy != 0) shiftPixels(image_, dx, dy);
  return true;
}

// A part of the view inside one tile, from the tile, or background while the tile is missing.
void ViewImage::copyFromTile(const Tile* tile, const PlaneRect& tileRect, const PlaneRect& part, uchar* pixels) {
  const qsizetype stride = image_.bytesPerLine();
  for (int64_t y = part.y; y < part.y + part.height; ++y) {
    uchar* const to = pixels + (y - topLeft_.y) * stride + (part.x - topLeft_.x);
    const auto width = static_cast<size_t>(part.width);
    if (tile != nullptr) {
      std::memcpy(to, tile->picture.indexLine(static_cast<int>(y - tileRect.y)) + (part.x - tileRect.x), width);
    } else {
      std::memset(to, spiral::kBlack, width);
    }
  }
}

}  // namespace explorer
