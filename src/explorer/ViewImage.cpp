#include "ViewImage.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>

#include "Palette.h"

namespace explorer {

namespace {

using spiral::PlaneRect;
using spiral::isEmpty;
using spiral::overlap;

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

// Whether the pixels shown from one tile (null: background) are those of another of the same key,
// wherever both are drawn: the same tile; or two drawings of it, a part and then the whole, for
// which no cluster colour took its ring's colour, so that the colours at hand did not decide.
bool samePixels(const Tile* shown, const Tile* now) {
  return shown == now || (shown && now && !shown->result.clusterByRing && !now->result.clusterByRing);
}

// The margin of pixels the canvas keeps around the view on every side: a view may move this far
// before the pixels it keeps are moved.
constexpr int kMargin = 256;

}  // namespace

struct ViewImage::Canvas {
  int width = 0, height = 0;
  qsizetype stride = 0;  // rows start on 32-bit boundaries, as an image over outside memory needs
  std::unique_ptr<uchar[]> pixels;
  spiral::PlanePoint origin{0, 0};  // the plane pixel at the canvas's top left

  bool fits(QSize view) const { return width == view.width() + 2 * kMargin && height == view.height() + 2 * kMargin; }
  uchar* at(spiral::PlanePoint p) const { return pixels.get() + (p.y - origin.y) * stride + (p.x - origin.x); }
  bool holds(const PlaneRect& rect) const {
    return rect.x >= origin.x && rect.y >= origin.y && rect.x + rect.width <= origin.x + width &&
           rect.y + rect.height <= origin.y + height;
  }
  // Moves the pixels of `part` (inside the canvas) to where they belong once the canvas's top
  // left is `newOrigin`. Rows are taken in the order that reads each before it is written.
  void moveTo(spiral::PlanePoint newOrigin, const PlaneRect& part) {
    const int64_t dy = origin.y - newOrigin.y;
    const auto width = static_cast<size_t>(part.width);
    uchar* const from = at({part.x, part.y});
    uchar* const to = from + dy * stride + (origin.x - newOrigin.x);
    const auto moveRow = [&](int64_t y) { std::memmove(to + y * stride, from + y * stride, width); };
    if (dy > 0) {
      for (int64_t y = part.height - 1; y >= 0; --y) moveRow(y);
    } else {
      for (int64_t y = 0; y < part.height; ++y) moveRow(y);
    }
    origin = newOrigin;
  }
  // Copies the pixels of `part` (inside the canvas) from a tile that covers it, or background where
  // the tile is missing.
  void copyFrom(const Tile* tile, const PlaneRect& part) {
    const auto width = static_cast<size_t>(part.width);
    for (int64_t y = part.y; y < part.y + part.height; ++y) {
      uchar* const to = at({part.x, y});
      if (tile != nullptr) {
        std::memcpy(to, tile->picture.indexLine(static_cast<int>(y - tile->drawn.y)) + (part.x - tile->drawn.x), width);
      } else {
        std::memset(to, spiral::kBlack, width);
      }
    }
  }
  // Copies the pixels of `part` from another canvas.
  void copyFrom(const Canvas& other, const PlaneRect& part) {
    for (int64_t y = part.y; y < part.y + part.height; ++y) std::memcpy(at({part.x, y}), other.at({part.x, y}), static_cast<size_t>(part.width));
  }
};

namespace {

spiral::PlanePoint originFor(spiral::PlanePoint topLeft) { return {topLeft.x - kMargin, topLeft.y - kMargin}; }

}  // namespace

const QImage& ViewImage::compose(spiral::PlanePoint topLeft, QSize size, const std::vector<TileKey>& keys,
                                 const std::vector<std::shared_ptr<const Tile>>& tiles, Missing missing) {
  const PlaneRect before{topLeft_.x, topLeft_.y, size_.width(), size_.height()};
  const PlaneRect view{topLeft.x, topLeft.y, size.width(), size.height()};
  image_ = QImage();  // lets go of the canvas: if it is still held, an image handed out holds it
  if (placement_ && (placement_->view != view || canvas_.use_count() > 1)) closePlacement();
  const bool kept = keepWhatStaysInView(before, view);
  if (!canvas_) return image_;
  ++pass_;
  for (size_t k = 0; k < keys.size(); ++k) {
    const PlaneRect part = keys[k].partIn(view);
    if (isEmpty(part) || (!tiles[k] && missing == Missing::Later)) continue;
    const auto [had, fresh] = tiles_.try_emplace(keys[k]);
    if (placement_ && tiles[k] && tiles[k]->placedBy == placement_->serial) {
      had->second.tile = tiles[k];  // a worker put its pixels in place
    } else if (kept && !fresh && samePixels(had->second.tile.get(), tiles[k].get())) {
      forEachPartOutside(part, before, [&](const PlaneRect& p) { canvas_->copyFrom(tiles[k].get(), p); });
    } else {
      canvas_->copyFrom(tiles[k].get(), part);
      had->second.tile = tiles[k];
    }
    had->second.pass = pass_;
  }
  // What left the view, or is left for later, is no longer shown. Updated in place rather than
  // made anew: this runs each time a batch of tiles arrives while the workers draw.
  std::erase_if(tiles_, [this](const auto& entry) { return entry.second.pass != pass_; });
  // The image, and every copy of it, holds the canvas until the last of them goes.
  const auto release = [](void* holder) { delete static_cast<std::shared_ptr<Canvas>*>(holder); };
  image_ = QImage(canvas_->at(topLeft), size.width(), size.height(), canvas_->stride, QImage::Format_Indexed8, release,
                  new std::shared_ptr<Canvas>(canvas_));
  image_.setColorTable(paletteColourTable());
  return image_;
}

// Other settings keep the pixels too, but no tile of theirs matches one the pixels came from.
bool ViewImage::keepWhatStaysInView(const PlaneRect& before, const PlaneRect& view) {
  const spiral::PlanePoint topLeft{view.x, view.y};
  const QSize size(view.width, view.height);
  const bool held = canvas_ && canvas_.use_count() > 1;
  const bool keep = canvas_ && size_ == size && std::abs(before.x - view.x) < size.width() &&
                    std::abs(before.y - view.y) < size.height();
  topLeft_ = topLeft;
  size_ = size;
  if (size.isEmpty()) {
    canvas_.reset();
    tiles_.clear();
    return false;
  }
  if (!keep) {
    // A jump or a zoom keeps the canvas's memory, whose pages are then not faulted in afresh.
    if (!canvas_ || held || !canvas_->fits(size)) {
      canvas_ = canvasFor(topLeft, size);
    } else {
      canvas_->origin = originFor(topLeft);
    }
    tiles_.clear();
    return false;
  }
  const PlaneRect stays = overlap(before, view);
  if (held) {  // the pixels an image handed out shows stay as they are
    std::shared_ptr<Canvas> fresh = canvasFor(topLeft, size);
    if (fresh) fresh->copyFrom(*canvas_, stays);
    canvas_ = std::move(fresh);
  } else if (!canvas_->holds(view)) {
    canvas_->moveTo(originFor(topLeft), stays);
  }
  if (!canvas_) tiles_.clear();
  return canvas_ != nullptr;
}

std::shared_ptr<ViewImage::Canvas> ViewImage::canvasFor(spiral::PlanePoint topLeft, QSize size) {
  auto canvas = std::make_shared<Canvas>();
  canvas->width = size.width() + 2 * kMargin;
  canvas->height = size.height() + 2 * kMargin;
  canvas->stride = (canvas->width + 3) / 4 * 4;
  // Not cleared: every pixel of a view is copied before it is shown.
  canvas->pixels.reset(new (std::nothrow) uchar[static_cast<size_t>(canvas->stride) * static_cast<size_t>(canvas->height)]);
  if (!canvas->pixels) return nullptr;  // no image rather than no program
  canvas->origin = originFor(topLeft);
  return canvas;
}

std::shared_ptr<ViewImage::Placement> ViewImage::openPlacement(const spiral::ViewSettings& settings) {
  closePlacement();
  if (!canvas_) return nullptr;
  static std::atomic<uint64_t> serials{0};
  placement_ = std::make_shared<Placement>();
  placement_->canvas = canvas_.get();
  placement_->view = {topLeft_.x, topLeft_.y, size_.width(), size_.height()};
  placement_->settings = settings;
  placement_->serial = ++serials;
  return placement_;
}

void ViewImage::closePlacement() {
  if (!placement_) return;
  {
    const std::unique_lock lock(placement_->mutex);
    placement_->open = false;
  }
  placement_.reset();
}

void ViewImage::Placement::place(const spiral::ViewSettings& of, Tile& tile) {
  if (tile.result.clusterByRing || of != settings) return;
  const std::shared_lock lock(mutex);
  if (!open) return;
  canvas->copyFrom(&tile, overlap(tile.drawn, view));
  tile.placedBy = serial;
}

}  // namespace explorer
