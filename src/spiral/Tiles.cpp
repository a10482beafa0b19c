#include "Tiles.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <numeric>
#include <span>
#include <type_traits>
#include <utility>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "CellRenderer.h"
#include "ClusterColours.h"
#include "ColorSchemes.h"
#include "Geometry.h"
#include "Int128.h"
#include "Palette.h"
#include "Workers.h"
#include "numlib.hpp"

namespace spiral {

DrawSettings drawSettingsOf(const ViewSettings& view) {
  DrawSettings settings;
  settings.start = view.start;
  settings.range = kWholeRange;
  settings.boxSize = view.level().boxSize;
  settings.squares = view.squares;
  settings.grid = view.grid;
  settings.numerals = view.numerals;
  settings.numberClass = view.numberClass;
  settings.colorScheme = view.colorScheme;
  return settings;
}

namespace {

using numlib::Int128;

constexpr uint64_t absOf(int64_t v) { return v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v); }

// SplitMix64's finish: each bit of z moves about half of the result's.
constexpr uint64_t splitMix(uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

// A straight run of cells whose walk positions follow one another: part of one side of one ring.
struct Run {
  CellPos first;          // the cell of the smallest position
  int rowStep = 0;        // from one cell to the next position's
  int columnStep = 0;
  Number firstPosition = 0;
  int64_t length = 0;     // cells from `first` whose numbers stay within 2^64 - 1
  CellPos at(int64_t j) const { return {first.row + j * rowStep, first.column + j * columnStep}; }
};

// The cells of rows [rows.first, rows.second] and columns [columns.first, columns.second] as runs,
// in walk order: in each row the cells of the ring's top or bottom side, in each column those of its
// left or right side. Cells past the largest position are left out; returns whether there were any.
bool runsOf(int64_t row0, int64_t row1, int64_t col0, int64_t col1, Number largestPosition, std::vector<Run>& runs) {
  runs.clear();
  // At most a run a row and a run a column: room for them at once, not a push at a time.
  runs.reserve(static_cast<size_t>(std::max<int64_t>(row1 - row0 + 1, 0) + std::max<int64_t>(col1 - col0 + 1, 0)));
  bool passes = false;
  const auto add = [&](CellPos first, int rowStep, int columnStep, int64_t length) {
    const std::optional<Number> position = walkPositionOf(first);
    if (!position || *position > largestPosition) {
      passes = true;
      return;
    }
    const Number room = largestPosition - *position;
    if (static_cast<Number>(length - 1) > room) {
      passes = true;
      length = static_cast<int64_t>(room + 1);
    }
    runs.push_back({first, rowStep, columnStep, *position, length});
  };
  for (int64_t row = row0; row <= row1; ++row) {  // top and bottom sides, corners included
    const int64_t reach = static_cast<int64_t>(absOf(row));
    const int64_t lo = std::max(col0, -reach);
    const int64_t hi = std::min(col1, reach);
    if (lo > hi) continue;
    if (row >= 0) {
      add({row, lo}, 0, 1, hi - lo + 1);  // the bottom side runs right
    } else {
      add({row, hi}, 0, -1, hi - lo + 1);  // the top side runs left
    }
  }
  for (int64_t column = col0; column <= col1; ++column) {  // left and right sides between the corners
    if (column == 0) continue;
    const int64_t reach = static_cast<int64_t>(absOf(column)) - 1;
    const int64_t lo = std::max(row0, -reach);
    const int64_t hi = std::min(row1, reach);
    if (lo > hi) continue;
    if (column > 0) {
      add({hi, column}, -1, 0, hi - lo + 1);  // the right side runs up
    } else {
      add({lo, column}, 1, 0, hi - lo + 1);  // the left side runs down
    }
  }
  std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.firstPosition < b.firstPosition; });
  return passes;
}

using Bits = std::span<const uint64_t>;

bool bitOf(Bits bits, int64_t j) { return ((bits[static_cast<size_t>(j >> 6)] >> (j & 63)) & 1) != 0; }

void setBit(std::vector<uint64_t>& bits, int64_t j) { bits[static_cast<size_t>(j >> 6)] |= uint64_t{1} << (j & 63); }

// Calls f(w, bits) for each word w of the set that holds some of from ... to, with the bits
// outside from ... to cleared.
template <class F>
void forEachWord(Bits set, int64_t from, int64_t to, F f) {
  if (set.empty()) return;
  for (int64_t word = from >> 6; word <= to >> 6; ++word) {
    uint64_t bits = set[static_cast<size_t>(word)];
    if (word == from >> 6) bits &= ~uint64_t{0} << (from & 63);
    if (word == to >> 6 && (to & 63) != 63) bits &= (uint64_t{1} << ((to & 63) + 1)) - 1;
    f(word, bits);
  }
}

template <class F>
void forEachSet(Bits set, int64_t from, int64_t to, F f) {
  forEachWord(set, from, to, [&f](int64_t word, uint64_t bits) {
    for (; bits != 0; bits &= bits - 1) f(word * 64 + std::countr_zero(bits));
  });
}

int64_t countSet(Bits set, int64_t from, int64_t to) {
  int64_t count = 0;
  forEachWord(set, from, to, [&count](int64_t, uint64_t bits) { count += std::popcount(bits); });
  return count;
}

// The numbers of one run: which the class or the own rule shows, their primality and, for Veltra,
// their factor counts, each asked once for the whole run.
class RunNumbers {
 public:
  RunNumbers(const ViewSettings& view, bool veltra)
      : view_(view), needsPrimes_(view.numberClass == NumberClass::Primes || veltra || view.ownRule), veltra_(veltra) {}

  // The primality of every run's numbers, asked at once: far out, the tests of all their numbers
  // then run side by side in full groups, which a run of some tens of numbers alone leaves half empty.
  void findPrimes(const std::vector<Run>& runs) {
    if (!needsPrimes_) return;
    runWords_.assign(runs.size() + 1, 0);
    for (size_t k = 0; k < runs.size(); ++k) runWords_[k + 1] = runWords_[k] + wordsOf(runs[k].length);
    allPrimeBits_.assign(runWords_.back(), 0);
    windows_.clear();
    windows_.reserve(runs.size());
    for (size_t k = 0; k < runs.size(); ++k) {
      windows_.push_back({view_.start + runs[k].firstPosition, static_cast<uint64_t>(runs[k].length),
                          allPrimeBits_.data() + runWords_[k]});
    }
    numlib::primeBitsOfWindows(windows_);
  }

  // Run k of those findPrimes was given. Primes show straight from the bits findPrimes found.
  void load(const Run& run, size_t k) {
    const int64_t count = run.length;
    first_ = view_.start + run.firstPosition;
    const size_t words = wordsOf(count);
    if (needsPrimes_) primeBits_ = Bits(allPrimeBits_).subspan(runWords_[k], words);
    if (view_.ownRule) {
      loadRule(run);
    } else if (view_.numberClass == NumberClass::Primes) {
      shownBits_ = primeBits_;
    } else {
      shownStorage_.assign(words, 0);
      for (int64_t j = 0; j < count; ++j) {
        if (viewShows(view_, run.firstPosition + static_cast<Number>(j), first_ + static_cast<Number>(j), prime(j))) {
          setBit(shownStorage_, j);
        }
      }
      shownBits_ = shownStorage_;
    }
    if (veltra_) factorCounts_.emplace(first_, count);
  }
  bool prime(int64_t j) const { return needsPrimes_ && bitOf(primeBits_, j); }
  // Only an own rule leaves numbers undefined.
  bool leavesUndefined() const { return static_cast<bool>(view_.ownRule); }
  bool shown(int64_t j) const { return bitOf(shownBits_, j); }
  // The numbers among from ... to the own rule left undefined.
  int64_t undefinedBetween(int64_t from, int64_t to) const { return countSet(undefinedBits_, from, to); }
  int factorCount(int64_t j) { return veltra_ && !prime(j) ? factorCounts_->of(first_ + static_cast<Number>(j)) : 1; }
  // The shown cells among from ... to.
  int64_t shownBetween(int64_t from, int64_t to) const { return countSet(shownBits_, from, to); }
  // Calls f(j) for each shown j from `from` to `to`, in order.
  template <class F>
  void forEachShown(int64_t from, int64_t to, F f) const { forEachSet(shownBits_, from, to, f); }
  template <class F>
  void forEachUndefined(int64_t from, int64_t to, F f) const { forEachSet(undefinedBits_, from, to, f); }

 private:
  // A rule that shows primes only is asked of the primes alone, as a pass asks it; it answers No
  // for the others.
  void loadRule(const Run& run) {
    const size_t words = wordsOf(run.length);
    shownStorage_.assign(words, 0);
    undefinedBits_.assign(words, 0);
    shownBits_ = shownStorage_;
    const rules::Rule& rule = *view_.ownRule.compiled;
    const auto ask = [&](int64_t j) {
      switch (ruleVerdict(rule, first_ + static_cast<Number>(j), run.at(j), prime(j))) {
        case rules::Verdict::Yes: setBit(shownStorage_, j); break;
        case rules::Verdict::Undefined: setBit(undefinedBits_, j); break;
        case rules::Verdict::No: break;
      }
    };
    if (rule.showsOnlyPrimes()) {
      forEachSet(primeBits_, 0, run.length - 1, ask);
    } else {
      for (int64_t j = 0; j < run.length; ++j) ask(j);
    }
  }

  static size_t wordsOf(int64_t count) { return static_cast<size_t>((count + 63) / 64); }

  const ViewSettings& view_;
  bool needsPrimes_;
  bool veltra_;
  Number first_ = 0;
  Bits primeBits_;                      // of the loaded run, in allPrimeBits_
  std::vector<uint64_t> allPrimeBits_;  // of every run findPrimes was given; run k from word runWords_[k]
  std::vector<size_t> runWords_;
  std::vector<numlib::BitWindow> windows_;
  Bits shownBits_;                      // the primes', or shownStorage_
  std::vector<uint64_t> shownStorage_;  // where the class or the own rule decides
  std::vector<uint64_t> undefinedBits_;  // with an own rule
  std::optional<FactorCounts> factorCounts_;
};

// The scheme None repeats the centre's colour: white when the centre is shown, else black.
int noneSchemeColour(RunNumbers& numbers) {
  const std::vector<Run> centre = {{.first = {0, 0}, .firstPosition = 0, .length = 1}};
  numbers.findPrimes(centre);
  numbers.load(centre[0], 0);
  return numbers.shown(0) ? kWhite : kBlack;
}

// The j of a run's cells whose coordinate along one axis lies in lo ... hi: [first, last], empty
// when first > last.
std::pair<int64_t, int64_t> stepsWithin(int64_t start, int step, int64_t length, int64_t lo, int64_t hi) {
  if (step == 0) return start >= lo && start <= hi ? std::pair<int64_t, int64_t>{0, length - 1} : std::pair<int64_t, int64_t>{0, -1};
  const int64_t a = step > 0 ? lo - start : start - hi;
  const int64_t b = step > 0 ? hi - start : start - lo;
  return {std::max<int64_t>(a, 0), std::min(b, length - 1)};
}

// The j of a run's cells inside a range of cells: [first, last], empty when first > last.
std::pair<int64_t, int64_t> stepsWithin(const Run& run, const CellRange& cells) {
  const auto [rowFirst, rowLast] = stepsWithin(run.first.row, run.rowStep, run.length, cells.row0, cells.row1);
  const auto [colFirst, colLast] = stepsWithin(run.first.column, run.columnStep, run.length, cells.column0, cells.column1);
  return {std::max(rowFirst, colFirst), std::min(rowLast, colLast)};
}

// The sum of `count` bytes of at most 64 each, eight at a time: the status bar sums the rows of
// the view's edge tiles whenever the view moves, and one at a time that cost more than the pan.
int64_t sumOfBytes(const uint8_t* bytes, size_t count) {
  int64_t sum = 0;
  size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    uint64_t word = 0;
    std::memcpy(&word, bytes + i, 8);
    constexpr uint64_t kEvenBytes = 0x00FF00FF00FF00FFu;
    word = (word & kEvenBytes) + ((word >> 8) & kEvenBytes);      // four sums of two bytes, 16 bits each
    sum += static_cast<int64_t>((word * 0x0001000100010001u) >> 48);  // their sum in the top 16 bits
  }
  for (; i < count; ++i) sum += bytes[i];
  return sum;
}

// The tile's own cells in units: a cell, or at density levels the k x k cells of a pixel; row by
// row, `columns` to a row.
struct OwnUnits {
  CellRange cells;
  int k = 1;
  int kShift = 0;  // k is a power of two: a unit is found by a shift, not a division for every shown cell
  int64_t rows = 0;
  int64_t columns = 0;

  OwnUnits(const ViewSettings& view, const PlaneRect& rect)
      : cells(ownCellsOf(view, rect)), k(view.level().cellsPerPixel), kShift(std::countr_zero(static_cast<unsigned>(k))),
        rows(std::max<int64_t>(0, ceilDiv64(cells.row1 - cells.row0 + 1, k))),
        columns(std::max<int64_t>(0, ceilDiv64(cells.column1 - cells.column0 + 1, k))) {}
  size_t count() const { return static_cast<size_t>(rows * columns); }
  // The row and column of units that hold the cell, one of the tile's own.
  int64_t unitRow(int64_t row) const { return (row - cells.row0) >> kShift; }
  int64_t unitColumn(int64_t column) const { return (column - cells.column0) >> kShift; }
  size_t indexOf(CellPos cell) const { return static_cast<size_t>(unitRow(cell.row) * columns + unitColumn(cell.column)); }
  // Counts the `count` cells j of a run that forEach(f) gives in their units, and in the sums of
  // their units' rows and columns. A run keeps to one row or one column: that line's sum takes the
  // count at once, and only the other one is counted cell by cell.
  template <class ForEach>
  void addRun(const Run& run, int64_t count, ForEach forEach, UnitCounts& units, TileResult::LineSums& lines) const {
    if (count == 0) return;
    addToLineOfRun(run, count, lines);
    const bool alongRow = run.rowStep == 0;
    forEach([&](int64_t j) {
      const CellPos cell = run.at(j);
      const auto row = static_cast<size_t>(unitRow(cell.row)), column = static_cast<size_t>(unitColumn(cell.column));
      units.add(row * static_cast<size_t>(columns) + column);
      ++(alongRow ? lines.byColumn[column] : lines.byRow[row]);
    });
  }
  // The count of a run's cells in the sum of the one line of units it keeps to.
  void addToLineOfRun(const Run& run, int64_t count, TileResult::LineSums& lines) const {
    if (run.rowStep == 0) {
      lines.byRow[static_cast<size_t>(unitRow(run.first.row))] += static_cast<uint32_t>(count);
    } else {
      lines.byColumn[static_cast<size_t>(unitColumn(run.first.column))] += static_cast<uint32_t>(count);
    }
  }
  void clear(UnitCounts& units, TileResult::LineSums& lines, bool kept) const {
    units.reset(kept ? count() : 0, k == 1);
    lines.byRow.assign(kept ? static_cast<size_t>(rows) : 0, 0);
    lines.byColumn.assign(kept ? static_cast<size_t>(columns) : 0, 0);
  }
};

// Widens the tile's range of numbers to take in smallest ... largest.
void includeNumbers(TileResult& result, Number smallest, Number largest) {
  if (!result.smallest || smallest < *result.smallest) result.smallest = smallest;
  if (!result.largest || largest > *result.largest) result.largest = largest;
}

// Counts a run's cells inside the tile itself (not its margin): their numbers and the shown ones;
// and of those the shown and undefined ones whose centre lies in the tile, the tile's own cells,
// each in its unit too, unless the drawer counts the shown ones in their units as it draws them.
void tallyRun(const Run& run, const RunNumbers& numbers, const CellRange& tile, const OwnUnits& own, Number start,
              bool drawerCountsShownUnits, TileResult& result) {
  const auto ownSteps = stepsWithin(run, own.cells);
  int64_t ownShown = 0, ownUndefined = 0;
  // Plain names, not a structured binding: the lambdas below capture them, which clang refuses.
  if (const int64_t from = ownSteps.first, to = ownSteps.second; from <= to) {
    ownShown = numbers.shownBetween(from, to);
    ownUndefined = numbers.undefinedBetween(from, to);
    result.ownShownCount += ownShown;
    result.ownUndefinedCount += ownUndefined;
    if (!result.ownShown.empty() && drawerCountsShownUnits) {
      own.addToLineOfRun(run, ownShown, result.ownShownLines);
    } else if (!result.ownShown.empty()) {
      own.addRun(run, ownShown, [&](auto f) { numbers.forEachShown(from, to, f); }, result.ownShown, result.ownShownLines);
    }
    if (!result.ownUndefined.empty()) {
      own.addRun(run, ownUndefined, [&](auto f) { numbers.forEachUndefined(from, to, f); }, result.ownUndefined,
                 result.ownUndefinedLines);
    }
  }
  // Cells of a pixel or less: the tile's cells are its own ones.
  const auto tileSteps = tile == own.cells ? ownSteps : stepsWithin(run, tile);
  const auto [from, to] = tileSteps;
  if (from > to) return;
  const Number smallest = start + run.firstPosition + static_cast<Number>(from);
  const Number largest = start + run.firstPosition + static_cast<Number>(to);
  includeNumbers(result, smallest, largest);
  const bool sameCells = tileSteps == ownSteps;  // already counted
  result.shownCount += sameCells ? ownShown : numbers.shownBetween(from, to);
  result.undefinedCount += sameCells ? ownUndefined : numbers.undefinedBetween(from, to);
}

bool cancelled(const TileContext& context) { return context.cancel != nullptr && context.cancel->load(std::memory_order_relaxed); }

// Loads each run's numbers in turn, counts them and hands the run on, until the tile is cancelled.
// `drawerCountsShownUnits(run)`: whether drawRun counts the run's shown cells in their units.
template <class Counts, class F>
void forEachRun(const std::vector<Run>& runs, RunNumbers& numbers, const CellRange& tile, const OwnUnits& own, Number start,
                const TileContext& context, TileResult& result, Counts drawerCountsShownUnits, F drawRun) {
  const bool marks = context.marksOwnCells || own.k > 1;  // a density pixel is shaded by its count
  own.clear(result.ownShown, result.ownShownLines, marks);
  own.clear(result.ownUndefined, result.ownUndefinedLines, marks && numbers.leavesUndefined());
  if (cancelled(context)) {
    result.cancelled = true;
    return;
  }
  numbers.findPrimes(runs);
  for (size_t k = 0; k < runs.size(); ++k) {
    if (cancelled(context)) {
      result.cancelled = true;
      return;
    }
    numbers.load(runs[k], k);
    tallyRun(runs[k], numbers, tile, own, start, drawerCountsShownUnits(runs[k]), result);
    drawRun(runs[k]);
  }
}

// Cells of boxSize pixels: every cell touching the tile is drawn in walk order, as the pass draws
// them, and so are its neighbours where numerals may reach over a cell's edge.
TileResult drawCells(const ViewSettings& view, const PlaneRect& rect, Picture& out, const TileContext& context) {
  TileResult result;
  const DrawSettings settings = drawSettingsOf(view);
  const int s = settings.boxSize;
  const Geometry geometry = computeGeometry(s, s, s);
  CellRenderer cells(settings, geometry, out);
  const int colorCount = colorCountOf(settings);
  const ClusterColours* clusters =
      context.clusters != nullptr && context.clusters->matches(view) ? context.clusters : nullptr;
  const bool clusterScheme = view.colorScheme == ColorScheme::Cluster;
  const bool veltra = view.colorScheme == ColorScheme::Veltra;

  const CellRange tile = cellsOf(view, rect);
  const int64_t margin = settings.writesNumerals() ? 1 : 0;
  std::vector<Run> runs;
  result.passesLargest = runsOf(tile.row0 - margin, tile.row1 + margin, tile.column0 - margin, tile.column1 + margin,
                                ~Number{0} - view.start, runs);

  RunNumbers numbers(view, veltra);
  const int noneColor = view.colorScheme == ColorScheme::None ? noneSchemeColour(numbers) : kBlack;

  // A shown cell's colour, but for the centre's.
  const auto shownColour = [&](const Run& run, int64_t j) {
    const Number position = run.firstPosition + static_cast<Number>(j);
    if (clusterScheme && clusters != nullptr && clusters->covers(position)) return clusters->colourAt(position);
    if (view.colorScheme == ColorScheme::None) return noneColor;
    result.clusterByRing |= clusterScheme;
    const CellPos cell = run.at(j);
    return ownColor(view.colorScheme, colorCount,
                    {view.start + position, ringOfCell(cell), cell.column - cell.row, cell.row + cell.column,
                     numbers.prime(j), numbers.factorCount(j)});
  };
  // The colour all of a run's shown cells take, where its ring alone decides it (a run keeps to one
  // side of one ring); none where each cell has its own.
  const auto runColour = [&](const Run& run) -> std::optional<int> {
    switch (view.colorScheme) {
      case ColorScheme::None: return noneColor;
      case ColorScheme::Cluster:
        if (clusters != nullptr && clusters->covers(run.firstPosition)) return std::nullopt;  // and so the rest
        [[fallthrough]];
      case ColorScheme::White:
      case ColorScheme::RingNumber: return ownColor(view.colorScheme, colorCount, {.ring = ringOfCell(run.first)});
      default: return std::nullopt;
    }
  };

  const auto drawCell = [&](const Run& run, int64_t j) {
    const CellPos cell = run.at(j);
    const Number position = run.firstPosition + static_cast<Number>(j);
    const Number n = view.start + position;
    const int x = static_cast<int>(cell.column * s - rect.x);
    const int y = static_cast<int>(cell.row * s - rect.y);
    const bool shown = numbers.shown(j);
    if (position == 0) {
      if (shown) {
        cells.drawCell(x, y, centreColorOf(view.colorScheme, colorCount, n, numbers.prime(j), numbers.factorCount(j)), n);
      } else if (cellSizeOf(s).centreGridDot) {
        cells.drawCentralGridDot(x, y);
      }
      return;
    }
    if (!shown) {
      cells.drawGridMark(x, y, ringCornerOf(cell.row, cell.column));
      return;
    }
    cells.drawCell(x, y, shownColour(run, j), n);
  };

  // 1-pixel cells without grid marks, as far views are mostly drawn: a run's cells lie on one line
  // of the tile, a pixel each, and each is the tile's own, in the unit of the same index as its
  // pixel. One pass over the run's shown cells writes their pixels and counts them in their units
  // and in the sums of the lines across the run; the tally adds them to the run's own line.
  const OwnUnits own(view, rect);
  const bool pixelCells = s == 1 && margin == 0 && !cells.drawsUnshownCells();
  const auto drawPixelRun = [&](const Run& run) {
    const int64_t offset = (run.first.row - rect.y) * rect.width + (run.first.column - rect.x);
    const int64_t step = run.rowStep * rect.width + run.columnStep;
    uint8_t* const pixels = out.writableLine(0) + offset;
    const std::optional<int> colour = runColour(run);
    if (colour && view.colorScheme == ColorScheme::Cluster && !result.clusterByRing &&
        numbers.shownBetween(0, run.length - 1) > 0) {
      result.clusterByRing = true;
    }
    const uint8_t index = Picture::paletteIndex(colour.value_or(kBlack));
    const bool marks = !result.ownShown.empty();
    const bool alongRow = run.rowStep == 0;
    uint32_t* const across = !marks    ? nullptr
                             : alongRow ? result.ownShownLines.byColumn.data() + (run.first.column - rect.x)
                                        : result.ownShownLines.byRow.data() + (run.first.row - rect.y);
    const int acrossStep = alongRow ? run.columnStep : run.rowStep;
    // One loop for each case, so that the loop without marks does not ask at every cell.
    const auto drawShown = [&](auto counted) {
      numbers.forEachShown(0, run.length - 1, [&](int64_t j) {
        pixels[j * step] = colour ? index : Picture::paletteIndex(shownColour(run, j));
        if constexpr (decltype(counted)::value) {
          result.ownShown.add(static_cast<size_t>(offset + j * step));
          ++across[j * acrossStep];
        }
      });
    };
    if (marks) {
      drawShown(std::true_type{});
    } else {
      drawShown(std::false_type{});
    }
  };
  const auto drawnAsPixels = [&](const Run& run) { return pixelCells && run.firstPosition != 0; };
  forEachRun(runs, numbers, tile, own, view.start, context, result, drawnAsPixels, [&](const Run& run) {
    if (drawnAsPixels(run)) {
      drawPixelRun(run);
    } else if (cells.drawsUnshownCells() || run.firstPosition == 0) {
      for (int64_t j = 0; j < run.length; ++j) drawCell(run, j);
    } else {
      numbers.forEachShown(0, run.length - 1, [&](int64_t j) { drawCell(run, j); });
    }
  });
  return result;
}

// Density levels: each pixel counts the cells it stands for that the class marks.
TileResult drawDensity(const ViewSettings& view, const PlaneRect& rect, Picture& out, const TileContext& context) {
  TileResult result;
  const int k = view.level().cellsPerPixel;
  const CellRange tile = cellsOf(view, rect);
  const auto pixels = static_cast<size_t>(rect.width) * static_cast<size_t>(rect.height);
  std::vector<uint16_t> valid(pixels, 0);
  std::vector<Number> largest(pixels, 0);  // the density is taken at the largest number of a pixel
  std::vector<Run> runs;
  result.passesLargest = runsOf(tile.row0, tile.row1, tile.column0, tile.column1, ~Number{0} - view.start, runs);
  RunNumbers numbers(view, false);
  // A pixel's cells are all the tile's own: the tally counts the marked ones of each pixel.
  const OwnUnits pixelsOfCells(view, rect);
  const auto unitsCountedByTally = [](const Run&) { return false; };
  forEachRun(runs, numbers, tile, pixelsOfCells, view.start, context, result, unitsCountedByTally, [&](const Run& run) {
    for (int64_t j = 0; j < run.length; ++j) {
      const size_t pixel = pixelsOfCells.indexOf(run.at(j));
      largest[pixel] = std::max(largest[pixel], view.start + run.firstPosition + static_cast<Number>(j));
      ++valid[pixel];
    }
  });
  if (result.cancelled) return result;
  for (int y = 0; y < rect.height; ++y) {
    for (int x = 0; x < rect.width; ++x) {
      const size_t pixel = static_cast<size_t>(y) * static_cast<size_t>(rect.width) + static_cast<size_t>(x);
      if (valid[pixel] == 0) continue;
      const double expected = expectedMarks(view.numberClass, largest[pixel], valid[pixel]);
      const CellPos first{tile.row0 + int64_t{y} * k, tile.column0 + int64_t{x} * k};
      out.setPixel(x, y, densityShade(result.ownShown.at(pixel), expected, densityDraw(first)));
    }
  }
  return result;
}

}  // namespace

void UnitCounts::reset(size_t units, bool oneCellEach) {
  units_ = units;
  bytes_.assign(oneCellEach ? 0 : units, 0);
  words_.assign(oneCellEach ? (units + 63) / 64 : 0, 0);
}

int UnitCounts::at(size_t unit) const {
  return bytes_.empty() ? static_cast<int>((words_[unit >> 6] >> (unit & 63)) & 1) : bytes_[unit];
}

int64_t UnitCounts::sum(size_t first, size_t count) const {
  if (count == 0) return 0;
  if (!bytes_.empty()) return sumOfBytes(bytes_.data() + first, count);
  return countSet(words_, static_cast<int64_t>(first), static_cast<int64_t>(first + count - 1));
}

double expectedMarks(NumberClass numberClass, Number n, int64_t cells) {
  const double x = std::max(static_cast<double>(n), 3.0);
  double density = 0;
  switch (numberClass) {
    case NumberClass::Primes: density = 1.0 / std::log(x); break;
    case NumberClass::Random: density = 1.0 / (std::log(x) + 0.5); break;
    case NumberClass::Squares: density = 0.5 / std::sqrt(x); break;
    case NumberClass::Triangular: density = 1.0 / std::sqrt(2.0 * x); break;
    case NumberClass::All: density = 1.0; break;
    case NumberClass::None: density = 0.0; break;
  }
  return std::min(density, 1.0) * static_cast<double>(cells);
}

double densityDraw(CellPos firstCell) {
  const uint64_t z = static_cast<uint64_t>(firstCell.row) * 0xD1B54A32D192ED03ULL ^ static_cast<uint64_t>(firstCell.column);
  return static_cast<double>(splitMix(z) >> 11) * 0x1.0p-53;
}

int densityShade(int64_t marked, double expected, double draw) {
  if (marked == 0) return kBlack;
  // P(X < marked) and P(X = marked), term by term: a pixel has at most 64 cells.
  double below = 0;
  double term = std::exp(-expected);  // P(X = 0)
  for (int64_t j = 0; j < marked; ++j) {
    below += term;
    term *= expected / static_cast<double>(j + 1);
  }
  const double u = below + draw * term;
  constexpr std::array<std::pair<double, int>, 5> kCuts = {
      {{0.1, kDarkBlue}, {0.4, kLightBlue}, {0.8, kDarkGreen}, {0.95, kLightGreen}, {0.99, kYellow}}};
  for (const auto& [level, shade] : kCuts)
    if (u < level) return shade;
  return kWhite;
}

bool viewShows(const ViewSettings& view, Number position, Number n, bool prime) {
  if (view.ownRule) return ruleVerdict(*view.ownRule.compiled, n, cellAtPosition(position), prime) == rules::Verdict::Yes;
  switch (view.numberClass) {
    case NumberClass::Primes: return prime;
    case NumberClass::Random: return isRandomlyShownAt(view.randomSeed, position, n);
    case NumberClass::Squares: return numlib::isSquare(n);
    case NumberClass::Triangular: return numlib::isTriangular(n);
    case NumberClass::All: return true;
    case NumberClass::None: return false;
  }
  return false;
}

rules::Verdict ruleVerdict(const rules::Rule& rule, Number n, CellPos cell, bool prime) {
  return rule.verdict({n, ringOfCell(cell), cell.column, -cell.row, prime});
}

bool isRandomlyShownAt(uint64_t seed, Number position, Number n) {
  if (n < 3 || n % 2 == 0) return false;
  // Of the seed and the position: the same cell always draws the same value.
  const uint64_t z = splitMix(seed + (position + 1) * 0x9E3779B97F4A7C15ULL);
  return static_cast<double>(z >> 11) * 0x1.0p-53 > randomShowThreshold(n);
}

float randomShowThreshold(Number n) {
  return static_cast<float>(1.0 - 2.0 / (std::log(static_cast<double>(n)) + 0.5));
}

// A cell larger than a pixel touches up to four tiles. Its centre pixel lies at boxSize times its
// row and column (centreOfCell).
CellRange ownCellsOf(const ViewSettings& view, const PlaneRect& rect) {
  const ZoomLevel& level = view.level();
  if (level.cellsPerPixel > 1) return cellsOf(view, rect);
  const int64_t s = level.boxSize;
  return {ceilDiv64(rect.y, s), floorDiv64(rect.y + rect.height - 1, s), ceilDiv64(rect.x, s),
          floorDiv64(rect.x + rect.width - 1, s)};
}

std::pair<int64_t, int64_t> ownCountsWithin(const ViewSettings& view, const PlaneRect& rect, const TileResult& result,
                                            const PlaneRect& visible) {
  const OwnUnits own(view, rect);
  if (result.ownShown.size() != own.count()) return {0, 0};
  // The own cells of the visible part are its own cells inside the tile's.
  const CellRange seen = ownCellsOf(view, visible);
  const CellRange both{std::max(own.cells.row0, seen.row0), std::min(own.cells.row1, seen.row1),
                       std::max(own.cells.column0, seen.column0), std::min(own.cells.column1, seen.column1)};
  if (both.column0 > both.column1 || both.row0 > both.row1) return {0, 0};
  const CellRange& all = own.cells;
  const auto sumOfLines = [](const std::vector<uint32_t>& lines, int64_t first, int64_t last) {
    return lines.empty() ? int64_t{0} : std::accumulate(lines.begin() + first, lines.begin() + last + 1, int64_t{0});
  };
  // The units of the rows in view and of columns column0 ... column1, a row's units side by side.
  const auto unitsOfRowsInView = [&](int64_t column0, int64_t column1) {
    std::pair<int64_t, int64_t> sums{0, 0};
    if (column0 > column1) return sums;
    for (int64_t row = both.row0; row <= both.row1; row += own.k) {
      const size_t first = own.indexOf({row, column0});
      const size_t count = own.indexOf({row, column1}) - first + 1;
      sums.first += result.ownShown.sum(first, count);
      if (!result.ownUndefined.empty()) sums.second += result.ownUndefined.sum(first, count);
    }
    return sums;
  };
  const int64_t firstColumn = own.unitColumn(both.column0), lastColumn = own.unitColumn(both.column1);
  if (both.row0 == all.row0 && both.row1 == all.row1) {  // whole columns: their sums
    if (both.column0 == all.column0 && both.column1 == all.column1) return {result.ownShownCount, result.ownUndefinedCount};
    return {sumOfLines(result.ownShownLines.byColumn, firstColumn, lastColumn),
            sumOfLines(result.ownUndefinedLines.byColumn, firstColumn, lastColumn)};
  }
  // The rows in view: their units in view, or, where most of a row is in view, the rows' sums less
  // the units outside, the fewer to add.
  if (2 * (lastColumn - firstColumn + 1) <= own.columns) return unitsOfRowsInView(both.column0, both.column1);
  const int64_t firstRow = own.unitRow(both.row0), lastRow = own.unitRow(both.row1);
  std::pair<int64_t, int64_t> counts{sumOfLines(result.ownShownLines.byRow, firstRow, lastRow),
                                     sumOfLines(result.ownUndefinedLines.byRow, firstRow, lastRow)};
  for (const auto& [column0, column1] : {std::pair{all.column0, both.column0 - 1}, std::pair{both.column1 + 1, all.column1}}) {
    const auto [shown, undefined] = unitsOfRowsInView(column0, column1);
    counts.first -= shown;
    counts.second -= undefined;
  }
  return counts;
}

// The largest position is a corner's (largestPositionIn), and the nearest ring meets the range only
// on the edges nearest the centre. So the edge alone gives both ends, unless some cells pass the
// largest position.
std::optional<std::pair<Number, Number>> positionsOnEdge(const CellRange& cells, Number largestPosition) {
  const std::optional<Number> largestOrNone = largestPositionIn(cells);
  if (!largestOrNone || *largestOrNone > largestPosition) return std::nullopt;
  const Number largest = *largestOrNone;
  const bool rowsHoldCentre = cells.row0 <= 0 && cells.row1 >= 0;
  const bool columnsHoldCentre = cells.column0 <= 0 && cells.column1 >= 0;
  Number smallest = rowsHoldCentre && columnsHoldCentre ? 0 : largest;
  const auto take = [&smallest](CellPos cell) { smallest = std::min(smallest, *walkPositionOf(cell)); };
  if (!rowsHoldCentre) {
    const int64_t row = cells.row0 > 0 ? cells.row0 : cells.row1;
    for (int64_t column = cells.column0; column <= cells.column1; ++column) take({row, column});
  }
  if (!columnsHoldCentre) {
    const int64_t column = cells.column0 > 0 ? cells.column0 : cells.column1;
    for (int64_t row = cells.row0; row <= cells.row1; ++row) take({row, column});
  }
  return std::pair{smallest, largest};
}

std::optional<std::pair<Number, Number>> positionsIn(const CellRange& cells, Number largestPosition) {
  if (const auto onEdge = positionsOnEdge(cells, largestPosition)) return onEdge;
  std::vector<Run> runs;
  runsOf(cells.row0, cells.row1, cells.column0, cells.column1, largestPosition, runs);
  if (runs.empty()) return std::nullopt;
  Number largest = 0;
  for (const Run& run : runs) largest = std::max(largest, run.firstPosition + static_cast<Number>(run.length - 1));
  return std::pair{runs.front().firstPosition, largest};
}

bool isEmpty(const PlaneRect& rect) { return rect.width <= 0 || rect.height <= 0; }

PlaneRect overlap(const PlaneRect& a, const PlaneRect& b) {
  const int64_t x0 = std::max(a.x, b.x), x1 = std::min(a.x + a.width, b.x + b.width);
  const int64_t y0 = std::max(a.y, b.y), y1 = std::min(a.y + a.height, b.y + b.height);
  if (x0 >= x1 || y0 >= y1) return {x0, y0, 0, 0};
  return {x0, y0, static_cast<int>(x1 - x0), static_cast<int>(y1 - y0)};
}

bool contains(const PlaneRect& outer, const PlaneRect& inner) {
  return isEmpty(inner) || (inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.width <= outer.x + outer.width &&
                            inner.y + inner.height <= outer.y + outer.height);
}

CellRange cellsOf(const ViewSettings& view, const PlaneRect& rect) {
  const CellPos first = cellAtPlane(view, {rect.x, rect.y});
  const CellPos last = cellAtPlane(view, {rect.x + rect.width - 1, rect.y + rect.height - 1});
  const int64_t more = view.level().cellsPerPixel - 1;  // the last pixel's further cells
  return {first.row, last.row + more, first.column, last.column + more};
}

// The cells of the largest ring lie on the range's edge, and so does the largest position.
// The farthest ring meets the range only on the range's edge, and its last cell there is a corner
// of the range: the largest position is a corner's.
std::optional<Number> largestPositionIn(const CellRange& cells) {
  Number largest = 0;
  for (const CellPos corner : {CellPos{cells.row0, cells.column0}, CellPos{cells.row0, cells.column1},
                               CellPos{cells.row1, cells.column0}, CellPos{cells.row1, cells.column1}}) {
    const std::optional<Number> position = walkPositionOf(corner);
    if (!position) return std::nullopt;
    largest = std::max(largest, *position);
  }
  return largest;
}

CellPos cellAtPlane(const ViewSettings& view, PlanePoint p) {
  const ZoomLevel& level = view.level();
  if (level.cellsPerPixel > 1) return {p.y * level.cellsPerPixel, p.x * level.cellsPerPixel};
  const int half = (level.boxSize - 1) / 2;
  return {floorDiv64(p.y + half, level.boxSize), floorDiv64(p.x + half, level.boxSize)};
}

PlanePoint centreOfCell(const ViewSettings& view, CellPos cell) {
  const ZoomLevel& level = view.level();
  if (level.cellsPerPixel > 1) {
    return {floorDiv64(cell.column, level.cellsPerPixel), floorDiv64(cell.row, level.cellsPerPixel)};
  }
  return {cell.column * level.boxSize, cell.row * level.boxSize};
}

int64_t ringOfCell(CellPos cell) { return static_cast<int64_t>(std::max(absOf(cell.row), absOf(cell.column))) + 1; }

namespace {

// The walk position of a cell of ring r + 1 (r = the larger of |row| and |column|), reckoned in
// Int: how far before the ring's lower right corner, whose position is (2r + 1)^2 - 1.
template <class Int>
Int walkPositionIn(CellPos cell, uint64_t r) {
  const auto ri = static_cast<Int>(r);
  const auto row = static_cast<Int>(cell.row);
  const auto column = static_cast<Int>(cell.column);
  Int back = 0;
  if (row == ri) {
    back = ri - column;
  } else if (column == -ri) {
    back = 2 * ri + (ri - row);
  } else if (row == -ri) {
    back = 4 * ri + (column + ri);
  } else {
    back = 6 * ri + (row + ri);
  }
  return (2 * ri + 1) * (2 * ri + 1) - 1 - back;
}

}  // namespace

// As spiralIndex. Below ring 2^30 every position fits in 62 bits; the outer rings' positions pass
// 2^63 and are reckoned in 128 bits.
std::optional<Number> walkPositionOf(CellPos cell) {
  const uint64_t r = std::max(absOf(cell.row), absOf(cell.column));
  if (r < (uint64_t{1} << 30)) return static_cast<Number>(walkPositionIn<int64_t>(cell, r));
  if (r > (uint64_t{1} << 32)) return std::nullopt;  // the ring's first position is past 2^64 already
  const Int128 position = walkPositionIn<Int128>(cell, r);
  if (position > static_cast<Int128>(~Number{0})) return std::nullopt;
  return static_cast<Number>(position);
}

CellPos cellAtPosition(Number position) {
  if (position == 0) return {0, 0};
  // Ring K holds the positions from (2K - 3)^2 to (2K - 1)^2 - 1.
  const Number root = numlib::isqrt(position);
  const auto odd = static_cast<int64_t>(root % 2 == 1 ? root : root - 1);  // 2K - 3
  const int64_t r = (odd + 1) / 2;  // K - 1
  const auto along = static_cast<int64_t>(position - static_cast<Number>(odd) * static_cast<Number>(odd));
  const int64_t side = 2 * r;
  if (along < side) return {r - 1 - along, r};                    // right side, going up
  if (along < 2 * side) return {-r, r - 1 - (along - side)};       // top side, going left
  if (along < 3 * side) return {1 - r + (along - 2 * side), -r};   // left side, going down
  return {r, 1 - r + (along - 3 * side)};                          // bottom side, going right
}

std::optional<Number> numberOfCell(Number start, CellPos cell) {
  const std::optional<Number> position = walkPositionOf(cell);
  if (!position || *position > ~Number{0} - start) return std::nullopt;
  return start + *position;
}

std::optional<CellPos> cellOfNumber(Number start, Number n) {
  if (n < start) return std::nullopt;
  return cellAtPosition(n - start);
}

TileResult drawTile(const ViewSettings& view, const PlaneRect& rect, Picture& out, const TileContext& context) {
  out.clear();
  if (rect.width <= 0 || rect.height <= 0) return {};
  return view.level().cellsPerPixel > 1 ? drawDensity(view, rect, out, context) : drawCells(view, rect, out, context);
}

namespace {

// The first plane row (or column) from p on where a row (column) of cells begins: bands cut there
// share no cell, so that each counts its own cells and the counts add up.
int64_t cellLineFrom(const ViewSettings& view, int64_t p) {
  const ZoomLevel& level = view.level();
  if (level.cellsPerPixel > 1) return p;  // a pixel line holds whole lines of cells
  const int64_t s = level.boxSize, half = (s - 1) / 2;
  return s * ceilDiv64(p + half, s) - half;  // cell line r begins at plane line r * s - half
}

// Where the bands begin along one axis of the rectangle, from `first` to `end`: each at least
// `lines` long but the last, and beginning a line of cells; then `end`.
std::vector<int64_t> bandStarts(const ViewSettings& view, int64_t first, int64_t end, int64_t lines) {
  std::vector<int64_t> starts{first};
  for (int64_t next = cellLineFrom(view, first + lines); next < end; next = cellLineFrom(view, next + lines)) {
    starts.push_back(next);
  }
  starts.push_back(end);
  return starts;
}

// Runs follow the ring's side: up and down beside the centre, across above and below it. Bands
// along the runs keep them whole, and a far run's numbers are sieved once, not once a band.
bool runsGoDown(const ViewSettings& view, const PlaneRect& rect) {
  const CellPos middle = cellAtPlane(view, {rect.x + rect.width / 2, rect.y + rect.height / 2});
  return absOf(middle.column) > absOf(middle.row);
}

// Adds a band's facts to those of the bands before it; they share no cell.
void addBand(TileResult& whole, const TileResult& band) {
  whole.cancelled = whole.cancelled || band.cancelled;
  whole.clusterByRing = whole.clusterByRing || band.clusterByRing;
  whole.passesLargest = whole.passesLargest || band.passesLargest;
  if (band.smallest && band.largest) includeNumbers(whole, *band.smallest, *band.largest);
  whole.shownCount += band.shownCount;
  whole.undefinedCount += band.undefinedCount;
  whole.ownShownCount += band.ownShownCount;
  whole.ownUndefinedCount += band.ownUndefinedCount;
}

}  // namespace

TileResult drawTileInBands(const ViewSettings& view, const PlaneRect& rect, Picture& out, const TileContext& context,
                           int threads) {
  // A few bands a worker, so that bands of costlier numbers balance; none so thin that its runs
  // are mostly ends.
  constexpr int kBandsPerThread = 4;
  constexpr int64_t kLeastBandLines = 32;
  TileContext bandContext = context;
  bandContext.marksOwnCells = false;
  const bool columns = runsGoDown(view, rect);
  const int64_t first = columns ? rect.x : rect.y, length = columns ? rect.width : rect.height;
  const int64_t lines = std::max(kLeastBandLines, ceilDiv64(length, int64_t{std::max(threads, 1)} * kBandsPerThread));
  const std::vector<int64_t> starts = bandStarts(view, first, first + length, lines);
  const auto bands = static_cast<int64_t>(starts.size()) - 1;
  if (threads <= 1 || bands <= 1) return drawTile(view, rect, out, bandContext);
  std::vector<TileResult> results(static_cast<size_t>(bands));
  std::atomic<bool> outOfMemory = false;
  numlib::forEachPiece(bands, 1, threads, [&](int64_t band, int64_t) {
    const auto across = static_cast<int>(starts[band + 1] - starts[band]);
    const PlaneRect part = columns ? PlaneRect{starts[band], rect.y, across, rect.height}
                                   : PlaneRect{rect.x, starts[band], rect.width, across};
    Picture pixels(part.width, part.height);
    if (pixels.isNull()) {
      outOfMemory = true;
      return;
    }
    results[static_cast<size_t>(band)] = drawTile(view, part, pixels, bandContext);
    for (int y = 0; y < part.height; ++y) {
      std::memcpy(out.writableLine(static_cast<int>(part.y - rect.y) + y) + (part.x - rect.x), pixels.indexLine(y),
                  static_cast<size_t>(part.width));
    }
  });
  // Without room for the bands' pictures, the picture itself takes the pixels, on this thread.
  if (outOfMemory) return drawTile(view, rect, out, bandContext);
  TileResult whole;
  for (const TileResult& band : results) addBand(whole, band);
  return whole;
}

std::vector<ValueCell> quadraticValuesIn(const ViewSettings& view, const PlaneRect& rect,
                                         const numlib::QuadraticPolynomial& f, const std::atomic<bool>* cancel) {
  std::vector<ValueCell> cells;
  if (rect.width <= 0 || rect.height <= 0) return cells;
  const CellRange range = cellsOf(view, rect);
  std::vector<Run> runs;
  runsOf(range.row0, range.row1, range.column0, range.column1, ~Number{0} - view.start, runs);
  for (const Run& run : runs) {
    if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) return {};
    const Number first = view.start + run.firstPosition;
    for (const Number value : numlib::valuesBetween(f, first, first + static_cast<Number>(run.length - 1))) {
      cells.push_back({value, run.at(static_cast<int64_t>(value - first))});
    }
  }
  return cells;
}

}  // namespace spiral
