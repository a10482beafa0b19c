#pragma once
// The spiral walked cell by cell, written plainly and apart from the engine: the centre holds the
// first number, the first step goes right, and the walk turns counter-clockwise on the screen after
// legs of 1, 1, 2, 2, 3, 3, ... cells. Shared by the tests that need to know where a number lies.

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

struct WalkedCell {
  int row = 0;     // cells below the centre
  int column = 0;  // cells right of the centre
  auto operator<=>(const WalkedCell&) const = default;
};

// The cells of the walk's first `count` indices, in walk order.
inline std::vector<WalkedCell> walkedCells(int64_t count) {
  const WalkedCell legs[] = {{0, 1}, {-1, 0}, {0, -1}, {1, 0}};  // right, up, left, down
  std::vector<WalkedCell> cells{{0, 0}};
  for (int leg = 0; int64_t(cells.size()) < count; ++leg)
    for (int step = 0; step <= leg / 2 && int64_t(cells.size()) < count; ++step)
      cells.push_back({cells.back().row + legs[leg % 4].row, cells.back().column + legs[leg % 4].column});
  return cells;
}

// The walk index of each of those cells.
inline std::map<WalkedCell, int64_t> walkIndices(int64_t count) {
  std::map<WalkedCell, int64_t> indices;
  const std::vector<WalkedCell> cells = walkedCells(count);
  for (size_t i = 0; i < cells.size(); ++i) indices[cells[i]] = int64_t(i);
  return indices;
}
