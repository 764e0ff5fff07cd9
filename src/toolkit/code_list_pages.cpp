// Paging, chapter mode and search of the code lists over their source.
#include <array>

#include "session/work_area_ids.h"
#include "toolkit/code_list.h"
#include "toolkit/numbers.h"

namespace vantu {

namespace {

std::array<CodeListState, 4> gLists;
CodeListHooks gListHooks;
CodeListSource* gSource = nullptr;

int SlotOf(int kind) {
  switch (kind) {
    case 3:
      return 1;
    case 4:
      return 2;
    case 6:
      return 3;
    default:
      return 0;
  }
}

// The first code after every code that starts with `prefix`.
std::string PastPrefix(std::string prefix) {
  if (!prefix.empty()) prefix.back() = static_cast<char>(prefix.back() + 1);
  return prefix;
}

// The visible entry after (forward) or before `code` in the list's mode.
std::optional<ListEntry> StepVisible(const CodeListState& st, const std::string& code,
                                     bool forward) {
  CodeListSource* src = ListSource();
  if (!src) return std::nullopt;
  std::optional<ListEntry> e = forward ? src->Next(st.kind, code) : src->Prev(st.kind, code);
  while (e) {
    if (st.mode == ListMode::All) return e;
    if (st.mode == ListMode::ChapterItems)
      return e->code.rfind(st.chapter, 0) == 0 ? e : std::nullopt;
    if (IsChapterCode(e->code)) return e;
    // Chapters only: jump over the items of this entry's chapter.
    const std::string ch = e->code.substr(0, 2);
    if (forward) {
      e = src->Seek(st.kind, PastPrefix(ch));
      continue;
    }
    std::optional<ListEntry> c = src->Seek(st.kind, ch);
    if (c && c->code == ch) return c;
    e = src->Prev(st.kind, ch);
  }
  return std::nullopt;
}

std::optional<ListEntry> NextVisible(const CodeListState& st, const std::string& code) {
  return StepVisible(st, code, true);
}

std::optional<ListEntry> PrevVisible(const CodeListState& st, const std::string& code) {
  return StepVisible(st, code, false);
}

// The first visible entry at or after `code`.
std::optional<ListEntry> SeekVisible(const CodeListState& st, const std::string& code) {
  CodeListSource* src = ListSource();
  if (!src) return std::nullopt;
  std::optional<ListEntry> e = src->Seek(st.kind, code);
  if (!e) return e;
  const bool visible = st.mode == ListMode::All ||
                       (st.mode == ListMode::Chapters && IsChapterCode(e->code)) ||
                       (st.mode == ListMode::ChapterItems && e->code.rfind(st.chapter, 0) == 0);
  return visible ? e : NextVisible(st, e->code);
}

void FillFrom(CodeListState& st, std::optional<ListEntry> e) {
  st.rows.clear();
  while (e && static_cast<int>(st.rows.size()) < kListRows) {
    st.rows.push_back(*e);
    e = NextVisible(st, e->code);
  }
  if (st.selected >= static_cast<int>(st.rows.size()))
    st.selected = st.rows.empty() ? 0 : static_cast<int>(st.rows.size()) - 1;
}

}  // namespace

CodeListSource* ListSource() {
  return gSource;
}
void SetListSource(CodeListSource* source) {
  gSource = source;
}

CodeListState& CodeListFor(int kind) {
  CodeListState& st = gLists[SlotOf(kind)];
  st.kind = kind == kAreaAnalyses || kind == kAreaSubcontracts || kind == kAreaBudget ? kind : 2;
  return st;
}

void ResetCodeLists() {
  gLists = {};
  gListHooks = {};
}

CodeListHooks& ListHooks() {
  return gListHooks;
}

void ListPositionAt(CodeListState& st, const std::string& code) {
  st.mode = ListMode::All;
  st.selected = 0;
  std::optional<ListEntry> e = SeekVisible(st, code);
  if (!e) e = SeekVisible(st, "");
  FillFrom(st, e);
}

void ListHome(CodeListState& st) {
  ListPositionAt(st, "");
}

bool ListPageDown(CodeListState& st) {
  if (st.rows.empty()) return false;
  std::optional<ListEntry> e = NextVisible(st, st.rows.back().code);
  if (!e) return false;
  FillFrom(st, e);
  return true;
}

bool ListPageUp(CodeListState& st) {
  if (st.rows.empty()) return false;
  std::optional<ListEntry> first;
  std::string at = st.rows.front().code;
  for (int i = 0; i < kListRows; ++i) {
    std::optional<ListEntry> p = PrevVisible(st, at);
    if (!p) break;
    first = p;
    at = p->code;
  }
  if (!first) return false;
  FillFrom(st, first);
  return true;
}

bool ListRowDown(CodeListState& st) {
  if (st.selected + 1 < static_cast<int>(st.rows.size())) {
    ++st.selected;
    return true;
  }
  if (st.rows.empty()) return false;
  std::optional<ListEntry> e = NextVisible(st, st.rows.back().code);
  if (!e) return false;
  if (static_cast<int>(st.rows.size()) == kListRows) st.rows.erase(st.rows.begin());
  st.rows.push_back(*e);
  st.selected = static_cast<int>(st.rows.size()) - 1;
  return true;
}

bool ListRowUp(CodeListState& st) {
  if (st.selected > 0) {
    --st.selected;
    return true;
  }
  if (st.rows.empty()) return false;
  std::optional<ListEntry> p = PrevVisible(st, st.rows.front().code);
  if (!p) return false;
  st.rows.insert(st.rows.begin(), *p);
  if (static_cast<int>(st.rows.size()) > kListRows) st.rows.pop_back();
  st.selected = 0;
  return true;
}

bool ListToggleChapters(CodeListState& st) {
  if (st.rows.empty()) return false;
  const std::string chapter = st.rows[st.selected].code.substr(0, 2);
  if (st.mode == ListMode::Chapters) {
    st.mode = ListMode::ChapterItems;
    st.chapter = chapter;
  } else {
    st.mode = ListMode::Chapters;
    st.chapter.clear();
  }
  st.selected = 0;
  FillFrom(st, SeekVisible(st, chapter));
  return true;
}

bool ListSearch(CodeListState& st, const std::string& text) {
  CodeListSource* src = ListSource();
  if (!src || st.rows.empty() || text.empty()) return false;
  const std::string wanted = UpperText(text);
  const bool chaptersOnly = st.mode == ListMode::Chapters;
  std::optional<ListEntry> e = src->Next(st.kind, st.rows[st.selected].code);
  for (; e; e = src->Next(st.kind, e->code)) {
    if (chaptersOnly && !IsChapterCode(e->code)) continue;
    if (UpperText(e->description).find(wanted) == std::string::npos) continue;
    // A match outside the chapter shown leaves the chapter mode.
    if (st.mode == ListMode::ChapterItems && e->code.rfind(st.chapter, 0) != 0)
      st.mode = ListMode::All;
    st.selected = 0;
    FillFrom(st, e);
    return true;
  }
  return false;
}

}  // namespace vantu
