// The word table and the language rules for phrases.

#include <QtTest>

#include "language/WordTable.h"

using language::Word;

class TestLanguage : public QObject {
  Q_OBJECT

 private slots:
  void init() { language::BuildWordTable(); }
  void currentLanguageChoosesTheSlot();
  void numberShownHasASecondLineOnlyInGerman();
  void untranslatedSlotsAreEmptyAndOutOfRangeReadsEnglish();
  void phrasesLowerCaseInnerWordsUnlessGerman();
};

void TestLanguage::currentLanguageChoosesTheSlot() {
  QCOMPARE(language::W(Word::Calculating), QStringLiteral("Calculating"));
  QCOMPARE(language::W(Word::ShowOnlyForCentralPrime), QStringLiteral("Show only for central number prime"));
  language::intLanguage = language::kGerman;
  QCOMPARE(language::W(Word::Calculating), QStringLiteral("Rechnen"));
  QCOMPARE(language::W(Word::Stop), QStringLiteral("Halt"));
  QCOMPARE(language::W(Word::Error), QStringLiteral("Fehler"));
  QCOMPARE(language::W(Word::SpirallingOut), QStringLiteral("Spiralbewegung nach Aussen"));
  language::BuildWordTable();
  QCOMPARE(language::intLanguage, language::kEnglish);
}

void TestLanguage::numberShownHasASecondLineOnlyInGerman() {
  QCOMPARE(language::wordText(Word::NumberShownSecondLine, language::kEnglish), QString());
  QCOMPARE(language::wordText(Word::NumberShownSecondLine, language::kGerman),
           QStringLiteral("baren Zahlen"));
  QCOMPARE(language::wordText(Word::NumberShown, language::kGerman), QStringLiteral("Anzahl der sicht-"));
}

void TestLanguage::untranslatedSlotsAreEmptyAndOutOfRangeReadsEnglish() {
  QCOMPARE(language::wordText(Word::Help, language::kSpanish), QStringLiteral("Ayuda"));
  QCOMPARE(language::wordText(Word::Quit, language::kPortuguese), QStringLiteral("Sair"));
  QCOMPARE(language::wordText(Word::Grid, language::kFrench), QString());
  QCOMPARE(language::wordText(Word::Grid, 5), QString());
  QCOMPARE(language::wordText(Word::Grid, 6), QStringLiteral("Grid"));
  QCOMPARE(language::wordText(Word::Grid, -1), QStringLiteral("Grid"));
}

void TestLanguage::phrasesLowerCaseInnerWordsUnlessGerman() {
  QCOMPARE(language::lowerUnlessGerman(language::W(Word::White)), QStringLiteral("white"));
  language::intLanguage = language::kGerman;
  QCOMPARE(language::lowerUnlessGerman(language::W(Word::White)), QStringLiteral("Weiss"));
}

QTEST_MAIN(TestLanguage)
#include "test_language.moc"
