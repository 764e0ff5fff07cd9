// The code field of the coded screens: completing typed codes, the offer of
// the next free code, and adding a record for a new code.
#include <cstdio>
#include <vector>

#include "console/console.h"
#include "console/keys.h"
#include "platform/platform.h"
#include "records/codes.h"
#include "records/record_ops.h"
#include "session/pstring.h"
#include "session/shell_state.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"
#include "toolkit/field_editor.h"
#include "toolkit/key_reader.h"
#include "toolkit/popup_menu.h"
#include "toolkit/schemes.h"
#include "toolkit/status_line.h"
#include "toolkit/window_stack.h"

namespace vantu {

namespace {

constexpr int kItemStep = 10;

std::string Digits(int value, int width) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*d", width, value);
  return text;
}

bool AllDigits(const std::string& s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// The last key of the chapter (the chapter itself when it has no items);
// empty when the chapter is not in the file.
std::string LastKeyOfChapter(int area, const std::string& chapter) {
  IndexFileState& ix = Area(area).Index;
  std::string key = chapter;
  int16_t r = 0;
  SearchKey(ix, r, key);
  std::string last;
  while (LastOpOk() && key.starts_with(chapter)) {
    last = key;
    NextKey(ix, r, key);
  }
  return last;
}

// Entries of the offer menu for a purpose.
std::vector<std::string> OfferEntries(int purpose) {
  switch (purpose) {
    case kOfferAdd:
      return {" Adicionar ITEM     ", " Adicionar CAPITULO ", " Cancelar Adicion   "};
    case kOfferDuplicate:
      return {" Ofrecer CODIGO     ", " Cancelar Duplicac. "};
    default:
      return {" Ofrecer CODIGO     ", " Cancelar Recodif.  "};
  }
}

// A small menu near the code field; the entry chosen (0-based) or -1.
int RunOfferMenu(const std::vector<std::string>& entries) {
  return RunPopupMenu("... codigo ofrecido ...", entries, 30, 4, "Esc^no_acepta Intro^acepta");
}

}  // namespace

std::string BufferCode(int /*area*/, const uint8_t* buffer) {
  return ReadStr(buffer + kRecordCode, kRecordCodeLength);
}

int ItemPartLength(int area) {
  return ItemCodeLength(area) - kChapterCodeLength;
}

std::string CompleteCode(int area, const std::string& typed, const std::string& current) {
  if (typed.size() == current.size() || IsChapterCode(typed)) return typed;
  if (static_cast<int>(typed.size()) == ItemPartLength(area) && current.size() >= 2)
    return ChapterOf(current) + typed;
  return typed;
}

std::optional<std::string> NextItemCode(int area, const std::string& chapter) {
  const std::string last = LastKeyOfChapter(area, chapter);
  if (last.empty()) return std::nullopt;
  const int width = ItemPartLength(area);
  if (last == chapter) return chapter + Digits(kItemStep, width);
  const std::string part = last.substr(kChapterCodeLength);
  if (!AllDigits(part)) return std::nullopt;
  // The last offer is the one that ends at 980 (9980 in file 3).
  const int limit = width == 4 ? 9980 : 980;
  const int n = std::stoi(part);
  if (n >= limit) {
    ShowError(kCodesExhausted);
    return std::nullopt;
  }
  return chapter + Digits(n + kItemStep, width);
}

std::optional<std::string> NextChapterCode(int area) {
  IndexFileState& ix = Area(area).Index;
  ResetKeyPosition(ix);
  std::string key;
  int16_t r = 0;
  PrevKey(ix, r, key);
  if (!LastOpOk()) return std::string("01");
  const std::string chapter = ChapterOf(key);
  const int c = AllDigits(chapter) ? std::stoi(chapter) : 99;
  if (c > 98) {
    ShowError(kCodesExhausted);
    return std::nullopt;
  }
  return Digits(c + 1, kChapterCodeLength);
}

std::optional<std::string> OfferCode(int area, const std::string& currentCode, int purpose) {
  const int chosen = RunOfferMenu(OfferEntries(purpose));
  const bool item = purpose == kOfferAdd ? chosen == 0 : !IsChapterCode(currentCode);
  const bool chapter = purpose == kOfferAdd ? chosen == 1 : IsChapterCode(currentCode);
  if (chosen != 0 && !(purpose == kOfferAdd && chosen == 1)) return std::nullopt;
  if (item && currentCode.size() >= 2) return NextItemCode(area, ChapterOf(currentCode));
  if (chapter) return NextChapterCode(area);
  return std::nullopt;
}

void AddCodedRecord(int area, uint8_t* buffer, const std::string& code) {
  WorkArea& a = Area(area);
  WriteStr(buffer + kRecordCode, kRecordCodeLength, code);
  int16_t r = 0;
  AddRec(a.Data, r, buffer);
  std::string key = code;
  AddKey(a.Index, r, key);
  a.CurrentRecord = r;
  a.CurrentKey = code;
  CodedAreaState& st = CodedState(area);
  st.changed = false;
  st.unsaved = false;
  RecordStructureChanged(area);
}

}  // namespace vantu
