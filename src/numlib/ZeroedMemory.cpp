#include "ZeroedMemory.h"

#include <cstring>
#include <new>

#include <sys/mman.h>

namespace numlib {

namespace {

// From this size on a buffer lives in its own mapping, in huge pages where the system gives them.
constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kMappedFrom = kHugePage;

// A mapped buffer takes whole huge pages.
std::size_t mappedBytes(std::size_t n) { return (n + kHugePage - 1) / kHugePage * kHugePage; }

}  // namespace

void* allocateZeroed(std::size_t n) {
  if (n < kMappedFrom) return std::memset(::operator new(n), 0, n);
  const std::size_t bytes = mappedBytes(n);
  void* p = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) throw std::bad_alloc();
  ::madvise(p, bytes, MADV_HUGEPAGE);  // a hint: without it the buffer stays in small pages
  return p;
}

void freeZeroed(void* p, std::size_t n) {
  if (n < kMappedFrom) {
    ::operator delete(p);
  } else {
    ::munmap(p, mappedBytes(n));
  }
}

}  // namespace numlib
