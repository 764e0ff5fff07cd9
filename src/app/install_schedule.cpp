// Connects the schedule to the shell: command N, and the temporary file of
// an interrupted save deleted at the program end.
#include "app/install_modules.h"
#include "schedule/schedule_command.h"
#include "schedule/schedule_state.h"
#include "session/shell_state.h"

namespace vantu {

void InstallSchedule() {
  RegisterCommand('N', ScheduleCommand);
  std::function<void()> before = Hooks().deleteWorkFiles;
  Hooks().deleteWorkFiles = [before] {
    if (before) before();
    DeleteScheduleWorkFiles();
  };
}

}  // namespace vantu
