// The whole of an index in key order from one read of its page file: a
// walk over every key costs one system call instead of one for each page
// that drops out of the five shared buffers.
#include <algorithm>
#include <vector>

#include "storage/btree_internal.h"
#include "storage/file_io.h"
#include "storage/record_run_reads.h"

namespace vantu {

namespace {

struct OrderWalk {
  IndexFileState& ix;
  std::vector<uint8_t> image;  // the pages as stored, record 0 included
  int stored = 0;              // pages in the image; a new one may be in a buffer only
  std::vector<bool> seen;
  std::vector<int16_t>& records;

  // Page p as the engine would see it: from its buffer when cached, else
  // unpacked from the image; false when it is no sound page of this tree.
  bool Page(int16_t p, CachedPage& page) const {
    if (const CachedPage* cached = FindCachedPage(ix, p)) {
      page = *cached;
      return true;
    }
    if (p >= stored) return false;
    const uint8_t* disk = image.data() + static_cast<size_t>(p) * ix.File.RecordLength;
    if (disk[0] > kPageCapacity) return false;
    UnpackPage(disk, ix.KeyLength, page);
    page.page = p;
    return PageIsSound(page, ix);
  }

  bool Visit(int16_t p, int depth) {
    if (p < 1 || p >= ix.File.RecordCount || seen[p] || depth > kMaxTreeDepth) return false;
    seen[p] = true;
    CachedPage page;
    if (!Page(p, page)) return false;
    for (int i = 0; i <= page.Count(); ++i) {
      if (i > 0) records.push_back(page.Record(i));
      if (page.Child(i) != 0 && !Visit(page.Child(i), depth + 1)) return false;
    }
    return true;
  }
};

}  // namespace

bool RecordsInKeyOrder(IndexFileState& ix, std::vector<int16_t>& records) {
  records.clear();
  if (ix.held || !ix.File.isOpen) return false;
  ix.PathDepth = 0;
  if (ix.Root == 0) return true;
  OrderWalk walk{ix, {}, 0, {}, records};
  const int pages = ix.File.RecordCount;
  int64_t size = 0;
  if (Files().Size(ix.File.handle, size) != 0) return false;
  walk.stored = static_cast<int>(std::min<int64_t>(pages, size / ix.File.RecordLength));
  walk.image.resize(static_cast<size_t>(walk.stored) * ix.File.RecordLength);
  GetRecRun(ix.File, 0, walk.stored, walk.image.data());
  walk.seen.assign(static_cast<size_t>(pages), false);
  if (walk.Visit(ix.Root, 1)) return true;
  records.clear();
  return false;
}

}  // namespace vantu
