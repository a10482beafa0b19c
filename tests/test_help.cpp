// The texts: the word table, one text per entry and language slot chosen by the current language,
// and the help window, its texts, its captions and where it appears.
#include "MainWindowHarness.h"
#include "texts/WordTable.h"
#include "language/frmHelp.h"
#include "platform/Twips.h"

class TestHelp : public QObject {
  Q_OBJECT

 private slots:
  // The captions of the main window are checked in both languages by its own tests.
  void currentLanguageChoosesTheText() {
    using language::Word;
    const struct { Word word; const char* english; const char* german; } entries[] = {
        {Word::Calculating, "Calculating", "Rechnen"},
        {Word::SpirallingOut, "Spiralling out", "Spiralbewegung nach Aussen"}};
    for (const auto& entry : entries) {
      language::intLanguage = language::kEnglish;
      QCOMPARE(language::W(entry.word), QString::fromUtf8(entry.english));
      language::intLanguage = language::kGerman;
      QCOMPARE(language::W(entry.word), QString::fromUtf8(entry.german));
    }
    language::BuildWordTable();
    QCOMPARE(language::intLanguage, language::kEnglish);
  }

  // From the Help button with the program in German: the window speaks English and lies over the
  // lower part of the main window wherever that has moved; the program goes on in English up to
  // the store Quit writes.
  void theHelpButtonShowsEnglishBelowTheStartNumberFrame() {
    MainWindowHarness h;
    frmMain& w = h.start();
    int shown = 0;
    const auto expectEnglishBelowTheFrame = [&](frmHelp& help) {
      ++shown;
      QCOMPARE(help.windowTitle(), QString("Help"));
      QCOMPARE(help.findChild<QPushButton*>()->text(), QString("Close"));
      auto* box = help.findChild<QPlainTextEdit*>();
      QCOMPARE(frmHelp::plainText(box->toPlainText()), help.helpText(frmHelp::kEnglish).replace("\r\n", "\n"));
      // The documentation address lies on one line, and the window keeps its size.
      const auto lineOf = [box](const char* word) {
        const int at = static_cast<int>(box->toPlainText().indexOf(word));
        const QTextBlock block = box->document()->findBlock(at);
        const QTextLine line = block.layout()->lineForTextPosition(at - block.position());
        return block.firstLineNumber() + line.lineNumber();
      };
      QCOMPARE(lineOf("http"), lineOf("spl.htm"));
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
      w.cmdHelp->click();
      QCOMPARE(language::intLanguage, 0);
    }
    QCOMPARE(shown, 2);
    QCOMPARE(exitStatusAfter([&] { w.cmdQuit->click(); }), 0);
    QCOMPARE(h.storeBytes().split('\n').value(1), QByteArray("0\r"));
  }

  // Each text opens and ends with its sentences and holds the ones between.
  void theTextsHoldTheirSentencesAndParagraphs() {
    const std::pair<int, QStringList> texts[] = {
        {frmHelp::kEnglish,
         {"Starting with a number (1 or higher) the numbers are arranged in a spiral as in the image "
          "at right. The prime numbers are marked (here with blue boxes).  ",
          "(you can select this text and paste it into your browser).\r\n\r\nThe primes can be "
          "colored in various ways.  ",
          "the next 8 numbers (here 2 to 9) form ring 2, and so on.\r\n(ii) ",
          "color of the number as explained at http://corvanel-works.example/misc/numcol.htm."}},
        {frmHelp::kGerman,
         {"Die Zahlen sind, beginnend mit der Zahl 1 (oder groesser), in einer Spirale angeordnet, "
          "wie im Bild rechts angezeigt.  ",
          "(Sie koennen diesen Text auswaehlen und in das Adressfenster Ihres Browsers kopieren)."
          "\r\n\r\nDie Primzahlen koennen in unterschiedlicher Weise gefaerbt werden.  ",
          "so hat jede 5.Zahl dieselbe Farbe.\r\n(iii) Jeder Zahl ist eine eindeutig definierte "
          "Veltrafarbe zugeordnet",
          "wird erklaert unter der Adresse http://corvanel-works.example/misc/numcol.htm."}}};
    for (const auto& [slot, sentences] : texts) {
      const QString text = frmHelp([] {}).helpText(slot);
      QVERIFY(text.startsWith(sentences.first()) && text.endsWith(sentences.last()));
      for (const QString& sentence : sentences) QVERIFY2(text.contains(sentence), qPrintable(sentence));
      QVERIFY(text.contains(" http://corvanel-works.example/spl/spl.htm ("));
      QCOMPARE(text.count("\r\n"), 5);
      QCOMPARE(text.count('\n'), 5);  // no line break without its carriage return
    }
  }
};

QTEST_MAIN(TestHelp)
#include "test_help.moc"
