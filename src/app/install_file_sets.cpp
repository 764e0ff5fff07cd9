// Connects the work-area table to the shell and the toolkit.
#include "app/install_modules.h"
#include "console/keys.h"
#include "platform/platform.h"
#include "records/area_view.h"
#include "session/preferences.h"
#include "session/shell_state.h"
#include "session/work_area_ids.h"
#include "storage/file_sets.h"
#include "storage/recovery.h"
#include "storage/set_in_use.h"
#include "storage/set_lock.h"
#include "storage/storage_engine.h"
#include "toolkit/message_boxes.h"
#include "toolkit/progress.h"
#include "toolkit/status_line.h"
#include "toolkit/window_message.h"
#include "toolkit/work_area_link.h"

namespace vantu {

namespace {

// A changed rounding makes every stored price of areas 3, 4 and 6 stale.
void MarkRoundingChange() {
  for (int n : {kAreaAnalyses, kAreaSubcontracts, kAreaBudget}) {
    if (!Area(n).Data.isOpen) continue;
    Area(n).SavedChangeMarker = 1;
    FlushWorkArea(n);
  }
}

// After an engine failure the files are left as they are: the next start
// rebuilds the indexes.
// The locks go with the files; one whose set was not cleared by a normal
// end keeps saying that its files were left open.
void CloseSetAreas() {
  if (Engine().failed) return;
  for (int n = kAreaGeneral; n <= kAreaGlobals; ++n) CloseWorkArea(n);
  if (Shell().obraSelected) CloseWorkArea(kAreaBudget);
  ReleaseAllSetLocks();
}

void InstallRecoveryScreens() {
  RecoveryUi& ui = RecoveryScreens();
  ui.openProgress = [] {
    Host().ShowCaret(false, 0, 0);
    if (ShowProgress(40, 12)) StepProgress(true);
  };
  ui.stepProgress = [] { StepProgress(false); };
  ui.closeProgress = [] {
    HideProgress();
    if (Input().caretWanted) SetCaret(true);
  };
  ui.notice = [](const std::string& text) { ShowStatusMessage(text); };
  ui.failure = [](const std::vector<std::string>& lines) {
    ShowMessageWindow(lines, kErrorScheme, "Esc^salir");
  };
  ui.report = [](const std::vector<std::string>& lines) {
    AlertBox(lines, "Reparacion de archivos");
  };
  ui.offerRepair = [](const std::string& file, const std::string& reason) {
    return ConfirmBox("El archivo " + file + " esta danado:\r" + reason +
                          "\r\rDesea regenerarlo desde sus datos ?",
                      "Revision de archivos") == 'S';
  };
}

}  // namespace

void InstallFileSets() {
  InstallRecoveryScreens();
  InstallEngineFailureScreen();
  FileSetGuards().markBeforeWriting = true;
  WorkAreaLink& link = WorkAreaLinks();
  link.title = [](int n) { return IsValidArea(n) ? View(n).Title : std::string(); };
  link.buttons = [](int n) { return IsValidArea(n) ? View(n).buttons : ButtonSet{0}; };
  link.currentKey = [](int n) { return IsValidArea(n) ? Area(n).CurrentKey : std::string(); };
  link.markReplayKey = [](int n) {
    if (IsValidArea(n)) View(n).browse.replayKeyFlag = 1;
  };
  ShellHooks& hooks = Hooks();
  hooks.setUpWorkAreas = [] {
    InitStorageEngine();
    for (int n : {0, 7, 10}) SetUpWorkArea(n, 1);
  };
  hooks.clearSetInUse = ClearSetInUse;
  hooks.closeWorkAreas = CloseSetAreas;
  RoundToPesoChangedHook() = MarkRoundingChange;
}

}  // namespace vantu
