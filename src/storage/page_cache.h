#pragma once
// Index pages and the page cache shared by all open indexes.
//
// Page record on disk, k = KeyLength (1..6), 3 + 32 * (k + 5) bytes:
//   offset              width  field
//   0                   1      item count, 0..32
//   1                   i16    LeftPage: page of the keys below item 1; 0 in a leaf
//   3 + (i-1)(k+5)      k + 5  item i = 1..32:
//                                 +0 i16 data record number
//                                 +2 i16 RightPage: keys between item i and i+1; 0 in a leaf
//                                 +4 key: length byte, then k bytes
// Items past the count and key bytes past the key's length carry no meaning;
// the engine writes them as zeros.
//
// In the cache every item takes 11 bytes (room for 6 characters), so with
// k = 6 the cache layout is the disk layout. Pages are unpacked on reading,
// packed on writing, checked when read: a count above 32, a key length
// byte above k, a page reference outside the file or a page that mixes
// leaf and inner references end the program (status 1007).

#include <array>
#include <cstdint>
#include <cstring>
#include <string>

namespace vantu {

struct IndexFileState;

constexpr int kPageCapacity = 32;  // PageCapacity
constexpr int kPageMinimum = 16;   // PageMinimum
constexpr int kMaxKeyLength = 6;   // MaxKeyLength
constexpr int kItemBytes = kMaxKeyLength + 5;
constexpr int kPageHeaderBytes = 3;
constexpr int kCachedPageBytes = kPageHeaderBytes + kPageCapacity * kItemBytes;  // 355
constexpr int kPageBuffers = 5;

// Item field offsets.
constexpr int kItemRecord = 0;
constexpr int kItemRight = 2;
constexpr int kItemKey = 4;

constexpr int PageLength(int keyLength) {
  return kPageHeaderBytes + kPageCapacity * (keyLength + 5);
}

using PageItem = std::array<uint8_t, kItemBytes>;

struct CachedPage {
  std::array<uint8_t, kCachedPageBytes> bytes{};
  IndexFileState* owner = nullptr;
  int16_t page = 0;
  bool modified = false;

  int Count() const { return bytes[0]; }
  void SetCount(int n) { bytes[0] = static_cast<uint8_t>(n); }
  int16_t LeftPage() const;
  void SetLeftPage(int16_t p);
  uint8_t* Item(int i) { return bytes.data() + kPageHeaderBytes + (i - 1) * kItemBytes; }
  const uint8_t* Item(int i) const {
    return bytes.data() + kPageHeaderBytes + (i - 1) * kItemBytes;
  }
  int16_t Record(int i) const;
  int16_t Right(int i) const;
  void SetRight(int i, int16_t p);
  // The child left of item i+1: LeftPage for 0, else item i's RightPage.
  int16_t Child(int i) const { return i == 0 ? LeftPage() : Right(i); }
  std::string Key(int i) const;
  void GetItem(int i, PageItem& out) const { std::memcpy(out.data(), Item(i), kItemBytes); }
  void SetItem(int i, const PageItem& in) { std::memcpy(Item(i), in.data(), kItemBytes); }
  // Moves items from..to (inclusive) by `by` places.
  void MoveItems(int from, int to, int by);
};

struct PageCacheState {
  std::array<CachedPage, kPageBuffers> buffers{};
  // When each buffer was last used, by a counter that every use advances:
  // the least recently used buffer has the smallest value (the first
  // buffer first while none has been used).
  std::array<uint64_t, kPageBuffers> lastUse{0, 1, 2, 3, 4};
  uint64_t uses = kPageBuffers;
};

PageItem MakeItem(const std::string& key, int16_t record, int16_t right);
int16_t ItemRight(const PageItem& item);
void SetItemRight(PageItem& item, int16_t page);

// The page, read into the least recently used buffer when not cached. The
// pointer stays valid until four other pages have been asked for.
CachedPage* GetPage(IndexFileState& ix, int16_t page);
// A buffer for a new page of the index (zeroed), numbered from the free chain.
CachedPage* NewPage(IndexFileState& ix);
inline void MarkPageModified(CachedPage* p) {
  p->modified = true;
}
// Gives the page back to its file's free chain and empties the buffer.
void ReleasePage(CachedPage* p);
// A page read from disk must describe a node of this tree: a count of at
// most 32, key lengths within KeyLength, references inside the file and
// either all children (inner page) or none (leaf).
bool PageIsSound(const CachedPage& p, const IndexFileState& ix);
// The index's page when a buffer holds it (changes not yet written back
// included), else null; the buffer's use is not recorded.
const CachedPage* FindCachedPage(const IndexFileState& ix, int16_t page);
// Writes back and drops every cached page of the index.
void FlushIndexPages(IndexFileState& ix);

// Disk layout <-> cache layout for key length k.
void PackPage(const CachedPage& page, int keyLength, uint8_t* disk);
void UnpackPage(const uint8_t* disk, int keyLength, CachedPage& page);

}  // namespace vantu
