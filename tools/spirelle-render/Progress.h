#pragma once
// Progress of a long run on stderr: how much is done, of how much, and the time left. Shown only
// while stderr is a terminal, so scripts and tests keep a silent stderr.

#include <chrono>
#include <cstdint>
#include <string>

namespace render {

class Progress {
 public:
  // `unit` names what is counted ("frames", "numbers").
  Progress(std::string unit, int64_t total);
  ~Progress();  // clears the line it wrote
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  // Rewrites the line at most a few times a second.
  void update(int64_t done);

 private:
  using Clock = std::chrono::steady_clock;
  std::string unit_;
  int64_t total_;
  bool shown_;
  bool written_ = false;
  Clock::time_point begin_ = Clock::now();
  Clock::time_point lastWrite_{};
};

}  // namespace render
