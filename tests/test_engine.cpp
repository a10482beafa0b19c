// The engine through its public interface: its single owners (the geometry's walk, cells, pixels
// and numbers, its rays, and the start-number parser), then whole draw passes, checked by reading the
// picture back, and the line lens over them.

#include <QGuiApplication>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <set>
#include <tuple>

#include "BandedPass.h"
#include "ColorSchemes.h"
#include "DrawPass.h"
#include "LineLens.h"
#include "Palette.h"
#include "PictureImage.h"
#include "PlainWalk.h"
#include "numlib.h"
#include "Rows.h"
#include "TrialDivision.h"
#include "Tick.h"

using namespace spiral;

namespace {

DrawSettings settingsFor(Number start, int boxSize, NumberClass numberClass = NumberClass::Primes,
                         ColorScheme scheme = ColorScheme::Cluster, bool squares = false) {
  return {.start = start, .boxSize = boxSize, .squares = squares, .numerals = false, .numberClass = numberClass,
          .colorScheme = scheme, .colorCount = {}, .calculateLongest = false};
}

// The centre pixel of the cell that holds `number` in a pass that started at outcome.startNumber.
QPoint cellOf(const DrawOutcome& outcome, Number number) {
  const WalkedCell cell = walkedCells(int64_t(number - outcome.startNumber) + 1).back();
  const Pixel centre = outcome.geometry.centreOf(cell.row, cell.column);
  return {centre.x, centre.y};
}

int colorOf(const Picture& picture, const DrawOutcome& outcome, Number number) {
  const QPoint p = cellOf(outcome, number);
  return picture.pixel(p.x(), p.y());
}

// How many pixels of the square around `centre` with half-width `half` have colour `color`.
int countPixels(const Picture& picture, QPoint centre, int half, int color) {
  int count = 0;
  for (int y = centre.y() - half; y <= centre.y() + half; ++y)
    for (int x = centre.x() - half; x <= centre.x() + half; ++x) count += picture.pixel(x, y) == color;
  return count;
}

bool isUniform(const Picture& picture, QPoint centre, int half, int color) {
  return countPixels(picture, centre, half, color) == (2 * half + 1) * (2 * half + 1);
}

const int kPrimes = int(NumberClass::Primes), kAll = int(NumberClass::All), kSquares = int(NumberClass::Squares),
          kTriangular = int(NumberClass::Triangular);

// shown -1: as many as the number service finds primes; marked: a number whose cell must be marked, 0 for none.
struct Range { const char* name; QString start; int numberClass, refusal, shown, marked; };

struct Colours {  // numbersAndColours: pairs of a number and its palette index
  const char* name; ColorScheme scheme; int numberClass, start, boxSize; QList<int> numbersAndColours;
};

struct Runs { int numberClass, start, boxSize; bool squares; int nwse, swne; };  // -1: a whole diagonal

// A picture whose rays are checked: every cell's, or those of `sampled` random cells.
struct RayPicture { const char* name; int width, boxSize; qint64 start; int sampled; };

struct Lens { const char* name; int boxSize; qint64 start; int numberClass; };

// The number on each cell of a picture, by the plain walk.
std::map<std::pair<int, int>, int64_t> numbersByWalk(const Geometry& g, int64_t start) {
  std::map<std::pair<int, int>, int64_t> numbers;
  for (const auto& [cell, index] : walkIndices(g.numberOfNumbers)) numbers[{cell.row, cell.column}] = start + index;
  return numbers;
}

// A cell is in the picture when the pixel mapping finds it under its own centre.
bool inPicture(const Geometry& g, Cell cell) {
  const Pixel centre = g.centreOf(cell.row, cell.column);
  return g.cellAt(centre.x, centre.y) == std::optional(cell);
}

using RayKey = std::tuple<int, int, int, int64_t, int64_t, int64_t, int64_t>;
RayKey keyOf(const Ray& ray) {
  return {int(ray.direction), ray.first.row, ray.first.column, ray.kFrom, ray.kTo, ray.indices.b,
          int64_t(ray.indices.c)};
}

struct Start { const char* name; QString text, typed, normalised; qint64 value; bool digitsOnly, tooLarge; };

struct Step { const char* name; TickRule rule; int64_t current; std::optional<int64_t> next; };

// A picture large enough for the workers: 1100 pixels a side, from `start`.
struct Shared { const char* name; Number start; NumberClass numberClass; ColorScheme scheme; int boxSize; bool squares, grid; };
constexpr Number kNearTop = 18446744073700000000u;  // the pictures end below 2^64
constexpr Number kBeforeTopSquare = 18446744065119617025u - 1000;      // (2^32 - 1)^2
constexpr Number kBeforeTopTriangular = 18446744070963499500u - 1000;  // 6074000999 * 6074001000 / 2

}  // namespace

class TestEngine : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    calculate_primes(2147483646);
    installQtTextDrawing();
  }

  // Circles of more than 15 pixels shrink their radius by one.
  void cellsPerSideForTheStandardInterior() {
    const int table[][3] = {{1, 523, 0}, {3, 174, 1}, {5, 105, 2}, {7, 75, 3},
                            {15, 35, 7}, {21, 25, 9}, {35, 15, 16}, {75, 7, 36}};
    for (auto [s, cells, radius] : table) {
      const auto g = computeGeometry(523, 523, s);
      // The cell size leads each list, so that a failure names its row.
      QCOMPARE(QList<int>({s, g.centerX, g.centerY, g.cellsPerSide, g.circleRadius}), QList<int>({s, 261, 261, cells, radius}));
    }
    // Single precision halves round to the even neighbour: 10 / 4 = 2.5 gives 2, 14 / 4 = 3.5 gives 4.
    QCOMPARE(computeGeometry(10, 10, 4).cellsPerSide, 2);
    QCOMPARE(computeGeometry(14, 14, 4).cellsPerSide, 4);
  }

  // The engine's walk, stepping and jumping, and its pixel mapping agree with the plain walk on every
  // cell, and so do the ring corners the walk names; the cells stay on the picture, and a point off
  // the N x N square of cells has no number: at 75 pixels the outer cells reach one pixel past each
  // edge of the picture. A cell covers the pixels its square names, and its neighbours the next ones.
  void walkAndPixelsAgree_data() {
    QTest::addColumn<int>("boxSize");
    for (int s : {1, 3, 7, 75}) QTest::addRow("%d px", s) << s;
  }
  void walkAndPixelsAgree() {
    QFETCH(int, boxSize);
    const auto g = computeGeometry(523, 523, boxSize);
    const std::vector<WalkedCell> plain = walkedCells(g.numberOfNumbers);
    const std::map<WalkedCell, int64_t> indices = walkIndices(g.numberOfNumbers);
    // The walk index of a cell, -1 past the last number.
    const auto indexAt = [&](int64_t row, int64_t column) {
      const auto found = indices.find({int(row), int(column)});
      return found == indices.end() ? int64_t{-1} : found->second;
    };
    SpiralWalk walk;
    for (int64_t i = 0; i < g.numberOfNumbers; ++i) {
      if (i > 0) walk.advance(i);
      SpiralWalk jumped;
      if (i > 0) jumped.moveTo(i);
      const PixelSquare square = g.pixelsOf({plain[i].row, plain[i].column});
      const Pixel first = square.upperLeft, last{first.x + square.size - 1, first.y + square.size - 1};
      QCOMPARE(square.size, boxSize);
      for (Pixel p : {g.centreOf(plain[i].row, plain[i].column), first, last}) {
        const bool onPicture = p.x >= 0 && p.y >= 0 && p.x < 523 && p.y < 523;
        if (g.numberAt(p.x, p.y, 5) != (onPicture ? std::optional<int64_t>(5 + i) : std::nullopt))
          QFAIL(qPrintable(QString::number(i)));
      }
      if (g.cellAt(last.x + 1, last.y + 1) == std::optional(Cell{plain[i].row, plain[i].column})) QFAIL("past the square");
      const int64_t k = std::max(std::abs(plain[i].row), std::abs(plain[i].column));
      QList<int64_t> expected{plain[i].row, plain[i].column, plain[i].column - plain[i].row, plain[i].row + plain[i].column,
                              indexAt(-k, k), indexAt(-k, -k), indexAt(k, -k), indexAt(k, k)};
      for (const SpiralWalk& w : {walk, jumped}) {
        QList<int64_t> state{w.row(), w.column(), w.diagonalNWSE(), w.diagonalSWNE(), w.upperRight(), w.upperLeft(),
                             w.lowerLeft(), w.lowerRight()};
        for (qsizetype c = 0; c < state.size(); ++c) state[c] = expected[c] < 0 || i == 0 ? expected[c] : state[c];
        if (state != expected) QFAIL(qPrintable(QStringLiteral("walk at %1").arg(i)));
      }
    }
    if (boxSize == 3) QCOMPARE(g.cellAt(1, 1), std::nullopt);  // the empty corner of an even N
  }

  // Each ray's cells enter the next ring at every step, lie in the picture and hold the numbers of its
  // quadratic; one cell more at either end would break a rule. The rays through each cell are the
  // picture's rays that hold it: eight at the centre, five at a corner and three elsewhere away from
  // the edge, and three at a lower right corner, where the next ring starts beside it.
  void raysFollowTheWalk_data() {
    addRows<RayPicture>({{"75 px cells", 523, 75, 1, 0},
                         {"7 px cells", 523, 7, 41, 0},
                         {"3 px cells, N even", 523, 3, 1000000, 0},
                         {"N even, right column off the picture", 100, 1, 17, 0},
                         {"5 px cells on 61 px", 61, 5, 0, 0},
                         {"1 px cells", 523, 1, 2147483646 - 273528, 400}});
  }
  void raysFollowTheWalk() {
    QFETCH(RayPicture, row);
    const Geometry g = computeGeometry(row.width, row.width, row.boxSize);
    const auto numbers = numbersByWalk(g, row.start);
    const auto holds = [&](Cell cell, const Quadratic& f, int64_t k) {  // the cell is the ray's cell at k
      return inPicture(g, cell) && ringOf(cell) == k + 1 && f.at(k) == numbers.at({cell.row, cell.column});
    };
    std::set<RayKey> keys;
    for (const Ray& ray : allRays(g)) {
      const Quadratic f = numbersOn(ray, row.start);
      QVERIFY(ray.cells() >= 3 && keys.insert(keyOf(ray)).second);
      const std::vector<Cell> cells = cellsOf(ray);
      for (int64_t k = ray.kFrom; k <= ray.kTo; ++k)
        if (!holds(cells[size_t(k - ray.kFrom)], f, k)) QFAIL(qPrintable(QString("%1 at %2").arg(nameOf(ray.direction)).arg(k)));
      QVERIFY(!holds(ray.cellAt(ray.kFrom - 1), f, ray.kFrom - 1) && !holds(ray.cellAt(ray.kTo + 1), f, ray.kTo + 1));
    }
    int full = 0;  // the outermost ring index the picture holds whole
    const auto ringIsWhole = [&](int k) {
      return inPicture(g, {-k, -k}) && inPicture(g, {k, k}) && inPicture(g, {-k, k}) && inPicture(g, {k, -k});
    };
    while (ringIsWhole(full + 1)) ++full;
    std::vector<Cell> cells;
    for (const auto& [cell, number] : numbers)
      if (inPicture(g, {cell.first, cell.second})) cells.push_back({cell.first, cell.second});
    if (row.sampled > 0) {
      std::shuffle(cells.begin(), cells.end(), std::mt19937(5));
      cells.resize(size_t(row.sampled));
      cells.insert(cells.end(), {{0, 0}, {-9, 9}, {9, 9}, {9, -9}, {-9, -9}, {9, 10}});
    }
    std::set<RayKey> through;
    for (Cell cell : cells) {
      const std::vector<Ray> rays = raysThrough(g, cell);
      const int k = int(ringOf(cell) - 1);
      const bool corner = std::abs(cell.row) == std::abs(cell.column);
      const bool lowerRight = cell.row == cell.column && cell.row > 0;
      const int expected = k == 0 ? 8 : corner && !lowerRight ? 5 : 3;
      const QString where = QString("%1, %2").arg(cell.row).arg(cell.column);
      if (k + 2 <= full && int(rays.size()) != expected) QFAIL(qPrintable(QString("%1 rays through ").arg(rays.size()) + where));
      for (const Ray& ray : rays) {
        if (ray.cellAt(k) != cell || !keys.contains(keyOf(ray))) QFAIL(qPrintable("through " + where));
        through.insert(keyOf(ray));
      }
    }
    if (row.sampled == 0) QCOMPARE(through.size(), keys.size());
    QVERIFY(raysThrough(g, {g.lastRowOnPicture() + 1, 0}).empty());
  }

  // Spiral In ends at the largest start the pass accepts, Spiral Out at 1; prime steps never take
  // the end itself, so Spiral Out ends after 2. 2147483629 is the largest prime below 2^31 - 2:
  // 18 numbers from it end at 2147483646; 2147483563 and 2147483579 are primes with none between.
  void ticksEndAtTheRangeEnds_data() {
    using enum Direction;
    addRows<Step>({
        {"in", {In, NumberClass::Primes, 49, false}, 2147483597, 2147483598},
        {"in at the end", {In, NumberClass::Primes, 49, false}, 2147483598, std::nullopt},
        {"in to a prime end", {In, NumberClass::Primes, 18, false}, 2147483628, 2147483629},
        {"in by primes, the end prime", {In, NumberClass::Primes, 18, true}, 2147483628, std::nullopt},
        {"in by primes", {In, NumberClass::Primes, 49, true}, 2147483563, 2147483579},
        {"in, triangular limit", {In, NumberClass::Triangular, 49, false}, 268435407, std::nullopt},
        {"out", {Out, NumberClass::Primes, 49, false}, 2, 1},
        {"out at 1", {Out, NumberClass::Primes, 49, false}, 1, std::nullopt},
        {"out by primes to 2", {Out, NumberClass::Primes, 49, true}, 3, 2},
        {"out by primes after 2", {Out, NumberClass::Primes, 49, true}, 2, std::nullopt},
        {"out by primes", {Out, NumberClass::Primes, 49, true}, 100, 97},
    });
  }
  void ticksEndAtTheRangeEnds() {
    QFETCH(Step, row);
    QCOMPARE(nextStart(row.rule, row.current), row.next);
  }

  void startNumbersAreReadOnce_data() {
    addRows<Start>({{"empty", "", "", "1", 1, true, false},
                    {"zeros", "000", "000", "0", 0, true, false},
                    {"leading zeros", "0042", "0042", "42", 42, true, false},
                    {"largest", "2147483646", "2147483646", "2147483646", 2147483646, true, false},
                    {"one past", "2147483647", "2147483647", "2147483647", 2147483647, true, true},
                    {"saturates", "99999999999999999999", "99999999999999999999", "99999999999999999999",
                     2147483647, true, true},
                    {"not digits", "12a", "12a", "12a", 12, false, false},
                    {"blanks around", " 007 ", "007", "7", 7, true, false},
                    {"only blanks", " \t\u3000", "", "1", 1, true, false},
                    {"blank inside", "1 2", "1 2", "1 2", 1, false, false},
                    {"zero-width space is no blank", "7\u200B", "7\u200B", "7\u200B", 7, false, false},
                    {"too large in blanks", "\u20002147483647\u3000", "2147483647", "2147483647", 2147483647, true,
                     true}});
  }
  void startNumbersAreReadOnce() {
    QFETCH(Start, row);
    const StartNumber start = parseStartNumber(row.text.toStdString());
    QCOMPARE(QString::fromStdString(start.typed), row.typed);
    QCOMPARE(QString::fromStdString(start.text), row.normalised);
    QCOMPARE(start.value, row.value);
    QCOMPARE(start.digitsOnly, row.digitsOnly);
    QCOMPARE(start.refusal == Refusal::StartTooLarge, row.tooLarge);
  }

  // The blanks around a start are Qt's: a character on both sides of a digit leaves digits only
  // exactly when QChar::isSpace() calls it a blank.
  void startNumberBlanksAreQtsSpaces() {
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
      if ((c >= 0xD800 && c <= 0xDFFF) || (c >= '0' && c <= '9')) continue;
      const QString around = QStringView(QChar::fromUcs4(c)).toString();  // fromUcs4(&c, 1) drops a BOM
      const StartNumber start = parseStartNumber((around + u'7' + around).toStdString());
      if (start.digitsOnly != QChar::isSpace(c)) QFAIL(qPrintable(QStringLiteral("U+%1").arg(uint(c), 4, 16, QChar(u'0'))));
    }
  }

  // Refusals exactly at and one past each bound of the window's range, and the classes at its ends.
  // A refused request leaves the picture alone and has no rays.
  void rangeEnds_data() {
    const int none = int(Refusal::None), endTooLarge = int(Refusal::EndNumberTooLarge);
    addRows<Range>({
        // 268435455 = 2147483646 / 8 is the triangular numbers' own limit: 49 numbers from 268435408
        // pass it, though they stay far below the end of the range.
        {"triangular one past", "268435408", kTriangular, int(Refusal::ClassLimitExceeded), 0, 0},
        {"largest start text", "2147483646", kPrimes, endTooLarge, 0, 0},
        {"75 px one past", "2147483599", kPrimes, endTooLarge, 0, 0},
        // 2147483629 is the one prime of 2147483598 ... 2147483646.
        {"primes at the top", "2147483598", kPrimes, none, 1, 2147483629},
        {"triangular at the top", "268435407", kTriangular, none, 0, 0},
        // 23169 * 23170 / 2 = 268412865 is the largest triangular number below 268435455.
        {"largest triangular", "268412845", kTriangular, none, 1, 268412865},
        {"triangular from 1", "", kTriangular, none, 9, 45},  // 1 3 6 10 15 21 28 36 45
        // 46340^2 = 2147395600 is the largest square below 2^31; 46341^2 overflows 32 bits.
        {"largest square", "2147395590", kSquares, none, 1, 2147395600},
        {"no square at the top", "2147483598", kSquares, none, 0, 0},
    });
  }
  void rangeEnds() {
    QFETCH(Range, row);
    Picture picture;
    picture.setPixel(5, 5, kWhite);
    bool accepted = false;
    const DrawOutcome o = drawSpiral(settingsFor(parseStartNumber(row.start.toStdString()).value, 75, NumberClass(row.numberClass)),
                                     picture, {[&](const Geometry&) { accepted = true; }, {}, {}});
    QCOMPARE(int(o.refusal), row.refusal);
    QCOMPARE(accepted, row.refusal == int(Refusal::None));
    QCOMPARE(picture.pixel(5, 5), accepted ? int(kBlack) : int(kWhite));
    QCOMPARE(LineLens(o).bestRays(3).empty(), !accepted);
    if (!accepted) return;
    QVERIFY(o.endNumber <= 2147483646);
    QCOMPARE(o.shownCount, int64_t{row.shown});
    if (row.numberClass == kPrimes) QCOMPARE(o.largestPrime, int64_t{row.marked});
    if (row.marked) QVERIFY(colorOf(picture, o, row.marked) != kBlack);
  }

  void randomNumbersAreOddRepeatableAndIncludeThree() {
    Picture first;
    const DrawOutcome outcome = drawSpiral(settingsFor(1, 3, NumberClass::Random), first);
    QVERIFY(colorOf(first, outcome, 3) > 0);
    for (Number n = 1; n <= outcome.endNumber; n += n == 1 ? 1 : 2)
      if (colorOf(first, outcome, n) != kBlack) QFAIL(qPrintable(QString::number(n)));
    const QImage kept = imageOf(first).copy();
    drawSpiral(settingsFor(777, 3, NumberClass::Random), first);  // something else in between
    QCOMPARE(drawSpiral(settingsFor(1, 3, NumberClass::Random), first).shownCount, outcome.shownCount);
    QCOMPARE(imageOf(first), kept);
    Picture other;
    QVERIFY(drawSpiral(settingsFor(2, 3, NumberClass::Random), other).shownCount != 0);
    QVERIFY(imageOf(other) != kept);
  }

  // Each scheme's colours for numbers of a spiral from `start`.
  void schemeColours_data() {
    using enum ColorScheme;
    addRows<Colours>({
        {"ring number", RingNumber, kAll, 1, 15, {1, kLightBlue, 2, kLightGreen, 9, kLightGreen, 10, kLightCyan,
                                                  25, kLightCyan, 82, kYellow, 121, kYellow, 122, kLightBlue,
                                                  169, kLightBlue}},
        {"sequence", Sequence, kAll, 1, 15, {1, kLightBlue, 6, kLightBlue, 11, kLightBlue, 2, kLightGreen,
                                             7, kLightGreen, 5, kLightMagenta, 10, kLightMagenta}},
        {"sequence from 3", Sequence, kAll, 3, 15, {3, kLightCyan}},
        // n + 4 must not overflow at the top of the range; 2147483646 = 5 * 429496729 + 1 is
        // coloured like 1, 6, 11, ...
        {"sequence at the top", Sequence, kAll, 2147482422, 15, {2147483646, kLightBlue}},
        {"NW-SE", DiagonalNWSE, kAll, 1, 15, {1, kLightBlue, 5, kLightBlue, 9, kLightBlue, 2, kLightGreen,
                                              4, kLightGreen, 6, kLightGreen, 8, kLightGreen, 3, kLightCyan,
                                              7, kLightCyan}},
        {"SW-NE", DiagonalSWNE, kAll, 1, 15, {1, kLightBlue, 3, kLightBlue, 7, kLightBlue, 5, kLightCyan,
                                              9, kLightCyan}},
        {"white", White, kPrimes, 1, 15, {2, kWhite, 3, kWhite, 11, kWhite, 4, kBlack}},
        // 2 opens a cluster in light blue; 3 has no coloured neighbour and takes its ring's colour;
        // 5, two cells left of 3 in the same row, joins it.
        {"cluster", Cluster, kPrimes, 1, 15, {2, kLightBlue, 3, kLightGreen, 5, kLightGreen}},
        {"Veltra primes", Veltra, kPrimes, 1, 15, {2, kLightRed, 5, kLightRed, 3, kLightGreen, 7, kLightGreen,
                                                   11, kLightBlue, 13, kBlack}},
        // Composite numbers by their factor count; 1 has no factors.
        {"Veltra composites", Veltra, kAll, 1, 3, {1, kBlack, 4, kLightGreen, 8, kYellow, 16, kLightBlue,
                                                   32, kLightMagenta, 64, kLightCyan, 128, kWhite, 256, kBlack}},
    });
  }
  void schemeColours() {
    QFETCH(Colours, row);
    Picture picture;  // Veltra's cells as squares, the others as circles
    const DrawOutcome o = drawSpiral(
        settingsFor(row.start, row.boxSize, NumberClass(row.numberClass), row.scheme, row.scheme == ColorScheme::Veltra),
        picture);
    for (qsizetype i = 0; i < row.numbersAndColours.size(); i += 2) {  // the number leads, to name a failure
      const int64_t n = row.numbersAndColours[i];
      QCOMPARE((QList<int64_t>{n, colorOf(picture, o, n)}), (QList<int64_t>{n, row.numbersAndColours[i + 1]}));
    }
  }
  // Far from 1, where the pass counts factors a segment at a time: every 499th number of a picture
  // across 2^32 against factors found by plain trial division, in the colours of the rows above
  // (primes by their remainder mod 12, the others by their count of factors).
  void veltraColoursFarFromOne() {
    DrawSettings settings = settingsFor((Number{1} << 32) - 100000, 1, NumberClass::All, ColorScheme::Veltra);
    settings.range = kWholeRange;
    Picture picture;
    const DrawOutcome o = drawSpiral(settings, picture);
    const int byCount[] = {kBlack, kLightRed, kLightGreen, kYellow, kLightBlue, kLightMagenta, kLightCyan, kWhite};
    const auto byRemainder = [](Number n) {
      const int r = int(n % 12);
      return r == 2 || r == 5 ? int(kLightRed) : r == 3 || r == 7 ? int(kLightGreen) : r == 11 ? int(kLightBlue) : int(kBlack);
    };
    for (Number n = o.startNumber; n <= o.endNumber; n += 499) {
      const int count = factorCountByTrialDivision(n);
      const int expected = count == 1 ? byRemainder(n) : count <= 7 ? byCount[count] : int(kBlack);
      QCOMPARE((QList<Number>{n, Number(colorOf(picture, o, n))}), (QList<Number>{n, Number(expected)}));
    }
  }

  // The whole range's ends: 2^64 - 1 is a start the parser reads, 2^64 is not; the sequence colour
  // of 2^64 - 1, a multiple of 5 (2^4 = 16 leaves 1 mod 5, and so does 2^64), is that of 5 and 10.
  void theTopOf64Bits() {
    const StartNumber top = parseStartNumber("18446744073709551615", kWholeRange);
    QCOMPARE(top.value, UINT64_MAX);
    QCOMPARE(int(top.refusal), int(Refusal::None));
    QCOMPARE(int(parseStartNumber("18446744073709551616", kWholeRange).refusal), int(Refusal::StartTooLarge));
    DrawSettings settings = settingsFor(UINT64_MAX - 48, 75, NumberClass::All, ColorScheme::Sequence);
    settings.range = kWholeRange;
    Picture picture;
    const DrawOutcome o = drawSpiral(settings, picture);
    QCOMPARE(o.endNumber, UINT64_MAX);
    QCOMPARE(colorOf(picture, o, UINT64_MAX), int(kLightMagenta));
    settings.start = UINT64_MAX - 47;
    QCOMPARE(int(drawSpiral(settings, picture).refusal), int(Refusal::EndNumberTooLarge));
  }


  // Twin primes share a colour only in a picture of primes. In a whole pass the number two walk
  // steps back is always among the probed neighbours and lends its colour first, so the rule shows
  // only where no earlier cell does: here on a blank picture. 11 in ring 2 opens a cluster in its
  // ring's colour, light green; 13 in ring 3 takes 11's colour among primes, and otherwise its own
  // ring's, light cyan.
  void twinPrimesShareAColourOnlyAmongPrimes() {
    for (NumberClass shown : {NumberClass::Primes, NumberClass::Random}) {
      const Picture blank;
      ColorChooser chooser(settingsFor(1, 7, shown), blank, 7, 49);
      chooser.centreNotShown();
      SpiralWalk walk;
      for (int64_t i = 1; i <= 8; ++i) walk.advance(i);
      QCOMPARE(chooser.colorOf(11, 100, 100, walk, true), int(kLightGreen));
      walk.advance(9);
      QCOMPARE(walk.ring(), int64_t(3));
      QCOMPARE(chooser.colorOf(13, 300, 300, walk, true),
               shown == NumberClass::Primes ? int(kLightGreen) : int(kLightCyan));
    }
  }

  // The black 13 has a white outline: as squares of 15 and 3 pixels and as a circle of 5, but not
  // as a circle of 3. All numbers as squares: 1 is a black square.
  void veltraOutlines() {
    Picture picture;
    // A Veltra pass from 1 over the picture; the centre of the cell of `n`.
    const auto veltra = [&](int boxSize, bool squares, NumberClass shown = NumberClass::Primes, int n = 13) {
      const DrawOutcome o = drawSpiral(settingsFor(1, boxSize, shown, ColorScheme::Veltra, squares), picture);
      return cellOf(o, n);
    };
    QCOMPARE(countPixels(picture, veltra(15, true) + QPoint(-7, 0), 0, kWhite), 1);
    QCOMPARE(countPixels(picture, veltra(5, false) + QPoint(2, 0), 0, kWhite), 1);
    QVERIFY(isUniform(picture, veltra(3, false), 1, kBlack));
    QCOMPARE(countPixels(picture, veltra(3, true), 1, kWhite), 8);
    QVERIFY(isUniform(picture, veltra(15, true, NumberClass::All, 1), 7, kBlack));
  }

  // How numerals look, their colour on each cell and their place in it, the renderer's reference
  // pictures pin pixel for pixel; here which cells take them.
  void numeralsFitTheirCell() {
    Picture picture;
    DrawSettings settings = settingsFor(90, 15, NumberClass::All, ColorScheme::White, true);
    settings.numerals = true;
    const DrawOutcome o = drawSpiral(settings, picture);
    QVERIFY(!isUniform(picture, cellOf(o, 99), 7, kWhite));  // 99 written in black
    QVERIFY(isUniform(picture, cellOf(o, 100), 7, kWhite));  // 100 does not fit
    settings.boxSize = 7;  // cells of 7 pixels take no numerals, not even one digit
    settings.start = 1;
    QVERIFY(isUniform(picture, cellOf(drawSpiral(settings, picture), 9), 3, kWhite));
  }

  // The grid marks of cells not shown, pixel by pixel for each cell size that has them and either
  // shape: at a ring's corners two strokes of a third of the cell along the ring's sides, away from
  // the corner; elsewhere a dot right of the centre. A picture of squares from 2 leaves ring 3's
  // corners (14, 18, 22, 26) and the side cells 12, 15, 20 and 24 unshown.
  void gridMarks_data() {
    QTest::addColumn<int>("boxSize");
    QTest::addColumn<int>("stroke");
    QTest::addColumn<bool>("squares");
    for (auto [s, stroke] : {std::pair{15, 5}, {21, 7}, {35, 12}, {75, 25}})
      for (bool squares : {false, true}) QTest::addRow("%d px, %s", s, squares ? "squares" : "circles") << s << stroke << squares;
  }
  void gridMarks() {
    QFETCH(int, boxSize);
    QFETCH(int, stroke);
    QFETCH(bool, squares);
    DrawSettings settings = settingsFor(2, boxSize, NumberClass::Squares, ColorScheme::Cluster, squares);
    settings.grid = true;
    Picture picture;
    const Geometry g = drawSpiral(settings, picture).geometry;
    const std::vector<WalkedCell> cells = walkedCells(25);
    // A walk index, then which way the strokes go across and down from the centre; a dot for 0, 0.
    const int marks[][3] = {{12, -1, 1}, {16, 1, 1}, {20, 1, -1}, {24, -1, -1}, {10, 0, 0}, {13, 0, 0}, {18, 0, 0}, {22, 0, 0}};
    for (auto [index, across, down] : marks) {
      const Pixel centre = g.centreOf(cells[index].row, cells[index].column);
      std::set<std::pair<int, int>> expected, white;
      if (across == 0) expected.insert({centre.x + 1, centre.y});
      for (int i = 1; i <= stroke && across != 0; ++i) expected.insert({{centre.x + across * i, centre.y}, {centre.x, centre.y + down * i}});
      const PixelSquare square = g.pixelsOf({cells[index].row, cells[index].column});
      for (int y = square.upperLeft.y; y < square.upperLeft.y + square.size; ++y)
        for (int x = square.upperLeft.x; x < square.upperLeft.x + square.size; ++x)
          if (picture.pixel(x, y) == kWhite) white.insert({x, y});
      QVERIFY2(white == expected, qPrintable(QString("walk index %1").arg(index)));
    }
    settings.numberClass = NumberClass::All;  // every cell shown: no grid marks, so no white in a cluster picture
    drawSpiral(settings, picture);
    QCOMPARE(countPixels(picture, {261, 261}, 261, kWhite), 0);
    for (bool grid : {true, false}) {  // the central dot, beside a centre that is not shown
      settings = settingsFor(4, boxSize);
      settings.grid = grid;
      const DrawOutcome four = drawSpiral(settings, picture);
      QCOMPARE(picture.pixel(four.geometry.centerX + 1, four.geometry.centerY), grid ? int(kWhite) : int(kBlack));
    }
  }

  // The longest runs along each diagonal direction.
  void diagonalRuns_data() {
    QTest::addColumn<Runs>("row");
    for (int s : {3, 7, 75})
      for (bool squares : {true, false})
        QTest::addRow("all, %d px, squares %d", s, squares) << Runs{kAll, 1, s, squares, -1, -1};
    // 1, 9, 25 and 49 follow each other on the NW-SE diagonal; no two squares touch along SW-NE.
    QTest::newRow("squares") << Runs{kSquares, 1, 75, false, 4, 1};
    QTest::newRow("no prime in 19610 ... 19658") << Runs{kPrimes, 19610, 75, false, 0, 0};
  }
  void diagonalRuns() {
    QFETCH(Runs, row);
    Picture picture;
    DrawSettings settings = settingsFor(row.start, row.boxSize, NumberClass(row.numberClass),
                                        ColorScheme::RingNumber, row.squares);
    settings.calculateLongest = true;
    bool measured = false;
    const DrawOutcome o = drawSpiral(settings, picture, {{}, {}, [&] { measured = true; }});
    QCOMPARE(*o.longestNWSE, row.nwse < 0 ? o.geometry.cellsPerSide : row.nwse);
    QCOMPARE(*o.longestSWNE, row.swne < 0 ? o.geometry.cellsPerSide : row.swne);
    QCOMPARE(measured, o.shownCount > 0);
    if (o.shownCount == 0) QCOMPARE(o.smallestPrime + o.largestPrime, int64_t{0});
  }

  // 1-pixel cells are single pixels, without grid marks or numerals; the pass yields every 1000
  // numbers and stops when asked to.
  void onePixelPassYieldsAndStops() {
    Picture picture;
    DrawSettings settings = settingsFor(1, 1, NumberClass::Primes, ColorScheme::White);
    settings.grid = settings.numerals = settings.calculateLongest = true;
    std::vector<int64_t> yields;
    DrawOutcome o = drawSpiral(settings, picture, {{}, [&](int64_t i) { yields.push_back(i); return false; }, {}});
    QCOMPARE(countPixels(picture, {261, 261}, 261, kWhite), o.shownCount);
    QCOMPARE(yields.size(), size_t{273});
    QCOMPARE(yields.front(), int64_t{1000});
    QVERIFY(!o.stopped);
    o = drawSpiral(settings, picture, {{}, [](int64_t i) { return i == 5000; }, {}});
    QVERIFY(o.stopped);
    QCOMPARE(o.shownCount, int64_t{669});  // the primes up to 5001, the number at index 5000
    QVERIFY(!o.longestNWSE);
    QVERIFY(!o.longestSWNE);
    // Each yield comes once its number is drawn (1009 at index 1000 is prime), and one comes at
    // the last index when that is a thousandth.
    settings.start = o.startNumber = 9;
    const QPoint cell = cellOf(o, 1009);
    bool drawnBeforeItsYield = false;
    drawSpiral(settings, picture, {{}, [&](int64_t i) {
      if (i == 1000) drawnBeforeItsYield = picture.isMarked(cell.x(), cell.y());
      return false;
    }, {}});
    QVERIFY(drawnBeforeItsYield);
    Picture small(249, 249);  // 249 x 249 numbers, the last at index 62000
    yields.clear();
    drawSpiral(settings, small, {{}, [&](int64_t i) { yields.push_back(i); return false; }, {}});
    QCOMPARE(yields.size(), size_t{62});
    settings.boxSize = 3;  // larger cells never yield
    yields.clear();
    drawSpiral(settings, picture, {{}, [&](int64_t i) { yields.push_back(i); return true; }, {}});
    QVERIFY(yields.empty());
  }

  // The lens over a pass: each ray's primes by trial division and the cells the picture shows.
  // Recording what is shown changes no pixel; a pass that did not record it leaves the count open.
  // (The rays' quadratics, constants and expected primes the renderer's lens table and report pin.)
  void lineLensFacts_data() {
    addRows<Lens>({{"primes", 7, 1, kPrimes},
                   {"random numbers", 5, 1000, int(NumberClass::Random)},
                   {"all numbers at the top", 7, 2147483646 - 5624, kAll}});
  }
  void lineLensFacts() {
    QFETCH(Lens, row);
    DrawSettings settings = settingsFor(row.start, row.boxSize, NumberClass(row.numberClass), ColorScheme::White);
    Picture unrecorded, picture;
    const LineLens blind(drawSpiral(settings, unrecorded));
    settings.recordShown = true;
    const DrawOutcome o = drawSpiral(settings, picture);
    QCOMPARE(imageOf(picture), imageOf(unrecorded));
    const LineLens lens(o);
    QVERIFY(lens.bestRays(0).empty());
    std::vector<RayFacts> facts = lens.bestRays(4);
    for (Cell cell : {Cell{0, 0}, Cell{-5, -5}, Cell{3, -7}, Cell{1 - o.geometry.cellsPerSide / 2, 2}}) {
      const std::vector<RayFacts> through = lens.raysThrough(cell);
      QCOMPARE(through.size(), raysThrough(o.geometry, cell).size());
      facts.insert(facts.end(), through.begin(), through.end());
    }
    for (const RayFacts& f : facts) {
      int64_t primes = 0, shown = 0;
      for (int64_t k = f.ray.kFrom; k <= f.ray.kTo; ++k) {
        const Pixel centre = o.geometry.centreOf(f.ray.cellAt(k).row, f.ray.cellAt(k).column);
        primes += isPrimeByTrialDivision(f.numbers.at(k));
        shown += picture.isMarked(centre.x, centre.y);
      }
      QCOMPARE(f.primes, primes);
      QCOMPARE(f.shown, std::optional(shown));
      QCOMPARE(blind.factsOf(f.ray).shown, std::nullopt);  // a lens over an unrecorded pass finds the primes itself
      QCOMPARE(blind.factsOf(f.ray).primes, primes);
    }
  }

  // A pass shared among workers draws the same pixels and finds the same facts as one thread: for
  // every class and every scheme, near 1 and near 2^64 (three bands of 1-pixel cells each).
  void workersDrawAsOneThread_data() {
    using enum NumberClass;
    using ColorScheme::Cluster, ColorScheme::DiagonalNWSE, ColorScheme::DiagonalSWNE, ColorScheme::Veltra,
        ColorScheme::Sequence, ColorScheme::RingNumber;
    QTest::addColumn<Shared>("row");
    const Shared fromOne[] = {{"primes, cluster", 1, Primes, Cluster, 1, false, false},
                              {"random, cluster", 1, Random, Cluster, 1, false, false},
                              {"all, cluster", 1, All, Cluster, 1, false, false},
                              {"squares, NW-SE, 3 px squares", 1, Squares, DiagonalNWSE, 3, true, false},
                              {"triangular, SW-NE", 1, Triangular, DiagonalSWNE, 1, false, false},
                              {"all, Veltra", 1, All, Veltra, 1, false, false},
                              {"random, sequence, 3 px", 1, Random, Sequence, 3, false, false},
                              {"primes, ring, 15 px grid", 1, Primes, RingNumber, 15, false, true}};
    for (Shared row : fromOne) {  // each from 1 and near the top
      QTest::newRow(row.name) << row;
      row.start = row.numberClass == Squares ? kBeforeTopSquare : row.numberClass == Triangular ? kBeforeTopTriangular : kNearTop;
      QTest::addRow("%s, top", row.name) << row;
    }
  }
  void workersDrawAsOneThread() {
    QFETCH(Shared, row);
    DrawSettings settings = settingsFor(row.start, row.boxSize, row.numberClass, row.scheme, row.squares);
    settings.range = kWholeRange;
    settings.grid = row.grid;
    settings.recordShown = settings.calculateLongest = true;
    Picture alone(1100, 1100), shared(1100, 1100);
    const DrawOutcome one = drawSpiral(settings, alone);
    settings.threads = 3;
    QVERIFY(drawsInBands(settings, one.geometry));
    const DrawOutcome three = drawSpiral(settings, shared);
    QVERIFY(one.shownCount > 0);
    QCOMPARE((std::tuple{three.shownCount, three.smallestPrime, three.largestPrime, three.longestNWSE, three.longestSWNE}),
             (std::tuple{one.shownCount, one.smallestPrime, one.largestPrime, one.longestNWSE, one.longestSWNE}));
    QVERIFY(three.shownBits == one.shownBits && three.primeBits == one.primeBits);
    for (int y = 0; y < alone.height(); ++y) {
      QVERIFY2(std::equal(alone.indexLine(y), alone.indexLine(y) + alone.width(), shared.indexLine(y)),
               qPrintable(QString("row %1").arg(y)));
    }
  }

  // A picture is black before anything is drawn on it, whether its raster is small or mapped.
  void newPicturesAreBlack() {
    for (const auto& [width, height] : {std::pair{5, 7}, std::pair{2000, 1200}}) {
      const Picture picture(width, height);
      for (int y = 0; y < height; ++y) {
        const uint8_t* line = picture.indexLine(y);
        QVERIFY2(std::all_of(line, line + width, [](uint8_t index) { return index == kBlack; }), qPrintable(QString::number(y)));
      }
    }
  }

  // The notice: with its text up to 5 pixels, the box alone at 1, nothing from 7 on.
  void busyNotice() {
    for (auto [boxSize, text, box] : {std::tuple{1, false, true}, {5, true, true}, {7, false, false}}) {
      Picture picture;
      picture.fillBox(0, 0, 522, 522, kWhite);
      const Geometry g = computeGeometry(523, 523, boxSize);
      drawBusyNotice(picture, g, "Calculating ...");
      // The cell size leads each list, so that a failure names its row.
      QCOMPARE((QList<int>{boxSize, countPixels(picture, {g.centerX, g.centerY + 152}, 22, kYellow) > 0,
                           picture.pixel(g.centerX - 60, g.centerY + 130) == kBlack}),
               (QList<int>{boxSize, text, box}));
    }
  }
};

QTEST_MAIN(TestEngine)
#include "test_engine.moc"
