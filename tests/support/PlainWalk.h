#pragma once
// The spiral walk counted step by step, the tests' reference for where each number lies: from the
// centre one step right, then counter-clockwise on the screen (up, left, down, right), each leg one
// cell longer every second turn. Rows grow downwards.

#include <cstdint>

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
