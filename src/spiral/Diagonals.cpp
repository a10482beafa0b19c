#include "Diagonals.h"

#include <algorithm>
#include <vector>

namespace spiral {

namespace {

// Which cells are marked, read once row by row from the cells' centre pixels, so that the
// diagonal walks below touch a compact table instead of jumping through the raster. The table
// spans every cell a walk can reach; cells outside the picture read as unmarked.
class MarkTable {
 public:
  MarkTable(const Picture& picture, const Geometry& g, int half) {
    lastRow_ = std::max(g.lastRowOnPicture(), half);
    firstColumn_ = std::min(g.firstColumnOnPicture(), -half - 1);
    firstRow_ = -half - 1;
    const int lastColumn = std::max(g.lastColumnOnPicture(), half);
    columns_ = lastColumn - firstColumn_ + 1;
    marks_.resize(static_cast<size_t>(lastRow_ - firstRow_ + 1) * columns_);
    for (int a = firstRow_; a <= lastRow_; ++a) {
      for (int b = firstColumn_; b <= lastColumn; ++b) {
        const Pixel centre = g.centreOf(a, b);
        at(a, b) = picture.isMarked(centre.x, centre.y);
      }
    }
  }
  bool marked(int a, int b) const { return marks_[index(a, b)]; }

 private:
  size_t index(int a, int b) const { return static_cast<size_t>(a - firstRow_) * columns_ + (b - firstColumn_); }
  uint8_t& at(int a, int b) { return marks_[index(a, b)]; }

  int firstRow_, lastRow_, firstColumn_, columns_;
  std::vector<uint8_t> marks_;
};

}  // namespace

// Walks every diagonal of one kind from two edges of the square of cells around the centre to the
// picture's edge, and keeps the longest run of marked cells. A walk ends where the next cell's
// centre would lie below the picture, or beyond its right (NW-SE) or left (SW-NE) edge.
int longestDiagonal(const Picture& picture, const Geometry& g, bool nwse) {
  if (g.boxSize <= 0 || g.cellsPerSide <= 0) return 0;
  const int n = g.cellsPerSide;
  const int h = n / 2;
  const MarkTable table(picture, g, h);
  const int lastRow = g.lastRowOnPicture();
  const int lastColumn = g.lastColumnOnPicture();
  const int firstColumn = g.firstColumnOnPicture();
  const int stepB = nwse ? 1 : -1;
  int longest = 0;
  for (int j = 0; j < n; ++j) {
    for (int side : {-1, 1}) {
      if (j == 0 && side == 1) continue;  // the main diagonal is walked once
      int a = 0;
      int b = 0;
      if (nwse) {
        a = side < 0 ? -(h - j) : -h;
        b = side < 0 ? -h : -(h - j);
      } else {
        a = side < 0 ? -h : -(h - j);
        b = side < 0 ? h - j : h;
      }
      int run = 0;
      while (a <= lastRow && (nwse ? b <= lastColumn : b >= firstColumn)) {
        if (table.marked(a, b)) {
          ++run;
        } else {
          longest = std::max(longest, run);
          run = 0;
        }
        ++a;
        b += stepB;
      }
      longest = std::max(longest, run);
    }
  }
  return longest;
}

}  // namespace spiral
