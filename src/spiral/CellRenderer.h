#pragma once
// Drawing one cell: a square, a circle or a single pixel, its numeral, and the grid marks of cells
// that are not shown. Every rule here keeps a shown cell's centre pixel in the cell's colour and an
// unshown cell's centre pixel black, because later steps read the picture back by those pixels.

#include <cstdint>

#include "DrawSettings.h"
#include "Geometry.h"
#include "Picture.h"

namespace spiral {

// Whether a picture of this class and shape covers every cell with its colour, black ones
// included: all numbers drawn as squares.
bool fillsEveryCell(NumberClass numberClass, bool squares);

// Which corner of its ring a cell is, for the grid's corner strokes.
enum class RingCorner { None, UpperRight, UpperLeft, LowerLeft, LowerRight };

// The corner of the cell `row` cells below and `column` cells right of the centre; the centre
// cell is none.
constexpr RingCorner ringCornerOf(int64_t row, int64_t column) {
  if (row == 0 && column == 0) return RingCorner::None;
  if (row == -column) return row < 0 ? RingCorner::UpperRight : RingCorner::LowerLeft;
  if (row == column) return row < 0 ? RingCorner::UpperLeft : RingCorner::LowerRight;
  return RingCorner::None;
}

class CellRenderer {
 public:
  CellRenderer(const DrawSettings& settings, const Geometry& geometry, Picture& picture);

  // The cell of `number` centred on (x, y) in palette colour `color`, with its numeral if it fits.
  void drawCell(int x, int y, int color, Number number) {
    if (boxSize_ == 1) {
      picture_.setPixel(x, y, color);
    } else {
      drawLargeCell(x, y, color, number);
    }
  }
  // The grid mark of the unshown cell at walk index `index`: strokes at the ring's corners, a dot
  // beside the centre elsewhere. Draws nothing unless the grid applies.
  void drawGridMark(int x, int y, int64_t index, const SpiralWalk& walk) {
    if (gridMarks_) drawGridStroke(x, y, cornerOf(index, walk));
  }
  // The same for a cell whose corner is known.
  void drawGridMark(int x, int y, RingCorner corner) {
    if (gridMarks_) drawGridStroke(x, y, corner);
  }
  // Whether drawGridMark() draws anything at all.
  bool drawsUnshownCells() const { return gridMarks_; }
  // The grid dot of an unshown centre cell.
  void drawCentralGridDot(int x, int y);

  // The numeral colour on a cell of the given palette colour: white on dark cells, black on light.
  static int textColorFor(int color);

 private:
  void drawLargeCell(int x, int y, int color, Number number);
  static RingCorner cornerOf(int64_t index, const SpiralWalk& walk) {
    if (index == walk.upperRight()) return RingCorner::UpperRight;
    if (index == walk.upperLeft()) return RingCorner::UpperLeft;
    if (index == walk.lowerLeft()) return RingCorner::LowerLeft;
    if (index == walk.lowerRight()) return RingCorner::LowerRight;
    return RingCorner::None;
  }
  void drawGridStroke(int x, int y, RingCorner corner);
  void drawNumeral(int x, int y, int color, Number number);

  Picture& picture_;
  int boxSize_;
  int half_;    // a square spans the centre +- half_
  int radius_;
  bool squares_;
  bool numerals_;
  bool gridTicked_;
  bool gridMarks_;      // grid ticked, and the cell size and the class take grid marks
  bool veltraOutline_;  // black Veltra cells show as white outlines
};

}  // namespace spiral
