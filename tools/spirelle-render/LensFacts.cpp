#include "LensFacts.h"

#include "Geometry.h"

namespace render {

spiral::Cell cellAtIndex(int64_t index) {
  spiral::SpiralWalk walk;
  if (index > 0) walk.moveTo(index);
  return {static_cast<int>(walk.row()), static_cast<int>(walk.column())};
}

namespace {

InspectedNumber inspect(const spiral::LineLens& lens, const spiral::DrawOutcome& pass, spiral::Number number) {
  const spiral::Cell cell = cellAtIndex(static_cast<int64_t>(number - pass.startNumber));
  return {number, spiral::ringOf(cell), numlib::isPrime(number), numlib::factorise(number), lens.raysThrough(cell)};
}

}  // namespace

LensFacts lensFactsOf(const spiral::DrawOutcome& pass, std::optional<spiral::Number> inspected, int lines) {
  LensFacts facts;
  if (!inspected && lines == 0) return facts;
  const spiral::LineLens lens(pass);
  if (inspected) facts.inspected = inspect(lens, pass, *inspected);
  if (lines > 0) facts.lines = lens.bestRays(static_cast<size_t>(lines));
  return facts;
}

}  // namespace render
