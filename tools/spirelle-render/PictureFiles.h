#pragma once
// The files a run writes: one picture as a PNG, or an animation as a GIF, drawn frame by frame.
// Both are written all or nothing: a failed write leaves an existing file as it was.

#include <string>

#include "Picture.h"
#include "RenderFacts.h"
#include "RenderOptions.h"
#include "ReplaceFile.h"

namespace render {

// The picture as a PNG file, compressed by up to `threads` workers.
fileio::WriteResult writePictureFile(const spiral::Picture& picture, const std::string& fileName, int threads);

// Writes the animation `options` asks for into options.outFile. Frame 0 is the picture already in
// `picture`, whose facts are the first of `facts.frames`; each further frame is drawn into `picture`
// one tick after the one before, and its facts are added to `facts`. The end of the number range
// ends the animation early.
fileio::WriteResult writeAnimationFile(const RenderOptions& options, spiral::Picture& picture, AnimationFacts& facts);

}  // namespace render
