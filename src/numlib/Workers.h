#pragma once
// The worker threads a long piece of number work is split among: OpenMP's pool, started at the
// first parallel region and kept for the process. Small work runs on the calling thread alone,
// for a pool costs more to wake than it saves.

#include <algorithm>
#include <cstdint>

namespace numlib {

// The workers a machine offers by default: one per core.
int coreCount();

// Calls work(first, count) for consecutive pieces of [0, total), each `piece` long but the last,
// on up to `threads` workers; with one thread, or a single piece, on the calling thread in order.
// The pieces are handed out one at a time, so uneven ones balance. `work` must be safe to call
// concurrently for different pieces.
template <typename Work>
void forEachPiece(int64_t total, int64_t piece, int threads, Work work) {
  const int64_t pieces = total <= 0 ? 0 : (total + piece - 1) / piece;
  if (threads <= 1 || pieces <= 1) {
    for (int64_t k = 0; k < pieces; ++k) work(k * piece, std::min(piece, total - k * piece));
    return;
  }
#pragma omp parallel for num_threads(std::min<int64_t>(threads, pieces)) schedule(dynamic, 1)
  for (int64_t k = 0; k < pieces; ++k) work(k * piece, std::min(piece, total - k * piece));
}

}  // namespace numlib
