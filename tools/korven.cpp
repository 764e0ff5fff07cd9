// korven DIRECTORIO RAMA [OBRA] [--reparar] [--json]: checks, and repairs
// after a backup copy, the files of a set (see cli/korven_command.h).
// Exit status: 0 sound (or repaired), 1 faults found, 2 failure.
#include <string>
#include <vector>

#include "cli/korven_command.h"
#include "platform/file_system.h"
#include "session/paths.h"
#include "storage/set_lock.h"

int main(int argc, char** argv) {
  vantu::SetLockProgram("korven");
  vantu::AnchorHomeVariable();
  vantu::os::BinaryStandardOutput();
  const std::vector<std::string> args = vantu::os::ProgramArguments(argc, argv);
  return vantu::cli::KorvenCommand(std::vector<std::string>(args.begin() + 1, args.end()));
}
