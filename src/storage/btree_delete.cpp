// Removal: an entry in an inner page is replaced by its predecessor from
// the leaves; a page left with 15 items borrows from a sibling or merges
// with it; an empty root gives way to its only child.
#include "storage/btree_internal.h"
#include "storage/storage_engine.h"

namespace vantu {

namespace {

constexpr int kUnderfull = kPageMinimum - 1;

struct Removal {
  IndexFileState& ix;
  const std::string& key;
  int16_t& record;
  bool underflow = false;
};

// A non-root page below the minimum, other than the one just shrunk, means
// the file was damaged; the arithmetic below relies on it.
void CheckSibling(const CachedPage* sibling, const CachedPage* child) {
  if (sibling->Count() < kPageMinimum || sibling->Count() > kPageCapacity ||
      sibling->page == child->page)
    FailEngine(kStatusBadPage);
}

void BalanceWithRight(Removal& rm, CachedPage* parent, CachedPage* child, int S) {
  S += 1;
  CachedPage* sibling = GetPage(rm.ix, parent->Right(S));
  CheckSibling(sibling, child);
  const int m = sibling->Count();
  const int c = (m - kUnderfull) / 2;
  PageItem moved;
  parent->GetItem(S, moved);
  SetItemRight(moved, sibling->LeftPage());
  child->SetItem(kPageMinimum, moved);
  if (c > 0) {
    std::memcpy(child->Item(kPageMinimum + 1), sibling->Item(1), (c - 1) * kItemBytes);
    PageItem raised;
    sibling->GetItem(c, raised);
    sibling->SetLeftPage(ItemRight(raised));
    SetItemRight(raised, sibling->page);
    parent->SetItem(S, raised);
    sibling->MoveItems(c + 1, m, -c);
    sibling->SetCount(m - c);
    child->SetCount(kUnderfull + c);
    rm.underflow = false;
    MarkPageModified(sibling);
  } else {
    std::memcpy(child->Item(kPageMinimum + 1), sibling->Item(1), kPageMinimum * kItemBytes);
    parent->MoveItems(S + 1, parent->Count(), -1);
    child->SetCount(kPageCapacity);
    parent->SetCount(parent->Count() - 1);
    ReleasePage(sibling);
    rm.underflow = parent->Count() < kPageMinimum;
  }
  MarkPageModified(child);
}

void BalanceWithLeft(Removal& rm, CachedPage* parent, CachedPage* child, int S) {
  CachedPage* sibling = GetPage(rm.ix, parent->Child(S - 1));
  CheckSibling(sibling, child);
  int m = sibling->Count() + 1;
  const int c = (m - kPageMinimum) / 2;
  PageItem moved;
  parent->GetItem(S, moved);
  SetItemRight(moved, child->LeftPage());
  if (c > 0) {
    child->MoveItems(1, kUnderfull, c);
    child->SetItem(c, moved);
    m -= c;
    std::memcpy(child->Item(1), sibling->Item(m + 1), (c - 1) * kItemBytes);
    PageItem raised;
    sibling->GetItem(m, raised);
    child->SetLeftPage(ItemRight(raised));
    SetItemRight(raised, child->page);
    parent->SetItem(S, raised);
    sibling->SetCount(m - 1);
    child->SetCount(kUnderfull + c);
    rm.underflow = false;
    MarkPageModified(child);
  } else {
    sibling->SetItem(m, moved);
    std::memcpy(sibling->Item(m + 1), child->Item(1), kUnderfull * kItemBytes);
    sibling->SetCount(kPageCapacity);
    parent->SetCount(parent->Count() - 1);
    ReleasePage(child);
    rm.underflow = parent->Count() < kPageMinimum;
  }
  MarkPageModified(sibling);
}

// The child at position S of the parent (0: LeftPage) holds 15 items.
void Rebalance(Removal& rm, int16_t parentNo, int16_t childNo, int S) {
  CachedPage* parent = GetPage(rm.ix, parentNo);
  CachedPage* child = GetPage(rm.ix, childNo);
  if (child->Count() != kUnderfull || S > parent->Count() || parent->Count() < 1)
    FailEngine(kStatusBadPage);
  if (S < parent->Count())
    BalanceWithRight(rm, parent, child, S);
  else
    BalanceWithLeft(rm, parent, child, S);
  MarkPageModified(parent);
}

// Moves the greatest entry below page p into item K of page kPage.
void ReplaceByPredecessor(Removal& rm, int16_t p, int16_t kPage, int K, int depth) {
  CheckDepth(depth);
  CachedPage* page = GetPage(rm.ix, p);
  if (page->Count() < 1) FailEngine(kStatusBadPage);
  const int16_t q = page->Right(page->Count());
  if (q != 0) {
    ReplaceByPredecessor(rm, q, kPage, K, depth + 1);
    if (rm.underflow) Rebalance(rm, p, q, GetPage(rm.ix, p)->Count());
    return;
  }
  CachedPage* found = GetPage(rm.ix, kPage);
  page = GetPage(rm.ix, p);
  PageItem last;
  page->GetItem(page->Count(), last);
  SetItemRight(last, found->Right(K));
  found->SetItem(K, last);
  page->SetCount(page->Count() - 1);
  rm.underflow = page->Count() < kPageMinimum;
  MarkPageModified(page);
  MarkPageModified(found);
}

void RemoveFrom(Removal& rm, int16_t pageNo, int depth) {
  if (pageNo == 0) {
    Engine().LastOpOk = false;
    rm.underflow = false;
    return;
  }
  CheckDepth(depth);
  CachedPage* page = GetPage(rm.ix, pageNo);
  const PageSearch s = SearchPage(*page, rm.key, rm.record, rm.ix.AllowDuplicates);
  const int16_t child = page->Child(s.R);
  if (!s.equal) {
    RemoveFrom(rm, child, depth + 1);
  } else {
    rm.record = page->Record(s.K);
    if (child == 0) {
      page->MoveItems(s.K + 1, page->Count(), -1);
      page->SetCount(page->Count() - 1);
      rm.underflow = page->Count() < kPageMinimum;
      MarkPageModified(page);
      return;
    }
    ReplaceByPredecessor(rm, child, pageNo, s.K, depth + 1);
  }
  if (rm.underflow) Rebalance(rm, pageNo, child, s.R);
}

}  // namespace

void DeleteKey(IndexFileState& ix, int16_t& r, std::string& key) {
  CutKey(ix, key);
  Engine().LastOpOk = true;
  Removal rm{ix, key, r};
  RemoveFrom(rm, ix.Root, 1);
  if (rm.underflow && ix.Root != 0) {
    CachedPage* root = GetPage(ix, ix.Root);
    if (root->Count() == 0) {
      ix.Root = root->LeftPage();
      ReleasePage(root);
    }
  }
  ix.PathDepth = 0;
}

}  // namespace vantu
