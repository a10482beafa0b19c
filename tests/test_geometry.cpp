// The spiral's geometry: cell counts, the forward walk and the backward mapping.

#include <QTest>

#include <map>
#include <set>
#include <utility>

#include "Geometry.h"

using spiral::computeGeometry;
using spiral::spiralIndex;
using spiral::SpiralWalk;

namespace {

// The cells the walk visits for indices 0 ... count - 1, by index.
// Also checks that the diagonal indices and the ring stay consistent with the offsets.
std::vector<std::pair<int64_t, int64_t>> walkCells(int64_t count) {
  std::vector<std::pair<int64_t, int64_t>> cells{{0, 0}};
  SpiralWalk walk;
  for (int64_t i = 1; i < count; ++i) {
    walk.advance(i);
    const bool consistent = walk.diagonalNWSE() == walk.column() - walk.row() &&
                            walk.diagonalSWNE() == walk.row() + walk.column() &&
                            walk.ring() == std::max(std::abs(walk.row()), std::abs(walk.column())) + 1;
    if (!consistent) return {};
    cells.emplace_back(walk.row(), walk.column());
  }
  return cells;
}

}  // namespace

class TestGeometry : public QObject {
  Q_OBJECT

 private slots:
  void cellsPerSideForTheStandardInterior_data() {
    QTest::addColumn<int>("boxSize");
    QTest::addColumn<int>("cells");
    QTest::addColumn<int>("radius");  // circles of more than 15 pixels shrink by one
    const int table[][3] = {{1, 523, 0}, {3, 174, 1}, {5, 105, 2}, {7, 75, 3},
                            {15, 35, 7}, {21, 25, 9}, {35, 15, 16}, {75, 7, 36}};
    for (auto [s, n, r] : table) QTest::addRow("%d px", s) << s << n << r;
  }
  void cellsPerSideForTheStandardInterior() {
    QFETCH(int, boxSize);
    QFETCH(int, cells);
    QFETCH(int, radius);
    const auto g = computeGeometry(523, 523, boxSize);
    QCOMPARE(QList<int>({g.centerX, g.centerY, g.cellsPerSide, g.circleRadius}), QList<int>({261, 261, cells, radius}));
    QCOMPARE(g.numberOfNumbers, int64_t{cells} * cells);
  }

  // Single precision halves round to the even neighbour: 10 / 4 = 2.5 gives 2, 14 / 4 = 3.5 gives 4.
  void halvesRoundToEven() {
    QCOMPARE(computeGeometry(10, 10, 4).cellsPerSide, 2);
    QCOMPARE(computeGeometry(14, 14, 4).cellsPerSide, 4);
    QCOMPARE(computeGeometry(523, 523, 0).cellsPerSide, 0);
  }

  void walkLaysOutTheFirstRingsCounterClockwise() {
    // Numbers 1 ... 25 for start 1, row by row from the top.
    const int expected[5][5] = {{17, 16, 15, 14, 13},
                                {18, 5, 4, 3, 12},
                                {19, 6, 1, 2, 11},
                                {20, 7, 8, 9, 10},
                                {21, 22, 23, 24, 25}};
    const auto cells = walkCells(49);
    for (int row = 0; row < 5; ++row) {
      for (int column = 0; column < 5; ++column) {
        const auto [a, b] = cells[expected[row][column] - 1];
        QCOMPARE(a, int64_t{row - 2});
        QCOMPARE(b, int64_t{column - 2});
      }
    }
    QCOMPARE(cells[25], std::make_pair(int64_t{2}, int64_t{3}));   // 26 right of 25
    QCOMPARE(cells[30], std::make_pair(int64_t{-3}, int64_t{3}));  // 31 upper right corner
    QCOMPARE(cells[48], std::make_pair(int64_t{3}, int64_t{3}));   // 49 lower right corner
  }

  void cornersOfRingTwo() {
    QCOMPARE(spiralIndex(-1, 1), int64_t{2});
    QCOMPARE(spiralIndex(-1, -1), int64_t{4});
    QCOMPARE(spiralIndex(1, -1), int64_t{6});
    QCOMPARE(spiralIndex(1, 1), int64_t{8});
    QCOMPARE(spiralIndex(0, 0), int64_t{0});
    SpiralWalk walk;
    for (int64_t i = 1; i <= 9; ++i) walk.advance(i);
    QCOMPARE(walk.upperRight(), int64_t{12});
    QCOMPARE(walk.upperLeft(), int64_t{16});
    QCOMPARE(walk.lowerLeft(), int64_t{20});
    QCOMPARE(walk.lowerRight(), int64_t{24});
  }

  void forwardAndBackwardAgree_data() {
    QTest::addColumn<int>("cells");
    QTest::newRow("odd N = 7") << 7;
    QTest::newRow("even N = 174") << 174;
  }
  void forwardAndBackwardAgree() {
    QFETCH(int, cells);
    const auto visited = walkCells(int64_t{cells} * cells);
    QCOMPARE(visited.size(), static_cast<size_t>(cells * cells));
    std::set<std::pair<int64_t, int64_t>> distinct;
    for (size_t i = 0; i < visited.size(); ++i) {
      const auto [a, b] = visited[i];
      if (spiralIndex(a, b) != static_cast<int64_t>(i)) QFAIL(qPrintable(QString::number(i)));
      distinct.insert(visited[i]);
    }
    QCOMPARE(distinct.size(), visited.size());
    // The N x N square reaches one cell further right and up than left and down when N is even.
    const int64_t low = -(cells / 2);
    const int64_t high = (cells - 1) / 2;
    for (const auto& [a, b] : distinct) {
      QVERIFY(b >= (cells % 2 ? low : low + 1) && b <= (cells % 2 ? high : high + 1));
      QVERIFY(a >= low && a <= high);
    }
    if (cells % 2 == 0) {
      QVERIFY(!distinct.count({low, low}));  // the empty top-left corner
      QCOMPARE(visited.back(), std::make_pair(low, low + 1));  // the last number beside it
    }
  }

  void outermostCellsStayInsideTheInterior() {
    for (int s : {1, 3, 5, 7, 15, 21, 35, 75}) {
      const auto g = computeGeometry(523, 523, s);
      const auto visited = walkCells(g.numberOfNumbers);
      int minX = 1 << 30, maxX = -1, minY = 1 << 30, maxY = -1;
      for (const auto& [a, b] : visited) {
        minX = std::min<int>(minX, g.centerX + s * b);
        maxX = std::max<int>(maxX, g.centerX + s * b);
        minY = std::min<int>(minY, g.centerY + s * a);
        maxY = std::max<int>(maxY, g.centerY + s * a);
      }
      QVERIFY(minX >= 0 && minY >= 0 && maxX < 523 && maxY < 523);
      if (s == 3) {
        QCOMPARE(maxX, 522);
        QCOMPARE(minY, 0);
      }
    }
  }
};

QTEST_APPLESS_MAIN(TestGeometry)
#include "test_geometry.moc"
