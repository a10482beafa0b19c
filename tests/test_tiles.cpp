// Tiles through their public interface: the plane's cells and numbers, tiles against the draw pass
// over the same cells, far cells against the plain references, the density levels against a plain
// count, and the cluster colours' reach.

#include <QGuiApplication>
#include <QTest>

#include "ClusterColours.h"
#include "DrawPass.h"
#include "PictureImage.h"
#include "Rows.h"
#include "Tiles.h"
#include "numlib.h"

using namespace spiral;

namespace {

// The zoom level of a cell size at one cell per pixel.
int zoomOf(int boxSize) {
  for (size_t i = 0; i < kZoomLevels.size(); ++i)
    if (kZoomLevels[i] == ZoomLevel{boxSize, 1}) return static_cast<int>(i);
  return -1;
}

struct Parity {
  const char* name;
  Number start;
  int boxSize;
  NumberClass numberClass;
  ColorScheme scheme;
  bool squares, grid, numerals;
  int pictureSize;  // odd cell counts cover the whole picture
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
        {"primes 3px cluster circles", 1, 3, NumberClass::Primes, ColorScheme::Cluster, false, false, false, 525},
        {"primes 5px veltra squares", 1, 5, NumberClass::Primes, ColorScheme::Veltra, true, false, false, 523},
        {"primes 7px cluster grid", 1, 7, NumberClass::Primes, ColorScheme::Cluster, false, true, false, 523},
        {"all 15px veltra squares numerals", 1, 15, NumberClass::All, ColorScheme::Veltra, true, false, true, 523},
        {"squares 21px ring grid numerals", 1, 21, NumberClass::Squares, ColorScheme::RingNumber, false, true, true, 523},
        {"triangular 35px nw-se grid", 5, 35, NumberClass::Triangular, ColorScheme::DiagonalNWSE, true, true, true, 523},
        {"primes 75px sw-ne numerals", 1000003, 75, NumberClass::Primes, ColorScheme::DiagonalSWNE, false, true, true, 523},
        {"primes 7px sequence far", 1000000000000000000ULL, 7, NumberClass::Primes, ColorScheme::Sequence, false, true, false, 523},
        {"all 5px white", 7, 5, NumberClass::All, ColorScheme::White, false, false, false, 523},
        {"primes 1px cluster at 2", 2, 1, NumberClass::Primes, ColorScheme::Cluster, false, false, false, 523},
        {"primes 15px cluster numerals", 1, 15, NumberClass::Primes, ColorScheme::Cluster, true, true, true, 523},
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
};

QTEST_MAIN(TestTiles)
#include "test_tiles.moc"
