#pragma once
// Pieces shared by the search, insertion and removal of keys.

#include <string>

#include "storage/btree.h"
#include "storage/page_cache.h"

namespace vantu {

// Result of the binary search in one page: equal at item K, or the key lies
// between item R and item R+1 (R = 0: below item 1).
struct PageSearch {
  int R = 0;
  int K = 0;
  bool equal = false;
};

PageSearch SearchPage(const CachedPage& page, const std::string& key, int16_t r, bool duplicates);

// Cuts the caller's key to the index's key length.
inline void CutKey(const IndexFileState& ix, std::string& key) {
  if (key.size() > ix.KeyLength) key.resize(ix.KeyLength);
}

// Ends the program for a tree deeper than any sound tree can be (a cycle
// among pages).
void CheckDepth(int depth);

}  // namespace vantu
