#include "WordTable.h"

#include <array>

namespace language {

int intLanguage = kEnglish;

namespace {

using Slots = std::array<const char*, kLanguageSlots>;

// English, German, French, Portuguese, Spanish, spare. German spells umlauts as "ae", "oe", "ue"
// and sharp s as "ss". Slots without a translation stay empty.
struct Entry {
  Word word;
  Slots texts;
};

constexpr Entry kEntries[] = {
    {Word::AllNumbers, {"All numbers", "Alle Zahlen", "", "", "", ""}},
    {Word::CalculateLongest, {"Calculate longest NW-SE, SW-NE", "Laengste NW-SO/SW-NO kalkulieren", "", "", "", ""}},
    {Word::Calculating, {"Calculating", "Rechnen", "", "", "", ""}},
    {Word::ShowOnlyForCentralPrime, {"Show only for central number prime", "Anzeige nur, wenn Zentrumszahl prim", "", "", "", ""}},
    {Word::Circles, {"Circles", "Kreise", "", "", "", ""}},
    {Word::Cluster, {"Cluster", "Gruppe", "", "", "", ""}},
    {Word::ColorBy, {"Color by", "Faerben nach", "", "", "", ""}},
    {Word::DiagonalNWSE, {"Diagonal NW-SE", "Diagonal NW-SO", "", "", "", ""}},
    {Word::DiagonalSWNE, {"Diagonal SW-NE", "Diagonal SW-NO", "", "", "", ""}},
    {Word::DrawSpiral, {"Draw Spiral", "Spirale zeichnen", "", "", "", ""}},
    {Word::EndNumber, {"End number", "Endzahl", "", "", "", ""}},
    {Word::Error, {"Error", "Fehler", "", "", "", ""}},
    {Word::Grid, {"Grid", "Gitternetz", "", "", "", ""}},
    {Word::Help, {"Help", "Hilfe", "", "Ajuda", "Ayuda", ""}},
    {Word::InPixels, {"in pixels", "in Pixeln", "", "", "", ""}},
    {Word::LargestPrime, {"Largest prime", "Groesste Primzahl", "", "", "", ""}},
    {Word::LongestNWSE, {"Longest NW-SE", "Laengste NW-SO", "", "", "", ""}},
    {Word::LongestSWNE, {"Longest SW-NE", "Laengste SW-NO", "", "", "", ""}},
    {Word::None, {"None", "Keine", "", "", "", ""}},
    {Word::Numerals, {"Numerals", "Ziffern", "", "", "", ""}},
    {Word::NumberOfNumbers, {"Number of numbers", "Anzahl der Zahlen", "", "", "", ""}},
    {Word::NumberShown, {"Number shown", "Anzahl der sicht-", "", "", "", ""}},
    {Word::NumberShownSecondLine, {"", "baren Zahlen", "", "", "", ""}},
    {Word::OnlineDocumentation, {"Online documentation", "Online-Dokumentation", "", "", "", ""}},
    {Word::VeltraColor, {"Veltra color", "Veltrafarbe", "", "", "", ""}},
    {Word::PrimeNumbers, {"Prime numbers", "Primzahlen", "", "", "", ""}},
    {Word::Quit, {"Quit", "Beenden", "", "Sair", "Abandonar", ""}},
    {Word::RandomNumbers, {"Random numbers", "Zufallszahlen", "", "", "", ""}},
    {Word::Resume, {"Resume", "Weiter", "", "", "", ""}},
    {Word::RingNumber, {"Ring number", "Ringzahl", "", "", "", ""}},
    {Word::SequenceColor, {"Sequence color", "Farbreihenfolge", "", "", "", ""}},
    {Word::SquareNumbers, {"Square numbers", "Quadratzahlen", "", "", "", ""}},
    {Word::Show, {"Show", "Anzeigen", "", "", "", ""}},
    {Word::Size, {"Size", "Groesse", "", "", "", ""}},
    {Word::SmallestPrime, {"Smallest prime", "Kleinste Primzahl", "", "", "", ""}},
    {Word::SpiralIn, {"Spiral In", "Spirale nach Innen", "", "", "", ""}},
    {Word::SpirallingIn, {"Spiralling in", "Spiralbewegung nach Innen", "", "", "", ""}},
    {Word::SpiralOut, {"Spiral Out", "Spirale nach Aussen", "", "", "", ""}},
    {Word::SpirallingOut, {"Spiralling out", "Spiralbewegung nach Aussen", "", "", "", ""}},
    {Word::Squares, {"Squares", "Quadrate", "", "", "", ""}},
    {Word::StartNumber, {"Start number", "Anfangszahl", "", "", "", ""}},
    {Word::Stop, {"Stop", "Halt", "", "", "", ""}},
    {Word::TriangularNumbers, {"Triangular numbers", "Dreieckzahlen", "", "", "", ""}},
    {Word::Use, {"Use", "Darstellung", "", "", "", ""}},
    {Word::White, {"White", "Weiss", "", "", "", ""}},
    {Word::Prime, {"prime", "Primzahl", "", "", "", ""}},
    {Word::Ring, {"Ring", "Ring", "", "", "", ""}},
    {Word::NumberSpiral, {"Number spiral", "Zahlenspirale", "", "", "", ""}},
    {Word::PictureDescription, {"Spiral of the numbers %1 to %2; %3: %4 shown",
                                "Spirale der Zahlen %1 bis %2; %3: %4 angezeigt", "", "", "", ""}},
    {Word::RayPrimes, {"%1 primes in %2 cells, expected %3 (A = %4)",
                       "%1 Primzahlen in %2 Zellen, erwartet %3 (A = %4)", "", "", "", ""}},
    {Word::RayOnePrime, {"%1 prime in %2 cells, expected %3 (A = %4)",
                         "%1 Primzahl in %2 Zellen, erwartet %3 (A = %4)", "", "", "", ""}},
    {Word::CompassN, {"N", "N", "", "", "", ""}},
    {Word::CompassNE, {"NE", "NO", "", "", "", ""}},
    {Word::CompassE, {"E", "O", "", "", "", ""}},
    {Word::CompassSE, {"SE", "SO", "", "", "", ""}},
    {Word::CompassS, {"S", "S", "", "", "", ""}},
    {Word::CompassSW, {"SW", "SW", "", "", "", ""}},
    {Word::CompassW, {"W", "W", "", "", "", ""}},
    {Word::CompassNW, {"NW", "NW", "", "", "", ""}},
};

// Every word has its row, in the order of the enum: a missing or misplaced row fails to compile
// rather than shifting every later caption.
static_assert(std::size(kEntries) == static_cast<std::size_t>(Word::Count));
static_assert([] {
  for (std::size_t i = 0; i < std::size(kEntries); ++i)
    if (kEntries[i].word != static_cast<Word>(i)) return false;
  return true;
}());

}  // namespace

void BuildWordTable() { intLanguage = kEnglish; }

QString wordText(Word word, int slot) {
  if (slot < 0 || slot >= kLanguageSlots) slot = kEnglish;
  return QString::fromUtf8(kEntries[static_cast<int>(word)].texts[slot]);
}

QString W(Word word) { return wordText(word, intLanguage); }

QString lowerUnlessGerman(const QString& text) {
  return intLanguage == kGerman ? text : text.toLower();
}

}  // namespace language

namespace language {

QString schemeCaption(spiral::ColorScheme scheme) {
  using spiral::ColorScheme;
  switch (scheme) {
    case ColorScheme::Cluster: return W(Word::Cluster);
    case ColorScheme::DiagonalNWSE: return W(Word::DiagonalNWSE);
    case ColorScheme::DiagonalSWNE: return W(Word::DiagonalSWNE);
    case ColorScheme::RingNumber: return W(Word::RingNumber);
    case ColorScheme::Sequence: return W(Word::SequenceColor);
    case ColorScheme::Veltra: return W(Word::VeltraColor);
    case ColorScheme::White:
      return W(Word::None) + QStringLiteral(" (") + lowerUnlessGerman(W(Word::White)) + QLatin1Char(')');
    case ColorScheme::None: break;
  }
  return {};
}

QString numberClassCaption(spiral::NumberClass numberClass) {
  using spiral::NumberClass;
  switch (numberClass) {
    case NumberClass::Primes: return W(Word::PrimeNumbers);
    case NumberClass::Random: return W(Word::RandomNumbers);
    case NumberClass::Squares: return W(Word::SquareNumbers);
    case NumberClass::Triangular: return W(Word::TriangularNumbers);
    case NumberClass::All: return W(Word::AllNumbers);
    case NumberClass::None: break;
  }
  return {};
}

QString compassCaption(spiral::Compass direction) {
  using spiral::Compass;
  switch (direction) {
    case Compass::N: return W(Word::CompassN);
    case Compass::NE: return W(Word::CompassNE);
    case Compass::E: return W(Word::CompassE);
    case Compass::SE: return W(Word::CompassSE);
    case Compass::S: return W(Word::CompassS);
    case Compass::SW: return W(Word::CompassSW);
    case Compass::W: return W(Word::CompassW);
    case Compass::NW: return W(Word::CompassNW);
  }
  return {};
}

}  // namespace language
