// F2 and F3 of the selection screen: file management and regeneration of
// the selected Rama or Obra. Both close the open set first, so the user
// always leaves the screen through a fresh selection.
#include <filesystem>
#include <vector>

#include "console/console.h"
#include "platform/halt.h"
#include "platform/platform.h"
#include "selection/selection.h"
#include "selection/selection_sets.h"
#include "selection/set_files.h"
#include "selection/set_list.h"
#include "session/selection_state.h"
#include "storage/recovery.h"
#include "storage/set_in_use.h"
#include "storage/set_lock.h"
#include "toolkit/message_boxes.h"
#include "toolkit/window_message.h"

namespace vantu {

namespace fs = std::filesystem;

namespace {

const SetListEntry* SelectedEntry() {
  const SetListState& l = SetList();
  if (l.entries.empty()) return nullptr;
  return &l.entries[static_cast<size_t>(l.selected)];
}

std::string EntryName(const SetListEntry& e) {
  if (!e.name.empty()) return e.name;
  return e.IsRama() ? "<< RAMA SIN NOMBRE >>" : "<< Obra sin Nombre >>";
}

void BackToDataDirectory() {
  std::error_code ec;
  fs::current_path(Selection().DataDirectory, ec);
  ScanSetList(Selection().DataDirectory);
}

}  // namespace

void ManageSetFiles() {
  const SetListEntry* selected = SelectedEntry();
  if (selected == nullptr) {
    AlertBox("No existen RAMAS y/o OBRAS que copiar, borrar, Etc.", "Advertencia");
    return;
  }
  const SetListEntry e = *selected;
  selection::CloseSelection();
  const std::string code = e.IsRama() ? e.Rama() : e.code;
  const std::string title =
      (e.IsRama() ? " Copiar, etc. Archivos de RAMA : " : " -  Copiar, etc. Archivos de OBRA : ") +
      e.code + " - " + EntryName(e);
  // The files are copied, moved or deleted only while no program has the
  // set open: the lock is held for as long as the dialog runs.
  const std::string dir = Selection().DataDirectory;
  const SetLockAttempt lock = TakeSetLock(dir, e.Rama());
  if (lock.result == SetLockResult::kInUse || lock.result == SetLockResult::kFailed) {
    AlertBox(SetInUseLines(e.Rama(), lock), "Rama en uso");
    return;
  }
  SetFiles files(dir, code);
  Host().ManageFiles(title, files);
  if (lock.result == SetLockResult::kTaken) ReleaseSetLock(dir, e.Rama(), true);
  BackToDataDirectory();
}

void RegenerateSet() {
  const SetListEntry* selected = SelectedEntry();
  if (selected == nullptr) {
    AlertBox("No Existen RAMAS y/o 0BRAS para regenerarle los archivos", "Advertencia");
    return;
  }
  const SetListEntry e = *selected;
  selection::CloseSelection();
  const std::string caption = std::string("Regenerar.. ") + (e.IsRama() ? "RAMA : " : "OBRA : ") +
                              e.code + " - " + EntryName(e);
  if (ConfirmBox("Desea Regenerar los archivos ?\r\rDespues de terminado el proceso se "
                 "recomienda\rrecalcular para forzar la revisionde errores",
                 caption) != 'S')
    return;
  SelectionState& s = Selection();
  const std::string dir = s.DataDirectory;
  const int r = RecoverFileSet(dir, e.Rama(), e.Obra());
  // The recovery works on the entry's codes; the screen has none selected.
  s.RamaCode.clear();
  s.ObraCode.clear();
  if (r == kRecoveryInUse) {
    AlertBox(LastRecoveryFailure().inUse, "Rama en uso");
    return;
  }
  if (r == kRecoveryRamaMissing || r == kRecoveryObraMissing) {
    std::vector<std::string> lines = {"FALLO PROCESO DE RECUPERACION ARCHIVOS",
                                      "Directorio: " + dir, "Rama: " + e.Rama() + " "};
    if (!e.Obra().empty()) lines.push_back("Obra: " + e.Obra());
    lines.push_back("..Para salir oprima cualquier tecla..");
    ShowMessageWindow(lines, kErrorScheme, "Esc^salir");
    ClearSetInUse();
    DoHalt(1);
  }
  BackToDataDirectory();
}

}  // namespace vantu
