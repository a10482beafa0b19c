#pragma once
// The program-wide word table: every caption, list item, message-box title and progress word that
// changes with the language, kept side by side in six language slots. One program-wide language
// index chooses the slot every caller reads.

#include <QString>

#include "Choices.h"
#include "Rays.h"
#include "LanguageSlots.h"

namespace language {

// The current language, one value for the whole program: 0 English, 1 German.
extern int intLanguage;

// The entries this program reads, named after their English text.
enum class Word {
  AllNumbers,
  CalculateLongest,          // "Calculate longest NW-SE, SW-NE"
  Calculating,
  ShowOnlyForCentralPrime,   // "Show only for central number prime"
  Circles,
  Cluster,
  ColorBy,
  DiagonalNWSE,
  DiagonalSWNE,
  DrawSpiral,
  EndNumber,
  Error,
  Grid,
  Help,
  InPixels,
  LargestPrime,
  LongestNWSE,
  LongestSWNE,
  None,
  Numerals,
  NumberOfNumbers,
  NumberShown,               // first line of the "Number shown" caption
  NumberShownSecondLine,     // its second line: empty in English
  OnlineDocumentation,
  VeltraColor,
  PrimeNumbers,
  Quit,
  RandomNumbers,
  Resume,
  RingNumber,
  SequenceColor,
  SquareNumbers,
  Show,
  Size,
  SmallestPrime,
  SpiralIn,
  SpirallingIn,
  SpiralOut,
  SpirallingOut,
  Squares,
  StartNumber,
  Stop,
  TriangularNumbers,
  Use,
  White,
  Prime,  // the number inspector's "prime"
  Ring,   // the number inspector's ring, the centre being ring 1
  NumberSpiral,        // the picture's name for screen readers
  PictureDescription,  // what the picture shows: first and last number (%1, %2), class (%3), count shown (%4)
  // The inspector's line of a ray: primes (%1) in cells (%2), expected primes (%3), A (%4).
  RayPrimes,
  RayOnePrime,         // the same for a ray with one prime
  // The eight directions of the rays, as the inspector names them.
  CompassN,
  CompassNE,
  CompassE,
  CompassSE,
  CompassS,
  CompassSW,
  CompassW,
  CompassNW,
  ExploreKey,          // the inspector's last line: the key that opens the explorer on the picture
  // The explorer's words.
  GoTo,
  ZoomIn,
  ZoomOut,
  ScaleCells,          // the scale at cells of %1 pixels
  ScaleDensity,        // the scale where a pixel stands for %1 x %1 cells
  NumbersInView,       // the numbers %1 to %2 in view, %3 of them shown
  NoNumbersInView,
  PastLargestNumber,   // the pointer rests on a cell beyond 2^64 - 1
  NotANumber,          // a go-to or start text (%1) that is no number
  BelowStart,          // a go-to number (%1) below the start (%2)
  PastLargest,         // a number text (%1) past 2^64 - 1
  NotAStart,           // a start text (%1) that is 0
  ClusterProgress,     // computing the cluster colours: %1 percent
  ClusterByRing,       // cluster cells beyond the reach are coloured by ring
  TilesProgress,       // tiles computed: %1 of %2
  Cancelled,
  CopyNumber,
  CopyReport,
  StartHere,
  SaveView,
  CopyRendererCommand,
  Saved,               // the view was saved to %1
  NotSaved,            // the view could not be saved to %1 because of %2
  ExplorerHelp,        // the explorer's short help
  OwnRule,             // the class list's entry for a rule of one's own
  OwnRuleHint,         // the rule field's example
  OwnRuleRefused,      // before the reason a rule cannot be read, with its caret
  UndefinedInView,     // appended to NumbersInView: %1 numbers the own rule left undefined
  MarkQuadratic,       // the quadratic field's hint
  QuadraticNotThree,   // a quadratic text (%1) that is not three whole numbers
  QuadraticABelowOne,
  QuadraticTooLarge,   // a quadratic text (%1) whose coefficients pass the limits
  QuadraticInView,     // values of the quadratic in view (%1), primes (%2), expected (%3), A (%4)
  Count
};

// Resets the current language to English. The entries themselves are constant texts.
void BuildWordTable();

// The text of `word` in slot `slot`, as stored: it may be empty or "???". A slot outside 0 ... 5
// reads as English.
QString wordText(Word word, int slot);

// The text of `word` in the current language.
QString W(Word word);

// `text` lower-cased, unless the current language is German: German keeps the capital letter of
// nouns when words are put together into a phrase.
QString lowerUnlessGerman(const QString& text);

}  // namespace language

namespace language {

// The list item of a colour scheme or a number class in the current language.
QString schemeCaption(spiral::ColorScheme scheme);
QString numberClassCaption(spiral::NumberClass numberClass);
// A ray's direction in the current language ("NE", German "NO").
QString compassCaption(spiral::Compass direction);

}  // namespace language
