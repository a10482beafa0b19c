#pragma once
// Tiles: any rectangle of the endless spiral of a start S, at any zoom level. Each cell's number
// comes from the closed form cell -> walk position -> number, so a tile far from the centre costs
// what its own numbers cost. A tile's pixels are those of one plane per view: pixel (0, 0) is the
// centre pixel of the start's cell (walk position 0, number S), x grows to the right and y
// downwards. Cells are drawn by CellRenderer and coloured by ColorSchemes, as the draw pass does.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Choices.h"
#include "DrawSettings.h"
#include "Picture.h"
#include "QuadraticPolynomial.h"
#include "Rule.h"

namespace spiral {

class ClusterColours;

// One zoom level: cells of boxSize pixels, or, at the density levels, one pixel for a square of
// cellsPerPixel x cellsPerPixel cells.
struct ZoomLevel {
  int boxSize;
  int cellsPerPixel;
  bool operator==(const ZoomLevel&) const = default;
};
// From the largest cells to the coarsest density; one zoom step goes to the next entry.
inline constexpr std::array<ZoomLevel, 11> kZoomLevels = {{
    {75, 1}, {35, 1}, {21, 1}, {15, 1}, {7, 1}, {5, 1}, {3, 1}, {1, 1}, {1, 2}, {1, 4}, {1, 8},
}};

// A view's own rule: its compiled tree, told apart from other rules by its text. Without a tree
// the view shows its class.
struct ViewRule {
  std::shared_ptr<const rules::Rule> compiled;
  std::string text;
  explicit operator bool() const { return compiled != nullptr; }
  bool operator==(const ViewRule& other) const { return bool(*this) == bool(other) && text == other.text; }
};

// What a view draws. The random class draws from randomSeed and each cell's walk position, so a
// cell keeps its look wherever the view moves. With an own rule the rule decides which numbers are
// shown, and numberClass is the class it draws like (classDrawnLike), as in a draw pass.
struct ViewSettings {
  Number start = 1;
  int zoom = 4;  // index into kZoomLevels
  bool squares = false;
  bool grid = false;
  bool numerals = true;
  NumberClass numberClass = NumberClass::Primes;
  ColorScheme colorScheme = ColorScheme::Cluster;
  uint64_t randomSeed = 1;
  ViewRule ownRule = {};  // none: the class shows
  bool operator==(const ViewSettings&) const = default;

  const ZoomLevel& level() const { return kZoomLevels[static_cast<size_t>(zoom)]; }
};

// A point and a rectangle of the plane, in pixels.
struct PlanePoint {
  int64_t x = 0;
  int64_t y = 0;
  bool operator==(const PlanePoint&) const = default;
};
struct PlaneRect {
  int64_t x = 0;
  int64_t y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PlaneRect&) const = default;
};
bool isEmpty(const PlaneRect& rect);
// Where two rectangles meet; empty when they do not.
PlaneRect overlap(const PlaneRect& a, const PlaneRect& b);
// Whether every pixel of `inner` lies in `outer`: always, for an empty inner.
bool contains(const PlaneRect& outer, const PlaneRect& inner);

// A cell by its offset from the centre cell: rows down, columns right.
struct CellPos {
  int64_t row = 0;
  int64_t column = 0;
  bool operator==(const CellPos&) const = default;
};

// The cell drawn over a plane pixel (at the density levels, one of the cells the pixel stands for:
// the pixel stands for the cells from cellAtPlane on, cellsPerPixel of them right and down).
CellPos cellAtPlane(const ViewSettings& view, PlanePoint p);
// The centre pixel of a cell (at the density levels, the pixel that stands for it).
PlanePoint centreOfCell(const ViewSettings& view, CellPos cell);

// The walk position of a cell: 0 for the centre; none past 2^64 - 1.
std::optional<Number> walkPositionOf(CellPos cell);
// The cell at a walk position.
CellPos cellAtPosition(Number position);
// The number a cell holds in the spiral of `start`; none when it would pass 2^64 - 1.
std::optional<Number> numberOfCell(Number start, CellPos cell);
// The cell of n in the spiral of `start`; none when n < start.
std::optional<CellPos> cellOfNumber(Number start, Number n);
// The ring of a cell: 1 for the centre cell.
int64_t ringOfCell(CellPos cell);

// The cells of which a plane rectangle shows at least a pixel: rows row0 ... row1, columns
// column0 ... column1.
struct CellRange {
  int64_t row0 = 0, row1 = 0, column0 = 0, column1 = 0;
  bool operator==(const CellRange&) const = default;
};
CellRange cellsOf(const ViewSettings& view, const PlaneRect& rect);
// Of those, the cells whose centre pixel lies in the rectangle: each cell is one tile's own.
CellRange ownCellsOf(const ViewSettings& view, const PlaneRect& rect);
// The largest walk position of those cells; none when one passes 2^64 - 1.
std::optional<Number> largestPositionIn(const CellRange& cells);
// The smallest and the largest walk position of those cells up to `largestPosition`; none when
// there is no such cell.
std::optional<std::pair<Number, Number>> positionsIn(const CellRange& cells, Number largestPosition);

// Whether the view's class shows the number n at a walk position; `prime` says whether n is prime.
// The random class shows odd numbers from 3 on, each with the chance 2 / (ln n + 0.5), drawn from
// the seed and the position alone.
// With an own rule, the rule decides.
bool viewShows(const ViewSettings& view, Number position, Number n, bool prime);
bool isRandomlyShownAt(uint64_t seed, Number position, Number n);
// A random number in [0, 1) above this shows n: the chance 2 / (ln n + 0.5) of the random class.
float randomShowThreshold(Number n);
// An own rule's verdict on the number n in `cell`, `prime` its primality.
rules::Verdict ruleVerdict(const rules::Rule& rule, Number n, CellPos cell, bool prime);

// How many of `cells` cells near n the class marks on average: for primes cells / ln n, for the
// random class cells / (ln n + 0.5), for squares cells / (2 sqrt n), for triangular numbers
// cells / sqrt(2n), all of them for all numbers. A shading, not a count: doubles suffice.
double expectedMarks(NumberClass numberClass, Number n, int64_t cells);
// A fixed draw in [0, 1) for the density pixel whose first cell (top left) is `firstCell`: the
// same pixel always draws the same value, in the explorer and in the renderer alike.
double densityDraw(CellPos firstCell);
// The shade of a density pixel: `marked` of its cells are shown where `expected` are expected.
// Black for none. Otherwise the shade tells where the count stands among those of a Poisson
// variable X of mean `expected`: u = P(X < marked) + draw * P(X = marked), the mid-p value with the
// pixel's own draw in place of its half. With the draw spread evenly u is spread evenly too, so the
// share of pixels in each shade moves smoothly with the height instead of jumping whenever the
// expectation passes a whole number. Cut at fixed levels: dark blue below 0.1, light blue below
// 0.4, dark green below 0.8, light green below 0.95, yellow below 0.99, white above (and where
// none are expected).
int densityShade(int64_t marked, double expected, double draw);

// What a tile asks besides its rectangle. Both pointers may be null.
struct TileContext {
  const std::atomic<bool>* cancel = nullptr;   // polled now and then; set: the tile stops
  const ClusterColours* clusters = nullptr;    // exact cluster colours, where they reach
  bool marksOwnCells = false;                   // keep each own cell's counts, for ownCountsWithin
};

// A count for each of a tile's own units, row by row. Where a unit is one cell its count is 0 or 1,
// a bit; at density levels a pixel counts up to 64 cells, a byte. A bit apiece keeps a 1-pixel
// tile's counts in 2 KB instead of 16, which its worker writes while it draws.
class UnitCounts {
 public:
  // `units` counts of none; one bit each where each unit is one cell.
  void reset(size_t units, bool oneCellEach);
  bool empty() const { return units_ == 0; }
  size_t size() const { return units_; }
  size_t bytes() const { return bytes_.size() + words_.size() * sizeof(uint64_t); }
  void add(size_t unit) {
    if (bytes_.empty()) {
      words_[unit >> 6] |= uint64_t{1} << (unit & 63);
    } else {
      ++bytes_[unit];
    }
  }
  int at(size_t unit) const;
  // The sum of the counts of units first ... first + count - 1.
  int64_t sum(size_t first, size_t count) const;

 private:
  size_t units_ = 0;
  std::vector<uint8_t> bytes_;
  std::vector<uint64_t> words_;
};

struct TileResult {
  bool cancelled = false;        // the picture is unfinished and must not be shown
  bool clusterByRing = false;    // some cluster cells took their ring's colour: beyond the reach
  bool passesLargest = false;    // some cells stay empty: their numbers would pass 2^64 - 1
  std::optional<Number> smallest;  // the smallest and largest number of a cell in the tile
  std::optional<Number> largest;
  int64_t shownCount = 0;        // cells whose number the class shows (at density levels too)
  int64_t undefinedCount = 0;    // cells whose number the own rule leaves undefined (not shown)
  // The same two counts for the tile's own cells, those whose centre lies in it: summed over tiles
  // they count each cell once.
  int64_t ownShownCount = 0;
  int64_t ownUndefinedCount = 0;
  // Both again for each own cell, or at density levels each pixel, row by row: a view that shows
  // part of the tile counts only what it shows (ownCountsWithin). For cells, only when asked.
  UnitCounts ownShown;
  UnitCounts ownUndefined;
  // Their sums over each row and each column of units: a view's edge shows whole rows or whole
  // columns of a tile, and adds those sums instead of the units.
  struct LineSums {
    std::vector<uint32_t> byRow, byColumn;
  };
  LineSums ownShownLines, ownUndefinedLines;
};

// The settings the renderer's pass takes for a view's cells: its start, cell size, class, scheme,
// shape, grid and numerals, over the whole 64-bit range.
DrawSettings drawSettingsOf(const ViewSettings& view);

// Draws the plane rectangle into `out`, which must be rect.width x rect.height: palette indices,
// the pixels the renderer's --centre picture has there. Pure and reentrant.
TileResult drawTile(const ViewSettings& view, const PlaneRect& rect, Picture& out, const TileContext& context = {});
// The same pixels and counts, drawn in bands of whole rows or whole columns of cells (along the
// runs) on up to `threads` workers, a band's picture at a time on each. Keeps no per-cell counts
// (marksOwnCells is not taken).
TileResult drawTileInBands(const ViewSettings& view, const PlaneRect& rect, Picture& out, const TileContext& context,
                           int threads);
// The shown and undefined counts of the tile's own cells (or pixels) whose centre pixel lies in
// `visible`, from the tile drawTile drew over `rect` with marksOwnCells.
std::pair<int64_t, int64_t> ownCountsWithin(const ViewSettings& view, const PlaneRect& rect, const TileResult& result,
                                            const PlaneRect& visible);

// A value of a quadratic in a view, and its cell.
struct ValueCell {
  Number n = 0;
  CellPos cell;
};
// The cells of a plane rectangle whose numbers are values f(t), t >= 0, in walk order: each run of
// consecutive positions asks numlib::valuesBetween for its numbers, so that a view far out costs
// a few searches per ring side. Empty when `cancel` was set meanwhile.
std::vector<ValueCell> quadraticValuesIn(const ViewSettings& view, const PlaneRect& rect,
                                         const numlib::QuadraticPolynomial& f, const std::atomic<bool>* cancel = nullptr);

}  // namespace spiral
