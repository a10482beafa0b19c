#include "RenderFacts.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

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

// The numbers at either end of what a picture reports on: for a class the smallest and largest prime
// shown, for an own rule the smallest and largest number shown (0 where it shows none), with how many
// numbers the rule left undefined.
struct Extremes {
  const char* what;  // "prime" or "shown"
  spiral::Number smallest;
  spiral::Number largest;
};
Extremes extremesOf(const spiral::DrawOutcome& outcome) {
  if (!outcome.undefinedCount) return {"prime", outcome.smallestPrime, outcome.largestPrime};
  if (outcome.shownCount == 0) return {"shown", 0, 0};
  return {"shown", outcome.smallestShown, outcome.largestShown};
}

// What one picture shows; the same for a single picture and for each frame of an animation.
Json pictureJson(const spiral::DrawOutcome& outcome) {
  const Extremes extremes = extremesOf(outcome);
  Json object = {{"start", outcome.startNumber},
                 {"end", outcome.endNumber},
                 {"shown", outcome.shownCount},
                 {std::string("smallest_") + extremes.what, extremes.smallest},
                 {std::string("largest_") + extremes.what, extremes.largest},
                 {"longest_nwse", runOrNull(outcome.longestNWSE)},
                 {"longest_swne", runOrNull(outcome.longestSWNE)}};
  if (outcome.undefinedCount) object["undefined"] = *outcome.undefinedCount;
  return object;
}

// A whole number exactly, as JSON writes integers. nlohmann::json holds 64 bits, signed or unsigned;
// a wider one (the constant of a ray whose numbers come near 2^64) goes in as a text that begins
// with kWideIntegerMark, which jsonLine() writes as its bare digits.
constexpr char kWideIntegerMark = '\x01';
Json exactInteger(numlib::Int128 x) {
  if (x >= std::numeric_limits<int64_t>::min() && x <= std::numeric_limits<int64_t>::max()) return int64_t(x);
  if (x > 0 && x <= std::numeric_limits<uint64_t>::max()) return uint64_t(x);
  return kWideIntegerMark + numlib::toDecimal(x);
}

// The number as a product of prime powers, "2^3 × 3^2 × 7" (U+00D7 between the factors): a prime
// is itself, and 0 and 1, which are no such product, are written as they are.
std::string factorsText(const InspectedNumber& inspected) {
  if (inspected.factors.empty()) return std::to_string(inspected.number);
  std::string text;
  for (const numlib::PrimePower& factor : inspected.factors) {
    if (!text.empty()) text += " \u00D7 ";
    text += std::to_string(factor.prime);
    if (factor.exponent > 1) text += "^" + std::to_string(factor.exponent);
  }
  return text;
}

Json rayJson(const spiral::RayFacts& facts) {
  const spiral::Ray& ray = facts.ray;
  return {{"direction", spiral::nameOf(ray.direction)},
          {"polynomial", Json::array({4, facts.numbers.b, exactInteger(facts.numbers.c)})},
          {"k_from", ray.kFrom},
          {"k_to", ray.kTo},
          {"cells", ray.cells()},
          {"shown", facts.shown ? Json(*facts.shown) : Json(nullptr)},
          {"primes", facts.primes},
          {"expected_primes", facts.expectedPrimes},
          {"hl_constant", facts.hlConstant}};
}

Json raysJson(const std::vector<spiral::RayFacts>& rays) {
  Json array = Json::array();
  for (const spiral::RayFacts& facts : rays) array.push_back(rayJson(facts));
  return array;
}

void addLens(Json& object, const LensFacts& lens) {
  if (const std::optional<InspectedNumber>& inspected = lens.inspected) {
    object["inspect"] = {{"number", inspected->number},
                         {"ring", inspected->ring},
                         {"prime", inspected->prime},
                         {"factors", factorsText(*inspected)},
                         {"rays", raysJson(inspected->rays)}};
  }
  if (lens.lines) object["lines"] = raysJson(*lens.lines);
}

// The exact coefficients [p, q] of a factor p t + q.
Json factorJson(numlib::Int128 p, numlib::Int128 q) { return Json::array({exactInteger(p), exactInteger(q)}); }

Json stretchJson(const RayStretch& stretch) {
  return {{"direction", spiral::nameOf(stretch.ray.direction)},
          {"polynomial", Json::array({4, stretch.numbers.b, exactInteger(stretch.numbers.c)})},
          {"k_from", stretch.kFrom},
          {"k_to", stretch.kTo},
          {"cells", stretch.kTo - stretch.kFrom + 1}};
}

void addQuadratic(Json& object, const std::optional<QuadraticFacts>& quadratic) {
  if (!quadratic) return;
  const numlib::QuadraticPolynomial& f = quadratic->f;
  Json rays = Json::array();
  for (const RayStretch& stretch : quadratic->rays) rays.push_back(stretchJson(stretch));
  object["quadratic"] = {{"polynomial", Json::array({exactInteger(f.a), exactInteger(f.b), exactInteger(f.c)})},
                         {"values", quadratic->values.size()},
                         {"primes", quadratic->primes},
                         {"hl_constant", quadratic->hlConstant},
                         {"expected_primes", quadratic->expectedPrimes},
                         {"factors_over_integers", quadratic->factors.has_value()},
                         {"fixed_prime_divisors", quadratic->fixedPrimes},
                         {"rays", rays}};
  if (const std::optional<numlib::LinearFactors>& factors = quadratic->factors) {
    object["quadratic"]["factors"] = {{"constant", exactInteger(factors->constant)},
                                      {"linear", Json::array({factorJson(factors->p1, factors->q1),
                                                              factorJson(factors->p2, factors->q2)})}};
  }
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

std::string jsonLine(const Json& object) {
  std::string text = object.dump();
  // A wide integer, dumped as the text "\u0001<digits>" (JSON escapes the mark), becomes <digits>.
  const std::string marked = "\"\\u0001";
  static_assert(kWideIntegerMark == '\x01');
  for (std::size_t at = text.find(marked); at != std::string::npos; at = text.find(marked, at)) {
    text.erase(text.find('"', at + marked.size()), 1);
    text.erase(at, marked.size());
  }
  return text + "\n";
}

std::string fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string millisecondsAsText(double value) { return fixed(value, 3); }

std::string runAsText(const std::optional<int>& run) { return run ? std::to_string(*run) : "not measured"; }

std::string pictureLines(const PictureFacts& facts) {
  const spiral::DrawOutcome& outcome = facts.outcome;
  const Extremes extremes = extremesOf(outcome);
  const std::string what = extremes.what == std::string("prime") ? "prime:" : "shown:";
  using std::to_string;
  return "Start number:       " + to_string(outcome.startNumber) +
         "\nEnd number:         " + to_string(outcome.endNumber) +
         "\nCells per side:     " + to_string(outcome.geometry.cellsPerSide) +
         "\nNumbers:            " + to_string(outcome.geometry.numberOfNumbers) +
         "\nShown:              " + to_string(outcome.shownCount) +
         (outcome.undefinedCount ? "\nUndefined:          " + to_string(*outcome.undefinedCount) : "") +
         "\nSmallest " + what + "     " + to_string(extremes.smallest) +
         "\nLargest " + what + "      " + to_string(extremes.largest) +
         "\nLongest NW-SE run:  " + runAsText(outcome.longestNWSE) +
         "\nLongest SW-NE run:  " + runAsText(outcome.longestSWNE) +
         "\nDraw time:          " + millisecondsAsText(facts.drawMilliseconds) + " ms\n";
}

// " + 3k", " − 41" (U+2212 for minus), "" for a coefficient 0.
std::string termText(numlib::Int128 coefficient, const std::string& power) {
  if (coefficient == 0) return {};
  const std::string size = numlib::toDecimal(coefficient < 0 ? -coefficient : coefficient);
  return (coefficient < 0 ? " \u2212 " : " + ") + (size == "1" && !power.empty() ? "" : size) + power;
}

// "4k² − 2k + 41"
std::string polynomialText(const spiral::Quadratic& numbers) {
  return "4k\u00B2" + termText(numbers.b, "k") + termText(numbers.c, "");
}

// The columns of text, each as many characters wide as its widest; the first two (never the last)
// to the left, the numbers to the right.
template <std::size_t N>
std::string tableText(const std::vector<std::array<std::string, N>>& rows) {
  const auto widthOf = [](const std::string& text) {  // UTF-8: the bytes that begin a character
    return std::size_t(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
  };
  std::array<std::size_t, N> widths{};
  for (const auto& row : rows)
    for (std::size_t i = 0; i < N; ++i) widths[i] = std::max(widths[i], widthOf(row[i]));
  std::string text;
  for (const auto& row : rows) {
    for (std::size_t i = 0; i < N; ++i) {
      const std::string padding(widths[i] - widthOf(row[i]), ' ');
      text += i < 2 ? "  " + row[i] + padding : "  " + padding + row[i];
    }
    text += '\n';
  }
  return text;
}

std::string rayTable(const std::vector<spiral::RayFacts>& rays) {
  using std::to_string;
  std::vector<std::array<std::string, 8>> rows{{"direction", "polynomial", "k", "cells", "shown", "primes", "expected", "A"}};
  for (const spiral::RayFacts& facts : rays) {
    const spiral::Ray& ray = facts.ray;
    rows.push_back({spiral::nameOf(ray.direction), polynomialText(facts.numbers),
                    to_string(ray.kFrom) + ".." + to_string(ray.kTo), to_string(ray.cells()),
                    facts.shown ? to_string(*facts.shown) : "-", to_string(facts.primes), fixed(facts.expectedPrimes, 2),
                    fixed(facts.hlConstant, 4)});
  }
  return tableText(rows);
}

std::string lensLines(const LensFacts& lens) {
  std::string text;
  using std::to_string;
  if (const std::optional<InspectedNumber>& inspected = lens.inspected) {
    text += "Inspected number:   " + to_string(inspected->number) +
            "\nRing:               " + to_string(inspected->ring) +
            "\nPrime:              " + (inspected->prime ? "yes" : "no") +
            "\nFactors:            " + factorsText(*inspected) +
            "\nRays through it:    " + to_string(inspected->rays.size()) + "\n" + rayTable(inspected->rays);
  }
  if (lens.lines) {
    text += "Rays by primes:     " + to_string(lens.lines->size()) + ", the most primes first\n" + rayTable(*lens.lines);
  }
  return text;
}

// "t² + t + 41", "2t² − 3t", "4t² + 1"
std::string quadraticText(const numlib::QuadraticPolynomial& f) {
  const std::string leading = termText(f.a, "t\u00B2");
  return leading.substr(3) + termText(f.b, "t") + termText(f.c, "");  // without the leading " + "
}

// "(t + 1)(2t + 3)", "3(t)(t − 2)"
std::string factorsLine(const numlib::LinearFactors& factors) {
  const auto factor = [](numlib::Int128 p, numlib::Int128 q) {
    return "(" + termText(p, "t").substr(3) + termText(q, "") + ")";
  };
  const std::string constant = factors.constant == 1 ? "" : numlib::toDecimal(factors.constant);
  return constant + factor(factors.p1, factors.q1) + factor(factors.p2, factors.q2);
}

std::string stretchTable(const std::vector<RayStretch>& rays) {
  using std::to_string;
  std::vector<std::array<std::string, 4>> rows{{"direction", "polynomial", "k", "cells"}};
  for (const RayStretch& stretch : rays) {
    rows.push_back({spiral::nameOf(stretch.ray.direction), polynomialText(stretch.numbers),
                    to_string(stretch.kFrom) + ".." + to_string(stretch.kTo), to_string(stretch.kTo - stretch.kFrom + 1)});
  }
  return tableText(rows);
}

std::string quadraticLines(const std::optional<QuadraticFacts>& quadratic) {
  if (!quadratic) return {};
  using std::to_string;
  std::string divisors;
  for (const uint64_t p : quadratic->fixedPrimes) divisors += (divisors.empty() ? "" : ", ") + to_string(p);
  return "Quadratic:          f(t) = " + quadraticText(quadratic->f) +
         "\nValues in picture:  " + to_string(quadratic->values.size()) +
         "\nPrime values:       " + to_string(quadratic->primes) +
         "\nExpected primes:    " + fixed(quadratic->expectedPrimes, 2) +
         "\nHL constant A:      " + fixed(quadratic->hlConstant, 6) +
         "\nFactors:            " + (quadratic->factors ? "f = " + factorsLine(*quadratic->factors) : "no, irreducible") +
         "\nFixed divisors:     " + (divisors.empty() ? "none" : "every value is divisible by " + divisors) +
         "\nOn rays:            " + to_string(quadratic->rays.size()) + "\n" +
         (quadratic->rays.empty() ? "" : stretchTable(quadratic->rays));
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

std::string tileLines(const TilePictureFacts& facts) {
  using std::to_string;
  const spiral::TileResult& tile = facts.tile;
  return "Start number:       " + to_string(facts.start) +
         "\nCentre number:      " + to_string(facts.centre) +
         "\nSmallest number:    " + to_string(tile.smallest.value_or(0)) +
         "\nLargest number:     " + to_string(tile.largest.value_or(0)) +
         "\nCells past 2^64-1:  " + (tile.passesLargest ? "empty" : "none") +
         "\nCells per pixel:    " + to_string(facts.cellsPerPixel) +
         "\nShown:              " + to_string(tile.shownCount) +
         (facts.ownRule ? "\nUndefined:          " + to_string(tile.undefinedCount) : "") +
         "\nDraw time:          " + millisecondsAsText(facts.drawMilliseconds) + " ms\n";
}

Json tileJson(const TilePictureFacts& facts) {
  const spiral::TileResult& tile = facts.tile;
  Json object = {{"start", facts.start},
          {"centre", facts.centre},
          {"smallest", tile.smallest.value_or(0)},
          {"largest", tile.largest.value_or(0)},
          {"passes_largest", tile.passesLargest},
          {"cells_per_pixel", facts.cellsPerPixel},
          {"shown", tile.shownCount},
          {"draw_ms", milliseconds(facts.drawMilliseconds)}};
  if (facts.ownRule) object["undefined"] = tile.undefinedCount;
  return object;
}

}  // namespace

PictureFacts drawTimed(const spiral::DrawSettings& settings, spiral::Picture& picture, const spiral::DrawHooks& hooks) {
  const auto begin = std::chrono::steady_clock::now();
  spiral::DrawOutcome outcome = spiral::drawSpiral(settings, picture, hooks);
  const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - begin;
  return {outcome, elapsed.count(), {}, {}};
}

std::string reportOf(const PictureFacts& facts, ReportForm form) {
  if (form == ReportForm::Lines) return pictureLines(facts) + lensLines(facts.lens) + quadraticLines(facts.quadratic);
  Json object = pictureJson(facts.outcome);
  addGeometry(object, facts.outcome.geometry, facts.drawMilliseconds);
  addLens(object, facts.lens);
  addQuadratic(object, facts.quadratic);
  return jsonLine(object);
}

std::string reportOf(const TilePictureFacts& facts, ReportForm form) {
  return form == ReportForm::Lines ? tileLines(facts) : jsonLine(tileJson(facts));
}

std::string reportOf(const AnimationFacts& facts, ReportForm form) {
  return form == ReportForm::Lines ? animationLines(facts) : jsonLine(animationJson(facts));
}

}  // namespace render
