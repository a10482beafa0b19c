#pragma once
// What a tile shows until it is drawn: the next coarser zoom level's tiles over the same cells,
// their pixels scaled up without smoothing. Only tiles of the same settings but the level stand in
// (a tile key holds every other setting), so no pixel of other settings ever shows.

#include <functional>
#include <memory>
#include <optional>

#include <QImage>

#include "TileCache.h"

namespace explorer {

// A tile of the cache, drawn whole or in part, or null; it must not ask for tiles to be drawn.
using CachedTile = std::function<std::shared_ptr<const Tile>(const TileKey&)>;

// The stand-in for `part` of the tile of `key` (the part in view), an Indexed8 image of the part's
// size in the palette's colours: each pixel takes the coarser pixel that covers the cell it shows
// (black where the coarser tile is not at hand either). None at the coarsest level, or when no
// coarser tile is at hand.
std::optional<QImage> coarseStandIn(const TileKey& key, const spiral::PlaneRect& part, const CachedTile& cached);

}  // namespace explorer
