#pragma once
// The line lens: what a drawn picture's rays hold. For each ray its numbers' quadratic, how many of
// them are prime and how many the pass showed, and how many primes the Hardy-Littlewood constant of
// its quadratic leads one to expect. The window asks for the rays of one cell, the renderer for the
// rays with the most primes, the explorer for the rays of one cell over the cells in its view.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "DrawPass.h"
#include "Rays.h"

namespace spiral {

template <class RayT>
struct RayFactsOf {
  RayT ray;
  Quadratic numbers;              // f(k), the numbers on the ray in the pass's spiral
  int64_t primes = 0;             // how many of its numbers are prime, whatever the class
  std::optional<int64_t> shown;   // how many of its cells the pass showed; none unless it recorded them
  double hlConstant = 0;          // A, the Hardy-Littlewood constant of f
  double expectedPrimes = 0;      // A * sum of 1 / ln f(k) over its k with f(k) > 1
};
using RayFacts = RayFactsOf<Ray>;
using PlaneRayFacts = RayFactsOf<PlaneRay>;

// A of the numbers f(k) of a ray, and the primes it leads one to expect among f(kFrom) ... f(kTo).
struct PrimeExpectation {
  double hlConstant = 0;
  double expectedPrimes = 0;
};
PrimeExpectation expectationOf(const Quadratic& numbers, int64_t kFrom, int64_t kTo);

// The rays through a cell of a view of the endless plane, each as far as it runs among `cells` (the
// cells in view) within 2^64 - 1: its numbers in the view's spiral, its primes among those cells,
// and what A leads one to expect there. Nothing is recorded: a ray in view has at most a few
// thousand cells, each tested on its own.
std::vector<PlaneRayFacts> raysInView(const ViewSettings& view, const CellRange& cells, CellPos cell);

class LineLens {
 public:
  // The lens over the picture of a pass: its geometry and start, and which numbers it showed when it
  // was asked to record them (DrawSettings::recordShown). A refused pass has no rays.
  explicit LineLens(const DrawOutcome& pass);

  // The facts of the rays through a cell, by direction (at most eight); none off the picture.
  std::vector<RayFacts> raysThrough(Cell cell) const;
  // The `count` rays with the most primes, highest first; ties go to the higher A, then by
  // direction and innermost cell (row, then column).
  std::vector<RayFacts> bestRays(size_t count) const;
  RayFacts factsOf(const Ray& ray) const;

 private:
  int64_t primesOn(const Ray& ray) const;

  bool drawn_ = false;
  Geometry geometry_;
  Number start_ = 0;
  numlib::ZeroedVector<uint64_t> primeBits_;  // bit i: the number at walk index i is prime
  std::optional<numlib::ZeroedVector<uint64_t>> shownBits_;  // bit i: the pass showed it; none unrecorded
};

}  // namespace spiral
