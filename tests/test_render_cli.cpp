// spirelle-render through the real binary: arguments, exit status, messages, the report and the file;
// and the report's JSON for numbers no picture of today reaches, straight from its writer.

#include <fcntl.h>
#include <unistd.h>

#include <QtGui>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <functional>

#include "FileContents.h"
#include "PlainWalk.h"
#include "Rays.h"
#include "RenderFacts.h"
#include "RenderOptions.h"
#include "Rows.h"
#include "PlainMillerRabin.h"
#include "PlainQuadratic.h"
#include "PlainRoots.h"
#include "TrialDivision.h"
#include "ShortDisk.h"

namespace {

constexpr int kExitCannotWrite = 1;
constexpr int kExitRefused = 2;
constexpr int kExitUsage = 64;

struct Run { int exitCode = -1; QString out, err; };

// Rows of the tables of runs: the arguments and what they must give.
struct Numbers { const char* name; QStringList arguments; QList<qint64> numbers; };
struct Frames { const char* name; QStringList arguments; QList<quint64> starts; };  // frame starts, below 2^64
struct Text { const char* name; QStringList arguments; QString text; };
struct Disk { const char* name; ShortDisk::Kind kind; QString reason; };  // a way to run out
struct Inspected { const char* name; QStringList arguments; qint64 number; bool prime; QString factors; int lines; };
struct Listed { const char* name; QStringList arguments; int count; };  // a picture and how many rays --lines asks for
struct SameAs { const char* name; QStringList arguments; const char* shown; const char* rule; };  // a class and its rule
struct Marked { const char* name; QStringList arguments; qint64 a, b, c; };  // a picture and its quadratic

// Runs the renderer (or a copy of it at `program`) to its end.
Run runRenderer(const QStringList& arguments,
                const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
                const QString& program = QStringLiteral(SPIRELLE_RENDER_BINARY)) {
  QProcess process;
  process.setProcessEnvironment(environment);
  process.start(program, arguments);
  if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) return {};
  return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
          QString::fromUtf8(process.readAllStandardError())};
}

// Runs with --json and returns the report; empty unless the run succeeded silently on stderr.
QJsonObject renderJson(const QStringList& arguments) {
  const Run run = runRenderer(arguments + QStringList{QStringLiteral("--json")});
  if (run.exitCode != 0 || !run.err.isEmpty()) return {};
  return QJsonDocument::fromJson(run.out.toUtf8()).object();
}

// The frames of a GIF as a viewer shows them, each drawn over the ones before it; empty unless the
// file loops forever with `delayMs` on every frame.
QList<QImage> gifFrames(const QString& file, int delayMs) {
  QImageReader reader(file, "gif");
  QList<QImage> frames;
  for (QImage frame; reader.read(&frame);) {
    if (reader.loopCount() != -1 || reader.nextImageDelay() != delayMs) return {};
    frames << frame.convertToFormat(QImage::Format_RGB32);
  }
  return frames;
}

// A ray as the report states it, without its constant and expected primes (the readable report's
// rows pin those).
QJsonObject withoutConstants(const QJsonValue& ray) {
  QJsonObject object = ray.toObject();
  for (const char* key : {"hl_constant", "expected_primes"}) object.remove(QLatin1String(key));
  return object;
}

QList<QJsonObject> withoutConstants(const QJsonArray& rays) {
  QList<QJsonObject> list;
  for (const QJsonValue& ray : rays) list << withoutConstants(ray);
  return list;
}

// Where the number `index` steps along the walk lies, from the plain walk (x the column, y the row).
QPoint walkedCell(qint64 index) {
  const WalkedCell cell = walkedCells(index + 1).back();
  return QPoint(cell.column, cell.row);
}

// The geometry of the picture `arguments` ask for.
spiral::Geometry geometryOf(const QStringList& arguments) {
  std::vector<std::string> words;
  for (const QString& argument : arguments) words.push_back(argument.toStdString());
  const auto options = std::get<render::RenderOptions>(render::parseRenderArguments(words));
  return spiral::computeGeometry(options.size, options.size, options.draw.boxSize);
}

// A ray as the engine finds it (the engine's tests pin the rays to their definition), with its
// primes counted by trial division and its shown cells by the class's plain test.
QJsonObject expectedRay(const spiral::Ray& ray, qint64 start, const std::function<bool(qint64)>& shown) {
  qint64 primes = 0, shownCount = 0;
  for (int64_t k = ray.kFrom; k <= ray.kTo; ++k) {
    const auto n = qint64(spiral::Geometry::numberOf(ray.cellAt(k), spiral::Number(start)));
    primes += isPrimeByTrialDivision(n);
    shownCount += shown(n);
  }
  return {{"direction", spiral::nameOf(ray.direction)}, {"polynomial", QJsonArray{4, qint64(ray.indices.b), qint64(ray.indices.c) + start}},
          {"k_from", qint64(ray.kFrom)}, {"k_to", qint64(ray.kTo)}, {"cells", qint64(ray.cells())}, {"primes", primes}, {"shown", shownCount}};
}

// Which numbers a picture of `arguments` shows, for the classes whose test is plain.
std::function<bool(qint64)> shownClassOf(const QStringList& arguments) {
  const qsizetype show = arguments.indexOf("--show");
  const QString shown = show < 0 ? QStringLiteral("primes") : arguments[show + 1];
  if (shown == "all") return [](qint64) { return true; };
  if (shown == "squares") return [](qint64 n) { return plainSquare(uint64_t(n)); };
  return isPrimeByTrialDivision<qint64>;
}

// How many pixels of the picture in `marked` differ from those in `plain` other than the `marks`,
// which must be light grey; -1 when the plain picture holds that grey already.
int pixelsBesideTheMarks(const QString& plain, const QString& marked, const QSet<QPoint>& marks) {
  const QImage before = QImage(plain).convertToFormat(QImage::Format_RGB32);
  const QImage after = QImage(marked).convertToFormat(QImage::Format_RGB32);
  const QRgb grey = qRgb(0xC0, 0xC0, 0xC0);
  int wrong = 0;
  for (int y = 0; y < before.height(); ++y) {
    for (int x = 0; x < before.width(); ++x) {
      if (before.pixel(x, y) == grey) return -1;
      wrong += after.pixel(x, y) != (marks.contains(QPoint(x, y)) ? grey : before.pixel(x, y));
    }
  }
  return before.isNull() ? -1 : wrong;
}

// The report without the time it took.
QJsonObject untimed(QJsonObject report) {
  report.remove("draw_ms");
  return report;
}

}  // namespace

class TestRenderCli : public QObject {
  Q_OBJECT

 private slots:
  // The facts: start, end, N, shown, smallest, largest, NW-SE, SW-NE (-1: null, -2: not checked here).
  void reportStatesThePicturesFacts_data() {
    addRows<Numbers>({
        {"defaults", {}, {1, 5625, 75, 739, 2, 5623, -1, -1}},
        // 19, 7, 23, 47 run from the upper left to the lower right; 5, 19, 41 and 31, 13, 3 the other way.
        {"diagonals", {"--cell", "75", "--longest"}, {1, 49, 7, 15, 2, 47, 4, 3}},
        {"all numbers", {"--cell", "75", "--show", "all", "--longest"}, {1, 49, 7, 49, 2, 47, 7, 7}},
        {"no prime in 19610 ... 19658", {"--cell", "75", "--start", "19610", "--longest"},
         {19610, 19658, 7, 0, 0, 0, 0, 0}},
        {"empty start after =", {"--cell=75", "--start="}, {1, 49, 7, 15, 2, 47, -1, -1}},
        {"a poster's raster", {"--cell", "1", "--size", "3000"}, {1, 9000000, 3000, 602489, 2, 8999993, -1, -1}},
        {"1 pixel at the top", {"--cell", "1", "--start", "2147210118"},
         {2147210118, 2147483646, 523, -2, -2, 2147483629, -1, -1}},
    });
  }
  void reportStatesThePicturesFacts() {
    QFETCH(Numbers, row);
    const QJsonObject report = renderJson(row.arguments);
    const char* keys[] = {"start", "end", "cells_per_side", "shown", "smallest_prime", "largest_prime",
                          "longest_nwse", "longest_swne"};
    QCOMPARE(report.size(), 10);
    QCOMPARE(report["numbers"].toInteger(), report["cells_per_side"].toInteger() * report["cells_per_side"].toInteger());
    QVERIFY(report["draw_ms"].toDouble(-1) >= 0);
    for (int i = 0; i < 8; ++i) {
      if (row.numbers[i] == -2) continue;
      if (row.numbers[i] == -1) {
        QVERIFY2(report[keys[i]].isNull(), keys[i]);
      } else {
        QCOMPARE(report[keys[i]].toVariant().toLongLong(), row.numbers[i]);
      }
    }
  }

  // The readable report states the facts and the lens's rays as the JSON does, in aligned columns:
  // a minus sign for a negative term, no 1 before k and no term of 0, the expected primes to two
  // places and A to four.
  void readableReportStatesTheSameFacts() {
    const Run run = runRenderer({"--start", "41", "--cell", "15", "--inspect", "41", "--lines", "5"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QString());
    for (const char* line : {"End number:         1265\n", "Largest prime:      1259\n", "Longest NW-SE run:  not measured\n",
                             "  N          4k\u00B2 \u2212 k + 41   0..17     18      6       6      5.22  1.5479\n",
                             "  NE         4k\u00B2 \u2212 2k + 41  0..17     18     18      18     22.51  6.6395\n",
                             "  W          4k\u00B2 + k + 41   0..17     18      5       5      5.17  1.5479\n",
                             "  NW         4k\u00B2 + 37       2..17     16     13      13     13.31  4.6870\n"})
      QVERIFY2(run.out.contains(QString::fromUtf8(line)), line);
  }

  // The lens through the binary. --inspect: the number, its ring by the plain walk, and the rays
  // through its cell with their quadratics, ring ranges, primes and shown cells, by direction.
  // --lines: the rays with the most primes, each listed once with the count the engine's rays rank
  // at its place, ties to the higher Hardy-Littlewood constant.
  void lensReportsTheRaysOfTheCellAndThoseWithTheMostPrimes_data() {
    addRows<Inspected>({
        {"Euler's start, the best five", {"--start", "41", "--cell", "15"}, 41, true, "41", 5},
        {"every number shown", {"--cell", "7", "--show", "all"}, 1001, false, "7 \u00D7 11 \u00D7 13", 6},
        {"powers, squares shown", {"--cell", "15", "--show", "squares"}, 72, false, "2^3 \u00D7 3^2", 4},
        {"a prime on a ring's corner", {"--cell", "21"}, 13, true, "13", 4},
        {"one, every ray of a small picture", {"--cell", "15"}, 1, false, "1", 1000},
        {"zero", {"--start", "0", "--cell", "15"}, 0, false, "0", 2},
        {"the last number, on the edge", {"--cell", "15"}, 1225, false, "5^2 \u00D7 7^2", 3},
        {"1-pixel cells, the best twenty", {"--cell", "1"}, 100000, false, "2^5 \u00D7 5^5", 20},
        {"a picture of one cell has none", {"--cell", "15", "--size", "16"}, 1, false, "1", 3},
    });
  }
  void lensReportsTheRaysOfTheCellAndThoseWithTheMostPrimes() {
    QFETCH(Inspected, row);
    const QStringList arguments =
        row.arguments + QStringList{"--inspect", QString::number(row.number), "--lines", QString::number(row.lines)};
    const QJsonObject report = renderJson(arguments);
    const QJsonObject inspected = report["inspect"].toObject();
    QCOMPARE(inspected["number"].toInteger(-1), row.number);
    QVERIFY(inspected["prime"].isBool());
    QCOMPARE(inspected["prime"].toBool(), row.prime);
    QCOMPARE(inspected["factors"].toString(), row.factors);
    const qint64 start = report["start"].toInteger();
    const WalkedCell cell = walkedCells(row.number - start + 1).back();
    QCOMPARE(inspected["ring"].toInteger(), std::max(std::abs(cell.row), std::abs(cell.column)) + 1);
    const spiral::Geometry g = geometryOf(arguments);
    const auto shown = shownClassOf(row.arguments);
    QList<QJsonObject> through, unlisted;
    for (const spiral::Ray& ray : spiral::raysThrough(g, {cell.row, cell.column})) through << expectedRay(ray, start, shown);
    QCOMPARE(withoutConstants(inspected["rays"].toArray()), through);
    for (const QJsonValue& ray : inspected["rays"].toArray())  // Euler's, the README's example: A = 6.6395
      if (ray["polynomial"] == QJsonArray{4, -2, 41}) QVERIFY(std::fabs(ray["hl_constant"].toDouble() / 6.6395 - 1) < 1e-3);

    QList<qint64> mostPrimes;
    for (const spiral::Ray& ray : spiral::allRays(g)) {
      unlisted << expectedRay(ray, start, shown);
      mostPrimes << unlisted.back()["primes"].toInteger();
    }
    QVERIFY(report["lines"].isArray());
    const QJsonArray lines = report["lines"].toArray();
    std::sort(mostPrimes.begin(), mostPrimes.end(), std::greater<>());
    QCOMPARE(lines.size(), std::min<qsizetype>(row.lines, mostPrimes.size()));
    for (qsizetype i = 0; i < lines.size(); ++i) {
      QVERIFY2(unlisted.removeOne(withoutConstants(lines[i])), QJsonDocument(withoutConstants(lines[i])).toJson().constData());
      QCOMPARE(lines[i]["primes"].toInteger(), mostPrimes[i]);
      if (i > 0 && lines[i]["primes"] == lines[i - 1]["primes"])
        QVERIFY(lines[i]["hl_constant"].toDouble() <= lines[i - 1]["hl_constant"].toDouble());
    }
  }

  // The marks change only the pixels on the listed rays' lines, each to light grey, and no fact;
  // asking the lens without marks leaves the picture's file as it was, byte for byte.
  void markedLinesChangeOnlyTheirPixels_data() {
    addRows<Listed>({
        {"7-pixel circles", {"--cell", "7"}, 10},
        {"1-pixel cells", {"--cell", "1"}, 20},
        {"35-pixel squares, white, grid", {"--cell", "35", "--shape", "squares", "--scheme", "white", "--grid"}, 6},
    });
  }
  void markedLinesChangeOnlyTheirPixels() {
    QFETCH(Listed, row);
    const QString bare = outDir_.filePath("bare.png"), plain = outDir_.filePath("plain.png"),
                  marked = outDir_.filePath("marked.png");
    const QStringList lines{"--lines", QString::number(row.count)};
    const QJsonObject bareReport = renderJson(row.arguments + QStringList{"--out", bare});
    QJsonObject plainReport = renderJson(row.arguments + lines + QStringList{"--inspect", "5", "--out", plain});
    const QJsonObject markedReport = renderJson(row.arguments + lines + QStringList{"--mark-lines", "--out", marked});
    QCOMPARE(contentsOf(plain), contentsOf(bare));
    plainReport.remove("inspect");
    QCOMPARE(untimed(markedReport), untimed(plainReport));
    plainReport.remove("lines");
    QCOMPARE(untimed(plainReport), untimed(bareReport));

    const std::vector<WalkedCell> walk = walkedCells(markedReport["numbers"].toInteger());  // from 1
    const int cell = row.arguments[row.arguments.indexOf("--cell") + 1].toInt(), centre = 523 / 2;
    QSet<QPoint> onLines;
    for (const QJsonValue& ray : markedReport["lines"].toArray()) {
      const QJsonArray f = ray["polynomial"].toArray();
      const auto pixelOf = [&](qint64 k) {
        const WalkedCell at = walk[size_t((4 * k + f[1].toInteger()) * k + f[2].toInteger() - 1)];
        return QPoint(centre, centre) + cell * QPoint(at.column, at.row);
      };
      const QPoint from = pixelOf(ray["k_from"].toInteger()), to = pixelOf(ray["k_to"].toInteger());
      const QPoint step((to.x() > from.x()) - (to.x() < from.x()), (to.y() > from.y()) - (to.y() < from.y()));
      for (QPoint pixel = from; pixel != to + step; pixel += step) onLines << pixel;
    }
    QVERIFY(!onLines.isEmpty());
    QCOMPARE(pixelsBesideTheMarks(plain, marked, onLines), 0);
  }

  // A constant beyond 64 bits (a ray whose numbers come near 2^64) is still written as an integer,
  // exactly; so are those that need all 64 bits, signed or not.
  void jsonWritesEveryConstantExactly() {
    render::PictureFacts facts;
    const numlib::Int128 twoTo64 = numlib::Int128(1) << 64;
    facts.lens.lines.emplace();
    for (const numlib::Int128 c : {twoTo64 + 5, twoTo64 / 2 + 1, numlib::Int128(-7), -twoTo64}) {
      spiral::RayFacts ray;
      ray.numbers = {-2, c};
      facts.lens.lines->push_back(ray);
    }
    const QString report = QString::fromStdString(render::reportOf(facts, render::ReportForm::Json));
    for (const char* polynomial : {"[4,-2,18446744073709551621]", "[4,-2,9223372036854775809]", "[4,-2,-7]",
                                   "[4,-2,-18446744073709551616]"})
      QVERIFY2(report.contains(QLatin1String(polynomial)), qPrintable(report));
    QCOMPARE(QJsonDocument::fromJson(report.toUtf8())["lines"].toArray().size(), 4);
  }

  // The JSON report is one compact line with its keys sorted, and the draw time is given to the
  // microsecond in the fewest digits: 12, 12.5, 0.046, never 12.0 or 12.500.
  void jsonReportIsCompactAndSorted() {
    const QString gif = outDir_.filePath("timed.gif");
    const QRegularExpression drawTime(QStringLiteral(R"re("draw_ms":(0|[1-9][0-9]*)(\.[0-9]{0,2}[1-9])?[,}])re"));
    for (const QStringList& arguments : {QStringList{"--cell", "1"}, QStringList{"--animate", "in", "--out", gif}}) {
      const Run run = runRenderer(arguments + QStringList{"--json"});
      QCOMPARE(run.exitCode, 0);
      QVERIFY2(run.out.endsWith("}\n") && run.out.count(u'\n') == 1 && !run.out.contains(u' '), qPrintable(run.out));
      QVERIFY2(drawTime.match(run.out).hasMatch(), qPrintable(run.out));
      if (arguments.contains("--animate")) continue;
      QStringList keys;  // a single picture's object has no nested keys
      for (const QRegularExpressionMatch& key : QRegularExpression(R"re("([a-z_]+)":)re").globalMatch(run.out))
        keys << key.captured(1);
      QStringList sorted = keys;
      sorted.sort();
      QCOMPARE(keys, sorted);
    }
  }

  // Far from the window's range the facts stay exact: the prime counts, the smallest and the largest
  // prime come from a plain deterministic Miller-Rabin test run apart from the program; 2^64 - 59 is
  // the largest prime below 2^64, and the second picture ends at 2^64 - 1 itself.
  void farPicturesReportExactFacts_data() {
    addRows<Text>({
        {"10^18", {"--start", "1000000000000000000"},
         R"("end":1000000000000273528,"largest_prime":1000000000000273513,"longest_nwse":\d+,"longest_swne":\d+,)"
         R"("numbers":273529,"shown":6577,"smallest_prime":1000000000000000003,"start":1000000000000000000})"},
        {"ending at 2^64 - 1", {"--start", "18446744073709278087"},
         R"("end":18446744073709551615,"largest_prime":18446744073709551557,"longest_nwse":\d+,"longest_swne":\d+,)"
         R"("numbers":273529,"shown":6093,"smallest_prime":18446744073709278143,"start":18446744073709278087})"},
    });
  }
  void farPicturesReportExactFacts() {
    QFETCH(Text, row);
    const Run run = runRenderer(row.arguments + QStringList{"--cell", "1", "--longest", "--json"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.contains(QRegularExpression(row.text)), qPrintable(run.out));
  }

  // The file and the facts do not depend on the thread count: a picture whose image data is
  // compressed in several bands, and the lens over a far one.
  void threadCountChangesNoByte() {
    const QStringList pictures[] = {{"--cell", "1", "--size", "2100", "--longest"},
                                    {"--cell", "1", "--size", "1100", "--start", "1000000000000000000", "--lines", "5",
                                     "--inspect", "1000000000000000000", "--scheme", "veltra"}};
    for (const QStringList& picture : pictures) {
      const auto render = [&](const QString& threads) {  // the file and the report
        const QString file = outDir_.filePath("threads-" + threads + ".png");
        const Run run = runRenderer(picture + QStringList{"--threads", threads, "--out", file, "--json"});
        return std::pair{contentsOf(file), untimed(QJsonDocument::fromJson(run.out.toUtf8()).object())};
      };
      const auto alone = render("1");
      QVERIFY(!QImage::fromData(alone.first).isNull() && !alone.second.isEmpty());
      QVERIFY(render("3") == alone);
    }
  }

  // Centred elsewhere than its start, a picture's facts name the numbers it holds, and its cells
  // past 2^64 - 1 stay empty. (Its pixels are the tiles', which the explorer's test compares with
  // the explorer's view, and the tiles' test with the pass.)
  void centredPicturesReportTheirNumbers() {
    // 5 x 5 cells of 75 pixels around the centre's cell, against the plain walk; numerals make the
    // tiles draw the cells around them too.
    for (const auto& [start, centre] : {std::pair<qint64, qint64>{1, 1500}, {1000, 3000}, {7, 7}}) {
      const auto indices = walkIndices(81 * 81);
      const WalkedCell middle = walkedCells(centre - start + 1).back();
      qint64 smallest = std::numeric_limits<qint64>::max(), largest = 0;
      for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
          const qint64 n = start + indices.at({middle.row + dy, middle.column + dx});
          smallest = std::min(smallest, n);
          largest = std::max(largest, n);
        }
      }
      const QJsonObject facts = renderJson({"--start", QString::number(start), "--centre", QString::number(centre),
                                            "--cell", "75", "--size", "375", "--scheme", "ring", "--numerals"});
      QCOMPARE(QList<qint64>({facts["smallest"].toInteger(), facts["largest"].toInteger()}), QList<qint64>({smallest, largest}));
      QVERIFY(!facts["passes_largest"].toBool());
    }
    // Its cells past 2^64 - 1 stay empty, and the largest number is 2^64 - 1.
    const Run far = runRenderer({"--start", "18446744073709551000", "--centre", "18446744073709551615", "--cell", "1",
                                 "--scheme", "ring", "--size", "16", "--json"});
    QVERIFY2(far.out.contains(R"("largest":18446744073709551615,"passes_largest":true,)"), qPrintable(far.out));
  }

  // Every frame equals the picture and the facts of a single render of its start number; the ends
  // of the number range end the animation early.
  void animationFramesAreSingleRenders_data() {
    const QStringList big{"--cell", "75"};
    addRows<Frames>({
        {"in", QStringList{"--start", "5", "--animate", "in", "--frames", "3"} + big, {5, 6, 7}},
        {"out, grid and numerals, stops at 1",
         {"--start", "3", "--animate", "out", "--cell", "15", "--grid", "--numerals", "--shape", "squares",
          "--scheme", "ring", "--delay", "1000"},
         {3, 2, 1}},
        {"out by primes, stops after 2",
         {"--start", "10", "--animate", "out", "--prime-steps", "--scheme", "sequence"}, {10, 7, 5, 3, 2}},
        // 49 numbers from 2^64 - 49 end at 2^64 - 1. 2^64 - 83 and 2^64 - 59 are the two largest
        // primes below 2^64.
        {"in, stops at the top of 64 bits",
         QStringList{"--start", "18446744073709551565", "--animate", "in", "--longest"} + big,
         {18446744073709551565u, 18446744073709551566u, 18446744073709551567u}},
        {"in by primes, stops before the top",
         QStringList{"--start", "18446744073709551533", "--animate", "in", "--prime-steps"} + big,
         {18446744073709551533u, 18446744073709551557u}},
        {"in, triangular, past the window's limit",
         QStringList{"--start", "268435406", "--animate", "in", "--show", "triangular", "--frames", "3"} + big,
         {268435406, 268435407, 268435408}},
    });
  }
  void animationFramesAreSingleRenders() {
    QFETCH(Frames, row);
    const QList<quint64>& starts = row.starts;
    const QString gif = outDir_.filePath("spiral.gif"), png = outDir_.filePath("frame.png");
    const QJsonObject report = renderJson(row.arguments + QStringList{"--out", gif});
    const QJsonArray frames = report["frames"].toArray();
    QCOMPARE(report["frames_written"].toInt(), starts.size());
    QCOMPARE(frames.size(), starts.size());
    const qsizetype delay = row.arguments.indexOf("--delay");
    const QList<QImage> images = gifFrames(gif, delay < 0 ? 250 : row.arguments[delay + 1].toInt());
    QCOMPARE(images.size(), starts.size());
    QStringList single = row.arguments;  // without the animation's options
    single.removeAll("--prime-steps");
    for (const char* option : {"--animate", "--frames", "--delay"})
      if (single.contains(option)) single.remove(single.indexOf(option), 2);
    for (int i = 0; i < starts.size(); ++i) {
      single[single.indexOf("--start") + 1] = QString::number(starts[i]);
      const Run run = runRenderer(single + QStringList{"--out", png, "--json"});
      QJsonObject facts = QJsonDocument::fromJson(run.out.toUtf8()).object();
      // Read from the text: a JSON reader of doubles would round numbers above 2^53.
      QVERIFY2(run.out.contains(QRegularExpression(QString("\"start\":%1[,}]").arg(starts[i]))), qPrintable(run.out));
      for (const QString& key : frames[i].toObject().keys()) QCOMPARE(frames[i][key], facts[key]);
      QVERIFY2(images[i] == QImage(png).convertToFormat(QImage::Format_RGB32), qPrintable(QString::number(i)));
    }
  }

  // Progress goes to stderr while it is a terminal; every other test sees a silent stderr.
  void progressShowsOnATerminal() {
    const int terminal = ::posix_openpt(O_RDWR | O_NOCTTY);
    QVERIFY(terminal >= 0 && ::grantpt(terminal) == 0 && ::unlockpt(terminal) == 0);
    QProcess process;
    process.setStandardErrorFile(QString::fromLocal8Bit(::ptsname(terminal)));
    process.start(SPIRELLE_RENDER_BINARY, {"--cell", "3", "--animate", "in", "--frames", "30", "--out",
                                           outDir_.filePath("progress.gif")});
    QVERIFY(process.waitForFinished(120000));
    QCOMPARE(process.exitCode(), 0);
    QByteArray shown(1 << 16, '\0');
    ::fcntl(terminal, F_SETFL, O_NONBLOCK);
    shown.truncate(std::max<ssize_t>(0, ::read(terminal, shown.data(), shown.size())));
    ::close(terminal);
    QVERIFY2(shown.contains(" of 30 frames, about ") && shown.endsWith("\r\033[K"), shown.constData());
  }

  // Each names the argument at fault on the first line of its message. (Why a rule is refused the
  // rule's own test pins; that its message comes out whole, ruleErrorsShowTheCaret below.)
  void badArgumentsAreUsageErrors_data() {
    addRows<Text>({
        {"start with a letter", {"--start", "12a"}, "--start"},
        {"start without value", {"--start"}, "--start"},
        {"unlisted cell", {"--cell", "4"}, "--cell"},
        {"unknown scheme", {"--scheme", "Cluster"}, "--scheme"},
        {"size too large", {"--size", "16385"}, "--size"},
        {"size overflowing", {"--size", "99999999999999999999"}, "--size"},
        {"size without cells", {"--size", "37", "--cell", "75"}, "--size"},
        {"flag with an empty value", {"--json="}, "--json takes no value"},
        {"help with a value", {"--help=true"}, "--help takes no value"},
        {"value like an option", {"--start", "--grid=1"}, "--start: '--grid=1'"},
        {"end of options", {"--", "--cell", "75"}, "'--'"},
        {"unknown before help", {"--bogus", "--help"}, "--bogus"},
        {"bad value before unknown", {"--cell", "4", "--bogus"}, "--cell"},
        {"stray argument", {"picture.png"}, "picture.png"},
        {"animation without a file", {"--animate", "in"}, "--animate"},
        {"animation into a PNG", {"--animate", "out", "--out", "a.png"}, "--animate"},
        {"unknown direction", {"--animate", "up", "--out", "a.gif"}, "--animate"},
        {"no frames", {"--animate", "in", "--frames", "0", "--out", "a.gif"}, "--frames"},
        {"delay too short", {"--animate", "in", "--delay", "19", "--out", "a.gif"}, "--delay"},
        {"frames without animation", {"--frames", "5"}, "--frames"},
        {"random does not animate", {"--animate", "in", "--show", "random", "--out", "a.gif"}, "--animate"},
        {"inspect past the end", {"--inspect", "5626"}, "--inspect: 5626 is not in the picture"},
        {"inspect below the start", {"--start", "41", "--inspect", "40"}, "--inspect: 40"},
        {"inspect signed", {"--inspect", "+5"}, "--inspect"},
        {"no threads", {"--threads", "0"}, "--threads: '0' is not a whole number from 1 to 256"},
        {"too many threads", {"--threads", "1000"}, "--threads: '1000'"},
        {"no lines", {"--lines", "0"}, "--lines"},
        {"too many lines", {"--lines", "1001"}, "--lines"},
        {"marks without lines", {"--mark-lines"}, "--mark-lines needs --lines"},
        {"marks without a file", {"--lines", "3", "--mark-lines"}, "--mark-lines needs --out"},
        {"lines of an animation", {"--animate", "in", "--out", "a.gif", "--lines", "3"}, "--lines"},
        {"inspecting an animation", {"--animate", "in", "--out", "a.gif", "--inspect", "3"}, "--inspect"},
        {"centred animation", {"--centre", "5", "--animate", "in", "--out", "a.gif"}, "--animate cannot go with --centre"},
        {"quadratic in a density picture", {"--cell", "1", "--cells-per-pixel", "2", "--mark-quadratic", "1,1,41"},
         "--mark-quadratic cannot go with --cells-per-pixel"},
        {"centre below the start", {"--start", "41", "--centre", "40"}, "--centre: 40 lies before the start 41"},
        {"centre past 2^64 - 1", {"--centre", "18446744073709551616"}, "--centre: '18446744073709551616' lies beyond"},
        {"clusters beyond their reach", {"--centre", "268435456"}, "--centre: the picture reaches past the walk's first 2^28"},
        {"density clusters beyond their reach", {"--cell", "1", "--cells-per-pixel", "8", "--size", "2048"},
         "--cells-per-pixel: the picture reaches past"},
        {"density of larger cells", {"--cells-per-pixel", "2"}, "--cells-per-pixel needs --cell 1"},
        {"unlisted density", {"--cell", "1", "--cells-per-pixel", "3"}, "--cells-per-pixel"},
        {"lines of a centred picture", {"--centre", "5", "--lines", "3"}, "--lines cannot go with --centre"},
        {"longest of a density picture", {"--cell", "1", "--cells-per-pixel", "2", "--longest"}, "--longest cannot go"},
        {"a rule and a class", {"--show-if", "prime(n)", "--show", "primes"}, "--show-if stands instead of --show"},
        {"a quadratic of two numbers", {"--mark-quadratic", "1,2"}, "--mark-quadratic: '1,2' is not three whole numbers"},
        {"a quadratic with a = 0", {"--mark-quadratic", "0,1,41"}, "--mark-quadratic: a must be at least 1"},
        {"a quadratic with c of 2^64", {"--mark-quadratic", "1,1,18446744073709551616"}, "--mark-quadratic: '1,1,18446744073709551616' is too large"},
        {"a quadratic with a of 2^60 + 1", {"--mark-quadratic", "1152921504606846977,0,1"}, "is too large"},
        {"a quadratic in an animation", {"--animate", "in", "--out", "a.gif", "--mark-quadratic", "1,1,41"}, "--mark-quadratic"},
    });
  }
  void badArgumentsAreUsageErrors() {
    QFETCH(Text, row);
    const Run run = runRenderer(row.arguments);
    QCOMPARE(run.exitCode, kExitUsage);
    QCOMPARE(run.out, QString());
    QVERIFY2(run.err.section(u'\n', 0, 0).contains(row.text), qPrintable(run.err));
    QVERIFY2(run.err.contains("Usage: spirelle-render"), qPrintable(run.err));
  }

  // The renderer draws anywhere below 2^64: a picture that would pass 2^64 - 1 is refused, and the
  // message names its largest start, 2^64 - 273529 for 1-pixel cells, 2^64 - 5625 for 7-pixel ones.
  void refusalsPrintTheStartNumberMessage_data() {
    const QStringList endTooLarge{"--cell", "1", "--start", "18446744073709278088"};
    const QStringList german{"--language", "de"};
    const QString onePixel = "End number would be greater than 2^64 - 1 = 18446744073709551615: the largest start "
                             "number for this picture is 18446744073709278087.";
    const QString sevenPixels = "End number would be greater than 2^64 - 1 = 18446744073709551615: the largest "
                                "start number for this picture is 18446744073709545991.";
    addRows<Text>({
        {"end number", endTooLarge + QStringList{"--language", "en"}, onePixel},
        {"end number, German", endTooLarge + german,
         "Die Endzahl würde 2^64 - 1 = 18446744073709551615 übersteigen: die höchste Startzahl für dieses Bild "
         "ist 18446744073709278087."},
        {"the largest 64-bit number", {"--start", "18446744073709551615"}, sevenPixels},
        {"21 digits", {"--start", "00099999999999999999999"}, sevenPixels},
        {"animation", endTooLarge + QStringList{"--animate", "in"}, onePixel},
    });
  }
  void refusalsPrintTheStartNumberMessage() {
    QFETCH(Text, row);
    const QString file = outDir_.filePath(row.arguments.contains("--animate") ? "refused.gif" : "refused.png");
    const Run run = runRenderer(row.arguments + QStringList{"--out", file, "--json"});
    QCOMPARE(run.exitCode, kExitRefused);
    QCOMPARE(run.err, row.text + u'\n');
    QCOMPARE(run.out, QString());
    QVERIFY(!QFileInfo::exists(file));
  }

  // An animation that cannot be written: the exit status and the message with the system's reason.
  // A picture's the full-disk test below meets; which targets the writer refuses (a FIFO, a device,
  // ...) the file writer's own test pins.
  void unwritableOutputFails() {
    const QString gifDir = outDir_.filePath("folder.gif");
    QVERIFY(QDir().mkpath(gifDir));
    const Run run = runRenderer({"--cell", "75", "--animate", "in", "--frames", "2", "--out", gifDir});
    QCOMPARE(run.exitCode, kExitCannotWrite);
    QCOMPARE(run.err, QStringLiteral("spirelle-render: cannot write '%1': Is a directory\n").arg(gifDir));
  }

  void fullDiskKeepsTheOlderPicture_data() {
    addRows<Disk>({{"small tmpfs", ShortDisk::Kind::FreeSpace, "No space left on device"},
                   {"file-size limit", ShortDisk::Kind::FileSizeLimit, "File too large"}});
  }
  // The disk runs out while a picture is written over an older one, with ever more room: each run
  // either replaces it with the whole new picture, or fails with the system's reason and leaves it
  // as it was. Nothing else is left beside it.
  void fullDiskKeepsTheOlderPicture() {
    QFETCH(Disk, row);
    ShortDisk disk(row.kind, 128 * 1024);
    if (!disk.available()) QSKIP("no tmpfs can be mounted here");
    const QString file = disk.filePath("pic.png");
    QCOMPARE(runRenderer({"--out", file}).exitCode, 0);  // the default picture, some 19 KB
    const QByteArray newBytes = contentsOf(file);
    QCOMPARE(runRenderer({"--cell", "75", "--out", file}).exitCode, 0);
    const QByteArray oldBytes = contentsOf(file);
    const QString failure = QStringLiteral("spirelle-render: cannot write '%1': %2\n").arg(file, row.reason);
    bool replaced = false;
    for (qint64 room = 0; room <= newBytes.size() + ShortDisk::kPage; room += ShortDisk::kPage) {
      QVERIFY(writeFile(file, oldBytes));
      Run run;
      QVERIFY(disk.runWith(room, [&] { run = runRenderer({"--out", file}); }));
      QVERIFY2(!replaced || run.exitCode == 0, "more room must not fail");
      replaced = run.exitCode == 0;
      QVERIFY2(room > 0 || !replaced, "a full disk cannot hold the picture");
      QCOMPARE(run.exitCode, replaced ? 0 : kExitCannotWrite);
      QCOMPARE(run.err, replaced ? QString() : failure);
      QCOMPARE(contentsOf(file), replaced ? newBytes : oldBytes);
      QCOMPARE(disk.names(), QStringList{"pic.png"});
    }
    QVERIFY(replaced);
  }

  // Without any display: the requested size, the shown centre marked (1 is no prime, 2 is), numerals
  // drawn; and a picture loads no Qt library until it needs numerals.
  void picturesRenderWithoutDisplay() {
    QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"}) bare.remove(name);
    const QString file = outDir_.filePath("spiral.png"), numbered = outDir_.filePath("numbered.png");
    QCOMPARE(runRenderer({"--cell", "1", "--size", "100", "--out", file}, bare).exitCode, 0);
    QCOMPARE(QImage(file).size(), QSize(100, 100));
    QCOMPARE(runRenderer({"--cell", "75", "--start", "2", "--numerals", "--out", numbered}, bare).err, QString());
    for (const char* start : {"1", "2"}) {
      QCOMPARE(runRenderer({"--cell", "75", "--start", start, "--out", file}, bare).err, QString());
      QCOMPARE(QImage(file).size(), QSize(523, 523));
      QCOMPARE(qGray(QImage(file).pixel(261, 261)) == 0, start == QLatin1String("1"));
    }
    QVERIFY(QImage(file) != QImage(numbered));
    bare.insert("LD_TRACE_LOADED_OBJECTS", "1");  // the loader lists what it loads at start, and stops
    const QString loaded = runRenderer({}, bare).out;
    QVERIFY2(loaded.contains("libc.so") && !loaded.contains("libQt"), qPrintable(loaded));  // Qt waits for numerals
  }

  // Numerals keep the pixels of the pictures in tests/data, which the renderer drew when they
  // came straight from Qt's painter: every glyph pixel in its place.
  void numeralsKeepTheirPixels() {
    const std::pair<const char*, QStringList> referencesAndArguments[] = {
        {"numerals-squares-75.png", {"--cell", "75", "--size", "225", "--start", "98", "--grid", "--shape",
                                     "squares", "--scheme", "ring"}},
        {"numerals-circles-15.png", {"--cell", "15", "--size", "75", "--start", "95", "--scheme", "sequence"}}};
    for (const auto& [reference, arguments] : referencesAndArguments) {
      const QString file = outDir_.filePath(reference);
      QCOMPARE(runRenderer(arguments + QStringList{"--numerals", "--show", "all", "--out", file}).exitCode, 0);
      const QImage expected(QStringLiteral(SPIRELLE_TEST_DATA "/") + reference);
      QVERIFY2(!expected.isNull() && QImage(file).convertToFormat(QImage::Format_RGB32) ==
                                         expected.convertToFormat(QImage::Format_RGB32), reference);
    }
  }

  // A renderer without its text module beside it still draws, and refuses only numerals.
  void numeralsNeedTheTextModule() {
    const QString lone = outDir_.filePath("bin/spirelle-render"), file = outDir_.filePath("lone.png");
    QVERIFY(QDir().mkpath(outDir_.filePath("bin")) && QFile::copy(SPIRELLE_RENDER_BINARY, lone));
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QCOMPARE(runRenderer({"--cell", "75", "--out", file}, environment, lone).exitCode, 0);
    QCOMPARE(QImage(file).width(), 523);
    QFile::remove(file);
    const Run refused = runRenderer({"--cell", "75", "--numerals", "--out", file}, environment, lone);
    QCOMPARE(refused.exitCode, kExitCannotWrite);
    QVERIFY(refused.err.startsWith("spirelle-render: cannot draw numerals: "));
    QVERIFY(!QFile::exists(file));
  }

  // A rule that asks what a class is draws that class's picture byte for byte, in every scheme and
  // shape, at 1, at 10^18 and up to 2^64 - 1, and reports the same facts: the smallest and largest
  // number shown for the smallest and largest prime, with no number undefined.
  void ownRulesDrawTheClassesTheyName_data() {
    const QString far = QStringLiteral("1000000000000000000"), top = QStringLiteral("18446744073709545991");
    addRows<SameAs>({
        {"primes, 1 pixel at 10^18", {"--cell", "1", "--start", far}, "primes", "prime(n)"},
        {"primes, 3 pixels, longest, lines", {"--cell", "3", "--longest", "--lines", "5", "--inspect", "101"}, "primes", "prime(n)"},
        {"primes, grid, nw-se, to 2^64 - 1", {"--cell", "15", "--grid", "--scheme", "nw-se", "--start", top}, "primes", "prime(n)"},
        {"squares, veltra squares, grid", {"--cell", "15", "--shape", "squares", "--scheme", "veltra", "--grid"}, "squares", "square(n)"},
        {"squares, ring, at 10^18", {"--cell", "5", "--scheme", "ring", "--start", far}, "squares", "square(n)"},
        {"triangular, sequence, to 2^64 - 1", {"--scheme", "sequence", "--start", top}, "triangular", "triangular(n)"},
        {"triangular, sw-ne, longest", {"--cell", "3", "--scheme", "sw-ne", "--longest"}, "triangular", "triangular(n)"},
        {"all, white, 1 pixel at 10^18", {"--cell", "1", "--scheme", "white", "--start", far, "--longest"}, "all", "1"},
        {"an animation of primes", {"--cell", "15", "--animate", "in", "--frames", "4"}, "primes", "prime(n)"},
    });
  }
  void ownRulesDrawTheClassesTheyName() {
    QFETCH(SameAs, row);
    const bool animates = row.arguments.contains("--animate");
    const QString byClass = outDir_.filePath(animates ? "class.gif" : "class.png");
    const QString byRule = outDir_.filePath(animates ? "rule.gif" : "rule.png");
    QJsonObject classReport = untimed(renderJson(row.arguments + QStringList{"--show", row.shown, "--out", byClass}));
    QJsonObject ruleReport = untimed(renderJson(row.arguments + QStringList{"--show-if", row.rule, "--out", byRule}));
    QVERIFY(!classReport.isEmpty());
    QCOMPARE(contentsOf(byRule), contentsOf(byClass));
    const auto sameFacts = [&row](QJsonObject byClass, QJsonObject byRule) {
      const qint64 shown = byRule["shown"].toInteger();
      const bool primes = row.shown == QLatin1String("primes"), all = row.shown == QLatin1String("all");
      QCOMPARE(byRule.take("undefined").toInteger(-1), 0);
      const quint64 smallest = byRule.take("smallest_shown").toVariant().toULongLong();
      const quint64 largest = byRule.take("largest_shown").toVariant().toULongLong();
      const quint64 smallestPrime = byClass.take("smallest_prime").toVariant().toULongLong();
      const quint64 largestPrime = byClass.take("largest_prime").toVariant().toULongLong();
      if (primes) QVERIFY(smallest == smallestPrime && largest == largestPrime);
      if (all) QVERIFY(smallest == byRule["start"].toVariant().toULongLong() && largest == byRule["end"].toVariant().toULongLong());
      if (shown == 0) QVERIFY(smallest == 0 && largest == 0);
      QCOMPARE(byRule, byClass);
    };
    if (!animates) return sameFacts(classReport, ruleReport);
    const QJsonArray classFrames = classReport.take("frames").toArray(), ruleFrames = ruleReport.take("frames").toArray();
    QCOMPARE(ruleReport, classReport);
    QCOMPARE(ruleFrames.size(), classFrames.size());
    for (qsizetype i = 0; i < ruleFrames.size(); ++i) sameFacts(classFrames[i].toObject(), ruleFrames[i].toObject());
  }

  // What a rule shows, against the same question asked of each number plainly: its cell (x to the
  // right, y upward from the centre) and ring from the plain walk, n^2 + 1 undefined from 2^32 on.
  void ownRulesShowWhatTheyAsk() {
    const quint64 start = (quint64(1) << 32) - 2000;
    QJsonObject report = renderJson({"--start", QString::number(start), "--show-if", "prime(n*n + 1)"});
    qint64 shown = 0;
    quint64 smallest = 0;
    for (quint64 n = start; n < (quint64(1) << 32); ++n) {
      if (!referenceIsPrime(n * n + 1)) continue;
      shown += 1;
      if (smallest == 0) smallest = n;
    }
    QCOMPARE(report["undefined"].toInteger(), report["end"].toInteger() - (qint64(1) << 32) + 1);
    QCOMPARE(report["shown"].toInteger(), shown);
    QCOMPARE(report["smallest_shown"].toInteger(), qint64(smallest));
    const Run lines = runRenderer({"--start", QString::number(start), "--show-if", "prime(n*n + 1)"});
    QVERIFY(lines.out.contains(QStringLiteral("\nUndefined:          %1\n").arg(report["undefined"].toInteger())));
    QVERIFY(lines.out.contains(QStringLiteral("\nSmallest shown:     %1\n").arg(smallest)));

    report = renderJson({"--start", "100", "--show-if", "x == 3 && y == 2 || ring == 4 && factors(n) == 2"});
    QList<qint64> expected;
    for (qint64 n = 100; n <= report["end"].toInteger(); ++n) {
      const QPoint cell = walkedCell(n - 100);
      const qint64 ring = std::max(std::abs(cell.x()), std::abs(cell.y())) + 1;
      if ((cell.x() == 3 && cell.y() == -2) || (ring == 4 && factorCountByTrialDivision(n, false) == 2)) expected << n;
    }
    QCOMPARE(report["shown"].toInteger(), expected.size());
    QCOMPARE(report["smallest_shown"].toInteger(), expected.front());
    QCOMPARE(report["largest_shown"].toInteger(), expected.back());
  }

  // The message shows the rule on its second line and a caret under the first error on its third;
  // where the caret stands for other rules and characters the rule's own test pins.
  void ruleErrorsShowTheCaret() {
    const Run run = runRenderer({"--show-if", "prime(m)"});
    QCOMPARE(run.exitCode, kExitUsage);
    const QStringList lines = run.err.split(u'\n');
    QVERIFY2(lines.size() > 2 && lines[0].startsWith("spirelle-render: --show-if: unknown name 'm'"), qPrintable(run.err));
    QCOMPARE(lines.mid(1, 2), (QStringList{"  prime(m)", "        ^"}));
  }

  // The values of the quadratic in the picture and its primes against a plain walk and the
  // reference; the expected primes from A; the rays it reports hold its values on every cell.
  void quadraticReportsItsValues_data() {
    addRows<Marked>({{"Euler's from 1", {"--cell", "1"}, 1, 1, 41},
                     {"t^2 + 1", {"--cell", "21"}, 1, 0, 1},
                     {"a = 2", {"--cell", "5"}, 2, 3, -5},
                     {"a = 6 at 10^12", {"--cell", "1", "--start", "1000000000000"}, 6, 1, 1},
                     {"a = 3 near 2^64", {"--cell", "1", "--start", "18446744073709278087"}, 3, 5, 7},
                     {"factors", {"--cell", "7"}, 2, 5, 2},
                     {"always even", {"--cell", "7"}, 1, 1, 2},
                     {"a ray from the centre", {"--cell", "15", "--start", "41"}, 4, 2, 41}});
  }
  void quadraticReportsItsValues() {
    QFETCH(Marked, row);
    const QString coefficients = QStringLiteral("%1,%2,%3").arg(row.a).arg(row.b).arg(row.c);
    const QJsonObject report = renderJson(row.arguments + QStringList{"--mark-quadratic", coefficients});
    const QJsonObject quadratic = report["quadratic"].toObject();
    QCOMPARE(quadratic["polynomial"].toArray(), (QJsonArray{row.a, row.b, row.c}));
    const std::vector<uint64_t> values = plainQuadraticValues(row.a, row.b, row.c, report["start"].toVariant().toULongLong(),
                                                              report["end"].toVariant().toULongLong());
    qint64 primes = 0;
    for (const quint64 value : values) primes += referenceIsPrime(value);
    QCOMPARE(quadratic["values"].toInteger(), qint64(values.size()));
    QCOMPARE(quadratic["primes"].toInteger(), primes);
    const double a = quadratic["hl_constant"].toDouble(-1);
    if (row.a == 1 && row.b == 1 && row.c == 41) QVERIFY(std::fabs(a - 6.6395463549) < 1e-5);
    if (row.c == 2 && row.b == 1) QCOMPARE(quadratic["fixed_prime_divisors"].toArray(), QJsonArray{2});
    if (report["start"].toInteger() > 1000) return;  // a JSON reader of doubles rounds the far rays' constants
    for (const QJsonValue& ray : quadratic["rays"].toArray()) {  // where a ray's cells lie the engine's test pins
      const QJsonArray f = ray["polynomial"].toArray();
      for (qint64 k = ray["k_from"].toInteger(); k <= ray["k_to"].toInteger(); ++k) {
        const qint64 number = (4 * k + f[1].toInteger()) * k + f[2].toInteger();
        QVERIFY2(std::binary_search(values.begin(), values.end(), uint64_t(number)), qPrintable(QString::number(number)));
      }
    }
  }

  // For a = 4 and values that make up one ray from the centre, Euler's, the report lists that ray
  // (its counts and A meet their references above); the marks change only the outlines of the
  // values' cells, to light grey, and no fact.
  void quadraticAgreesWithTheLens() {
    const QStringList picture{"--start", "41", "--cell", "15"};
    const QString plain = outDir_.filePath("plain.png"), marked = outDir_.filePath("marked.png");
    const QJsonObject bare = renderJson(picture + QStringList{"--out", plain});
    QJsonObject report = renderJson(picture + QStringList{"--mark-quadratic", "4,-2,41", "--out", marked});
    const QJsonObject quadratic = report.take("quadratic").toObject();
    QCOMPARE(untimed(report), untimed(bare));
    QCOMPARE(quadratic["rays"].toArray(), (QJsonArray{QJsonObject{{"direction", "NE"}, {"polynomial", QJsonArray{4, -2, 41}},
                                                                  {"k_from", 0}, {"k_to", 17}, {"cells", 18}}}));
    QSet<QPoint> outline;
    for (qint64 k = 0; k <= 17; ++k) {
      const QPoint centre = QPoint(261, 261) + 15 * walkedCell((4 * k - 2) * k);
      for (int step = -7; step <= 7; ++step)
        outline << centre + QPoint(step, -7) << centre + QPoint(step, 7) << centre + QPoint(-7, step) << centre + QPoint(7, step);
    }
    QCOMPARE(pixelsBesideTheMarks(plain, marked, outline), 0);
  }

  // --help ends the reading: what follows it is not looked at.
  void helpDocumentsEveryOption() {
    const Run run = runRenderer({"--help"});
    QCOMPARE(run.exitCode, 0);
    const Run withMore = runRenderer({"--json", "--help", "--cell", "4", "--bogus"});
    QCOMPARE(withMore.exitCode, 0);
    QCOMPARE(withMore.out, run.out);
    for (const char* option : {"--start", "--cell", "--shape", "--scheme", "--show", "--grid", "--numerals", "--longest",
                               "--size", "--language", "--out", "--json", "--version", "--animate", "--frames",
                               "--prime-steps", "--delay", "--inspect", "--lines", "--mark-lines", "veltra", "triangular",
                               "--centre", "--cells-per-pixel",
                               "--show-if", "--mark-quadratic", "'prime(n) && n % 4 == 1'", "'factors(n) == 2'",
                               "'prime(n*n + 1)'", "1,1,41"})
      QVERIFY2(run.out.contains(QLatin1String(option)), option);
  }

 private:
  QTemporaryDir outDir_;
};

QTEST_GUILESS_MAIN(TestRenderCli)
#include "test_render_cli.moc"
