// The main window: start-up with and without a settings store, shutdown, the option handlers and
// the window's side of the draw pass; the start-number box (its key filter, the size test and its
// message, the scroll bar beside it, driven through the real controls); Spiral In and Spiral Out, and Pause, Resume and Stop (the click
// on a spiral button does not return until its animation has ended, so each test runs its steps
// inside the animation's wait loop and drives the clock ticks itself); the settings store file, how
// it is read and written and that writing it is all or nothing; and faults of the program's
// surroundings, in which it must keep running and lose nothing saved. Then the texts: the word table,
// one text per entry and language slot chosen by the current language, and the help window, its
// texts, its captions and where it appears.

#include <algorithm>

#include "MainWindowHarness.h"
#include "PictureImage.h"
#include "Rows.h"
#include "SettingsStore.h"
#include "SpiralView.h"
#include "frmHelp.h"
#include "Twips.h"
#include "WordTable.h"

using app::StoredSettings;

namespace {

constexpr int kOnePixelIndex = 0, kSevenPixelIndex = 3, kFifteenPixelIndex = 4;  // list indices
constexpr int kOneTickPerSecond = 0, kWhiteScheme = 6;
const QByteArray kDefaultStore("1\r\n0\r\n1\r\n3,0,0,2\r\n\"1\"\r\n0\r\n1\r\n0\r\n0\r\n");

// What start-up restored: the indices of the box size, colour scheme, class and clock ticks lists,
// the start number, the ticked boxes, the cell shape and the language.
QString restoredIn(const frmMain& w) {
  QStringList indices;
  for (const QComboBox* list : {w.cboBoxSize, w.cboColorBy, w.cboShow, w.cboClockTicks})
    indices << QString::number(list->currentIndex());
  QString text = indices.join(',') + " \"" + w.txbStartNumber->text() + '"';
  const std::pair<const QCheckBox*, const char*> boxes[] = {
      {w.chkGrid, " grid"}, {w.chkNumerals, " numerals"}, {w.chkCentralNumberPrime, " central"},
      {w.chkCalculateLongest, " longest"}};
  for (const auto& [box, name] : boxes) text += box->isChecked() ? name : "";
  return text + (w.optSquares->isChecked() ? " squares" : " circles") +
         (language::intLanguage == language::kGerman ? " German" : " English");
}
const QString kDefaults = QStringLiteral("3,0,0,2 \"1\" numerals circles English");

// Ends the program through a click on Quit or by closing the window, and returns the store as it
// is while the other-software window shows at the end.
QByteArray storeAtTheEnd(MainWindowHarness& harness, const std::function<void()>& end) {
  QByteArray stored;
  const int status = exitStatusAfter(end, [&] { stored = harness.storeBytes(); });
  return status == 0 ? stored : QByteArray("the program did not end");
}

// What is offered: the spiral buttons, grid, numerals, the prime statistics and the count shown.
struct Offered { const char* name; int show, boxSize; QString start; QList<bool> offered; };

// What the user can see of every control: place, shown or not, and for the shown ones, enabled
// or not. The controls are named by kind and place, since raising and lowering reorders them.
QStringList visibleLayout(const frmMain& w) {
  QStringList layout;
  const QList<const QObject*> containers{&w, w.fraCellObject, w.fraStartNumberFrame, w.fraButtonFrame};
  for (const QWidget* control : w.findChildren<QWidget*>()) {
    if (!containers.contains(control->parent())) continue;
    QString line;
    QDebug(&line) << control->metaObject()->className() << control->geometry() << "shown"
                  << control->isVisible() << "enabled" << (control->isVisible() && control->isEnabled());
    layout << line;
  }
  layout.sort();
  return layout;
}

int stackIndex(const QWidget* control) { return control->parent()->children().indexOf(control); }

// No animation runs and its clock is still.
bool animationIsOver(frmMain& w) { return !w.isSpiralling() && !w.ClkClock->isActive(); }

// `frames`: the start numbers drawn by five ticks; fewer: the run ends.
struct Steps { const char* name; bool inward, primesOnly; QString start, frames; };

// Settings that differ from the defaults everywhere, with a comma inside the quoted start text.
const StoredSettings kUnusual{.version = 1, .language = 1, .shape = 0, .boxSizeIndex = 5, .colorByIndex = 3,
                              .showIndex = 2, .clockTicksIndex = 4, .startNumberText = "1,2", .grid = 1,
                              .numerals = 0, .centralNumberPrime = 1, .calculateLongest = 1};

// Types `text` into the emptied box, key by key.
void typeInto(QLineEdit* box, const QString& text) {
  box->clear();
  QTest::keyClicks(box, text);
}

// A click on the scroll bar's upper or lower arrow.
void clickArrow(QScrollBar* bar, bool up) {
  QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, up ? 1 : bar->height() - 2));
}

// The store before start-up (none when null), the captions and list texts the window shows, whether
// the window is closed rather than Quit clicked, and the store left at the end.
struct Starting { const char* name; QByteArray store; QStringList shown; bool byClose; QByteArray stored; };
struct Step { const char* name; QString start; bool primesOnly, up; QString expected; };

// The store before the run (none when null), the desktop's language and the command line; whether
// the window speaks German, and the language line the run stores.
struct Speaking { const char* name; QByteArray store; QLocale::Language desktop; QStringList arguments; bool german; };

}  // namespace

class TestAppWindow : public QObject {
  Q_OBJECT

  std::unique_ptr<MainWindowHarness> harness;

  // A fresh window with the spiral drawn from `start`.
  frmMain& startAt(const QString& start) {
    harness = std::make_unique<MainWindowHarness>();
    frmMain& w = harness->start();
    w.txbStartNumber->setText(start);
    QTest::keyClick(w.txbStartNumber, Qt::Key_Return);
    return w;
  }

 private slots:
  void init() { harness = std::make_unique<MainWindowHarness>(); }
  void cleanup() { harness.reset(); }

  // A first run shows the defaults and Quit writes them; a German store whose values share lines
  // shows German captions, and closing the window saves like Quit, in the store's own layout.
  void startUpShowsTheStoreAndTheEndWritesIt_data() {
    addRows<Starting>({
        {"first run, Quit", {}, {"7", "Cluster", "Prime numbers", "circles", "Number shown:", "", "None (white)", "Quit"},
         false, kDefaultStore},
        {"German store, closed", "1,1,1\n3,6,3,2\n\"1\",0,1,0,0\n",
         {"7", "Keine (Weiss)", "Dreieckzahlen", "Kreise", "Anzahl der sicht-", "baren Zahlen:", "Keine (Weiss)", "Beenden"},
         true, "1\r\n1\r\n1\r\n3,6,3,2\r\n\"1\"\r\n0\r\n1\r\n0\r\n0\r\n"}});
  }
  void startUpShowsTheStoreAndTheEndWritesIt() {
    QFETCH(Starting, row);
    if (!row.store.isNull()) QVERIFY(harness->writeStore(row.store));
    frmMain& w = harness->start();  // a first run restores the defaults, as from a store of garbage below
    QCOMPARE(w.focusWidget(), w.txbStartNumber);
    QCOMPARE(w.txbStartNumber->cursorPosition(), 1);
    QCOMPARE((QStringList{w.cboBoxSize->currentText(), w.cboColorBy->currentText(), w.cboShow->currentText(),
                          w.optCircles->text(), w.lblNumberShown->text(), w.lblNumberShown2->text(),
                          w.cboColorBy->itemText(6), w.cmdQuit->text()}),
             row.shown);
    // Start-up names Arial for the frames, labels, boxes, option buttons, lists and buttons; the
    // text box keeps the window's own font, and so does the picture.
    const QString windowFont = w.font().family();
    QVERIFY(windowFont != "Arial");
    for (QWidget* control : std::initializer_list<QWidget*>{w.fraCellObject, w.fraStartNumberFrame, w.fraButtonFrame,
                                                            w.lblUse, w.lblEndNumberOutput, w.chkGrid, w.optSquares,
                                                            w.cboShow, w.cmdDraw, w.cmdStopCalc})
      QCOMPARE(control->font().family(), QString("Arial"));
    for (QWidget* control : std::initializer_list<QWidget*>{w.txbStartNumber, w.picSpiral})
      QCOMPARE(control->font().family(), windowFont);
    QCOMPARE(storeAtTheEnd(*harness, [&] { row.byClose ? void(w.close()) : w.cmdQuit->click(); }), row.stored);
  }

  // Values stored, values out of range, and garbage: each comes back or falls back to its default.
  void storedValuesComeBackWithFallbacks_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    // A German store in which no value is the default.
    const QByteArray valid("1\r\n1\r\n0\r\n5,3,2,0\r\n\"17\"\r\n1\r\n0\r\n1\r\n1\r\n");
    const QString validRestored = "5,3,2,0 \"17\" grid central longest squares German";
    QTest::newRow("every value kept") << valid << validRestored;
    QTest::newRow("the largest store read") << valid + QByteArray(4096 - valid.size(), '\n') << validRestored;
    // One line of the defaults changed, with Central Prime ticked: a start that is no prime unticks it.
    const std::tuple<const char*, int, const char*, QString> changed[] = {
        {"box size 0 is 7 pixels", 4, "0,0,0,2", kDefaults},
        {"box size 2 is 7 pixels", 4, "2,1,0,2", "3,1,0,2 \"1\" numerals circles English"},
        {"colour -1 is 0", 4, "3,-1,2,2", "3,0,2,2 \"1\" numerals circles English"},
        {"indices past the lists", 4, "8,7,5,3", kDefaults},
        {"check value 2 is unticked", 6, "2", kDefaults},
        {"start 4 unticks central prime", 5, "\"4\"", "3,0,0,2 \"4\" numerals circles English"},
        {"start 5 keeps central prime", 5, "\"5\"", "3,0,0,2 \"5\" numerals central circles English"},
        {"start not digits", 5, "\"12a\"", kDefaults},
        {"start in blanks", 5, "\" 13 \"", "3,0,0,2 \"13\" numerals central circles English"},
        // Kept as stored: the first draw refuses it with its message.
        {"start above the largest", 5, "\"2147483647\"", "3,0,0,2 \"2147483647\" numerals circles English"},
        {"unknown language", 2, "2", kDefaults}};
    for (const auto& [name, line, text, expected] : changed) {
      QStringList lines = defaultStoreLines();
      lines[7] = "1";  // Central Prime
      lines[line - 1] = text;
      QTest::newRow(name) << storeOf(lines) << expected;
    }
    // Another version and garbage: the defaults.
    const auto replaced = [&](const char* indices) { return QByteArray(valid).replace("5,3", indices); };
    const std::pair<const char*, QByteArray> ignored[] = {
        {"another version", "2" + valid.mid(1)}, {"huge line", QByteArray(5'000'000, '7')},
        {"truncated after the list indices", valid.left(18)}, {"letter for a number", replaced("x,3")},
        {"truncated before the last value", valid.chopped(3)}, {"past 16 bits", replaced("5,40000")},
        {"unclosed quote", valid.left(18) + "\"17\r\n1\r\n0\r\n1\r\n1\r\n"},
        {"one byte past the largest store", valid + QByteArray(4097 - valid.size(), '\n')}};
    for (const auto& [name, bytes] : ignored) QTest::newRow(name) << bytes << kDefaults;
  }
  void storedValuesComeBackWithFallbacks() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QVERIFY(harness->writeStore(bytes));
    frmMain& w = harness->start();
    QCOMPARE(restoredIn(w), expected);
    // Only a start number too large is refused, with the message of the start-number box.
    QCOMPARE(harness->desktop.messages.size(), size_t(w.txbStartNumber->text() == QString("2147483647")));
  }

  // A first run, or a store that gives no settings, speaks the desktop's language if the program has
  // it; a store speaks its own; the command line's --language wins over both and is stored at the end.
  void theLanguageComesFromTheCommandLineTheStoreOrTheDesktop_data() {
    QStringList germanLines = defaultStoreLines();
    germanLines[1] = "1";
    const QByteArray german = storeOf(germanLines);
    addRows<Speaking>({
        {"first run, German desktop", {}, QLocale::German, {}, true},
        {"first run, French desktop", {}, QLocale::French, {}, false},
        {"English store, German desktop", kDefaultStore, QLocale::German, {}, false},
        {"German store, English desktop", german, QLocale::English, {}, true},
        {"a store of garbage, German desktop", "garbage", QLocale::German, {}, true},
        {"--language de over an English store", kDefaultStore, QLocale::English, {"--language", "de"}, true},
        {"--language=en on a German first run", {}, QLocale::German, {"--language=en"}, false}});
  }
  void theLanguageComesFromTheCommandLineTheStoreOrTheDesktop() {
    QFETCH(Speaking, row);
    if (!row.store.isNull()) QVERIFY(harness->writeStore(row.store));
    harness->desktop.locale = QLocale(row.desktop);
    frmMain& w = harness->start(row.arguments);
    QCOMPARE(w.cmdQuit->text() + ", " + w.cboShow->currentText(), row.german ? "Beenden, Primzahlen" : "Quit, Prime numbers");
    QCOMPARE(harness->storeBytes(), row.store);  // left as it was until the end writes it
    const QByteArray stored = storeAtTheEnd(*harness, [&] { w.cmdQuit->click(); });
    QCOMPARE(stored.split('\n').value(1), row.german ? QByteArray("1\r") : QByteArray("0\r"));
  }

  // A store that exists but cannot be read, here a folder in its place, starts the window as a
  // first run does, in the desktop's language; the program runs and ends all the same.
  void anUnreadableStoreSpeaksTheDesktopsLanguage() {
    QVERIFY(QDir().mkpath(harness->storePath()));
    harness->desktop.locale = QLocale(QLocale::German);
    frmMain& w = harness->start();
    QCOMPARE(w.cmdQuit->text(), QString("Beenden"));
    QCOMPARE(exitStatusAfter([&] { w.cmdQuit->click(); }), 0);
    QVERIFY(harness->desktop.messages.empty() && QFileInfo(harness->storePath()).isDir());
  }

  // A language the program does not have ends it before any window, with status 64 and a message
  // on stderr; the arguments it does not know stay for Qt, in their order. Its desktop name is the
  // name of its desktop entry.
  void theCommandLineRefusesUnknownLanguagesAndLeavesTheRestToQt() {
    const std::pair<QStringList, QString> refused[] = {
        {{"--language", "fr"}, "spirelle: --language: 'fr' is not one of en|de\n"},
        {{"--language=EN"}, "spirelle: --language: 'EN' is not one of en|de\n"},
        {{"--language"}, "spirelle: --language needs a value, one of en|de\n"}};
    for (const auto& [arguments, message] : refused) {
      QProcess program;
      program.start(SPIRELLE_BINARY, arguments);
      QVERIFY(program.waitForFinished(10000) && program.exitStatus() == QProcess::NormalExit);
      QCOMPARE(program.exitCode(), 64);
      const QString told = QString::fromLocal8Bit(program.readAllStandardError());
      QVERIFY2(told.startsWith(message), qPrintable(told));
      QVERIFY(told.contains("--language LANG") && program.readAllStandardOutput().isEmpty());  // the usage after it
    }
    QStringList rest;
    const app::LaunchOptions options =
        launchOptionsOf({"-style", "fusion", "--language=de", "-reverse", "--language", "en"}, &rest);
    QCOMPARE(options.language, std::optional(language::kEnglish));  // the last one counts
    QCOMPARE(rest, (QStringList{"-style", "fusion", "-reverse"}));

    app::introduceToDesktop();
    QCOMPARE(QGuiApplication::desktopFileName() + ".desktop", QFileInfo(SPIRELLE_DESKTOP_ENTRY).fileName());
  }

  // What a screen reader says: each control's name is its caption, or for the lists, the box, its
  // scroll bar and the picture, the caption beside them; the picture's description tells what the
  // last pass drew. In both languages.
  void screenReadersHearTheCaptionsAndWhatThePictureShows() {
    const auto said = [](QWidget* control, QAccessible::Text text = QAccessible::Name) {
      return QAccessible::queryAccessibleInterface(control)->text(text);
    };
    // The label that names a control, where the desktop's screen readers look for a list's name.
    const auto labelOf = [](QWidget* control) {
      const auto labels = QAccessible::queryAccessibleInterface(control)->relations(QAccessible::Label);
      return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
    };
    for (const bool german : {false, true}) {
      harness = std::make_unique<MainWindowHarness>();
      harness->desktop.locale = QLocale(german ? QLocale::German : QLocale::English);
      frmMain& w = harness->start();
      for (QAbstractButton* button : w.findChildren<QAbstractButton*>()) {
        QVERIFY(!button->text().isEmpty());
        QCOMPARE(said(button), button->text());
      }
      QCOMPARE((QStringList{labelOf(w.cboBoxSize), labelOf(w.cboColorBy), labelOf(w.cboShow),
                            labelOf(w.cboClockTicks), labelOf(w.txbStartNumber)}),
               (QStringList{w.lblSizeInPixels->text(), w.lblColorBy->text(), w.lblShow->text(),
                            w.lblClockTicks->text(), w.lblStartNumber->text()}));
      QCOMPARE((QStringList{w.cboBoxSize->accessibleName(), w.cboColorBy->accessibleName(),
                            w.cboShow->accessibleName(), w.cboClockTicks->accessibleName(), said(w.txbStartNumber),
                            said(w.vsbStartNumber), said(w.picSpiral)}),
               (german ? QStringList{"Groesse (in Pixeln)", "Faerben nach", "Anzeigen", "Clock ticks per sec.",
                                     "Anfangszahl", "Anfangszahl", "Zahlenspirale"}
                       : QStringList{"Size (in pixels)", "Color by", "Show", "Clock ticks per sec.", "Start number",
                                     "Start number", "Number spiral"}));
      // 739 primes up to 5625, the 75 x 75 numbers of 7-pixel cells.
      QCOMPARE(said(w.picSpiral, QAccessible::Description),
               german ? QString("Spirale der Zahlen 1 bis 5625; Primzahlen: 739 angezeigt")
                      : QString("Spiral of the numbers 1 to 5625; prime numbers: 739 shown"));
      w.cboShow->setCurrentIndex(4);  // all numbers, from 10 on
      typeInto(w.txbStartNumber, "10");
      QTest::keyClick(w.txbStartNumber, Qt::Key_Return);
      QCOMPARE(said(w.picSpiral, QAccessible::Description),
               german ? QString("Spirale der Zahlen 10 bis 5634; Alle Zahlen: 5625 angezeigt")
                      : QString("Spiral of the numbers 10 to 5634; all numbers: 5625 shown"));
    }
  }

  // Refilling the lists in another language keeps their selections and draws nothing either.
  void optionHandlersRedrawOrOnlyRefocus() {
    frmMain& w = harness->start();
    const std::pair<std::function<void()>, bool> changes[] = {
        {[&] { w.optSquares->click(); }, true},
        {[&] { w.cboBoxSize->setCurrentIndex(kFifteenPixelIndex); }, true},
        {[&] { w.chkGrid->click(); }, true}, {[&] { w.chkNumerals->click(); }, true},
        {[&] { w.cboShow->setCurrentIndex(3); }, true}, {[&] { w.cboColorBy->setCurrentIndex(4); }, true},
        {[&] { w.cboClockTicks->setCurrentIndex(0); }, false},
        {[&] { w.chkCentralNumberPrime->click(); }, false}, {[&] { w.chkCalculateLongest->click(); }, false},
        {[&] { w.cboBoxSize_Click(); }, false},  // the size already shown
        // The user's choices: another item by key, and the item already selected.
        {[&] { QTest::keyClick(w.cboShow, Qt::Key_Up); }, true},
        {[&] { emit w.cboShow->activated(w.cboShow->currentIndex()); }, true},
        {[&] { emit w.cboColorBy->activated(w.cboColorBy->currentIndex()); }, true},
        {[&] { emit w.cboBoxSize->activated(w.cboBoxSize->currentIndex()); }, false}};
    // The user's next choice comes in an event of its own.
    for (const auto& [change, redraws] : changes) {
      QCOMPARE(redrawn(w, [&run = change] { run(); QCoreApplication::processEvents(); }), redraws);
    }
    language::intLanguage = language::kGerman;
    QVERIFY(!redrawn(w, [&] { w.SetAllLanguageDependentText(); }));
    QCOMPARE(w.cboColorBy->currentText() + ", " + w.cboShow->currentText(), "Farbreihenfolge, Quadratzahlen");
  }

  // A box size that the start number cannot fill returns to the last size drawn; a start number too
  // large for the cells starts no animation. Each is told once.
  void refusalsKeepTheLastPictureAndStartNoAnimation() {
    frmMain& w = startAt(QStringLiteral("2147478022"));  // 7-pixel cells end at 2147483646
    w.cboBoxSize->setCurrentIndex(kOnePixelIndex);
    QCOMPARE(harness->desktop.messages.size(), 1u);
    QCOMPARE(harness->desktop.messages[0].text,
             QStringLiteral("End number would be greater than 2^31 - 2 = 2147483646."));
    QCOMPARE(w.cboBoxSize->currentIndex(), kSevenPixelIndex);
    w.txbStartNumber->setText(QStringLiteral("2147483600"));  // 49 numbers fit, 5625 do not
    QTest::mouseClick(w.cmdSpiralIn, Qt::LeftButton);
    QVERIFY(animationIsOver(w) && w.cmdDraw->isVisible());
    QCOMPARE(harness->desktop.messages.size(), 2u);  // the size test's own message
  }

  void legendAndOtherSoftwareButtonNeverShowTogether() {
    frmMain& w = harness->start();
    const int legendBoxes[] = {0, 6, 6, 6, 5, 0, 0};
    for (int scheme : {3, 0, 1, 6, 2, 5, 4}) {
      w.cboColorBy->setCurrentIndex(scheme);
      const auto shown = static_cast<int>(
          std::count_if(w.Picture1.begin(), w.Picture1.end(), [](QWidget* box) { return box->isVisible(); }));
      QCOMPARE(shown, legendBoxes[scheme]);
      QCOMPARE(w.cmdCWsoftware->isVisible(), shown == 0);
    }
  }

  // Animation, grid marks, numerals and the statistics are offered only where they mean something.
  void controlsOfferedFollowTheChoice_data() {
    addRows<Offered>({
        {"primes, 15 pixels", 0, kFifteenPixelIndex, "1", {1, 1, 1, 1, 1}},
        {"no primes", 0, 7, "19610", {1, 1, 1, 0, 1}},
        {"random", 1, kFifteenPixelIndex, "1", {0, 1, 1, 0, 1}},
        {"squares, 1 pixel", 2, kOnePixelIndex, "1", {0, 0, 0, 0, 1}},
        {"all numbers", 4, kFifteenPixelIndex, "1", {0, 0, 1, 0, 0}}});
  }
  void controlsOfferedFollowTheChoice() {
    QFETCH(Offered, row);
    frmMain& w = harness->start();
    w.txbStartNumber->setText(row.start);
    w.cboBoxSize->setCurrentIndex(row.boxSize);
    w.cboShow->setCurrentIndex(row.show);
    QCOMPARE((QList<bool>{w.cmdSpiralIn->isVisible() && w.cmdSpiralOut->isVisible(), w.chkGrid->isEnabled(),
                          w.chkNumerals->isEnabled(), w.lblSmallestPrimeOutput->isVisible(),
                          w.lblNumberShownOutput->isVisible()}),
             row.offered);
  }

  // While a 1-pixel pass yields, a second draw request is ignored and Grid and Numerals are locked;
  // stopped by its button or by Esc, the pass keeps its partial picture and shows none of the
  // statistics of the pass before.
  void aOnePixelPassIgnoresDrawRequestsAndStopsWithItsPartialPicture_data() {
    QTest::addColumn<bool>("byEsc");
    QTest::newRow("Stop button") << false;
    QTest::newRow("Esc") << true;
  }
  void aOnePixelPassIgnoresDrawRequestsAndStopsWithItsPartialPicture() {
    QFETCH(bool, byEsc);
    frmMain& w = harness->start();
    w.cboBoxSize->setCurrentIndex(kFifteenPixelIndex);  // Grid and Numerals enabled before the pass
    w.chkCalculateLongest->setChecked(true);
    w.txbStartNumber->setText(QStringLiteral("2"));
    bool drawnDuringPass = true, locked = false;
    QTimer::singleShot(0, &w, [&] {
      locked = !w.chkGrid->isEnabled() && !w.chkNumerals->isEnabled();
      const QImage partial = spiral::imageOf(w.picture).copy();
      w.DrawSpiral();
      drawnDuringPass = spiral::imageOf(w.picture) != partial;
      if (byEsc) {
        press(w, Qt::Key_Escape);
      } else {
        w.cmdStopCalc->click();
      }
    });
    w.cboBoxSize->setCurrentIndex(kOnePixelIndex);
    QVERIFY(!drawnDuringPass && locked);
    QCOMPARE(w.intBoxSizeIndex, kOnePixelIndex);
    QVERIFY(w.picture.isMarked(w.lastPass.geometry.centerX, w.lastPass.geometry.centerY));  // 2, drawn first
    QVERIFY(!w.picture.isMarked(0, 0));                       // the far corner was never reached
    for (QLabel* output : {w.lblEndNumberOutput, w.lblNumberOfNumbersOutput, w.lblNumberShownOutput,
                           w.lblSmallestPrimeOutput, w.lblLargestPrimeOutput, w.lblLongestNWSEOutput,
                           w.lblLongestSWNEOutput})
      QCOMPARE(output->text(), QString());
    QCOMPARE(w.lblP->text(), QStringLiteral("P"));
  }

  void stepsGoThroughTheNumbersOrThePrimes_data() {
    addRows<Steps>({
        // 7-pixel cells: 75 x 75 numbers, so Spiral In ends at 2147483646 - 5624. Where each step
        // goes is the tick rule's, pinned by the renderer's animations; here the window's ticks.
        {"in from the largest", true, false, "2147478022", ""},
        {"in to the largest", true, false, "2147478020", "2147478021 2147478022"},
        {"in from a composite, primes", true, true, "24", "29 31 37 41 43"},
        {"out from a composite, primes", false, true, "10", "7 5 3 2"}});
  }
  void stepsGoThroughTheNumbersOrThePrimes() {
    QFETCH(Steps, row);
    frmMain& w = startAt(row.start);
    w.chkCentralNumberPrime->setChecked(row.primesOnly);
    QStringList drawn;
    animate(w, row.inward ? w.cmdSpiralIn : w.cmdSpiralOut, [&] {
      for (int tick = 0; tick < 5 && !w.blnSpiralRunEnded; ++tick) {
        const bool step = redrawn(w, [&] { w.ClkClock_Timer(); });
        QCOMPARE(step, !w.blnSpiralRunEnded);  // one pass per step, none at the end
        if (step) drawn << w.lblStartNumberOutput->text();
      }
    });
    QCOMPARE(drawn.join(' '), row.frames);  // fewer than five frames: a tick ended the run
    QCOMPARE(w.txbStartNumber->text(), drawn.isEmpty() ? row.start : drawn.last());  // the last frame stays
    QVERIFY(harness->desktop.messages.empty());
    QVERIFY(animationIsOver(w) && w.cmdSpiralIn->isVisible() && !w.cmdStopButton->isVisible());
  }

  void realClockTicksRunTheAnimationToItsEnd() {
    frmMain& w = startAt(QStringLiteral("3"));
    QTimer::singleShot(5000, &w, [&w] { w.cmdStopButton_Click(); });  // only if the clock never ticks
    QTest::mouseClick(w.cmdSpiralOut, Qt::LeftButton);
    QCOMPARE(w.txbStartNumber->text(), QStringLiteral("1"));
  }

  // With the other-software button (cluster) and with a colour legend (diagonal).
  void layoutComesAndGoes() {
    for (int scheme : {0, 1}) {
      frmMain& w = startAt(QStringLiteral("5"));
      w.cboColorBy->setCurrentIndex(scheme);
      const QStringList before = visibleLayout(w);
      const int frameIndex = stackIndex(w.fraStartNumberFrame);

      animate(w, w.cmdSpiralIn, [&] {
        QVERIFY(w.cmdStopButton->isVisible() && !w.cmdDraw->isVisible() && !w.cboBoxSize->isEnabled());
        QCOMPARE(w.lblSpiralling->text(), QStringLiteral("Spiralling in"));
        QVERIFY(stackIndex(w.fraStartNumberFrame) < stackIndex(w.fraButtonFrame));
        // The button frame in front hides the statistics captions it overlaps.
        const QPoint pause = w.cmdPauseButton->geometry().center() + w.fraButtonFrame->pos();
        QVERIFY(w.fraStartNumberFrame->geometry().contains(pause));
        QCOMPARE(w.childAt(pause), w.cmdPauseButton);
        QVERIFY(w.fraButtonFrame->autoFillBackground() && w.fraStartNumberFrame->autoFillBackground());
        w.ClkClock_Timer();
        QCOMPARE(w.lblStartNumberOutput->text(), QStringLiteral("6"));
        press(w, Qt::Key_Escape);  // the Stop button's key
        QVERIFY(w.blnStopSpiralling);
      });
      QCOMPARE(visibleLayout(w), before);
      QCOMPARE(stackIndex(w.fraStartNumberFrame), frameIndex);
    }
  }

  // Options wait for the next tick while the animation runs and redraw at once while it is paused.
  void pauseResumeAndStopWithOptionsChanged() {
    frmMain& w = startAt(QStringLiteral("5"));
    w.cboBoxSize->setCurrentIndex(kFifteenPixelIndex);  // grid and numerals apply
    bool drawnAfterStop = true;
    animate(w, w.cmdSpiralIn, [&] {
      QVERIFY(!redrawn(w, [&] {
        QTest::mouseClick(w.chkGrid, Qt::LeftButton);
        QTest::mouseClick(w.chkNumerals, Qt::LeftButton);
      }));
      QVERIFY(redrawn(w, [&] { w.ClkClock_Timer(); }));
      QTest::mouseClick(w.cmdPauseButton, Qt::LeftButton);
      QVERIFY(!redrawn(w, [&] { for (int tick = 0; tick < 3; ++tick) w.ClkClock_Timer(); }));
      QCOMPARE(w.txbStartNumber->text(), QStringLiteral("6"));
      const QImage frozen = spiral::imageOf(w.picture).copy();
      w.optSquares->click();
      QVERIFY(spiral::imageOf(w.picture) != frozen);  // the same frame, now in squares
      QVERIFY(redrawn(w, [&] { QTest::mouseClick(w.chkGrid, Qt::LeftButton); }));

      w.cboClockTicks->setCurrentIndex(kOneTickPerSecond);
      QCOMPARE(w.ClkClock->interval(), 250);  // not before Resume
      QTest::mouseClick(w.cmdResumeButton, Qt::LeftButton);
      QCOMPARE(w.ClkClock->interval(), 1000);
      w.ClkClock_Timer();
      QCOMPARE(w.txbStartNumber->text(), QStringLiteral("7"));

      QTest::mouseClick(w.cmdPauseButton, Qt::LeftButton);
      // A scheme without a legend while paused: its button lies where the status text is raised.
      w.cboColorBy->setCurrentIndex(kWhiteScheme);
      QVERIFY(w.cmdCWsoftware->isVisible() && w.lblSpiralling->isVisible() &&
              w.cmdCWsoftware->geometry().intersects(w.lblSpiralling->geometry()));
      QCOMPARE(w.childAt(w.cmdCWsoftware->geometry().center()), w.cmdCWsoftware);
      QTest::mouseClick(w.cmdStopButton, Qt::LeftButton);
      // A tick that comes in the same batch as the click on Stop.
      drawnAfterStop = redrawn(w, [&] { w.ClkClock_Timer(); });
    });
    QVERIFY(!drawnAfterStop);
    QCOMPARE(w.txbStartNumber->text(), QStringLiteral("7"));
    QVERIFY(!w.blnPaused && animationIsOver(w));
  }

  void closingTheWindowEndsTheAnimation() {
    for (bool paused : {false, true}) {
      frmMain& w = startAt(QStringLiteral("5"));
      const QByteArray stored = storeAtTheEnd(*harness, [&] {
        animate(w, w.cmdSpiralIn, [&] {
          w.ClkClock_Timer();
          if (paused) QTest::mouseClick(w.cmdPauseButton, Qt::LeftButton);
          w.close();
          // Ended by the close, not by animate's Stop.
          QVERIFY(w.blnStopSpiralling && !w.blnPaused);
        });
      });
      QVERIFY(!w.isVisible() && animationIsOver(w));
      QVERIFY(stored.contains("\r\n\"6\"\r\n"));  // the start number of the last frame
    }
  }

  // Typed or pasted (by Ctrl+V or the context menu), only the digits get in, and nothing is drawn.
  void onlyDigitsGetInWithoutDrawing() {
    frmMain& w = harness->start();
    QVERIFY(!redrawn(w, [&] {
      typeInto(w.txbStartNumber, QStringLiteral("07"));
      QCOMPARE(w.txbStartNumber->text(), QStringLiteral("7"));
      QTest::keyClicks(w.txbStartNumber, QStringLiteral("a-1 .x0+"));
      QCOMPARE(w.txbStartNumber->text(), QStringLiteral("710"));
      QApplication::clipboard()->setText(QStringLiteral("12a3 b"));
      w.txbStartNumber->clear();
      QTest::keyClick(w.txbStartNumber, Qt::Key_V, Qt::ControlModifier);
      QCOMPARE(w.txbStartNumber->text(), QStringLiteral("123"));
      QApplication::clipboard()->setText(QStringLiteral("98765432109876543210"));
      w.txbStartNumber->clear();
      w.txbStartNumber->paste();
    }));
    QCOMPARE(w.txbStartNumber->text(), QStringLiteral("987654321098"));
  }

  void tooLargeNumbersShowTheirMessageAndStayAsTyped() {
    frmMain& w = harness->start();
    const std::pair<QString, size_t> typedAndMessagesSoFar[] = {
        {"2147483646", 0}, {"2147483647", 1}, {"10000000000", 2}};
    for (const auto& [typed, messages] : typedAndMessagesSoFar) {
      typeInto(w.txbStartNumber, typed);
      QCOMPARE(w.txbStartNumber->text(), typed);
      QCOMPARE(harness->desktop.messages.size(), messages);
    }
    QCOMPARE(harness->desktop.messages.back().title, QStringLiteral("Error"));
    QCOMPARE(harness->desktop.messages.back().text,
             QStringLiteral("Start number must be <= 2^31 - 2 = 2147483646."));
  }

  void backspaceAtTwelveOrInAnEmptyBoxDoesNothingAndEnterDrawsFromOne() {
    frmMain& w = harness->start();
    typeInto(w.txbStartNumber, QStringLiteral("123456789012"));
    QTest::keyClick(w.txbStartNumber, Qt::Key_Backspace);
    QTest::keyClick(w.txbStartNumber, Qt::Key_Z, Qt::ControlModifier);  // the box's own undo
    QCOMPARE(w.txbStartNumber->text(), QStringLiteral("123456789012"));
    QTest::keyClick(w.txbStartNumber, Qt::Key_A, Qt::ControlModifier);
    QVERIFY(!w.txbStartNumber->hasSelectedText());
    // Its menu holds only what the keys may do: at twelve characters nothing but Delete.
    w.txbStartNumber->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("5"));
    const auto menuOffers = [&w] {
      std::unique_ptr<QMenu> menu(w.createStartNumberMenu());
      QStringList offered;
      for (QAction* action : menu->actions()) {
        if (action->isEnabled()) offered << action->text().remove('&');
      }
      return offered;
    };
    QCOMPARE(menuOffers(), QStringList{"Delete"});
    w.txbStartNumber->setText(QStringLiteral("12"));
    w.txbStartNumber->selectAll();
    QCOMPARE(menuOffers(), (QStringList{"Cut", "Copy", "Paste", "Delete"}));
    QTest::keyClick(w.txbStartNumber, Qt::Key_Delete);  // Delete is no character: never filtered
    QCOMPARE(w.txbStartNumber->text(), QString());

    QVERIFY(!redrawn(w, [&] { QTest::keyClick(w.txbStartNumber, Qt::Key_Backspace); }));
    QCOMPARE(w.txbStartNumber->text(), QString());
    QVERIFY(redrawn(w, [&] { QTest::keyClick(w.txbStartNumber, Qt::Key_Return); }));
    QCOMPARE(w.txbStartNumber->text(), QStringLiteral("1"));
    QCOMPARE(w.lblEndNumberOutput->text(), QStringLiteral("5625"));
  }

  // The scroll bar holds 0 to 32767: it follows the text within that range, and above it a prime
  // step that finds nothing leaves the bar at its top end and the text alone.
  void scrollBarFollowsTheTextUpTo32767() {
    frmMain& w = harness->start();
    typeInto(w.txbStartNumber, QStringLiteral("40000"));
    QVERIFY(!w.vsbStartNumber->isEnabled());
    QTest::keyClick(w.txbStartNumber, Qt::Key_Home);
    QTest::keyClick(w.txbStartNumber, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClicks(w.txbStartNumber, QStringLiteral("3"));  // the 4 becomes a 3
    QCOMPARE(w.txbStartNumber->text(), QStringLiteral("30000"));
    QVERIFY(w.vsbStartNumber->isEnabled());
    QCOMPARE(w.vsbStartNumber->value(), 30000);
    // The scroll bar hands the focus back only when it takes it: the pointer passing over it and its
    // repainting leave the text and its selection alone.
    w.txbStartNumber->setSelection(0, 2);
    QTest::mouseMove(w.vsbStartNumber);
    w.vsbStartNumber->repaint();
    QCOMPARE(w.txbStartNumber->selectedText(), QStringLiteral("30"));

    typeInto(w.txbStartNumber, QStringLiteral("40000"));
    QTest::keyClick(w.txbStartNumber, Qt::Key_Return);  // the draw pass enables the scroll bar again
    w.chkCentralNumberPrime->setChecked(true);
    // The search goes down from 0 and finds no prime.
    QVERIFY(!redrawn(w, [&] { w.vsbStartNumber->setValue(0); }));
    QCOMPARE(w.vsbStartNumber->value(), 32767);
    QCOMPARE(w.txbStartNumber->text(), QStringLiteral("40000"));
  }

  // Each repeated step is drawn, and a wheel notch is one step like one click on an arrow.
  void aHeldArrowRepeatsAndAWheelNotchIsOneStep() {
    frmMain& w = startAt(QStringLiteral("100"));
    // Each step comes only after the one before it was drawn.
    QList<qint64> drawnBeforeStep;
    const auto watch = QObject::connect(w.txbStartNumber, &QLineEdit::textChanged,
                                        [&] { drawnBeforeStep << w.lngStartNumber(); });
    const QPoint upArrow(w.vsbStartNumber->width() / 2, 1);
    QTest::mousePress(w.vsbStartNumber, Qt::LeftButton, {}, upArrow);
    QTest::qWait(1000);
    QTest::mouseRelease(w.vsbStartNumber, Qt::LeftButton, {}, upArrow);
    QObject::disconnect(watch);
    const int steps = w.txbStartNumber->text().toInt() - 100;
    QVERIFY2(steps > 2, qPrintable(QString::number(steps)));
    QCOMPARE(drawnBeforeStep.size(), steps);
    for (int k = 0; k < steps; ++k) QCOMPARE(drawnBeforeStep[k], qint64(100 + k));
    QCOMPARE(w.lngStartNumber(), qint64(100 + steps));

    QWheelEvent notch(QPointF(2, 2), w.vsbStartNumber->mapToGlobal(QPointF(2, 2)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w.vsbStartNumber, &notch);
    QCOMPARE(w.txbStartNumber->text().toInt(), 100 + steps + 1);
  }

  void scrollBarSteps_data() {
    addRows<Step>({{"up from 10", "10", false, true, "11"},
                   {"prime: up from 10", "10", true, true, "11"},
                   {"prime: down from 11", "11", true, false, "7"},
                   {"prime: down from 2", "2", true, false, "2"},
                   {"prime: up from 32749", "32749", true, true, "32749"}});
  }
  void scrollBarSteps() {
    QFETCH(Step, row);
    frmMain& w = startAt(row.start);
    w.chkCentralNumberPrime->setChecked(row.primesOnly);
    QCOMPARE(redrawn(w, [&] { clickArrow(w.vsbStartNumber, row.up); }), row.expected != row.start);
    QCOMPARE(w.txbStartNumber->text(), row.expected);
    QCOMPARE(w.vsbStartNumber->value(), row.expected.toInt());
    QCOMPARE(w.focusWidget(), w.txbStartNumber);  // the scroll bar, clicked, gives the focus back
  }

  // Values may also share a line, separated by commas; text after the last value is ignored.
  void writtenStoreReadsBackAndValuesMaySpread() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("spl.usr"));
    QVERIFY(app::writeSettingsFile(path, kUnusual));
    QCOMPARE(app::readSettingsFile(path), std::optional(kUnusual));
    QCOMPARE(app::parseSettings(" 1, 1\n0\r\n5\r\n3 , 2\r\n4,\"1,2\" , 1,0\n1\r1\r\nmore"),
             std::optional(kUnusual));
  }

  // The store's folder is made under the config folder, levels deep if need be. Where it cannot be
  // made (even root cannot make a folder below a plain file), the program runs and ends all the same.
  void theSettingsFolderIsMadeOrDoneWithout() {
    QTemporaryDir base;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(base.filePath(QStringLiteral("not/yet"))));
    const QString path = app::GetDataFilePath(QStringLiteral("spl.usr"), QStringLiteral("Corvanel Works"));
    QCOMPARE(path, base.filePath(QStringLiteral("not/yet/Corvanel Works/spl.usr")));
    QVERIFY(QFileInfo(QFileInfo(path).path()).isDir());
    const QString plainFile = base.filePath("plain file");  // where the program wants a folder
    QVERIFY(writeFile(plainFile, "not a folder"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(plainFile + "/config"));
    frmMain& w = harness->start();
    QVERIFY(w.blnSpiralDrawn);
    QCOMPARE(exitStatusAfter([&] { w.cmdQuit->click(); }), 0);
    QVERIFY(harness->desktop.messages.empty());
    QCOMPARE(contentsOf(plainFile), QByteArray("not a folder"));
  }

  // A crash while the store was written may have left a temporary copy beside it, under this
  // version's name for one or an earlier version's; start-up removes those and nothing else.
  void leftoversOfACrashAreRemovedAtStart() {
    QVERIFY(harness->writeStore(storeOf(defaultStoreLines())));
    const QDir folder = QFileInfo(harness->storePath()).dir();
    const QStringList kept{"notes.txt", "spl.usr", "spl.usr.copy", "spl.usr.old"};
    for (const QString& name : kept + QStringList{".spirelle-x7Yq2Z.tmp", "spl.usr.Ab3xYz"}) {
      if (name != "spl.usr") QVERIFY(writeFile(folder.filePath(name), "a leftover?"));
    }
    harness->start();
    QCOMPARE(folder.entryList(QDir::Files | QDir::Hidden), kept);
  }

  // Building the table starts the program in English. (The words of both languages the captions
  // of the main window show in its own tests.)
  void theWordTableStartsInEnglish() {
    language::intLanguage = language::kGerman;
    language::BuildWordTable();
    QCOMPARE(language::W(language::Word::SpirallingOut), QString("Spiralling out"));
  }

  // From the Help button, or from F1 in the start-number box, with the program in German: the
  // window speaks English and lies over the lower part of the main window wherever that has moved;
  // the program goes on in English up to the store that Ctrl+Q, like Quit, writes.
  void theHelpButtonShowsEnglishBelowTheStartNumberFrame() {
    frmMain& w = harness->start();
    int shown = 0;
    const auto expectEnglishBelowTheFrame = [&](frmHelp& help) {
      ++shown;
      QCOMPARE(help.windowTitle() + ", " + help.findChild<QPushButton*>()->text(), QString("Help, Close"));
      auto* box = help.findChild<QPlainTextEdit*>();
      QCOMPARE(frmHelp::plainText(box->toPlainText()), help.helpText(language::kEnglish).replace("\r\n", "\n"));
      // The window keeps its size.
      QCOMPARE(help.minimumSize(), help.maximumSize());
      const QRect main = w.frameGeometry();
      QCOMPARE(help.frameGeometry(),
               QRect(main.left(), main.top() + platform::twipsToPixels(2625 + 720), main.width(),
                     platform::twipsToPixels(5050)));
    };
    for (const QPoint moveBy : {QPoint(0, 0), QPoint(60, 25)}) {
      language::intLanguage = 1;  // German
      w.move(w.pos() + moveBy);
      closeWhenShown<frmHelp>(expectEnglishBelowTheFrame);
      if (moveBy.isNull()) {
        w.cmdHelp->click();
      } else {
        QCOMPARE(w.focusWidget(), w.txbStartNumber);
        press(w, Qt::Key_F1);
      }
      QCOMPARE(language::intLanguage, 0);
      // The desktop makes the main window active again once the help window has gone.
      w.activateWindow();
      QTRY_COMPARE(QApplication::activeWindow(), &w);
    }
    QCOMPARE(shown, 2);
    const QByteArray stored = storeAtTheEnd(*harness, [&] { press(w, Qt::Key_Q, Qt::ControlModifier); });
    QCOMPARE(stored.split('\n').value(1), QByteArray("0\r"));
  }

  // Each language's help text is its own, ends with the colours' page and holds the documentation's
  // address and five paragraph breaks, each a carriage return and a line feed. That the window shows
  // the English one the test above checks.
  void theTextsHoldTheirParagraphs() {
    for (const int slot : {language::kEnglish, language::kGerman}) {
      const QString text = frmHelp([] {}).helpText(slot);
      QCOMPARE(text.startsWith("Die Zahlen sind, beginnend mit der Zahl 1"), slot == language::kGerman);
      QVERIFY(text.endsWith(" http://corvanel-works.example/misc/numcol.htm."));
      QVERIFY(text.contains(" http://corvanel-works.example/spl/spl.htm ("));
      QCOMPARE(text.count("\r\n"), 5);
      QCOMPARE(text.count('\n'), 5);
    }
  }
};

QTEST_MAIN(TestAppWindow)
#include "test_app_window.moc"
