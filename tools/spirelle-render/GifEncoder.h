#pragma once
// An animated GIF that loops forever, written frame by frame in the 16 palette colours.

#include <cstdint>
#include <string>
#include <vector>

#include "ReplaceFile.h"

struct GifFileType;

namespace spiral {
class Picture;
}

namespace render {

// One frame: width x height palette indices (0 ... 15), row by row.
using PaletteFrame = std::vector<uint8_t>;

// The palette indices of a picture, read through its pixel accessor.
PaletteFrame paletteFrameOf(const spiral::Picture& picture);

class GifEncoder {
 public:
  // `delayMs` is the time each frame stays, rounded to the hundredths of a second GIF counts in.
  GifEncoder(fileio::ByteSink& out, int width, int height, int delayMs);
  ~GifEncoder();
  GifEncoder(const GifEncoder&) = delete;
  GifEncoder& operator=(const GifEncoder&) = delete;

  // Encodes only the rectangle that differs from the previous frame (the whole first frame).
  // False once anything failed; error() says why.
  bool addFrame(PaletteFrame frame);
  // Ends the file. An empty text on success, otherwise why it failed.
  std::string finish();
  const std::string& error() const { return error_; }

 private:
  struct Rect {
    int left, top, width, height;
  };
  Rect changedRect(const PaletteFrame& frame) const;
  bool fail(int giflibError);

  GifFileType* gif_ = nullptr;
  int width_;
  int height_;
  int delayCentiseconds_;
  PaletteFrame previous_;
  std::string error_;
};

}  // namespace render
