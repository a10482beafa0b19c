#include "LineMarks.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "Palette.h"

namespace render {
namespace {

int sign(int x) { return (x > 0) - (x < 0); }

// Cells have the same pitch across and down, so the centres of a ray's cells lie on a line of
// single pixel steps: across, down or at 45 degrees.
void markRay(spiral::Picture& picture, const spiral::Geometry& geometry, const spiral::Ray& ray) {
  const spiral::Cell first = ray.first, last = ray.cellAt(ray.kTo);
  const spiral::Pixel from = geometry.centreOf(first.row, first.column);
  const spiral::Pixel to = geometry.centreOf(last.row, last.column);
  const int stepX = sign(to.x - from.x), stepY = sign(to.y - from.y);
  const int steps = std::max(std::abs(to.x - from.x), std::abs(to.y - from.y));
  for (int i = 0; i <= steps; ++i) picture.setPixel(from.x + i * stepX, from.y + i * stepY, spiral::kMarkColour);
}

void outlineCell(spiral::Picture& picture, const spiral::Geometry& geometry, const spiral::Cell& cell) {
  const spiral::Pixel centre = geometry.centreOf(cell.row, cell.column);
  const int half = (geometry.boxSize - 1) / 2;
  for (int step = -half; step <= half; ++step) {
    for (const auto& [x, y] : {std::pair{centre.x + step, centre.y - half}, std::pair{centre.x + step, centre.y + half},
                               std::pair{centre.x - half, centre.y + step}, std::pair{centre.x + half, centre.y + step}}) {
      picture.setPixel(x, y, spiral::kMarkColour);
    }
  }
}

}  // namespace

void markCells(spiral::Picture& picture, const spiral::Geometry& geometry, const std::vector<spiral::Cell>& cells) {
  for (const spiral::Cell& cell : cells) outlineCell(picture, geometry, cell);
}

void markRays(spiral::Picture& picture, const spiral::Geometry& geometry, const std::vector<spiral::RayFacts>& rays) {
  for (const spiral::RayFacts& facts : rays) markRay(picture, geometry, facts.ray);
}

}  // namespace render
