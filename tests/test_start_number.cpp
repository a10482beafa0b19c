// The start number: the key filter and cleaning of its text box, the size test and its message,
// and the scroll bar beside the box, driven through the real controls.

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include "MainWindowHarness.h"
#include "language/WordTable.h"

namespace {

const QString kTooLarge = QStringLiteral("Start number must be <= 2^31 - 2 = 2147483646.");

// The box holds digits only, at most 12 of them, and the scroll bar shows every number it can.
bool boxAndScrollBarAgree(const frmMain& w) {
  const QString text = w.txbStartNumber->text();
  if (text.size() > 12) return false;
  for (QChar c : text) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
  }
  if (text.isEmpty() || text.size() > 5 || text.toInt() > 32767) return !w.vsbStartNumber->isEnabled();
  return w.vsbStartNumber->isEnabled() && w.vsbStartNumber->value() == text.toInt();
}

// Types `text` into an empty box and draws it with Enter.
void drawStartNumber(frmMain& w, const QString& text) {
  w.txbStartNumber->clear();
  QTest::keyClicks(w.txbStartNumber, text);
  QTest::keyClick(w.txbStartNumber, Qt::Key_Return);
}

// A click on the scroll bar's upper or lower arrow.
void clickArrow(QScrollBar* bar, bool up) {
  QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, up ? 1 : bar->height() - 2));
}

}  // namespace

class TestStartNumber : public QObject {
  Q_OBJECT

 private slots:
  void typingEditsTheTextWithoutDrawing();
  void tooLargeNumbersShowTheirMessageAndStayAsTyped_data();
  void tooLargeNumbersShowTheirMessageAndStayAsTyped();
  void nothingIsReportedBeforeStartUpEnds();
  void twelveCharactersTakeNoMoreKeys();
  void backspaceInAnEmptyBoxIsIgnoredAndEnterDrawsFromOne();
  void scrollBarFollowsTheTextUpTo32767();
  void pastedTextKeepsOnlyItsDigits_data();
  void pastedTextKeepsOnlyItsDigits();
  void scrollBarSteps_data();
  void scrollBarSteps();
  void failedPrimeStepAboveTheScrollRangeLeavesTheTopEnd();
  void scrollBarHandsTheFocusBack();
};

void TestStartNumber::typingEditsTheTextWithoutDrawing() {
  MainWindowHarness harness;
  frmMain& w = harness.start();
  const int passes = w.drawPassCount();
  w.txbStartNumber->clear();
  QTest::keyClicks(w.txbStartNumber, QStringLiteral("0"));
  QCOMPARE(w.txbStartNumber->text(), QStringLiteral("0"));
  QTest::keyClicks(w.txbStartNumber, QStringLiteral("7"));
  QCOMPARE(w.txbStartNumber->text(), QStringLiteral("7"));
  QTest::keyClicks(w.txbStartNumber, QStringLiteral("a-1 .x2+"));  // only the digits get in
  QCOMPARE(w.txbStartNumber->text(), QStringLiteral("712"));
  QCOMPARE(w.vsbStartNumber->value(), 712);
  QTest::keyClick(w.txbStartNumber, Qt::Key_Left);  // keys that type nothing still work
  QTest::keyClick(w.txbStartNumber, Qt::Key_Delete);
  QCOMPARE(w.txbStartNumber->text(), QStringLiteral("71"));
  QCOMPARE(w.drawPassCount(), passes);
  QVERIFY(harness.desktop.messages.empty());

  QSignalSpy returnPressed(w.txbStartNumber, &QLineEdit::returnPressed);
  QTest::keyClick(w.txbStartNumber, Qt::Key_Return);
  QCOMPARE(w.drawPassCount(), passes + 1);
  QCOMPARE(returnPressed.count(), 1);  // the box still gets its Enter
  QCOMPARE(w.lblP->text(), QStringLiteral("P"));
}

void TestStartNumber::tooLargeNumbersShowTheirMessageAndStayAsTyped_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<int>("language");
  QTest::addColumn<QString>("title");
  QTest::addColumn<QString>("message");
  QTest::newRow("largest") << "2147483646" << language::kEnglish << QString() << QString();
  QTest::newRow("one more") << "2147483647" << language::kEnglish << "Error" << kTooLarge;
  QTest::newRow("eleven digits") << "10000000000" << language::kEnglish << "Error" << kTooLarge;
  QTest::newRow("German") << "3000000000" << language::kGerman << "Fehler"
                          << "Die Startzahl muss kleiner als 2^31 - 2 = 2147483646 sein.";
}

void TestStartNumber::tooLargeNumbersShowTheirMessageAndStayAsTyped() {
  QFETCH(QString, typed);
  QFETCH(int, language);
  QFETCH(QString, title);
  QFETCH(QString, message);
  MainWindowHarness harness;
  frmMain& w = harness.start();
  language::intLanguage = language;
  const int passes = w.drawPassCount();
  w.txbStartNumber->clear();
  QTest::keyClicks(w.txbStartNumber, typed);
  language::intLanguage = language::kEnglish;

  QCOMPARE(w.txbStartNumber->text(), typed);
  QCOMPARE(w.drawPassCount(), passes);
  QCOMPARE(harness.desktop.messages.size(), message.isEmpty() ? 0u : 1u);
  if (!message.isEmpty()) {
    QCOMPARE(harness.desktop.messages[0].title, title);
    QCOMPARE(harness.desktop.messages[0].text, message);
    QCOMPARE(harness.desktop.messages[0].icon, platform::Desktop::Icon::None);
  }
  QVERIFY(!w.vsbStartNumber->isEnabled());
}

void TestStartNumber::nothingIsReportedBeforeStartUpEnds() {
  MainWindowHarness harness;
  frmMain w(harness.desktop);
  w.txbStartNumber->setText(QStringLiteral("99999999999"));
  QVERIFY(harness.desktop.messages.empty());
  w.txbStartNumber->setText(QStringLiteral("0300"));
  QCOMPARE(w.vsbStartNumber->value(), 300);  // the scroll bar follows already
  w.vsbStartNumber->setValue(5);             // but its own changes are ignored
  QCOMPARE(w.txbStartNumber->text(), QStringLiteral("300"));
  QCOMPARE(w.drawPassCount(), 0);
}

void TestStartNumber::twelveCharactersTakeNoMoreKeys() {
  MainWindowHarness harness;
  frmMain& w = harness.start();
  w.txbStartNumber->clear();
  QTest::keyClicks(w.txbStartNumber, QStringLiteral("123456789012"));
  QCOMPARE(w.txbStartNumber->text(), QStringLiteral("123456789012"));
  QCOMPARE(harness.desktop.messages.size(), 2u);  // at 11 and at 12 digits

  QApplication::clipboard()->setText(QStringLiteral("7"));
  QTest::keyClick(w.txbStartNumber, Qt::Key_3);
  QTest::keyClick(w.txbStartNumber, Qt::Key_Backspace);
  QTest::keyClick(w.txbStartNumber, Qt::Key_V, Qt::ControlModifier);
  QTest::keyClick(w.txbStartNumber, Qt::Key_A, Qt::ControlModifier);  // selects all
  QTest::keyClick(w.txbStartNumber, Qt::Key_X, Qt::ControlModifier);
  QTest::keyClick(w.txbStartNumber, Qt::Key_C, Qt::ControlModifier);
  QCOMPARE(w.txbStartNumber->text(), QStringLiteral("123456789012"));
  QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("7"));
  QCOMPARE(harness.desktop.messages.size(), 2u);

  QTest::keyClick(w.txbStartNumber, Qt::Key_Home);
  QTest::keyClick(w.txbStartNumber, Qt::Key_Delete);  // Delete types no character: not filtered
  QCOMPARE(w.txbStartNumber->text(), QStringLiteral("23456789012"));
  QTest::keyClick(w.txbStartNumber, Qt::Key_End);
  QTest::keyClick(w.txbStartNumber, Qt::Key_Backspace);  // below 12 the clipboard keys work again
  QTest::keyClick(w.txbStartNumber, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(w.txbStartNumber, Qt::Key_X, Qt::ControlModifier);
  QCOMPARE(w.txbStartNumber->text(), QString());
  QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("2345678901"));

  const int passes = w.drawPassCount();
  w.txbStartNumber->setText(QStringLiteral("123456789012"));
  QTest::keyClick(w.txbStartNumber, Qt::Key_Enter);  // Enter still draws, and is refused
  QCOMPARE(w.drawPassCount(), passes + 1);
  QCOMPARE(harness.desktop.messages.back().text, kTooLarge);
  QVERIFY(!w.blnSpiralDrawn);
}

void TestStartNumber::backspaceInAnEmptyBoxIsIgnoredAndEnterDrawsFromOne() {
  MainWindowHarness harness;
  frmMain& w = harness.start();
  drawStartNumber(w, QStringLiteral("101"));
  w.txbStartNumber->clear();
  const int passes = w.drawPassCount();
  QSignalSpy edits(w.txbStartNumber, &QLineEdit::textEdited);
  QTest::keyClick(w.txbStartNumber, Qt::Key_Backspace);
  QCOMPARE(edits.count(), 0);
  QCOMPARE(w.txbStartNumber->text(), QString());
  QCOMPARE(w.drawPassCount(), passes);
  QVERIFY(!w.vsbStartNumber->isEnabled());

  QTest::keyClick(w.txbStartNumber, Qt::Key_Return);
  QCOMPARE(w.txbStartNumber->text(), QStringLiteral("1"));
  QCOMPARE(w.drawPassCount(), passes + 1);
  QVERIFY(w.blnSpiralDrawn);
  QCOMPARE(w.lblEndNumberOutput->text(), QStringLiteral("5625"));
  QCOMPARE(w.vsbStartNumber->value(), 1);
  QVERIFY(harness.desktop.messages.empty());
}

void TestStartNumber::scrollBarFollowsTheTextUpTo32767() {
  MainWindowHarness harness;
  frmMain& w = harness.start();
  const int passes = w.drawPassCount();
  w.txbStartNumber->clear();
  QTest::keyClicks(w.txbStartNumber, QStringLiteral("40000"));
  QVERIFY(!w.vsbStartNumber->isEnabled());
  QCOMPARE(w.vsbStartNumber->value(), 4000);  // where the last number it could show left it

  QTest::keyClick(w.txbStartNumber, Qt::Key_Home);
  QTest::keyClick(w.txbStartNumber, Qt::Key_Right, Qt::ShiftModifier);
  QTest::keyClicks(w.txbStartNumber, QStringLiteral("3"));
  QCOMPARE(w.txbStartNumber->text(), QStringLiteral("30000"));
  QVERIFY(w.vsbStartNumber->isEnabled());
  QCOMPARE(w.vsbStartNumber->value(), 30000);
  QCOMPARE(w.drawPassCount(), passes);  // moving the scroll bar with the text draws nothing
  QVERIFY(boxAndScrollBarAgree(w));
}

void TestStartNumber::pastedTextKeepsOnlyItsDigits_data() {
  QTest::addColumn<QString>("clipboard");
  QTest::addColumn<bool>("byKey");
  QTest::addColumn<QString>("expected");
  QTest::addColumn<int>("messages");
  QTest::newRow("letters and blanks") << "12a3 b" << true << "123" << 0;
  QTest::newRow("from the context menu") << "12a3 b" << false << "123" << 0;
  QTest::newRow("sign and separators") << "-1,234.5" << true << "12345" << 0;
  QTest::newRow("leading zeros") << "0042" << true << "42" << 0;
  QTest::newRow("line break") << " 7\n" << true << "7" << 0;
  QTest::newRow("no digits") << "abc" << true << "" << 0;
  QTest::newRow("digits of another script") << QString::fromUtf8("\u0661\u0662") << true << "" << 0;
  QTest::newRow("too long") << "98765432109876543210" << true << "987654321098" << 1;
  QTest::newRow("too large") << "x3000000000" << false << "3000000000" << 1;
}

void TestStartNumber::pastedTextKeepsOnlyItsDigits() {
  QFETCH(QString, clipboard);
  QFETCH(bool, byKey);
  QFETCH(QString, expected);
  QFETCH(int, messages);
  MainWindowHarness harness;
  frmMain& w = harness.start();
  w.txbStartNumber->clear();
  const int passes = w.drawPassCount();
  QApplication::clipboard()->setText(clipboard);
  if (byKey) {
    QTest::keyClick(w.txbStartNumber, Qt::Key_V, Qt::ControlModifier);
  } else {
    w.txbStartNumber->paste();  // what the box's context menu does
  }
  QCOMPARE(w.txbStartNumber->text(), expected);
  QCOMPARE(static_cast<int>(harness.desktop.messages.size()), messages);
  QCOMPARE(w.drawPassCount(), passes);
  if (messages == 0) QVERIFY(boxAndScrollBarAgree(w));
}

void TestStartNumber::scrollBarSteps_data() {
  QTest::addColumn<QString>("start");
  QTest::addColumn<bool>("primesOnly");
  QTest::addColumn<bool>("up");
  QTest::addColumn<QString>("expected");
  QTest::newRow("up from 10") << "10" << false << true << "11";
  QTest::newRow("down from 10") << "10" << false << false << "9";
  QTest::newRow("prime: up from 10") << "10" << true << true << "11";
  QTest::newRow("prime: down from 11") << "11" << true << false << "7";
  QTest::newRow("prime: up from 0") << "0" << true << true << "2";
  QTest::newRow("prime: down from 2") << "2" << true << false << "2";
  QTest::newRow("prime: up from 32749") << "32749" << true << true << "32749";
  QTest::newRow("top end") << "32767" << false << true << "32767";
}

void TestStartNumber::scrollBarSteps() {
  QFETCH(QString, start);
  QFETCH(bool, primesOnly);
  QFETCH(bool, up);
  QFETCH(QString, expected);
  MainWindowHarness harness;
  frmMain& w = harness.start();
  drawStartNumber(w, start);
  w.chkCentralNumberPrime->setChecked(primesOnly);
  const int passes = w.drawPassCount();

  clickArrow(w.vsbStartNumber, up);
  QCOMPARE(w.txbStartNumber->text(), expected);
  QCOMPARE(w.vsbStartNumber->value(), expected.toInt());
  QCOMPARE(w.drawPassCount(), passes + (expected == start ? 0 : 1));
  QCOMPARE(w.lblStartNumberOutput->isVisible(), false);
  QVERIFY(harness.desktop.messages.empty());
  QVERIFY(boxAndScrollBarAgree(w));

  // The arrow keys go the same way as the arrows.
  QTest::keyClick(w.vsbStartNumber, up ? Qt::Key_Up : Qt::Key_Down);
  QCOMPARE(w.vsbStartNumber->value(), w.txbStartNumber->text().toInt());
}

void TestStartNumber::failedPrimeStepAboveTheScrollRangeLeavesTheTopEnd() {
  MainWindowHarness harness;
  frmMain& w = harness.start();
  w.txbStartNumber->setText(QStringLiteral("1"));
  w.txbStartNumber->setText(QStringLiteral("40000"));
  QTest::keyClick(w.txbStartNumber, Qt::Key_Return);  // the draw pass enables the scroll bar again
  QVERIFY(w.vsbStartNumber->isEnabled());
  QCOMPARE(w.vsbStartNumber->value(), 1);
  w.chkCentralNumberPrime->setChecked(true);
  const int passes = w.drawPassCount();

  clickArrow(w.vsbStartNumber, false);  // 0: the search goes down and finds no prime
  QCOMPARE(w.vsbStartNumber->value(), 32767);
  QCOMPARE(w.txbStartNumber->text(), QStringLiteral("40000"));
  QCOMPARE(w.drawPassCount(), passes);

  clickArrow(w.vsbStartNumber, false);  // now the search from 32766 down finds 32749
  QCOMPARE(w.txbStartNumber->text(), QStringLiteral("32749"));
  QCOMPARE(w.drawPassCount(), passes + 1);
  QVERIFY(harness.desktop.messages.empty());
}

void TestStartNumber::scrollBarHandsTheFocusBack() {
  MainWindowHarness harness;
  frmMain& w = harness.start();
  w.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  w.chkGrid->setFocus();
  w.vsbStartNumber->setFocus();
  QCOMPARE(QApplication::focusWidget(), w.txbStartNumber);
  QCOMPARE(w.txbStartNumber->cursorPosition(), w.txbStartNumber->text().size());
}

QTEST_MAIN(TestStartNumber)
#include "test_start_number.moc"
