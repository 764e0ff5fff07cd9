// vantu-cli: the program's batch commands, without a window (see
// cli/commands.h). Exit status: 0 done, 1 data refused or errors found,
// 2 failure.
#include <string>
#include <vector>

#include "cli/commands.h"
#include "platform/file_system.h"
#include "session/paths.h"
#include "storage/set_lock.h"

int main(int argc, char** argv) {
  vantu::SetLockProgram("vantu-cli");
  vantu::AnchorHomeVariable();
  vantu::os::BinaryStandardOutput();
  const std::vector<std::string> args = vantu::os::ProgramArguments(argc, argv);
  return vantu::cli::VantuCli(std::vector<std::string>(args.begin() + 1, args.end()), args[0]);
}
