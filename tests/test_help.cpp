// The help window: its texts, its captions, where it appears, and the picture beside the text.
#include <functional>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "MainWindowHarness.h"
#include "catalogue/frmCWsoftware.h"
#include "language/WordTable.h"
#include "language/frmHelp.h"
#include "platform/Twips.h"

namespace {

constexpr int kStartNumberFrameTop = 2625;  // twips below the main window's top

// Shows `help` modally for `mainWindow`, runs `whileShown` inside the modal loop, then presses Close.
void showAndClose(frmHelp& help, QWidget& mainWindow, const std::function<void()>& whileShown) {
  QTimer::singleShot(0, &help, [&] {
    whileShown();
    help.findChild<QPushButton*>()->click();
  });
  help.showModalFor(&mainWindow, kStartNumberFrameTop);
}

}  // namespace

class TestHelp : public QObject {
  Q_OBJECT

 private slots:
  void theWindowSpeaksEnglishAndLeavesTheProgramInEnglish() {
    int language = 1;  // German
    frmHelp help([&] { language = 0; });
    QWidget mainWindow;
    mainWindow.show();
    bool shown = false;
    showAndClose(help, mainWindow, [&] {
      shown = help.isVisible();
      QCOMPARE(help.windowTitle(), QString("Help"));
      QCOMPARE(help.findChild<QPushButton*>()->text(), QString("Close"));
      QString shownText = help.findChild<QPlainTextEdit*>()->toPlainText();
      QCOMPARE(shownText, help.helpText(frmHelp::kEnglish).replace("\r\n", "\n"));
      QVERIFY(help.findChild<QPlainTextEdit*>()->isReadOnly());
    });
    QVERIFY(shown);
    QCOMPARE(language, 0);
    QVERIFY(!help.isVisible());  // hidden, and still there to be shown again

    language = 1;
    showAndClose(help, mainWindow, [] {});
    QCOMPARE(language, 0);
  }

  void theWindowFollowsTheMainWindow() {
    frmHelp help([] {});
    QWidget mainWindow;
    mainWindow.setGeometry(120, 40, 795, 575);
    mainWindow.show();

    const auto expectPlacedBelowTheFrame = [&] {
      const QRect main = mainWindow.frameGeometry();
      const QRect placed = help.frameGeometry();
      QCOMPARE(placed.left(), main.left());
      QCOMPARE(placed.top(), main.top() + platform::twipsToPixels(kStartNumberFrameTop + 720));
      QCOMPARE(placed.width(), main.width());
      QCOMPARE(placed.height(), platform::twipsToPixels(5050));
      // The text box, scroll bar and all, stays inside the lower window.
      QVERIFY(help.rect().contains(help.findChild<QPlainTextEdit*>()->geometry()));
    };
    showAndClose(help, mainWindow, expectPlacedBelowTheFrame);
    mainWindow.setGeometry(300, 90, 900, 600);
    showAndClose(help, mainWindow, expectPlacedBelowTheFrame);
  }

  // From the main window's Help button: the window lies below the start-number frame of the main
  // window where it is now, speaks English, and the program stays in English up to the store.
  void theHelpButtonShowsTheWindowAndLeavesTheProgramInEnglish() {
    MainWindowHarness h;
    QStringList german = defaultStoreLines();
    german[1] = "1";
    h.writeStoreLines(german);
    frmMain& w = h.start();
    QCOMPARE(language::intLanguage, 1);

    bool shown = false;
    const auto expectEnglishBelowTheFrame = [&](frmHelp& help) {
      shown = true;
      QCOMPARE(help.parentWidget(), &w);
      QCOMPARE(help.windowTitle(), QString("Help"));
      QCOMPARE(help.findChild<QPushButton*>()->text(), QString("Close"));
      QCOMPARE(help.findChild<QPlainTextEdit*>()->toPlainText(),
               help.helpText(frmHelp::kEnglish).replace("\r\n", "\n"));
      const QRect main = w.frameGeometry();
      const QRect placed = help.frameGeometry();
      QCOMPARE(placed.topLeft(), main.topLeft() + QPoint(0, platform::twipsToPixels(2625 + 720)));
      QCOMPARE(placed.size(), QSize(main.width(), platform::twipsToPixels(5050)));
    };
    closeWhenShown<frmHelp>(expectEnglishBelowTheFrame);
    w.cmdHelp->click();
    QVERIFY(shown);
    QCOMPARE(language::intLanguage, 0);

    shown = false;
    w.move(w.pos() + QPoint(60, 25));
    closeWhenShown<frmHelp>(expectEnglishBelowTheFrame);
    w.cmdHelp->click();
    QVERIFY(shown);
    QCOMPARE(w.findChildren<frmHelp*>().size(), 1);  // kept, not built again

    closeWhenShown<frmCWsoftware>([](frmCWsoftware&) {});
    QCOMPARE(exitStatusAfter([&] { w.cmdQuit->click(); }), 0);
    QCOMPARE(h.storeBytes().split('\n').value(1), QByteArray("0\r"));
  }

  void theEnglishTextIsBuiltPieceByPiece() {
    const frmHelp help([] {});
    const QString text = help.helpText(frmHelp::kEnglish);
    QVERIFY(text.startsWith(
        "Starting with a number (1 or higher) the numbers are arranged in a spiral as in the image "
        "at right. The prime numbers are marked (here with blue boxes).  The primes tend to fall "
        "in straight lines on the diagonals.  Instead of primes, random numbers, all numbers, or "
        "only square numbers, can be shown.  Spiralling in or out produces a moving spiral.  "));
    QVERIFY(text.contains(
        "please see http://corvanel-works.example/spl/spl.htm (you can select this text and paste "
        "it into your browser).\r\n\r\nThe primes can be colored in various ways.  In some color "
        "schemes the colors repeat after five or six colors (in which case they are shown at the "
        "bottom in order).  The color schemes are mostly self-explanatory, except that:\r\n(i) "));
    QVERIFY(text.contains("the next 8 numbers (here 2 to 9) form ring 2, and so on.\r\n(ii) "));
    QVERIFY(text.contains("so every 5th number has the same color.\r\n(iii) Veltra color is the "));
    QVERIFY(text.endsWith(
        "color of the number as explained at http://corvanel-works.example/misc/numcol.htm."));
    QCOMPARE(text.count("\r\n"), 5);
    QCOMPARE(text.count('\n'), 5);  // no line break without its carriage return
  }

  void theGermanTextIsBuiltPieceByPiece() {
    const frmHelp help([] {});
    const QString text = help.helpText(frmHelp::kGerman);
    QVERIFY(text.startsWith(
        "Die Zahlen sind, beginnend mit der Zahl 1 (oder groesser), in einer Spirale angeordnet, "
        "wie im Bild rechts angezeigt.  Die Primzahlen sind markiert (in diesem Fall mit "
        "Kaestchen).  "));
    QVERIFY(text.contains(
        "unter der Webadresse http://corvanel-works.example/spl/spl.htm (Sie koennen diesen Text "
        "auswaehlen und in das Adressfenster Ihres Browsers kopieren).\r\n\r\nDie Primzahlen "
        "koennen in unterschiedlicher Weise gefaerbt werden.  "));
    QVERIFY(text.contains("so hat jede 5.Zahl dieselbe Farbe.\r\n(iii) Jeder Zahl ist eine "
                          "eindeutig definierte Veltrafarbe zugeordnet; das Veltra-Farbschema"));
    QVERIFY(text.endsWith(
        "wird erklaert unter der Adresse http://corvanel-works.example/misc/numcol.htm."));
    QCOMPARE(text.count("\r\n"), 5);
    QCOMPARE(text.count('\n'), 5);
    QVERIFY(help.helpText(2).isEmpty());
  }

  void thePictureShowsTheSpiralWithBluePrimes() {
    const frmHelp help([] {});
    const QImage picture = help.findChild<QLabel*>()->pixmap().toImage();
    QCOMPARE(picture.size(), QSize(264, 264));
    const auto isBlue = [&](QPoint p) { return picture.pixel(p) == qRgb(0, 0, 255); };
    // Cells of 21 pixels around the picture's centre, which holds 1 (not prime); 2 to its right
    // and 3 above that are prime, 4 above the centre is not.
    const QPoint centre(132, 132);
    const int cell = 21;
    QVERIFY(!isBlue(centre));
    QVERIFY(isBlue(centre + QPoint(cell, 0)));
    QVERIFY(isBlue(centre + QPoint(cell, -cell)));
    QVERIFY(!isBlue(centre + QPoint(0, -cell)));  // 4
  }
};

QTEST_MAIN(TestHelp)
#include "test_help.moc"
