#include "WordTable.h"

#include <array>

namespace language {

int intLanguage = kEnglish;

namespace {

using Slots = std::array<const char*, kLanguageSlots>;

// English, German, French, Portuguese, Spanish, spare. German spells umlauts as "ae", "oe", "ue"
// and sharp s as "ss". Slots without a translation stay empty.
constexpr std::array<Slots, static_cast<int>(Word::Count)> kEntries = {{
    {"All numbers", "Alle Zahlen", "", "", "", ""},
    {"Calculate longest NW-SE, SW-NE", "Laengste NW-SO/SW-NO kalkulieren", "", "", "", ""},
    {"Calculating", "Rechnen", "", "", "", ""},
    {"Show only for central number prime", "Anzeige nur, wenn Zentrumszahl prim", "", "", "", ""},
    {"Circles", "Kreise", "", "", "", ""},
    {"Cluster", "Gruppe", "", "", "", ""},
    {"Color by", "Faerben nach", "", "", "", ""},
    {"Diagonal NW-SE", "Diagonal NW-SO", "", "", "", ""},
    {"Diagonal SW-NE", "Diagonal SW-NO", "", "", "", ""},
    {"Draw Spiral", "Spirale zeichnen", "", "", "", ""},
    {"End number", "Endzahl", "", "", "", ""},
    {"Error", "Fehler", "", "", "", ""},
    {"Grid", "Gitternetz", "", "", "", ""},
    {"Help", "Hilfe", "", "Ajuda", "Ayuda", ""},
    {"in pixels", "in Pixeln", "", "", "", ""},
    {"Largest prime", "Groesste Primzahl", "", "", "", ""},
    {"Longest NW-SE", "Laengste NW-SO", "", "", "", ""},
    {"Longest SW-NE", "Laengste SW-NO", "", "", "", ""},
    {"None", "Keine", "", "", "", ""},
    {"Numerals", "Ziffern", "", "", "", ""},
    {"Number of numbers", "Anzahl der Zahlen", "", "", "", ""},
    {"Number shown", "Anzahl der sicht-", "", "", "", ""},
    {"", "baren Zahlen", "", "", "", ""},
    {"Online documentation", "Online-Dokumentation", "", "", "", ""},
    {"Veltra color", "Veltrafarbe", "", "", "", ""},
    {"Prime numbers", "Primzahlen", "", "", "", ""},
    {"Quit", "Beenden", "", "Sair", "Abandonar", ""},
    {"Random numbers", "Zufallszahlen", "", "", "", ""},
    {"Resume", "Weiter", "", "", "", ""},
    {"Ring number", "Ringzahl", "", "", "", ""},
    {"Sequence color", "Farbreihenfolge", "", "", "", ""},
    {"Square numbers", "Quadratzahlen", "", "", "", ""},
    {"Show", "Anzeigen", "", "", "", ""},
    {"Size", "Groesse", "", "", "", ""},
    {"Smallest prime", "Kleinste Primzahl", "", "", "", ""},
    {"Spiral In", "Spirale nach Innen", "", "", "", ""},
    {"Spiralling in", "Spiralbewegung nach Innen", "", "", "", ""},
    {"Spiral Out", "Spirale nach Aussen", "", "", "", ""},
    {"Spiralling out", "Spiralbewegung nach Aussen", "", "", "", ""},
    {"Squares", "Quadrate", "", "", "", ""},
    {"Start number", "Anfangszahl", "", "", "", ""},
    {"Stop", "Halt", "", "", "", ""},
    {"Triangular numbers", "Dreieckzahlen", "", "", "", ""},
    {"Use", "Darstellung", "", "", "", ""},
    {"White", "Weiss", "", "", "", ""},
    {"prime", "Primzahl", "", "", "", ""},
    {"Ring", "Ring", "", "", "", ""},
}};

}  // namespace

void BuildWordTable() { intLanguage = kEnglish; }

QString wordText(Word word, int slot) {
  if (slot < 0 || slot >= kLanguageSlots) slot = kEnglish;
  return QString::fromUtf8(kEntries[static_cast<int>(word)][slot]);
}

QString W(Word word) { return wordText(word, intLanguage); }

QString lowerUnlessGerman(const QString& text) {
  return intLanguage == kGerman ? text : text.toLower();
}

}  // namespace language
