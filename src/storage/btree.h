#pragma once
// B-tree indexes: record files whose records are the pages of a Bayer tree
// (page format in page_cache.h). Each key occurs once, in a leaf or an inner
// page, with its data record number. With duplicates allowed, entries are
// ordered by (key, record number).
//
// Keys are byte strings of up to KeyLength (at most 6) characters, compared
// as unsigned bytes, a prefix before the longer key. Keys passed to AddKey,
// DeleteKey, FindKey and SearchKey are cut in place to KeyLength.
//
// Key operations report their outcome only through LastOpOk.

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "storage/record_file.h"

namespace vantu {

constexpr int kMaxTreeDepth = 5;  // MaxTreeDepth

struct CachedPage;
// The pages of an index built whole in memory (see HoldIndexInMemory).
using HeldPages = std::deque<CachedPage>;

struct PathEntry {
  int16_t page = 0;
  int16_t slot = 0;
};

// Caller-owned state of one open index. The page cache refers to it while
// it is open, so it must stay at one address until CloseIndex.
struct IndexFileState {
  DataFileState File;  // the page file
  bool AllowDuplicates = false;
  uint8_t KeyLength = 0;
  int16_t Root = 0;
  int16_t PathDepth = 0;  // 0: no current position
  std::array<PathEntry, kMaxTreeDepth> Path{};
  HeldPages* held = nullptr;  // caller-owned; set only by HoldIndexInMemory
};

// Creates the index with an empty tree. Failing to create is fatal (1); a
// key length above 6 too (1002).
void MakeIndex(IndexFileState& ix, const std::string& name, int keyLength, bool duplicates);
// MakeIndex over the pages of an existing file (MakeFileInPlace), for a
// rebuild; CloseRemadeIndex then cuts the pages the new tree did not reuse.
void RemakeIndex(IndexFileState& ix, const std::string& name, int keyLength, bool duplicates);
// CloseIndex after RemakeIndex: writes back the pages, cuts the file after
// the last page of the new tree, then writes the header and closes. A stop
// before the header leaves an empty tree beside unreachable pages, which
// the index check refuses.
void CloseRemadeIndex(IndexFileState& ix);
// For a rebuild that writes every page of a new tree: the pages of the
// index just made (RemakeIndex or MakeIndex, no page yet) are kept in
// `pages` rather than in the shared 5-buffer cache, and reach the file at
// flush or close, in page order, in runs of whole pages. They are the same
// bytes the cache would have written back. The deque must outlive the index.
void HoldIndexInMemory(IndexFileState& ix, HeldPages& pages);
// Opens an index. LastOpOk false when it cannot be opened; a page length
// that does not match the key length is fatal (1004).
void OpenIndex(IndexFileState& ix, const std::string& name, int keyLength, bool duplicates);
// Writes back and drops the cached pages, stores the root, closes.
void CloseIndex(IndexFileState& ix);
// As CloseIndex, but the file stays open.
void FlushIndex(IndexFileState& ix);

// Inserts (key, r); LastOpOk false when that entry exists (nothing changes).
void AddKey(IndexFileState& ix, int16_t r, std::string& key);
// Removes the entry (with duplicates, the one with record number r) and
// returns its record number in r; LastOpOk false when not found.
void DeleteKey(IndexFileState& ix, int16_t& r, std::string& key);
// Exact search; with duplicates the entry with the lowest record number.
void FindKey(IndexFileState& ix, int16_t& r, std::string& key);
// First entry with a key greater than or equal to key; key and r describe it.
void SearchKey(IndexFileState& ix, int16_t& r, std::string& key);
// Steps in key order from the current position; past either end the
// position is forgotten, so the next step starts again at the other end.
void NextKey(IndexFileState& ix, int16_t& r, std::string& key);
void PrevKey(IndexFileState& ix, int16_t& r, std::string& key);
// The record numbers of all entries in key order, as NextKey steps from
// the start, from one read of the page file; cached pages count as they
// stand. The position is forgotten. False, with `records` empty, for an
// index held in memory or pages that form no sound tree: the caller then
// steps with NextKey, which reports the damage as always.
bool RecordsInKeyOrder(IndexFileState& ix, std::vector<int16_t>& records);
inline void ResetKeyPosition(IndexFileState& ix) {
  ix.PathDepth = 0;
}

// <0, 0, >0 as k1 orders before, with or after k2. Equal keys compare by
// record number when duplicates are allowed.
int CompareKeys(const std::string& k1, const std::string& k2, int16_t r1, bool duplicates,
                int16_t r2);

}  // namespace vantu
