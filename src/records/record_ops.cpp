// The current record of a coded screen: entering a code, loading, saving
// and moving between records, and the record keys.
#include "records/record_ops.h"

#include <cstring>
#include <filesystem>
#include <fstream>

#include "console/keys.h"
#include "platform/platform.h"
#include "records/codes.h"
#include "session/pstring.h"
#include "session/selection_state.h"
#include "session/shell_state.h"
#include "session/work_area_ids.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"
#include "toolkit/field_editor.h"
#include "toolkit/status_line.h"

namespace vantu {

namespace {

RecordOpsState gOps;

// Schedule file header: ScheduleSerial is the i16 at offset 6 of row 0.
constexpr std::streamoff kScheduleSerialOffset = 6;
constexpr int16_t kScheduleStale = -1;

const KeySet& CodeExitKeys() {
  static const KeySet keys{kKeyEnter, kKeyDown, kKeyUp,   kKeyTab,  kKeyEsc,    kKeyF4,
                           kKeyF5,    kKeyF6,   kKeyPgDn, kKeyPgUp, kKeyNoZone, kKeyAltN};
  return keys;
}

bool KeepsOldCode(uint8_t key) {
  return key == kKeyEsc || key == kKeyF4 || key == kKeyF5 || key == kKeyPgDn || key == kKeyPgUp ||
         key == kKeyTab;
}

// Reads the record of `code` into the buffer; false when there is none.
bool FindRecord(int area, uint8_t* buffer, const std::string& code) {
  WorkArea& a = Area(area);
  std::string key = code;
  int16_t r = 0;
  FindKey(a.Index, r, key);
  if (!LastOpOk()) return false;
  a.CurrentRecord = r;
  a.CurrentKey = code;
  GetRec(a.Data, r, buffer);
  return true;
}

void WriteCurrent(int area, uint8_t* buffer) {
  WorkArea& a = Area(area);
  CodedAreaState& st = CodedState(area);
  if (st.changed) buffer[28] = 1;  // ChangedFlag
  PutRec(a.Data, a.CurrentRecord, buffer);
  a.SavedChangeMarker = 1;
  FlushWorkArea(area);
  st.changed = false;
  st.unsaved = false;
}

}  // namespace

RecordOpsState& RecordOps() {
  return gOps;
}
void ResetRecordOps() {
  gOps = RecordOpsState{};
}
CodedAreaState& CodedState(int area) {
  return gOps.areas[area >= 0 && area < 7 ? area : 0];
}

bool CodeExists(int area, const std::string& code) {
  std::string key = code;
  int16_t r = 0;
  FindKey(Area(area).Index, r, key);
  return LastOpOk();
}

void LoadStartRecord(int area, uint8_t* buffer) {
  WorkArea& a = Area(area);
  std::string key = a.CurrentKey;
  int16_t r = 0;
  if (!key.empty()) FindKey(a.Index, r, key);
  if (key.empty() || !LastOpOk()) {
    key.clear();
    SearchKey(a.Index, r, key);
    if (!LastOpOk()) r = 0;
  }
  a.CurrentRecord = UsedRecordCount(a.Data) > 0 ? r : 0;
  LoadCurrent(area, buffer);
}

void MarkRecordChanged(int area) {
  CodedAreaState& st = CodedState(area);
  st.changed = st.unsaved = true;
  Area(area).SavedChangeMarker = 1;
}

void LoadCurrent(int area, uint8_t* buffer) {
  WorkArea& a = Area(area);
  const size_t len = static_cast<size_t>(a.RecordLength);
  CodedState(area) = CodedAreaState{};
  if (UsedRecordCount(a.Data) == 0 || a.CurrentRecord <= 0) {
    std::memset(buffer + 2, 0, len - 2);
    a.CurrentKey.clear();
    return;
  }
  GetRec(a.Data, a.CurrentRecord, buffer);
  a.CurrentKey = ReadStr(buffer + kRecordCode, kRecordCodeLength);
}

bool LeavesRecord(uint8_t key) {
  return IsRecordKey(key) || key == kKeyEnter;
}

void SaveCurrent(int area, uint8_t* buffer, uint8_t key) {
  if (!CodedState(area).unsaved && !CodedState(area).changed) return;
  if (!LeavesRecord(key) || Area(area).CurrentRecord <= 0) return;
  WriteCurrent(area, buffer);
}

void MoveRecord(int area, uint8_t* buffer, bool forward) {
  WorkArea& a = Area(area);
  if (UsedRecordCount(a.Data) == 0) return;
  std::string key = a.CurrentKey;
  int16_t r = 0;
  SearchKey(a.Index, r, key);
  if (!LastOpOk()) ResetKeyPosition(a.Index);
  for (int tries = 0; tries < 2; ++tries) {
    if (forward)
      NextKey(a.Index, r, key);
    else
      PrevKey(a.Index, r, key);
    if (LastOpOk()) break;
  }
  if (!LastOpOk()) return;
  a.CurrentRecord = r;
  LoadCurrent(area, buffer);
}

void EnterCode(CodedScreen& s, uint8_t& key) {
  WorkArea& a = Area(s.area);
  const std::string old = BufferCode(s.area, s.buffer);
  std::string text = UsedRecordCount(a.Data) == 0 ? std::string("01") : old;
  for (;;) {
    EditField(s.area, text, *s.codeField, key, CodeExitKeys());
    if (IsRightClickOn(key, *s.codeField)) {
      if (UsedRecordCount(a.Data) == 0) continue;
      if (auto offer = OfferCode(s.area, old, kOfferAdd)) text = *offer;
      continue;
    }
    if (key == kKeyNoZone) continue;
    if (KeepsOldCode(key) || text.empty()) {
      ShowField(s.area, *s.codeField, old, ShowMode::Value);
      return;
    }
    const std::string code = CompleteCode(s.area, text, old);
    if (code == old && a.CurrentRecord > 0 && !old.empty()) return;
    if (ClassifyCode(code, s.area) == CodeKind::kInvalid) {
      ShowError(" Usar codigo completo ");
      continue;
    }
    SaveCurrent(s.area, s.buffer, kKeyPgDn);
    if (FindRecord(s.area, s.buffer, code)) break;
    // An item needs its chapter: it takes its group and its place from it.
    if (!IsChapterCode(code) && !CodeExists(s.area, ChapterOf(code))) {
      ShowError(" Crear primero " + ChapterOf(code) + " ");
      continue;
    }
    std::memset(s.buffer + 2, 0, static_cast<size_t>(a.RecordLength) - 2);
    AddCodedRecord(s.area, s.buffer, code);
    ShowStatusMessage("Adicionando Un Codigo Nuevo");
    Host().Sleep(400);
    ClearMessage(s.area);
    break;
  }
  CodedState(s.area) = CodedAreaState{};
  if (s.redraw) s.redraw();
}

bool IsRecordKey(uint8_t key) {
  return key == kKeyTab || key == kKeyEsc || key == kKeyF4 || key == kKeyF5 || key == kKeyPgDn ||
         key == kKeyPgUp;
}

RecordAction RecordKey(CodedScreen& s, uint8_t key) {
  SaveCurrent(s.area, s.buffer, key);
  switch (key) {
    case kKeyEsc:
      return RecordAction::kLeave;
    case kKeyTab:
      DeleteRecord(s);
      break;
    case kKeyF4:
      RecodifyRecord(s);
      break;
    case kKeyF5:
      DuplicateRecord(s);
      break;
    case kKeyPgDn:
    case kKeyPgUp:
      MoveRecord(s.area, s.buffer, key == kKeyPgDn);
      break;
    default:
      return RecordAction::kStay;
  }
  if (s.redraw) s.redraw();
  return RecordAction::kStay;
}

void MarkScheduleStale() {
  const SelectionState& sel = Selection();
  if (sel.ObraCode.empty()) return;
  const std::string name = FindFileIn(sel.DataDirectory, "Apr06cro." + sel.RamaCode + sel.ObraCode);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(name, ec)) return;
  if (std::filesystem::file_size(name, ec) < kScheduleSerialOffset + 2 || ec) return;
  std::fstream f(std::filesystem::path(name), std::ios::binary | std::ios::in | std::ios::out);
  if (!f) return;
  uint8_t bytes[2];
  PutI16(bytes, kScheduleStale);
  f.seekp(kScheduleSerialOffset);
  f.write(reinterpret_cast<const char*>(bytes), 2);
}

void RecordStructureChanged(int area) {
  Area(area).SavedChangeMarker = 1;
  FlushWorkArea(area);
  if (area == kAreaBudget) MarkScheduleStale();
}

}  // namespace vantu
