// The start number: the key filter and cleaning of its text box, the size test and its message,
// and the scroll bar beside the box, driven through the real controls.

#include <memory>

#include <QtTest>
#include <QtWidgets>

#include "MainWindowHarness.h"
#include "Rows.h"

namespace {

// Types `text` into the emptied box, key by key.
void typeInto(QLineEdit* box, const QString& text) {
  box->clear();
  QTest::keyClicks(box, text);
}

// A click on the scroll bar's upper or lower arrow.
void clickArrow(QScrollBar* bar, bool up) {
  QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, up ? 1 : bar->height() - 2));
}

struct Step {
  const char* name;
  QString start;
  bool primesOnly, up;
  QString expected;
};

}  // namespace

class TestStartNumber : public QObject {
  Q_OBJECT

  std::unique_ptr<MainWindowHarness> harness;
  frmMain* w = nullptr;

 private slots:
  void init() {
    harness = std::make_unique<MainWindowHarness>();
    w = &harness->start();
  }
  void cleanup() { harness.reset(); }

  // Typed or pasted (by Ctrl+V or the context menu), only the digits get in, and nothing is drawn.
  void onlyDigitsGetInWithoutDrawing() {
    QVERIFY(!redrawn(*w, [&] {
      typeInto(w->txbStartNumber, QStringLiteral("07"));
      QCOMPARE(w->txbStartNumber->text(), QStringLiteral("7"));
      QTest::keyClicks(w->txbStartNumber, QStringLiteral("a-1 .x2+"));
      QCOMPARE(w->txbStartNumber->text(), QStringLiteral("712"));
      QApplication::clipboard()->setText(QStringLiteral("12a3 b"));
      w->txbStartNumber->clear();
      QTest::keyClick(w->txbStartNumber, Qt::Key_V, Qt::ControlModifier);
      QCOMPARE(w->txbStartNumber->text(), QStringLiteral("123"));
      QApplication::clipboard()->setText(QStringLiteral("98765432109876543210"));
      w->txbStartNumber->clear();
      w->txbStartNumber->paste();
    }));
    QCOMPARE(w->txbStartNumber->text(), QStringLiteral("987654321098"));
  }

  void tooLargeNumbersShowTheirMessageAndStayAsTyped() {
    const std::pair<QString, size_t> typedAndMessagesSoFar[] = {
        {"2147483646", 0}, {"2147483647", 1}, {"10000000000", 2}};
    for (const auto& [typed, messages] : typedAndMessagesSoFar) {
      typeInto(w->txbStartNumber, typed);
      QCOMPARE(w->txbStartNumber->text(), typed);
      QCOMPARE(harness->desktop.messages.size(), messages);
    }
    QCOMPARE(harness->desktop.messages.back().title, QStringLiteral("Error"));
    QCOMPARE(harness->desktop.messages.back().text,
             QStringLiteral("Start number must be <= 2^31 - 2 = 2147483646."));
  }

  void backspaceAtTwelveOrInAnEmptyBoxDoesNothingAndEnterDrawsFromOne() {
    typeInto(w->txbStartNumber, QStringLiteral("123456789012"));
    QTest::keyClick(w->txbStartNumber, Qt::Key_Backspace);
    QTest::keyClick(w->txbStartNumber, Qt::Key_Z, Qt::ControlModifier);  // the box's own undo
    QCOMPARE(w->txbStartNumber->text(), QStringLiteral("123456789012"));
    QTest::keyClick(w->txbStartNumber, Qt::Key_A, Qt::ControlModifier);
    QVERIFY(!w->txbStartNumber->hasSelectedText());
    // Its menu holds only what the keys may do: at twelve characters nothing but Delete.
    w->txbStartNumber->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("5"));
    const auto menuOffers = [this] {
      std::unique_ptr<QMenu> menu(w->createStartNumberMenu());
      QStringList offered;
      for (QAction* action : menu->actions()) {
        if (action->isEnabled()) offered << action->text().remove('&');
      }
      return offered;
    };
    QCOMPARE(menuOffers(), QStringList{"Delete"});
    w->txbStartNumber->setText(QStringLiteral("12"));
    w->txbStartNumber->selectAll();
    QCOMPARE(menuOffers(), (QStringList{"Cut", "Copy", "Paste", "Delete"}));
    QTest::keyClick(w->txbStartNumber, Qt::Key_Delete);  // Delete is no character: never filtered
    QCOMPARE(w->txbStartNumber->text(), QString());

    QVERIFY(!redrawn(*w, [&] { QTest::keyClick(w->txbStartNumber, Qt::Key_Backspace); }));
    QCOMPARE(w->txbStartNumber->text(), QString());
    QVERIFY(redrawn(*w, [&] { QTest::keyClick(w->txbStartNumber, Qt::Key_Return); }));
    QCOMPARE(w->txbStartNumber->text(), QStringLiteral("1"));
    QCOMPARE(w->lblEndNumberOutput->text(), QStringLiteral("5625"));
  }

  // The scroll bar holds 0 to 32767: it follows the text within that range, and above it a prime
  // step that finds nothing leaves the bar at its top end and the text alone.
  void scrollBarFollowsTheTextUpTo32767() {
    typeInto(w->txbStartNumber, QStringLiteral("40000"));
    QVERIFY(!w->vsbStartNumber->isEnabled());
    QTest::keyClick(w->txbStartNumber, Qt::Key_Home);
    QTest::keyClick(w->txbStartNumber, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClicks(w->txbStartNumber, QStringLiteral("3"));  // the 4 becomes a 3
    QCOMPARE(w->txbStartNumber->text(), QStringLiteral("30000"));
    QVERIFY(w->vsbStartNumber->isEnabled());
    QCOMPARE(w->vsbStartNumber->value(), 30000);

    typeInto(w->txbStartNumber, QStringLiteral("40000"));
    QTest::keyClick(w->txbStartNumber, Qt::Key_Return);  // the draw pass enables the scroll bar again
    w->chkCentralNumberPrime->setChecked(true);
    // The search goes down from 0 and finds no prime.
    QVERIFY(!redrawn(*w, [&] { w->vsbStartNumber->setValue(0); }));
    QCOMPARE(w->vsbStartNumber->value(), 32767);
    QCOMPARE(w->txbStartNumber->text(), QStringLiteral("40000"));
  }

  // Each repeated step is drawn, and a wheel notch is one step like one click on an arrow.
  void aHeldArrowRepeatsAndAWheelNotchIsOneStep() {
    typeInto(w->txbStartNumber, QStringLiteral("100"));
    QTest::keyClick(w->txbStartNumber, Qt::Key_Return);
    // Each step comes only after the one before it was drawn.
    QList<qint64> drawnBeforeStep;
    const auto watch = QObject::connect(w->txbStartNumber, &QLineEdit::textChanged,
                                        [&] { drawnBeforeStep << w->lngStartNumber(); });
    const QPoint upArrow(w->vsbStartNumber->width() / 2, 1);
    QTest::mousePress(w->vsbStartNumber, Qt::LeftButton, {}, upArrow);
    QTest::qWait(1000);
    QTest::mouseRelease(w->vsbStartNumber, Qt::LeftButton, {}, upArrow);
    QObject::disconnect(watch);
    const int steps = w->txbStartNumber->text().toInt() - 100;
    QVERIFY2(steps > 2, qPrintable(QString::number(steps)));
    QCOMPARE(drawnBeforeStep.size(), steps);
    for (int k = 0; k < steps; ++k) QCOMPARE(drawnBeforeStep[k], qint64(100 + k));
    QCOMPARE(w->lngStartNumber(), qint64(100 + steps));

    QWheelEvent notch(QPointF(2, 2), w->vsbStartNumber->mapToGlobal(QPointF(2, 2)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w->vsbStartNumber, &notch);
    QCOMPARE(w->txbStartNumber->text().toInt(), 100 + steps + 1);
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
    typeInto(w->txbStartNumber, row.start);
    QTest::keyClick(w->txbStartNumber, Qt::Key_Return);
    w->chkCentralNumberPrime->setChecked(row.primesOnly);
    QCOMPARE(redrawn(*w, [&] { clickArrow(w->vsbStartNumber, row.up); }), row.expected != row.start);
    QCOMPARE(w->txbStartNumber->text(), row.expected);
    QCOMPARE(w->vsbStartNumber->value(), row.expected.toInt());
  }
};

QTEST_MAIN(TestStartNumber)
#include "test_start_number.moc"
