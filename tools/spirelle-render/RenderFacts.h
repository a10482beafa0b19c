#pragma once
// What a run of spirelle-render found out: the facts of each picture it drew, and the report of
// them that goes to stdout, as lines or as one JSON object.

#include <string>
#include <vector>

#include "DrawPass.h"
#include "LensFacts.h"
#include "QuadraticFacts.h"
#include "Tick.h"
#include "Tiles.h"

namespace render {

// One pass: what the picture shows, how long drawing it took, and what the line lens found in it.
struct PictureFacts {
  spiral::DrawOutcome outcome;
  double drawMilliseconds = 0;
  LensFacts lens;
  std::optional<QuadraticFacts> quadratic;  // --mark-quadratic's
};

// A picture drawn in tiles: centred on a number's cell, or at a density level.
struct TilePictureFacts {
  spiral::Number start = 0;
  spiral::Number centre = 0;
  int cellsPerPixel = 1;
  spiral::TileResult tile;
  double drawMilliseconds = 0;
  bool ownRule = false;  // drawn by --show-if: the report counts the numbers it left undefined
};

// Draws one picture and times the pass.
PictureFacts drawTimed(const spiral::DrawSettings& settings, spiral::Picture& picture,
                       const spiral::DrawHooks& hooks = {});

// An animation: the frames as they were drawn and encoded, frame 0 first.
struct AnimationFacts {
  spiral::Direction direction = spiral::Direction::In;
  int framesAsked = 0;
  std::vector<spiral::DrawOutcome> frames;
  double drawMilliseconds = 0;  // all frames together
};

enum class ReportForm { Lines, Json };

// The report: one fact a line for people, or one JSON object on one line, its keys sorted, for
// scripts. The JSON of an animation holds each frame's facts in its array "frames". The lens facts
// follow a picture's own: a table of rays in the lines, "inspect" and "lines" in the JSON; then
// the marked quadratic's, "quadratic" in the JSON.
std::string reportOf(const PictureFacts& facts, ReportForm form);
std::string reportOf(const AnimationFacts& facts, ReportForm form);
std::string reportOf(const TilePictureFacts& facts, ReportForm form);

}  // namespace render
