// Whole draw passes through the engine's public interface, checked by reading the picture back.

#include <QGuiApplication>
#include <QTest>

#include "DrawPass.h"
#include "Palette.h"
#include "numlib.h"

using namespace spiral;

namespace {

DrawSettings settingsFor(int64_t start, int boxSize, NumberClass numberClass = NumberClass::Primes,
                         ColorScheme scheme = ColorScheme::Cluster) {
  DrawSettings settings;
  settings.start = start;
  settings.boxSize = boxSize;
  settings.numberClass = numberClass;
  settings.colorScheme = scheme;
  settings.numerals = false;
  return settings;
}

// The centre pixel of the cell that holds `number` in a pass that started at outcome.startNumber.
QPoint cellOf(const DrawOutcome& outcome, int64_t number) {
  SpiralWalk walk;
  for (int64_t i = 1; i <= number - outcome.startNumber; ++i) walk.advance(i);
  const Pixel centre = outcome.geometry.centreOf(walk.row(), walk.column());
  return {centre.x, centre.y};
}

int colorOf(const Picture& picture, const DrawOutcome& outcome, int64_t number) {
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
    settings.start = parseStartNumber(start).value;
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

  void classesAtTheEndsOfTheRange_data() {
    QTest::addColumn<int>("numberClass");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("shown");   // -1: as many as the number service finds primes
    QTest::addColumn<int>("marked");  // a number whose cell must be marked, 0 for none
    const int squares = int(NumberClass::Squares), triangular = int(NumberClass::Triangular);
    // 46340^2 = 2147395600 is the largest square below 2^31; 46341^2 overflows 32 bits.
    QTest::newRow("largest square") << squares << 2147395590 << 1 << 2147395600;
    QTest::newRow("no square at the top") << squares << 2147483598 << 0 << 0;
    // 23169 * 23170 / 2 = 268412865 is the largest triangular number below 268435455.
    QTest::newRow("largest triangular") << triangular << 268412845 << 1 << 268412865;
    QTest::newRow("triangular from 1") << triangular << 1 << 9 << 45;  // 1 3 6 10 15 21 28 36 45
    QTest::newRow("primes at the top") << int(NumberClass::Primes) << 2147483598 << -1 << 2147483629;
  }
  void classesAtTheEndsOfTheRange() {
    QFETCH(int, numberClass);
    QFETCH(int, start);
    QFETCH(int, shown);
    QFETCH(int, marked);
    Picture picture;
    const DrawOutcome o = drawSpiral(settingsFor(start, 75, NumberClass(numberClass)), picture);
    if (shown < 0) {
      shown = 0;
      for (int64_t n = start; n <= o.endNumber; ++n) shown += is_prime(int32_t(n), int32_t(n));
      QCOMPARE(o.largestPrime, int64_t{marked});
    }
    QCOMPARE(o.shownCount, int64_t{shown});
    if (marked) QVERIFY(colorOf(picture, o, marked) != kBlack);
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

  // Each scheme's colours for the first numbers of a spiral of all numbers (or primes) from `start`.
  void schemeColours_data() {
    QTest::addColumn<int>("scheme");
    QTest::addColumn<int>("numberClass");
    QTest::addColumn<int>("start");
    QTest::addColumn<QList<int>>("numbersAndColours");  // pairs: number, palette index
    const int all = int(NumberClass::All);
    QTest::newRow("ring number") << int(ColorScheme::RingNumber) << all << 1
                                 << QList<int>{1, kLightBlue, 2, kLightGreen, 9, kLightGreen, 10, kLightCyan, 25, kLightCyan,
                                               82, kYellow, 121, kYellow, 122, kLightBlue, 169, kLightBlue};
    QTest::newRow("sequence") << int(ColorScheme::Sequence) << all << 1
                              << QList<int>{1, kLightBlue, 6, kLightBlue, 11, kLightBlue, 2, kLightGreen,
                                            7, kLightGreen, 5, kLightMagenta, 10, kLightMagenta};
    QTest::newRow("sequence from 3") << int(ColorScheme::Sequence) << all << 3 << QList<int>{3, kLightCyan};
    QTest::newRow("NW-SE") << int(ColorScheme::DiagonalNWSE) << all << 1
                           << QList<int>{1, kLightBlue, 5, kLightBlue, 9, kLightBlue, 2, kLightGreen, 4, kLightGreen,
                                         6, kLightGreen, 8, kLightGreen, 3, kLightCyan, 7, kLightCyan};
    QTest::newRow("SW-NE") << int(ColorScheme::DiagonalSWNE) << all << 1
                           << QList<int>{1, kLightBlue, 3, kLightBlue, 7, kLightBlue, 5, kLightCyan, 9, kLightCyan};
    QTest::newRow("white") << int(ColorScheme::White) << int(NumberClass::Primes) << 1
                           << QList<int>{2, kWhite, 3, kWhite, 11, kWhite, 4, kBlack};
    // 2 opens a cluster in light blue; 3 has no coloured neighbour and takes its ring's colour;
    // 5, two cells left of 3 in the same row, joins it.
    QTest::newRow("cluster") << int(ColorScheme::Cluster) << int(NumberClass::Primes) << 1
                             << QList<int>{2, kLightBlue, 3, kLightGreen, 5, kLightGreen};
    // n + 4 must not overflow at the top of the range.
    QTest::newRow("sequence at the top") << int(ColorScheme::Sequence) << all << 2147482422
                                         << QList<int>{2147483646, 9 + int((2147483646LL + 4) % 5)};
  }
  void schemeColours() {
    QFETCH(int, scheme);
    QFETCH(int, numberClass);
    QFETCH(int, start);
    QFETCH(QList<int>, numbersAndColours);
    Picture picture;
    const DrawOutcome o = drawSpiral(settingsFor(start, 15, NumberClass(numberClass), ColorScheme(scheme)), picture);
    for (qsizetype i = 0; i < numbersAndColours.size(); i += 2) {
      QCOMPARE(colorOf(picture, o, numbersAndColours[i]), numbersAndColours[i + 1]);
    }
  }

  void veltraColours() {
    Picture picture;
    DrawSettings settings = settingsFor(1, 15, NumberClass::Primes, ColorScheme::Veltra);
    settings.squares = true;
    DrawOutcome o = drawSpiral(settings, picture);
    for (int64_t n : {2, 5}) QCOMPARE(colorOf(picture, o, n), int(kLightRed));
    for (int64_t n : {3, 7}) QCOMPARE(colorOf(picture, o, n), int(kLightGreen));
    QCOMPARE(colorOf(picture, o, 11), int(kLightBlue));
    // 13 is black with a white outline: unmarked centre, white edge.
    const QPoint thirteen = cellOf(o, 13);
    QCOMPARE(picture.pixel(thirteen.x(), thirteen.y()), int(kBlack));
    QCOMPARE(picture.pixel(thirteen.x() - 7, thirteen.y()), int(kWhite));
    // Composite numbers by their factor count: 4 = 2*2 light green, 8 yellow, 16 light blue,
    // 32 light magenta, 64 light cyan, 128 white, 256 black; 1 has no factors and is black.
    const DrawOutcome all = drawSpiral(settingsFor(1, 3, NumberClass::All, ColorScheme::Veltra), picture);
    const std::pair<int64_t, int> byCount[] = {{1, kBlack}, {4, kLightGreen}, {8, kYellow}, {16, kLightBlue},
                                               {32, kLightMagenta}, {64, kLightCyan}, {128, kWhite}, {256, kBlack}};
    for (auto [n, color] : byCount) QCOMPARE(colorOf(picture, all, n), color);
    // The black 13: a white ring as a circle of 5 pixels, nothing to see as one of 3.
    o = drawSpiral(settingsFor(1, 5, NumberClass::Primes, ColorScheme::Veltra), picture);
    QCOMPARE(picture.pixel(cellOf(o, 13).x() + 2, cellOf(o, 13).y()), int(kWhite));
    o = drawSpiral(settingsFor(1, 3, NumberClass::Primes, ColorScheme::Veltra), picture);
    QVERIFY(isUniform(picture, cellOf(o, 13), 1, kBlack));
    DrawSettings small = settingsFor(1, 3, NumberClass::Primes, ColorScheme::Veltra);
    small.squares = true;  // as a square of 3 pixels it has its white outline
    o = drawSpiral(small, picture);
    QCOMPARE(countPixels(picture, cellOf(o, 13), 1, kWhite), 8);
    settings.numberClass = NumberClass::All;  // all numbers as squares: 1 is a black square
    o = drawSpiral(settings, picture);
    QVERIFY(isUniform(picture, cellOf(o, 1), 7, kBlack));
  }

  // ---- cells, numerals and grid --------------------------------------------------------------------

  void onePixelCellsAreSinglePixels() {
    Picture picture;
    DrawSettings settings = settingsFor(1, 1, NumberClass::Primes, ColorScheme::White);
    settings.grid = true;
    settings.numerals = true;
    const DrawOutcome o = drawSpiral(settings, picture);
    QCOMPARE(countPixels(picture, {261, 261}, 261, kWhite), o.shownCount);
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
    settings.numerals = true;  // cells of 7 pixels take no numerals, not even one digit
    settings.boxSize = 7;
    settings.start = 1;
    const DrawOutcome seven = drawSpiral(settings, picture);
    QVERIFY(isUniform(picture, cellOf(seven, 9), 3, kWhite));
    // White digits on the dark cells: 1 on light blue in the ring scheme, 75-pixel squares.
    settings = settingsFor(1, 75, NumberClass::All, ColorScheme::RingNumber);
    settings.squares = settings.numerals = true;
    const DrawOutcome ring = drawSpiral(settings, picture);
    QVERIFY(countPixels(picture, cellOf(ring, 1), 35, kWhite) > 0);
    QVERIFY(isUniform(picture, cellOf(ring, 2) + QPoint(20, 20), 10, kLightGreen));  // 2's digits stay left
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
    QCOMPARE(countPixels(picture, {261, 261}, 261, kWhite), 0);
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
  }

  // Squares from 1 in 7 x 7 cells: 1, 9, 25 and 49 follow each other on the NW-SE diagonal, and no
  // two squares touch along a SW-NE one.
  void diagonalRunsTellTheDirections() {
    Picture picture;
    DrawSettings settings = settingsFor(1, 75, NumberClass::Squares);
    settings.calculateLongest = true;
    const DrawOutcome o = drawSpiral(settings, picture);
    QCOMPARE(*o.longestNWSE, 4);
    QCOMPARE(*o.longestSWNE, 1);
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
    settings.boxSize = 3;  // larger cells never yield
    yields.clear();
    drawSpiral(settings, picture, {{}, [&](int64_t i) { yields.push_back(i); return true; }, {}});
    QVERIFY(yields.empty());
  }

  // The notice: with its text up to 5 pixels, the box alone at 1, nothing from 7 on.
  void busyNotice() {
    for (auto [boxSize, text, box] : {std::tuple{1, false, true}, {5, true, true}, {7, false, false}}) {
      Picture picture;
      picture.fillBox(0, 0, 522, 522, kWhite);
      const Geometry g = computeGeometry(523, 523, boxSize);
      drawBusyNotice(picture, g, QStringLiteral("Calculating ..."));
      QCOMPARE(countPixels(picture, {g.centerX, g.centerY + 152}, 22, kYellow) > 0, text);
      QCOMPARE(picture.pixel(g.centerX - 60, g.centerY + 130) == kBlack, box);
    }
  }
};

QTEST_MAIN(TestDrawPass)
#include "test_drawpass.moc"
