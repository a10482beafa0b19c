#pragma once
// Where each number of a picture lies: cell grid, centre, rings and the spiral walk. This is the one
// mapping between cells, pixels and numbers; the draw pass, the diagonal measure and the click
// report all go through it.

#include <cstdint>
#include <optional>

#include "Number.h"

namespace spiral {

// Division that rounds towards minus infinity, for cells left of or above the centre; in 64 bits
// for the plane's pixels, cells and tiles far from it.
constexpr int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
constexpr int64_t floorDiv64(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
constexpr int64_t ceilDiv64(int64_t a, int64_t b) { return -floorDiv64(-a, b); }

// A cell by its offset from the centre cell.
struct Cell {
  int row = 0;     // a: cells below the centre (negative above)
  int column = 0;  // b: cells right of the centre (negative left)
  bool operator==(const Cell&) const = default;
};

// The ring of a cell: 1 for the centre cell, K for the cells K - 1 steps out from it.
constexpr int64_t ringOf(const Cell& cell) {
  const int64_t a = cell.row < 0 ? -int64_t{cell.row} : cell.row;
  const int64_t b = cell.column < 0 ? -int64_t{cell.column} : cell.column;
  return (a > b ? a : b) + 1;
}

struct Pixel {
  int x = 0;
  int y = 0;
  bool operator==(const Pixel&) const = default;
};

// A square of pixels: `size` pixels across and down from its upper left pixel.
struct PixelSquare {
  Pixel upperLeft;
  int size = 0;
  bool operator==(const PixelSquare&) const = default;
};

struct Geometry {
  int boxSize = 0;          // s, the cell pitch in pixels
  int centerX = 0;          // pixel column of the centre cell
  int centerY = 0;          // pixel row of the centre cell
  int cellsPerSide = 0;     // N
  int64_t numberOfNumbers = 0;  // N * N
  int circleRadius = 0;     // radius of a circle cell
  int width = 0;            // the picture's interior in pixels
  int height = 0;

  // The centre pixel of a cell.
  constexpr Pixel centreOf(int64_t row, int64_t column) const {
    return {centerX + boxSize * static_cast<int>(column), centerY + boxSize * static_cast<int>(row)};
  }
  // The pixels a cell covers: its centre pixel and half a cell on either side.
  PixelSquare pixelsOf(const Cell& cell) const {
    const Pixel centre = centreOf(cell.row, cell.column);
    return {{centre.x - halfCell(), centre.y - halfCell()}, 2 * halfCell() + 1};
  }
  // The cell drawn over a pixel of the picture, the one whose pixels hold it. None outside the
  // picture and beyond the last number.
  std::optional<Cell> cellAt(int x, int y) const;
  // The number drawn over a pixel in a spiral from `start`, or none where cellAt() finds no cell.
  std::optional<Number> numberAt(int x, int y, Number start) const;
  // The number a cell holds in a spiral from `start`.
  static Number numberOf(const Cell& cell, Number start);

  // The rows and columns of the cells whose centre pixel lies on the picture.
  int firstRowOnPicture() const { return -floorDiv(centerY, boxSize); }
  int lastRowOnPicture() const { return floorDiv(height - 1 - centerY, boxSize); }
  int firstColumnOnPicture() const { return -floorDiv(centerX, boxSize); }
  int lastColumnOnPicture() const { return floorDiv(width - 1 - centerX, boxSize); }

 private:
  // How far a cell reaches either side of its centre pixel.
  constexpr int halfCell() const { return (boxSize - 1) / 2; }
};

// The geometry of a picture whose interior is width x height pixels, for cells of boxSize pixels.
// N is height / boxSize in single precision, rounded half to even.
Geometry computeGeometry(int width, int height, int boxSize);

// The spiral index (0 = centre) of the cell `row` cells below and `column` cells right of the centre.
int64_t spiralIndex(int64_t row, int64_t column);

// The forward walk. Starts at the centre (index 0) and steps one index at a time: the first step goes
// right, then the spiral turns counter-clockwise on the screen, ring after ring.
class SpiralWalk {
 public:
  // Moves to index `i`, which must be the index after the current one. Inline: the draw pass calls
  // it for every number.
  void advance(int64_t i);
  // Moves to any index from 1 on, forwards or back, as if it had stepped there: the pass jumps over
  // numbers that draw nothing.
  void moveTo(int64_t i) {
    if (i == index_ + 1) {
      advance(i);
    } else if (i > index_ && i < nextRingStart_) {
      placeInRing(i);  // most jumps of a pass stay in the ring: no root to take
    } else {
      jumpTo(i);
    }
  }

  int64_t row() const { return a_; }        // a: cells below the centre (negative above)
  int64_t column() const { return b_; }     // b: cells right of the centre (negative left)
  int64_t ring() const { return ring_; }    // K: 1 for the centre cell
  int64_t diagonalNWSE() const { return d_; }  // d = b - a
  int64_t diagonalSWNE() const { return e_; }  // e = a + b
  // The corner indices of the current ring: upper right, upper left, lower left, lower right.
  int64_t upperRight() const { return e1_; }
  int64_t upperLeft() const { return e2_; }
  int64_t lowerLeft() const { return e3_; }
  int64_t lowerRight() const { return e4_; }

 private:
  void enterRing(int64_t k);
  void jumpTo(int64_t i);
  // Moves to index i of the current ring, whose corners are set.
  void placeInRing(int64_t i);

  int64_t index_ = 0;
  int64_t ring_ = 1;
  int64_t a_ = 0, b_ = 0, d_ = 0, e_ = 0;
  int64_t e1_ = 0, e2_ = 0, e3_ = 0, e4_ = 0;
  int64_t nextRingStart_ = 1;  // (2K - 1)^2
};

// A new ring K starts right of the previous ring's lower right corner.
inline void SpiralWalk::enterRing(int64_t k) {
  ring_ = k;
  a_ = k - 2;
  b_ = k - 1;
  d_ = 1;
  e_ = 2 * k - 3;
  e1_ = (2 * k - 3) * (2 * k - 3) + (2 * k - 3);
  e2_ = (2 * k - 2) * (2 * k - 2);
  e3_ = 4 * k * k - 6 * k + 2;
  e4_ = (2 * k - 1) * (2 * k - 1) - 1;
  nextRingStart_ = (2 * k - 1) * (2 * k - 1);
}

inline void SpiralWalk::advance(int64_t i) {
  index_ = i;
  if (i == nextRingStart_) {
    enterRing(ring_ + 1);
  } else if (i <= e1_) {  // right column, going up
    --a_; --e_; ++d_;
  } else if (i <= e2_) {  // top row, going left
    --b_; --e_; --d_;
  } else if (i <= e3_) {  // left column, going down
    ++a_; ++e_; --d_;
  } else {                // bottom row, going right
    ++b_; ++e_; ++d_;
  }
}

}  // namespace spiral
