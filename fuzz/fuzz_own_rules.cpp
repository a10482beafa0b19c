// Own rules and marked quadratics on any input. The first byte chooses:
// - even: the rest is a rule's text. It is read or refused with an error inside the text, never a
//   crash; a rule read is asked about numbers anywhere below 2^64 and cells anywhere (the sanitizer
//   build catches any arithmetic that leaves its type), with each number's true primality as a
//   pass gives it, and answers the same when read again and what its constant verdict says.
// - odd: the rest is the value of --mark-quadratic, then eight bytes of a window's start. A quadratic
//   accepted has its values in the window ascending and each once, factors that multiply out to it,
//   and a constant that is a number from 0 on.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <variant>
#include <vector>

#include "HardyLittlewood.h"
#include "QuadraticPolynomial.h"
#include "RenderOptions.h"
#include "Rule.h"
#include "numlib.hpp"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

uint64_t wordAt(const uint8_t* data, size_t size, size_t at) {
  uint64_t word = 0;
  for (size_t i = 0; i < 8 && at + i < size; ++i) word |= uint64_t{data[at + i]} << (8 * i);
  return word;
}

void fuzzRule(const std::string& text) {
  auto compiled = rules::compileRule(text);
  if (const auto* error = std::get_if<rules::RuleError>(&compiled)) {
    check(error->offset <= text.size() && !error->message.empty());
    check(rules::errorWithCaret(text, *error).find('^') != std::string::npos);
    return;
  }
  const rules::Rule& rule = std::get<rules::Rule>(compiled);
  const rules::Rule again = std::get<rules::Rule>(rules::compileRule(text));
  const uint64_t numbers[] = {0, 1, 2, 97, 65536, (uint64_t{1} << 32) + 15, UINT64_MAX - 58, UINT64_MAX};
  for (uint64_t n : numbers) {
    const rules::Inputs in{n, static_cast<int64_t>(n % 1000) + 1, static_cast<int64_t>(n % 17) - 8,
                           8 - static_cast<int64_t>(n % 13), numlib::isPrime(n)};
    check(rule.verdict(in) == again.verdict(in));
    if (rule.constantVerdict()) check(rule.verdict(in) == *rule.constantVerdict());
  }
}

void fuzzQuadratic(const std::string& text, uint64_t low) {
  const render::ParseResult parsed = render::parseRenderArguments({"--mark-quadratic", text});
  const auto* options = std::get_if<render::RenderOptions>(&parsed);
  if (options == nullptr) return;
  const numlib::QuadraticPolynomial& f = *options->markQuadratic;
  check(f.withinLimits());
  const uint64_t high = low + std::min<uint64_t>(UINT64_MAX - low, 1u << 20);
  const std::vector<uint64_t> values = numlib::valuesBetween(f, low, high);
  for (size_t i = 0; i < values.size(); ++i) check(values[i] >= low && values[i] <= high && (i == 0 || values[i - 1] < values[i]));
  if (const std::optional<numlib::LinearFactors> x = numlib::linearFactors(f)) {
    check(x->constant * x->p1 * x->p2 == f.a && x->constant * (x->p1 * x->q2 + x->q1 * x->p2) == f.b &&
          x->constant * x->q1 * x->q2 == f.c);
  }
  for (uint64_t p : numlib::fixedPrimeDivisors(f)) check((f.c % p == 0) && ((f.a + f.b + f.c) % p == 0));
  check(numlib::hardyLittlewoodConstant(f) >= 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  if (data[0] % 2 == 0) {
    fuzzRule(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    return 0;
  }
  const size_t textSize = std::min<size_t>(size - 1, 64);
  fuzzQuadratic(std::string(reinterpret_cast<const char*>(data + 1), textSize), wordAt(data, size, 1 + textSize));
  return 0;
}
