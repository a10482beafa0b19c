#pragma once
// The view as one Indexed8 image of palette indices, put together from its tiles. The image is a
// window into a larger canvas that keeps a margin of pixels around the view: when the view has
// only moved, the window moves over the canvas and only the pixels that came into view are copied
// from tiles, as a scrolling window repaints only what it exposes. Only when the view leaves the
// canvas are the pixels it keeps moved, to the canvas's middle. Pixels are reused only from the
// very tile they came from, or from the whole tile that followed its part in view: a tile drawn
// again since with other colours (cluster colours that arrived), or one of other settings, is
// copied whole.
//
// An image handed out keeps its pixels: while one is held, the next view is put together on a new
// canvas, and the held one's canvas lives as long as the image does.
//
// While the window's thread waits for a view's tiles and the workers take every core, they copy
// each tile's pixels into the canvas themselves, through a placement, as soon as they have drawn
// it: the tile is still in their cache then, and the window's thread, which shares the cores with
// them, has only to note which tiles are in place.

#include <cstdint>
#include <memory>
#include <shared_mutex>
#include <unordered_map>
#include <vector>

#include <QImage>
#include <QSize>

#include "TileCache.h"

namespace explorer {

class ViewImage {
  struct Canvas;

 public:
  // The canvas of one view, open to the workers until the view moves or is finished.
  class Placement {
   public:
    // Copies the pixels in view of a tile drawn with `settings` into the canvas, and marks the
    // tile as placed, unless the placement is closed. A tile that took its ring's colour for want
    // of the cluster colours is left to the window's thread: another drawing of it may differ, and
    // only that thread knows which one the view shows. Called on a worker before it hands the
    // tile on.
    void place(const spiral::ViewSettings& settings, Tile& tile);

   private:
    friend class ViewImage;
    Canvas* canvas = nullptr;  // valid while open: the view image closes it before it lets go
    spiral::PlaneRect view;
    spiral::ViewSettings settings;
    uint64_t serial = 0;
    std::shared_mutex mutex;  // shared by copying workers, taken alone to close
    bool open = true;
  };

  ViewImage() = default;
  ViewImage(const ViewImage&) = delete;
  ViewImage& operator=(const ViewImage&) = delete;
  ~ViewImage() { closePlacement(); }

  // What a missing tile's part of the view gets: background, or nothing yet (Later), for a view put
  // together while its tiles are still drawn, which no one sees before it is whole.
  enum class Missing { Background, Later };

  // The view of `size` device pixels from the plane pixel `topLeft`, from the tiles of `keys`
  // (null where a tile is missing), each drawn over at least its part in view. Put together again as the missing tiles come, it copies only
  // those.
  const QImage& compose(spiral::PlanePoint topLeft, QSize size, const std::vector<TileKey>& keys,
                        const std::vector<std::shared_ptr<const Tile>>& tiles, Missing missing = Missing::Background);

  // Opens the canvas of the view last put together to the workers drawing tiles of `settings`;
  // null when there is no canvas. Putting together a view that moved, or whose image is held,
  // closes it first.
  std::shared_ptr<Placement> openPlacement(const spiral::ViewSettings& settings);
  // Waits for a copy under way; no worker writes into the canvas after this.
  void closePlacement();

 private:

  // Whether the pixels at hand overlap the view; if so they are kept where the view finds them,
  // else the image starts afresh.
  bool keepWhatStaysInView(const spiral::PlaneRect& before, const spiral::PlaneRect& view);
  // A canvas for a view of `size` from `topLeft`, with the view in its middle.
  static std::shared_ptr<Canvas> canvasFor(spiral::PlanePoint topLeft, QSize size);

  std::shared_ptr<Canvas> canvas_;
  std::shared_ptr<Placement> placement_;
  QImage image_;  // the view's window into the canvas
  spiral::PlanePoint topLeft_{0, 0};
  QSize size_;
  // The tiles the image was put together from, null where it shows background; held, so that a
  // tile drawn again is never taken for the one whose pixels the image has. Each with the last
  // put-together that placed it.
  struct Shown {
    std::shared_ptr<const Tile> tile;
    uint64_t pass = 0;
  };
  std::unordered_map<TileKey, Shown, TileKeyHash> tiles_;
  uint64_t pass_ = 0;
};

}  // namespace explorer
