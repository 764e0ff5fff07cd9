// The five page buffers shared by all open indexes: least recently used
// replacement, write-back of modified pages.
#include "storage/page_cache.h"

#include <algorithm>

#include "storage/btree.h"
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

// A page read from disk must describe a node of this tree: a count of at
// most 32, key lengths within KeyLength, references inside the file and
// either all children (inner page) or none (leaf).
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

CachedPage* GetPage(IndexFileState& ix, int16_t page) {
  if (page < 1 || page >= ix.File.RecordCount) FailEngine(kStatusBadPage, ix.File.name);
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
  for (CachedPage& p : Cache().buffers) {
    if (p.owner != &ix) continue;
    WriteBack(p);
    p.owner = nullptr;
  }
}

}  // namespace vantu
