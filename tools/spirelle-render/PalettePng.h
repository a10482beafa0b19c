#pragma once
// The picture as a 4-bit palette PNG: the 16 colours of the palette, two pixels a byte.

#include <string>

#include "ReplaceFile.h"

#include "Picture.h"

namespace render {

// Writes `picture` to `out`; the reason when the encoder failed, empty when it did not. A large
// picture is compressed by up to `threads` workers; the file is the same for every count.
std::string writePalettePng(const spiral::Picture& picture, fileio::ByteSink& out, int threads = 1);

}  // namespace render
