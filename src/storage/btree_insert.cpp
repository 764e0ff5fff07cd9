// Insertion: descend to a leaf, insert, split full pages and pass the middle
// item up; a split of the root makes a new root.
#include "storage/btree_internal.h"
#include "storage/storage_engine.h"

namespace vantu {

namespace {

struct Insertion {
  IndexFileState& ix;
  const std::string& key;
  int16_t record;
  bool passUp = false;
  PageItem up{};  // the item passed up to the parent
};

// Splits the full page: 16 items stay, 16 go to a new page, the middle one
// is passed up with the new page as its right child.
void SplitPage(Insertion& in, int16_t pageNo, int R) {
  CachedPage* page = GetPage(in.ix, pageNo);
  CachedPage* fresh = NewPage(in.ix);
  const PageItem item = in.up;
  if (R <= kPageMinimum) {
    if (R < kPageMinimum) {
      page->GetItem(kPageMinimum, in.up);
      page->MoveItems(R + 1, kPageMinimum - 1, 1);
      page->SetItem(R + 1, item);
    }
    std::memcpy(fresh->Item(1), page->Item(kPageMinimum + 1), kPageMinimum * kItemBytes);
  } else {
    const int r2 = R - kPageMinimum;
    page->GetItem(kPageMinimum + 1, in.up);
    std::memcpy(fresh->Item(1), page->Item(kPageMinimum + 2), (r2 - 1) * kItemBytes);
    fresh->SetItem(r2, item);
    std::memcpy(fresh->Item(r2 + 1), page->Item(r2 + kPageMinimum + 1),
                (kPageCapacity - r2 - kPageMinimum) * kItemBytes);
  }
  page->SetCount(kPageMinimum);
  fresh->SetCount(kPageMinimum);
  fresh->SetLeftPage(ItemRight(in.up));
  SetItemRight(in.up, fresh->page);
  MarkPageModified(fresh);
  MarkPageModified(page);
}

// Puts the passed-up item after item R of the page.
void PlaceItem(Insertion& in, int16_t pageNo, int R) {
  CachedPage* page = GetPage(in.ix, pageNo);
  if (page->Count() < kPageCapacity) {
    page->MoveItems(R + 1, page->Count(), 1);
    page->SetItem(R + 1, in.up);
    page->SetCount(page->Count() + 1);
    in.passUp = false;
    MarkPageModified(page);
    return;
  }
  SplitPage(in, pageNo, R);
}

void InsertInto(Insertion& in, int16_t pageNo, int depth) {
  if (pageNo == 0) {
    in.passUp = true;
    in.up = MakeItem(in.key, in.record, 0);
    return;
  }
  CheckDepth(depth);
  CachedPage* page = GetPage(in.ix, pageNo);
  const PageSearch s = SearchPage(*page, in.key, in.record, in.ix.AllowDuplicates);
  if (s.equal) {
    Engine().LastOpOk = false;
    in.passUp = false;
    return;
  }
  InsertInto(in, page->Child(s.R), depth + 1);
  if (in.passUp) PlaceItem(in, pageNo, s.R);
}

}  // namespace

void AddKey(IndexFileState& ix, int16_t r, std::string& key) {
  CutKey(ix, key);
  Engine().LastOpOk = true;
  Insertion in{ix, key, r};
  InsertInto(in, ix.Root, 1);
  if (in.passUp) {
    CachedPage* root = NewPage(ix);
    root->SetCount(1);
    root->SetLeftPage(ix.Root);
    root->SetItem(1, in.up);
    ix.Root = root->page;
    MarkPageModified(root);
  }
  ix.PathDepth = 0;
}

}  // namespace vantu
