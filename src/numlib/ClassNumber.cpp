#include "ClassNumber.h"

#include <algorithm>
#include <bit>
#include <functional>
#include <cmath>
#include <numbers>
#include <numeric>
#include <tuple>
#include <unordered_set>
#include <vector>

#include "ClassGroup.h"
#include "EulerProduct.h"
#include "LSeries.h"
#include "QuadraticCharacter.h"
#include "Uint128.h"

namespace numlib::detail {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr int64_t kSeriesLimit = int64_t{1} << 20;  // up to here the series gives h more cheaply
constexpr int kFormsTried = 12;
constexpr double kWindowSpreads = 6;
constexpr size_t kLargestTwoPart = size_t{1} << 16;
constexpr uint32_t kNarrowingCuts[] = {uint32_t{1} << 17, uint32_t{1} << 20};

int64_t classNumberFromSeries(int64_t delta) {
  const double root = std::sqrt(static_cast<double>(-delta));
  return std::llround(automorphs(delta) * root * seriesLOfDiscriminant(delta) / (2 * kPi));
}

// Where h is looked for: low ... high around the estimate.
struct Window {
  int64_t low, estimate, high;
  bool holds(int64_t t) const { return low <= t && t <= high; }
  // How many multiples of n it holds.
  int64_t multiplesOf(int64_t n) const { return high / n - (low - 1) / n; }
  int64_t firstMultipleOf(int64_t n) const { return (low + n - 1) / n * n; }
};

// A form and its inverse share a key: a and |b|.
using Key = uint128;
Key keyOf(const Form& f) {
  return static_cast<Key>(static_cast<uint64_t>(f.a)) << 64 | static_cast<uint64_t>(f.b < 0 ? -f.b : f.b);
}

// One key for each reduced form.
Key exactKeyOf(const Form& f) { return static_cast<Key>(static_cast<uint64_t>(f.a)) << 64 | static_cast<uint64_t>(static_cast<int64_t>(f.b)); }

struct KeyHash {
  size_t operator()(Key key) const { return std::hash<uint64_t>{}(static_cast<uint64_t>(key >> 64) * 0x9E3779B97F4A7C15u ^ static_cast<uint64_t>(key)); }
};

struct BabyStep {
  Key key;
  int64_t j;
  bool operator<(const BabyStep& other) const { return key < other.key; }
};

// The t in low ... high with g^t = 1, if any: baby steps g^-j in a sorted table, giant steps of g^m.
std::optional<int64_t> exponentInRange(const ClassGroup& group, const Form& g, int64_t low, int64_t high) {
  if (low > high) return std::nullopt;
  const auto m = static_cast<int64_t>(std::ceil(std::sqrt(static_cast<double>(high - low + 1))));
  std::vector<std::pair<Form, int64_t>> babySteps;
  babySteps.reserve(static_cast<size_t>(m));
  const Form back = group.inverse(g);
  Form x = group.identity();
  for (int64_t j = 0; j < m; ++j, x = group.compose(x, back)) babySteps.emplace_back(x, j);
  const auto byForm = [](const auto& p, const auto& q) { return std::tie(p.first.a, p.first.b) < std::tie(q.first.a, q.first.b); };
  std::sort(babySteps.begin(), babySteps.end(), byForm);
  const Form giant = group.power(g, m);
  Form y = group.power(g, low);
  for (int64_t t = low; t <= high; t += m, y = group.compose(y, giant)) {
    const auto found = std::lower_bound(babySteps.begin(), babySteps.end(), std::pair{y, int64_t{0}}, byForm);
    if (found == babySteps.end() || !(found->first == y)) continue;
    if (t + found->second > high) break;
    return t + found->second;
  }
  return std::nullopt;
}

// A t in the window with g^t = 1, looked for outward from the estimate, as h most likely lies near
// it: baby steps g^j for 0 <= j <= m, each standing for g^-j too, and giant steps of g^(2m + 1) up and
// down. Where g's order is small (two baby steps share a key), the plain search instead.
std::optional<int64_t> exponentNear(const ClassGroup& group, const Form& g, const Window& window) {
  const int64_t m = 1 + static_cast<int64_t>(std::sqrt(static_cast<double>(window.high - window.low) / (2 * kWindowSpreads)));
  std::vector<BabyStep> babySteps;
  std::vector<Form> babyForms;
  babySteps.reserve(static_cast<size_t>(m) + 1);
  babyForms.reserve(static_cast<size_t>(m) + 1);
  Form x = group.identity();
  for (int64_t j = 0; j <= m; ++j, x = group.compose(x, g)) {
    babySteps.push_back({keyOf(x), j});
    babyForms.push_back(x);
  }
  std::sort(babySteps.begin(), babySteps.end());
  const auto sameKey = [](const BabyStep& p, const BabyStep& q) { return p.key == q.key; };
  if (std::adjacent_find(babySteps.begin(), babySteps.end(), sameKey) != babySteps.end())
    return exponentInRange(group, g, window.low, window.high);
  // g^s = g^j or g^-j for the baby step j with its key: then g^(s - j) or g^(s + j) is 1.
  const auto exponentAt = [&](const Form& y, int64_t s) -> std::optional<int64_t> {
    const auto found = std::lower_bound(babySteps.begin(), babySteps.end(), BabyStep{keyOf(y), 0});
    if (found == babySteps.end() || found->key != keyOf(y)) return std::nullopt;
    const int64_t t = babyForms[static_cast<size_t>(found->j)] == y ? s - found->j : s + found->j;
    return window.holds(t) ? std::optional(t) : std::nullopt;
  };
  const int64_t stride = 2 * m + 1;
  const Form giant = group.power(g, stride), giantBack = group.inverse(giant);
  Form up = group.power(g, window.estimate), down = up;
  for (int64_t k = 0;; ++k) {
    const int64_t sUp = window.estimate + k * stride, sDown = window.estimate - k * stride;
    const bool upReaches = sUp - m <= window.high, downReaches = sDown + m >= window.low;
    if (!upReaches && !downReaches) return std::nullopt;
    if (upReaches) {
      if (const auto t = exponentAt(up, sUp)) return t;
      up = group.compose(up, giant);
    }
    if (downReaches && k > 0) {
      if (const auto t = exponentAt(down, sDown)) return t;
    }
    if (downReaches) down = group.compose(down, giantBack);
  }
}

// The order of f, given f^n = 1.
int64_t orderOf(const ClassGroup& group, const Form& f, int64_t n) {
  int64_t order = n;
  for (int64_t q : primeFactors(n))
    while (order % q == 0 && group.power(f, order / q).isIdentity()) order /= q;
  return order;
}

// The order of the 2-part of the group the forms generate (each given with its order), counted
// element by element: each generator g adds the cosets g^k H of the group H found so far until g^k
// lies in H, one composition for each element. None beyond kLargestTwoPart elements. Where the class
// group holds many elements of order 2 (D with many prime factors), h is a multiple of it far larger
// than the exponent.
std::optional<int64_t> twoPartOrder(const ClassGroup& group, std::span<const std::pair<Form, int64_t>> forms) {
  std::vector<Form> elements{group.identity()};
  std::unordered_set<Key, KeyHash> keys{exactKeyOf(elements.front())};
  for (const auto& [form, order] : forms) {
    const Form g = group.power(form, order >> std::countr_zero(static_cast<uint64_t>(order)));
    const size_t before = elements.size();
    for (Form coset = g; !keys.contains(exactKeyOf(coset)); coset = group.compose(coset, g)) {
      if (elements.size() + before > kLargestTwoPart) return std::nullopt;
      for (size_t i = 0; i < before; ++i) {
        elements.push_back(group.compose(elements[i], coset));
        keys.insert(exactKeyOf(elements.back()));
      }
    }
  }
  return static_cast<int64_t>(elements.size());
}

// The multiples within the window of a divisor of h found from the prime forms: the exponent of the
// group they generate, and where that leaves several, the order of its 2-part times the odd part of
// the exponent. h is one of them if it lies in the window; empty when the window holds none, so that
// h lies outside.
std::vector<int64_t> classNumberCandidates(const ClassGroup& group, std::span<const int64_t> splitPrimes,
                                           const Window& window) {
  if (splitPrimes.empty()) return {};
  const Form first = group.primeForm(splitPrimes.front());
  const std::optional<int64_t> t = exponentNear(group, first, window);
  if (!t) return {};
  std::vector<std::pair<Form, int64_t>> forms{{first, orderOf(group, first, *t)}};
  int64_t divisor = forms.front().second;
  for (int64_t p : splitPrimes.subspan(1)) {
    if (window.multiplesOf(divisor) <= 1) break;
    const Form f = group.primeForm(p);
    const std::optional<int64_t> u = exponentInRange(group, group.power(f, divisor),
                                                     (window.low + divisor - 1) / divisor, window.high / divisor);
    if (!u) return {};
    forms.emplace_back(f, orderOf(group, f, divisor * *u));
    divisor = std::lcm(divisor, forms.back().second);
  }
  if (window.multiplesOf(divisor) > 1) {
    if (const std::optional<int64_t> twoPart = twoPartOrder(group, forms))
      divisor = std::lcm(divisor >> std::countr_zero(static_cast<uint64_t>(divisor)), *twoPart);
  }
  std::vector<int64_t> candidates;
  for (int64_t n = window.firstMultipleOf(divisor); n <= window.high; n += divisor) candidates.push_back(n);
  return candidates;
}

// The window of a relative width `width` (in the logarithm) around `estimate`.
Window windowAround(double estimate, double width) {
  const auto low = static_cast<int64_t>(std::floor(estimate * std::exp(-width)));
  return {std::max<int64_t>(1, low), std::llround(estimate), static_cast<int64_t>(std::ceil(estimate * std::exp(width)))};
}

// h(D) for |D| > 2^20 from the Euler products of L_D(1) and the forms; the candidate nearest the
// longest product's estimate where even that leaves several.
std::optional<int64_t> classNumberFromForms(Int128 delta, std::span<const int8_t> symbols) {
  const std::span<const uint32_t> primes = oddPrimesUpTo(estimatePrimes(delta));
  std::vector<int64_t> splitPrimes;
  for (size_t i = 0; i < primes.size() && splitPrimes.size() < kFormsTried; ++i)
    if (symbols[i] == 1) splitPrimes.push_back(primes[i]);
  const ClassGroup group(delta);
  const double scale = automorphs(delta) * std::sqrt(static_cast<double>(-delta)) / (2 * kPi);
  std::vector<int64_t> candidates;
  double estimate = 0;
  std::vector<uint32_t> cuts{estimatePrimes(delta)};
  cuts.insert(cuts.end(), std::begin(kNarrowingCuts), std::end(kNarrowingCuts));
  for (uint32_t cut : cuts) {
    estimate = scale * std::exp(logLEulerProduct(delta, symbols, cut));
    // The tail's spread if its signs were random: sqrt(sum over p > P of 1/p^2) ~ 1/sqrt(P ln P).
    const double spread = 1.0 / std::sqrt(cut * std::log(static_cast<double>(cut)));
    for (double width = kWindowSpreads * spread; width < 2; width *= 2) {
      candidates = classNumberCandidates(group, splitPrimes, windowAround(estimate, width));
      if (candidates.size() == 1) return candidates.front();
      if (candidates.size() > 1) break;
    }
  }
  if (candidates.empty()) return std::nullopt;
  if (-delta <= kLargestSeriesDiscriminant) return classNumberFromSeries(static_cast<int64_t>(delta));
  return *std::min_element(candidates.begin(), candidates.end(), [&](int64_t x, int64_t y) {
    return std::fabs(static_cast<double>(x) - estimate) < std::fabs(static_cast<double>(y) - estimate);
  });
}

}  // namespace

uint32_t estimatePrimes(Int128 delta) { return magnitude(delta) > (Int128{1} << 44) ? uint32_t{1} << 16 : uint32_t{1} << 14; }

int automorphs(Int128 delta) { return delta == -3 ? 6 : delta == -4 ? 4 : 2; }

std::optional<int64_t> classNumberOf(Int128 delta, std::span<const int8_t> symbols) {
  if (-delta <= kSeriesLimit) return classNumberFromSeries(static_cast<int64_t>(delta));
  if (-delta > kLargestFormDiscriminant) return std::nullopt;
  return classNumberFromForms(delta, symbols);
}

}  // namespace numlib::detail

namespace numlib {

std::optional<int64_t> classNumber(Int128 discriminant) {
  if (discriminant >= 0 || detail::residue(discriminant, 4) > 1) return std::nullopt;
  return detail::classNumberOf(discriminant, detail::legendreSymbols(discriminant, detail::estimatePrimes(discriminant)));
}

}  // namespace numlib
