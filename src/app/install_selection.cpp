// Connects the selection to the shell: its state is cleared and the
// selection screen runs at start-up, and the command letter 'A' runs it again;
// command 'C' recodifies the open set.
#include "app/install_modules.h"
#include "selection/recode.h"
#include "selection/selection.h"
#include "selection/set_list.h"
#include "session/selection_state.h"
#include "session/shell_state.h"

namespace vantu {

void InstallSelection() {
  ShellHooks& hooks = Hooks();
  hooks.resetSelection = [] {
    ResetSelection();
    ResetSetList();
  };
  hooks.runSelection = SelectRamaObra;
  RegisterCommand('A', SelectRamaObra);
}

void InstallRecodification() {
  RegisterCommand('C', RecodifyCommand);
  // The recodification's temporary state record joins the run's work files.
  ShellHooks& hooks = Hooks();
  hooks.deleteWorkFiles = [before = hooks.deleteWorkFiles] {
    if (before) before();
    DeleteRecodeTempFiles();
  };
}

}  // namespace vantu
