// The engine's single owners: the geometry (walk, cells, pixels, numbers) and the start-number parser.

#include <QTest>

#include "Geometry.h"
#include "StartNumber.h"
#include "Rows.h"

using namespace spiral;

namespace {

struct Start {
  const char* name;
  QString text, normalised;
  qint64 value;
  bool digitsOnly, tooLarge;
};

}  // namespace

class TestGeometry : public QObject {
  Q_OBJECT

 private slots:
  // Circles of more than 15 pixels shrink their radius by one.
  void cellsPerSideForTheStandardInterior() {
    const int table[][3] = {{1, 523, 0}, {3, 174, 1}, {5, 105, 2}, {7, 75, 3},
                            {15, 35, 7}, {21, 25, 9}, {35, 15, 16}, {75, 7, 36}};
    for (auto [s, cells, radius] : table) {
      const auto g = computeGeometry(523, 523, s);
      QCOMPARE(QList<int>({g.centerX, g.centerY, g.cellsPerSide, g.circleRadius}), QList<int>({261, 261, cells, radius}));
    }
    // Single precision halves round to the even neighbour: 10 / 4 = 2.5 gives 2, 14 / 4 = 3.5 gives 4.
    QCOMPARE(computeGeometry(10, 10, 4).cellsPerSide, 2);
    QCOMPARE(computeGeometry(14, 14, 4).cellsPerSide, 4);
  }

  void walkLaysOutTheFirstRingsCounterClockwise() {
    // Numbers 1 ... 25 for start 1, row by row from the top.
    const int expected[5][5] = {{17, 16, 15, 14, 13}, {18, 5, 4, 3, 12}, {19, 6, 1, 2, 11},
                                {20, 7, 8, 9, 10},    {21, 22, 23, 24, 25}};
    const auto g = computeGeometry(35, 35, 7);
    for (int i = 0; i < 25; ++i) {  // row i / 5, column i % 5
      const Pixel centre = g.centreOf(i / 5 - 2, i % 5 - 2);
      QCOMPARE(g.numberAt(centre.x, centre.y, 1), std::optional<int64_t>(expected[i / 5][i % 5]));
    }
    SpiralWalk walk;
    for (int64_t i = 1; i <= 9; ++i) walk.advance(i);
    QCOMPARE((QList<int64_t>{walk.upperRight(), walk.upperLeft(), walk.lowerLeft(), walk.lowerRight()}),
             (QList<int64_t>{12, 16, 20, 24}));
  }

  // The walk and the pixel mapping agree on every cell, the cells stay on the picture, and a point
  // off the N x N square of cells has no number: at 75 pixels the outer cells reach one pixel past
  // each edge of the picture.
  void walkAndPixelsAgree_data() {
    QTest::addColumn<int>("boxSize");
    for (int s : {1, 3, 7, 75}) QTest::addRow("%d px", s) << s;
  }
  void walkAndPixelsAgree() {
    QFETCH(int, boxSize);
    const auto g = computeGeometry(523, 523, boxSize);
    SpiralWalk walk;
    for (int64_t i = 0; i < g.numberOfNumbers; ++i) {
      if (i > 0) walk.advance(i);
      const Pixel centre = g.centreOf(walk.row(), walk.column());
      const int half = (boxSize - 1) / 2;
      for (Pixel p : {centre, Pixel{centre.x - half, centre.y - half}, Pixel{centre.x + half, centre.y + half}}) {
        const bool onPicture = p.x >= 0 && p.y >= 0 && p.x < 523 && p.y < 523;
        if (g.numberAt(p.x, p.y, 5) != (onPicture ? std::optional<int64_t>(5 + i) : std::nullopt))
          QFAIL(qPrintable(QString::number(i)));
      }
      QCOMPARE(walk.diagonalNWSE(), walk.column() - walk.row());
      QCOMPARE(walk.diagonalSWNE(), walk.row() + walk.column());
      if (i == 0) continue;
      SpiralWalk jumped;  // a walk that jumps to i lands where the stepping walk stands, and walks on alike
      jumped.moveTo(i);
      jumped.moveTo(i + 1);
      SpiralWalk next = walk;
      next.advance(i + 1);
      const auto state = [](const SpiralWalk& w) {
        return QList<int64_t>{w.row(), w.column(), w.ring(), w.diagonalNWSE(), w.diagonalSWNE(),
                              w.upperRight(), w.upperLeft(), w.lowerLeft(), w.lowerRight()};
      };
      if (state(jumped) != state(next)) QFAIL(qPrintable(QStringLiteral("jump to %1").arg(i)));
    }
    if (boxSize == 3) QCOMPARE(g.cellAt(1, 1), std::nullopt);  // the empty corner of an even N
  }

  void startNumbersAreReadOnce_data() {
    addRows<Start>({{"empty", "", "1", 1, true, false},
                    {"zeros", "000", "0", 0, true, false},
                    {"leading zeros", "0042", "42", 42, true, false},
                    {"largest", "2147483646", "2147483646", 2147483646, true, false},
                    {"one past", "2147483647", "2147483647", 2147483647, true, true},
                    {"saturates", "99999999999999999999", "99999999999999999999", 2147483647, true, true},
                    {"not digits", "12a", "12a", 12, false, false}});
  }
  void startNumbersAreReadOnce() {
    QFETCH(Start, row);
    const StartNumber start = parseStartNumber(row.text.toStdString());
    QCOMPARE(QString::fromStdString(start.text), row.normalised);
    QCOMPARE(start.value, row.value);
    QCOMPARE(start.digitsOnly, row.digitsOnly);
    QCOMPARE(start.refusal == Refusal::StartTooLarge, row.tooLarge);
  }
};

QTEST_APPLESS_MAIN(TestGeometry)
#include "test_geometry.moc"
