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

// k: 0 for the centre cell.
int64_t ringIndex(Cell cell) { return ringOf(cell) - 1; }

bool hasCells(const Geometry& g) { return g.boxSize > 0 && g.numberOfNumbers > 0; }

// The cells of a picture: their centre lies on it and their index is below N x N.
class PictureCells {
 public:
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

// Hands `emit` the rays of the run that begins at `innermost` (a cell of the picture) and leads
// along `direction` for as long as each step enters the next ring within the picture: its longest
// stretches of at least three cells whose indices follow one quadratic. Where the quadratic changes,
// one stretch ends and the next begins in the same cell.
template <class Emit>
void raysOfRun(const PictureCells& picture, Cell innermost, Compass direction, Emit emit) {
  const Step step = stepOf(direction);
  Cell cell = innermost;
  int64_t k = ringIndex(cell);
  int64_t index = *picture.indexOf(cell);
  Ray ray{direction, cell, k, k, {}};
  int64_t firstIndex = index;
  const auto finish = [&] {
    if (ray.cells() < 3) return;
    ray.indices.c = firstIndex - (4 * ray.kFrom + ray.indices.b) * ray.kFrom;
    emit(ray);
  };
  for (;;) {
    const Cell next = cell + step;
    if (ringIndex(next) != k + 1) break;
    const std::optional<int64_t> nextIndex = picture.indexOf(next);
    if (!nextIndex) break;
    const int64_t b = *nextIndex - index - (8 * k + 4);  // 4(k + 1)^2 - 4k^2 = 8k + 4
    if (ray.kTo > ray.kFrom && b != ray.indices.b) {
      finish();
      ray = Ray{direction, cell, k, k, {}};
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

Cell Ray::cellAt(int64_t k) const {
  const Step step = stepOf(direction);
  const auto steps = static_cast<int>(k - kFrom);
  return {first.row + steps * step.row, first.column + steps * step.column};
}

Quadratic numbersOn(const Ray& ray, Int128 start) { return {ray.indices.b, ray.indices.c + start}; }

std::vector<Cell> cellsOf(const Ray& ray) {
  std::vector<Cell> cells;
  cells.reserve(static_cast<size_t>(ray.cells()));
  for (int64_t k = ray.kFrom; k <= ray.kTo; ++k) cells.push_back(ray.cellAt(k));
  return cells;
}

std::vector<Ray> raysThrough(const Geometry& g, Cell cell) {
  std::vector<Ray> rays;
  if (!hasCells(g)) return rays;
  const PictureCells picture(g);
  if (!picture.indexOf(cell)) return rays;
  const int64_t k = ringIndex(cell);
  for (Compass direction : kCompass) {
    const Step step = stepOf(direction);
    Cell innermost = cell;
    for (Cell before = cell - step; ringIndex(before) + 1 == ringIndex(innermost) && picture.indexOf(before);
         before = before - step) {
      innermost = before;
    }
    raysOfRun(picture, innermost, direction, [&](const Ray& ray) {
      if (ray.kFrom <= k && k <= ray.kTo) rays.push_back(ray);
    });
  }
  return rays;
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
