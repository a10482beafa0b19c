#pragma once
// The spiral walk counted step by step, the tests' reference for where each number lies: from the
// centre one step right, then counter-clockwise on the screen (up, left, down, right), each leg one
// cell longer every second turn. Rows grow downwards.

#include <cstdint>
#include <map>
#include <vector>

class PlainWalk {
 public:
  // At the centre, step 0.
  PlainWalk() = default;

  // At the lower right corner of the square of (2r + 1)^2 cells around the centre: its last cell,
  // step (2r + 1)^2 - 1, two thirds into the walk's rightward leg of 2r + 1 cells.
  static PlainWalk atLowerRightCorner(int64_t r) {
    PlainWalk walk;
    walk.row_ = r;
    walk.column_ = r;
    walk.leg_ = 4 * r;
    walk.stepsInLeg_ = 2 * r;
    walk.step_ = static_cast<uint64_t>(2 * r + 1) * static_cast<uint64_t>(2 * r + 1) - 1;
    return walk;
  }

  void next() {
    static constexpr int kColumnSteps[] = {1, 0, -1, 0};
    static constexpr int kRowSteps[] = {0, -1, 0, 1};
    column_ += kColumnSteps[leg_ % 4];
    row_ += kRowSteps[leg_ % 4];
    ++step_;
    if (++stepsInLeg_ == leg_ / 2 + 1) {
      ++leg_;
      stepsInLeg_ = 0;
    }
  }

  int64_t row() const { return row_; }
  int64_t column() const { return column_; }
  uint64_t step() const { return step_; }

 private:
  int64_t row_ = 0, column_ = 0;
  int64_t leg_ = 0, stepsInLeg_ = 0;
  uint64_t step_ = 0;
};

// A cell of the walk, ordered so that it can key a map.
struct WalkedCell {
  int row = 0;     // cells below the centre
  int column = 0;  // cells right of the centre
  auto operator<=>(const WalkedCell&) const = default;
};

// The cells of the walk's first `count` indices, in walk order.
inline std::vector<WalkedCell> walkedCells(int64_t count) {
  std::vector<WalkedCell> cells;
  for (PlainWalk walk; int64_t(cells.size()) < count; walk.next())
    cells.push_back({int(walk.row()), int(walk.column())});
  return cells;
}

// The walk index of each of those cells.
inline std::map<WalkedCell, int64_t> walkIndices(int64_t count) {
  std::map<WalkedCell, int64_t> indices;
  const std::vector<WalkedCell> cells = walkedCells(count);
  for (size_t i = 0; i < cells.size(); ++i) indices[cells[i]] = int64_t(i);
  return indices;
}
