#include "RenderRun.h"

#include <chrono>
#include <memory>

#include "ClusterColours.h"

#include "LineMarks.h"
#include "PictureFiles.h"
#include "Progress.h"
#include "RenderFacts.h"
#include "LanguageSlots.h"
#include "StartNumberMessages.h"

namespace render {
namespace {

// The first (or only) picture. Only a pass of 1-pixel cells, the one that takes long, reports how
// far it has come.
PictureFacts drawFirstPicture(const RenderOptions& options, spiral::Picture& picture) {
  const spiral::Geometry geometry = spiral::computeGeometry(options.size, options.size, options.draw.boxSize);
  Progress progress("numbers", geometry.numberOfNumbers);
  spiral::DrawHooks hooks;
  hooks.yield = [&progress](int64_t index) {
    progress.update(index);
    return false;
  };
  return drawTimed(options.draw, picture, hooks);
}

// A picture in tiles, as the explorer draws its view, with the cluster colours its cells need.
TilePictureFacts drawTiles(const RenderOptions& options, spiral::Picture& picture) {
  const auto begin = std::chrono::steady_clock::now();
  const spiral::ViewSettings view = options.view();
  const spiral::PlaneRect rect = options.pictureRect();
  std::shared_ptr<const spiral::ClusterColours> clusters;
  if (view.colorScheme == spiral::ColorScheme::Cluster) {
    // The options were checked: every cell lies within the reach.
    clusters = spiral::ClusterColours::compute(view, *spiral::largestPositionIn(spiral::cellsOf(view, rect)) + 1);
  }
  TilePictureFacts facts{view.start, options.centre.value_or(view.start), options.cellsPerPixel, {}, 0,
                         static_cast<bool>(view.ownRule)};
  facts.tile = spiral::drawTileInBands(view, rect, picture, {.clusters = clusters.get()}, options.draw.threads);
  const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - begin;
  facts.drawMilliseconds = elapsed.count();
  return facts;
}

// Says on `err` why the file was not written, when it was not.
bool reportFailure(const fileio::WriteResult& result, const std::string& fileName, std::ostream& err) {
  if (result.written) return false;
  err << "spirelle-render: cannot write '" << fileName << "': " << result.reason << '\n';
  return true;
}

}  // namespace

std::string refusalMessage(const spiral::DrawSettings& draw, const spiral::DrawOutcome& outcome, Language language) {
  const int slot = language == Language::German ? language::kGerman : language::kEnglish;
  if (draw.range.largest != spiral::kWholeRange.largest) return std::string(language::startNumberMessage(outcome.refusal, slot));
  const spiral::Number largest = spiral::largestStart(draw.range, draw.numberClass, outcome.geometry.numberOfNumbers);
  return language::wholeRangeRefusal(largest, slot);
}

int renderSpiral(const RenderOptions& options, std::ostream& out, std::ostream& err) {
  spiral::Picture picture(options.size, options.size);
  if (picture.isNull()) {
    const std::string size = std::to_string(options.size);
    err << "spirelle-render: not enough memory for a picture of " << size << " x " << size << " pixels\n";
    return kExitCannotWrite;
  }
  const ReportForm form = options.json ? ReportForm::Json : ReportForm::Lines;
  if (options.drawsTiles()) {
    const TilePictureFacts facts = drawTiles(options, picture);
    if (!options.outFile.empty() && reportFailure(writePictureFile(picture, options.outFile, options.draw.threads), options.outFile, err)) {
      return kExitCannotWrite;
    }
    out << reportOf(facts, form);
    return kExitDone;
  }
  PictureFacts first = drawFirstPicture(options, picture);
  if (first.outcome.refusal != spiral::Refusal::None) {
    err << refusalMessage(options.draw, first.outcome, options.language) << '\n';
    return kExitRefused;
  }
  if (options.animate) {
    AnimationFacts animation{*options.animate, options.frames, {first.outcome}, first.drawMilliseconds};
    if (reportFailure(writeAnimationFile(options, picture, animation), options.outFile, err)) return kExitCannotWrite;
    out << reportOf(animation, form);
  } else {
    first.lens = lensFactsOf(first.outcome, options.inspect, options.lines);
    if (options.markQuadratic) first.quadratic = quadraticFactsOf(first.outcome, *options.markQuadratic);
    // Over the finished picture, once every fact is taken: the facts are those of the unmarked one.
    if (options.markLines) markRays(picture, first.outcome.geometry, *first.lens.lines);
    if (first.quadratic) markCells(picture, first.outcome.geometry, cellsOf(first.outcome, first.quadratic->values));
    if (!options.outFile.empty() && reportFailure(writePictureFile(picture, options.outFile, options.draw.threads), options.outFile, err)) {
      return kExitCannotWrite;
    }
    out << reportOf(first, form);
  }
  return kExitDone;
}

}  // namespace render
