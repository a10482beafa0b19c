#include "GifEncoder.h"

#include <algorithm>

#include <gif_lib.h>

#include "PaletteBytes.h"
#include "Picture.h"

namespace render {
namespace {

// A failed write ends the animation; the sink reports why, and that fails the whole file.
int writeToSink(GifFileType* gif, const GifByteType* bytes, int length) {
  auto* out = static_cast<fileio::ByteSink*>(gif->UserData);
  return out->write(reinterpret_cast<const char*>(bytes), std::size_t(length)) ? length : 0;
}

ColorMapObject* paletteMap() {
  GifColorType colors[spiral::kPaletteSize];
  const PaletteBytes palette = paletteBytes();
  for (int i = 0; i < spiral::kPaletteSize; ++i) colors[i] = {palette[i].red, palette[i].green, palette[i].blue};
  return GifMakeMapObject(spiral::kPaletteSize, colors);
}

// The application extension that makes viewers play the animation again and again.
bool putLoopForever(GifFileType* gif) {
  static const GifByteType kNetscape[] = "NETSCAPE2.0";
  static const GifByteType kForever[] = {1, 0, 0};  // sub-block 1: repeat count 0
  return EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
         EGifPutExtensionBlock(gif, 11, kNetscape) == GIF_OK &&
         EGifPutExtensionBlock(gif, 3, kForever) == GIF_OK && EGifPutExtensionTrailer(gif) == GIF_OK;
}

}  // namespace

PaletteFrame paletteFrameOf(const spiral::Picture& picture) {
  // The picture already holds palette indices: a frame is its scan lines one after the other.
  PaletteFrame frame;
  frame.reserve(static_cast<std::size_t>(picture.width()) * picture.height());
  for (int y = 0; y < picture.height(); ++y) {
    const uint8_t* line = picture.indexLine(y);
    frame.insert(frame.end(), line, line + picture.width());
  }
  return frame;
}

GifEncoder::GifEncoder(fileio::ByteSink& out, int width, int height, int delayMs)
    : width_(width), height_(height), delayCentiseconds_((delayMs + 5) / 10) {
  int error = 0;
  gif_ = EGifOpen(&out, writeToSink, &error);
  if (!gif_) {
    fail(error);
    return;
  }
  EGifSetGifVersion(gif_, true);
  ColorMapObject* palette = paletteMap();
  const bool started = EGifPutScreenDesc(gif_, width, height, 8, spiral::kBlack, palette) == GIF_OK &&
                       putLoopForever(gif_);
  GifFreeMapObject(palette);
  if (!started) fail(gif_->Error);
}

GifEncoder::~GifEncoder() {
  if (gif_) EGifCloseFile(gif_, nullptr);
}

bool GifEncoder::fail(int giflibError) {
  if (error_.empty()) error_ = GifErrorString(giflibError);
  return false;
}

// The smallest rectangle holding every pixel that changed; one pixel when none did, since every
// frame needs an image of its own.
GifEncoder::Rect GifEncoder::changedRect(const PaletteFrame& frame) const {
  if (previous_.empty()) return {0, 0, width_, height_};
  int left = width_, right = -1, top = height_, bottom = -1;
  for (int y = 0; y < height_; ++y) {
    const uint8_t* now = frame.data() + static_cast<std::size_t>(y) * width_;
    const uint8_t* before = previous_.data() + static_cast<std::size_t>(y) * width_;
    int first = 0;
    while (first < width_ && now[first] == before[first]) ++first;
    if (first == width_) continue;
    int last = width_ - 1;
    while (now[last] == before[last]) --last;
    left = std::min(left, first);
    right = std::max(right, last);
    top = std::min(top, y);
    bottom = y;
  }
  if (right < 0) return {0, 0, 1, 1};
  return {left, top, right - left + 1, bottom - top + 1};
}

bool GifEncoder::addFrame(PaletteFrame frame) {
  if (!gif_ || !error_.empty()) return false;
  // Each frame stays in place under the next one, which then only needs its changed rectangle.
  const GraphicsControlBlock control{DISPOSE_DO_NOT, false, delayCentiseconds_, NO_TRANSPARENT_COLOR};
  GifByteType extension[4];
  const size_t length = EGifGCBToExtension(&control, extension);
  const Rect rect = changedRect(frame);
  if (EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, int(length), extension) != GIF_OK ||
      EGifPutImageDesc(gif_, rect.left, rect.top, rect.width, rect.height, false, nullptr) != GIF_OK) {
    return fail(gif_->Error);
  }
  for (int y = rect.top; y < rect.top + rect.height; ++y) {
    GifPixelType* row = frame.data() + static_cast<std::size_t>(y) * width_ + rect.left;
    if (EGifPutLine(gif_, row, rect.width) != GIF_OK) return fail(gif_->Error);
  }
  previous_ = std::move(frame);
  return true;
}

std::string GifEncoder::finish() {
  if (!gif_) return error_;
  int error = 0;
  const bool closed = EGifCloseFile(gif_, &error) == GIF_OK;
  gif_ = nullptr;
  if (!closed) fail(error);
  return error_;
}

}  // namespace render
