#pragma once
// The worker threads a long piece of number work is split among: oneTBB's pool, started at the
// first parallel work and kept for the process; its idle workers sleep rather than spin, which
// matters when one thread does an ordered step while the others wait. Small work runs on the
// calling thread alone, for a pool costs more to wake than it saves.

#include <algorithm>
#include <cstdint>

#include <oneapi/tbb/parallel_for.h>
#include <oneapi/tbb/task_arena.h>

namespace numlib {

// The workers a machine offers by default: one per core.
int coreCount();

// Calls work(first, count) for consecutive pieces of [0, total), each `piece` long but the last,
// on up to `threads` workers; with one thread, or a single piece, on the calling thread in order.
// The pieces are handed out as workers come free, so uneven ones balance. `work` must be safe to
// call concurrently for different pieces.
template <typename Work>
void forEachPiece(int64_t total, int64_t piece, int threads, Work work) {
  const int64_t pieces = total <= 0 ? 0 : (total + piece - 1) / piece;
  const auto doPiece = [&](int64_t k) { work(k * piece, std::min(piece, total - k * piece)); };
  if (threads <= 1 || pieces <= 1) {
    for (int64_t k = 0; k < pieces; ++k) doPiece(k);
    return;
  }
  oneapi::tbb::task_arena workers(static_cast<int>(std::min<int64_t>(threads, pieces)));
  workers.execute([&] { oneapi::tbb::parallel_for(int64_t{0}, pieces, doPiece); });
}

}  // namespace numlib
