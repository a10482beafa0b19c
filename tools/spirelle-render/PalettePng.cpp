#include "PalettePng.h"

#include <png.h>
#include <zlib.h>

#include <array>
#include <csetjmp>
#include <vector>

#include "PaletteBytes.h"
#include "Workers.h"

namespace render {
namespace {

// zlib's fastest level, runs only and no row filters: the pictures are mostly long runs of black,
// which run-length matching finds faster, and packs tighter, than the general search.
constexpr int kZlibLevel = 1;
constexpr int kBitsPerPixel = 4;
// The image data is one zlib stream made of bands of rows, each deflated on its own, as parallel
// compressors do: every band but the last ends on a byte boundary with an empty stored block
// (Z_SYNC_FLUSH), so the bands join into one deflate stream. The bands are cut by size alone, so
// that the file is the same for every thread count.
constexpr size_t kBandBytes = size_t{1} << 20;
// The stream's header for a 32 KiB window at the fastest level, as zlib writes it.
constexpr std::array<png_byte, 2> kZlibHeader = {0x78, 0x01};

// One band of rows, deflated: its bytes, and the Adler-32 checksum and length of what they hold.
struct DeflatedBand {
  std::vector<png_byte> bytes;
  uLong adler = 1;
  size_t rawLength = 0;
};

// Packs rows firstRow to endRow - 1 into `raw` as the PNG holds them: a filter byte (none), then two
// pixels a byte, the left one high. Every byte is written, so that `raw` may hold an earlier band.
void packRows(const spiral::Picture& picture, int firstRow, int endRow, std::vector<png_byte>& raw) {
  const int width = picture.width();
  const size_t rowBytes = 1 + (static_cast<size_t>(width) + 1) / 2;
  raw.resize(rowBytes * static_cast<size_t>(endRow - firstRow));
  for (int y = firstRow; y < endRow; ++y) {
    png_byte* row = raw.data() + rowBytes * static_cast<size_t>(y - firstRow);
    *row++ = 0;
    const uint8_t* pixels = picture.indexLine(y);
    for (int pair = 0; pair < width / 2; ++pair) {
      row[pair] = static_cast<png_byte>(pixels[2 * pair] << 4 | pixels[2 * pair + 1]);
    }
    if (width % 2 != 0) row[width / 2] = static_cast<png_byte>(pixels[width - 1] << 4);
  }
}

// What one thread needs to deflate band after band: the stream and its buffers, kept from band to
// band. A poster's bands would otherwise each ask for fresh memory, and the system's clearing of
// its pages costs more than the packing.
class BandDeflater {
 public:
  BandDeflater() = default;
  ~BandDeflater() {
    if (ready_) deflateEnd(&stream_);
  }
  BandDeflater(const BandDeflater&) = delete;
  BandDeflater& operator=(const BandDeflater&) = delete;

  // Empty bytes when zlib could not have its memory.
  DeflatedBand deflated(const spiral::Picture& picture, int firstRow, int endRow, bool last) {
    // A stream that zlib could not make is asked for again: the thread keeps the deflater.
    if (!ready_) ready_ = deflateInit2(&stream_, kZlibLevel, Z_DEFLATED, -15, 8, Z_RLE) == Z_OK;
    if (!ready_ || deflateReset(&stream_) != Z_OK) return {};
    packRows(picture, firstRow, endRow, raw_);
    DeflatedBand band;
    band.rawLength = raw_.size();
    band.adler = adler32(band.adler, raw_.data(), static_cast<uInt>(raw_.size()));
    out_.resize(deflateBound(&stream_, raw_.size()) + 16);
    stream_.next_in = raw_.data();
    stream_.avail_in = static_cast<uInt>(raw_.size());
    stream_.next_out = out_.data();
    stream_.avail_out = static_cast<uInt>(out_.size());
    const int status = deflate(&stream_, last ? Z_FINISH : Z_SYNC_FLUSH);
    if (status != (last ? Z_STREAM_END : Z_OK)) return {};
    band.bytes.assign(out_.data(), out_.data() + (out_.size() - stream_.avail_out));
    return band;
  }

 private:
  z_stream stream_{};
  bool ready_ = false;
  std::vector<png_byte> raw_;
  std::vector<png_byte> out_;
};

DeflatedBand deflateBand(const spiral::Picture& picture, int firstRow, int endRow, bool last) {
  thread_local BandDeflater deflater;
  return deflater.deflated(picture, firstRow, endRow, last);
}

// Every band of the picture, deflated by up to `threads` workers.
std::vector<DeflatedBand> deflatedBands(const spiral::Picture& picture, int threads) {
  const size_t rowBytes = 1 + (static_cast<size_t>(picture.width()) + 1) / 2;
  const int rowsPerBand = static_cast<int>(std::max<size_t>(1, kBandBytes / rowBytes));
  const int height = picture.height();
  std::vector<DeflatedBand> bands(static_cast<size_t>((height + rowsPerBand - 1) / rowsPerBand));
  numlib::forEachPiece(height, rowsPerBand, threads, [&](int64_t first, int64_t rows) {
    const int end = static_cast<int>(first + rows);
    bands[static_cast<size_t>(first / rowsPerBand)] = deflateBand(picture, static_cast<int>(first), end, end == height);
  });
  return bands;
}

// The image data as IDAT chunks, one a band: the zlib header before the first band's bytes, the
// checksum of all the rows after the last one's.
bool writeImageData(png_structp png, const std::vector<DeflatedBand>& bands) {
  uLong adler = 1;
  for (size_t i = 0; i < bands.size(); ++i) {
    const DeflatedBand& band = bands[i];
    if (band.bytes.empty()) return false;
    adler = adler32_combine(adler, band.adler, static_cast<z_off_t>(band.rawLength));
    std::vector<png_byte> chunk;
    if (i == 0) chunk.assign(kZlibHeader.begin(), kZlibHeader.end());
    chunk.insert(chunk.end(), band.bytes.begin(), band.bytes.end());
    if (i + 1 == bands.size()) {
      for (int shift = 24; shift >= 0; shift -= 8) chunk.push_back(static_cast<png_byte>(adler >> shift));
    }
    png_write_chunk(png, reinterpret_cast<png_const_bytep>("IDAT"), chunk.data(), chunk.size());
  }
  return true;
}

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
bool encode(png_structp png, png_infop info, const spiral::Picture& picture, const std::vector<png_color>& colors,
            const std::vector<DeflatedBand>& bands) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width()), static_cast<png_uint_32>(picture.height()),
               kBitsPerPixel, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_set_PLTE(png, info, colors.data(), static_cast<int>(colors.size()));
  png_set_pHYs(png, info, spiral::kPixelsPerMeter, spiral::kPixelsPerMeter, PNG_RESOLUTION_METER);
  png_write_info(png, info);
  if (!writeImageData(png, bands)) png_error(png, "out of memory");
  png_write_chunk(png, reinterpret_cast<png_const_bytep>("IEND"), nullptr, 0);
  return true;
}

}  // namespace

std::string writePalettePng(const spiral::Picture& picture, fileio::ByteSink& out, int threads) {
  const std::vector<DeflatedBand> bands = deflatedBands(picture, threads);
  Sink sink{&out, {}};
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, recordError, ignoreWarning);
  if (!png) return "out of memory";
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &sink, writeBytes, flushNothing);
  const std::vector<png_color> colors = paletteColors();
  const bool written = info && encode(png, info, picture, colors, bands);
  png_destroy_write_struct(&png, &info);
  if (written) return {};
  return sink.error.empty() ? "out of memory" : sink.error;
}

}  // namespace render
