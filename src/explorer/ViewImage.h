#pragma once
// The view as one Indexed8 image of palette indices, put together from its tiles. The image is
// kept: when the view has only moved, its pixels move within it and only those that came into
// view are copied from tiles, as a scrolling window repaints only what it exposes. Pixels are
// reused only from the very tile they came from: a tile drawn again since (cluster colours that
// arrived), or one of other settings, is copied whole.

#include <memory>
#include <unordered_map>
#include <vector>

#include <QImage>
#include <QSize>

#include "TileCache.h"

namespace explorer {

class ViewImage {
 public:
  // The view of `size` device pixels from the plane pixel `topLeft`, from the tiles of `keys`
  // (null where a tile is missing: background there). Put together again as the missing tiles come,
  // it copies only those.
  const QImage& compose(spiral::PlanePoint topLeft, QSize size, const std::vector<TileKey>& keys,
                        const std::vector<std::shared_ptr<const Tile>>& tiles);

 private:
  // Whether the pixels at hand overlap the view; if so they are moved to where that part is now,
  // else the image starts afresh.
  bool keepWhatStaysInView(spiral::PlanePoint topLeft, QSize size);
  void copyFromTile(const Tile* tile, const spiral::PlaneRect& tileRect, const spiral::PlaneRect& part, uchar* pixels);

  QImage image_;
  spiral::PlanePoint topLeft_{0, 0};
  // The tiles the image was put together from, null where it shows background; held, so that a
  // tile drawn again is never taken for the one whose pixels the image has.
  std::unordered_map<TileKey, std::shared_ptr<const Tile>, TileKeyHash> tiles_;
};

}  // namespace explorer
