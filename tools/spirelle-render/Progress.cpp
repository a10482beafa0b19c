#include "Progress.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>

namespace render {
namespace {

constexpr auto kRewriteEvery = std::chrono::milliseconds(200);

}  // namespace

Progress::Progress(std::string unit, int64_t total)
    : unit_(std::move(unit)), total_(total), shown_(::isatty(STDERR_FILENO) == 1) {}

Progress::~Progress() {
  if (!written_) return;
  std::fputs("\r\033[K", stderr);
  std::fflush(stderr);
}

void Progress::update(int64_t done) {
  if (!shown_ || done <= 0) return;
  const Clock::time_point now = Clock::now();
  if (now - lastWrite_ < kRewriteEvery) return;
  lastWrite_ = now;
  const double elapsed = std::chrono::duration<double>(now - begin_).count();
  const double left = elapsed * double(total_ - done) / double(done);
  std::fprintf(stderr, "\rspirelle-render: %lld of %lld %s, about %.0f s left\033[K", static_cast<long long>(done),
               static_cast<long long>(total_), unit_.c_str(), std::ceil(left));
  std::fflush(stderr);
  written_ = true;
}

}  // namespace render
