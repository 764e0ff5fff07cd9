// Exact and greater-or-equal search, and stepping in key order along the
// current-position path.
#include "storage/btree_internal.h"
#include "storage/storage_engine.h"

namespace vantu {

namespace {

void PushPath(IndexFileState& ix, int16_t page, int16_t slot) {
  CheckDepth(ix.PathDepth + 1);
  ix.Path[ix.PathDepth] = PathEntry{page, slot};
  ++ix.PathDepth;
}

PathEntry& Deepest(IndexFileState& ix) {
  return ix.Path[ix.PathDepth - 1];
}

// A position kept across calls must still fit its page.
CachedPage* DeepestPage(IndexFileState& ix) {
  CachedPage* p = GetPage(ix, Deepest(ix).page);
  const int slot = Deepest(ix).slot;
  if (slot < 0 || slot > p->Count()) FailEngine(kStatusBadPage);
  return p;
}

void TakeItem(const CachedPage& p, int slot, int16_t& r, std::string& key) {
  r = p.Record(slot);
  key = p.Key(slot);
}

// The descent of every search: follows the key down to a leaf, or leaves the
// path on the last entry below it. True when found.
bool Descend(IndexFileState& ix, int16_t& r, std::string& key) {
  CutKey(ix, key);
  Engine().LastOpOk = false;
  ix.PathDepth = 0;
  bool found = false;
  int16_t page = ix.Root;
  while (page != 0 && !found) {
    PushPath(ix, page, 0);
    CachedPage* p = GetPage(ix, page);
    const PageSearch s = SearchPage(*p, key, 0, ix.AllowDuplicates);
    int slot = s.R;
    if (s.equal) {
      r = p->Record(s.K);
      slot = s.K;
      found = true;
    }
    page = p->Child(slot);
    Deepest(ix).slot = static_cast<int16_t>(slot);
  }
  if (!found && ix.PathDepth > 0) {
    while (ix.PathDepth > 1 && Deepest(ix).slot == 0) --ix.PathDepth;
    if (Deepest(ix).slot == 0) ix.PathDepth = 0;
  }
  return found;
}

}  // namespace

void FindKey(IndexFileState& ix, int16_t& r, std::string& key) {
  bool found = Descend(ix, r, key);
  if (!found && ix.AllowDuplicates) {
    const std::string wanted = key;
    NextKey(ix, r, key);
    found = LastOpOk() && key == wanted;
  }
  Engine().LastOpOk = found;
}

void SearchKey(IndexFileState& ix, int16_t& r, std::string& key) {
  if (Descend(ix, r, key)) {
    Engine().LastOpOk = true;
    return;
  }
  NextKey(ix, r, key);
}

void NextKey(IndexFileState& ix, int16_t& r, std::string& key) {
  int16_t next = ix.Root;
  if (ix.PathDepth > 0) {
    CachedPage* p = DeepestPage(ix);
    if (Deepest(ix).slot < 1) FailEngine(kStatusBadPage);
    next = p->Right(Deepest(ix).slot);
  }
  while (next != 0) {
    PushPath(ix, next, 0);
    next = GetPage(ix, next)->LeftPage();
  }
  if (ix.PathDepth > 0) {
    CachedPage* p = DeepestPage(ix);
    while (ix.PathDepth > 1 && Deepest(ix).slot == p->Count()) {
      --ix.PathDepth;
      p = DeepestPage(ix);
    }
    if (Deepest(ix).slot < p->Count()) {
      ++Deepest(ix).slot;
      TakeItem(*p, Deepest(ix).slot, r, key);
    } else {
      ix.PathDepth = 0;
    }
  }
  Engine().LastOpOk = ix.PathDepth > 0;
}

void PrevKey(IndexFileState& ix, int16_t& r, std::string& key) {
  int16_t next = ix.Root;
  if (ix.PathDepth > 0) {
    CachedPage* p = DeepestPage(ix);
    if (Deepest(ix).slot < 1) FailEngine(kStatusBadPage);
    --Deepest(ix).slot;
    next = p->Child(Deepest(ix).slot);
  }
  while (next != 0) {
    CachedPage* p = GetPage(ix, next);
    PushPath(ix, next, static_cast<int16_t>(p->Count()));
    next = p->Child(p->Count());
  }
  if (ix.PathDepth > 0) {
    CachedPage* p = DeepestPage(ix);
    while (ix.PathDepth > 1 && Deepest(ix).slot == 0) {
      --ix.PathDepth;
      p = DeepestPage(ix);
    }
    if (Deepest(ix).slot >= 1) {
      TakeItem(*p, Deepest(ix).slot, r, key);
    } else {
      ix.PathDepth = 0;
    }
  }
  Engine().LastOpOk = ix.PathDepth > 0;
}

}  // namespace vantu
