#include "RenderRun.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>

#include "GifEncoder.h"
#include "PalettePng.h"
#include "Picture.h"
#include "Progress.h"
#include "Tick.h"
#include "texts/StartNumberMessages.h"
#include "texts/LanguageSlots.h"
#include "ReplaceFile.h"

namespace render {
namespace {

struct RenderFacts {
  spiral::DrawOutcome outcome;
  double drawMilliseconds = 0;
};

RenderFacts drawTimed(const spiral::DrawSettings& settings, spiral::Picture& picture,
                      const spiral::DrawHooks& hooks = {}) {
  auto begin = std::chrono::steady_clock::now();
  spiral::DrawOutcome outcome = spiral::drawSpiral(settings, picture, hooks);
  std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - begin;
  return {outcome, elapsed.count()};
}

// The first (or only) picture. Only a pass of 1-pixel cells, the one that takes long, reports how
// far it has come.
RenderFacts drawFirstPicture(const RenderOptions& options, spiral::Picture& picture) {
  const spiral::Geometry geometry = spiral::computeGeometry(options.size, options.size, options.draw.boxSize);
  Progress progress("numbers", geometry.numberOfNumbers);
  spiral::DrawHooks hooks;
  hooks.yield = [&progress](int64_t index) {
    progress.update(index);
    return false;
  };
  return drawTimed(options.draw, picture, hooks);
}

// All or nothing: a failed write leaves an existing file as it was.
fileio::WriteResult writePng(const spiral::Picture& picture, const std::string& fileName) {
  return fileio::replaceFile(fileName, [&picture](fileio::ByteSink& out) { return writePalettePng(picture, out); });
}

// A JSON object printed compact, its keys in sorted order; each value is JSON text already.
class JsonObject {
 public:
  JsonObject& set(const std::string& key, std::string json) {
    fields_[key] = std::move(json);
    return *this;
  }
  std::string text() const {
    std::string text = "{";
    for (const auto& [key, json] : fields_) text += (text.size() > 1 ? ",\"" : "\"") + key + "\":" + json;
    return text + "}";
  }

 private:
  std::map<std::string, std::string> fields_;
};

std::string jsonNumber(int64_t number) { return std::to_string(number); }

// Whole numbers without a fraction, others in the fewest digits that read back as the same double.
std::string jsonNumber(double number) {
  if (number == std::floor(number) && std::fabs(number) < 1e15) return jsonNumber(static_cast<int64_t>(number));
  char digits[32];
  const auto written = std::to_chars(digits, digits + sizeof digits, number);
  return std::string(digits, written.ptr);
}

std::string runOrNull(const std::optional<int>& run) { return run ? jsonNumber(int64_t{*run}) : "null"; }

double roundedToMicroseconds(double milliseconds) {
  return std::round(milliseconds * 1000.0) / 1000.0;
}

// What one picture shows; the same for a single picture and for each frame of an animation.
JsonObject pictureFacts(const spiral::DrawOutcome& outcome) {
  JsonObject facts;
  facts.set("start", jsonNumber(outcome.startNumber))
      .set("end", jsonNumber(outcome.endNumber))
      .set("shown", jsonNumber(outcome.shownCount))
      .set("smallest_prime", jsonNumber(outcome.smallestPrime))
      .set("largest_prime", jsonNumber(outcome.largestPrime))
      .set("longest_nwse", runOrNull(outcome.longestNWSE))
      .set("longest_swne", runOrNull(outcome.longestSWNE));
  return facts;
}

JsonObject withGeometry(JsonObject object, const spiral::Geometry& geometry, double drawMilliseconds) {
  object.set("cells_per_side", jsonNumber(int64_t{geometry.cellsPerSide}))
      .set("numbers", jsonNumber(geometry.numberOfNumbers))
      .set("draw_ms", jsonNumber(roundedToMicroseconds(drawMilliseconds)));
  return object;
}

std::string factsAsJson(const RenderFacts& facts) {
  return withGeometry(pictureFacts(facts.outcome), facts.outcome.geometry, facts.drawMilliseconds).text() + "\n";
}

std::string milliseconds(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", value);
  return text;
}

std::string runAsText(const std::optional<int>& run) { return run ? std::to_string(*run) : "not measured"; }

std::string factsAsLines(const RenderFacts& facts) {
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
         "\nDraw time:          " + milliseconds(facts.drawMilliseconds) + " ms\n";
}

// The frames of an animation as they were drawn and encoded.
struct AnimationFacts {
  std::vector<spiral::DrawOutcome> frames;
  double drawMilliseconds = 0;  // all frames together
};

// Draws frame after frame into the encoder: frame 0 is already in `picture`, each further one is
// the picture one tick later. The end of the number range ends the animation early.
std::string encodeFrames(const RenderOptions& options, spiral::Picture& picture, AnimationFacts& facts,
                         fileio::ByteSink& out) {
  GifEncoder encoder(out, picture.width(), picture.height(), options.delayMs);
  encoder.addFrame(paletteFrameOf(picture));
  Progress progress("frames", options.frames);
  const spiral::TickRule rule{*options.animate, options.draw.numberClass,
                              facts.frames.front().geometry.numberOfNumbers, options.primeSteps};
  spiral::DrawSettings settings = options.draw;
  while (int(facts.frames.size()) < options.frames) {
    const std::optional<int64_t> next = spiral::nextStart(rule, facts.frames.back().startNumber);
    if (!next) break;
    settings.start = *next;
    const RenderFacts frame = drawTimed(settings, picture);
    facts.frames.push_back(frame.outcome);
    facts.drawMilliseconds += frame.drawMilliseconds;
    if (!encoder.addFrame(paletteFrameOf(picture))) break;
    progress.update(int64_t(facts.frames.size()));
  }
  return encoder.finish();
}

std::string animationAsJson(const RenderOptions& options, const AnimationFacts& facts) {
  std::string frames;
  for (const spiral::DrawOutcome& frame : facts.frames) frames += (frames.empty() ? "" : ",") + pictureFacts(frame).text();
  JsonObject object = withGeometry({}, facts.frames.front().geometry, facts.drawMilliseconds);
  object.set("animate", *options.animate == spiral::Direction::In ? "\"in\"" : "\"out\"")
      .set("frames_asked", jsonNumber(int64_t{options.frames}))
      .set("frames_written", jsonNumber(int64_t(facts.frames.size())))
      .set("frames", "[" + frames + "]");
  return object.text() + "\n";
}

std::string animationAsLines(const RenderOptions& options, const AnimationFacts& facts) {
  const int written = int(facts.frames.size());
  const char* ending = written < options.frames ? ", the end of the number range came first" : "";
  using std::to_string;
  return "Frames written:     " + to_string(written) + " of " + to_string(options.frames) + ending +
         "\nFirst start number: " + to_string(facts.frames.front().startNumber) +
         "\nLast start number:  " + to_string(facts.frames.back().startNumber) +
         "\nCells per side:     " + to_string(facts.frames.front().geometry.cellsPerSide) +
         "\nDraw time:          " + milliseconds(facts.drawMilliseconds) + " ms\n";
}

}  // namespace

std::string refusalMessage(spiral::Refusal refusal, Language language) {
  return std::string(language::startNumberMessage(refusal, language == Language::German ? language::kGerman
                                                                                      : language::kEnglish));
}

int renderSpiral(const RenderOptions& options, std::ostream& out, std::ostream& err) {
  spiral::Picture picture(options.size, options.size);
  if (picture.isNull()) {
    const std::string size = std::to_string(options.size);
    err << "spirelle-render: not enough memory for a picture of " << size << " x " << size << " pixels\n";
    return kExitCannotWrite;
  }
  RenderFacts facts = drawFirstPicture(options, picture);
  if (facts.outcome.refusal != spiral::Refusal::None) {
    err << refusalMessage(facts.outcome.refusal, options.language) << '\n';
    return kExitRefused;
  }
  AnimationFacts animation{{facts.outcome}, facts.drawMilliseconds};
  fileio::WriteResult result{true, {}};
  if (options.animate) {
    result = fileio::replaceFile(options.outFile, [&](fileio::ByteSink& device) {
      return encodeFrames(options, picture, animation, device);
    });
  } else if (!options.outFile.empty()) {
    result = writePng(picture, options.outFile);
  }
  if (!result.written) {
    err << "spirelle-render: cannot write '" << options.outFile << "': " << result.reason << '\n';
    return kExitCannotWrite;
  }
  if (options.animate) {
    out << (options.json ? animationAsJson(options, animation) : animationAsLines(options, animation));
  } else {
    out << (options.json ? factsAsJson(facts) : factsAsLines(facts));
  }
  return kExitDone;
}

}  // namespace render
