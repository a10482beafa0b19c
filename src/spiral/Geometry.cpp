#include "Geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace spiral {

Geometry computeGeometry(int width, int height, int boxSize) {
  Geometry g;
  g.boxSize = boxSize;
  g.centerX = width / 2;
  g.centerY = height / 2;
  g.width = width;
  g.height = height;
  if (boxSize > 0) {
    // Single precision, rounded half to even (the default rounding mode).
    const float cells = static_cast<float>(height) / static_cast<float>(boxSize);
    g.cellsPerSide = static_cast<int>(std::nearbyint(cells));
  }
  g.numberOfNumbers = int64_t{g.cellsPerSide} * g.cellsPerSide;
  const int half = (boxSize - 1) / 2;
  // Large circles shrink by one pixel so that neighbours keep a gap.
  g.circleRadius = boxSize <= 15 ? half : half - 1;
  return g;
}

std::optional<Cell> Geometry::cellAt(int x, int y) const {
  if (boxSize <= 0 || x < 0 || y < 0 || x >= width || y >= height) return std::nullopt;
  const int half = halfCell();
  const Cell cell{floorDiv(y - centerY + half, boxSize), floorDiv(x - centerX + half, boxSize)};
  if (spiralIndex(cell.row, cell.column) >= numberOfNumbers) return std::nullopt;
  return cell;
}

std::optional<Number> Geometry::numberAt(int x, int y, Number start) const {
  const std::optional<Cell> cell = cellAt(x, y);
  if (!cell) return std::nullopt;
  return numberOf(*cell, start);
}

Number Geometry::numberOf(const Cell& cell, Number start) {
  return start + static_cast<Number>(spiralIndex(cell.row, cell.column));
}

int64_t spiralIndex(int64_t row, int64_t column) {
  const int64_t r = std::max(std::llabs(row), std::llabs(column));
  const int64_t lowerRightCorner = (2 * r + 1) * (2 * r + 1) - 1;
  if (row == r) return lowerRightCorner - (r - column);                 // bottom row
  if (column == -r) return lowerRightCorner - 2 * r - (r - row);        // left column
  if (row == -r) return lowerRightCorner - 4 * r - (column + r);        // top row
  return lowerRightCorner - 6 * r - (row + r);                          // right column
}

// Ring K holds the indices from (2K - 3)^2 to (2K - 1)^2 - 1, so 2K - 3 is the largest odd number
// whose square is at most i. Each side of the ring is then a straight run from its first corner.
void SpiralWalk::jumpTo(int64_t i) {
  int64_t root = static_cast<int64_t>(std::sqrt(static_cast<double>(i)));
  while (root * root > i) --root;
  while ((root + 1) * (root + 1) <= i) ++root;
  const int64_t odd = root % 2 == 1 ? root : root - 1;
  const int64_t k = (odd + 3) / 2;
  enterRing(k);
  placeInRing(i);
}

void SpiralWalk::placeInRing(int64_t i) {
  const int64_t k = ring_;
  index_ = i;
  if (i <= e1_) {  // right column, going up from the ring's first cell
    a_ = k - 2 - (i - (e1_ - (2 * k - 3)));
  } else if (i <= e2_) {  // top row, going left from the upper right corner
    a_ = 1 - k;
    b_ = k - 1 - (i - e1_);
  } else if (i <= e3_) {  // left column, going down from the upper left corner
    a_ = 1 - k + (i - e2_);
    b_ = 1 - k;
  } else {  // bottom row, going right from the lower left corner
    a_ = k - 1;
    b_ = 1 - k + (i - e3_);
  }
  d_ = b_ - a_;
  e_ = a_ + b_;
}

}  // namespace spiral
