// Own rules: what the language reads and how it answers, each rule against the same question
// written plainly in C++; and where each error is shown.

#include <QTest>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <numeric>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "PlainMillerRabin.h"
#include "PlainRoots.h"
#include "Rows.h"
#include "Rule.h"
#include "TrialDivision.h"

namespace {

constexpr uint64_t kTop = std::numeric_limits<uint64_t>::max();
using Answer = std::optional<bool>;  // none: undefined
using Plain = std::function<Answer(const rules::Inputs&)>;

struct Evaluated { const char* name; const char* text; Plain plain; bool small; };  // small: only n below 3000
struct Refused { const char* name; std::string text; std::size_t offset; const char* message; };


// The numbers asked about: small ones, around 2^32 (where n^2 + 1 leaves 64 bits) and below 2^64,
// each with a cell and a ring of its own, and primality from the reference.
std::vector<rules::Inputs> inputs(bool smallOnly) {
  std::vector<uint64_t> numbers;
  for (uint64_t n = 0; n < 3000; ++n) numbers.push_back(n);
  if (!smallOnly) {
    for (uint64_t n = (uint64_t{1} << 32) - 50; n < (uint64_t{1} << 32) + 50; ++n) numbers.push_back(n);
    for (uint64_t n = kTop - 200; n != 0; ++n) numbers.push_back(n);
  }
  std::vector<rules::Inputs> all;
  for (const uint64_t n : numbers) {
    const auto x = static_cast<int64_t>(n % 11) - 5, y = 4 - static_cast<int64_t>(n % 9);
    all.push_back({n, std::max(std::abs(x), std::abs(y)) + 1, x, y, referenceIsPrime(n)});
  }
  return all;
}

Answer verdictOf(const rules::Rule& rule, const rules::Inputs& in) {
  switch (rule.verdict(in)) {
    case rules::Verdict::Yes: return true;
    case rules::Verdict::No: return false;
    case rules::Verdict::Undefined: return std::nullopt;
  }
  return std::nullopt;
}

rules::Rule compiled(const std::string& text) {
  auto result = rules::compileRule(text);
  if (auto* error = std::get_if<rules::RuleError>(&result)) qFatal("%s: %s", text.c_str(), error->message.c_str());
  return std::get<rules::Rule>(result);
}

std::string nested(int depth) { return std::string(depth, '(') + "n" + std::string(depth, ')'); }
std::string calls(int depth) {  // abs(abs(...(n)...))
  std::string text;
  for (int i = 0; i < depth; ++i) text += "abs(";
  return text + "n" + std::string(depth, ')');
}

}  // namespace


class TestRules : public QObject {
  Q_OBJECT

 private slots:
  void evaluates_data() {
    addRows<Evaluated>({
        {"primes 1 mod 4", "prime(n) && n % 4 == 1", [](auto& i) -> Answer { return referenceIsPrime(i.n) && i.n % 4 == 1; }, false},
        {"two prime factors", "factors(n) == 2", [](auto& i) -> Answer { return factorCountByTrialDivision(i.n, false) == 2; }, true},
        {"three distinct", "distinct(n) >= 3", [](auto& i) -> Answer { return factorCountByTrialDivision(i.n, true) >= 3; }, true},
        {"n^2 + 1 prime, undefined past 2^64", "prime(n*n + 1)", [](auto& i) {
           const Wide value = Wide{i.n} * i.n + 1;
           return value > kTop ? Answer() : referenceIsPrime(static_cast<uint64_t>(value)); }, false},
        {"squares or triangular", "square(n) || triangular(n)", [](auto& i) -> Answer { return plainSquare(i.n) || plainTriangular(i.n); }, false},
        {"visible from the centre", "gcd(x, y) == 1", [](auto& i) -> Answer { return std::gcd(i.x, i.y) == 1; }, false},
        {"the diagonals", "abs(x) == abs(y)", [](auto& i) -> Answer { return std::abs(i.x) == std::abs(i.y); }, false},
        {"even rings, no multiples of 3", "ring % 2 == 0 && !(n % 3 == 0)", [](auto& i) -> Answer { return i.ring % 2 == 0 && i.n % 3 != 0; }, false},
        {"upper half, by y", "y > 0 && x <= 0", [](auto& i) -> Answer { return i.y > 0 && i.x <= 0; }, false},
        {"negation and subtraction", "-n + 5 > 0 - 1", [](auto& i) -> Answer { return i.n < 6; }, false},
        {"division rounds towards zero", "(n - 10) / 3 == -2", [](auto& i) -> Answer {
           return (static_cast<rules::Int128>(i.n) - 10) / 3 == -2; }, false},
        {"remainder keeps the left sign", "(x - 3) % 4 == -1", [](auto& i) -> Answer { return (i.x - 3) % 4 == -1; }, false},
        {"division by zero", "n / (n % 2) >= 0", [](auto& i) { return i.n % 2 == 0 ? Answer() : Answer(true); }, false},
        {"remainder by zero", "n % (x * 0) == 0", [](auto&) -> Answer { return std::nullopt; }, false},
        {"a product past 2^127", "n * 18446744073709551615 * 18446744073709551615 < 1",
         [](auto& i) { return i.n == 0 ? Answer(true) : Answer(); }, false},
        {"an argument below 0", "prime(n - 5)", [](auto& i) { return i.n < 5 ? Answer() : referenceIsPrime(i.n - 5); }, false},
        {"|| stops at a true left side", "n % 2 == 0 || n / 0 == 1", [](auto& i) { return i.n % 2 == 0 ? Answer(true) : Answer(); }, false},
        {"&& stops at a false left side", "n < 3 && prime(n - 3)", [](auto& i) { return i.n >= 3 ? Answer(false) : Answer(); }, false},
        {"twin primes", "prime(n) && prime(n + 2)", [](auto& i) -> Answer {
           return referenceIsPrime(i.n) && i.n <= kTop - 2 && referenceIsPrime(i.n + 2); }, false},
        {"the largest literal", "18446744073709551615 - n >= 0", [](auto&) -> Answer { return true; }, false},
        {"precedence", "1 + 2 * 3 == 7 && !0 == 1 && -2 * -3 == 6 && 2 - 3 - 4 == -5 && 12 / 2 / 3 == 2 && 1 < 2 == 1",
         [](auto&) -> Answer { return true; }, false},
        {"blanks anywhere", " \tprime ( n )\n&&n>2 ", [](auto& i) -> Answer { return referenceIsPrime(i.n) && i.n > 2; }, false},
        {"0 and 1 of the functions", "factors(0) + distinct(1) + factors(1) == 0 && square(0) && triangular(0) && !prime(1)",
         [](auto&) -> Answer { return true; }, false},
        {"gcd of negatives and 0", "gcd(0 - 12, 18) == 6 && gcd(0, 0) == 0", [](auto&) -> Answer { return true; }, false},
    });
  }
  void evaluates() {
    QFETCH(Evaluated, row);
    const rules::Rule rule = compiled(row.text);
    for (const rules::Inputs& in : inputs(row.small)) {
      if (verdictOf(rule, in) != row.plain(in)) QFAIL(qPrintable(QStringLiteral("n = %1").arg(in.n)));
    }
  }

  // prime(n) takes the pass's answer, not a test of its own.
  void primeOfNIsThePasssAnswer() {
    const rules::Rule rule = compiled("prime(n) && prime(n + 0) == prime(n)");
    QCOMPARE(rule.verdict({.n = 4, .nIsPrime = true}), rules::Verdict::Yes);
    QCOMPARE(rule.verdict({.n = 5, .nIsPrime = false}), rules::Verdict::No);
    QCOMPARE(compiled("prime(n + 1)").verdict({.n = 4, .nIsPrime = true}), rules::Verdict::Yes);  // 5, tested
  }

  // Which rules a pass may treat as the primes, and which answer the same for every number.
  void shapes() {
    const std::pair<const char*, bool> onlyPrimes[] = {
        {"prime(n)", true}, {"prime(n) && n % 4 == 1", true}, {"prime(n) && x > 0 && y > 0", true},
        {"n % 4 == 1 && prime(n)", false}, {"prime(n) || n == 1", false}, {"!prime(n)", false}, {"prime(n + 0)", false}};
    for (const auto& [text, expected] : onlyPrimes) QVERIFY2(compiled(text).showsOnlyPrimes() == expected, text);
    const std::pair<const char*, std::optional<rules::Verdict>> constants[] = {
        {"1", rules::Verdict::Yes}, {"0", rules::Verdict::No}, {"1 / 0", rules::Verdict::Undefined},
        {"2 + 2 == 4", rules::Verdict::Yes}, {"prime(7)", rules::Verdict::Yes}, {"n", std::nullopt}, {"ring > 0", std::nullopt}};
    for (const auto& [text, expected] : constants) QVERIFY2(compiled(text).constantVerdict() == expected, text);
  }

  // One rule asked from several threads at once answers as it does alone. (Its functions of values
  // other than n ask the number service, whose sieved blocks serve one thread at a time.)
  void answersFromSeveralThreads() {
    const rules::Rule rule = compiled("n * n % 7 == gcd(x, y) || prime(n) && ring > 2 || 1 / (n % 5) > 0");
    const std::vector<rules::Inputs> all = inputs(false);
    std::vector<Answer> alone;
    for (const auto& in : all) alone.push_back(verdictOf(rule, in));
    std::vector<std::vector<Answer>> answers(4);
    std::vector<std::thread> threads;
    for (auto& mine : answers) {
      threads.emplace_back([&rule, &all, &mine] { for (const auto& in : all) mine.push_back(verdictOf(rule, in)); });
    }
    for (std::thread& thread : threads) thread.join();
    for (const auto& mine : answers) QVERIFY(mine == alone);
  }

  void refuses_data() {
    addRows<Refused>({
        {"empty", "", 0, "expected a number"},
        {"an operator without its operand", "n +", 3, "expected a number"},
        {"an unknown function", "n > 2 && foo(n)", 9, "unknown name 'foo'"},
        {"an unknown variable", "prime(m)", 6, "unknown name 'm'"},
        {"a variable called", "n(3)", 0, "a variable takes no arguments"},
        {"a function without parentheses", "1 + prime n", 4, "needs its arguments in parentheses"},
        {"too few arguments", "gcd(n)", 0, "takes 2 arguments, not 1"},
        {"too many arguments", "abs(n, 2)", 0, "takes 1 argument, not 2"},
        {"no arguments", "prime()", 6, "expected a number"},
        {"an open parenthesis", "(n + 1", 6, "expected ')'"},
        {"a closing parenthesis too many", "n)", 1, "expected an operator or the end"},
        {"comparisons in a chain", "1 < n < 3", 6, "expected an operator or the end"},
        {"a single =", "n = 1", 2, "expected an operator or the end"},
        {"a number past 2^64 - 1", "n < 18446744073709551616", 4, "larger than 2^64 - 1"},
        {"65 levels", nested(65), 64, "nests deeper than 64"},
        {"65 calls", calls(65), 64 * 4 + 3, "nests deeper than 64"},
        {"1001 characters", std::string(1001, '1'), 1000, "longer than 1000 characters"},
        {"a character outside ASCII", "n \xE2\x89\xA5 2", 2, "expected an operator or the end"},
    });
  }
  void refuses() {
    QFETCH(Refused, row);
    auto result = rules::compileRule(row.text);
    const auto* error = std::get_if<rules::RuleError>(&result);
    QVERIFY(error != nullptr);
    QVERIFY2(error->message.find(row.message) != std::string::npos, error->message.c_str());
    QCOMPARE(error->offset, row.offset);
  }

  // The deepest and longest rules are read.
  void limits() {
    compiled(nested(64));
    compiled(std::string(999, ' ') + "n");
    compiled(std::string(500, '!') + "n");
  }

  // The caret stands under the error's character, whatever the characters before it.
  void caret() {
    const std::string text = "\xC3\xB6\tn \xE2\x89\xA5 2";  // "ö<tab>n ≥ 2"
    QCOMPARE(rules::errorWithCaret(text, {"expected", 5}),
             std::string("expected\n  ") + text + "\n   \t  ^");
  }
};

QTEST_APPLESS_MAIN(TestRules)
#include "test_rules.moc"
