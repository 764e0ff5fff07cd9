#pragma once
// Storage for the large tables of a calculation run (the records of a whole
// file, the decoded lines of every analysis): tens of megabytes, written
// once when a run starts and dropped when it ends. Taken from the system
// as huge pages where it offers them, so that filling a table costs a few
// page faults instead of one for every 4 KB.

#include <cstddef>
#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace vantu {

template <class T>
struct LargeBufferAllocator {
  using value_type = T;
  static constexpr size_t kHugePage = size_t{2} << 20;
  // Smaller tables stay with the ordinary allocator.
  static constexpr size_t kLarge = kHugePage;

  LargeBufferAllocator() = default;
  template <class U>
  LargeBufferAllocator(const LargeBufferAllocator<U>&) {}  // NOLINT(google-explicit-constructor)

  T* allocate(size_t n) {
    const size_t bytes = n * sizeof(T);
    if (bytes < kLarge) return static_cast<T*>(::operator new(bytes));
    const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* p = std::aligned_alloc(kHugePage, rounded);
    if (p == nullptr) throw std::bad_alloc();
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    ::madvise(p, rounded, MADV_HUGEPAGE);
#endif
    return static_cast<T*>(p);
  }
  void deallocate(T* p, size_t n) {
    if (n * sizeof(T) < kLarge)
      ::operator delete(p);
    else
      std::free(p);
  }
  template <class U>
  bool operator==(const LargeBufferAllocator<U>&) const {
    return true;
  }
};

}  // namespace vantu
