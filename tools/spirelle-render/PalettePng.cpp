#include "PalettePng.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <vector>

#include "PaletteBytes.h"

namespace render {
namespace {

// zlib's fastest level, runs only and no row filters: the pictures are mostly long runs of black,
// which run-length matching finds faster, and packs tighter, than the general search.
constexpr int kZlibLevel = 1;
constexpr int kBitsPerPixel = 4;

struct Sink {
  fileio::ByteSink* out;
  std::string error;
};

// A failed write ends the encoding; the sink reports why, and that fails the whole file.
void writeBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* sink = static_cast<Sink*>(png_get_io_ptr(png));
  if (!sink->out->write(reinterpret_cast<const char*>(data), length)) png_error(png, "write failed");
}

void flushNothing(png_structp) {}

void recordError(png_structp png, png_const_charp message) {
  auto* sink = static_cast<Sink*>(png_get_io_ptr(png));
  if (sink->error.empty()) sink->error = message;
  png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

std::vector<png_color> paletteColors() {
  std::vector<png_color> colors;
  for (const RgbBytes& color : paletteBytes()) colors.push_back({color.red, color.green, color.blue});
  return colors;
}

// Everything libpng touches between setjmp and longjmp lives in the caller: no object with a
// destructor is skipped by the jump.
bool encode(png_structp png, png_infop info, const spiral::Picture& picture, const std::vector<png_color>& colors) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width()), static_cast<png_uint_32>(picture.height()),
               kBitsPerPixel, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_set_PLTE(png, info, colors.data(), static_cast<int>(colors.size()));
  png_set_pHYs(png, info, spiral::kPixelsPerMeter, spiral::kPixelsPerMeter, PNG_RESOLUTION_METER);
  png_set_compression_level(png, kZlibLevel);
  png_set_compression_strategy(png, Z_RLE);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_write_info(png, info);
  png_set_packing(png);  // one index a byte in, two a byte out
  for (int y = 0; y < picture.height(); ++y) png_write_row(png, picture.indexLine(y));
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

std::string writePalettePng(const spiral::Picture& picture, fileio::ByteSink& out) {
  Sink sink{&out, {}};
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, recordError, ignoreWarning);
  if (!png) return "out of memory";
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &sink, writeBytes, flushNothing);
  const std::vector<png_color> colors = paletteColors();
  const bool written = info && encode(png, info, picture, colors);
  png_destroy_write_struct(&png, &info);
  if (written) return {};
  return sink.error.empty() ? "out of memory" : sink.error;
}

}  // namespace render
