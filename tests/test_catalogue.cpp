// The other-software window: the scrolling list, the clicks that open pages and their messages.
#include <functional>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QTimer>
#include <QtTest>

#include "MainWindowHarness.h"
#include "RecordingDesktop.h"
#include "catalogue/frmCWsoftware.h"
#include "platform/Twips.h"

using platform::Desktop;

namespace {

const QColor kRed(255, 0, 0);

class CatalogueWindow {
 public:
  CatalogueWindow() : window(desktop) {
    mainWindow.setGeometry(150, 60, 795, 575);
    mainWindow.show();
  }

  // Opens the window modally, runs `whileShown` inside, then presses Close.
  void open(const std::function<void()>& whileShown = [] {}) {
    QTimer::singleShot(0, &window, [&] {
      whileShown();
      window.findChild<QPushButton*>("cmdClose")->click();
    });
    window.showModal(&mainWindow);
  }

  QScrollBar* scrollBar() const { return window.findChild<QScrollBar*>("VScroll"); }
  QLabel* title(int row) const { return window.findChild<QLabel*>(QString("lblTitle%1").arg(row)); }
  QLabel* description(int row) const {
    return window.findChild<QLabel*>(QString("lblDescription%1").arg(row));
  }
  QString addressInRow(int row) const { return description(row)->text().section("\r\n", 1); }
  static QColor textColor(QLabel* label) { return label->palette().color(QPalette::WindowText); }
  static void click(QLabel* label) { QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(2, 2)); }

  RecordingDesktop desktop;
  QWidget mainWindow;
  frmCWsoftware window;
};

}  // namespace

class TestCatalogue : public QObject {
  Q_OBJECT

 private slots:
  void theListScrollsThroughFifteenProgramsThreeAtATime() {
    CatalogueWindow w;
    const QRegularExpression page(R"(^http://corvanel-works\.example/(\w+)/\1\.htm$)");
    w.open([&] {
      QCOMPARE(w.scrollBar()->minimum(), 0);
      QCOMPARE(w.scrollBar()->maximum(), 12);
      QCOMPARE(w.scrollBar()->pageStep(), 3);
      QVERIFY(w.window.findChild<QLabel*>("lblIntro")->text().contains("Corvanel Works"));
      QVERIFY(w.window.findChild<QLabel*>("lblIntro")->text().contains("15 programs"));

      QSet<QString> titles;
      QString titleOfRecord12;
      for (int value = 0; value <= 12; ++value) {
        w.scrollBar()->setValue(value);
        for (int row = 0; row < 3; ++row) {
          titles << w.title(row)->text();
          QVERIFY2(page.match(w.addressInRow(row)).hasMatch(), qPrintable(w.addressInRow(row)));
        }
        if (value == 10) titleOfRecord12 = w.title(2)->text();
      }
      QCOMPARE(titles.size(), 15);
      // At the end the three rows hold records 12, 13 and 14, and the fourth row is empty.
      QCOMPARE(w.title(0)->text(), titleOfRecord12);
      QVERIFY(w.title(3)->text().isEmpty());
      QVERIFY(w.description(3)->text().isEmpty());
    });
  }

  void exactlyThreeRowsFitTheList() {
    CatalogueWindow w;
    w.open([&] {
      const QWidget* list = w.window.findChild<QWidget*>("PicBox");
      QVERIFY(w.description(2)->geometry().bottom() < list->height());
      QVERIFY(w.title(3)->y() >= list->height());
      QCOMPARE(w.scrollBar()->geometry().right(), list->width() - 1);
      QCOMPARE(w.scrollBar()->height(), list->height());
      QVERIFY(w.title(0)->geometry().right() < w.scrollBar()->x());
    });
    const QPoint offset(platform::twipsToPixels(100), platform::twipsToPixels(400));
    QCOMPARE(w.window.frameGeometry().topLeft(), w.mainWindow.frameGeometry().topLeft() + offset);
  }

  void aClickedTitleOpensItsPageAndStaysRedWhileScrolling() {
    CatalogueWindow w;
    w.open([&] {
      w.scrollBar()->setValue(4);
      const QString address = w.addressInRow(1);
      CatalogueWindow::click(w.title(1));
      QCOMPARE(w.desktop.openedUrls, QStringList{address});
      QVERIFY(w.desktop.messages.empty());
      QCOMPARE(CatalogueWindow::textColor(w.title(1)), kRed);
      QVERIFY(CatalogueWindow::textColor(w.title(0)) != kRed);

      w.scrollBar()->setValue(9);
      QCOMPARE(CatalogueWindow::textColor(w.title(1)), kRed);

      CatalogueWindow::click(w.description(2));  // a description opens without turning red
      QCOMPARE(w.desktop.openedUrls.back(), w.addressInRow(2));
      QVERIFY(CatalogueWindow::textColor(w.title(2)) != kRed);
    });
  }

  void reopeningShowsTheListWhereItWasLeft() {
    CatalogueWindow w;
    QString firstTitle;
    w.open([&] {
      w.scrollBar()->setValue(7);
      firstTitle = w.title(0)->text();
      CatalogueWindow::click(w.title(0));
    });
    QVERIFY(!w.window.isVisible());
    w.open([&] {
      QCOMPARE(w.scrollBar()->value(), 7);
      QCOMPARE(w.title(0)->text(), firstTitle);
      QCOMPARE(CatalogueWindow::textColor(w.title(0)), kRed);
    });
  }

  void aClickOnAnEmptyRowDoesNothing() {
    CatalogueWindow w;
    w.open([&] {
      w.scrollBar()->setValue(12);
      const QColor before = CatalogueWindow::textColor(w.title(3));
      CatalogueWindow::click(w.title(3));
      CatalogueWindow::click(w.description(3));
      QVERIFY(w.desktop.openedUrls.isEmpty());
      QVERIFY(w.desktop.messages.empty());
      QCOMPARE(CatalogueWindow::textColor(w.title(3)), before);
    });
  }

  void theOpenersSettingsAndTheMainWindowsColoursApply() {
    CatalogueWindow w;
    QPalette mainPalette = w.mainWindow.palette();
    mainPalette.setColor(QPalette::Window, QColor(255, 255, 224));
    w.mainWindow.setPalette(mainPalette);
    w.window.lngIntroForeColor = 0xFF0000;  // blue, as 0x00BBGGRR
    w.window.blnIntroFontBold = true;
    w.window.lngTitleForeColor = 0x008000;
    w.window.lngDescriptionForeColor = 0x000080;
    w.open([&] {
      const QLabel* intro = w.window.findChild<QLabel*>("lblIntro");
      QCOMPARE(intro->palette().color(QPalette::WindowText), QColor(0, 0, 255));
      QVERIFY(intro->font().bold());
      QCOMPARE(CatalogueWindow::textColor(w.title(0)), QColor(0, 128, 0));
      QVERIFY(w.title(0)->font().bold());
      QCOMPARE(CatalogueWindow::textColor(w.description(0)), QColor(128, 0, 0));
      QCOMPARE(w.window.palette().color(QPalette::Window), QColor(255, 255, 224));
    });
  }

  // The main window's button: the main window hides while the catalogue is shown; the catalogue is
  // built once and reopens as it was left, where it was.
  void theButtonShowsTheCatalogueInPlaceOfTheMainWindow() {
    MainWindowHarness h;
    frmMain& w = h.start();
    w.txbStartNumber->setCursorPosition(0);
    QPoint placedAt;
    bool shown = false;
    closeWhenShown<frmCWsoftware>([&](frmCWsoftware& catalogue) {
      shown = true;
      QVERIFY(!w.isVisible());
      QCOMPARE(catalogue.parentWidget(), &w);
      QCOMPARE(catalogue.lngIntroForeColor, 0xFF0000);
      QVERIFY(!catalogue.blnIntroFontBold);
      const QLabel* intro = catalogue.findChild<QLabel*>("lblIntro");
      QCOMPARE(intro->palette().color(QPalette::WindowText), QColor(0, 0, 255));
      QVERIFY(!intro->font().bold());
      catalogue.findChild<QScrollBar*>("VScroll")->setValue(6);
      placedAt = catalogue.pos();
    });
    w.cmdCWsoftware->click();
    QVERIFY(shown);
    QVERIFY(w.isVisible());
    QCOMPARE(w.txbStartNumber->cursorPosition(), w.txbStartNumber->text().size());  // refocused

    shown = false;
    closeWhenShown<frmCWsoftware>([&](frmCWsoftware& catalogue) {
      shown = true;
      QCOMPARE(catalogue.findChild<QScrollBar*>("VScroll")->value(), 6);
      QCOMPARE(catalogue.pos(), placedAt);
    });
    w.cmdCWsoftware->click();
    QVERIFY(shown);
    QCOMPARE(w.findChildren<frmCWsoftware*>().size(), 1);
  }

  void quitSavesThenShowsTheCatalogueThenEndsTheProgram() {
    MainWindowHarness h;
    frmMain& w = h.start();
    QByteArray storedMeanwhile;
    bool mainWindowHidden = false;
    closeWhenShown<frmCWsoftware>([&](frmCWsoftware&) {
      storedMeanwhile = h.storeBytes();
      mainWindowHidden = !w.isVisible();
    });
    QCOMPARE(exitStatusAfter([&] { w.cmdQuit->click(); }), 0);
    QCOMPARE(storedMeanwhile, QByteArray("1\r\n0\r\n1\r\n3,0,0,2\r\n\"1\"\r\n0\r\n1\r\n0\r\n0\r\n"));
    QVERIFY(mainWindowHidden);
  }

  void aPageThatCannotBeOpenedIsExplained_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    const QString first = "Error launching web browser, error code = %1.";
    QTest::newRow("no association")
        << 31
        << first.arg(31) +
               "\r\n\r\nThe web page file type htm is not associated with any browser program.";
    QTest::newRow("out of memory") << 8 << first.arg(8) + "\r\n\r\nOut of memory.";
  }

  void aPageThatCannotBeOpenedIsExplained() {
    QFETCH(int, code);
    QFETCH(QString, text);
    CatalogueWindow w;
    w.desktop.openUrlResult = code;
    w.open([&] { CatalogueWindow::click(w.title(0)); });
    QCOMPARE(w.desktop.messages.size(), size_t(1));
    QCOMPARE(w.desktop.messages[0].title, QString("Cannot launch web browser"));
    QCOMPARE(w.desktop.messages[0].text, text);
    QCOMPARE(w.desktop.messages[0].icon, Desktop::Icon::Exclamation);
    QCOMPARE(w.desktop.messages[0].buttons, Desktop::Buttons::Ok);
  }
};

QTEST_MAIN(TestCatalogue)
#include "test_catalogue.moc"
