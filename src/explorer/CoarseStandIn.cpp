#include "CoarseStandIn.h"

#include <algorithm>
#include <array>
#include <vector>

#include "Geometry.h"

namespace explorer {

namespace {

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
  if (level.cellsPerPixel > 1) return spiral::floorDiv64(at.numerator, at.denominator * level.cellsPerPixel);
  return spiral::floorDiv64(at.numerator * level.boxSize, at.denominator) - (level.boxSize - 1) / 2;
}

// For each of `count` pixels along one axis, from `first` on, the coarser level's pixel under it.
std::vector<int64_t> coarserPixels(const spiral::ZoomLevel& fine, const spiral::ZoomLevel& coarse, int64_t first, int count) {
  std::vector<int64_t> pixels(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) pixels[static_cast<size_t>(i)] = pixelAt(coarse, middleOf(fine, first + i));
  return pixels;
}

// The coarser tiles of one row of the stand-in, left and right.
struct CoarserRow {
  std::array<const uint8_t*, 2> line{};  // null where the tile, or that row of it, is not at hand
  std::array<int64_t, 2> from{}, to{};  // the tile's pixels drawn in the row: from ... to - 1
};

}  // namespace

std::optional<QImage> coarseStandIn(const TileKey& key, const spiral::PlaneRect& part, const CachedTile& cached) {
  const int coarserZoom = key.settings.zoom + 1;
  if (coarserZoom >= static_cast<int>(spiral::kZoomLevels.size()) || spiral::isEmpty(part)) return std::nullopt;
  TileKey coarser = key;
  coarser.settings.zoom = coarserZoom;
  const std::vector<int64_t> columns = coarserPixels(key.settings.level(), coarser.settings.level(), part.x, part.width);
  const std::vector<int64_t> rows = coarserPixels(key.settings.level(), coarser.settings.level(), part.y, part.height);
  // The coarser tiles under the part: a coarser pixel covers at least as many cells, so at most
  // two of them a side, from (firstRow, firstColumn) on.
  const int64_t firstRow = spiral::floorDiv64(rows.front(), kTileSize), firstColumn = spiral::floorDiv64(columns.front(), kTileSize);
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
  QImage standIn(part.width, part.height, QImage::Format_Indexed8);
  if (standIn.isNull()) return std::nullopt;  // no memory: the background shows
  standIn.setColorTable(paletteColourTable());
  standIn.fill(spiral::kBlack);
  const int64_t rightBegins = (firstColumn + 1) * kTileSize;  // the right coarser tiles' first pixel
  const auto rowOf = [&](int64_t coarseY) {
    CoarserRow row;
    const auto& pair = tiles[static_cast<size_t>(spiral::floorDiv64(coarseY, kTileSize) - firstRow)];
    for (size_t j = 0; j < 2; ++j) {
      // A coarser tile drawn only in part gives the pixels it has.
      const Tile* tile = pair[j].get();
      if (!tile || coarseY < tile->drawn.y || coarseY >= tile->drawn.y + tile->drawn.height) continue;
      row.line[j] = tile->picture.indexLine(static_cast<int>(coarseY - tile->drawn.y));
      row.from[j] = tile->drawn.x;
      row.to[j] = tile->drawn.x + tile->drawn.width;
    }
    return row;
  };
  const auto width = static_cast<size_t>(part.width);
  for (int y = 0; y < part.height; ++y) {
    uchar* const out = standIn.scanLine(y);
    // Rows over the same coarser row are alike: a zoom in by one level makes each two or more.
    if (y > 0 && rows[static_cast<size_t>(y)] == rows[static_cast<size_t>(y) - 1]) {
      std::copy_n(standIn.constScanLine(y - 1), width, out);
      continue;
    }
    const CoarserRow row = rowOf(rows[static_cast<size_t>(y)]);
    for (size_t x = 0; x < width; ++x) {
      const int64_t coarseX = columns[x];
      const size_t j = coarseX >= rightBegins ? 1 : 0;
      if (row.line[j] && coarseX >= row.from[j] && coarseX < row.to[j]) out[x] = row.line[j][coarseX - row.from[j]];
    }
  }
  return standIn;
}

}  // namespace explorer
