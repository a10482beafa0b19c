#pragma once
// The choices a picture is drawn with: cell sizes, colour schemes and number classes. Each choice has
// one row here, carrying every decision that depends on it, so that a list position, a stored index
// and a command-line name all lead back to the same row. The window fills its lists from these rows
// and the renderer takes its option names from them.

#include <array>
#include <cstdint>
#include <span>

#include "Number.h"
#include "numlib.hpp"

namespace spiral {

// The window's largest number, 2^31 - 2: the largest its number service's C functions take.
inline constexpr int64_t kMaxNumber = numlib::kLargestNumber;
inline constexpr int64_t kMaxTriangularNumber = kMaxNumber / 8;  // 8n + 1 stays below 2^31

// The numbers a picture may hold: the one rule behind every start-number limit. The window draws
// up to its largest number and keeps each class's own limit; the renderer draws anywhere below 2^64.
struct NumberRange {
  Number largest;    // no number of a picture lies above it
  bool classLimits;  // each class's own limit applies too
};
inline constexpr NumberRange kWindowRange{static_cast<Number>(kMaxNumber), true};
inline constexpr NumberRange kWholeRange{UINT64_MAX, false};

// The classes of numbers, in the order of the window's list.
enum class NumberClass : int { None = -1, Primes = 0, Random = 1, Squares = 2, Triangular = 3, All = 4 };

// The colour schemes, in the order of the window's list.
enum class ColorScheme : int {
  None = -1, Cluster = 0, DiagonalNWSE = 1, DiagonalSWNE = 2, RingNumber = 3, Sequence = 4,
  Veltra = 5, White = 6
};

// What a pass of small cells shows while it runs.
enum class BusyNotice { None, BoxOnly, BoxAndText };

struct CellSizeChoice {
  int pixels;
  const char* name;          // the list item and the command-line name
  bool gridAndNumerals;      // grid marks and numerals fit in the cell
  bool centreGridDot;        // an unshown centre cell gets its grid dot
  bool veltraOutlineSquare;  // a black Veltra square shows as a white outline
  bool veltraOutlineCircle;  // a black Veltra circle shows as a white ring
  BusyNotice busyNotice;
  bool announcesDiagonals;   // the diagonal measure is slow enough to announce
  bool yields;               // the pass lets the message loop run and may be stopped
  bool animates;             // Spiral In and Out are offered
  bool restoredFromStore;    // a stored choice of this size comes back as it was
};

inline constexpr std::array<CellSizeChoice, 8> kCellSizes = {{
    {.pixels = 1, .name = "1",
     .gridAndNumerals = false, .centreGridDot = false, .veltraOutlineSquare = false, .veltraOutlineCircle = false,
     .busyNotice = BusyNotice::BoxOnly, .announcesDiagonals = true, .yields = true, .animates = false, .restoredFromStore = false},
    {.pixels = 3, .name = "3",
     .gridAndNumerals = false, .centreGridDot = false, .veltraOutlineSquare = true, .veltraOutlineCircle = false,
     .busyNotice = BusyNotice::BoxAndText, .announcesDiagonals = true, .yields = false, .animates = true, .restoredFromStore = false},
    {.pixels = 5, .name = "5",
     .gridAndNumerals = false, .centreGridDot = false, .veltraOutlineSquare = true, .veltraOutlineCircle = true,
     .busyNotice = BusyNotice::BoxAndText, .announcesDiagonals = false, .yields = false, .animates = true, .restoredFromStore = false},
    {.pixels = 7, .name = "7",
     .gridAndNumerals = false, .centreGridDot = true, .veltraOutlineSquare = true, .veltraOutlineCircle = true,
     .busyNotice = BusyNotice::None, .announcesDiagonals = false, .yields = false, .animates = true, .restoredFromStore = true},
    {.pixels = 15, .name = "15",
     .gridAndNumerals = true, .centreGridDot = true, .veltraOutlineSquare = true, .veltraOutlineCircle = true,
     .busyNotice = BusyNotice::None, .announcesDiagonals = false, .yields = false, .animates = true, .restoredFromStore = true},
    {.pixels = 21, .name = "21",
     .gridAndNumerals = true, .centreGridDot = true, .veltraOutlineSquare = true, .veltraOutlineCircle = true,
     .busyNotice = BusyNotice::None, .announcesDiagonals = false, .yields = false, .animates = true, .restoredFromStore = true},
    {.pixels = 35, .name = "35",
     .gridAndNumerals = true, .centreGridDot = true, .veltraOutlineSquare = true, .veltraOutlineCircle = true,
     .busyNotice = BusyNotice::None, .announcesDiagonals = false, .yields = false, .animates = true, .restoredFromStore = true},
    {.pixels = 75, .name = "75",
     .gridAndNumerals = true, .centreGridDot = true, .veltraOutlineSquare = true, .veltraOutlineCircle = true,
     .busyNotice = BusyNotice::None, .announcesDiagonals = false, .yields = false, .animates = true, .restoredFromStore = true},
}};

struct SchemeChoice {
  ColorScheme scheme;
  const char* name;     // the command-line name
  int colorCount;       // L: colours the scheme cycles through, 0 when it does not cycle
  int legendBoxes;      // colour legend boxes shown beside the picture
  bool catalogueButton; // the other-software button takes the legend's place
};

inline constexpr std::array<SchemeChoice, 7> kSchemes = {{
    {ColorScheme::Cluster, "cluster", 6, 0, true},
    {ColorScheme::DiagonalNWSE, "nw-se", 6, 6, false},
    {ColorScheme::DiagonalSWNE, "sw-ne", 6, 6, false},
    {ColorScheme::RingNumber, "ring", 6, 6, false},
    {ColorScheme::Sequence, "sequence", 5, 5, false},
    {ColorScheme::Veltra, "veltra", 0, 0, true},
    {ColorScheme::White, "white", 0, 0, true},
}};

struct NumberClassChoice {
  NumberClass numberClass;
  const char* name;     // the command-line name
  int64_t startLimit;   // no number of the picture may lie above it
  bool animates;        // Spiral In and Out are offered
  bool gridApplies;     // grid marks are drawn in unshown cells
  bool countsShown;     // the "Number shown" statistic applies
  bool reportsPrimes;   // the smallest and largest prime are reported
};

inline constexpr std::array<NumberClassChoice, 5> kNumberClasses = {{
    {NumberClass::Primes, "primes", kMaxNumber, true, true, true, true},
    {NumberClass::Random, "random", kMaxNumber, false, true, true, false},
    {NumberClass::Squares, "squares", kMaxNumber, true, true, true, false},
    {NumberClass::Triangular, "triangular", kMaxTriangularNumber, true, true, true, false},
    {NumberClass::All, "all", kMaxNumber, false, false, false, false},
}};

// Each table lists its choices in the order of their values, so that a value finds its row.
static_assert([] {
  for (std::size_t i = 0; i < kSchemes.size(); ++i)
    if (static_cast<std::size_t>(kSchemes[i].scheme) != i) return false;
  for (std::size_t i = 0; i < kNumberClasses.size(); ++i)
    if (static_cast<std::size_t>(kNumberClasses[i].numberClass) != i) return false;
  for (std::size_t i = 1; i < kCellSizes.size(); ++i)
    if (kCellSizes[i - 1].pixels >= kCellSizes[i].pixels) return false;
  return true;
}());

// The row of a cell size; a size between the listed ones takes the row of the next smaller one.
constexpr const CellSizeChoice& cellSizeOf(int pixels) {
  const CellSizeChoice* row = &kCellSizes[0];
  for (const CellSizeChoice& choice : kCellSizes) {
    if (choice.pixels <= pixels) row = &choice;
  }
  return *row;
}

// What stands for no choice while a list has none selected: nothing cycles or is shown.
inline constexpr SchemeChoice kNoScheme = {ColorScheme::None, "", 0, 0, false};
inline constexpr NumberClassChoice kNoClass = {NumberClass::None, "", kMaxNumber, true, true, true, false};

// The row of a scheme or class.
constexpr const SchemeChoice& schemeOf(ColorScheme scheme) {
  const auto index = static_cast<std::size_t>(scheme);
  return index < kSchemes.size() ? kSchemes[index] : kNoScheme;
}
constexpr const NumberClassChoice& numberClassOf(NumberClass numberClass) {
  const auto index = static_cast<std::size_t>(numberClass);
  return index < kNumberClasses.size() ? kNumberClasses[index] : kNoClass;
}

// The largest start number for which `count` numbers of the class all stay within the range.
constexpr Number largestStart(const NumberRange& range, NumberClass numberClass, int64_t count) {
  const auto classLimit = static_cast<Number>(numberClassOf(numberClass).startLimit);
  const Number limit = range.classLimits && classLimit < range.largest ? classLimit : range.largest;
  return limit - static_cast<Number>(count > 1 ? count - 1 : 0);
}

}  // namespace spiral
