// The word table: one text per entry and language slot, chosen by the current language.

#include <QtTest>

#include "texts/WordTable.h"

using language::Word;

class TestLanguage : public QObject {
  Q_OBJECT

 private slots:
  void currentLanguageChoosesTheText() {
    const struct { Word word; const char* english; const char* german; } entries[] = {
        {Word::Calculating, "Calculating", "Rechnen"},
        {Word::SpirallingOut, "Spiralling out", "Spiralbewegung nach Aussen"},
        {Word::NumberShown, "Number shown", "Anzahl der sicht-"},
        {Word::NumberShownSecondLine, "", "baren Zahlen"}};
    for (const auto& entry : entries) {
      language::intLanguage = language::kEnglish;
      QCOMPARE(language::W(entry.word), QString::fromUtf8(entry.english));
      language::intLanguage = language::kGerman;
      QCOMPARE(language::W(entry.word), QString::fromUtf8(entry.german));
    }
    language::BuildWordTable();
    QCOMPARE(language::intLanguage, language::kEnglish);
  }
};

QTEST_MAIN(TestLanguage)
#include "test_language.moc"
