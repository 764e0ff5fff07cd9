#include "app/install_modules.h"

#include "estimating/list_source.h"
#include "shell/preferences.h"
#include "shell/shell_state.h"
#include "storage/file_sets.h"
#include "storage/selection.h"

namespace vantu {

void InstallModules() {
  ClearCommands();
  Hooks() = ShellHooks{};
  InstallPreferences();
  InstallFileSets();
  InstallSelection();
  InstallEstimating();
}

}  // namespace vantu
