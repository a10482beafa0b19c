#include "DrawPass.h"

#include <algorithm>
#include <vector>

#include "CellRenderer.h"
#include "ColorSchemes.h"
#include "Diagonals.h"
#include "BandedPass.h"
#include "Palette.h"
#include "PassState.h"
#include "numlib.hpp"

namespace spiral {

namespace {

constexpr int64_t kYieldEvery = 1000;

// The last number of `count` from `start`, held at 2^64 - 1 where a refused picture would pass it;
// a picture without cells ends just before its start.
Number endNumberOf(Number start, int64_t count) {
  if (count == 0) return start > 0 ? start - 1 : 0;
  const auto rest = static_cast<Number>(count - 1);
  return start > UINT64_MAX - rest ? UINT64_MAX : start + rest;
}

}  // namespace

DrawOutcome validateRequest(const DrawSettings& settings, int width, int height) {
  DrawOutcome outcome;
  outcome.refusal = startRefusal(settings.start, settings.range);
  if (outcome.refusal != Refusal::None) return outcome;
  outcome.geometry = computeGeometry(width, height, settings.boxSize);
  outcome.startNumber = settings.start;
  const int64_t count = outcome.geometry.numberOfNumbers;
  outcome.endNumber = endNumberOf(settings.start, count);
  outcome.refusal = pictureRefusal(settings.start, count, settings.numberClass, settings.range);
  return outcome;
}

DrawOutcome drawSpiral(const DrawSettings& settings, Picture& picture, const DrawHooks& hooks) {
  DrawOutcome outcome = validateRequest(settings, picture.width(), picture.height());
  if (outcome.refusal != Refusal::None) return outcome;
  const Geometry& g = outcome.geometry;
  if (hooks.accepted) hooks.accepted(g);

  picture.clear(settings.threads);
  const Number start = outcome.startNumber;
  const int64_t count = g.numberOfNumbers;
  const CellSizeChoice& size = cellSizeOf(g.boxSize);
  ClassTest classTest(settings, start, count);
  ColorChooser colors(settings, picture, g.boxSize, count);
  CellRenderer cells(settings, g, picture);
  Tally tally;
  if (settings.recordShown) {
    outcome.shownBits.assign(static_cast<size_t>((count + 63) / 64), 0);
    tally.shownBits = outcome.shownBits.data();
  }
  bool prime = false;

  if (count > 0) {
    if (classTest.isShown(0, SpiralWalk(), prime)) {
      tally.countShown(0);
      cells.drawCell(g.centerX, g.centerY, colors.centreColor(start, prime), start);
      if (prime) tally.countPrime(start);
    } else {
      if (size.centreGridDot) cells.drawCentralGridDot(g.centerX, g.centerY);
      colors.centreNotShown();
    }
  }

  // Primes alone, on cells that draw nothing where no number is shown: the walk jumps from prime
  // to prime. Otherwise it steps through every number.
  const bool primesOnly = settings.numberClass == NumberClass::Primes && !cells.drawsUnshownCells();
  const auto nextIndex = [&](int64_t i) { return primesOnly ? classTest.nextPrimeIndex(i, count) : i; };
  // The message loop runs after every kYieldEvery-th number, whether or not it was drawn: before
  // a number is drawn, once for each such number passed since the last yield. Returns whether the
  // hook asked to stop.
  const bool yields = size.yields && hooks.yield;
  int64_t nextYield = kYieldEvery;
  const auto yieldThrough = [&](int64_t last) {
    for (; yields && nextYield <= last; nextYield += kYieldEvery) {
      if (hooks.yield(nextYield)) {
        outcome.stopped = true;
        break;
      }
    }
    return outcome.stopped;
  };
  // A large picture is drawn in bands by the workers; the walk below then has nothing left to draw.
  int64_t firstToWalk = 1;
  if (drawsInBands(settings, g)) firstToWalk = drawInBands({settings, g, classTest, colors, cells, picture}, tally, yieldThrough);
  SpiralWalk walk;
  for (int64_t i = nextIndex(firstToWalk); i < count; i = nextIndex(i + 1)) {
    if (yieldThrough(i - 1)) break;
    walk.moveTo(i);
    const Number n = start + static_cast<Number>(i);
    const auto [x, y] = g.centreOf(walk.row(), walk.column());
    if (classTest.isShown(i, walk, prime)) {
      tally.countShown(i);
      cells.drawCell(x, y, colors.colorOf(n, x, y, walk, prime), n);
      if (prime) tally.countPrime(n);
    } else {
      cells.drawGridMark(x, y, i, walk);
    }
  }
  if (!outcome.stopped) yieldThrough(count - 1);

  outcome.shownCount = tally.shown;
  outcome.smallestPrime = tally.smallestPrime;
  outcome.largestPrime = tally.largestPrime;
  outcome.smallestShown = start + static_cast<Number>(tally.firstShown);
  outcome.largestShown = start + static_cast<Number>(tally.lastShown);
  if (settings.ownRule) outcome.undefinedCount = classTest.undefinedCount();
  if (settings.recordShown) outcome.primeBits = classTest.takePrimeBits();
  if (outcome.stopped || !settings.calculateLongest) return outcome;

  if (tally.shown == 0) {
    outcome.longestNWSE = 0;
    outcome.longestSWNE = 0;
  } else {
    if (hooks.beforeDiagonals) hooks.beforeDiagonals();
    outcome.longestNWSE = longestDiagonal(picture, g, true);
    outcome.longestSWNE = longestDiagonal(picture, g, false);
  }
  return outcome;
}

void drawBusyNotice(Picture& picture, const Geometry& geometry, const std::string& text) {
  const int cx = geometry.centerX;
  const int cy = geometry.centerY;
  const BusyNotice notice = cellSizeOf(geometry.boxSize).busyNotice;
  if (notice == BusyNotice::None) return;
  picture.fillBox(cx - 60, cy + 130, cx + 70, cy + 174, kBlack);
  if (notice == BusyNotice::BoxAndText) picture.drawText(cx - 50, cy + 140, text, 14, kYellow);
}

}  // namespace spiral
