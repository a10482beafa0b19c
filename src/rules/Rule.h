#pragma once
// A rule of the user's own: an expression over a number of the spiral and its cell, read once and
// kept as a compiled tree that the draw pass asks for every number. Standard C++ only.
//
// The language: whole numbers up to 2^64 - 1; the variables n (the number), ring (its ring, 1 for
// the centre), x and y (its cell from the centre, x to the right, y upward); + - * / % on exact
// signed 128-bit integers (/ rounds towards zero, % takes the sign of the left side, as in C);
// the comparisons == != < <= > >= (one to a comparison, no chains), &&, ||, ! and unary -;
// parentheses; the functions prime, square, triangular, factors (prime factors with multiplicity),
// distinct (distinct prime factors), gcd(a, b) and abs. && and || stop at the side that decides.
// A value is true when it is not 0.
//
// A rule is total: where a result leaves the 128-bit arithmetic, a division or remainder is by 0,
// or one of prime ... distinct is asked of a value outside 0 ... 2^64 - 1, the rule is undefined
// for that number, and the pass counts it as not shown. abs and gcd take any value of the arithmetic.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "Int128.h"

namespace rules {

using numlib::Int128;

// The limits of a rule's text.
inline constexpr std::size_t kLongestRule = 1000;  // characters
inline constexpr int kDeepestNesting = 64;          // parentheses and function calls inside each other

// What a rule is asked about: one number of the pass and its cell.
struct Inputs {
  uint64_t n = 0;
  int64_t ring = 1;
  int64_t x = 0;
  int64_t y = 0;
  bool nIsPrime = false;  // the pass's own answer, which prime() of a value equal to n takes
};

enum class Verdict : uint8_t { No, Yes, Undefined };

// The operations of a compiled tree.
enum class Op : uint8_t {
  Number, N, Ring, X, Y,
  Negate, Not,
  Add, Subtract, Multiply, Divide, Remainder,
  Less, LessOrEqual, Greater, GreaterOrEqual, Equal, NotEqual,
  And, Or,
  Prime, Square, Triangular, Factors, Distinct, Gcd, Abs,
};

struct Node {
  Op op = Op::Number;
  Int128 number = 0;  // Op::Number's value
  int left = -1;      // operands, by index into the rule's nodes; -1 where there is none
  int right = -1;
};

class Rule {
 public:
  // A tree whose root is its last node, each operand before the node that uses it.
  explicit Rule(std::vector<Node> nodes);

  // Whether the rule shows the number; safe to ask from several threads at once.
  Verdict verdict(const Inputs& inputs) const;
  // The value of the whole expression, none where it is undefined.
  std::optional<Int128> value(const Inputs& inputs) const;

  // Every number that is not prime it answers No, never Undefined: prime(n) is the first of the
  // terms its top-level && joins, so that a pass may skip the numbers that are not prime.
  bool showsOnlyPrimes() const { return showsOnlyPrimes_; }
  // Its verdict when it names no variable, the same for every number; none otherwise.
  std::optional<Verdict> constantVerdict() const { return constant_; }

 private:
  std::optional<Int128> evaluate(int index, const Inputs& inputs) const;
  bool asksPrimeOfN(int index) const;
  bool namesAVariable(int index) const;

  std::vector<Node> nodes_;
  bool showsOnlyPrimes_ = false;
  std::optional<Verdict> constant_;
};

// Why a text is no rule: the message, and where the first error stands (a byte offset into the
// text, at most its length).
struct RuleError {
  std::string message;
  std::size_t offset = 0;
};

// Reads a rule's text.
std::variant<Rule, RuleError> compileRule(std::string_view text);

// The error for people: the message, the text on the next line and a caret under the character
// at the error's offset (characters, not bytes, before it; a tab stays a tab).
std::string errorWithCaret(std::string_view text, const RuleError& error);

}  // namespace rules
