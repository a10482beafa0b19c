// Reading a rule's text with PEGTL: the grammar, the actions that build the compiled tree as the
// parse goes, and the errors with the place where each stands.

#include <charconv>
#include <string>
#include <string_view>
#include <vector>

#include <tao/pegtl.hpp>

#include "Rule.h"

namespace rules {
namespace {

namespace grammar {
using namespace tao::pegtl;

struct expression;
struct ws : star<space> {};
struct number : plus<digit> {};
struct name : identifier {};
struct group_open : one<'('> {};
struct call_open : one<'('> {};
struct close : one<')'> {};
struct argument : seq<expression> {};
struct call : if_must<call_open, ws, list_must<argument, one<','>, space>, ws, close> {};
struct named : seq<name, ws, opt<call>> {};
struct group : if_must<group_open, ws, expression, ws, close> {};
struct primary : sor<number, named, group> {};
struct prefix : one<'!', '-'> {};
struct prefixes : star<prefix, ws> {};
struct unary : seq<prefixes, primary> {};

struct multiplicative : one<'*', '/', '%'> {};
struct additive : one<'+', '-'> {};
struct relational : sor<string<'<', '='>, string<'>', '='>, one<'<'>, one<'>'>> {};
struct equal : sor<string<'=', '='>, string<'!', '='>> {};
struct logical_and : string<'&', '&'> {};
struct logical_or : string<'|', '|'> {};

// An operator and the operand that must follow it.
template <typename Operator, typename Operand>
struct tail : if_must<seq<ws, Operator>, ws, Operand> {};
struct product : seq<unary, star<tail<multiplicative, unary>>> {};
struct sum : seq<product, star<tail<additive, product>>> {};
struct comparison : seq<sum, opt<tail<relational, sum>>> {};
struct equality : seq<comparison, opt<tail<equal, comparison>>> {};
struct conjunction : seq<equality, star<tail<logical_and, equality>>> {};
struct expression : seq<conjunction, star<tail<logical_or, conjunction>>> {};
struct end : eof {};
struct rule_text : seq<ws, must<expression>, ws, must<end>> {};
}  // namespace grammar

// An error found while reading, at a byte offset into the text.
struct Failure {
  std::string message;
  std::size_t offset;
};

struct Name {
  Op op;
  int arguments;  // 0 for a variable
  std::size_t offset;
  std::size_t operandsBefore;
  bool called = false;
};

constexpr struct {
  std::string_view name;
  Op op;
  int arguments;
} kNames[] = {
    {"n", Op::N, 0},         {"ring", Op::Ring, 0},     {"x", Op::X, 0},
    {"y", Op::Y, 0},         {"prime", Op::Prime, 1},   {"square", Op::Square, 1},
    {"triangular", Op::Triangular, 1},                  {"factors", Op::Factors, 1},
    {"distinct", Op::Distinct, 1},                      {"gcd", Op::Gcd, 2},
    {"abs", Op::Abs, 1},
};

constexpr struct {
  std::string_view text;
  Op op;
} kOperators[] = {
    {"*", Op::Multiply}, {"/", Op::Divide},  {"%", Op::Remainder}, {"+", Op::Add},
    {"-", Op::Subtract}, {"<", Op::Less},    {"<=", Op::LessOrEqual}, {">", Op::Greater},
    {">=", Op::GreaterOrEqual}, {"==", Op::Equal}, {"!=", Op::NotEqual}, {"&&", Op::And},
    {"||", Op::Or},
};

// What the actions build: the tree's nodes, and the operands, operators, prefixes and names
// waiting for what follows them.
struct Builder {
  std::string_view text;
  std::vector<Node> nodes;
  std::vector<int> operands;
  std::vector<Op> operators;
  std::vector<std::string_view> prefixes;
  std::vector<Name> names;
  int depth = 0;

  std::size_t offsetOf(const char* at) const { return static_cast<std::size_t>(at - text.data()); }
  void push(Node node) {
    nodes.push_back(node);
    operands.push_back(static_cast<int>(nodes.size()) - 1);
  }
  int pop() {
    const int operand = operands.back();
    operands.pop_back();
    return operand;
  }
  void enterNesting(const char* at) {
    if (++depth > kDeepestNesting) {
      throw Failure{"nests deeper than " + std::to_string(kDeepestNesting) + " parentheses", offsetOf(at)};
    }
  }
};

std::string nameList() {
  std::string list;
  for (const auto& entry : kNames) {
    list += (list.empty() ? "" : ", ") + std::string(entry.name) + (entry.arguments > 0 ? "()" : "");
  }
  return list;
}

template <typename Rule>
struct Action : tao::pegtl::nothing<Rule> {};

template <>
struct Action<grammar::number> {
  template <typename Input>
  static void apply(const Input& in, Builder& builder) {
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(in.begin(), in.end(), value);
    if (error != std::errc() || end != in.end()) {
      throw Failure{in.string() + " is larger than 2^64 - 1", builder.offsetOf(in.begin())};
    }
    builder.push({Op::Number, Int128{value}});
  }
};

template <>
struct Action<grammar::name> {
  template <typename Input>
  static void apply(const Input& in, Builder& builder) {
    for (const auto& entry : kNames) {
      if (entry.name == in.string_view()) {
        builder.names.push_back({entry.op, entry.arguments, builder.offsetOf(in.begin()), builder.operands.size()});
        return;
      }
    }
    throw Failure{"unknown name '" + in.string() + "'; the names are " + nameList(), builder.offsetOf(in.begin())};
  }
};

template <>
struct Action<grammar::call_open> {
  template <typename Input>
  static void apply(const Input& in, Builder& builder) {
    Name& called = builder.names.back();
    if (called.arguments == 0) {
      throw Failure{"a variable takes no arguments", called.offset};
    }
    called.called = true;
    builder.enterNesting(in.begin());
  }
};

template <>
struct Action<grammar::group_open> {
  template <typename Input>
  static void apply(const Input& in, Builder& builder) { builder.enterNesting(in.begin()); }
};

template <>
struct Action<grammar::close> {
  static void apply0(Builder& builder) { --builder.depth; }
};

template <>
struct Action<grammar::named> {
  static void apply0(Builder& builder) {
    const Name named = builder.names.back();
    builder.names.pop_back();
    const auto given = static_cast<int>(builder.operands.size() - named.operandsBefore);
    if (named.arguments > 0 && !named.called) {
      throw Failure{"a function needs its arguments in parentheses", named.offset};
    }
    if (given != named.arguments) {
      throw Failure{"takes " + std::to_string(named.arguments) + (named.arguments == 1 ? " argument" : " arguments") +
                        ", not " + std::to_string(given),
                    named.offset};
    }
    Node node{named.op};
    if (named.arguments == 2) node.right = builder.pop();
    if (named.arguments >= 1) node.left = builder.pop();
    builder.push(node);
  }
};

template <>
struct Action<grammar::prefixes> {
  template <typename Input>
  static void apply(const Input& in, Builder& builder) { builder.prefixes.push_back(in.string_view()); }
};

// The prefixes apply from the one nearest the operand outward.
template <>
struct Action<grammar::unary> {
  static void apply0(Builder& builder) {
    const std::string_view prefixes = builder.prefixes.back();
    builder.prefixes.pop_back();
    for (auto c = prefixes.rbegin(); c != prefixes.rend(); ++c) {
      if (*c == '!' || *c == '-') builder.push({*c == '!' ? Op::Not : Op::Negate, 0, builder.pop()});
    }
  }
};

template <typename Rule>
struct OperatorAction {
  template <typename Input>
  static void apply(const Input& in, Builder& builder) {
    for (const auto& entry : kOperators) {
      if (entry.text == in.string_view()) builder.operators.push_back(entry.op);
    }
  }
};
template <> struct Action<grammar::multiplicative> : OperatorAction<grammar::multiplicative> {};
template <> struct Action<grammar::additive> : OperatorAction<grammar::additive> {};
template <> struct Action<grammar::relational> : OperatorAction<grammar::relational> {};
template <> struct Action<grammar::equal> : OperatorAction<grammar::equal> {};
template <> struct Action<grammar::logical_and> : OperatorAction<grammar::logical_and> {};
template <> struct Action<grammar::logical_or> : OperatorAction<grammar::logical_or> {};

template <typename Operator, typename Operand>
struct Action<grammar::tail<Operator, Operand>> {
  static void apply0(Builder& builder) {
    const int right = builder.pop();
    const int left = builder.pop();
    builder.push({builder.operators.back(), 0, left, right});
    builder.operators.pop_back();
  }
};

// What a rule that must match and did not says.
template <typename Rule>
constexpr const char* messageOf() {
  if constexpr (std::is_same_v<Rule, grammar::close>) return "expected ')'";
  if constexpr (std::is_same_v<Rule, grammar::end>) return "expected an operator or the end of the rule";
  return "expected a number, a name, '(', '!' or '-'";
}

template <typename Rule>
struct Errors : tao::pegtl::normal<Rule> {
  template <typename Input, typename... States>
  [[noreturn]] static void raise(const Input& in, Builder& builder, States&&...) {
    throw Failure{messageOf<Rule>(), builder.offsetOf(in.current())};
  }
};

// The offset of the character after the first kLongestRule characters, none for a shorter text.
std::optional<std::size_t> offsetBeyondLongest(std::string_view text) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && ++characters > kLongestRule) return i;
  }
  return std::nullopt;
}

}  // namespace

std::variant<Rule, RuleError> compileRule(std::string_view text) {
  if (const std::optional<std::size_t> beyond = offsetBeyondLongest(text)) {
    return RuleError{"longer than " + std::to_string(kLongestRule) + " characters", *beyond};
  }
  Builder builder;
  builder.text = text;
  try {
    tao::pegtl::memory_input<> in(text.data(), text.size(), "rule");
    tao::pegtl::parse<grammar::rule_text, Action, Errors>(in, builder);
  } catch (const Failure& failure) {
    return RuleError{failure.message, failure.offset};
  }
  return Rule(std::move(builder.nodes));
}

}  // namespace rules
