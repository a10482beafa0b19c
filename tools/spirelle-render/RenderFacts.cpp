#include "RenderFacts.h"

#include <chrono>
#include <cmath>
#include <cstdio>

#include <nlohmann/json.hpp>

#include "RenderOptions.h"

namespace render {
namespace {

using Json = nlohmann::json;

// A run along a diagonal that was not measured is null.
Json runOrNull(const std::optional<int>& run) { return run ? Json(*run) : Json(nullptr); }

// Milliseconds to the microsecond: a whole number without a fraction, others in the fewest digits
// that read back as the same double. nlohmann::json writes a double that way, except that it
// writes a whole one as 12.0.
Json milliseconds(double value) {
  const double rounded = std::round(value * 1000.0) / 1000.0;
  if (rounded == std::floor(rounded) && std::fabs(rounded) < 1e15) return static_cast<int64_t>(rounded);
  return rounded;
}

// What one picture shows; the same for a single picture and for each frame of an animation.
Json pictureJson(const spiral::DrawOutcome& outcome) {
  return {{"start", outcome.startNumber},
          {"end", outcome.endNumber},
          {"shown", outcome.shownCount},
          {"smallest_prime", outcome.smallestPrime},
          {"largest_prime", outcome.largestPrime},
          {"longest_nwse", runOrNull(outcome.longestNWSE)},
          {"longest_swne", runOrNull(outcome.longestSWNE)}};
}

void addGeometry(Json& object, const spiral::Geometry& geometry, double drawMilliseconds) {
  object["cells_per_side"] = geometry.cellsPerSide;
  object["numbers"] = geometry.numberOfNumbers;
  object["draw_ms"] = milliseconds(drawMilliseconds);
}

Json animationJson(const AnimationFacts& facts) {
  Json object = Json::object();
  addGeometry(object, facts.frames.front().geometry, facts.drawMilliseconds);
  object["animate"] = directionName(facts.direction);
  object["frames_asked"] = facts.framesAsked;
  object["frames_written"] = facts.frames.size();
  Json& frames = object["frames"] = Json::array();
  for (const spiral::DrawOutcome& frame : facts.frames) frames.push_back(pictureJson(frame));
  return object;
}

std::string jsonLine(const Json& object) { return object.dump() + "\n"; }

std::string millisecondsAsText(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", value);
  return text;
}

std::string runAsText(const std::optional<int>& run) { return run ? std::to_string(*run) : "not measured"; }

std::string pictureLines(const PictureFacts& facts) {
  const spiral::DrawOutcome& outcome = facts.outcome;
  using std::to_string;
  return "Start number:       " + to_string(outcome.startNumber) +
         "\nEnd number:         " + to_string(outcome.endNumber) +
         "\nCells per side:     " + to_string(outcome.geometry.cellsPerSide) +
         "\nNumbers:            " + to_string(outcome.geometry.numberOfNumbers) +
         "\nShown:              " + to_string(outcome.shownCount) +
         "\nSmallest prime:     " + to_string(outcome.smallestPrime) +
         "\nLargest prime:      " + to_string(outcome.largestPrime) +
         "\nLongest NW-SE run:  " + runAsText(outcome.longestNWSE) +
         "\nLongest SW-NE run:  " + runAsText(outcome.longestSWNE) +
         "\nDraw time:          " + millisecondsAsText(facts.drawMilliseconds) + " ms\n";
}

std::string animationLines(const AnimationFacts& facts) {
  const int written = int(facts.frames.size());
  const char* ending = written < facts.framesAsked ? ", the end of the number range came first" : "";
  using std::to_string;
  return "Frames written:     " + to_string(written) + " of " + to_string(facts.framesAsked) + ending +
         "\nFirst start number: " + to_string(facts.frames.front().startNumber) +
         "\nLast start number:  " + to_string(facts.frames.back().startNumber) +
         "\nCells per side:     " + to_string(facts.frames.front().geometry.cellsPerSide) +
         "\nDraw time:          " + millisecondsAsText(facts.drawMilliseconds) + " ms\n";
}

}  // namespace

PictureFacts drawTimed(const spiral::DrawSettings& settings, spiral::Picture& picture, const spiral::DrawHooks& hooks) {
  const auto begin = std::chrono::steady_clock::now();
  spiral::DrawOutcome outcome = spiral::drawSpiral(settings, picture, hooks);
  const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - begin;
  return {outcome, elapsed.count()};
}

std::string reportOf(const PictureFacts& facts, ReportForm form) {
  if (form == ReportForm::Lines) return pictureLines(facts);
  Json object = pictureJson(facts.outcome);
  addGeometry(object, facts.outcome.geometry, facts.drawMilliseconds);
  return jsonLine(object);
}

std::string reportOf(const AnimationFacts& facts, ReportForm form) {
  return form == ReportForm::Lines ? animationLines(facts) : jsonLine(animationJson(facts));
}

}  // namespace render
