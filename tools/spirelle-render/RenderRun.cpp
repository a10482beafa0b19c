#include "RenderRun.h"

#include <chrono>
#include <cmath>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "GifEncoder.h"
#include "PalettePng.h"
#include "Picture.h"
#include "Progress.h"
#include "Tick.h"
#include "texts/StartNumberMessages.h"
#include "texts/WordTable.h"
#include "DeviceWriter.h"

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
  Progress progress(QStringLiteral("numbers"), geometry.numberOfNumbers);
  spiral::DrawHooks hooks;
  hooks.yield = [&progress](int64_t index) {
    progress.update(index);
    return false;
  };
  return drawTimed(options.draw, picture, hooks);
}

// All or nothing: a failed write leaves an existing file as it was.
fileio::qt::WriteResult writePng(const spiral::Picture& picture, const QString& fileName) {
  return fileio::qt::replaceFile(fileName, [&picture](QIODevice& out) { return writePalettePng(picture, out); });
}

QJsonValue runOrNull(const std::optional<int>& run) {
  return run ? QJsonValue(*run) : QJsonValue(QJsonValue::Null);
}

double roundedToMicroseconds(double milliseconds) {
  return std::round(milliseconds * 1000.0) / 1000.0;
}

// What one picture shows; the same for a single picture and for each frame of an animation.
QJsonObject pictureFacts(const spiral::DrawOutcome& outcome) {
  return {
      {"start", qint64(outcome.startNumber)},
      {"end", qint64(outcome.endNumber)},
      {"shown", qint64(outcome.shownCount)},
      {"smallest_prime", qint64(outcome.smallestPrime)},
      {"largest_prime", qint64(outcome.largestPrime)},
      {"longest_nwse", runOrNull(outcome.longestNWSE)},
      {"longest_swne", runOrNull(outcome.longestSWNE)},
  };
}

QString asJsonLine(const QJsonObject& object) {
  return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)) + u'\n';
}

QJsonObject withGeometry(QJsonObject object, const spiral::Geometry& geometry, double drawMilliseconds) {
  object.insert("cells_per_side", geometry.cellsPerSide);
  object.insert("numbers", qint64(geometry.numberOfNumbers));
  object.insert("draw_ms", roundedToMicroseconds(drawMilliseconds));
  return object;
}

QString factsAsJson(const RenderFacts& facts) {
  return asJsonLine(withGeometry(pictureFacts(facts.outcome), facts.outcome.geometry, facts.drawMilliseconds));
}

QString runAsText(const std::optional<int>& run) {
  return run ? QString::number(*run) : QStringLiteral("not measured");
}

QString factsAsLines(const RenderFacts& facts) {
  const spiral::DrawOutcome& outcome = facts.outcome;
  return QStringLiteral(
             "Start number:       %1\n"
             "End number:         %2\n"
             "Cells per side:     %3\n"
             "Numbers:            %4\n"
             "Shown:              %5\n"
             "Smallest prime:     %6\n"
             "Largest prime:      %7\n"
             "Longest NW-SE run:  %8\n"
             "Longest SW-NE run:  %9\n")
             .arg(outcome.startNumber)
             .arg(outcome.endNumber)
             .arg(outcome.geometry.cellsPerSide)
             .arg(outcome.geometry.numberOfNumbers)
             .arg(outcome.shownCount)
             .arg(outcome.smallestPrime)
             .arg(outcome.largestPrime)
             .arg(runAsText(outcome.longestNWSE), runAsText(outcome.longestSWNE)) +
         QStringLiteral("Draw time:          %1 ms\n").arg(facts.drawMilliseconds, 0, 'f', 3);
}

// The frames of an animation as they were drawn and encoded.
struct AnimationFacts {
  std::vector<spiral::DrawOutcome> frames;
  double drawMilliseconds = 0;  // all frames together
};

// Draws frame after frame into the encoder: frame 0 is already in `picture`, each further one is
// the picture one tick later. The end of the number range ends the animation early.
QString encodeFrames(const RenderOptions& options, spiral::Picture& picture, AnimationFacts& facts,
                     QIODevice& out) {
  GifEncoder encoder(out, picture.width(), picture.height(), options.delayMs);
  encoder.addFrame(paletteFrameOf(picture));
  Progress progress(QStringLiteral("frames"), options.frames);
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

QString animationAsJson(const RenderOptions& options, const AnimationFacts& facts) {
  QJsonArray frames;
  for (const spiral::DrawOutcome& frame : facts.frames) frames.append(pictureFacts(frame));
  QJsonObject object = withGeometry({}, facts.frames.front().geometry, facts.drawMilliseconds);
  object.insert("animate", *options.animate == spiral::Direction::In ? "in" : "out");
  object.insert("frames_asked", options.frames);
  object.insert("frames_written", int(facts.frames.size()));
  object.insert("frames", frames);
  return asJsonLine(object);
}

QString animationAsLines(const RenderOptions& options, const AnimationFacts& facts) {
  const int written = int(facts.frames.size());
  const QString ending = written < options.frames ? QStringLiteral(", the end of the number range came first")
                                                  : QString();
  return QStringLiteral(
             "Frames written:     %1 of %2%3\n"
             "First start number: %4\n"
             "Last start number:  %5\n"
             "Cells per side:     %6\n"
             "Draw time:          %7 ms\n")
      .arg(written)
      .arg(options.frames)
      .arg(ending)
      .arg(facts.frames.front().startNumber)
      .arg(facts.frames.back().startNumber)
      .arg(facts.frames.front().geometry.cellsPerSide)
      .arg(facts.drawMilliseconds, 0, 'f', 3);
}

}  // namespace

QString refusalMessage(spiral::Refusal refusal, Language language) {
  return language::startNumberMessage(refusal, language == Language::German ? language::kGerman
                                                                          : language::kEnglish);
}

int renderSpiral(const RenderOptions& options, QTextStream& out, QTextStream& err) {
  spiral::Picture picture(options.size, options.size);
  if (picture.isNull()) {
    err << QStringLiteral("spirelle-render: not enough memory for a picture of %1 x %1 pixels\n")
               .arg(options.size);
    return kExitCannotWrite;
  }
  RenderFacts facts = drawFirstPicture(options, picture);
  if (facts.outcome.refusal != spiral::Refusal::None) {
    err << refusalMessage(facts.outcome.refusal, options.language) << '\n';
    return kExitRefused;
  }
  AnimationFacts animation{{facts.outcome}, facts.drawMilliseconds};
  fileio::qt::WriteResult result{true, {}};
  if (options.animate) {
    result = fileio::qt::replaceFile(options.outFile, [&](QIODevice& device) {
      return encodeFrames(options, picture, animation, device);
    });
  } else if (!options.outFile.isEmpty()) {
    result = writePng(picture, options.outFile);
  }
  if (!result.written) {
    err << QStringLiteral("spirelle-render: cannot write '%1': %2\n").arg(options.outFile, result.reason);
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
