// Connects the selection to the shell: its state is cleared and the
// selection screen runs at start-up, and the command letter 'A' runs it again.
#include "app/install_modules.h"
#include "session/shell_state.h"
#include "selection/selection.h"
#include "session/selection_state.h"
#include "selection/set_list.h"

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
