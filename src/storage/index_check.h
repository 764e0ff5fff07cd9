#pragma once
// Structural check of an open index, for tests and the fuzzer: keys in
// order across the tree, every non-root page holding 16 to 32 items, all
// leaves at one depth, every page reached once, and reached pages plus the
// free chain plus the header accounting for every record of the file.

#include <cstdint>
#include <string>
#include <vector>

#include "storage/btree.h"

namespace vantu {

struct IndexEntry {
  std::string key;
  int16_t record = 0;
  bool operator==(const IndexEntry&) const = default;
};

// Empty when the index is sound, else the first fault found. The entries
// in tree order go to `entries` when given.
std::string CheckIndexIntegrity(IndexFileState& ix, std::vector<IndexEntry>* entries = nullptr);

}  // namespace vantu
