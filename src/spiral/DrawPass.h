#pragma once
// One draw pass: validate the request, clear the picture, walk every number of the spiral, test it
// against the chosen class, colour and draw its cell, and gather the statistics.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "DrawSettings.h"
#include "Geometry.h"
#include "Picture.h"
#include "StartNumber.h"
#include "ZeroedMemory.h"

namespace spiral {

struct DrawHooks {
  // Called once the request has passed validation, before the picture is cleared.
  std::function<void(const Geometry&)> accepted;
  // 1-pixel cells only: called at every 1000th number. Return true to stop the pass there.
  std::function<bool(int64_t index)> yield;
  // Called just before the diagonal runs are measured (only when they are).
  std::function<void()> beforeDiagonals;
};

struct DrawOutcome {
  Refusal refusal = Refusal::None;
  Geometry geometry;            // valid unless the start number was refused as too large
  Number startNumber = 0;       // valid unless the start number was refused as too large
  Number endNumber = 0;
  int64_t shownCount = 0;
  Number smallestPrime = 0;     // 0 when no prime is shown
  Number largestPrime = 0;      // 0 when no prime is shown
  Number smallestShown = 0;     // valid when shownCount > 0
  Number largestShown = 0;
  // With an own rule: how many numbers it left undefined (counted as not shown).
  std::optional<int64_t> undefinedCount;
  bool stopped = false;         // the yield hook asked to stop
  std::optional<int> longestNWSE;  // set when measured
  std::optional<int> longestSWNE;
  // With recordShown: bit i of shownBits[i / 64] is set when the number at walk index i was shown.
  // A stopped pass records what it drew.
  numlib::ZeroedVector<uint64_t> shownBits;
  // With recordShown: bit i of primeBits[i / 64] is set when the number at walk index i is prime.
  numlib::ZeroedVector<uint64_t> primeBits;
};

// Checks the request without drawing: the refusal and, unless the start number was too large,
// the geometry, the start and the end number.
DrawOutcome validateRequest(const DrawSettings& settings, int width, int height);

// Runs one whole pass on `picture`. A refused request leaves the picture untouched.
DrawOutcome drawSpiral(const DrawSettings& settings, Picture& picture, const DrawHooks& hooks = {});

// The notice shown while a pass of small cells runs: a black box under the centre with `text` in
// yellow, or the box alone, as the cell size's row says.
void drawBusyNotice(Picture& picture, const Geometry& geometry, const std::string& text);

}  // namespace spiral
