// Whole draw passes through the engine's public interface, checked by reading the picture back.

#include <QGuiApplication>
#include <QTest>

#include <set>

#include "DrawPass.h"
#include "Palette.h"
#include "numlib.h"

using namespace spiral;

namespace {

DrawSettings settingsFor(int64_t start, int boxSize, NumberClass numberClass = NumberClass::Primes,
                         ColorScheme scheme = ColorScheme::Cluster) {
  DrawSettings settings;
  settings.startText = QString::number(start);
  settings.boxSize = boxSize;
  settings.numberClass = numberClass;
  settings.colorScheme = scheme;
  settings.colorCount = colorCountOf(scheme);
  settings.numerals = false;
  return settings;
}

// The centre pixel of the cell that holds `number` in a pass that started at outcome.startNumber.
QPoint cellOf(const DrawOutcome& outcome, int64_t number) {
  const Geometry& g = outcome.geometry;
  SpiralWalk walk;
  for (int64_t i = 1; i <= number - outcome.startNumber; ++i) walk.advance(i);
  return {g.centerX + g.boxSize * static_cast<int>(walk.column()),
          g.centerY + g.boxSize * static_cast<int>(walk.row())};
}

int colorOf(const Picture& picture, const DrawOutcome& outcome, int64_t number) {
  const QPoint p = cellOf(outcome, number);
  return picture.pixel(p.x(), p.y());
}

// Every pixel of the square around (cx, cy) with half-width `half` has colour `color`.
bool isUniform(const Picture& picture, QPoint centre, int half, int color) {
  for (int y = centre.y() - half; y <= centre.y() + half; ++y) {
    for (int x = centre.x() - half; x <= centre.x() + half; ++x) {
      if (picture.pixel(x, y) != color) return false;
    }
  }
  return true;
}

}  // namespace

class TestDrawPass : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { calculate_primes(2147483646); }

  // ---- refusals: exactly at and one past each bound --------------------------------------------

  void refusesAtTheLimits_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("boxSize");
    QTest::addColumn<int>("numberClass");
    QTest::addColumn<int>("refusal");
    const int primes = int(NumberClass::Primes), triangular = int(NumberClass::Triangular);
    QTest::newRow("largest start text") << "2147483646" << 75 << primes << int(Refusal::EndNumberTooLarge);
    QTest::newRow("start text one past") << "2147483647" << 75 << primes << int(Refusal::StartTooLarge);
    QTest::newRow("eleven digits") << "10000000000" << 75 << primes << int(Refusal::StartTooLarge);
    QTest::newRow("1 px at the top") << "2147210118" << 1 << primes << int(Refusal::None);
    QTest::newRow("1 px one past") << "2147210119" << 1 << primes << int(Refusal::EndNumberTooLarge);
    QTest::newRow("75 px at the top") << "2147483598" << 75 << primes << int(Refusal::None);
    QTest::newRow("75 px one past") << "2147483599" << 75 << primes << int(Refusal::EndNumberTooLarge);
    QTest::newRow("triangular at the top") << "268435407" << 75 << triangular << int(Refusal::None);
    QTest::newRow("triangular one past") << "268435408" << 75 << triangular << int(Refusal::TriangularTooLarge);
    QTest::newRow("empty means 1") << "" << 7 << primes << int(Refusal::None);
  }
  void refusesAtTheLimits() {
    QFETCH(QString, start);
    QFETCH(int, boxSize);
    QFETCH(int, numberClass);
    QFETCH(int, refusal);
    DrawSettings settings = settingsFor(1, boxSize, NumberClass(numberClass));
    settings.startText = start;
    Picture picture;
    picture.setPixel(5, 5, kWhite);  // a refused request leaves the picture alone
    bool accepted = false;
    const DrawOutcome outcome = drawSpiral(settings, picture, {[&](const Geometry&) { accepted = true; }, {}, {}});
    QCOMPARE(int(outcome.refusal), refusal);
    QCOMPARE(accepted, refusal == int(Refusal::None));
    QCOMPARE(picture.pixel(5, 5), refusal == int(Refusal::None) ? int(kBlack) : int(kWhite));
    if (refusal == int(Refusal::None)) {
      QCOMPARE(outcome.endNumber, outcome.startNumber + outcome.geometry.numberOfNumbers - 1);
      QVERIFY(outcome.endNumber <= 2147483646);
    }
  }

  // ---- classes at the ends of the range ------------------------------------------------------------

  void squaresNearTheTop() {
    // 46340^2 = 2147395600 is the largest square below 2^31; 46341^2 overflows 32 bits.
    Picture picture;
    const DrawOutcome outcome = drawSpiral(settingsFor(2147395600 - 10, 75, NumberClass::Squares), picture);
    QCOMPARE(outcome.shownCount, int64_t{1});
    QVERIFY(picture.isMarked(cellOf(outcome, 2147395600).x(), cellOf(outcome, 2147395600).y()));
    const DrawOutcome top = drawSpiral(settingsFor(2147483598, 75, NumberClass::Squares), picture);
    QCOMPARE(top.shownCount, int64_t{0});
  }

  void triangularNumbersNearTheirBound() {
    // 23169 * 23170 / 2 = 268412865 is the largest triangular number below 268435455.
    Picture picture;
    const DrawOutcome outcome =
        drawSpiral(settingsFor(268412865 - 20, 75, NumberClass::Triangular), picture);
    QCOMPARE(outcome.shownCount, int64_t{1});
    QVERIFY(picture.isMarked(cellOf(outcome, 268412865).x(), cellOf(outcome, 268412865).y()));
    const DrawOutcome small = drawSpiral(settingsFor(1, 75, NumberClass::Triangular), picture);
    QCOMPARE(small.shownCount, int64_t{9});  // 1 3 6 10 15 21 28 36 45
  }

  void primesNearTheTopAreCounted() {
    Picture picture;
    const DrawOutcome outcome = drawSpiral(settingsFor(2147483598, 75), picture);
    // The primes in 2147483598 ... 2147483646: 2147483629 is the largest below 2^31 - 1.
    QCOMPARE(outcome.largestPrime, int64_t{2147483629});
    QVERIFY(outcome.smallestPrime >= 2147483598 && outcome.smallestPrime <= outcome.largestPrime);
    int64_t count = 0;
    for (int64_t n = 2147483598; n <= 2147483646; ++n) count += is_prime(int32_t(n), int32_t(n));
    QCOMPARE(outcome.shownCount, count);
  }

  void randomNumbersAreOddRepeatableAndIncludeThree() {
    Picture first;
    const DrawOutcome outcome = drawSpiral(settingsFor(1, 3, NumberClass::Random), first);
    QVERIFY(outcome.shownCount > 0);
    QVERIFY(colorOf(first, outcome, 3) > 0);
    QCOMPARE(colorOf(first, outcome, 1), int(kBlack));
    QCOMPARE(colorOf(first, outcome, 2), int(kBlack));
    for (int64_t n = 2; n <= outcome.endNumber; n += 2) {
      if (colorOf(first, outcome, n) != kBlack) QFAIL(qPrintable(QString::number(n)));
    }
    const QImage kept = first.image().copy();
    drawSpiral(settingsFor(777, 3, NumberClass::Random), first);  // something else in between
    const DrawOutcome again = drawSpiral(settingsFor(1, 3, NumberClass::Random), first);
    QCOMPARE(again.shownCount, outcome.shownCount);
    QCOMPARE(first.image(), kept);
    Picture other;
    QVERIFY(drawSpiral(settingsFor(2, 3, NumberClass::Random), other).shownCount != 0);
    QVERIFY(other.image() != kept);
  }

  // ---- colour schemes ------------------------------------------------------------------------------

  void ringNumberColours() {
    Picture picture;
    const DrawOutcome o = drawSpiral(settingsFor(1, 15, NumberClass::All, ColorScheme::RingNumber), picture);
    QCOMPARE(colorOf(picture, o, 1), int(kLightBlue));
    for (int64_t n : {2, 9}) QCOMPARE(colorOf(picture, o, n), int(kLightGreen));
    for (int64_t n : {10, 25}) QCOMPARE(colorOf(picture, o, n), int(kLightCyan));
    for (int64_t n : {82, 121}) QCOMPARE(colorOf(picture, o, n), int(kYellow));
    for (int64_t n : {122, 169}) QCOMPARE(colorOf(picture, o, n), int(kLightBlue));
  }

  void sequenceColours() {
    Picture picture;
    DrawOutcome o = drawSpiral(settingsFor(1, 15, NumberClass::All, ColorScheme::Sequence), picture);
    for (int64_t n : {1, 6, 11}) QCOMPARE(colorOf(picture, o, n), int(kLightBlue));
    for (int64_t n : {2, 7, 12}) QCOMPARE(colorOf(picture, o, n), int(kLightGreen));
    for (int64_t n : {5, 10}) QCOMPARE(colorOf(picture, o, n), int(kLightMagenta));
    o = drawSpiral(settingsFor(3, 15, NumberClass::All, ColorScheme::Sequence), picture);
    QCOMPARE(colorOf(picture, o, 3), int(kLightCyan));
    // n + 4 must not overflow at the top of the range.
    o = drawSpiral(settingsFor(2147483598, 75, NumberClass::All, ColorScheme::Sequence), picture);
    QCOMPARE(colorOf(picture, o, 2147483646), 9 + int((2147483646LL + 4) % 5));
  }

  void diagonalColours() {
    Picture picture;
    DrawOutcome o = drawSpiral(settingsFor(1, 15, NumberClass::All, ColorScheme::DiagonalNWSE), picture);
    for (int64_t n : {1, 5, 9}) QCOMPARE(colorOf(picture, o, n), int(kLightBlue));
    for (int64_t n : {2, 4, 6, 8}) QCOMPARE(colorOf(picture, o, n), int(kLightGreen));
    for (int64_t n : {3, 7}) QCOMPARE(colorOf(picture, o, n), int(kLightCyan));
    o = drawSpiral(settingsFor(1, 15, NumberClass::All, ColorScheme::DiagonalSWNE), picture);
    for (int64_t n : {1, 3, 7}) QCOMPARE(colorOf(picture, o, n), int(kLightBlue));
    for (int64_t n : {5, 9}) QCOMPARE(colorOf(picture, o, n), int(kLightCyan));
  }

  void veltraColours() {
    Picture picture;
    DrawSettings settings = settingsFor(1, 15, NumberClass::Primes, ColorScheme::Veltra);
    settings.squares = true;
    const DrawOutcome o = drawSpiral(settings, picture);
    for (int64_t n : {2, 5}) QCOMPARE(colorOf(picture, o, n), int(kLightRed));
    for (int64_t n : {3, 7}) QCOMPARE(colorOf(picture, o, n), int(kLightGreen));
    QCOMPARE(colorOf(picture, o, 11), int(kLightBlue));
    // 13 is black with a white outline: unmarked centre, white edge.
    const QPoint thirteen = cellOf(o, 13);
    QCOMPARE(picture.pixel(thirteen.x(), thirteen.y()), int(kBlack));
    QCOMPARE(picture.pixel(thirteen.x() - 7, thirteen.y()), int(kWhite));
    // Composite numbers by their factor count: 4 = 2*2 light green, 8 yellow, 16 light blue,
    // 32 light magenta, 64 light cyan, 128 white, 256 black; 1 has no factors and is black.
    settings.numberClass = NumberClass::All;
    settings.squares = false;
    const DrawOutcome all = drawSpiral(settingsFor(1, 3, NumberClass::All, ColorScheme::Veltra), picture);
    const std::pair<int64_t, int> byCount[] = {{1, kBlack}, {4, kLightGreen}, {8, kYellow}, {16, kLightBlue},
                                               {32, kLightMagenta}, {64, kLightCyan}, {128, kWhite}, {256, kBlack}};
    for (auto [n, color] : byCount) QCOMPARE(colorOf(picture, all, n), color);
  }

  void veltraBlackNumberShapes() {
    Picture picture;
    DrawSettings settings = settingsFor(1, 5, NumberClass::Primes, ColorScheme::Veltra);
    DrawOutcome o = drawSpiral(settings, picture);  // circles of 5 pixels: a white ring for 13
    QCOMPARE(picture.pixel(cellOf(o, 13).x() + 2, cellOf(o, 13).y()), int(kWhite));
    settings.boxSize = 3;  // circles of 3 pixels: filled black, nothing to see
    o = drawSpiral(settings, picture);
    QVERIFY(isUniform(picture, cellOf(o, 13), 1, kBlack));
    settings.numberClass = NumberClass::All;  // all numbers as squares: a black square
    settings.squares = true;
    settings.boxSize = 15;
    o = drawSpiral(settings, picture);
    QVERIFY(isUniform(picture, cellOf(o, 1), 7, kBlack));
  }

  void whiteScheme() {
    Picture picture;
    const DrawOutcome o = drawSpiral(settingsFor(1, 7, NumberClass::Primes, ColorScheme::White), picture);
    for (int64_t n : {2, 3, 5, 7, 11}) QCOMPARE(colorOf(picture, o, n), int(kWhite));
    QCOMPARE(colorOf(picture, o, 4), int(kBlack));
  }

  void clusterColours() {
    Picture picture;
    const DrawOutcome o = drawSpiral(settingsFor(1, 7), picture);
    QCOMPARE(colorOf(picture, o, 2), int(kLightBlue));
    QCOMPARE(colorOf(picture, o, 3), int(kLightGreen));
    QCOMPARE(colorOf(picture, o, 5), int(kLightGreen));  // two cells left of 3: joins it
    // Every colour is one of the scheme's, plus the one step beyond it.
    std::set<int> used;
    for (int64_t n = 2; n <= o.endNumber; ++n) {
      if (is_prime(int32_t(n), int32_t(n))) used.insert(colorOf(picture, o, n));
    }
    for (int c : used) QVERIFY2(c >= kLightBlue && c <= kWhite, qPrintable(QString::number(c)));
    QVERIFY(used.size() >= 4);
  }

  // ---- cells, numerals and grid --------------------------------------------------------------------

  void onePixelCellsAreSinglePixels() {
    Picture picture;
    DrawSettings settings = settingsFor(1, 1, NumberClass::Primes, ColorScheme::White);
    settings.grid = true;
    settings.numerals = true;
    const DrawOutcome o = drawSpiral(settings, picture);
    int marked = 0;
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x) marked += picture.isMarked(x, y);
    QCOMPARE(int64_t{marked}, o.shownCount);
  }

  void numeralsFitTheirCell() {
    Picture picture;
    DrawSettings settings = settingsFor(90, 15, NumberClass::All, ColorScheme::White);
    settings.squares = true;
    settings.numerals = true;
    const DrawOutcome o = drawSpiral(settings, picture);
    QVERIFY(!isUniform(picture, cellOf(o, 99), 7, kWhite));  // 99 written in black
    QCOMPARE(colorOf(picture, o, 99), int(kWhite));          // centre pixel kept
    QVERIFY(isUniform(picture, cellOf(o, 100), 7, kWhite));  // 100 does not fit
    settings.numerals = false;
    const DrawOutcome plain = drawSpiral(settings, picture);
    QVERIFY(isUniform(picture, cellOf(plain, 99), 7, kWhite));
  }

  void numeralColourFollowsTheCell() {
    Picture picture;
    DrawSettings settings = settingsFor(1, 75, NumberClass::All, ColorScheme::RingNumber);
    settings.squares = true;
    settings.numerals = true;
    const DrawOutcome o = drawSpiral(settings, picture);
    // 1 on light blue: white digits; 2 on light green: black digits. The right neighbour's digits
    // start one pixel left of its cell, so only the inside of each cell is looked at.
    const auto colorsIn = [&](int64_t n) {
      std::set<int> found;
      const QPoint c = cellOf(o, n);
      for (int y = c.y() - 35; y <= c.y() + 35; ++y)
        for (int x = c.x() - 35; x <= c.x() + 35; ++x) found.insert(picture.pixel(x, y));
      return found;
    };
    QCOMPARE(colorsIn(1), (std::set<int>{kLightBlue, kWhite}));
    QCOMPARE(colorsIn(2), (std::set<int>{kLightGreen, kBlack}));
  }

  void gridMarksAtRingCorners() {
    Picture picture;
    DrawSettings settings = settingsFor(1, 15, NumberClass::Squares, ColorScheme::Cluster);
    settings.grid = true;
    const DrawOutcome o = drawSpiral(settings, picture);
    const int cx = o.geometry.centerX, cy = o.geometry.centerY;
    // Ring 2's corners hold 3, 5, 7 and 9; 9 is a square and shown, the others carry strokes.
    QCOMPARE(picture.pixel(cx + 15 - 5, cy - 15), int(kWhite));  // 3: left ...
    QCOMPARE(picture.pixel(cx + 15, cy - 15 + 5), int(kWhite));  // ... and down
    QCOMPARE(picture.pixel(cx - 15 + 5, cy - 15), int(kWhite));  // 5: right and down
    QCOMPARE(picture.pixel(cx - 15, cy - 15 + 5), int(kWhite));
    QCOMPARE(picture.pixel(cx - 15 + 5, cy + 15), int(kWhite));  // 7: right and up
    QCOMPARE(picture.pixel(cx - 15, cy + 15 - 5), int(kWhite));
    for (int64_t n : {3, 5, 7}) QCOMPARE(colorOf(picture, o, n), int(kBlack));  // centres untouched
    const QPoint two = cellOf(o, 2);  // an edge cell: one dot right of the centre
    QCOMPARE(picture.pixel(two.x() + 1, two.y()), int(kWhite));
    QCOMPARE(picture.pixel(two.x() + 2, two.y()), int(kBlack));
    // All numbers: no grid marks anywhere, so no white at all in a cluster picture.
    settings.numberClass = NumberClass::All;
    drawSpiral(settings, picture);
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x)
        if (picture.pixel(x, y) == kWhite) QFAIL("grid drawn for all numbers");
  }

  void centralGridDot() {
    Picture picture;
    DrawSettings settings = settingsFor(4, 7, NumberClass::Primes);
    settings.grid = true;
    const DrawOutcome o = drawSpiral(settings, picture);
    QCOMPARE(picture.pixel(o.geometry.centerX + 1, o.geometry.centerY), int(kWhite));
    settings.grid = false;
    drawSpiral(settings, picture);
    QCOMPARE(picture.pixel(o.geometry.centerX + 1, o.geometry.centerY), int(kBlack));
  }

  // ---- statistics and diagonal runs ----------------------------------------------------------------

  void diagonalRuns_data() {
    QTest::addColumn<int>("boxSize");
    QTest::addColumn<bool>("squares");
    for (int s : {3, 7, 75}) {
      QTest::addRow("%d px squares", s) << s << true;
      QTest::addRow("%d px circles", s) << s << false;
    }
  }
  void diagonalRuns() {
    QFETCH(int, boxSize);
    QFETCH(bool, squares);
    Picture picture;
    DrawSettings settings = settingsFor(1, boxSize, NumberClass::All, ColorScheme::RingNumber);
    settings.squares = squares;
    settings.calculateLongest = true;
    const DrawOutcome all = drawSpiral(settings, picture);
    QCOMPARE(*all.longestNWSE, all.geometry.cellsPerSide);
    QCOMPARE(*all.longestSWNE, all.geometry.cellsPerSide);
    settings.calculateLongest = false;
    const DrawOutcome unmeasured = drawSpiral(settings, picture);
    QVERIFY(!unmeasured.longestNWSE && !unmeasured.longestSWNE);
  }

  void diagonalRunOfKnownPrimes() {
    // Start 1, 75-pixel cells: 49 numbers, 15 of them prime.
    Picture picture;
    DrawSettings settings = settingsFor(1, 75);
    settings.calculateLongest = true;
    const DrawOutcome o = drawSpiral(settings, picture);
    QCOMPARE(o.shownCount, int64_t{15});
    QCOMPARE(o.smallestPrime, int64_t{2});
    QCOMPARE(o.largestPrime, int64_t{47});
    // The longest runs: 19 - 7 - 23 - 47 running NW-SE, 3 - 13 - 31 and 41 - 19 - 5 running SW-NE.
    QCOMPARE(*o.longestNWSE, 4);
    QCOMPARE(*o.longestSWNE, 3);
  }

  void nothingShownMeansRunsOfZero() {
    Picture picture;
    DrawSettings settings = settingsFor(19610, 75);  // 19610 ... 19658 holds no prime
    settings.calculateLongest = true;
    bool measured = false;
    const DrawOutcome o = drawSpiral(settings, picture, {{}, {}, [&] { measured = true; }});
    QCOMPARE(o.shownCount, int64_t{0});
    QCOMPARE(o.smallestPrime, int64_t{0});
    QCOMPARE(o.largestPrime, int64_t{0});
    QCOMPARE(*o.longestNWSE, 0);
    QCOMPARE(*o.longestSWNE, 0);
    QVERIFY(!measured);
  }

  // ---- the yield hook -------------------------------------------------------------------------------

  void onePixelPassYieldsAndStops() {
    Picture picture;
    DrawSettings settings = settingsFor(1, 1);
    settings.calculateLongest = true;
    std::vector<int64_t> yields;
    DrawOutcome o = drawSpiral(settings, picture, {{}, [&](int64_t i) { yields.push_back(i); return false; }, {}});
    QCOMPARE(yields.size(), size_t{273});
    QCOMPARE(yields.front(), int64_t{1000});
    QVERIFY(!o.stopped);
    const int64_t full = o.shownCount;
    o = drawSpiral(settings, picture, {{}, [](int64_t i) { return i == 5000; }, {}});
    QVERIFY(o.stopped);
    QVERIFY(o.shownCount > 0 && o.shownCount < full);
    QVERIFY(!o.longestNWSE && !o.longestSWNE);
    QVERIFY(!o.startIsPrime);
    settings.boxSize = 3;  // larger cells never yield
    yields.clear();
    drawSpiral(settings, picture, {{}, [&](int64_t i) { yields.push_back(i); return true; }, {}});
    QVERIFY(yields.empty());
  }

  void busyNotice() {
    Picture picture;
    const Geometry g = computeGeometry(523, 523, 3);
    drawBusyNotice(picture, g, QStringLiteral("Calculating ..."));
    bool yellow = false;
    for (int y = g.centerY + 130; y <= g.centerY + 174; ++y)
      for (int x = g.centerX - 60; x <= g.centerX + 70; ++x) yellow |= picture.pixel(x, y) == kYellow;
    QVERIFY(yellow);
  }
};

QTEST_MAIN(TestDrawPass)
#include "test_drawpass.moc"
