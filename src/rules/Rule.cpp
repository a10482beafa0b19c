#include "Rule.h"

#include <limits>
#include <utility>

#include "numlib.hpp"

namespace rules {
namespace {

constexpr Int128 kSmallestValue = std::numeric_limits<Int128>::min();

using Value = std::optional<Int128>;

Value checkedAdd(Int128 a, Int128 b) {
  Int128 sum;
  if (__builtin_add_overflow(a, b, &sum)) return std::nullopt;
  return sum;
}
Value checkedSubtract(Int128 a, Int128 b) {
  Int128 difference;
  if (__builtin_sub_overflow(a, b, &difference)) return std::nullopt;
  return difference;
}
Value checkedMultiply(Int128 a, Int128 b) {
  Int128 product;
  if (__builtin_mul_overflow(a, b, &product)) return std::nullopt;
  return product;
}
// The one quotient that leaves the arithmetic, kSmallestValue / -1, is undefined; its remainder is 0.
Value checkedDivide(Int128 a, Int128 b) {
  if (b == 0 || (a == kSmallestValue && b == -1)) return std::nullopt;
  return a / b;
}
Value checkedRemainder(Int128 a, Int128 b) {
  if (b == 0) return std::nullopt;
  return b == -1 ? 0 : a % b;
}
Value checkedAbs(Int128 a) {
  if (a == kSmallestValue) return std::nullopt;
  return a < 0 ? -a : a;
}
Value greatestCommonDivisor(Int128 a, Int128 b) {
  Value x = checkedAbs(a), y = checkedAbs(b);
  if (!x || !y) return std::nullopt;
  Int128 p = *x, q = *y;
  while (q != 0) p = std::exchange(q, p % q);
  return p;
}

// The functions of one number: defined for 0 ... 2^64 - 1.
Value numberFunction(Op op, Int128 argument, const Inputs& inputs) {
  if (argument < 0 || argument > Int128{std::numeric_limits<uint64_t>::max()}) return std::nullopt;
  const auto m = static_cast<uint64_t>(argument);
  switch (op) {
    case Op::Prime: return m == inputs.n ? inputs.nIsPrime : numlib::isPrime(m);
    case Op::Square: return numlib::isSquare(m);
    case Op::Triangular: return numlib::isTriangular(m);
    case Op::Factors: return numlib::factorCount(m);
    case Op::Distinct: return static_cast<Int128>(numlib::factorise(m).size());
    default: return std::nullopt;
  }
}

Value binary(Op op, Int128 a, Int128 b) {
  switch (op) {
    case Op::Add: return checkedAdd(a, b);
    case Op::Subtract: return checkedSubtract(a, b);
    case Op::Multiply: return checkedMultiply(a, b);
    case Op::Divide: return checkedDivide(a, b);
    case Op::Remainder: return checkedRemainder(a, b);
    case Op::Less: return a < b;
    case Op::LessOrEqual: return a <= b;
    case Op::Greater: return a > b;
    case Op::GreaterOrEqual: return a >= b;
    case Op::Equal: return a == b;
    case Op::NotEqual: return a != b;
    case Op::Gcd: return greatestCommonDivisor(a, b);
    default: return std::nullopt;
  }
}

}  // namespace

Rule::Rule(std::vector<Node> nodes) : nodes_(std::move(nodes)) {
  if (nodes_.empty()) nodes_.push_back({});  // no text: the rule 0
  const int root = static_cast<int>(nodes_.size()) - 1;
  showsOnlyPrimes_ = asksPrimeOfN(root);
  if (!namesAVariable(root)) constant_ = verdict({});
}

bool Rule::asksPrimeOfN(int index) const {
  const Node& node = nodes_[static_cast<std::size_t>(index)];
  if (node.op == Op::And) return asksPrimeOfN(node.left);
  return node.op == Op::Prime && nodes_[static_cast<std::size_t>(node.left)].op == Op::N;
}

bool Rule::namesAVariable(int index) const {
  if (index < 0) return false;
  const Node& node = nodes_[static_cast<std::size_t>(index)];
  switch (node.op) {
    case Op::N: case Op::Ring: case Op::X: case Op::Y: return true;
    default: return namesAVariable(node.left) || namesAVariable(node.right);
  }
}

Verdict Rule::verdict(const Inputs& inputs) const {
  const Value result = value(inputs);
  if (!result) return Verdict::Undefined;
  return *result != 0 ? Verdict::Yes : Verdict::No;
}

Value Rule::value(const Inputs& inputs) const { return evaluate(static_cast<int>(nodes_.size()) - 1, inputs); }

Value Rule::evaluate(int index, const Inputs& inputs) const {
  const Node& node = nodes_[static_cast<std::size_t>(index)];
  switch (node.op) {
    case Op::Number: return node.number;
    case Op::N: return Int128{inputs.n};
    case Op::Ring: return Int128{inputs.ring};
    case Op::X: return Int128{inputs.x};
    case Op::Y: return Int128{inputs.y};
    case Op::And:
    case Op::Or: {
      const Value left = evaluate(node.left, inputs);
      if (!left) return std::nullopt;
      if ((*left != 0) == (node.op == Op::Or)) return node.op == Op::Or;  // the left side decides
      const Value right = evaluate(node.right, inputs);
      if (!right) return std::nullopt;
      return *right != 0;
    }
    default: break;
  }
  const Value left = evaluate(node.left, inputs);
  if (!left) return std::nullopt;
  switch (node.op) {
    case Op::Negate: return checkedSubtract(0, *left);
    case Op::Not: return *left == 0;
    case Op::Abs: return checkedAbs(*left);
    case Op::Prime: case Op::Square: case Op::Triangular: case Op::Factors: case Op::Distinct:
      return numberFunction(node.op, *left, inputs);
    default: break;
  }
  const Value right = evaluate(node.right, inputs);
  if (!right) return std::nullopt;
  return binary(node.op, *left, *right);
}

std::string errorWithCaret(std::string_view text, const RuleError& error) {
  std::string caret;
  for (std::size_t i = 0; i < error.offset && i < text.size(); ++i) {
    if (text[i] == '\t') {
      caret += '\t';
    } else if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {  // the first byte of a character
      caret += ' ';
    }
  }
  return error.message + "\n  " + std::string(text) + "\n  " + caret + "^";
}

}  // namespace rules
