#include "CoarseStandIn.h"

#include <array>

namespace explorer {

namespace {

int64_t floorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// Along one axis, a plane pixel of a level covers a stretch of cells. Measured in cells, cell c
// spanning [c, c + 1), the middle of pixel p lies at numerator / denominator.
struct Middle {
  int64_t numerator;
  int64_t denominator;
};

Middle middleOf(const spiral::ZoomLevel& level, int64_t p) {
  if (level.cellsPerPixel > 1) return {(2 * p + 1) * level.cellsPerPixel, 2};  // cells pk ... pk + k - 1
  // Cell c covers the pixels from c * boxSize - half on, half = (boxSize - 1) / 2.
  const int64_t half = (level.boxSize - 1) / 2;
  return {2 * (p + half) + 1, 2 * int64_t{level.boxSize}};
}

// The pixel of a level that covers a point given in cells.
int64_t pixelAt(const spiral::ZoomLevel& level, Middle at) {
  if (level.cellsPerPixel > 1) return floorDiv(at.numerator, at.denominator * level.cellsPerPixel);
  return floorDiv(at.numerator * level.boxSize, at.denominator) - (level.boxSize - 1) / 2;
}

// For each pixel of a tile along one axis, from `first` on, the coarser level's pixel under it.
std::array<int64_t, kTileSize> coarserPixels(const spiral::ZoomLevel& fine, const spiral::ZoomLevel& coarse, int64_t first) {
  std::array<int64_t, kTileSize> pixels{};
  for (int i = 0; i < kTileSize; ++i) pixels[static_cast<size_t>(i)] = pixelAt(coarse, middleOf(fine, first + i));
  return pixels;
}

}  // namespace

std::optional<QImage> coarseStandIn(const TileKey& key, const CachedTile& cached) {
  const int coarserZoom = key.settings.zoom + 1;
  if (coarserZoom >= static_cast<int>(spiral::kZoomLevels.size())) return std::nullopt;
  TileKey coarser = key;
  coarser.settings.zoom = coarserZoom;
  const spiral::PlaneRect rect = key.rect();
  const auto columns = coarserPixels(key.settings.level(), coarser.settings.level(), rect.x);
  const auto rows = coarserPixels(key.settings.level(), coarser.settings.level(), rect.y);
  // The coarser tiles under this one: a coarser pixel covers at least as many cells, so at most
  // two of them a side, from (firstRow, firstColumn) on.
  const int64_t firstRow = floorDiv(rows.front(), kTileSize), firstColumn = floorDiv(columns.front(), kTileSize);
  std::array<std::array<std::shared_ptr<const Tile>, 2>, 2> tiles;
  bool any = false;
  for (size_t i = 0; i < 2; ++i) {
    for (size_t j = 0; j < 2; ++j) {
      coarser.row = firstRow + static_cast<int64_t>(i);
      coarser.column = firstColumn + static_cast<int64_t>(j);
      tiles[i][j] = cached(coarser);
      any = any || tiles[i][j] != nullptr;
    }
  }
  if (!any) return std::nullopt;
  Tile standIn(rect);
  standIn.picture.clear();
  for (int y = 0; y < kTileSize; ++y) {
    const int64_t coarseY = rows[static_cast<size_t>(y)];
    const int64_t i = floorDiv(coarseY, kTileSize) - firstRow;
    for (int x = 0; x < kTileSize; ++x) {
      const int64_t coarseX = columns[static_cast<size_t>(x)];
      const int64_t j = floorDiv(coarseX, kTileSize) - firstColumn;
      // A coarser tile drawn only in part gives the pixels it has.
      if (const std::shared_ptr<const Tile>& tile = tiles[static_cast<size_t>(i)][static_cast<size_t>(j)];
          tile && tile->covers({coarseX, coarseY, 1, 1})) {
        standIn.picture.setPixel(x, y, tile->picture.pixel(static_cast<int>(coarseX - tile->drawn.x),
                                                           static_cast<int>(coarseY - tile->drawn.y)));
      }
    }
  }
  wrapImage(standIn);
  return standIn.image.copy();  // the image owns its pixels; the raster goes with this function
}

}  // namespace explorer
