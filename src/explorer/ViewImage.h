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

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include <QImage>
#include <QSize>

#include "TileCache.h"

namespace explorer {

class ViewImage {
 public:
  // What a missing tile's part of the view gets: background, or nothing yet (Later), for a view put
  // together while its tiles are still drawn, which no one sees before it is whole.
  enum class Missing { Background, Later };

  // The view of `size` device pixels from the plane pixel `topLeft`, from the tiles of `keys`
  // (null where a tile is missing), each drawn over at least its part in view. Put together again as the missing tiles come, it copies only
  // those.
  const QImage& compose(spiral::PlanePoint topLeft, QSize size, const std::vector<TileKey>& keys,
                        const std::vector<std::shared_ptr<const Tile>>& tiles, Missing missing = Missing::Background);

 private:
  struct Canvas;

  // Whether the pixels at hand overlap the view; if so they are kept where the view finds them,
  // else the image starts afresh.
  bool keepWhatStaysInView(const spiral::PlaneRect& before, const spiral::PlaneRect& view);
  // A canvas for a view of `size` from `topLeft`, with the view in its middle.
  static std::shared_ptr<Canvas> canvasFor(spiral::PlanePoint topLeft, QSize size);
  void copyFromTile(const Tile* tile, const spiral::PlaneRect& part);

  std::shared_ptr<Canvas> canvas_;
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
