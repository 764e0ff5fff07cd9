// Connects the selection to the shell: start-up steps 13 and 15, and the
// command letter 'A'.
#include "shell/shell_state.h"
#include "storage/selection.h"
#include "storage/selection_state.h"
#include "storage/set_list.h"

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

}  // namespace vantu
