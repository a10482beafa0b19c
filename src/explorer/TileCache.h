#pragma once
// The explorer's tiles: squares of the plane, drawn once by the engine and kept in a cache of fixed
// size, the least recently used going first, so that roaming never grows the memory beyond it.

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <unordered_map>

#include <QImage>

#include "Picture.h"
#include "Tiles.h"

namespace explorer {

// A tile's side in plane pixels. The engine pays for each run of a ring's side that a tile cuts,
// and the window's thread for each tile it asks for and takes over: a 1920 x 1080 view took about
// 30 % less time in tiles of 512 than in tiles of 128 with one worker, and 40 % less with two.
inline constexpr int kTileSize = 512;
// The most the cache holds, in bytes of pixels and per-cell counts.
inline constexpr int64_t kTileCacheBudget = int64_t{256} << 20;

// Tile (column, row) covers the plane pixels from (column, row) * kTileSize on.
struct TileKey {
  spiral::ViewSettings settings;
  int64_t column = 0;
  int64_t row = 0;
  bool operator==(const TileKey&) const = default;
  spiral::PlaneRect rect() const { return {column * kTileSize, row * kTileSize, kTileSize, kTileSize}; }
  // The part of the tile inside a plane rectangle (a view).
  spiral::PlaneRect partIn(const spiral::PlaneRect& view) const { return spiral::overlap(rect(), view); }
};

struct TileKeyHash {
  std::size_t operator()(const TileKey& key) const;
};

// A drawn tile: the engine's raster, an image over the same pixels for painting, and the facts.
// A tile at the view's edge is first drawn only over the part in view, so that the view is whole
// sooner; the whole tile follows once it is.
struct Tile {
  explicit Tile(const spiral::PlaneRect& drawnPart) : picture(drawnPart.width, drawnPart.height), drawn(drawnPart) {}
  bool isWhole(const TileKey& key) const { return drawn == key.rect(); }
  bool covers(const spiral::PlaneRect& part) const { return spiral::contains(drawn, part); }

  spiral::Picture picture;  // over `drawn`
  spiral::PlaneRect drawn;  // the plane pixels drawn: the tile's rect, or the part of it in view
  QImage image;  // Indexed8 over picture's pixels, in the palette's colours
  spiral::TileResult result;  // over `drawn`
  bool exactClusters = false;  // drawn with the cluster colours at hand
  uint64_t placedBy = 0;  // the serial of the view placement a worker copied its pixels into; 0: none
};

// The tile's image over its raster, without a copy.
void wrapImage(Tile& tile);
// The palette as an Indexed8 image's colour table.
const QList<QRgb>& paletteColourTable();

class TileCache {
 public:
  explicit TileCache(int64_t budget = kTileCacheBudget) : budget_(budget) {}

  // The tile, now the most recently used; null when the cache has none.
  std::shared_ptr<const Tile> find(const TileKey& key);
  // Keeps the tile, dropping the least recently used ones beyond the budget.
  void insert(const TileKey& key, std::shared_ptr<const Tile> tile);
  void removeIf(const std::function<bool(const TileKey&, const Tile&)>& drop);
  int64_t bytes() const { return bytes_; }
  std::size_t size() const { return index_.size(); }

 private:
  using Entry = std::pair<TileKey, std::shared_ptr<const Tile>>;
  static int64_t bytesOf(const Tile& tile);
  // Drops the entry and its bytes, leaving its slot in the index to the caller.
  void dropFromOrder(std::list<Entry>::iterator entry);
  void erase(std::list<Entry>::iterator entry);

  int64_t budget_;
  int64_t bytes_ = 0;
  std::list<Entry> order_;  // the most recently used first
  std::unordered_map<TileKey, std::list<Entry>::iterator, TileKeyHash> index_;
};

}  // namespace explorer
