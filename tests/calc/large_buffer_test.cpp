#include "calc/large_buffer.h"

#include <gtest/gtest.h>

#include <array>
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
  EXPECT_EQ(reinterpret_cast<uintptr_t>(table.data()) % kHugePageBytes, 0u);
  table.resize(100);
  table.shrink_to_fit();
  ASSERT_EQ(table.size(), 100u);
  for (size_t i = 0; i < table.size(); ++i) ASSERT_EQ(table[i], static_cast<int64_t>(i * 7));
  std::vector<int64_t, Alloc> copy(kPast, -1);
  copy.assign(table.begin(), table.end());
  EXPECT_EQ(copy, table);
}

// A table filled from a file is never cleared first: what is stored in it
// stays, whichever storage its size takes, and storage replaced or dropped
// goes back the way it was taken (the address sanitizer checks both).
TEST(LargeBufferTest, UninitializedTablesHoldWhatIsStoredInEitherStorage) {
  struct Row {
    std::array<uint8_t, 632> bytes;
  };
  constexpr size_t kSmall = 3;
  const size_t kPast = LargeBufferAllocator<Row>::kLarge / sizeof(Row) + 5;
  UninitializedTable<Row> table;
  EXPECT_TRUE(table.empty());
  for (size_t n : {kPast, kSmall, kPast}) {
    table.Allocate(n);
    ASSERT_EQ(table.size(), n);
    for (size_t i = 0; i < n; ++i) table[i].bytes.fill(static_cast<uint8_t>(i * 31));
    for (size_t i = 0; i < n; ++i) {
      ASSERT_EQ(table[i].bytes.front(), static_cast<uint8_t>(i * 31));
      ASSERT_EQ(table[i].bytes.back(), static_cast<uint8_t>(i * 31));
    }
  }
  table.Allocate(0);
  EXPECT_TRUE(table.empty());
}

// A dropped table's block serves the next table of the same size, and only
// that size; the reset gives every kept block back.
TEST(LargeBufferTest, DroppedBlocksServeTheNextTableOfTheirSize) {
  ReleaseLargeBlocks();
  void* first = TakeLargeBlock(3 * kHugePageBytes);
  KeepLargeBlock(first, 3 * kHugePageBytes);
  void* other = TakeLargeBlock(kHugePageBytes);
  EXPECT_NE(other, first);
  void* again = TakeLargeBlock(3 * kHugePageBytes - 100);  // the same in huge pages
  EXPECT_EQ(again, first);
  static_cast<uint8_t*>(again)[3 * kHugePageBytes - 1] = 7;  // the whole block is usable
  KeepLargeBlock(again, 3 * kHugePageBytes);
  KeepLargeBlock(other, kHugePageBytes);
  ReleaseLargeBlocks();
  void* fresh = TakeLargeBlock(kHugePageBytes);
  KeepLargeBlock(fresh, kHugePageBytes);
  ReleaseLargeBlocks();
}

}  // namespace
}  // namespace vantu::test
