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
    {Word::ExploreKey, {"Ctrl+E: explore from here", "Strg+E: von hier aus erkunden", "", "", "", ""}},
    {Word::GoTo, {"Go to", "Gehe zu", "", "", "", ""}},
    {Word::ZoomIn, {"Zoom in", "Vergroessern", "", "", "", ""}},
    {Word::ZoomOut, {"Zoom out", "Verkleinern", "", "", "", ""}},
    {Word::ScaleCells, {"Cells of %1 pixels", "Zellen von %1 Pixeln", "", "", "", ""}},
    {Word::ScaleDensity, {"1 pixel = %1 \u00D7 %1 cells", "1 Pixel = %1 \u00D7 %1 Zellen", "", "", "", ""}},
    {Word::NumbersInView, {"%1 to %2 in view, %3 shown", "%1 bis %2 sichtbar, %3 angezeigt", "", "", "", ""}},
    {Word::NoNumbersInView, {"No numbers in view", "Keine Zahlen sichtbar", "", "", "", ""}},
    {Word::PastLargestNumber, {"Beyond 18,446,744,073,709,551,615 (2^64 \u2212 1): no number",
                               "Jenseits von 18.446.744.073.709.551.615 (2^64 \u2212 1): keine Zahl", "", "", "", ""}},
    {Word::NotANumber, {"\"%1\" is not a whole number", "\"%1\" ist keine ganze Zahl", "", "", "", ""}},
    {Word::BelowStart, {"%1 lies below the start number %2", "%1 liegt unter der Anfangszahl %2", "", "", "", ""}},
    {Word::PastLargest, {"%1 lies past 18,446,744,073,709,551,615 (2^64 \u2212 1)",
                         "%1 liegt jenseits von 18.446.744.073.709.551.615 (2^64 \u2212 1)", "", "", "", ""}},
    {Word::NotAStart, {"The start number must be 1 or more", "Die Anfangszahl muss 1 oder groesser sein", "", "", "", ""}},
    {Word::ClusterProgress, {"Cluster colours: %1 % (Esc cancels)", "Gruppenfarben: %1 % (Esc bricht ab)", "", "", "", ""}},
    {Word::ClusterByRing, {"Cluster cells beyond the first 2^28 numbers are coloured by ring",
                           "Gruppenzellen jenseits der ersten 2^28 Zahlen sind nach Ring gefaerbt", "", "", "", ""}},
    {Word::TilesProgress, {"Computing: %1 of %2 tiles (Esc cancels)", "Rechnen: %1 von %2 Kacheln (Esc bricht ab)",
                           "", "", "", ""}},
    {Word::Cancelled, {"Cancelled", "Abgebrochen", "", "", "", ""}},
    {Word::CopyNumber, {"Copy number", "Zahl kopieren", "", "", "", ""}},
    {Word::CopyReport, {"Copy report", "Bericht kopieren", "", "", "", ""}},
    {Word::StartHere, {"Start here", "Hier anfangen", "", "", "", ""}},
    {Word::SaveView, {"Save view\u2026", "Ansicht speichern\u2026", "", "", "", ""}},
    {Word::CopyRendererCommand, {"Copy as renderer command", "Als Renderer-Befehl kopieren", "", "", "", ""}},
    {Word::Saved, {"Saved to %1", "Gespeichert in %1", "", "", "", ""}},
    {Word::NotSaved, {"Could not save %1: %2", "Konnte %1 nicht speichern: %2", "", "", "", ""}},
    {Word::ExplorerHelp,
     {"Drag with the left button, or use the arrow keys (Shift: a screen), to move the spiral; Home "
      "returns to the start.\nThe wheel zooms about the pointer, Ctrl+plus and Ctrl+minus about the "
      "middle.\nCtrl+G or Ctrl+L: go to a number. A click selects a cell; Ctrl+C copies its report, or "
      "the view as an image.\nCtrl+S saves the view as a PNG file; the right button offers more.\nEsc "
      "cancels a computation, Ctrl+Q quits.\n\"Own rule\u2026\" in the class list takes a rule such as "
      "prime(n) && n % 4 == 1 (the renderer's --show-if); \"Mark a quadratic\u2026\" takes a, b, c and outlines "
      "the values of a t\u00B2 + b t + c in view.",
      "Mit der linken Taste ziehen oder die Pfeiltasten (Umschalt: ein Bildschirm) verschieben die "
      "Spirale; Pos1 kehrt zur Anfangszahl zurueck.\nDas Mausrad zoomt um den Zeiger, Strg+Plus und "
      "Strg+Minus um die Mitte.\nStrg+G oder Strg+L: gehe zu einer Zahl. Ein Klick waehlt eine Zelle; "
      "Strg+C kopiert ihren Bericht oder die Ansicht als Bild.\nStrg+S speichert die Ansicht als "
      "PNG-Datei; die rechte Taste bietet mehr.\nEsc bricht eine Rechnung ab, Strg+Q beendet.\n\"Eigene "
      "Regel\u2026\" in der Klassenliste nimmt eine Regel wie prime(n) && n % 4 == 1 (--show-if des Renderers); "
      "\"Quadratisches Polynom markieren\u2026\" nimmt a, b, c und umrandet die sichtbaren Werte von "
      "a t\u00B2 + b t + c.",
      "", "", "", ""}},
    {Word::OwnRule, {"Own rule\u2026", "Eigene Regel\u2026", "", "", "", ""}},
    {Word::OwnRuleHint, {"e.g. prime(n) && n % 4 == 1, then Enter", "z. B. prime(n) && n % 4 == 1, dann Eingabe",
                         "", "", "", ""}},
    {Word::OwnRuleRefused, {"Own rule not taken:", "Eigene Regel nicht uebernommen:", "", "", "", ""}},
    {Word::UndefinedInView, {", %1 undefined", ", %1 undefiniert", "", "", "", ""}},
    {Word::MarkQuadratic, {"Mark a quadratic\u2026 a, b, c", "Quadratisches Polynom markieren\u2026 a, b, c",
                           "", "", "", ""}},
    {Word::QuadraticNotThree, {"\"%1\" is not three whole numbers a, b, c", "\"%1\" sind nicht drei ganze Zahlen a, b, c",
                               "", "", "", ""}},
    {Word::QuadraticABelowOne, {"a must be at least 1", "a muss mindestens 1 sein", "", "", "", ""}},
    {Word::QuadraticTooLarge,
     {"\"%1\" is too large: a goes to 2^60, b from -2^62 to 2^62, c from -(2^64 - 1) to 2^64 - 1",
      "\"%1\" ist zu gross: a bis 2^60, b von -2^62 bis 2^62, c von -(2^64 - 1) bis 2^64 - 1", "", "", "", ""}},
    {Word::QuadraticInView, {"f: %1 in view, %2 prime, %3 expected (A = %4)", "f: %1 sichtbar, %2 prim, %3 erwartet (A = %4)",
                             "", "", "", ""}},
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
