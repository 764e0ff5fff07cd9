#include "storage/index_check.h"

#include "storage/page_cache.h"

namespace vantu {

namespace {

struct Walk {
  explicit Walk(IndexFileState& index) : ix(index) {}

  IndexFileState& ix;
  std::vector<IndexEntry> entries;
  std::vector<bool> seen;
  int leafDepth = -1;
  std::string fault;

  void Fail(const std::string& what, int page) {
    if (fault.empty()) fault = what + " (page " + std::to_string(page) + ")";
  }

  void Visit(int16_t pageNo, int depth) {
    if (!fault.empty()) return;
    if (pageNo < 1 || pageNo >= static_cast<int>(seen.size())) return Fail("page outside", pageNo);
    if (seen[pageNo]) return Fail("page reached twice", pageNo);
    if (depth > kMaxTreeDepth) return Fail("tree too deep", pageNo);
    seen[pageNo] = true;
    const CachedPage page = *GetPage(ix, pageNo);  // a copy: the walk evicts buffers
    const int n = page.Count();
    if (n > kPageCapacity) return Fail("count above 32", pageNo);
    if (pageNo != ix.Root && n < kPageMinimum) return Fail("page below 16 items", pageNo);
    if (n < 1) return Fail("empty root", pageNo);
    const bool leaf = page.LeftPage() == 0;
    if (leaf && leafDepth < 0) leafDepth = depth;
    if (leaf && depth != leafDepth) return Fail("leaves at different depths", pageNo);
    for (int i = 0; i <= n; ++i) {
      if (i > 0) Add(page.Key(i), page.Record(i), pageNo);
      if (!leaf) Visit(page.Child(i), depth + 1);
    }
  }

  void Add(const std::string& key, int16_t record, int pageNo) {
    if (!entries.empty()) {
      const IndexEntry& prev = entries.back();
      if (CompareKeys(prev.key, key, prev.record, ix.AllowDuplicates, record) >= 0)
        Fail("keys out of order", pageNo);
    }
    entries.push_back({key, record});
  }

  void FreeChain() {
    const DataFileState& f = ix.File;
    int16_t r = f.FreeHead;
    for (int i = 0; i < f.FreeCount && fault.empty(); ++i) {
      if (r < 1 || r >= f.RecordCount) return Fail("free link outside", r);
      if (seen[r]) return Fail("free page in use or chain loop", r);
      seen[r] = true;
      r = ReadLink(ix.File, r);
    }
    if (fault.empty() && r != -1) Fail("free chain longer than its count", r);
  }
};

}  // namespace

std::string CheckIndexIntegrity(IndexFileState& ix, std::vector<IndexEntry>* entries) {
  Walk walk{ix};
  walk.seen.assign(std::max<int>(ix.File.RecordCount, 1), false);
  if (ix.Root != 0) walk.Visit(ix.Root, 1);
  walk.FreeChain();
  if (walk.fault.empty()) {
    for (size_t r = 1; r < walk.seen.size(); ++r)
      if (!walk.seen[r]) {
        walk.Fail("page neither in the tree nor free", static_cast<int>(r));
        break;
      }
  }
  if (entries) *entries = std::move(walk.entries);
  return walk.fault;
}

}  // namespace vantu
