#include "app/install_modules.h"

#include "records/list_source.h"
#include "selection/selection.h"
#include "session/preferences.h"
#include "session/shell_state.h"
#include "storage/file_sets.h"

namespace vantu {

void InstallModules() {
  ClearCommands();
  Hooks() = ShellHooks{};
  InstallPreferences();
  InstallFileSets();
  InstallSelection();
  InstallEstimating();
  InstallCalculation();
  InstallReports();
  InstallExchange();
  InstallSchedule();
  InstallRecodification();
}

}  // namespace vantu
