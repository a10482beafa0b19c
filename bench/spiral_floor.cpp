// The floor: the least a program can do to turn a window of numbers into a 1-pixel spiral picture.
// It sieves the window with primesieve, walks each ring side as a straight run, marks the primes in
// their ring's colour on a byte raster and writes a 4-bit palette PNG with libpng. No checks, no
// statistics, no cluster colours: every run of the renderer states its ratio to this program.
//
//   spiral_floor SIZE START OUT.png

#include <png.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <primesieve.hpp>

namespace {

// The classic 16-colour palette.
constexpr png_color kPalette[16] = {
    {0, 0, 0},       {0, 0, 128},   {0, 128, 0},   {0, 128, 128}, {128, 0, 0},   {128, 0, 128},
    {128, 128, 0},   {192, 192, 192}, {128, 128, 128}, {0, 0, 255}, {0, 255, 0},  {0, 255, 255},
    {255, 0, 0},     {255, 0, 255}, {255, 255, 0}, {255, 255, 255},
};

struct Window {
  int64_t start;
  std::vector<uint8_t> prime;  // one byte per number of the window
  bool isPrime(int64_t index) const { return prime[index]; }
};

Window sieve(int64_t start, int64_t count) {
  Window window{start, std::vector<uint8_t>(count)};
  primesieve::iterator it(start > 0 ? start - 1 : 0);
  for (uint64_t p = it.next_prime(); p < static_cast<uint64_t>(start + count); p = it.next_prime()) {
    window.prime[p - start] = 1;
  }
  return window;
}

// Walks the spiral ring by ring, each side a straight run of 2r cells.
void walk(const Window& window, int cells, int centre, std::vector<uint8_t>& raster, int size) {
  const int64_t count = int64_t{cells} * cells;
  auto mark = [&](int64_t index, int row, int column, uint8_t color) {
    const int x = centre + column;
    const int y = centre + row;
    // An even side leaves the last ring half outside the picture.
    if (index < count && window.isPrime(index) && x < size && y < size) raster[y * int64_t{size} + x] = color;
  };
  mark(0, 0, 0, 9);
  for (int r = 1; int64_t{2 * r - 1} * (2 * r - 1) < count; ++r) {
    const uint8_t color = static_cast<uint8_t>(9 + (r + 6) % 6);
    int64_t index = int64_t{2 * r - 1} * (2 * r - 1);
    for (int row = r - 1; row >= -r; --row) mark(index++, row, r, color);          // up the right side
    for (int column = r - 1; column >= -r; --column) mark(index++, -r, column, color);  // left on top
    for (int row = -r + 1; row <= r; ++row) mark(index++, row, -r, color);         // down the left side
    for (int column = -r + 1; column <= r; ++column) mark(index++, r, column, color);  // right at the bottom
  }
}

bool writePalettePng(const char* fileName, const std::vector<uint8_t>& raster, int size) {
  FILE* file = std::fopen(fileName, "wb");
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, size, size, 4, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_PLTE(png, info, kPalette, 16);
  png_set_compression_level(png, 1);
  png_set_compression_strategy(png, Z_RLE);
  png_set_filter(png, 0, PNG_FILTER_NONE);
  png_write_info(png, info);
  png_set_packing(png);  // one byte per pixel in, two pixels per byte out
  for (int y = 0; y < size; ++y) png_write_row(png, raster.data() + int64_t{y} * size);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: spiral_floor SIZE START OUT.png\n");
    return 64;
  }
  const int size = std::atoi(argv[1]);
  const int64_t start = std::atoll(argv[2]);
  if (size < 1 || start < 0) return 64;
  const int cells = size;
  std::vector<uint8_t> raster(int64_t{size} * size);
  walk(sieve(start, int64_t{cells} * cells), cells, size / 2, raster, size);
  return writePalettePng(argv[3], raster, size) ? 0 : 1;
}
