// Index files: creating, opening, flushing and closing; key comparison.
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "storage/btree_internal.h"
#include "storage/file_io.h"
#include "storage/storage_engine.h"

namespace vantu {

namespace {

int CompareRaw(const uint8_t* k1, int n1, const uint8_t* k2, int n2, int16_t r1, bool duplicates,
               int16_t r2) {
  const int n = std::min(n1, n2);
  for (int i = 0; i < n; ++i)
    if (k1[i] != k2[i]) return k1[i] < k2[i] ? -1 : 1;
  if (n1 != n2) return n1 < n2 ? -1 : 1;
  return duplicates ? r1 - r2 : 0;
}

void ResetIndexState(IndexFileState& ix, int keyLength, bool duplicates) {
  ix.AllowDuplicates = duplicates;
  ix.KeyLength = static_cast<uint8_t>(keyLength);
  ix.Root = ix.File.RootPage;
  ix.PathDepth = 0;
  ix.Path = {};
}

void CheckKeyLength(int keyLength, const std::string& name) {
  if (keyLength > kMaxKeyLength) FailEngine(kStatusKeyTooLong, name);
  if (keyLength < 1) FailEngine(kStatusIndexLength, name);
}

}  // namespace

int CompareKeys(const std::string& k1, const std::string& k2, int16_t r1, bool duplicates,
                int16_t r2) {
  return CompareRaw(reinterpret_cast<const uint8_t*>(k1.data()), static_cast<int>(k1.size()),
                    reinterpret_cast<const uint8_t*>(k2.data()), static_cast<int>(k2.size()), r1,
                    duplicates, r2);
}

namespace {

// A key of up to 6 bytes as one number that orders as CompareKeys does:
// the bytes, zero-padded, from the top, then the length. Padding with zeros
// keeps a prefix before every longer key that starts with it.
uint64_t KeyRank(const uint8_t* bytes, int length) {
  uint64_t rank = 0;
  for (int i = 0; i < kMaxKeyLength; ++i) rank = rank << 8 | (i < length ? bytes[i] : 0);
  return rank << 8 | static_cast<uint64_t>(length);
}

// The rank of an item's key in the cache: one load of the item's bytes 3 to
// 10 (the high byte of RightPage, the length byte and 6 key bytes), with
// the bytes past the key's length, which carry no meaning, masked off.
uint64_t ItemRank(const uint8_t* item) {
  uint64_t v;
  std::memcpy(&v, item + kItemKey - 1, sizeof v);
  v = __builtin_bswap64(v);  // key byte 1 ends up in bits 47..40
  const int length = std::min<int>(item[kItemKey], kMaxKeyLength);
  const uint64_t keep = length == 0 ? 0 : ~uint64_t{0} << (8 * (kMaxKeyLength - length));
  return (v & keep & 0xFFFFFFFFFFFFull) << 8 | static_cast<uint64_t>(length);
}

}  // namespace

PageSearch SearchPage(const CachedPage& page, const std::string& key, int16_t r, bool duplicates) {
  const int n = std::min<int>(static_cast<int>(key.size()), kMaxKeyLength);
  const uint64_t wanted = KeyRank(reinterpret_cast<const uint8_t*>(key.data()), n);
  int left = 1, right = page.Count(), mid = 0;
  // A key above the last item (codes added in ascending order, as a rebuild
  // from ordered records adds them) ends where the search would end.
  if (right > 0 && !duplicates && wanted > ItemRank(page.Item(right)))
    return PageSearch{right, right, false};
  while (right >= left) {
    mid = (left + right) / 2;
    const uint8_t* item = page.Item(mid);
    const uint64_t rank = ItemRank(item);
    int c = wanted < rank ? -1 : wanted > rank ? 1 : 0;
    if (c == 0 && duplicates) c = r - GetI16(item + kItemRecord);
    if (c <= 0) right = mid - 1;
    if (c >= 0) left = mid + 1;
  }
  return PageSearch{right, mid, left - right > 1};
}

void CheckDepth(int depth) {
  if (depth > kMaxTreeDepth) FailEngine(kStatusBadPage);
}

namespace {

void MakeIndexWith(void (*make)(DataFileState&, const std::string&, int), IndexFileState& ix,
                   const std::string& name, int keyLength, bool duplicates) {
  ix = IndexFileState{};
  Engine().EngineStatus = 0;
  // Checked before the file is created, so that a refused index leaves an
  // existing file whole.
  CheckKeyLength(keyLength, name);
  make(ix.File, name, PageLength(keyLength));
  if (!LastOpOk()) FailEngine(StatusFromOsError(Engine().OpenError, kStatusDosFunction), name);
  ResetIndexState(ix, keyLength, duplicates);
}

}  // namespace

void MakeIndex(IndexFileState& ix, const std::string& name, int keyLength, bool duplicates) {
  MakeIndexWith(MakeFile, ix, name, keyLength, duplicates);
}

void RemakeIndex(IndexFileState& ix, const std::string& name, int keyLength, bool duplicates) {
  MakeIndexWith(MakeFileInPlace, ix, name, keyLength, duplicates);
}

void CloseRemadeIndex(IndexFileState& ix) {
  FlushIndexPages(ix);
  CutFileToRecords(ix.File);
  ix.File.RootPage = ix.Root;
  CloseFile(ix.File);
}

void OpenIndex(IndexFileState& ix, const std::string& name, int keyLength, bool duplicates) {
  ix = IndexFileState{};
  EngineState& e = Engine();
  e.EngineStatus = 0;
  // A missing file is reported, whatever the key length.
  if (!Files().Exists(name)) {
    e.LastOpOk = false;
    e.OpenError = ENOENT;
    return;
  }
  CheckKeyLength(keyLength, name);
  OpenRecordFile(ix.File, name, PageLength(keyLength), kStatusIndexLength);
  if (!LastOpOk()) return;
  if (ix.File.RootPage < 0 || ix.File.RootPage >= ix.File.RecordCount)
    FailEngine(kStatusBadPage, name);
  ResetIndexState(ix, keyLength, duplicates);
}

void FlushIndex(IndexFileState& ix) {
  FlushIndexPages(ix);
  ix.File.RootPage = ix.Root;
  FlushFile(ix.File);
}

void CloseIndex(IndexFileState& ix) {
  FlushIndexPages(ix);
  ix.File.RootPage = ix.Root;
  CloseFile(ix.File);
}

}  // namespace vantu
