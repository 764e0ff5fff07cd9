#include "calc/large_buffer.h"

#include <cstdlib>
#include <new>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
// A kept block is poisoned, so that a use after its table was dropped
// is still caught.
#define VANTU_POISON(p, n) __asan_poison_memory_region((p), (n))
#define VANTU_UNPOISON(p, n) __asan_unpoison_memory_region((p), (n))
#else
#define VANTU_POISON(p, n) ((void)(p), (void)(n))
#define VANTU_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace vantu {

namespace {

// What the kept blocks may hold in all: a maximum-size run needs about
// 70 MB.
constexpr size_t kKeptLimit = size_t{256} << 20;

struct KeptBlock {
  void* block;
  size_t bytes;  // rounded to huge pages
};

struct KeptBlocks {
  std::vector<KeptBlock> blocks;
  size_t total = 0;
};

KeptBlocks& Kept() {
  static KeptBlocks kept;
  return kept;
}

// Blocks start on a huge page. Aligned new rather than aligned_alloc, which
// not every C runtime has.
constexpr std::align_val_t kBlockAlignment{kHugePageBytes};

size_t Rounded(size_t bytes) {
  return (bytes + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
}

}  // namespace

void* TakeLargeBlock(size_t bytes) {
  const size_t rounded = Rounded(bytes);
  KeptBlocks& kept = Kept();
  for (size_t i = 0; i < kept.blocks.size(); ++i) {
    if (kept.blocks[i].bytes != rounded) continue;
    void* p = kept.blocks[i].block;
    kept.blocks.erase(kept.blocks.begin() + static_cast<std::ptrdiff_t>(i));
    kept.total -= rounded;
    VANTU_UNPOISON(p, rounded);
    return p;
  }
  void* p = ::operator new(rounded, kBlockAlignment);
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  ::madvise(p, rounded, MADV_HUGEPAGE);
#endif
  return p;
}

void KeepLargeBlock(void* block, size_t bytes) {
  const size_t rounded = Rounded(bytes);
  KeptBlocks& kept = Kept();
  if (kept.total + rounded > kKeptLimit) {
    ::operator delete(block, kBlockAlignment);
    return;
  }
  VANTU_POISON(block, rounded);
  kept.blocks.push_back({block, rounded});
  kept.total += rounded;
}

void ReleaseLargeBlocks() {
  KeptBlocks& kept = Kept();
  for (const KeptBlock& k : kept.blocks) {
    VANTU_UNPOISON(k.block, k.bytes);
    ::operator delete(k.block, kBlockAlignment);
  }
  kept.blocks.clear();
  kept.total = 0;
}

}  // namespace vantu
