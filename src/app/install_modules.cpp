#include "app/install_modules.h"

#include "shell/shell_state.h"

namespace vantu {

void InstallModules() {
  ClearCommands();
  Hooks() = ShellHooks{};
}

}  // namespace vantu
