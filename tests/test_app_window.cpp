// The main window: start-up with and without a settings store, shutdown, the option handlers and
// the window's side of the draw pass.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>


#include "MainWindowHarness.h"
#include "app/SettingsStore.h"
#include "catalogue/frmCWsoftware.h"
#include "language/WordTable.h"

// What start-up restores from a store: the list indices (box size, colour scheme, class, clock
// ticks), the start number and three of the boxes.
struct Restored {
  QList<int> indices{3, 0, 0, 2};
  QString start = QStringLiteral("1");
  bool grid = false;
  bool centralPrime = false;
  bool squares = false;
};
Q_DECLARE_METATYPE(Restored)

namespace {

constexpr int kSevenPixelIndex = 3;
constexpr int kOnePixelIndex = 0;

QStringList withLine(QStringList lines, int lineNumber, const QString& text) {
  lines[lineNumber - 1] = text;
  return lines;
}

int visibleLegendBoxes(const frmMain& window) {
  int visible = 0;
  for (QWidget* box : window.Picture1) visible += box->isVisible() ? 1 : 0;
  return visible;
}

QStringList statisticsOutputs(const frmMain& w) {
  return {w.lblEndNumberOutput->text(),    w.lblNumberOfNumbersOutput->text(),
          w.lblNumberShownOutput->text(),  w.lblSmallestPrimeOutput->text(),
          w.lblLargestPrimeOutput->text(), w.lblLongestNWSEOutput->text(),
          w.lblLongestSWNEOutput->text()};
}

QStringList itemTexts(const QComboBox* list) {
  QStringList texts;
  for (int i = 0; i < list->count(); ++i) texts.push_back(list->itemText(i));
  return texts;
}

}  // namespace

class TestAppWindow : public QObject {
  Q_OBJECT

 private slots:
  void firstRunShowsDefaultsDrawsOnceAndQuitWritesDefaults();
  void storeOfAnotherVersionIsIgnored();
  void storedValuesComeBackWithFallbacks_data();
  void storedValuesComeBackWithFallbacks();
  void germanStoreShowsGermanCaptionsAndLists();
  void garbageStoresGiveDefaults_data();
  void garbageStoresGiveDefaults();
  void nothingDrawsBeforeStartUpEnds();
  void optionHandlersRedrawOrOnlyRefocus();
  void optionsWhileSpirallingWaitUnlessPaused();
  void refusedBoxSizeReturnsToLastSizeDrawn();
  void refusedStartNumbersShowTheirMessageInTheCurrentLanguage();
  void emptyStartNumberDrawsFromOne();
  void refillingListsKeepsSelectionAndDrawsNothing();
  void legendAndOtherSoftwareButtonNeverShowTogether();
  void spiralButtonsAreOfferedOnlyWhereTheyApply();
  void statisticsFollowTheNumberClass();
  void stoppedOnePixelPassKeepsItsPartialPicture();
  void drawRequestDuringAPassIsIgnored();
};

void TestAppWindow::firstRunShowsDefaultsDrawsOnceAndQuitWritesDefaults() {
  MainWindowHarness harness;
  frmMain& w = harness.start();

  QCOMPARE(w.windowTitle(), QStringLiteral("Spirelle 9.00"));
  QVERIFY(w.blnFormLoaded);
  QCOMPARE(w.drawPassCount(), 1);
  QVERIFY(harness.desktop.messages.empty());
  QVERIFY(w.optCircles->isChecked());
  QCOMPARE(w.cboBoxSize->currentText(), QStringLiteral("7"));
  QCOMPARE(w.cboColorBy->currentText(), QStringLiteral("Cluster"));
  QCOMPARE(w.cboShow->currentText(), QStringLiteral("Prime numbers"));
  QCOMPARE(w.cboClockTicks->currentText(), QStringLiteral("4"));
  QCOMPARE(w.txbStartNumber->text(), QStringLiteral("1"));
  QVERIFY(w.chkNumerals->isChecked());
  QVERIFY(!w.chkGrid->isChecked() && !w.chkCentralNumberPrime->isChecked() &&
          !w.chkCalculateLongest->isChecked());
  QCOMPARE(w.optCircles->text(), QStringLiteral("circles"));
  QCOMPARE(w.lblSizeInPixels->text(), QStringLiteral("Size (in pixels):"));
  QCOMPARE(w.lblNumberShown->text(), QStringLiteral("Number shown:"));
  QCOMPARE(w.lblNumberShown2->text(), QString());
  QCOMPARE(w.cboColorBy->itemText(6), QStringLiteral("None (white)"));
  QCOMPARE(w.lblEndNumberOutput->text(), QStringLiteral("5625"));
  QCOMPARE(w.lblNumberOfNumbersOutput->text(), QStringLiteral("5625"));
  QCOMPARE(w.lblP->text(), QStringLiteral(" "));
  QVERIFY(w.picture.isMarked(w.intCenterX + 7, w.intCenterY));  // 2, right of the centre

  for (QWidget* hidden : std::initializer_list<QWidget*>{w.cmdStopCalc, w.cmdStopButton, w.cmdPauseButton,
                                                         w.cmdResumeButton, w.lblClockTicks, w.cboClockTicks,
                                                         w.lblSpiralling, w.lblStartNumberOutput}) {
    QVERIFY(!hidden->isVisible());
  }
  QVERIFY(!w.ClkClock->isActive());
  QVERIFY(w.cmdCWsoftware->isVisible());
  QCOMPARE(w.cmdCWsoftware->geometry().topLeft(), w.Picture1[0]->geometry().topLeft() - QPoint(7, 0));
  QVERIFY(w.cmdSpiralIn->isEnabled() && w.vsbStartNumber->isEnabled() && w.chkCalculateLongest->isEnabled());

  QByteArray storedBeforeTheEnd;
  closeWhenShown<frmCWsoftware>([&](frmCWsoftware&) { storedBeforeTheEnd = harness.storeBytes(); });
  QCOMPARE(exitStatusAfter([&] { w.cmdQuit->click(); }), 0);
  QCOMPARE(storedBeforeTheEnd, QByteArray("1\r\n0\r\n1\r\n3,0,0,2\r\n\"1\"\r\n0\r\n1\r\n0\r\n0\r\n"));
}

void TestAppWindow::storeOfAnotherVersionIsIgnored() {
  MainWindowHarness harness;
  harness.writeStoreLines({"2", "1", "0", "5,3,2,0", "\"17\"", "1", "0", "1", "1"});
  frmMain& w = harness.start();
  QCOMPARE(language::intLanguage, 0);
  QVERIFY(w.optCircles->isChecked());
  QCOMPARE(w.cboBoxSize->currentIndex(), kSevenPixelIndex);
  QCOMPARE(w.txbStartNumber->text(), QStringLiteral("1"));
  QVERIFY(!w.chkGrid->isChecked() && w.chkNumerals->isChecked());
}

void TestAppWindow::storedValuesComeBackWithFallbacks_data() {
  QTest::addColumn<QStringList>("lines");
  QTest::addColumn<Restored>("expected");
  const QStringList base = defaultStoreLines();
  const auto row = [](const char* name, const QStringList& lines, const Restored& expected) {
    QTest::newRow(name) << lines << expected;
  };
  row("box size 0 is 7 pixels", withLine(base, 4, "0,0,0,2"), {});
  row("box size 2 is 7 pixels", withLine(base, 4, "2,1,0,2"), {.indices = {3, 1, 0, 2}});
  row("box size 5 kept", withLine(base, 4, "5,4,3,0"), {.indices = {5, 4, 3, 0}});
  row("negative indices are 0", withLine(base, 4, "3,-1,-4,-1"), {.indices = {3, 0, 0, 0}});
  row("indices past the lists", withLine(base, 4, "8,7,5,3"), {});
  row("check value 2 is unticked", withLine(base, 6, "2"), {});
  row("grid 1 is ticked", withLine(base, 6, "1"), {.grid = true});
  row("shape 0 is squares", withLine(base, 3, "0"), {.squares = true});
  row("shape -1 is squares", withLine(base, 3, "-1"), {.squares = true});
  row("start 4 unticks central prime", withLine(withLine(base, 5, "\"4\""), 8, "1"), {.start = "4"});
  row("start 5 keeps central prime", withLine(withLine(base, 5, "\"5\""), 8, "1"),
      {.start = "5", .centralPrime = true});
  row("leading zeros dropped", withLine(base, 5, "\"0013\""), {.start = "13"});
  row("top of the 7-pixel range", withLine(base, 5, "\"2147478022\""), {.start = "2147478022"});
  row("start above the largest", withLine(base, 5, "\"2147483647\""), {});
  row("start not digits", withLine(base, 5, "\"12a\""), {});
  row("start empty", withLine(base, 5, "\"\""), {});
}

void TestAppWindow::storedValuesComeBackWithFallbacks() {
  QFETCH(QStringList, lines);
  QFETCH(Restored, expected);

  MainWindowHarness harness;
  harness.writeStoreLines(lines);
  frmMain& w = harness.start();
  QCOMPARE((QList<int>{w.cboBoxSize->currentIndex(), w.cboColorBy->currentIndex(), w.cboShow->currentIndex(),
                       w.cboClockTicks->currentIndex()}),
           expected.indices);
  QCOMPARE(w.intBoxSizeIndex, expected.indices[0]);
  QCOMPARE(w.intColorCount, w.cboColorBy->currentData().toInt());
  QCOMPARE(w.txbStartNumber->text(), expected.start);
  QCOMPARE(w.chkGrid->isChecked(), expected.grid);
  QCOMPARE(w.chkCentralNumberPrime->isChecked(), expected.centralPrime);
  QCOMPARE(w.optSquares->isChecked(), expected.squares);
  QCOMPARE(w.optCircles->isChecked(), !expected.squares);
  QCOMPARE(w.drawPassCount(), 1);
  QVERIFY(harness.desktop.messages.empty());
}

void TestAppWindow::germanStoreShowsGermanCaptionsAndLists() {
  MainWindowHarness harness;
  harness.writeStoreLines(withLine(withLine(defaultStoreLines(), 2, "1"), 4, "3,6,3,2"));
  frmMain& w = harness.start();

  QCOMPARE(language::intLanguage, 1);
  QCOMPARE(w.optCircles->text(), QStringLiteral("Kreise"));
  QCOMPARE(w.optSquares->text(), QStringLiteral("Quadrate"));
  QCOMPARE(w.lblSizeInPixels->text(), QStringLiteral("Groesse (in Pixeln):"));
  QCOMPARE(w.lblNumberShown->text(), QStringLiteral("Anzahl der sicht-"));
  QCOMPARE(w.lblNumberShown2->text(), QStringLiteral("baren Zahlen:"));
  QCOMPARE(w.cmdQuit->text(), QStringLiteral("Beenden"));
  QCOMPARE(w.chkCalculateLongest->text(), QStringLiteral("Laengste NW-SO/SW-NO kalkulieren"));
  QCOMPARE(w.cboColorBy->currentText(), QStringLiteral("Keine (Weiss)"));
  QCOMPARE(w.cboShow->currentText(), QStringLiteral("Dreieckzahlen"));
  QCOMPARE(w.strCalculating, QStringLiteral("Rechnen ..."));
  // Captions that never change with the language.
  QCOMPARE(w.cmdPauseButton->text(), QStringLiteral("Pause"));
  QCOMPARE(w.lblClockTicks->text(), QStringLiteral("Clock ticks per sec."));

  closeWhenShown<frmCWsoftware>([](frmCWsoftware&) {});
  QCOMPARE(exitStatusAfter([&] { w.close(); }), 0);  // closing the window saves like Quit
  QVERIFY(!w.isVisible());
  QCOMPARE(harness.storeBytes(), QByteArray("1\r\n1\r\n1\r\n3,6,3,2\r\n\"1\"\r\n0\r\n1\r\n0\r\n0\r\n"));
}

void TestAppWindow::garbageStoresGiveDefaults_data() {
  QTest::addColumn<QByteArray>("bytes");
  QByteArray random(3000, '\0');
  QRandomGenerator generator(20240613);
  for (char& byte : random) byte = static_cast<char>(generator.bounded(256));
  const QByteArray valid("1\r\n1\r\n0\r\n5,3,2,0\r\n\"17\"\r\n1\r\n0\r\n1\r\n1\r\n");

  QTest::newRow("empty") << QByteArray();
  QTest::newRow("random bytes") << random;
  QTest::newRow("truncated after the list indices") << valid.left(18);
  QTest::newRow("truncated before the last value") << valid.left(valid.size() - 3);
  QTest::newRow("letter for a number") << QByteArray(valid).replace("0\r\n5", "x\r\n5");
  QTest::newRow("huge line") << QByteArray(5'000'000, '7');
  QTest::newRow("number beyond 16 bits") << QByteArray("1\r\n99999999999\r\n") + valid.mid(6);
  QTest::newRow("quoted version") << QByteArray("\"1\"") + valid.mid(1);
  QTest::newRow("unclosed quote") << valid.left(18) + "\"17\r\n1\r\n0\r\n1\r\n1\r\n";
}

void TestAppWindow::garbageStoresGiveDefaults() {
  QFETCH(QByteArray, bytes);
  MainWindowHarness harness;
  harness.writeStore(bytes);
  frmMain& w = harness.start();
  QCOMPARE(language::intLanguage, 0);
  QCOMPARE(w.cboBoxSize->currentIndex(), kSevenPixelIndex);
  QCOMPARE(w.cboColorBy->currentIndex(), 0);
  QCOMPARE(w.txbStartNumber->text(), QStringLiteral("1"));
  QVERIFY(w.optCircles->isChecked() && w.chkNumerals->isChecked() && !w.chkGrid->isChecked());
  QCOMPARE(w.drawPassCount(), 1);
  QVERIFY(w.blnSpiralDrawn);
}

void TestAppWindow::nothingDrawsBeforeStartUpEnds() {
  MainWindowHarness harness;
  frmMain w(harness.desktop);
  w.chkGrid->setChecked(true);
  w.optSquares->setChecked(true);
  w.cmdDraw->click();
  QCOMPARE(w.drawPassCount(), 1);  // only the button draws
}

void TestAppWindow::optionHandlersRedrawOrOnlyRefocus() {
  MainWindowHarness harness;
  frmMain& w = harness.start();
  auto drawsAfter = [&w](auto change) {
    const int before = w.drawPassCount();
    change();
    return w.drawPassCount() - before;
  };
  QCOMPARE(drawsAfter([&] { w.optSquares->click(); }), 1);
  QCOMPARE(drawsAfter([&] { w.optCircles->click(); }), 1);
  QCOMPARE(drawsAfter([&] { w.cboBoxSize->setCurrentIndex(4); }), 1);
  QCOMPARE(drawsAfter([&] { w.chkGrid->click(); }), 1);
  QCOMPARE(drawsAfter([&] { w.chkNumerals->click(); }), 1);
  QCOMPARE(drawsAfter([&] { w.cboShow->setCurrentIndex(2); }), 1);
  QCOMPARE(drawsAfter([&] { w.cboColorBy->setCurrentIndex(3); }), 1);
  QCOMPARE(drawsAfter([&] { w.cboClockTicks->setCurrentIndex(0); }), 0);
  QCOMPARE(drawsAfter([&] { w.chkCentralNumberPrime->click(); }), 0);
  QCOMPARE(drawsAfter([&] { w.chkCalculateLongest->click(); }), 0);
  QCOMPARE(drawsAfter([&] { w.cboBoxSize_Click(); }), 0);  // the size already shown
  QCOMPARE(w.intBoxSizeIndex, 4);
  QCOMPARE(w.intBoxSize, 15);
}

void TestAppWindow::optionsWhileSpirallingWaitUnlessPaused() {
  MainWindowHarness harness;
  frmMain& w = harness.start();
  const int before = w.drawPassCount();
  w.blnSpirallingIn = true;
  w.optSquares->click();
  w.chkGrid->setChecked(true);
  QCOMPARE(w.drawPassCount(), before);
  w.blnPaused = true;
  w.chkNumerals->setChecked(false);
  QCOMPARE(w.drawPassCount(), before + 1);
  w.blnPaused = false;
  w.cboBoxSize->setCurrentIndex(kOnePixelIndex);
  QCOMPARE(w.cboBoxSize->currentText(), QStringLiteral("3"));
  QCOMPARE(w.intBoxSizeIndex, 1);
}

void TestAppWindow::refusedBoxSizeReturnsToLastSizeDrawn() {
  MainWindowHarness harness;
  frmMain& w = harness.start();
  w.txbStartNumber->setText(QStringLiteral("2147478022"));  // 2147483646 - 5625 + 1
  w.cmdDraw->click();
  QVERIFY(w.blnSpiralDrawn);
  QCOMPARE(w.lblEndNumberOutput->text(), QStringLiteral("2147483646"));
  const QImage before = w.picture.image().copy();
  const int passes = w.drawPassCount();

  w.cboBoxSize->setCurrentIndex(kOnePixelIndex);
  QCOMPARE(harness.desktop.messages.size(), 1u);
  QCOMPARE(harness.desktop.messages[0].title, QStringLiteral("Error"));
  QCOMPARE(harness.desktop.messages[0].text,
           QStringLiteral("End number would be greater than 2^31 - 2 = 2147483646."));
  QCOMPARE(harness.desktop.messages[0].icon, platform::Desktop::Icon::None);
  QCOMPARE(w.cboBoxSize->currentIndex(), kSevenPixelIndex);
  QCOMPARE(w.intBoxSizeIndex, kSevenPixelIndex);
  QVERIFY(w.blnEndNumberTooLarge);
  QCOMPARE(w.drawPassCount(), passes + 1);
  QCOMPARE(w.picture.image(), before);
  QCOMPARE(w.lblEndNumberOutput->text(), QStringLiteral("2147483646"));
  QVERIFY(w.cboBoxSize->isEnabled());
}

void TestAppWindow::refusedStartNumbersShowTheirMessageInTheCurrentLanguage() {
  MainWindowHarness harness;
  frmMain& w = harness.start();
  w.txbStartNumber->setText(QStringLiteral("2147483647"));  // the box itself complains once
  w.cmdDraw->click();
  QCOMPARE(harness.desktop.messages.size(), 2u);
  QCOMPARE(harness.desktop.messages[1].text,
           QStringLiteral("Start number must be <= 2^31 - 2 = 2147483646."));
  QVERIFY(!w.blnSpiralDrawn);

  language::intLanguage = language::kGerman;
  w.cboShow->setCurrentIndex(3);  // triangular numbers
  w.txbStartNumber->setText(QStringLiteral("268430000"));
  w.cmdDraw->click();
  QCOMPARE(harness.desktop.messages.back().title, QStringLiteral("Fehler"));
  QCOMPARE(harness.desktop.messages.back().text,
           QStringLiteral("Bei Dreieckzahlen ist die Startzahl zu gross."));
  QVERIFY(!w.blnSpiralDrawn && !w.blnEndNumberTooLarge);
  // A size refused for another reason stays selected, unremembered.
  w.txbStartNumber->setText(QStringLiteral("2147483647"));
  w.cboBoxSize->setCurrentIndex(5);
  QCOMPARE(w.cboBoxSize->currentIndex(), 5);
  QCOMPARE(w.intBoxSizeIndex, kSevenPixelIndex);
}

void TestAppWindow::emptyStartNumberDrawsFromOne() {
  MainWindowHarness harness;
  frmMain& w = harness.start();
  w.txbStartNumber->setText(QStringLiteral("  "));
  w.cmdDraw->click();
  QCOMPARE(w.txbStartNumber->text(), QStringLiteral("1"));
  QVERIFY(w.blnSpiralDrawn);
  w.txbStartNumber->setText(QStringLiteral("  13 "));
  w.cmdDraw->click();
  QCOMPARE(w.txbStartNumber->text(), QStringLiteral("13"));
  QCOMPARE(w.lblP->text(), QStringLiteral("P"));
  QVERIFY(harness.desktop.messages.empty());
}

void TestAppWindow::refillingListsKeepsSelectionAndDrawsNothing() {
  MainWindowHarness harness;
  frmMain& w = harness.start();
  w.cboColorBy->setCurrentIndex(4);
  w.cboShow->setCurrentIndex(2);
  const int passes = w.drawPassCount();

  language::intLanguage = language::kGerman;
  w.SetAllLanguageDependentText();
  QCOMPARE(w.drawPassCount(), passes);
  QCOMPARE(w.cboColorBy->currentText(), QStringLiteral("Farbreihenfolge"));
  QCOMPARE(w.cboColorBy->currentData().toInt(), 5);
  QCOMPARE(itemTexts(w.cboShow),
           (QStringList{"Primzahlen", "Zufallszahlen", "Quadratzahlen", "Dreieckzahlen", "Alle Zahlen"}));
  QCOMPARE(w.cboShow->currentIndex(), 2);

  w.blnRefillingLists = true;  // a list without a selection stays without one
  w.cboShow->setCurrentIndex(-1);
  w.blnRefillingLists = false;
  language::intLanguage = language::kEnglish;
  w.SetLanguageDependentText();
  QCOMPARE(w.cboShow->currentIndex(), -1);
  QCOMPARE(w.cboShow->count(), 5);
  QCOMPARE(w.drawPassCount(), passes);
}

void TestAppWindow::legendAndOtherSoftwareButtonNeverShowTogether() {
  MainWindowHarness harness;
  frmMain& w = harness.start();
  const int expectedBoxes[] = {0, 6, 6, 6, 5, 0, 0};
  const int expectedColorCounts[] = {6, 6, 6, 6, 5, 0, 0};
  for (int scheme : {3, 0, 1, 6, 2, 5, 4}) {
    w.cboColorBy->setCurrentIndex(scheme);
    QCOMPARE(visibleLegendBoxes(w), expectedBoxes[scheme]);
    QCOMPARE(w.cmdCWsoftware->isVisible(), expectedBoxes[scheme] == 0);
    QCOMPARE(w.intColorCount, expectedColorCounts[scheme]);
  }
  w.blnSpirallingIn = w.blnPaused = true;
  w.cboColorBy->setCurrentIndex(2);
  QCOMPARE(visibleLegendBoxes(w), 0);
  QVERIFY(!w.cmdCWsoftware->isVisible());
}

void TestAppWindow::spiralButtonsAreOfferedOnlyWhereTheyApply() {
  MainWindowHarness harness;
  frmMain& w = harness.start();
  QVERIFY(w.cmdSpiralIn->isVisible() && w.cmdSpiralOut->isVisible());
  w.cboShow->setCurrentIndex(1);
  QVERIFY(!w.cmdSpiralIn->isVisible() && !w.cmdSpiralOut->isVisible());
  w.cboShow->setCurrentIndex(2);
  QVERIFY(w.cmdSpiralIn->isVisible());
  w.cboBoxSize->setCurrentIndex(kOnePixelIndex);
  QVERIFY(!w.cmdSpiralIn->isVisible());
  QVERIFY(!w.chkGrid->isEnabled() && !w.chkNumerals->isEnabled());
  w.cboBoxSize->setCurrentIndex(4);
  QVERIFY(w.chkGrid->isEnabled() && w.chkNumerals->isEnabled());
  w.cboShow->setCurrentIndex(4);
  QVERIFY(!w.chkGrid->isEnabled() && w.chkNumerals->isEnabled());
  QVERIFY(!w.cmdSpiralOut->isVisible());
}

void TestAppWindow::statisticsFollowTheNumberClass() {
  MainWindowHarness harness;
  frmMain& w = harness.start();
  QCOMPARE(w.lblSmallestPrimeOutput->text(), QStringLiteral("2"));
  QVERIFY(w.lblLargestPrime->isVisible() && w.lblNumberShownOutput->isVisible());
  QCOMPARE(w.lblLongestNWSEOutput->text(), QString());

  w.chkCalculateLongest->setChecked(true);
  w.cboBoxSize->setCurrentIndex(7);                    // 7 x 7 cells
  w.txbStartNumber->setText(QStringLiteral("19610"));  // 19610 ... 19658 holds no prime
  w.cmdDraw->click();
  QCOMPARE(w.lblNumberShownOutput->text(), QStringLiteral("0"));
  QVERIFY(!w.lblSmallestPrime->isVisible() && !w.lblSmallestPrimeOutput->isVisible());
  QVERIFY(!w.lblLargestPrime->isVisible() && !w.lblLargestPrimeOutput->isVisible());
  QCOMPARE(w.lblLongestNWSEOutput->text(), QStringLiteral("0"));
  QCOMPARE(w.lblLongestSWNEOutput->text(), QStringLiteral("0"));

  w.cboShow->setCurrentIndex(4);  // all numbers: every run is N long
  QVERIFY(!w.lblNumberShown->isVisible() && !w.lblNumberShown2->isVisible() &&
          !w.lblNumberShownOutput->isVisible());
  QCOMPARE(w.lblLongestNWSEOutput->text(), QStringLiteral("7"));
  QCOMPARE(w.lblLongestNWSEOutput->palette().color(QPalette::WindowText), QColor(Qt::black));
  w.cboShow->setCurrentIndex(2);
  QVERIFY(w.lblNumberShown->isVisible() && !w.lblSmallestPrime->isVisible());
}

void TestAppWindow::stoppedOnePixelPassKeepsItsPartialPicture() {
  MainWindowHarness harness;
  frmMain& w = harness.start();
  w.chkCalculateLongest->setChecked(true);
  w.txbStartNumber->setText(QStringLiteral("2"));
  bool stopShownDuringPass = false;
  bool controlsLockedDuringPass = false;
  QTimer::singleShot(0, &w, [&] {
    stopShownDuringPass = w.cmdStopCalc->isVisible() && w.cmdStopCalc->text() == QStringLiteral("Stop");
    controlsLockedDuringPass =
        !w.cboShow->isEnabled() && !w.cmdDraw->isEnabled() && !w.chkNumerals->isEnabled();
    w.cmdStopCalc->click();
  });
  w.cboBoxSize->setCurrentIndex(kOnePixelIndex);

  QVERIFY(stopShownDuringPass);
  QVERIFY(controlsLockedDuringPass);
  QVERIFY(!w.cmdStopCalc->isVisible());
  QVERIFY(w.blnSpiralDrawn);
  QVERIFY(!w.blnStopCalculation);
  QCOMPARE(w.intBoxSizeIndex, kOnePixelIndex);
  QCOMPARE(statisticsOutputs(w), QStringList(7, QString()));
  QCOMPARE(w.lblP->text(), QStringLiteral("P"));
  QVERIFY(w.picture.isMarked(w.intCenterX, w.intCenterY));  // 2, drawn first
  QVERIFY(!w.picture.isMarked(0, 0));                       // the far corner was never reached
  QVERIFY(w.cboShow->isEnabled() && w.cmdDraw->isEnabled());
}

void TestAppWindow::drawRequestDuringAPassIsIgnored() {
  MainWindowHarness harness;
  frmMain& w = harness.start();
  w.cboBoxSize->setCurrentIndex(kOnePixelIndex);  // a whole 1-pixel pass
  QVERIFY(!w.lblEndNumberOutput->text().isEmpty());
  int passesDuringPass = -1;
  QTimer::singleShot(0, &w, [&] {
    const int before = w.drawPassCount();
    w.DrawSpiral();
    w.chkGrid->setEnabled(true);  // even a click that slipped through draws nothing
    w.chkGrid->click();
    passesDuringPass = w.drawPassCount() - before;
    w.cmdStopCalc_Click();
  });
  w.cmdDraw->click();
  QCOMPARE(passesDuringPass, 0);
}

QTEST_MAIN(TestAppWindow)
#include "test_app_window.moc"
