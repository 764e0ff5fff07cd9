#include "calc/large_buffer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace vantu::test {
namespace {

// A table that grows from a few elements past the size of a huge page moves
// from the ordinary allocator to the aligned one and back when it shrinks
// to fit: every element survives each move, and each block is given back
// the way it was taken (the address sanitizer reports a mismatch).
TEST(LargeBufferTest, TablesKeepTheirElementsAcrossBothKindsOfStorage) {
  using Alloc = LargeBufferAllocator<int64_t>;
  constexpr size_t kPast = Alloc::kLarge / sizeof(int64_t) + 1000;
  std::vector<int64_t, Alloc> table;
  for (size_t i = 0; i < kPast; ++i) table.push_back(static_cast<int64_t>(i * 7));
  EXPECT_EQ(reinterpret_cast<uintptr_t>(table.data()) % Alloc::kHugePage, 0u);
  table.resize(100);
  table.shrink_to_fit();
  ASSERT_EQ(table.size(), 100u);
  for (size_t i = 0; i < table.size(); ++i) ASSERT_EQ(table[i], static_cast<int64_t>(i * 7));
  std::vector<int64_t, Alloc> copy(kPast, -1);
  copy.assign(table.begin(), table.end());
  EXPECT_EQ(copy, table);
}

}  // namespace
}  // namespace vantu::test
