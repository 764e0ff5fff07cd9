// vantu-cli: the program's batch commands, without a window (see
// cli/commands.h). Exit status: 0 done, 1 data refused or errors found,
// 2 failure.
#include <string>
#include <vector>

#include "cli/commands.h"
#include "session/paths.h"
#include "storage/set_lock.h"

int main(int argc, char** argv) {
  vantu::SetLockProgram("vantu-cli");
  vantu::AnchorHomeVariable();
  return vantu::cli::VantuCli(std::vector<std::string>(argv + 1, argv + argc), argv[0]);
}
