#pragma once
// The layer every coded data-entry screen shares (work areas 2, 3, 4 and
// 6): the code field, the offer of the next free code, adding a record for
// a new code, moving between records, saving, duplication (F5),
// recodification (F4) and deletion (Tab) with its usage check.
//
// The current record is the work area's CurrentRecord and CurrentKey; the
// module keeps the record's bytes in its own buffer, of the area's
// RecordLength.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "toolkit/field_descriptor.h"

namespace vantu {

// Per-area state of the record being edited.
struct CodedAreaState {
  bool changed = false;       // a field other than the code changed
  bool unsaved = false;       // the buffer differs from the record on disk
  bool fieldChanged = false;  // the last field left had changed (FieldChanged)
};

struct RecordOpsState {
  CodedAreaState areas[7];
  // 0 editing, 1 duplicating, 2 recodifying: the code field is edited for
  // that purpose.
  int codePurpose = 0;
  // A field other than a code changed: the calculation's cross review must
  // run.
  bool crossReviewNeeded = false;
};

RecordOpsState& RecordOps();
void ResetRecordOps();
CodedAreaState& CodedState(int area);

// What the shared layer needs of the module's screen.
struct CodedScreen {
  int area = 2;
  uint8_t* buffer = nullptr;
  const FieldDescriptor* codeField = nullptr;
  // Shows the record of the buffer (all its fields).
  std::function<void()> redraw;
};

// Purposes of OfferCode.
enum OfferPurpose { kOfferAdd = 0, kOfferDuplicate = 1, kOfferRecodify = 2 };

// The code of the buffer; the chapter / item-part lengths of the area.
std::string BufferCode(int area, const uint8_t* buffer);
int ItemPartLength(int area);

// A typed code completed against the current code: an item part gets the
// current chapter; chapters and longer codes stay as typed.
std::string CompleteCode(int area, const std::string& typed, const std::string& current);

// The next free item code of `chapter` and the next free chapter code;
// nothing when the codes are used up ("Codigos agotados ...").
std::optional<std::string> NextItemCode(int area, const std::string& chapter);
std::optional<std::string> NextChapterCode(int area);
inline constexpr const char* kCodesExhausted =
    "Codigos agotados - intente compactar usando recodificacion";

// The menu of offers; the code chosen, or nothing.
std::optional<std::string> OfferCode(int area, const std::string& currentCode, int purpose);

// Edits the code field; afterwards the buffer holds the record of the code
// entered (found, or added). `key` in: ignored; out: the key that left.
void EnterCode(CodedScreen& s, uint8_t& key);

// True when the area's index holds the code.
bool CodeExists(int area, const std::string& code);

// Re-reads CurrentRecord into the buffer; an empty file clears it (bytes
// 0-1 kept).
void LoadCurrent(int area, uint8_t* buffer);
// The record a module's screen starts on: the area's current key, else the
// first code; loaded into the buffer.
void LoadStartRecord(int area, uint8_t* buffer);
// The record on screen changed: to be saved, and the file marked changed.
void MarkRecordChanged(int area);
// Writes the record when it changed and `key` leaves it.
void SaveCurrent(int area, uint8_t* buffer, uint8_t key);
// True for the keys that leave a record.
bool LeavesRecord(uint8_t key);
// PageDown / PageUp: the next / previous record, wrapping at the ends.
void MoveRecord(int area, uint8_t* buffer, bool forward);

// Adds a record with the code from the buffer's contents and makes it the
// current one (new stamp, key indexed, header written).
void AddCodedRecord(int area, uint8_t* buffer, const std::string& code);

// What the module does after a record key.
enum class RecordAction { kStay, kLeave };
// Tab, Esc, F4, F5, PageDown, PageUp.
bool IsRecordKey(uint8_t key);
RecordAction RecordKey(CodedScreen& s, uint8_t key);

void DuplicateRecord(CodedScreen& s);
void RecodifyRecord(CodedScreen& s);
void DeleteRecord(CodedScreen& s);

// The usage check before deleting `code` of `area`; true blocks the
// deletion.
bool CheckUsage(int area, const std::string& code);

// The Obra's schedule must be rebuilt: ScheduleSerial := -1 when the
// schedule file exists and is not empty.
void MarkScheduleStale();
// After an add, duplicate, recodify or delete in `area`: ChangeMarker set,
// header written, and for the budget the schedule marked stale.
void RecordStructureChanged(int area);

}  // namespace vantu
