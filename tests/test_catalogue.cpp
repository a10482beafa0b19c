// The other-software window: the scrolling list, the clicks that open pages and their messages.
#include "MainWindowHarness.h"

namespace {

struct CatalogueWindow {
  CatalogueWindow() : window(desktop) { mainWindow.show(); }

  // Opens the window modally, runs `whileShown` inside, then presses Close.
  void open(const std::function<void()>& whileShown) {
    closeWhenShown<frmCWsoftware>([&](frmCWsoftware&) { whileShown(); });
    window.showModal(&mainWindow);
  }

  QScrollBar* scrollBar() const { return window.findChild<QScrollBar*>("VScroll"); }
  QLabel* title(int row) const { return window.findChild<QLabel*>(QString("lblTitle%1").arg(row)); }
  QLabel* description(int row) const { return window.findChild<QLabel*>(QString("lblDescription%1").arg(row)); }
  bool titleIsRed(int row) const { return title(row)->palette().color(QPalette::WindowText) == Qt::red; }
  static void click(QLabel* label) { QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(2, 2)); }

  RecordingDesktop desktop;
  QWidget mainWindow;
  frmCWsoftware window;
};

}  // namespace

class TestCatalogue : public QObject {
  Q_OBJECT

 private slots:
  // Fifteen programs, three at a time: at the end of the scroll bar the rows hold the last three,
  // and the row below them is empty and ignores clicks.
  void theListScrollsToItsLastThreePrograms() {
    CatalogueWindow w;
    w.open([&] {
      QCOMPARE(w.scrollBar()->maximum(), 12);
      // The wheel turned down over a description scrolls the list.
      QWheelEvent notch(QPointF(5, 5), w.description(1)->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                        Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(w.description(1), &notch);
      QVERIFY(w.scrollBar()->value() > 0);
      QSet<QString> titles;
      for (int value = 0; value <= 12; ++value) {
        w.scrollBar()->setValue(value);
        titles << w.title(0)->text();
      }
      titles << w.title(1)->text() << w.title(2)->text();
      titles.remove(QString());
      QCOMPARE(titles.size(), 15);
      QVERIFY(w.title(3)->text().isEmpty());
      CatalogueWindow::click(w.title(3));
      CatalogueWindow::click(w.description(3));
      QVERIFY(w.desktop.openedUrls.isEmpty());
    });
  }

  // A clicked title opens its page and turns red; the label stays red while the list scrolls, and
  // the window opens again as it was left.
  void aClickedTitleStaysRedAndTheListKeepsItsPlace() {
    CatalogueWindow w;
    QString firstTitle;
    w.open([&] {
      w.scrollBar()->setValue(4);
      CatalogueWindow::click(w.title(1));
      QCOMPARE(w.desktop.openedUrls, QStringList{w.description(1)->text().section("\r\n", 1)});
      QVERIFY(w.titleIsRed(1) && !w.titleIsRed(0));
      w.scrollBar()->setValue(9);
      QVERIFY(w.titleIsRed(1));
      firstTitle = w.title(0)->text();
    });
    w.open([&] {
      QCOMPARE(w.scrollBar()->value(), 9);
      QCOMPARE(w.title(0)->text(), firstTitle);
      QVERIFY(w.titleIsRed(1));
    });
  }

  void aPageThatCannotBeOpenedIsExplained() {
    CatalogueWindow w;
    w.desktop.openUrlResult = 31;
    w.window.RequestWebPage("http://corvanel-works.example/spl/spl.htm");
    QCOMPARE(w.desktop.messages.size(), size_t(1));
    QCOMPARE(w.desktop.messages[0].text,
             QString("Error launching web browser, error code = 31.\r\n\r\nThe web page file type "
                     "htm is not associated with any browser program."));
  }
};

QTEST_MAIN(TestCatalogue)
#include "test_catalogue.moc"
