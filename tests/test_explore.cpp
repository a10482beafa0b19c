// The explorer: its options, its settings file and language, the view's pixels against the
// renderer's, moving and zooming, go to, copying and saving, and the window's Ctrl+E.
#include <map>
#include <set>
#include <variant>

#include <QtTest>
#include <QtWidgets>

#include "CoarseStandIn.h"
#include "ExploreLaunch.h"
#include "ElidingLabel.h"
#include "EventHook.h"
#include "ExploreWindow.h"
#include "FileContents.h"
#include "PictureImage.h"
#include "MainWindowHarness.h"
#include "PlainMillerRabin.h"
#include "PlainQuadratic.h"
#include "PlainWalk.h"
#include "RecordingDesktop.h"
#include "Rows.h"
#include "WordTable.h"

using explorer::ExploreOptions;
using explorer::StoredView;
using spiral::ColorScheme;
using spiral::NumberClass;
using spiral::Number;

namespace {

constexpr Number kLargest = UINT64_MAX;

std::variant<ExploreOptions, explorer::UsageError> parse(const QStringList& arguments) {
  std::vector<std::string> words;
  for (const QString& argument : arguments) words.push_back(argument.toStdString());
  return explorer::parseExploreArguments(words);
}

// `problem`: a part of the message, empty when the arguments are read; `view`: the view they open on.
struct OptionsCase { const char* name; QStringList arguments; const char* problem; StoredView view; };
// `refusal`: empty when the view centres on the number.
struct GoToCase { const char* name; Number start; QString text; int languageSlot; const char* refusal; };
struct InViewCase { const char* name; int boxSize, cellsPerPixel; QPoint pan; };
struct StandInCase { const char* name; int boxSize, cellsPerPixel; };  // the coarser level, cached before zooming in
// The status bar's first line, and the rule with the caret under the error.
struct RuleCase { const char* name; QString rule; int languageSlot; const char* message, *caret; };
struct QuadraticCase { const char* name; Number start; int boxSize, cellsPerPixel; QString text; PlainInt128 a, b, c; };
// `pass`: also against the renderer's draw pass, the view centred on the start.
struct ViewCase { const char* name; QStringList arguments; QPoint pan; int zoomOut; bool pass; };

// A stored view with a few fields changed from the defaults.
StoredView viewWith(const std::function<void(StoredView&)>& change) {
  StoredView view;
  change(view);
  return view;
}

// Whether the image is the engine's one rectangle of the view's plane, drawn with the cluster
// colours at hand, pixel for pixel.
bool isTheEnginesRectangle(explorer::ExploreWindow& w, const QImage& image) {
  spiral::Picture whole(image.width(), image.height());
  const spiral::PlanePoint topLeft = w.view().topLeft();
  spiral::TileContext context;
  context.clusters = w.tiles().clusterColoursFor(w.view().settings());
  spiral::drawTile(w.view().settings(), {topLeft.x, topLeft.y, image.width(), image.height()}, whole, context);
  for (int y = 0; y < image.height(); ++y) {
    if (!std::equal(whole.indexLine(y), whole.indexLine(y) + image.width(), image.constScanLine(y))) return false;
  }
  return true;
}

}  // namespace

class TestExplore : public QObject {
  Q_OBJECT

  RecordingDesktop desktop;
  std::unique_ptr<explorer::ExploreWindow> window;

  // Ctrl+G, the text typed into the go-to box, and Enter; false when Ctrl+G left the focus on the
  // view.
  static bool goTo(explorer::ExploreWindow& w, const QString& text) {
    QTest::keyClick(&w, Qt::Key_G, Qt::ControlModifier);
    if (QApplication::focusWidget() == &w.view()) return false;
    QTest::keyClicks(QApplication::focusWidget(), text);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    return true;
  }

  explorer::ExploreWindow& open(const StoredView& view, int workers = 2, QSize size = QSize(640, 480)) {
    window = std::make_unique<explorer::ExploreWindow>(desktop, view, workers);
    window->show();
    window->view().resize(size);  // the view's own size, whatever the bars take
    window->view().setMinimumSize(size);
    window->view().setMaximumSize(size);
    window->resize(window->sizeHint());
    QCoreApplication::processEvents();
    if (const std::optional<spiral::CellPos> cell = spiral::cellOfNumber(view.start, view.centre)) {
      window->view().centreOn(*cell);
    }
    return *window;
  }

 private slots:
  void initTestCase() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    spiral::installQtTextDrawing();  // numerals, as the program draws them
  }
  void cleanup() {
    window.reset();
    language::intLanguage = language::kEnglish;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  }

  // The renderer's names and values; the view they name, or why they cannot be read.
  void optionsNameTheView_data() {
    addRows<OptionsCase>({
        {"none: the last view", {}, "", StoredView{}},
        {"every choice", {"--start", "41", "--centre", "100", "--cell", "15", "--shape", "squares", "--scheme", "ring",
                          "--show", "squares", "--grid", "--numerals"}, "",
         viewWith([](StoredView& v) {
           v.start = 41, v.centre = 100, v.boxSize = 15, v.squares = true, v.scheme = ColorScheme::RingNumber;
           v.numberClass = NumberClass::Squares, v.grid = true, v.numerals = true;
         })},
        {"largest start", {"--start", "18446744073709551615"}, "",
         viewWith([](StoredView& v) { v.start = v.centre = kLargest; })},
        {"blanks around the start", {"--start", " 7 "}, "", viewWith([](StoredView& v) { v.start = v.centre = 7; })},
        {"start 0", {"--start", "0"}, "'0' is not a number from 1 to 18446744073709551615", {}},
        {"start past 2^64 - 1", {"--start", "18446744073709551616"}, "is not a number from 1", {}},
        {"centre below the start", {"--start", "10", "--centre", "9"}, "--centre: 9 lies below the start 10", {}},
        {"stray argument", {"41"}, "41", {}},
        {"own rule", {"--show-if", "prime(n) && n % 4 == 1"}, "",
         viewWith([](StoredView& v) { v.ownRule = "prime(n) && n % 4 == 1", v.showsOwnRule = true; })},
        {"rule that does not read", {"--show-if", "prime(n"}, "expected ')'\n  prime(n\n         ^", {}},
    });
  }
  void optionsNameTheView() {
    QFETCH(OptionsCase, row);
    const auto parsed = parse(row.arguments);
    if (*row.problem) {
      QVERIFY(std::holds_alternative<explorer::UsageError>(parsed));
      QVERIFY2(std::get<explorer::UsageError>(parsed).message.find(row.problem) != std::string::npos,
               std::get<explorer::UsageError>(parsed).message.c_str());
      return;
    }
    QVERIFY(std::holds_alternative<ExploreOptions>(parsed));
    StoredView last;
    last.start = last.centre = 99;
    const StoredView expected = row.arguments.isEmpty() ? last : row.view;
    QCOMPARE(explorer::chooseView(std::get<ExploreOptions>(parsed), last) == expected, true);
  }

  // The program itself: exit 64 and the message for a bad option, the usage for --help.
  void theProgramRefusesBadOptions() {
    QProcess program;
    program.start(SPIRELLE_EXPLORE_BINARY, {"--cell", "4"});
    QVERIFY(program.waitForFinished() && program.exitCode() == 64);
    QVERIFY(program.readAllStandardError().startsWith("spirelle-explore: --cell: '4' is not one of"));
    program.start(SPIRELLE_EXPLORE_BINARY, {"--help"});
    QVERIFY(program.waitForFinished() && program.exitCode() == 0);
    const QByteArray usage = program.readAllStandardOutput();
    for (const char* option : {"--start", "--centre", "--cell", "--shape", "--scheme", "--show", "--show-if", "--grid",
                               "--numerals", "--language", "--help", "--version"}) {
      QVERIFY2(usage.contains(option), option);
    }
  }

  // The settings file round-trips. A missing file, or anything that is not such a file, gives the
  // defaults: the corrupt files are made from settings unlike the defaults, so that what is read of
  // them would show. A value out of range takes its own default.
  void settingsRoundTrip() {
    QTemporaryDir folder;
    const QString path = folder.filePath("explore.json");
    QVERIFY(explorer::readExploreSettings(path) == explorer::ExploreSettings{});  // missing
    explorer::ExploreSettings settings;
    settings.geometry = QRect(10, 20, 800, 600);
    settings.view = viewWith([](StoredView& v) {
      v.start = 1000000000000000000, v.centre = kLargest, v.boxSize = 1, v.cellsPerPixel = 4;
      v.scheme = ColorScheme::Veltra, v.numberClass = NumberClass::Triangular, v.squares = true;
      v.ownRule = "factors(n) == 2 || abs(x - y) < 3", v.showsOwnRule = true;
    });
    QVERIFY(explorer::writeExploreSettings(path, settings));
    QVERIFY(explorer::readExploreSettings(path) == settings);
    const QByteArray good = contentsOf(path);
    const std::pair<const char*, QByteArray> corrupt[] = {
        {"empty", ""}, {"not JSON", "\x89PNG\r\n"}, {"cut short", good.left(good.size() / 2)},
        {"another format", QByteArray(good).replace("settings 1", "settings 2")}, {"an array", "[1, 2]"},
        {"huge", good + QByteArray(20000, ' ')}};
    for (const auto& [name, bytes] : corrupt) {
      QVERIFY(writeFile(path, bytes));
      QVERIFY2(explorer::readExploreSettings(path) == explorer::ExploreSettings{}, name);
    }
  }
  void settingsValuesOutOfRangeTakeTheirDefaults() {
    const QByteArray bytes = R"({"format": "spirelle-explore settings 1",
        "geometry": {"x": 0, "y": 0, "width": -5, "height": 600},
        "view": {"start": "18446744073709551616", "centre": "12", "cell": "4", "cellsPerPixel": 3,
                 "shape": "squares", "scheme": "rainbow", "show": "all", "grid": "yes",
                 "ownRule": "n +", "showsOwnRule": true}})";
    const explorer::ExploreSettings settings = explorer::parseExploreSettings(bytes);
    QVERIFY(!settings.geometry);
    QCOMPARE(settings.view == viewWith([](StoredView& v) {
      v.centre = 12, v.squares = true, v.numberClass = NumberClass::All;
    }), true);
  }

  // The command line's language, else the window's stored one, else the desktop's.
  void theLanguageFollowsTheWindow() {
    QTemporaryDir folder;
    const QString store = folder.filePath("spl.usr");
    const QLocale german(QLocale::German, QLocale::Germany), english(QLocale::English, QLocale::UnitedStates);
    QCOMPARE(explorer::chooseLanguage(std::nullopt, store, german), language::kGerman);  // no store
    QCOMPARE(explorer::chooseLanguage(std::nullopt, store, english), language::kEnglish);
    app::StoredSettings window;
    window.language = language::kGerman;
    QVERIFY(app::writeSettingsFile(store, window));
    QCOMPARE(explorer::chooseLanguage(std::nullopt, store, english), language::kGerman);
    QCOMPARE(explorer::chooseLanguage(language::kEnglish, store, german), language::kEnglish);
  }

  // The view's pixels are those of the picture its renderer command draws (--centre), pixel for
  // pixel (palette index), at several pans and zooms, cluster colours included; put together from
  // tiles, they are also the engine's one rectangle of the same plane.
  void theViewIsTheRenderersPicture_data() {
    const QString far = "1000000000000000000";
    addRows<ViewCase>({
        {"cluster primes at 41", {"--start", "41"}, {0, 0}, 0, true},
        {"cluster, panned and zoomed", {"--start", "41", "--cell", "15"}, {-333, 157}, 4, false},
        {"squares, ring colours, far",
         {"--start", far, "--centre", "1000000000000012345", "--cell", "5", "--shape", "squares", "--scheme", "ring"}, {17, -3}, 0, false},
        {"random numbers, sequence", {"--start", "1000", "--cell", "3", "--show", "random", "--scheme", "sequence"}, {400, 0}, 0, false},
        {"grid and numerals at 21", {"--cell", "21", "--grid", "--numerals", "--show", "squares", "--scheme", "veltra"}, {5, 9}, 0, false},
        {"density, far", {"--start", far, "--cell", "1", "--scheme", "nw-se"}, {-50, 20}, 2, false},
        {"near 2^64 - 1", {"--start", "18446744073709551000", "--cell", "3", "--scheme", "white"}, {0, 0}, 0, false},
        {"own rule: primes 1 mod 4, cluster", {"--start", "41", "--cell", "5", "--show-if", "prime(n) && n % 4 == 1"}, {0, 0}, 0, true},
        {"own rule by cell, sequence", {"--cell", "7", "--scheme", "sequence", "--show-if", "x > y && !square(n)"}, {0, 0}, 0, true},
        {"own rule: two factors, ring, far", {"--start", far, "--cell", "3", "--scheme", "ring", "--show-if", "factors(n) == 2"}, {9, 4}, 0, false},
        {"own rule, undefined far, density",
         {"--start", far, "--cell", "1", "--scheme", "white", "--show-if", "n % 7 == 0 || prime(n * n + 1)"}, {3, -8}, 1, false},
    });
  }
  void theViewIsTheRenderersPicture() {
    QFETCH(ViewCase, row);
    const QStringList& arguments = row.arguments;
    const auto parsed = parse(arguments);
    QVERIFY(std::holds_alternative<ExploreOptions>(parsed));
    // A worker per core: they put their tiles in place themselves.
    explorer::ExploreWindow& w = open(explorer::chooseView(std::get<ExploreOptions>(parsed), {}), 0, QSize(300, 200));
    w.view().panBy(row.pan.x(), row.pan.y());
    w.view().zoomAboutMiddle(-row.zoomOut);
    const QImage view = w.view().viewImage();
    QVERIFY(isTheEnginesRectangle(w, view));
    const spiral::PlanePoint topLeft = w.view().topLeft();

    // The renderer's square picture is centred on the view's middle cell; made larger than the
    // view, it covers it whatever the cell's offset.
    QStringList command = w.rendererArguments();
    if (row.pass) command.remove(command.indexOf("--centre"), 2);
    constexpr int kSize = 401;
    QTemporaryDir folder;
    command[command.indexOf("--size") + 1] = QString::number(kSize);
    command[command.indexOf("--out") + 1] = folder.filePath("centre.png");
    QProcess renderer;
    renderer.start(SPIRELLE_RENDER_BINARY, command);
    QVERIFY(renderer.waitForFinished(120000));
    QVERIFY2(renderer.exitCode() == 0, renderer.readAllStandardError().constData());
    QCOMPARE(renderer.readAllStandardOutput().contains("Undefined:"), arguments.contains("--show-if"));
    const QImage picture(folder.filePath("centre.png"));
    QVERIFY(!picture.isNull());
    const spiral::PlanePoint centre = spiral::centreOfCell(w.view().settings(), w.view().middleCell());
    const QPoint offset(static_cast<int>(centre.x - topLeft.x) - kSize / 2, static_cast<int>(centre.y - topLeft.y) - kSize / 2);
    int differences = 0;
    for (int y = 0; y < view.height(); ++y)
      for (int x = 0; x < view.width(); ++x) differences += view.pixelIndex(x, y) != picture.pixelIndex(x - offset.x(), y - offset.y());
    QCOMPARE(differences, 0);
  }

  // "Own rule..." in the class list opens the rule's field; Enter shows the rule, which the renderer
  // command carries instead of --show, and the settings keep. Another class hides the field, and the
  // rule stays at hand for the next time.
  void theClassListTakesAnOwnRule() {
    explorer::ExploreWindow& w = open(viewWith([](StoredView& v) { v.start = v.centre = 41; }));
    auto* classes = w.findChild<QComboBox*>("classes");
    auto* field = w.findChild<QLineEdit*>("ownRule");
    const auto choose = [classes](int data) {
      classes->setCurrentIndex(classes->findData(data));
      emit classes->activated(classes->currentIndex());
    };
    const std::string rule = "prime(n) && n % 4 == 1";
    QVERIFY(!field->isVisible());
    choose(-1);
    QTest::keyClicks(field, QString::fromStdString(rule));
    QTest::keyClick(field, Qt::Key_Return);
    QVERIFY(w.view().settings().ownRule.text == rule && QApplication::focusWidget() == &w.view() && w.storedView().showsOwnRule);
    QVERIFY2(w.rendererCommand().contains(" --scheme cluster --show-if 'prime(n) && n % 4 == 1' --centre 41 "),
             qPrintable(w.rendererCommand()));
    choose(int(NumberClass::Squares));
    QVERIFY(!field->isVisible() && !w.view().settings().ownRule && w.view().settings().numberClass == NumberClass::Squares);
    QVERIFY(w.storedView().ownRule == rule && !w.storedView().showsOwnRule);
    choose(-1);  // the rule in the field shows at once
    QVERIFY(w.view().settings().ownRule.text == rule);
    const QImage oneModFour = w.view().viewImage();  // another rule's tiles are never shown
    QVERIFY(w.showOwnRule("prime(n) && n % 4 == 3") && w.view().viewImage() != oneModFour);
    QVERIFY(w.showOwnRule(QString::fromStdString(rule)) && w.view().viewImage() == oneModFour);
  }

  // A text that is no rule leaves the view as it is; the status bar says why, with a caret under
  // the error's place.
  void aBadRuleLeavesTheView_data() {
    constexpr int en = language::kEnglish, de = language::kGerman;
    addRows<RuleCase>({
        {"unknown name", "prime(m)", en, "Own rule not taken: unknown name 'm'", "\n  prime(m)\n        ^"},
        {"unclosed, German", "prime(n", de, "Eigene Regel nicht uebernommen: expected ')'", "\n  prime(n\n         ^"},
        {"empty", "", en, "Own rule not taken: expected a number", "\n  \n  ^"},
    });
  }
  void aBadRuleLeavesTheView() {
    QFETCH(RuleCase, row);
    language::intLanguage = row.languageSlot;
    explorer::ExploreWindow& w = open(viewWith([](StoredView& v) { v.ownRule = "square(n)", v.showsOwnRule = true; }));
    w.view().panBy(7, 3);
    const spiral::ViewSettings before = w.view().settings();
    const spiral::PlanePoint topLeft = w.view().topLeft();
    QVERIFY(!w.showOwnRule(row.rule) && w.view().settings() == before && w.view().topLeft() == topLeft);
    QVERIFY2(w.statusText().startsWith(row.message) && w.statusText().endsWith(row.caret), qPrintable(w.statusText()));
  }

  // The marked quadratic's values in view, their cells and primes, against a plain walk of the
  // view's cells, the plain values and the reference primality; the marks are drawn over the view,
  // never into its image. A text that names no quadratic is refused as the renderer refuses it.
  void theQuadraticsValuesInView_data() {
    addRows<QuadraticCase>({
        {"Euler from 1", 1, 3, 1, "1,1,41", 1, 1, 41},
        {"n^2 + 1 from 1000, density", 1000, 1, 2, " 1, 0, 1 ", 1, 0, 1},
        {"a = 2, negative b", 7, 5, 1, "2,-3,5", 2, -3, 5},
        {"a = 6, from below 0", 1, 1, 1, "6, 1, -10", 6, 1, -10},
    });
  }
  void theQuadraticsValuesInView() {
    QFETCH(QuadraticCase, row);
    language::intLanguage = language::kGerman;
    explorer::ExploreWindow& w = open(viewWith([&](StoredView& v) {
      v.start = v.centre = row.start, v.boxSize = row.boxSize, v.cellsPerPixel = row.cellsPerPixel;
    }), 2, QSize(300, 200));
    QVERIFY(w.markQuadratic(row.text));
    w.quadraticMarks().waitForDone();
    const spiral::ViewSettings& settings = w.view().settings();
    const spiral::CellPos first = spiral::cellAtPlane(settings, w.view().topLeft());
    spiral::CellPos last = spiral::cellAtPlane(settings, {w.view().topLeft().x + 299, w.view().topLeft().y + 199});
    last = {last.row + row.cellsPerPixel - 1, last.column + row.cellsPerPixel - 1};
    const int64_t reach = std::max({-first.row, -first.column, last.row, last.column});
    const std::map<WalkedCell, int64_t> indices = walkIndices((2 * reach + 1) * (2 * reach + 1));
    std::map<Number, WalkedCell> inView;
    for (int64_t r = first.row; r <= last.row; ++r)
      for (int64_t c = first.column; c <= last.column; ++c) inView[row.start + indices.at({int(r), int(c)})] = {int(r), int(c)};
    std::set<WalkedCell> expected, marked;
    int64_t primes = 0;
    for (const uint64_t v : plainQuadraticValues(row.a, row.b, row.c, inView.begin()->first, inView.rbegin()->first)) {
      if (inView.contains(v)) expected.insert(inView[v]), primes += referenceIsPrime(v);
    }
    const auto marksBefore = w.view().marks();
    for (const spiral::CellPos& cell : w.view().marks()) marked.insert({int(cell.row), int(cell.column)});
    QVERIFY(!expected.empty() && marked == expected);
    QVERIFY2(w.quadraticText().startsWith(QString("f: %1 sichtbar, %2 prim, ").arg(expected.size()).arg(primes)),
             qPrintable(w.quadraticText()));
    const auto inside = std::find_if(w.view().marks().begin(), w.view().marks().end(), [&](spiral::CellPos cell) {
      return QRect(0, 0, 300, 200).contains(w.view().cellRect(cell));
    });
    QVERIFY(inside != w.view().marks().end());
    const QPoint mark = w.view().cellRect(*inside).topLeft();
    QCOMPARE(w.view().grab().toImage().pixel(mark), spiral::paletteRgb(spiral::kMarkColour));
    QVERIFY(w.view().viewImage().pixelIndex(mark) != spiral::kMarkColour);
    // Which texts name no quadratic is the renderer's rule, tested there; here the refusal keeps the marks.
    QVERIFY(!w.markQuadratic("1,2") && w.view().marks() == marksBefore);
    QCOMPARE(w.statusText(), QString("\"1,2\" sind nicht drei ganze Zahlen a, b, c"));
    QVERIFY(w.markQuadratic(" ") && w.view().marks().empty() && w.quadraticText().isEmpty());  // empty: no marks
  }

  // The cache keeps what its budget holds, the least recently used going first.
  void theTileCacheDropsTheLeastRecentlyUsed() {
    const auto tile = [] { return std::make_shared<const explorer::Tile>(explorer::TileKey{}.rect()); };
    const auto key = [](int64_t column) { return explorer::TileKey{{}, column, 0}; };
    explorer::TileCache probe;  // what one tile costs
    probe.insert(key(0), tile());
    const int64_t oneTile = probe.bytes();
    explorer::TileCache cache(3 * oneTile);
    for (int64_t column : {1, 2, 3}) cache.insert(key(column), tile());
    QVERIFY(cache.find(key(1)));  // now the most recently used
    cache.insert(key(4), tile());
    QVERIFY(!cache.find(key(2)));
    for (int64_t column : {1, 3, 4}) QVERIFY(cache.find(key(column)));
    QCOMPARE(cache.bytes(), 3 * oneTile);
    // A tile drawn again (its part first, then the whole) takes the place of the one before.
    const auto again = tile();
    cache.insert(key(3), again);
    QCOMPARE(cache.find(key(3)), again);
    QCOMPARE(cache.size(), size_t{3});
    QCOMPARE(cache.bytes(), 3 * oneTile);
    // It is the most recently used but one once another is asked for, and stays when the next comes.
    QVERIFY(cache.find(key(1)));
    cache.insert(key(5), tile());
    QCOMPARE(cache.find(key(3)), again);
    QVERIFY(!cache.find(key(4)));
    QCOMPARE(cache.bytes(), 3 * oneTile);
  }

  // A tile not drawn yet shows the next coarser level's pixels over the same cells, scaled up;
  // those of other settings never: with another scheme the view stays plain background.
  void aMissingTileShowsTheCoarserLevel_data() {
    addRows<StandInCase>({
        {"3-pixel cells under 5-pixel cells", 3, 1},
        {"4 x 4 cells a pixel under 2 x 2", 1, 4},
        {"1-pixel cells under 2 x 2 cells a pixel", 1, 2},
    });
  }
  void aMissingTileShowsTheCoarserLevel() {
    QFETCH(StandInCase, row);
    explorer::ExploreWindow& w = open(viewWith([&row](StoredView& v) {
      v.start = v.centre = 41, v.boxSize = row.boxSize, v.cellsPerPixel = row.cellsPerPixel, v.scheme = ColorScheme::RingNumber;
    }));
    const QImage coarse = w.view().viewImage();
    const spiral::ViewSettings coarser = w.view().settings();
    const spiral::PlanePoint coarserTopLeft = w.view().topLeft();
    w.view().zoomAboutMiddle(1);
    // Painted at once, before any tile of the new level can have come back from the workers.
    const QImage shown = w.view().grab().toImage();
    QVERIFY(w.tiles().pending() > 0);
    // At each cell's centre pixel, the coarser level's centre pixel of that cell; after the first
    // paint too, once a pan has taken the view past the stand-ins made for it.
    const auto compareWithCoarser = [&](const QImage& shown) {
      int differing = 0, compared = 0;
      for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
          const spiral::PlanePoint at = w.view().planeAt(QPointF(x, y));
          const spiral::CellPos cell = spiral::cellAtPlane(w.view().settings(), at);
          if (spiral::centreOfCell(w.view().settings(), cell) != at) continue;
          const spiral::PlanePoint p = spiral::centreOfCell(coarser, cell);
          differing += shown.pixel(x, y) != coarse.pixel(int(p.x - coarserTopLeft.x), int(p.y - coarserTopLeft.y));
          ++compared;
        }
      }
      QCOMPARE(differing, 0);
      QVERIFY(compared > 5000);
    };
    compareWithCoarser(shown);
    w.view().panBy(-150, 140);
    compareWithCoarser(w.view().grab().toImage());
    QVERIFY(w.tiles().pending() > 0);
    // The same place with another scheme: the coarser tiles at hand are of the ring scheme.
    spiral::ViewSettings other = w.view().settings();
    other.colorScheme = ColorScheme::White;
    w.view().setSettings(other);
    QImage plain = w.view().grab().toImage();
    QCOMPARE(plain, (plain.fill(spiral::paletteRgb(spiral::kBlack)), plain));
  }

  // A stand-in reads up to four coarser tiles: every pixel they have, and none from where they have
  // none. 3-pixel cells under 5-pixel cells: a tile's cells straddle the coarser tiles' borders.
  void aStandInTakesWhatTheCoarserTilesHave() {
    const spiral::ViewSettings fine = explorer::viewSettingsOf(viewWith([](StoredView& v) { v.boxSize = 5; }));
    spiral::ViewSettings coarse = fine;
    coarse.zoom = fine.zoom + 1;
    QCOMPARE(coarse.level().boxSize, 3);
    const explorer::TileKey key{fine, 1, 1};
    std::map<std::pair<int64_t, int64_t>, std::shared_ptr<const explorer::Tile>> coarser;
    const auto standIn = [&](const spiral::PlaneRect& part) {
      return explorer::coarseStandIn(key, part, [&](const explorer::TileKey& k) -> std::shared_ptr<const explorer::Tile> {
        const auto found = coarser.find({k.column, k.row});
        return found == coarser.end() ? nullptr : found->second;
      }).value();  // some coarser tile is always at hand here
    };
    const auto blackPixels = [&] {
      const QImage image = standIn(key.rect());
      int black = 0;
      for (int y = 0; y < image.height(); ++y) black += int(std::count(image.constScanLine(y), image.constScanLine(y) + image.width(), spiral::kBlack));
      return black;
    };
    // Drawn by the engine: a part of the tile shows what the whole one shows there.
    for (int64_t column : {0, 1}) {
      for (int64_t row : {0, 1}) {
        const explorer::TileKey k{coarse, column, row};
        auto tile = std::make_shared<explorer::Tile>(k.rect());
        tile->result = spiral::drawTile(coarse, k.rect(), tile->picture);
        coarser[{column, row}] = tile;
      }
    }
    const spiral::PlaneRect part{key.rect().x + 100, key.rect().y + 37, 300, 211};
    QCOMPARE(standIn(part), standIn(key.rect()).copy(100, 37, part.width, part.height));
    // Marked all over, whole: nothing black. The lower right one drawn over its first 50 columns
    // only: black where it has nothing, but less than with it missing.
    const auto marked = [](const spiral::PlaneRect& drawn) {
      auto tile = std::make_shared<explorer::Tile>(drawn);
      tile->picture.fillBox(0, 0, drawn.width - 1, drawn.height - 1, spiral::kMarkColour);
      return tile;
    };
    for (auto& [at, tile] : coarser) tile = marked(explorer::TileKey{coarse, at.first, at.second}.rect());
    QCOMPARE(blackPixels(), 0);
    const spiral::PlaneRect lowerRight = explorer::TileKey{coarse, 1, 1}.rect();
    coarser[{1, 1}] = marked({lowerRight.x, lowerRight.y, 50, lowerRight.height});
    const int partlyDrawn = blackPixels();
    coarser.erase({1, 1});
    QVERIFY(partlyDrawn > 0 && partlyDrawn < blackPixels());
  }

  // A drag by (dx, dy) moves the picture by exactly that, and finds the tiles it brings into view
  // drawn ahead, around the whole view it started from; a click without a drag selects.
  void aDragMovesThePictureByItsDistance() {
    explorer::ExploreWindow& w = open(viewWith([](StoredView& v) { v.boxSize = 3; }));
    const QImage before = w.view().viewImage();
    w.view().grab();  // painted whole, the view asks for the tiles around it
    w.tiles().waitForAll();
    const QPoint from(100, 100), delta(37, -23);
    QTest::mousePress(&w.view(), Qt::LeftButton, {}, from);
    QTest::mouseMove(&w.view(), from + QPoint(10, 5));
    QTest::mouseMove(&w.view(), from + delta);
    QTest::mouseRelease(&w.view(), Qt::LeftButton, {}, from + delta);
    QVERIFY(!w.view().selected());
    for (const explorer::TileKey& key : w.view().visibleTiles()) QVERIFY(w.tiles().cached(key));
    const QImage after = w.view().viewImage();
    QCOMPARE(after.copy(QRect(QPoint(delta.x(), 0), QSize(200, 200))), before.copy(QRect(QPoint(0, -delta.y()), QSize(200, 200))));
    QVERIFY(isTheEnginesRectangle(w, after));  // what moved within the image, and what came into view
    for (const QPoint back : {QPoint(-delta.x(), 0), QPoint(0, -delta.y())}) {
      w.view().panBy(back.x(), back.y());
      QVERIFY(isTheEnginesRectangle(w, w.view().viewImage()));
    }
    QCOMPARE(w.view().viewImage(), before);
    // Pans far enough that the pixels kept move within the image's memory, with and without an
    // earlier image held: what is held keeps its pixels, and each view is still the engine's.
    const QImage held = before.copy();
    for (const QPoint pan : {QPoint(300, 0), QPoint(-290, 270), QPoint(0, -400), QPoint(-600, 10)}) {
      w.view().panBy(pan.x(), pan.y());
      QVERIFY(isTheEnginesRectangle(w, w.view().viewImage()));
    }
    QCOMPARE(before, held);
    // A pixel at a time, past where the pixels kept must move: the view never reaches past the
    // image's memory (which the sanitizer watches), and stays the engine's.
    for (int step = 0; step < 300; ++step) {
      w.view().panBy(1, 0);
      w.view().viewImage();
    }
    QVERIFY(isTheEnginesRectangle(w, w.view().viewImage()));
    QTest::mouseClick(&w.view(), Qt::LeftButton, {}, QPoint(50, 60));
    QCOMPARE(w.view().selected() == spiral::cellAtPlane(w.view().settings(), w.view().planeAt(QPointF(50, 60))), true);
  }

  // Once a view is whole, the tiles within 128 pixels around it are drawn whole too: a drag that
  // long, whichever way it goes, finds every tile drawn, wherever the view's edges fall on them.
  void aWholeViewDrawsTheTilesAroundItAhead() {
    explorer::ExploreWindow& w = open(viewWith([](StoredView& v) { v.boxSize = 1; }));
    // Each step lands far from the tiles drawn before, its edges 150 and 170 pixels on against the
    // tile borders: each edge of the view falls within 128 pixels of a border at some step.
    const int far = 8 * explorer::kTileSize;
    for (int step = 0; step < 7; ++step) {
      w.view().panBy(far + 150, -far - 170);
      w.view().viewImage();
      w.view().grab();  // whole, the view asks for the tiles around it
      w.tiles().waitForAll();
      for (const QPoint drag : {QPoint(128, 0), QPoint(-128, 0), QPoint(0, 128), QPoint(0, -128), QPoint(128, 128)}) {
        w.view().panBy(drag.x(), drag.y());
        for (const explorer::TileKey& key : w.view().visibleTiles()) QVERIFY(w.tiles().cached(key));
        w.view().panBy(-drag.x(), -drag.y());
      }
    }
  }

  // A tile at the view's edge is drawn first only over its part in view, and whole once the view
  // is. A pan before then, even while such parts are still being drawn, shows the engine's picture.
  void edgeTilesAreDrawnInViewFirst() {
    explorer::ExploreWindow& w = open(viewWith([](StoredView& v) { v.boxSize = 1; }), 2, QSize(300, 200));
    w.view().viewImage();
    int partial = 0;
    for (const explorer::TileKey& key : w.view().visibleTiles()) {
      const spiral::PlaneRect part = key.partIn(w.view().planeRect());
      const std::shared_ptr<const explorer::Tile> tile = w.tiles().cached(key, part);
      QVERIFY(tile && tile->drawn == part);
      QCOMPARE(w.tiles().cached(key) != nullptr, tile->isWhole(key));
      partial += !tile->isWhole(key);
    }
    QVERIFY(partial > 0);
    // A pan that needs more of a tile than was drawn shows at once what was, while the rest is drawn.
    const QImage before = w.view().viewImage().convertToFormat(QImage::Format_RGB32);
    w.view().panBy(40, 0);
    const QImage shown = w.view().grab().toImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY(w.tiles().pending() > 0);
    QCOMPARE(shown.copy(40, 0, 260, 200), before.copy(0, 0, 260, 200));
    // New tiles come into view; painted, the view asks for their parts in view, and moves on at once.
    w.view().panBy(-150, 90);
    w.view().grab();
    QVERIFY(w.tiles().pending() > 0);
    w.view().panBy(-5, 3);
    QVERIFY(isTheEnginesRectangle(w, w.view().viewImage()));
    w.view().grab();  // whole, the view asks for the rest of its tiles
    w.tiles().waitForAll();
    for (const explorer::TileKey& key : w.view().visibleTiles()) QVERIFY(w.tiles().cached(key));
  }

  // Once the view is whole, a tile still missing (cancelled meanwhile) shows background, never the
  // pixels another view's tiles left there; while tiles come, those that came are put in place;
  // a tile drawn again with other colours shows its own. Workers place only tiles of the view's
  // settings, never a ring-coloured one, and nothing once the view moved or its image is held.
  void aMissingTileShowsBackground() {
    spiral::ViewSettings settings = explorer::viewSettingsOf(viewWith([](StoredView& v) { v.boxSize = 1; }));
    const spiral::PlanePoint topLeft{-100, -90};
    const QSize size(200, 180);
    const auto keysOf = [&] {
      return std::vector<explorer::TileKey>{{settings, -1, -1}, {settings, 0, -1}, {settings, -1, 0}, {settings, 0, 0}};
    };
    const auto tilesOf = [&](const std::vector<explorer::TileKey>& keys, int missing) {
      std::vector<std::shared_ptr<const explorer::Tile>> tiles;
      for (const explorer::TileKey& key : keys) {
        auto tile = std::make_shared<explorer::Tile>(key.rect());
        tile->result = spiral::drawTile(key.settings, key.rect(), tile->picture);
        tiles.push_back(static_cast<int>(tiles.size()) == missing ? nullptr : tile);
      }
      return tiles;
    };
    // Each pixel from its tile, or background where the tile is missing.
    const auto showsTheTiles = [&](const QImage& image, const std::vector<explorer::TileKey>& keys,
                                   const std::vector<std::shared_ptr<const explorer::Tile>>& tiles) {
      for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
          const size_t k = (y < 90 ? 0 : 2) + (x < 100 ? 0 : 1);
          const spiral::PlaneRect rect = keys[k].rect();
          const int expected = tiles[k] ? tiles[k]->picture.pixel(static_cast<int>(topLeft.x + x - rect.x),
                                                                  static_cast<int>(topLeft.y + y - rect.y))
                                        : spiral::kBlack;
          if (image.pixelIndex(x, y) != expected) return false;
        }
      }
      return true;
    };
    explorer::ViewImage image;
    std::vector<explorer::TileKey> keys = keysOf();
    std::vector<std::shared_ptr<const explorer::Tile>> tiles = tilesOf(keys, -1);
    QVERIFY(showsTheTiles(image.compose(topLeft, size, keys, tiles), keys, tiles));
    // Other settings, whose tiles come one by one, the last never.
    settings.start = 2;
    keys = keysOf();
    tiles = tilesOf(keys, 3);
    const std::shared_ptr<const explorer::Tile> late = std::exchange(tiles[0], nullptr);
    image.compose(topLeft, size, keys, tiles, explorer::ViewImage::Missing::Later);
    tiles[0] = late;
    image.compose(topLeft, size, keys, tiles, explorer::ViewImage::Missing::Later);
    QVERIFY(showsTheTiles(image.compose(topLeft, size, keys, tiles), keys, tiles));
    // Other settings again, a tile missing at once.
    settings.start = 3;
    keys = keysOf();
    tiles = tilesOf(keys, 1);
    QVERIFY(showsTheTiles(image.compose(topLeft, size, keys, tiles), keys, tiles));
    // The missing tile arrives after all.
    tiles[1] = tilesOf(keys, -1)[1];
    QVERIFY(showsTheTiles(image.compose(topLeft, size, keys, tiles), keys, tiles));
    // A tile whose cluster cells took their ring's colour, then the same tile drawn again: each
    // drawing's pixels show, never the first one's where the view stayed.
    const std::shared_ptr<const explorer::Tile> drawnAgain = tiles[2];
    auto byRing = std::make_shared<explorer::Tile>(*drawnAgain);
    byRing->picture.fillBox(0, 0, explorer::kTileSize - 1, explorer::kTileSize - 1, spiral::kMarkColour);
    byRing->result.clusterByRing = true;
    for (const std::shared_ptr<const explorer::Tile>& tile : {std::shared_ptr<const explorer::Tile>(byRing), drawnAgain}) {
      tiles[2] = tile;
      QVERIFY(showsTheTiles(image.compose(topLeft, size, keys, tiles), keys, tiles));
    }

    // Workers put their tiles in place through the view's placement; what they place shows.
    settings.start = 4;
    settings.colorScheme = spiral::ColorScheme::RingNumber;
    keys = keysOf();
    const auto drawnFor = [&](const explorer::TileKey& key) {
      auto tile = std::make_shared<explorer::Tile>(key.rect());
      tile->result = spiral::drawTile(key.settings, key.rect(), tile->picture);
      return tile;
    };
    image.compose(topLeft, size, keys, std::vector<std::shared_ptr<const explorer::Tile>>(4), explorer::ViewImage::Missing::Later);
    std::shared_ptr<explorer::ViewImage::Placement> placement = image.openPlacement(settings);
    QVERIFY(placement);
    tiles.clear();
    for (const explorer::TileKey& key : keys) {
      auto tile = drawnFor(key);
      placement->place(key.settings, *tile);
      QVERIFY(tile->placedBy != 0);
      tiles.push_back(tile);
    }
    QVERIFY(showsTheTiles(image.compose(topLeft, size, keys, tiles), keys, tiles));
    // Neither a tile that took its ring's colour nor one of other settings is placed: the view
    // keeps the pixels it shows.
    auto ringTile = std::make_shared<explorer::Tile>(*tiles[2]);
    ringTile->picture.fillBox(0, 0, explorer::kTileSize - 1, explorer::kTileSize - 1, spiral::kMarkColour);
    ringTile->result.clusterByRing = true;
    ringTile->placedBy = 0;
    placement->place(keys[2].settings, *ringTile);
    spiral::ViewSettings other = settings;
    other.start = 5;
    auto otherTile = drawnFor({other, 0, 0});
    placement->place(other, *otherTile);
    QCOMPARE(ringTile->placedBy + otherTile->placedBy, uint64_t{0});
    QVERIFY(showsTheTiles(image.compose(topLeft, size, keys, tiles), keys, tiles));
    // Once the view has moved, or the image was handed out and is held, nothing is placed.
    image.compose({topLeft.x + 1, topLeft.y}, size, keys, tiles);
    auto afterMove = drawnFor(keys[0]);
    placement->place(keys[0].settings, *afterMove);
    QCOMPARE(afterMove->placedBy, uint64_t{0});
    image.compose(topLeft, size, keys, tiles);
    placement = image.openPlacement(settings);
    const QImage handedOut = image.compose(topLeft, size, keys, tiles);
    const QImage held = handedOut.copy();
    image.compose(topLeft, size, keys, tiles);
    auto marked = drawnFor(keys[2]);  // pixels that would show if they were written
    marked->picture.fillBox(0, 0, explorer::kTileSize - 1, explorer::kTileSize - 1, spiral::kMarkColour);
    placement->place(keys[2].settings, *marked);
    QCOMPARE(marked->placedBy, uint64_t{0});
    QCOMPARE(handedOut, held);
  }

  // A wheel step zooms about the pointer: the cell under it stays under it, at every level.
  void theWheelKeepsTheCellUnderThePointer() {
    explorer::ExploreWindow& w = open(viewWith([](StoredView& v) { v.boxSize = 75; v.start = v.centre = 41; }));
    const QPointF pointer(123, 77);
    const auto cellUnderPointer = [&] { return spiral::cellAtPlane(w.view().settings(), w.view().planeAt(pointer)); };
    for (int step = 0; step < static_cast<int>(std::size(spiral::kZoomLevels)) + 1; ++step) {
      const spiral::CellPos before = cellUnderPointer();
      const int zoom = w.view().settings().zoom;
      QWheelEvent wheel(pointer, w.view().mapToGlobal(pointer), {}, QPoint(0, -120), Qt::NoButton, {}, Qt::NoScrollPhase, false);
      QApplication::sendEvent(&w.view(), &wheel);
      QCOMPARE(w.view().settings().zoom, std::min(zoom + 1, static_cast<int>(std::size(spiral::kZoomLevels)) - 1));
      if (spiral::kZoomLevels[w.view().settings().zoom].cellsPerPixel == 1) QCOMPARE(cellUnderPointer() == before, true);
    }
  }

  // Go to centres on the number's cell at any start; a text that names no number of the spiral
  // is refused with the reason in the current language, and nothing moves.
  void goToCentresOnTheNumber_data() {
    constexpr int en = language::kEnglish, de = language::kGerman;
    addRows<GoToCase>({
        {"near the centre", 1, "2", en, ""},
        {"the largest", 1, " 18446744073709551615 ", en, ""},
        {"far start", 1000000000000000000, "1000000000000000001", en, ""},
        {"the start itself", kLargest, "18446744073709551615", en, ""},
        {"not a number", 1, "12a", en, "\"12a\" is not a whole number"},
        {"empty", 1, "  ", en, "\"\" is not a whole number"},
        {"negative", 1, "-5", de, "\"-5\" ist keine ganze Zahl"},
        {"below the start", 100, "99", en, "99 lies below the start number 100"},
        {"below the start, German", 1000000, "99", de, "99 liegt unter der Anfangszahl 1.000.000"},
        {"past 2^64 - 1", 1, "18446744073709551616", en, "18446744073709551616 lies past 18,446,744,073,709,551,615 (2^64 \u2212 1)"},
    });
  }
  void goToCentresOnTheNumber() {
    QFETCH(GoToCase, row);
    language::intLanguage = row.languageSlot;
    QLocale::setDefault(row.languageSlot == language::kGerman ? QLocale(QLocale::German, QLocale::Germany)
                                                              : QLocale(QLocale::English, QLocale::UnitedStates));
    explorer::ExploreWindow& w = open(viewWith([&](StoredView& v) { v.start = v.centre = row.start; }));
    w.view().panBy(5, 5);
    const spiral::PlanePoint before = w.view().topLeft();
    QVERIFY(goTo(w, row.text));
    if (*row.refusal) {
      QCOMPARE(w.statusText(), QString(row.refusal));
      QVERIFY(w.view().topLeft() == before);
      return;
    }
    const Number n = QString(row.text).trimmed().toULongLong();
    QCOMPARE(spiral::numberOfCell(row.start, w.view().middleCell()), std::optional<Number>(n));
    QCOMPARE(QApplication::focusWidget(), &w.view());  // the keys move the view at once
  }

  // A refusal too long for a narrow window ends in an ellipsis, and resting on it shows it whole;
  // one that fits shows no tip.
  void aCutStatusLineShowsWholeOnRest() {
    explorer::ExploreWindow& w = open(viewWith([](StoredView& v) { v.start = v.centre = 1; }));
    QVERIFY(goTo(w, "18446744073709551616"));
    explorer::ElidingLabel* line = nullptr;
    for (explorer::ElidingLabel* label : w.findChildren<explorer::ElidingLabel*>()) {
      if (label->text() == w.statusText()) line = label;
    }
    QVERIFY(line != nullptr && !line->text().isEmpty());
    const auto rest = [line] {
      QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), line->mapToGlobal(QPoint(2, 2)));
      QApplication::sendEvent(line, &help);
      return help.isAccepted();
    };
    line->setFixedWidth(60);  // as a narrow window leaves it
    QVERIFY(line->isCut());
    QVERIFY(rest());
    QCOMPARE(QToolTip::text(), w.statusText());
    line->setFixedWidth(line->fontMetrics().horizontalAdvance(line->text()) + 20);
    QVERIFY(!line->isCut());
    QVERIFY(!rest());
  }

  // The status bar tells the number under the pointer: 2^64 - 59, the largest prime below 2^64, is
  // "prime", the even number after it has its factors; past 2^64 - 1 there is no number.
  void theStatusBarTellsTheNumberUnderThePointer() {
    explorer::ExploreWindow& w = open(viewWith([](StoredView& v) { v.start = v.centre = 18446744073709551557ULL; v.boxSize = 15; }));
    w.view().viewImage();  // once the tiles are in, the numbers in view: all 59, one prime, whose
                           // cell lies in four tiles
    QCOMPARE(w.rangeText(), QString("18,446,744,073,709,551,557 to 18,446,744,073,709,551,615 in view, 1 shown"));
    const QPoint middle(w.view().width() / 2, w.view().height() / 2);
    QTest::mouseMove(&w.view(), middle);
    QVERIFY2(w.pointerText().startsWith("18,446,744,073,709,551,557: prime; Ring 1 (0, 0)"), qPrintable(w.pointerText()));
    QTest::mouseMove(&w.view(), middle + QPoint(15, 0));
    QVERIFY2(w.pointerText().startsWith("18,446,744,073,709,551,558 = 2 \u00D7"), qPrintable(w.pointerText()));
    QTest::mouseMove(&w.view(), middle + QPoint(15 * 6, 15 * 6));  // ring 7 passes 2^64 - 1
    QVERIFY2(w.pointerText().startsWith("Beyond"), qPrintable(w.pointerText()));
    // A key moves the view under the resting pointer: the line tells the cell now under it, as a
    // move of the pointer there would.
    QTest::mouseMove(&w.view(), middle);
    QTest::keyClick(&w.view(), Qt::Key_Right);
    const QString afterKey = w.pointerText();
    QVERIFY2(!afterKey.startsWith("18,446,744,073,709,551,557"), qPrintable(afterKey));
    QTest::mouseMove(&w.view(), middle + QPoint(1, 0));
    QTest::mouseMove(&w.view(), middle);
    QCOMPARE(afterKey, w.pointerText());
    // Once the pointer has left, a key leaves the line empty.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&w.view(), &leave);
    QTest::keyClick(&w.view(), Qt::Key_Left);
    QCOMPARE(w.pointerText(), QString());
  }

  // The numbers in view are those of the cells with a pixel in it, and the shown ones are counted
  // where a cell's centre (at density levels its pixel) lies in it: the edge tiles reaching beyond
  // the view add nothing. Against the plain walk and the reference.
  void theStatusBarCountsWhatIsInView_data() {
    addRows<InViewCase>({{"1-pixel cells", 1, 1, {200, 90}}, {"1-pixel cells above the centre", 1, 1, {0, -300}},
                         {"7-pixel cells, cut by every edge", 7, 1, {-333, 250}},
                         {"2 x 2 cells a pixel", 1, 2, {-70, -45}}});
  }
  void theStatusBarCountsWhatIsInView() {
    QFETCH(InViewCase, row);
    const int s = row.boxSize, k = row.cellsPerPixel, half = (s - 1) / 2;
    explorer::ExploreWindow& w = open(viewWith([&](StoredView& v) { v.boxSize = s, v.cellsPerPixel = k; }), 2, QSize(301, 203));
    w.view().panBy(row.pan.x(), row.pan.y());
    w.view().viewImage();
    const spiral::PlanePoint topLeft = w.view().topLeft();
    const auto inView = [&](int64_t x, int64_t y) { return x >= topLeft.x && x < topLeft.x + 301 && y >= topLeft.y && y < topLeft.y + 203; };
    const auto pixelOf = [&](int64_t cell) { return k > 1 ? (cell - (cell < 0 ? k - 1 : 0)) / k : cell * s; };
    Number smallest = kLargest, largest = 0, shown = 0;
    for (PlainWalk walk; walk.step() < 2000000; walk.next()) {
      const Number n = walk.step() + 1;
      const int64_t x = pixelOf(walk.column()), y = pixelOf(walk.row());
      if (x + half >= topLeft.x && x - half < topLeft.x + 301 && y + half >= topLeft.y && y - half < topLeft.y + 203) {
        smallest = std::min(smallest, n), largest = std::max(largest, n);  // a pixel of the cell in view
      }
      shown += inView(x, y) && referenceIsPrime(n);
    }
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    QCOMPARE(w.rangeText(), QString("%1 to %2 in view, %3 shown").arg(english.toString(smallest), english.toString(largest), english.toString(shown)));
  }

  // Ctrl+C copies the selected cell's report, or with none selected the view; Ctrl+S writes the
  // view as a palette PNG without the outlines.
  void copyAndSaveTheView() {
    explorer::ExploreWindow& w = open(viewWith([](StoredView& v) { v.start = v.centre = 41; v.boxSize = 15; }));
    const QImage view = w.view().viewImage();
    QTest::keyClick(&w.view(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), view.convertToFormat(QImage::Format_RGB32));
    QTest::mouseClick(&w.view(), Qt::LeftButton, {}, QPoint(w.view().width() / 2, w.view().height() / 2));
    QTest::keyClick(&w.view(), Qt::Key_C, Qt::ControlModifier);
    QVERIFY(QApplication::clipboard()->text().startsWith("41: prime\nRing 1\nN 4k\u00B2"));
    QTemporaryDir folder;
    desktop.saveFileName = folder.filePath("view.png");
    QTest::keyClick(&w.view(), Qt::Key_S, Qt::ControlModifier);
    const QImage saved(desktop.saveFileName);
    QCOMPARE(saved.format(), QImage::Format_Indexed8);
    QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), view.convertToFormat(QImage::Format_RGB32));
    QVERIFY(w.view().grab().toImage().convertToFormat(QImage::Format_RGB32) != saved.convertToFormat(QImage::Format_RGB32));
    QCOMPARE(w.statusText(), "Saved to " + desktop.saveFileName);
  }

  // Resting on a shown cell: the tooltip tells the rays through it, counted over their cells in
  // view, and outlines them in orange until it goes. An unshown cell has no rays.
  void theTooltipTellsTheRaysInView() {
    explorer::ExploreWindow& w = open(viewWith([](StoredView& v) { v.start = v.centre = 41; v.boxSize = 15; }));
    const QPoint middle(w.view().width() / 2, w.view().height() / 2);
    const auto rest = [&w](QPoint at) {
      QHelpEvent help(QEvent::ToolTip, at, w.view().mapToGlobal(at));
      QApplication::sendEvent(&w.view(), &help);
      return QToolTip::text();
    };
    const QStringList lines = rest(middle).split('\n');
    QCOMPARE(lines.join('\n'), w.inspectorText({0, 0}));
    QCOMPARE(lines.size(), 2 + 8);  // the number, its ring and the centre's eight rays
    // Euler's ray north-east, 4k^2 - 2k + 41, over its cells in view (its primes there the tiles'
    // test counts by the plain test).
    const spiral::PlanePoint topLeft = w.view().topLeft();
    const spiral::CellRange in = spiral::cellsOf(w.view().settings(), {topLeft.x, topLeft.y, w.view().width(), w.view().height()});
    const int64_t cells = std::min(-in.row0, in.column1) + 1;
    QCOMPARE(lines.filter(QString(" primes in %1 cells, expected ").arg(cells)).filter("NE 4k\u00B2 \u2212 2k + 41: ").size(), 1);
    // Its outline runs through the centres of those cells; the tooltip gone, so is the outline.
    const QRect far = w.view().cellRect({-(cells - 2), cells - 2}), near = w.view().cellRect({-3, 3});
    const auto orange = [&w](QRect cell) { return w.view().grab().toImage().pixel(cell.center()) == 0xFFFF8C00; };
    QVERIFY(orange(near) && orange(far));
    QToolTip::hideText();
    QTRY_VERIFY(!orange(near));
    // 42 is not prime: its tooltip tells the number alone.
    QCOMPARE(rest(middle + QPoint(15, 0)).split('\n').size(), 2);
  }

  // Ctrl+E in the window starts the explorer on the picture on the screen, through the desktop.
  void ctrlEStartsTheExplorerOnThePicture() {
    MainWindowHarness harness;
    frmMain& w = harness.start({"--language", "de"});
    w.txbStartNumber->setText("41");
    w.cboBoxSize->setCurrentIndex(4);  // 15 pixels
    w.optSquares->setChecked(true);
    w.cmdDraw->click();
    QTest::keyClick(&w, Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(harness.desktop.startedPrograms.size(), size_t(1));
    const auto& started = harness.desktop.startedPrograms.front();
    QVERIFY(started.program.endsWith("spirelle-explore"));
    QCOMPARE(started.arguments.join(' '),
             QString("--start 41 --cell 15 --shape squares --scheme cluster --show primes --numerals --language de"));
    QVERIFY(std::holds_alternative<ExploreOptions>(parse(started.arguments)));
    // On X11 the start-number box, where the focus mostly is, claims Ctrl+E as end of line: the key
    // press it then gets starts the explorer all the same.
    interaction::EventHook claimsEndOfLine(w.txbStartNumber, [](QEvent* event) {
      if (event->type() != QEvent::ShortcutOverride) return false;
      event->accept();  // as the box does with the X11 key scheme, which the offscreen one lacks
      return true;
    });
    QTest::keyClick(w.txbStartNumber, Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(harness.desktop.startedPrograms.size(), size_t(2));
    QCOMPARE(w.txbStartNumber->text(), QString("41"));
  }
};

QTEST_MAIN(TestExplore)
#include "test_explore.moc"
