// Duplication (F5), recodification (F4) and deletion (Tab) of the current
// record of a coded screen.
#include <cstring>
#include <functional>
#include <vector>

#include "console/keys.h"
#include "records/codes.h"
#include "records/record_ops.h"
#include "session/pstring.h"
#include "session/shell_state.h"
#include "session/work_area_ids.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"
#include "toolkit/error_review.h"
#include "toolkit/field_editor.h"
#include "toolkit/message_boxes.h"
#include "toolkit/status_line.h"
#include "toolkit/window_message.h"

namespace vantu {

namespace {

// Returns the refusal text for a new code, empty when it is accepted.
using CodeCheck = std::function<std::string(const std::string& code)>;

// Edits the code field for a copy or a new code; nothing on Esc or when the
// record's own code is entered.
std::optional<std::string> AskNewCode(CodedScreen& s, int purpose, const std::string& prompt,
                                      const CodeCheck& check) {
  const std::string own = BufferCode(s.area, s.buffer);
  std::string text = own;
  std::optional<std::string> result;
  RecordOps().codePurpose = purpose;
  Shell().editEscPending = true;
  const KeySet keys{kKeyEnter, kKeyEsc, kKeyNoZone};
  ShowStatusMessage(prompt);
  for (;;) {
    uint8_t key = 0;
    EditField(s.area, text, *s.codeField, key, keys);
    if (key == kKeyNoZone) {
      if (IsRightClickOn(key, *s.codeField))
        if (auto offer = OfferCode(s.area, own, purpose)) text = *offer;
      continue;
    }
    if (key == kKeyEsc || text.empty()) break;
    const std::string code = CompleteCode(s.area, text, own);
    if (code == own) break;
    const std::string refusal = check(code);
    if (refusal.empty()) {
      result = code;
      break;
    }
    ShowError(refusal);
  }
  RecordOps().codePurpose = 0;
  Shell().editEscPending = false;
  ClearMessage(s.area);
  ShowField(s.area, *s.codeField, result ? *result : own, ShowMode::Value);
  return result;
}

// Refusals shared by a copy and a recodified item.
std::string CheckItemCode(int area, const std::string& code) {
  if (IsChapterCode(code) || ClassifyCode(code, area) != CodeKind::kItem)
    return " Usar codigo completo ";
  if (!CodeExists(area, ChapterOf(code))) return " Crear primero " + ChapterOf(code) + " ";
  if (CodeExists(area, code)) return code + " esta usado ";
  return {};
}

// True when some key after the chapter begins with it (or, for a chapter
// not in the file, when any key does).
bool ChapterHasKeys(int area, const std::string& chapter) {
  IndexFileState& ix = Area(area).Index;
  std::string key = chapter;
  int16_t r = 0;
  SearchKey(ix, r, key);
  if (LastOpOk() && key == chapter) NextKey(ix, r, key);
  return LastOpOk() && key.starts_with(chapter);
}

void RekeyRecord(int area, int16_t r, const std::string& oldKey, const std::string& newKey) {
  WorkArea& a = Area(area);
  std::vector<uint8_t> rec(static_cast<size_t>(a.RecordLength));
  GetRec(a.Data, r, rec.data());
  WriteStr(rec.data() + kRecordCode, kRecordCodeLength, newKey);
  PutRec(a.Data, r, rec.data());
  std::string k = oldKey;
  int16_t deleted = r;
  DeleteKey(a.Index, deleted, k);
  k = newKey;
  AddKey(a.Index, r, k);
}

void RecodifyChapter(int area, const std::string& oldChapter, const std::string& newChapter) {
  ShowStatusMessage("... Espere ... ");
  IndexFileState& ix = Area(area).Index;
  for (;;) {
    std::string key = oldChapter;
    int16_t r = 0;
    SearchKey(ix, r, key);
    if (!LastOpOk() || !key.starts_with(oldChapter)) break;
    RekeyRecord(area, r, key, newChapter + key.substr(oldChapter.size()));
  }
  ClearMessage(area);
}

// The record that becomes current when `code` is deleted: the key before
// it, or for the first key the one after it; empty when it is the only one.
std::string NeighbourKey(int area, const std::string& code) {
  IndexFileState& ix = Area(area).Index;
  std::string key = code;
  int16_t r = 0;
  SearchKey(ix, r, key);
  PrevKey(ix, r, key);
  if (LastOpOk() && key != code) return key;
  key = code;
  SearchKey(ix, r, key);
  if (LastOpOk() && key == code) NextKey(ix, r, key);
  return LastOpOk() && key != code ? key : std::string();
}

// During the error review the deleted record's error is hidden.
void HideDeletedError(const std::string& code) {
  ReviewState& rv = Review();
  if (!rv.active) return;
  const std::vector<ErrorEntry> records = ReadErrorFile(Shell().errorFileName);
  int index = -1;
  for (int i = 0; i < static_cast<int>(records.size()); ++i) {
    std::string c = records[i].errCode;
    while (!c.empty() && c.back() == ' ') c.pop_back();
    if (c != code || records[i].hidden) continue;
    if (index < 0 || i == rv.currentError) index = i;
  }
  if (index >= 0) HideError(static_cast<int16_t>(index));
}

}  // namespace

void DuplicateRecord(CodedScreen& s) {
  const std::string own = BufferCode(s.area, s.buffer);
  if (own.empty() || Area(s.area).CurrentRecord <= 0) return;
  if (IsChapterCode(own)) {
    ShowError(" Los capitulos no son duplicables ");
    return;
  }
  auto code = AskNewCode(s, kOfferDuplicate, " Entre Codigo de la Copia (Esc = regresa) ",
                         [&](const std::string& c) { return CheckItemCode(s.area, c); });
  if (!code) return;
  // The copy keeps every field, lines included; AddRec gives it a new stamp.
  AddCodedRecord(s.area, s.buffer, *code);
  LoadCurrent(s.area, s.buffer);
}

void RecodifyRecord(CodedScreen& s) {
  if (Review().active) {
    ShowMessageWindow({"... PRIMERO DESACTIVE REVISION DE ERRORES ...",
                       ".. Para continuar oprima cualquier tecla .."});
    return;
  }
  WorkArea& a = Area(s.area);
  const std::string own = BufferCode(s.area, s.buffer);
  if (own.empty() || a.CurrentRecord <= 0) return;
  const bool chapter = IsChapterCode(own);
  auto check = [&](const std::string& c) -> std::string {
    if (chapter) {
      if (!IsChapterCode(c)) return " Usar codigo de capitulo ";
      return CodeExists(s.area, c) || ChapterHasKeys(s.area, c) ? c + " esta usado " : "";
    }
    if (c.size() == own.size() && ChapterOf(c) != ChapterOf(own))
      return " Iniciar nuevo codigo en " + ChapterOf(own) + " ";
    return CheckItemCode(s.area, c);
  };
  auto code = AskNewCode(s, kOfferRecodify, " Entre el Nuevo Codigo  (Esc = regresa) ", check);
  if (!code) return;
  if (chapter)
    RecodifyChapter(s.area, own, *code);
  else
    RekeyRecord(s.area, a.CurrentRecord, own, *code);
  RecordStructureChanged(s.area);
  LoadCurrent(s.area, s.buffer);
}

void DeleteRecord(CodedScreen& s) {
  WorkArea& a = Area(s.area);
  const std::string code = BufferCode(s.area, s.buffer);
  if (code.empty() || a.CurrentRecord <= 0 || UsedRecordCount(a.Data) == 0) return;
  if (IsChapterCode(code) && ChapterHasKeys(s.area, code)) {
    ShowError("Antes de suprimir este Capitulo debe eliminar todos sus Items");
    return;
  }
  if (CheckUsage(s.area, code)) return;
  std::string text = "Confirma la Eliminacion ?";
  if ((s.area == kAreaAnalyses || s.area == kAreaSubcontracts) && !IsChapterCode(code) &&
      !Area(kAreaBudget).Data.isOpen)
    text = "Cargue una Obra si desea conocer si esta eliminacion la afecta\r\r" + text;
  if (ConfirmBox(text, "Confirmacion") != 'S') return;
  const std::string previous = NeighbourKey(s.area, code);
  std::string key = code;
  int16_t r = a.CurrentRecord;
  DeleteKey(a.Index, r, key);
  DeleteRec(a.Data, a.CurrentRecord);
  a.CurrentRecord = 0;
  if (!previous.empty()) {
    key = previous;
    FindKey(a.Index, r, key);
    if (LastOpOk()) a.CurrentRecord = r;
  }
  LoadCurrent(s.area, s.buffer);
  RecordStructureChanged(s.area);
  HideDeletedError(code);
}

}  // namespace vantu
