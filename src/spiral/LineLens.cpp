#include "LineLens.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <tuple>

#include "HardyLittlewood.h"
#include "numlib.hpp"

namespace spiral {

namespace {

// How many cells of a ray have their bit set: bit i stands for walk index i, and the ray's indices
// follow its quadratic.
int64_t countOn(const numlib::ZeroedVector<uint64_t>& bits, const Ray& ray) {
  auto index = static_cast<int64_t>(ray.indices.at(ray.kFrom));
  int64_t count = 0;
  for (int64_t k = ray.kFrom; k <= ray.kTo; index += 8 * k + 4 + ray.indices.b, ++k)  // f(k + 1) - f(k)
    count += static_cast<int64_t>((bits[static_cast<size_t>(index >> 6)] >> (index & 63)) & 1);
  return count;
}

// More primes first, then the higher A, then by direction and innermost cell.
bool ranksBefore(const RayFacts& x, const RayFacts& y) {
  if (x.primes != y.primes) return x.primes > y.primes;
  if (x.hlConstant != y.hlConstant) return x.hlConstant > y.hlConstant;
  return std::tuple(x.ray.direction, x.ray.first.row, x.ray.first.column) <
         std::tuple(y.ray.direction, y.ray.first.row, y.ray.first.column);
}

}  // namespace

LineLens::LineLens(const DrawOutcome& pass)
    : drawn_(pass.refusal == Refusal::None), geometry_(pass.geometry), start_(pass.startNumber) {
  if (!drawn_) return;
  const int64_t count = geometry_.numberOfNumbers;
  const auto words = static_cast<size_t>((count + 63) / 64);
  if (pass.primeBits.size() == words) {
    primeBits_ = pass.primeBits;  // the pass recorded them: far from 1 they are its costliest part
  } else {
    primeBits_.assign(words, 0);
    if (count > 0) numlib::primeBits(start_, count, primeBits_.data());
  }
  if (pass.shownBits.size() == words) shownBits_ = pass.shownBits;
}

int64_t LineLens::primesOn(const Ray& ray) const { return countOn(primeBits_, ray); }

RayFacts LineLens::factsOf(const Ray& ray) const {
  RayFacts facts{.ray = ray, .numbers = numbersOn(ray, Int128(start_)), .primes = primesOn(ray), .shown = {}};
  if (shownBits_) facts.shown = countOn(*shownBits_, ray);
  const PrimeExpectation expectation = expectationOf(facts.numbers, ray.kFrom, ray.kTo);
  facts.hlConstant = expectation.hlConstant;
  facts.expectedPrimes = expectation.expectedPrimes;
  return facts;
}

PrimeExpectation expectationOf(const Quadratic& numbers, int64_t kFrom, int64_t kTo) {
  const double a = numlib::hardyLittlewoodConstant(numbers.b, numbers.c);
  double inverseLogs = 0;
  for (int64_t k = kFrom; k <= kTo; ++k) {
    const Int128 value = numbers.at(k);
    if (value > 1) inverseLogs += 1.0 / std::log(static_cast<double>(value));
  }
  return {a, a * inverseLogs};
}

std::vector<PlaneRayFacts> raysInView(const ViewSettings& view, const CellRange& cells, CellPos cell) {
  std::vector<PlaneRayFacts> facts;
  for (const PlaneRay& ray : raysThrough(cells, ~Number{0} - view.start, cell)) {
    PlaneRayFacts ofRay{.ray = ray, .numbers = numbersOn(ray, Int128{view.start}), .primes = 0, .shown = {}};
    for (int64_t k = ray.kFrom; k <= ray.kTo; ++k) ofRay.primes += numlib::isPrime(static_cast<Number>(ofRay.numbers.at(k))) ? 1 : 0;
    const PrimeExpectation expectation = expectationOf(ofRay.numbers, ray.kFrom, ray.kTo);
    ofRay.hlConstant = expectation.hlConstant;
    ofRay.expectedPrimes = expectation.expectedPrimes;
    facts.push_back(ofRay);
  }
  return facts;
}

std::vector<RayFacts> LineLens::raysThrough(Cell cell) const {
  std::vector<RayFacts> facts;
  if (!drawn_) return facts;
  for (const Ray& ray : spiral::raysThrough(geometry_, cell)) facts.push_back(factsOf(ray));
  return facts;
}

// The prime counts of all rays come from the bitset; A, the costly part, only for the rays that
// reach the cut (the count-th highest prime count), which are listed or tied with the last listed.
std::vector<RayFacts> LineLens::bestRays(size_t count) const {
  if (!drawn_ || count == 0) return {};
  const std::vector<Ray> rays = allRays(geometry_);
  if (rays.empty()) return {};
  std::vector<int64_t> primes(rays.size());
  std::transform(rays.begin(), rays.end(), primes.begin(), [&](const Ray& ray) { return primesOn(ray); });
  std::vector<int64_t> highest = primes;
  const auto cut = highest.begin() + static_cast<ptrdiff_t>(std::min(count, highest.size()) - 1);
  std::nth_element(highest.begin(), cut, highest.end(), std::greater<>());
  std::vector<RayFacts> best;
  for (size_t i = 0; i < rays.size(); ++i)
    if (primes[i] >= *cut) best.push_back(factsOf(rays[i]));
  std::sort(best.begin(), best.end(), ranksBefore);
  best.resize(std::min(count, best.size()));
  return best;
}

}  // namespace spiral
