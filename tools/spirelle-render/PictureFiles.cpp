#include "PictureFiles.h"

#include "GifEncoder.h"
#include "PalettePng.h"
#include "Progress.h"

namespace render {
namespace {

// Draws frame after frame into the encoder, and reports how far it has come.
std::string encodeFrames(const RenderOptions& options, spiral::Picture& picture, AnimationFacts& facts,
                         fileio::ByteSink& out) {
  GifEncoder encoder(out, picture.width(), picture.height(), options.delayMs);
  encoder.addFrame(paletteFrameOf(picture));
  Progress progress("frames", options.frames);
  const spiral::TickRule rule{*options.animate, options.draw.numberClass,
                              facts.frames.front().geometry.numberOfNumbers, options.primeSteps, options.draw.range};
  spiral::DrawSettings settings = options.draw;
  while (int(facts.frames.size()) < options.frames) {
    const std::optional<spiral::Number> next = spiral::nextStart(rule, facts.frames.back().startNumber);
    if (!next) break;
    settings.start = *next;
    const PictureFacts frame = drawTimed(settings, picture);
    facts.frames.push_back(frame.outcome);
    facts.drawMilliseconds += frame.drawMilliseconds;
    if (!encoder.addFrame(paletteFrameOf(picture))) break;
    progress.update(int64_t(facts.frames.size()));
  }
  return encoder.finish();
}

}  // namespace

fileio::WriteResult writePictureFile(const spiral::Picture& picture, const std::string& fileName, int threads) {
  return fileio::replaceFile(fileName, [&](fileio::ByteSink& out) { return writePalettePng(picture, out, threads); });
}

fileio::WriteResult writeAnimationFile(const RenderOptions& options, spiral::Picture& picture, AnimationFacts& facts) {
  return fileio::replaceFile(options.outFile, [&](fileio::ByteSink& out) {
    return encodeFrames(options, picture, facts, out);
  });
}

}  // namespace render
