#pragma once
// What one draw pass is asked to draw: a plain value that the window reads from its controls and
// the renderer from its arguments.

#include <cstdint>
#include <memory>
#include <optional>

#include "Choices.h"
#include "Rule.h"

namespace spiral {

struct DrawSettings {
  Number start = 1;                         // the centre number, as parseStartNumber() reads it
  NumberRange range = kWindowRange;         // the numbers the picture may hold
  int boxSize = 7;                          // one of kCellSizes
  bool squares = false;                     // false: circles
  bool grid = false;
  bool numerals = true;
  NumberClass numberClass = NumberClass::Primes;
  ColorScheme colorScheme = ColorScheme::Cluster;
  // L, when it is not the scheme's own colour count: the help picture cycles through one colour.
  std::optional<int> colorCount;
  bool calculateLongest = false;
  bool recordShown = false;                 // fill DrawOutcome::shownBits and primeBits (for the line lens)
  // Worker threads for the number work and for drawing the cells of a large picture: the picture
  // and the outcome are the same for every count.
  int threads = 1;
  // The user's own rule: when set, it decides which numbers are shown, and numberClass, from
  // classDrawnLike(), gives the rest of the class's row.
  std::shared_ptr<const rules::Rule> ownRule = {};

  // Numerals are written only where the cells are large enough for them.
  bool writesNumerals() const { return numerals && cellSizeOf(boxSize).gridAndNumerals; }
};

// The class whose row a picture of the rule follows in all but which numbers it shows: a rule true
// for every number draws like all numbers (no grid marks; squares fill every cell), a rule that shows
// primes only like the primes (the walk skips from prime to prime; twin primes share a cluster
// colour), and any other like the squares, the plain class of some numbers with grid marks.
inline NumberClass classDrawnLike(const rules::Rule& rule) {
  if (rule.constantVerdict() == rules::Verdict::Yes) return NumberClass::All;
  return rule.showsOnlyPrimes() ? NumberClass::Primes : NumberClass::Squares;
}

}  // namespace spiral
