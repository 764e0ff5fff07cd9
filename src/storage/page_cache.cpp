// The five page buffers shared by all open indexes: least recently used
// replacement, write-back of modified pages.
#include "storage/page_cache.h"

#include <algorithm>
#include <vector>

#include "storage/btree.h"
#include "storage/record_runs.h"
#include "storage/storage_engine.h"

namespace vantu {

int16_t CachedPage::LeftPage() const {
  return GetI16(bytes.data() + 1);
}
void CachedPage::SetLeftPage(int16_t p) {
  PutI16(bytes.data() + 1, p);
}
int16_t CachedPage::Record(int i) const {
  return GetI16(Item(i) + kItemRecord);
}
int16_t CachedPage::Right(int i) const {
  return GetI16(Item(i) + kItemRight);
}
void CachedPage::SetRight(int i, int16_t p) {
  PutI16(Item(i) + kItemRight, p);
}

std::string CachedPage::Key(int i) const {
  const uint8_t* k = Item(i) + kItemKey;
  const int n = std::min<int>(k[0], kMaxKeyLength);
  return std::string(reinterpret_cast<const char*>(k + 1), n);
}

void CachedPage::MoveItems(int from, int to, int by) {
  if (to < from) return;
  std::memmove(Item(from + by), Item(from), static_cast<size_t>(to - from + 1) * kItemBytes);
}

PageItem MakeItem(const std::string& key, int16_t record, int16_t right) {
  PageItem item{};
  PutI16(item.data() + kItemRecord, record);
  PutI16(item.data() + kItemRight, right);
  const size_t n = std::min<size_t>(key.size(), kMaxKeyLength);
  item[kItemKey] = static_cast<uint8_t>(n);
  std::memcpy(item.data() + kItemKey + 1, key.data(), n);
  return item;
}

int16_t ItemRight(const PageItem& item) {
  return GetI16(item.data() + kItemRight);
}
void SetItemRight(PageItem& item, int16_t page) {
  PutI16(item.data() + kItemRight, page);
}

namespace {

// Item moves with a constant width, so that each is a few plain stores.
template <int K>
void PackItems(const CachedPage& page, int count, uint8_t* disk) {
  for (int i = 1; i <= count; ++i)
    std::memcpy(disk + kPageHeaderBytes + (i - 1) * (K + 5), page.Item(i), K + 5);
}

template <int K>
void UnpackItems(const uint8_t* disk, int count, CachedPage& page) {
  for (int i = 1; i <= count; ++i)
    std::memcpy(page.Item(i), disk + kPageHeaderBytes + (i - 1) * (K + 5), K + 5);
}

}  // namespace

void PackPage(const CachedPage& page, int keyLength, uint8_t* disk) {
  const int count = std::min(page.Count(), kPageCapacity);
  const int length = PageLength(keyLength);
  const int used = kPageHeaderBytes + count * (keyLength + 5);
  std::memcpy(disk, page.bytes.data(), kPageHeaderBytes);
  using Pack = void (*)(const CachedPage&, int, uint8_t*);
  static constexpr Pack kPack[] = {PackItems<1>, PackItems<2>, PackItems<3>,
                                   PackItems<4>, PackItems<5>, PackItems<6>};
  kPack[keyLength - 1](page, count, disk);
  std::memset(disk + used, 0, length - used);
}

void UnpackPage(const uint8_t* disk, int keyLength, CachedPage& page) {
  const int count = std::min<int>(disk[0], kPageCapacity);
  std::memcpy(page.bytes.data(), disk, kPageHeaderBytes);
  using Unpack = void (*)(const uint8_t*, int, CachedPage&);
  static constexpr Unpack kUnpack[] = {UnpackItems<1>, UnpackItems<2>, UnpackItems<3>,
                                       UnpackItems<4>, UnpackItems<5>, UnpackItems<6>};
  kUnpack[keyLength - 1](disk, count, page);
  std::memset(page.Item(1) + count * kItemBytes, 0, (kPageCapacity - count) * kItemBytes);
}

namespace {

PageCacheState& Cache() {
  return Engine().PageCache;
}

void Touch(int buffer) {
  PageCacheState& c = Cache();
  c.lastUse[buffer] = c.uses++;
}

int LeastRecentlyUsed() {
  const auto& used = Cache().lastUse;
  return static_cast<int>(std::min_element(used.begin(), used.end()) - used.begin());
}

void WriteBack(CachedPage& p) {
  if (!p.modified || !p.owner) return;
  uint8_t disk[kCachedPageBytes];
  PackPage(p, p.owner->KeyLength, disk);
  p.modified = false;
  PutRec(p.owner->File, p.page, disk);
}

void LoadPage(IndexFileState& ix, int16_t page, CachedPage& into) {
  uint8_t* disk = Engine().workBuffer.data();
  GetRec(ix.File, page, disk);
  UnpackPage(disk, ix.KeyLength, into);
  if (disk[0] > kPageCapacity) into.SetCount(kPageCapacity + 1);  // keep the damage visible
  into.page = page;
  if (!PageIsSound(into, ix)) FailEngine(kStatusBadPage, ix.File.name);
  into.owner = &ix;
  into.modified = false;
}

}  // namespace

bool PageIsSound(const CachedPage& p, const IndexFileState& ix) {
  if (p.Count() > kPageCapacity) return false;
  const int limit = ix.File.RecordCount;
  const bool leaf = p.LeftPage() == 0;
  for (int i = 0; i <= p.Count(); ++i) {
    const int16_t child = p.Child(i);
    if (child < 0 || child >= limit || child == p.page) return false;
    if ((child == 0) != leaf) return false;
    if (i > 0 && p.Item(i)[kItemKey] > ix.KeyLength) return false;
  }
  return true;
}

const CachedPage* FindCachedPage(const IndexFileState& ix, int16_t page) {
  for (const CachedPage& p : Cache().buffers)
    if (p.owner == &ix && p.page == page) return &p;
  return nullptr;
}

// ---- an index held whole in memory while it is rebuilt ----

namespace {

CachedPage* HeldPage(IndexFileState& ix, int16_t page) {
  HeldPages& held = *ix.held;
  if (static_cast<size_t>(page) >= held.size() || held[page].owner != &ix)
    FailEngine(kStatusBadPage, ix.File.name);
  return &held[page];
}

CachedPage* NewHeldPage(IndexFileState& ix) {
  const int16_t page = NewRecordNumber(ix.File);
  HeldPages& held = *ix.held;
  // A deque keeps the other pages where they are as it grows.
  if (static_cast<size_t>(page) >= held.size()) held.resize(static_cast<size_t>(page) + 1);
  CachedPage& p = held[page];
  p.bytes.fill(0);
  p.page = page;
  p.owner = &ix;
  p.modified = false;
  return &p;
}

// Writes the modified pages in page order, consecutive ones in one write.
void WriteHeldPages(IndexFileState& ix) {
  constexpr int kRunPages = 128;
  const int length = ix.File.RecordLength;
  // Kept from one rebuild to the next: a fresh buffer costs a page fault
  // for each of its pages.
  static std::vector<uint8_t> run;
  run.resize(static_cast<size_t>(kRunPages) * length);
  HeldPages& held = *ix.held;
  int first = 0, count = 0;
  auto write = [&] {
    if (count > 0) PutRecRun(ix.File, static_cast<int16_t>(first), count, run.data());
    count = 0;
  };
  for (size_t n = 1; n < held.size(); ++n) {
    CachedPage& p = held[n];
    if (p.owner != &ix || !p.modified) {
      write();
      continue;
    }
    if (count == 0) first = static_cast<int>(n);
    PackPage(p, ix.KeyLength, run.data() + static_cast<size_t>(count) * length);
    p.modified = false;
    if (++count == kRunPages) write();
  }
  write();
}

}  // namespace

void HoldIndexInMemory(IndexFileState& ix, HeldPages& pages) {
  // Only a tree without pages yet: nothing of it is in the shared cache.
  if (ix.File.RecordCount != 1) FailEngine(kStatusBadPage, ix.File.name);
  pages.clear();
  ix.held = &pages;
}

// ---- the shared cache ----

CachedPage* GetPage(IndexFileState& ix, int16_t page) {
  if (page < 1 || page >= ix.File.RecordCount) FailEngine(kStatusBadPage, ix.File.name);
  if (ix.held) return HeldPage(ix, page);
  PageCacheState& c = Cache();
  for (int b = 0; b < kPageBuffers; ++b) {
    CachedPage& p = c.buffers[b];
    if (p.owner == &ix && p.page == page) {
      Touch(b);
      return &p;
    }
  }
  const int b = LeastRecentlyUsed();
  CachedPage& p = c.buffers[b];
  WriteBack(p);
  p.owner = nullptr;
  LoadPage(ix, page, p);
  Touch(b);
  return &p;
}

CachedPage* NewPage(IndexFileState& ix) {
  if (ix.held) return NewHeldPage(ix);
  PageCacheState& c = Cache();
  const int b = LeastRecentlyUsed();
  CachedPage& p = c.buffers[b];
  WriteBack(p);
  p.owner = nullptr;
  p.page = NewRecordNumber(ix.File);
  p.bytes.fill(0);
  p.owner = &ix;
  p.modified = false;
  Touch(b);
  return &p;
}

void ReleasePage(CachedPage* p) {
  IndexFileState* owner = p->owner;
  p->owner = nullptr;
  p->modified = false;
  if (owner) ReleaseRecord(owner->File, p->page);
}

void FlushIndexPages(IndexFileState& ix) {
  if (ix.held) return WriteHeldPages(ix);
  for (CachedPage& p : Cache().buffers) {
    if (p.owner != &ix) continue;
    WriteBack(p);
    p.owner = nullptr;
  }
}

}  // namespace vantu
