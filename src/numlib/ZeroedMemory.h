#pragma once

#include <cstddef>
#include <vector>

namespace numlib {

// Memory that comes zeroed, for large buffers: a poster's raster, a long pass's bitsets.
// From 2 MiB on, a buffer is a mapping of its own in huge pages where the system gives them:
// - a poster's raster is read back a row above and below each cell, and in small pages nearly every
//   such read misses the address cache;
// - every fresh small page costs a fault when it is first touched, and under a virtual machine such
//   a fault costs microseconds: for a 32 MiB bitset more than the sieve that fills it. A huge page
//   costs one fault for 512 small ones.
void* allocateZeroed(std::size_t bytes);
void freeZeroed(void* p, std::size_t bytes);

template <class T>
struct ZeroedAllocator {
  using value_type = T;
  ZeroedAllocator() = default;
  template <class U>
  ZeroedAllocator(const ZeroedAllocator<U>&) {}  // allocators of other types convert implicitly
  T* allocate(std::size_t n) { return static_cast<T*>(allocateZeroed(n * sizeof(T))); }
  void deallocate(T* p, std::size_t n) { freeZeroed(p, n * sizeof(T)); }
  // The memory comes zeroed: resizing writes nothing, so that the system zeroes a large buffer's
  // pages where they are first touched, on whichever worker does.
  template <class U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <class U>
  bool operator==(const ZeroedAllocator<U>&) const { return true; }
};

// A vector whose elements are zero, unwritten, when it is made at its size or grows into new memory;
// elements that grow back into capacity it had keep what they held, so shrink one only to drop it.
template <class T>
using ZeroedVector = std::vector<T, ZeroedAllocator<T>>;

}  // namespace numlib
