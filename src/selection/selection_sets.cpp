#include "selection/selection_sets.h"

#include <filesystem>
#include <vector>

#include "platform/halt.h"
#include "platform/platform.h"
#include "records/budget_records.h"
#include "records/general_record.h"
#include "records/obra_identity.h"
#include "selection/selection.h"
#include "selection/set_list.h"
#include "session/paths.h"
#include "session/selection_state.h"
#include "session/shell_state.h"
#include "session/work_area_ids.h"
#include "storage/file_sets.h"
#include "storage/recovery.h"
#include "storage/set_arrival.h"
#include "storage/set_in_use.h"
#include "storage/set_lock.h"
#include "storage/storage_engine.h"
#include "toolkit/error_review.h"
#include "toolkit/message_boxes.h"
#include "toolkit/schemes.h"
#include "toolkit/screen.h"
#include "toolkit/window_message.h"

namespace vantu::selection {

namespace fs = std::filesystem;

namespace {

// Sets created on this screen and not yet accepted.
struct Pending {
  std::string rama;  // Rama code whose file 1 was created
  std::string obra;  // Rama and Obra codes whose file 6 was created
};
Pending gPending;

void RemoveFiles(std::initializer_list<std::string> names) {
  std::error_code ec;
  for (const std::string& n : names) fs::remove(n, ec);
}

void DropPendingRama() {
  if (gPending.rama.empty()) return;
  RemoveFiles({DataFileName(1, gPending.rama)});
  gPending.rama.clear();
}

void DropPendingObra() {
  if (gPending.obra.empty()) return;
  RemoveFiles({DataFileName(6, gPending.obra), IndexFileName(6, gPending.obra)});
  gPending.obra.clear();
}

// The review's errors belong to the Obra that is left.
void DropReviewFiles() {
  if (Review().active) EndErrorReview();
  const std::string& dir = Selection().DataDirectory;
  RemoveFiles({FindFileIn(dir, "ApError"), FindFileIn(dir, "ApTemError")});
}

void CloseObraArea() {
  SelectionState& s = Selection();
  const bool wasOpen = Area(kAreaBudget).Data.isOpen;
  CloseWorkArea(kAreaBudget);
  DropPendingObra();
  if (wasOpen) DropReviewFiles();
  s.ObraName.clear();
  s.ObraReference.clear();
  s.BudgetDate.clear();
  s.AnticipoPct = s.RetencionPct = 0;
  s.ObraIsNew = s.ObraOpen = false;
  Shell().obraSelected = false;
}

void LoadObraHeader() {
  ObraHeader h;
  GetRec(Area(kAreaBudget).Data, 0, h.data());
  TakeObraIdentity(h);
}

// Record 1 of a new Rama's file 1: zeros, AIU per item, factors 1.0.
void WriteNewGeneralData() {
  GeneralDataRecord g;
  Set(g, general::AiuMode, general::kAiuPerItem);
  for (int group = 1; group <= 4; ++group) Set(g, general::Factor(group), 1.0L);
  Area(kAreaGeneral).CurrentRecord = 1;
  PutRec(Area(kAreaGeneral).Data, 1, g.data());
}

bool OpenRamaFiles() {
  const std::string& rama = Selection().RamaCode;
  if (Area(kAreaInputs).Data.isOpen && Area(kAreaInputs).Extension == rama) return false;
  std::vector<uint8_t> buffer(kMaxRecordLength);
  for (int n = kAreaInputs; n <= kAreaGlobals; ++n)
    OpenWorkArea(n, false, buffer.data(), rama, kSetRecordLength[n]);
  return true;
}

// Closes every area still open and lets the sets' locks go: their files
// were closed normally.
void LeaveHeldSets() {
  CloseObraArea();
  for (int n = kAreaGeneral; n <= kAreaGlobals; ++n) CloseWorkArea(n);
  ReleaseAllSetLocks(true);
}

// Takes the Rama's lock before anything of it is opened. A Rama that
// another program holds is refused with a box that names the holder; one
// left open by a holder that died is rebuilt first.
bool ReserveRama(const std::string& dir, const std::string& rama) {
  const SetLockAttempt lock = TakeSetLock(dir, rama);
  if (lock.result == SetLockResult::kInUse || lock.result == SetLockResult::kFailed) {
    AlertBox(SetInUseLines(rama, lock), "Rama en uso");
    return false;
  }
  // An import of this Rama stopped while its files were moved is finished
  // first, so that the Rama opens whole.
  if (const auto settled = SettleInterruptedArrivals(dir, rama); !settled.empty())
    AlertBox(settled, "Importacion interrumpida");
  if (lock.result == SetLockResult::kTaken) RecoverIfLeftOpen(dir, rama);
  return true;
}

}  // namespace

void OpenRama() {
  SelectionState& s = Selection();
  CloseObraArea();
  s.ObraCode.clear();
  CloseWorkArea(kAreaGeneral);
  if (gPending.rama != s.RamaCode) DropPendingRama();
  s.RamaName.clear();
  s.RamaIsNew = s.RamaOpen = false;
  // Another Rama: the previous one is closed whole and its lock let go.
  if (!HoldsSetLock(s.DataDirectory, s.RamaCode)) LeaveHeldSets();
  if (s.RamaCode.empty()) return;
  if (!ReserveRama(s.DataDirectory, s.RamaCode)) {
    s.RamaCode.clear();
    return;
  }
  GeneralDataRecord g;
  OpenWorkArea(kAreaGeneral, true, g.data(), s.RamaCode, kSetRecordLength[1]);
  s.RamaIsNew = Area(kAreaGeneral).CreatedAnew;
  if (s.RamaIsNew)
    gPending.rama = s.RamaCode;
  else
    s.RamaName = Get(g, general::RamaName);
}

void OpenObra() {
  SelectionState& s = Selection();
  const std::string ext = s.ObraCode.empty() ? std::string() : s.SetExtension();
  if (Area(kAreaBudget).Data.isOpen && Area(kAreaBudget).Extension == ext) return;
  CloseObraArea();
  if (ext.empty()) return;
  std::vector<uint8_t> buffer(kMaxRecordLength);
  OpenWorkArea(kAreaBudget, true, buffer.data(), ext, kSetRecordLength[6]);
  s.ObraIsNew = Area(kAreaBudget).CreatedAnew;
  if (s.ObraIsNew) gPending.obra = ext;
  s.ObraOpen = true;
  LoadObraHeader();
}

void CloseSelection() {
  SelectionState& s = Selection();
  CloseObraArea();
  for (int n = kAreaGeneral; n <= kAreaGlobals; ++n) CloseWorkArea(n);
  DropPendingRama();
  ReleaseAllSetLocks(true);
  s.RamaCode.clear();
  s.ObraCode.clear();
  s.RamaName.clear();
  s.RamaIsNew = s.RamaOpen = false;
}

bool ChangeDataDirectory(const std::string& directory) {
  std::string dir = directory;
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  if (dir.size() > 160) {
    AlertBox("El nombre del directorio pasa de 160 caracteres:\r" + dir, "Advertencia");
    return false;
  }
  SelectionState& s = Selection();
  if (dir != s.DataDirectory) CloseSelection();
  s.DataDirectory = dir;
  Shell().projectDir = dir;
  Shell().dataDir = dir;
  Host().WriteSetting(kSettingsKey, "sProyDir", dir);
  std::error_code ec;
  fs::current_path(dir, ec);
  return true;
}

void FinishSelection() {
  SelectionState& s = Selection();
  const bool opened = OpenRamaFiles();
  OpenObra();
  const bool created = !gPending.rama.empty() || !gPending.obra.empty();
  if (opened || created) CheckSetConsistency();
  if (!gPending.rama.empty()) WriteNewGeneralData();
  for (int n = kAreaGeneral; n <= kAreaBudget; ++n) FlushWorkArea(n);
  gPending = Pending{};
  s.RamaOpen = true;
  Shell().obraSelected = s.ObraOpen;
  Shell().generalDataNext = created;
  MarkSetInUse();
  s.HeaderLine = BuildSetHeaderLine(s.RamaName, s.ObraName);
  ScanSetList(s.DataDirectory);
  SelectSetEntry(s.RamaCode, s.ObraCode);
}

void AskExitProgram() {
  SetCaret(true);
  BoldText();
  const char answer = ConfirmBox("Desea abandonar ahora ?", "Salir del Programa");
  NormalText();
  if (answer != 'S') return;
  CloseWorkArea(kAreaGeneral);
  CloseWorkArea(kAreaBudget);
  DropPendingObra();
  DropPendingRama();
  Shell().obraSelected = false;
  ClearSetInUse();
  DoHalt(0);
}

void ResetPendingSets() {
  gPending = Pending{};
}

}  // namespace vantu::selection

namespace vantu {

void CheckSetConsistency() {
  for (int n = 1; n < 5; ++n) {
    if (Area(n).SavedSetSerial == Area(n + 1).SavedSetSerial) continue;
    ShowMessageWindow({"      LOS ARCHIVOS FUERON MAL COPIADOS      ",
                       "      O HAN SIDO PARCIALMENTE BORRADOS      ",
                       "         Y ASI NO PUEDEN SER USADOS         ",
                       "    ..Para salir oprima cualquier tecla..   "},
                      kErrorScheme, "Esc^salir");
    DoHalt(1);
  }
}

}  // namespace vantu
