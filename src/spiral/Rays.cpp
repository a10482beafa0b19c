#include "Rays.h"

#include <optional>

namespace spiral {

namespace {

struct Step {
  int row = 0;
  int column = 0;
};

constexpr Step stepOf(Compass direction) {
  switch (direction) {
    case Compass::N: return {-1, 0};
    case Compass::NE: return {-1, 1};
    case Compass::E: return {0, 1};
    case Compass::SE: return {1, 1};
    case Compass::S: return {1, 0};
    case Compass::SW: return {1, -1};
    case Compass::W: return {0, -1};
    case Compass::NW: return {-1, -1};
  }
  return {};
}

Cell operator+(Cell cell, Step step) { return {cell.row + step.row, cell.column + step.column}; }
Cell operator-(Cell cell, Step step) { return {cell.row - step.row, cell.column - step.column}; }
CellPos operator+(CellPos cell, Step step) { return {cell.row + step.row, cell.column + step.column}; }
CellPos operator-(CellPos cell, Step step) { return {cell.row - step.row, cell.column - step.column}; }

// k: 0 for the centre cell.
int64_t ringIndex(Cell cell) { return ringOf(cell) - 1; }
int64_t ringIndex(CellPos cell) { return ringOfCell(cell) - 1; }

bool hasCells(const Geometry& g) { return g.boxSize > 0 && g.numberOfNumbers > 0; }

// The cells of a picture: their centre lies on it and their index is below N x N.
class PictureCells {
 public:
  using CellType = Cell;
  explicit PictureCells(const Geometry& g)
      : top_(g.firstRowOnPicture()), bottom_(g.lastRowOnPicture()), left_(g.firstColumnOnPicture()),
        right_(g.lastColumnOnPicture()), count_(g.numberOfNumbers) {}

  // The walk index of a cell of the picture; none for any other cell.
  std::optional<int64_t> indexOf(Cell cell) const {
    if (cell.row < top_ || cell.row > bottom_ || cell.column < left_ || cell.column > right_) return std::nullopt;
    const int64_t index = spiralIndex(cell.row, cell.column);
    if (index >= count_) return std::nullopt;
    return index;
  }

  // For each line along `step` that crosses the picture's rows and columns, its cell nearest the
  // centre.
  std::vector<Cell> lineAnchors(Step step) const {
    std::vector<Cell> anchors;
    if (step.row == 0) {
      for (int row = top_; row <= bottom_; ++row) anchors.push_back({row, 0});
    } else if (step.column == 0) {
      for (int column = left_; column <= right_; ++column) anchors.push_back({0, column});
    } else if (step.row == step.column) {  // NW-SE: column - row = d
      for (int d = left_ - bottom_; d <= right_ - top_; ++d) anchors.push_back({-floorDiv(d, 2), d - floorDiv(d, 2)});
    } else {  // SW-NE: row + column = e
      for (int e = top_ + left_; e <= bottom_ + right_; ++e) anchors.push_back({floorDiv(e, 2), e - floorDiv(e, 2)});
    }
    return anchors;
  }

 private:
  int top_, bottom_, left_, right_;
  int64_t count_;
};

// The cells of a rectangle of the endless plane whose walk positions go up to a largest one.
class PlaneCells {
 public:
  using CellType = CellPos;
  PlaneCells(const CellRange& cells, Number largestPosition) : cells_(cells), largest_(largestPosition) {}

  // The walk position of a cell among them, which may pass 2^63; none for any other cell.
  std::optional<Int128> indexOf(CellPos cell) const {
    if (cell.row < cells_.row0 || cell.row > cells_.row1 || cell.column < cells_.column0 || cell.column > cells_.column1) {
      return std::nullopt;
    }
    const std::optional<Number> position = walkPositionOf(cell);
    if (!position || *position > largest_) return std::nullopt;
    return Int128{*position};
  }

 private:
  CellRange cells_;
  Number largest_;
};

// Hands `emit` the rays of the run that begins at `innermost` (a cell of the picture) and leads
// along `direction` for as long as each step enters the next ring within the picture: its longest
// stretches of at least three cells whose indices follow one quadratic. Where the quadratic changes,
// one stretch ends and the next begins in the same cell.
template <class Cells, class Emit>
void raysOfRun(const Cells& cells, typename Cells::CellType innermost, Compass direction, Emit emit) {
  using CellT = typename Cells::CellType;
  const Step step = stepOf(direction);
  CellT cell = innermost;
  int64_t k = ringIndex(cell);
  auto index = *cells.indexOf(cell);
  RayAlong<CellT> ray{direction, cell, k, k, {}};
  auto firstIndex = index;
  const auto finish = [&] {
    if (ray.cells() < 3) return;
    ray.indices.c = Int128{firstIndex} - (Int128{4} * ray.kFrom + ray.indices.b) * ray.kFrom;
    emit(ray);
  };
  for (;;) {
    const CellT next = cell + step;
    if (ringIndex(next) != k + 1) break;
    const auto nextIndex = cells.indexOf(next);
    if (!nextIndex) break;
    const auto b = static_cast<int64_t>(*nextIndex - index - (8 * k + 4));  // 4(k + 1)^2 - 4k^2 = 8k + 4
    if (ray.kTo > ray.kFrom && b != ray.indices.b) {
      finish();
      ray = RayAlong<CellT>{direction, cell, k, k, {}};
      firstIndex = index;
    }
    ray.indices.b = b;
    ray.kTo = k + 1;
    cell = next;
    index = *nextIndex;
    ++k;
  }
  finish();
}

// Along any line the ring falls towards the centre, may stay for a few cells, and grows by one at
// every step beyond: a line holds one run in each direction, and it begins where the ring first
// grows. `anchor` is a cell of the line nearest the centre.
Cell runStart(Cell anchor, Step step) {
  Cell cell = anchor;
  while (ringIndex(cell + step) != ringIndex(cell) + 1) cell = cell + step;
  return cell;
}

}  // namespace

const char* nameOf(Compass direction) {
  static constexpr const char* kNames[] = {"N", "NE", "E", "SE", "S", "SW", "W", "NW"};
  return kNames[static_cast<int>(direction)];
}

template <class CellT>
CellT RayAlong<CellT>::cellAt(int64_t k) const {
  const Step step = stepOf(direction);
  const auto steps = static_cast<decltype(first.row)>(k - kFrom);
  return {first.row + steps * step.row, first.column + steps * step.column};
}
template struct RayAlong<Cell>;
template struct RayAlong<CellPos>;

std::vector<Cell> cellsOf(const Ray& ray) {
  std::vector<Cell> cells;
  cells.reserve(static_cast<size_t>(ray.cells()));
  for (int64_t k = ray.kFrom; k <= ray.kTo; ++k) cells.push_back(ray.cellAt(k));
  return cells;
}

namespace {

// The rays through a cell among `cells`, by direction.
template <class Cells>
std::vector<RayAlong<typename Cells::CellType>> raysThroughCell(const Cells& cells, typename Cells::CellType cell) {
  std::vector<RayAlong<typename Cells::CellType>> rays;
  if (!cells.indexOf(cell)) return rays;
  const int64_t k = ringIndex(cell);
  for (Compass direction : kCompass) {
    const Step step = stepOf(direction);
    auto innermost = cell;
    for (auto before = cell - step; ringIndex(before) + 1 == ringIndex(innermost) && cells.indexOf(before);
         before = before - step) {
      innermost = before;
    }
    raysOfRun(cells, innermost, direction, [&](const auto& ray) {
      if (ray.kFrom <= k && k <= ray.kTo) rays.push_back(ray);
    });
  }
  return rays;
}

}  // namespace

std::vector<Ray> raysThrough(const Geometry& g, Cell cell) {
  if (!hasCells(g)) return {};
  return raysThroughCell(PictureCells(g), cell);
}

std::vector<PlaneRay> raysThrough(const CellRange& cells, Number largestPosition, CellPos cell) {
  return raysThroughCell(PlaneCells(cells, largestPosition), cell);
}

// The picture holds whole rings and part of the next, so a run that leaves it never comes back, and
// a run whose first cell is not in the picture has none there.
std::vector<Ray> allRays(const Geometry& g) {
  std::vector<Ray> rays;
  if (!hasCells(g)) return rays;
  const PictureCells picture(g);
  for (Compass direction : kCompass) {
    const Step step = stepOf(direction);
    for (Cell anchor : picture.lineAnchors(step)) {
      const Cell innermost = runStart(anchor, step);
      if (!picture.indexOf(innermost)) continue;
      raysOfRun(picture, innermost, direction, [&](const Ray& ray) { rays.push_back(ray); });
    }
  }
  return rays;
}

}  // namespace spiral
