#pragma once
// Rays: the straight lines of the spiral. A ray is a run of at least three cells of the picture
// along one of the eight compass directions, each step entering the next ring, whose numbers are
// the values of one quadratic 4k^2 + bk + c of the ring index k (0 at the centre, ring - 1). Rays are
// maximal: they reach inward and outward as far as both hold within the picture.
//
// Away from the picture's edge, a cell lies on the rays of the three directions that lead outward
// from it; a ring's corner has five such directions and the centre eight. Only at a ring's lower
// right corner, beside which the walk starts the next ring, do the numbers leave their quadratic
// after the first step east and north-east: that corner lies on three rays.
//
// Rays are found from the walk's mapping of cells to indices (spiralIndex), so they hold for any
// start: a ray's quadratic describes the walk indices of its cells, and numbersOn() adds a start.
// The same rays are found among any rectangle of cells of the endless plane, as the explorer shows
// it, with 64-bit cells.

#include <array>
#include <cstdint>
#include <vector>

#include "Geometry.h"
#include "Int128.h"
#include "Tiles.h"

namespace spiral {

using numlib::Int128;

// The eight directions as seen on the screen: north is up, one row above.
enum class Compass { N, NE, E, SE, S, SW, W, NW };
inline constexpr std::array<Compass, 8> kCompass = {Compass::N,  Compass::NE, Compass::E, Compass::SE,
                                                    Compass::S, Compass::SW, Compass::W,  Compass::NW};
// "N", "NE", "E", ...
const char* nameOf(Compass direction);

// f(k) = 4k^2 + bk + c.
struct Quadratic {
  int64_t b = 0;
  Int128 c = 0;
  Int128 at(int64_t k) const { return (Int128{4} * k + b) * k + c; }
  bool operator==(const Quadratic&) const = default;
};

// A ray whose cells are of the type CellT: Cell in a picture, CellPos in the endless plane.
template <class CellT>
struct RayAlong {
  Compass direction = Compass::N;
  CellT first;         // the innermost cell, at ring index kFrom
  int64_t kFrom = 0;   // the ring indices of its innermost and outermost cell
  int64_t kTo = 0;
  Quadratic indices;   // the walk index of its cell at ring index k: the numbers of a spiral from 0

  int64_t cells() const { return kTo - kFrom + 1; }
  // Its cell at ring index k, kFrom <= k <= kTo.
  CellT cellAt(int64_t k) const;
  bool operator==(const RayAlong&) const = default;
};
using Ray = RayAlong<Cell>;
using PlaneRay = RayAlong<CellPos>;

// The numbers on a ray in a spiral from `start`: its quadratic with the start in c.
template <class CellT>
Quadratic numbersOn(const RayAlong<CellT>& ray, Int128 start) {
  return {ray.indices.b, ray.indices.c + start};
}

// The cells of a ray from the innermost outward.
std::vector<Cell> cellsOf(const Ray& ray);

// The rays through a cell, by direction; none for a cell that is not in the picture.
std::vector<Ray> raysThrough(const Geometry& geometry, Cell cell);

// The rays through a cell of the plane among `cells`, whose walk positions go up to `largestPosition`
// (the cells past it hold no number): as in a picture of those cells. None for a cell not among them.
std::vector<PlaneRay> raysThrough(const CellRange& cells, Number largestPosition, CellPos cell);

// Every ray of the picture once: by direction, then line by line.
std::vector<Ray> allRays(const Geometry& geometry);

}  // namespace spiral
