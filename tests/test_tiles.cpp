// Tiles through their public interface: the plane's cells and numbers, tiles against the draw pass
// over the same cells, far cells against the plain references, the density levels against a plain
// count, and the cluster colours' reach.

#include <QGuiApplication>
#include <QTest>

#include "ClusterColours.h"
#include "DrawPass.h"
#include "LineLens.h"
#include "PictureImage.h"
#include "Palette.h"
#include "PlainMillerRabin.h"
#include "PlainRoots.h"
#include "PlainWalk.h"
#include "Rows.h"
#include "Tiles.h"
#include "TrialDivision.h"
#include "numlib.h"

#include <cmath>
#include <numeric>
#include <map>

using namespace spiral;

namespace {

// The zoom level of a cell size at one cell per pixel.
int zoomOf(int boxSize) {
  for (size_t i = 0; i < kZoomLevels.size(); ++i)
    if (kZoomLevels[i] == ZoomLevel{boxSize, 1}) return static_cast<int>(i);
  return -1;
}

// The numbers of the cells of `keep` that the plain walk passes, from a start, by (row, column).
using WalkedNumbers = std::map<std::pair<int64_t, int64_t>, Number>;
WalkedNumbers walkedNumbers(PlainWalk walk, uint64_t steps, Number start, const CellRange& keep) {
  WalkedNumbers numbers;
  for (uint64_t i = 0; i <= steps; ++i, walk.next()) {
    if (walk.row() < keep.row0 || walk.row() > keep.row1 || walk.column() < keep.column0 || walk.column() > keep.column1) continue;
    if (walk.step() <= ~Number{0} - start) numbers[{walk.row(), walk.column()}] = start + walk.step();
  }
  return numbers;
}

bool samePixels(const Picture& a, const Picture& b) {
  if (a.width() != b.width() || a.height() != b.height()) return false;
  for (int y = 0; y < a.height(); ++y)
    if (!std::equal(a.indexLine(y), a.indexLine(y) + a.width(), b.indexLine(y))) return false;
  return true;
}

ViewSettings primesIn(Number start, int zoom, ColorScheme scheme = ColorScheme::White) {
  return {.start = start, .zoom = zoom, .numerals = false, .colorScheme = scheme};
}

struct Far { const char* name; Number start; int64_t ring; bool passesLargest; };
struct Density { const char* name; NumberClass numberClass; int cellsPerPixel; int64_t ring; };
struct Reach { const char* name; int zoom; PlaneRect rect; bool within; };
struct InView { const char* name; Number start; CellRange cells; bool wholeRings; };
struct Banded { const char* name; ViewSettings view; PlaneRect rect; };

// Odd picture sizes cover the whole picture with cells.
struct Parity {
  const char* name; Number start; int boxSize; NumberClass numberClass; ColorScheme scheme; bool squares, grid, numerals; int pictureSize;
};

}  // namespace

class TestTiles : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { installQtTextDrawing(); }

  // A picture cut into tiles of several sizes, some straddling the centre and the edges, gives the
  // pass's palette bytes.
  void tilesGiveThePassPixels_data() {
    addRows<Parity>({
        {"primes 1px cluster", 1, 1, NumberClass::Primes, ColorScheme::Cluster, false, false, false, 523},
        {"primes 5px veltra squares", 1, 5, NumberClass::Primes, ColorScheme::Veltra, true, false, false, 523},
        {"primes 7px cluster grid", 1, 7, NumberClass::Primes, ColorScheme::Cluster, false, true, false, 523},
        {"all 15px veltra squares numerals", 1, 15, NumberClass::All, ColorScheme::Veltra, true, false, true, 523},
        {"squares 21px ring grid numerals", 1, 21, NumberClass::Squares, ColorScheme::RingNumber, false, true, true, 523},
        {"triangular 35px nw-se grid", 5, 35, NumberClass::Triangular, ColorScheme::DiagonalNWSE, true, true, true, 523},
        {"primes 75px sw-ne numerals", 1000003, 75, NumberClass::Primes, ColorScheme::DiagonalSWNE, false, true, true, 523},
        {"primes 7px sequence far", 1000000000000000000ULL, 7, NumberClass::Primes, ColorScheme::Sequence, false, true, false, 523},
        {"primes 1px cluster at 2", 2, 1, NumberClass::Primes, ColorScheme::Cluster, false, false, false, 523},
        {"primes 1px ring far", 1000000000000ULL, 1, NumberClass::Primes, ColorScheme::RingNumber, false, false, false, 523},
        {"all 1px veltra", 1, 1, NumberClass::All, ColorScheme::Veltra, false, false, false, 523},
        {"all 1px sw-ne", 7, 1, NumberClass::All, ColorScheme::DiagonalSWNE, false, false, false, 523},
        {"triangular 1px sequence", 1, 1, NumberClass::Triangular, ColorScheme::Sequence, false, false, false, 523},
        {"primes 1px white", 1, 1, NumberClass::Primes, ColorScheme::White, false, false, false, 523},
        {"primes 1px none, centre not shown", 4, 1, NumberClass::Primes, ColorScheme::None, false, false, false, 523},
        {"primes 35px cluster numerals", 1, 35, NumberClass::Primes, ColorScheme::Cluster, false, false, true, 1505},
        {"primes 75px cluster numerals", 1, 75, NumberClass::Primes, ColorScheme::Cluster, true, false, true, 2623},
        {"all 21px cluster numerals", 1, 21, NumberClass::All, ColorScheme::Cluster, false, false, true, 1533},
        {"triangular 21px cluster numerals", 1, 21, NumberClass::Triangular, ColorScheme::Cluster, false, false, true, 1533},
    });
  }
  void tilesGiveThePassPixels() {
    QFETCH(Parity, row);
    const int size = row.pictureSize;
    const DrawSettings settings{.start = row.start, .range = kWholeRange, .boxSize = row.boxSize, .squares = row.squares,
                                .grid = row.grid, .numerals = row.numerals, .numberClass = row.numberClass,
                                .colorScheme = row.scheme, .colorCount = {}};
    Picture plain(size, size);
    QVERIFY(drawSpiral(settings, plain).refusal == Refusal::None);
    const ViewSettings view{.start = row.start, .zoom = zoomOf(row.boxSize), .squares = row.squares, .grid = row.grid,
                            .numerals = row.numerals, .numberClass = row.numberClass, .colorScheme = row.scheme};
    const auto clusters = ClusterColours::compute(view, static_cast<Number>(size) * static_cast<Number>(size));
    // The whole picture in bands of whole rows of cells, on three workers: the same pixels and counts.
    const PlaneRect whole{-(size / 2), -(size / 2), size, size};
    Picture single(size, size), banded(size, size);
    const TileResult one = drawTile(view, whole, single, {.clusters = clusters.get()});
    const TileResult bands = drawTileInBands(view, whole, banded, {.clusters = clusters.get()}, 3);
    QVERIFY(samePixels(banded, plain));
    QCOMPARE(bands.shownCount, one.shownCount);
    QCOMPARE(bands.ownShownCount, one.ownShownCount);
    QCOMPARE(bands.smallest, one.smallest);
    QCOMPARE(bands.largest, one.largest);
    for (int tileSize : {64, 97, size}) {
      for (int ty = 0; ty < size; ty += tileSize) {
        for (int tx = 0; tx < size; tx += tileSize) {
          const PlaneRect rect{tx - size / 2, ty - size / 2, std::min(tileSize, size - tx), std::min(tileSize, size - ty)};
          Picture tile(rect.width, rect.height);
          const TileResult result = drawTile(view, rect, tile, {.clusters = clusters.get()});
          QVERIFY(!result.clusterByRing);
          for (int y = 0; y < rect.height; ++y)
            for (int x = 0; x < rect.width; ++x)
              if (tile.pixel(x, y) != plain.pixel(tx + x, ty + y))
                QFAIL(qPrintable(QString("tile %1 at (%2, %3): %4, pass %5").arg(tileSize).arg(tx + x).arg(ty + y)
                                     .arg(tile.pixel(x, y)).arg(plain.pixel(tx + x, ty + y))));
        }
      }
    }
  }

  // The closed form against the plain walk: every cell of the first rings, both ways.
  void positionsFollowThePlainWalk() {
    PlainWalk walk;
    for (int i = 0; i < 100000; ++i, walk.next()) {
      const CellPos cell{walk.row(), walk.column()};
      if (cellAtPosition(walk.step()) != cell || walkPositionOf(cell) != walk.step()) QFAIL(qPrintable(QString::number(i)));
    }
    QCOMPARE(numberOfCell(~Number{0}, {0, 1}), std::nullopt);
    QCOMPARE(cellOfNumber(10, 9), std::nullopt);
    QCOMPARE(walkPositionOf({int64_t{1} << 40, 0}), std::nullopt);
  }

  // A tile whose edges cut cells counts each shown cell with a pixel in it, and as its own only
  // those whose centre pixel lies in it.
  void aTileCountsTheCellsItCuts() {
    constexpr int s = 7, half = 3;
    const PlaneRect rect{-40, -33, 61, 50};  // every edge through a column or row of cells
    Picture tile(rect.width, rect.height);
    const TileResult result = drawTile(primesIn(1, zoomOf(s)), rect, tile);
    int64_t touching = 0, own = 0;
    PlainWalk walk;
    for (int i = 0; i < 400; ++i, walk.next()) {  // rings past the tile's
      if (!referenceIsPrime(walk.step() + 1)) continue;
      const int64_t x = walk.column() * s, y = walk.row() * s;  // the cell's centre pixel
      touching += x + half >= rect.x && x - half < rect.x + rect.width && y + half >= rect.y && y - half < rect.y + rect.height;
      own += x >= rect.x && x < rect.x + rect.width && y >= rect.y && y < rect.y + rect.height;
    }
    QVERIFY(touching > own);
    QCOMPARE(result.shownCount, touching);
    QCOMPARE(result.ownShownCount, own);
  }

  // Far out, 1-pixel primes in white: each cell the walk passes near a ring's lower right corner
  // is white exactly when the plain Miller-Rabin test calls its number prime; past 2^64 - 1 black.
  void farCellsAgainstThePlainTest_data() {
    addRows<Far>({
        {"10^18", 1, 499999999, false},
        {"ending at 2^64 - 1", (Number{1} << 33) - 100, 2147483647, true},
        {"2^63", (Number{1} << 63) - (Number{1} << 32), 1518500249, false},
    });
  }
  void farCellsAgainstThePlainTest() {
    QFETCH(Far, row);
    const PlaneRect rect{row.ring, row.ring - 398, 2, 399};
    const WalkedNumbers numbers = walkedNumbers(PlainWalk::atLowerRightCorner(row.ring), 400, row.start,
                                                {rect.y, rect.y + rect.height - 1, rect.x, rect.x + 1});
    Picture tile(rect.width, rect.height);
    const TileResult result = drawTile(primesIn(row.start, zoomOf(1)), rect, tile);
    QVERIFY(numbers.size() >= 100);
    Number largest = 0;
    for (const auto& [cell, n] : numbers) {  // the cells of the tile, as walkedNumbers keeps them
      QCOMPARE(tile.pixel(int(cell.second - rect.x), int(cell.first - rect.y)), referenceIsPrime(n) ? kWhite : kBlack);
      QCOMPARE(numberOfCell(row.start, {cell.first, cell.second}), n);
      largest = std::max(largest, n);
    }
    QCOMPARE(result.passesLargest, row.passesLargest);
    QCOMPARE(*result.largest, largest);
  }

  // A density pixel shades the count of its cells that the class marks, counted plainly along the
  // walk, against the density at its largest number.
  void densityCountsTheMarkedCells_data() {
    addRows<Density>({
        {"primes 2x2 at the centre", NumberClass::Primes, 2, 0},
        {"primes 8x8 at the centre", NumberClass::Primes, 8, 0},
        {"squares 4x4 at the centre", NumberClass::Squares, 4, 0},
        {"triangular 2x2 at the centre", NumberClass::Triangular, 2, 0},
        {"all 4x4 at the centre", NumberClass::All, 4, 0},
        {"primes 4x4 near 4 * 10^10", NumberClass::Primes, 4, 99999},
        {"primes 8x8 near 4 * 10^10", NumberClass::Primes, 8, 99999},
    });
  }
  void densityCountsTheMarkedCells() {
    QFETCH(Density, row);
    const int k = row.cellsPerPixel;
    // The band of 8 rows below the ring, or the 32 x 32 cells around the centre.
    const int64_t top = row.ring == 0 ? -16 : row.ring + 1;
    const int64_t height = row.ring == 0 ? 32 : 8;
    const PlainWalk from = row.ring == 0 ? PlainWalk() : PlainWalk::atLowerRightCorner(row.ring);
    const uint64_t steps = row.ring == 0 ? 33 * 33 : 64 * uint64_t(row.ring) + 300;
    const WalkedNumbers numbers = walkedNumbers(from, steps, 1, {top, top + height - 1, -16, 15});
    const auto marks = [&row](Number n) {
      switch (row.numberClass) {
        case NumberClass::Primes: return n < 1000000 ? isPrimeByTrialDivision(n) : referenceIsPrime(n);
        case NumberClass::Squares: return plainSquare(n);
        case NumberClass::Triangular: return plainTriangular(n);
        default: return true;
      }
    };
    ViewSettings view{.start = 1, .zoom = int(kZoomLevels.size()) - (k == 2 ? 3 : k == 4 ? 2 : 1), .numberClass = row.numberClass};
    QCOMPARE(view.level().cellsPerPixel, k);
    const PlaneRect rect{-16 / k, top / k, int(32 / k), int(height / k)};
    Picture tile(rect.width, rect.height);
    const TileResult result = drawTile(view, rect, tile);
    int64_t shown = 0;
    for (int y = 0; y < rect.height; ++y) {
      for (int x = 0; x < rect.width; ++x) {
        int64_t marked = 0;
        Number largest = 0;
        for (int64_t r = (rect.y + y) * k; r < (rect.y + y + 1) * k; ++r) {
          for (int64_t c = (rect.x + x) * k; c < (rect.x + x + 1) * k; ++c) {
            const Number n = numbers.at({r, c});
            marked += marks(n);
            largest = std::max(largest, n);
          }
        }
        shown += marked;
        const double expected = expectedMarks(row.numberClass, largest, int64_t{k} * k);
        QCOMPARE(tile.pixel(x, y), densityShade(marked, expected, densityDraw({(rect.y + y) * k, (rect.x + x) * k})));
      }
    }
    QCOMPARE(result.shownCount, shown);
  }

  // Whatever the pixel's draw: none marked is black, a count far above the expectation the richest
  // shade, far below it the poorest but black.
  void densityShadesAtTheEnds() {
    for (double draw : {0.0, 0.5, 0.9999}) {
      QCOMPARE(densityShade(0, 40.0, draw), kBlack);
      QCOMPARE(densityShade(20, 4.0, draw), kWhite);
      QCOMPARE(densityShade(1, 0.0, draw), kWhite);  // none expected
      QCOMPARE(densityShade(5, 40.0, draw), kDarkBlue);
    }
  }

  // Across n = e^16, where 32 / ln n passes 2 (half of what 8 x 8 cells expect), the share of each
  // shade among the primes' pixels just below and just above that height differs little: the
  // expectation moves by a hundredth there. Shading by whole multiples of the expectation would
  // move a seventh of the pixels from one shade to the next.
  void densitySharesMoveSmoothlyWithTheHeight() {
    const Number e16 = 8886110;  // e^16 = 8886110.52...; 1024 x 1024 cells hold 1050625 numbers
    const auto sharesFrom = [](Number start) {
      Picture tile(128, 128);
      drawTile({.start = start, .zoom = int(kZoomLevels.size()) - 1}, {-64, -64, 128, 128}, tile);
      std::vector<double> shares(kPaletteSize);
      for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) shares[size_t(tile.pixel(x, y))] += 1.0 / (128 * 128);
      return shares;
    };
    const std::vector<double> below = sharesFrom(e16 - 1050625), above = sharesFrom(e16 + 1);
    for (size_t shade = 0; shade < below.size(); ++shade)
      QVERIFY2(std::abs(above[shade] - below[shade]) < 0.03, qPrintable(QString("shade %1: %2, %3").arg(shade).arg(below[shade]).arg(above[shade])));
    QVERIFY(below[kDarkBlue] > 0.05 && below[kWhite] > 0.001);  // the shades are all in use
  }

  // Cluster colours reach the walk's first 2^28 numbers, the 16384 poster's cells.
  void clusterReach_data() {
    const int px = zoomOf(1);
    const auto at = [](Number position) {
      const CellPos cell = cellAtPosition(position);
      return PlaneRect{cell.column, cell.row, 1, 1};
    };
    addRows<Reach>({
        {"16383 pixels around the start", px, {-8191, -8191, 16383, 16383}, true},
        {"16384 pixels around the start", px, {-8192, -8192, 16384, 16384}, false},
        {"the last cell within", px, at(kClusterReach - 1), true},
        {"the first cell beyond", px, at(kClusterReach), false},
        {"8x8 cells a pixel, 2046 pixels", int(kZoomLevels.size()) - 1, {-1023, -1023, 2046, 2046}, true},
        {"8x8 cells a pixel, 2048 pixels", int(kZoomLevels.size()) - 1, {-1024, -1024, 2048, 2048}, false},
        {"past 2^64 - 1", px, {int64_t{1} << 33, 0, 1, 1}, false},
    });
  }
  void clusterReach() {
    QFETCH(Reach, row);
    const ViewSettings view{.zoom = row.zoom};
    QCOMPARE(withinClusterReach(view, row.rect), row.within);
  }

  // Beyond the colours' reach, or without them, or with those of another start, cluster cells
  // take their ring's colour, and the tile says so.
  void clustersBeyondTheirReachGoByRing() {
    const ViewSettings cluster = primesIn(1, zoomOf(7), ColorScheme::Cluster);
    ViewSettings ring = cluster;
    ring.colorScheme = ColorScheme::RingNumber;
    const auto colours = ClusterColours::compute(cluster, 1000);
    const auto otherStart = ClusterColours::compute(primesIn(2, zoomOf(7), ColorScheme::Cluster), 100000);
    const PlaneRect beyond{7 * 20, 0, 70, 70}, within{-35, -35, 70, 70};
    Picture byRing(70, 70), tile(70, 70);
    drawTile(ring, beyond, byRing);
    for (const ClusterColours* given : {static_cast<const ClusterColours*>(nullptr), colours.get(), otherStart.get()}) {
      QVERIFY(drawTile(cluster, beyond, tile, {.clusters = given}).clusterByRing);
      QVERIFY(samePixels(tile, byRing));
    }
    QVERIFY(!drawTile(cluster, within, tile, {.clusters = colours.get()}).clusterByRing);
    QVERIFY(colours->bytes() < 1000);
  }

  // Another seed draws other cells. (That the random class is a function of the cell, tiles that
  // overlap agreeing, the explorer's view of random numbers shows against one tile and the renderer.)
  void anotherSeedDrawsOtherCells() {
    ViewSettings view = primesIn(1000, zoomOf(3));
    view.numberClass = NumberClass::Random;
    Picture first(90, 90), reseeded(90, 90);
    drawTile(view, {-45, -45, 90, 90}, first);
    view.randomSeed = 2;
    drawTile(view, {-45, -45, 90, 90}, reseeded);
    QVERIFY(!samePixels(reseeded, first));
  }

  // The rays through each cell of a view of the plane, near the centre and far out: each runs
  // through the cell, its cells lie in view and enter the next ring at every step, its quadratic
  // gives their numbers, and it reaches as far as both hold. Its primes are those the plain test
  // finds among its cells; where the view holds the cell's ring and the next two whole, the cell
  // lies on three rays (a corner on five, the centre on eight), as in a picture.
  void raysInViewFollowTheWalk_data() {
    const auto around = [](CellPos c, int64_t r) { return CellRange{c.row - r, c.row + r, c.column - r, c.column + r}; };
    addRows<InView>({
        {"around the centre from 41", 41, {-12, 12, -16, 16}, true},
        {"beside the centre", 1, {-5, 20, 3, 40}, false},
        {"10^18 from start 1", 1, around(cellAtPosition(999999999999999999ULL), 7), false},
        {"start 10^18", 1000000000000000000ULL, {-9, 9, -9, 9}, true},
        {"ending at 2^64 - 1", (Number{1} << 33) - 100, around(cellAtPosition(~Number{0} - ((Number{1} << 33) - 100)), 7), false},
    });
  }
  void raysInViewFollowTheWalk() {
    QFETCH(InView, row);
    const CellRange& in = row.cells;
    const auto holds = [&](CellPos cell, const Quadratic& f, int64_t k) {  // the cell is the ray's cell at k
      const std::optional<Number> n = numberOfCell(row.start, cell);
      return cell.row >= in.row0 && cell.row <= in.row1 && cell.column >= in.column0 && cell.column <= in.column1 &&
             n && ringOfCell(cell) == k + 1 && f.at(k) == numlib::Int128{*n};
    };
    const int64_t wholeRing = std::min({-in.row0, in.row1, -in.column0, in.column1}) + 1;  // with the centre in view
    int64_t raysSeen = 0;
    for (int64_t r = in.row0; r <= in.row1; ++r) {
      for (int64_t c = in.column0; c <= in.column1; ++c) {
        const int64_t k = ringOfCell({r, c}) - 1;
        const std::vector<PlaneRayFacts> rays = raysInView({.start = row.start}, in, {r, c});
        for (const PlaneRayFacts& facts : rays) {
          const PlaneRay& ray = facts.ray;
          int64_t primes = 0;
          for (int64_t j = ray.kFrom; j <= ray.kTo; ++j) {
            QVERIFY2(holds(ray.cellAt(j), facts.numbers, j), nameOf(ray.direction));
            primes += referenceIsPrime(*numberOfCell(row.start, ray.cellAt(j)));
          }
          QVERIFY(ray.cells() >= 3 && ray.cellAt(k) == (CellPos{r, c}));
          QVERIFY(!holds(ray.cellAt(ray.kFrom - 1), facts.numbers, ray.kFrom - 1) && !holds(ray.cellAt(ray.kTo + 1), facts.numbers, ray.kTo + 1));
          QCOMPARE(facts.primes, primes);
        }
        const bool corner = std::abs(r) == std::abs(c), lowerRight = r == c && r > 0;
        if (row.wholeRings && k + 3 <= wholeRing) QCOMPARE(int64_t(rays.size()), k == 0 ? 8 : corner && !lowerRight ? 5 : 3);
        raysSeen += int64_t(rays.size());
      }
    }
    QVERIFY(raysSeen > 100);
  }

  // Where the pass has no picture to compare with, bands against the tile drawn whole: density
  // levels, cells whose numbers pass 2^64 - 1, and an odd cell size cut by the rectangle's edges;
  // bands of rows above and below the centre, of columns beside it.
  void bandsGiveTheWholeTile_data() {
    addRows<Banded>({
        {"2 x 2 cells a pixel", primesIn(1, int(kZoomLevels.size()) - 3), {-150, -97, 301, 203}},
        {"2 x 2 cells a pixel, beside the centre", primesIn(1, int(kZoomLevels.size()) - 3), {200, -97, 301, 203}},
        {"8 x 8 cells a pixel, far", primesIn(1000000000000ULL, int(kZoomLevels.size()) - 1), {-60, -201, 130, 190}},
        {"1-pixel cells past 2^64 - 1", primesIn(~Number{0} - 40000, zoomOf(1), ColorScheme::RingNumber), {-90, -130, 211, 257}},
        {"7-pixel cells cut by the edges", primesIn(41, zoomOf(7), ColorScheme::DiagonalNWSE), {-333, -250, 601, 509}},
        {"7-pixel cells beside the centre", primesIn(41, zoomOf(7), ColorScheme::DiagonalNWSE), {-100, -250, 601, 509}},
    });
  }
  void bandsGiveTheWholeTile() {
    QFETCH(Banded, row);
    Picture single(row.rect.width, row.rect.height), banded(row.rect.width, row.rect.height);
    const TileResult one = drawTile(row.view, row.rect, single);
    const TileResult bands = drawTileInBands(row.view, row.rect, banded, {}, 2);
    QVERIFY(samePixels(banded, single));
    QCOMPARE(bands.shownCount, one.shownCount);
    QCOMPARE(bands.ownShownCount, one.ownShownCount);
    QCOMPARE(bands.passesLargest, one.passesLargest);
    QCOMPARE(bands.smallest, one.smallest);
    QCOMPARE(bands.largest, one.largest);
  }

  // A tile's counts for each unit, a bit each or a byte each, summed over every stretch of units
  // against the plain sum of what was added.
  void unitCountsSumWhatWasAdded() {
    for (const bool oneCellEach : {true, false}) {
      constexpr size_t kUnits = 200;  // four words of bits, the last one in part
      UnitCounts counts;
      counts.reset(kUnits, oneCellEach);
      std::vector<int> plain(kUnits, 0);
      for (size_t unit = 0; unit < kUnits; ++unit) {
        const int times = oneCellEach ? (unit * 7 % 3 == 0) : static_cast<int>(unit * 5 % 4);
        for (int t = 0; t < times; ++t) counts.add(unit);
        plain[unit] = times;
      }
      for (size_t first = 0; first < kUnits; ++first) {
        QCOMPARE(counts.at(first), plain[first]);
        for (size_t count = 0; first + count <= kUnits; ++count) {
          if (counts.sum(first, count) != std::accumulate(plain.begin() + first, plain.begin() + first + count, 0))
            QFAIL(qPrintable(QString("%1 units from %2").arg(count).arg(first)));
        }
      }
    }
  }

  // A cancelled tile says so and stops.
  void cancelledTilesSaySo() {
    const std::atomic<bool> cancel{true};
    Picture tile(64, 64);
    QVERIFY(drawTile(primesIn(1, zoomOf(1)), {0, 0, 64, 64}, tile, {.cancel = &cancel}).cancelled);
  }
};

QTEST_MAIN(TestTiles)
#include "test_tiles.moc"
