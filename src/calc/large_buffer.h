#pragma once
// Storage for the large tables of a calculation run (the records of a whole
// file, the decoded lines of every analysis): tens of megabytes, written
// once when a run starts and dropped when it ends. Taken from the system
// as huge pages where it offers them, so that filling a table costs a few
// page faults instead of one for every 4 KB.
//
// A dropped block is kept for the next run (up to kKeptLimit in all) and
// handed out again for a table of the same size: fresh pages are zeroed by
// the system, which costs as much as filling them, and a consultant runs
// the calculation again and again on the same set. ReleaseLargeBlocks (from
// the calculation's reset) gives them all back.

#include <cstddef>
#include <new>
#include <type_traits>

namespace vantu {

inline constexpr size_t kHugePageBytes = size_t{2} << 20;

// Blocks of huge-page multiples, aligned to the huge page.
void* TakeLargeBlock(size_t bytes);
void KeepLargeBlock(void* block, size_t bytes);
void ReleaseLargeBlocks();

template <class T>
struct LargeBufferAllocator {
  using value_type = T;
  // Smaller tables stay with the ordinary allocator.
  static constexpr size_t kLarge = kHugePageBytes;

  LargeBufferAllocator() = default;
  template <class U>
  LargeBufferAllocator(const LargeBufferAllocator<U>&) {}  // NOLINT(google-explicit-constructor)

  T* allocate(size_t n) {
    const size_t bytes = n * sizeof(T);
    if (bytes < kLarge) return static_cast<T*>(::operator new(bytes));
    return static_cast<T*>(TakeLargeBlock(bytes));
  }
  void deallocate(T* p, size_t n) {
    if (n * sizeof(T) < kLarge)
      ::operator delete(p);
    else
      KeepLargeBlock(p, n * sizeof(T));
  }
  template <class U>
  bool operator==(const LargeBufferAllocator<U>&) const {
    return true;
  }
};

// A fixed number of plain records in large-buffer storage, left as the
// system gives them: a table that is filled from a file at once need not
// be cleared first (clearing tens of megabytes costs as much as the read).
// T must be a type whose objects the storage itself holds (plain bytes).
template <class T>
class UninitializedTable {
  static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T> &&
                std::is_aggregate_v<T>);

 public:
  UninitializedTable() = default;
  UninitializedTable(const UninitializedTable&) = delete;
  UninitializedTable& operator=(const UninitializedTable&) = delete;
  ~UninitializedTable() { Release(); }

  // Replaces the table with one of n elements of unspecified bytes.
  void Allocate(size_t n) {
    Release();
    if (n == 0) return;
    data_ = LargeBufferAllocator<T>().allocate(n);
    size_ = n;
  }
  bool empty() const { return size_ == 0; }
  size_t size() const { return size_; }
  T& operator[](size_t i) { return data_[i]; }
  const T& operator[](size_t i) const { return data_[i]; }

 private:
  void Release() {
    if (data_ != nullptr) LargeBufferAllocator<T>().deallocate(data_, size_);
    data_ = nullptr;
    size_ = 0;
  }
  T* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace vantu
