// korven DIRECTORIO RAMA [OBRA] [--reparar] [--json]: checks, and repairs
// after a backup copy, the files of a set (see cli/korven_command.h).
// Exit status: 0 sound (or repaired), 1 faults found, 2 failure.
#include <string>
#include <vector>

#include "cli/korven_command.h"
#include "session/paths.h"
#include "storage/set_lock.h"

int main(int argc, char** argv) {
  vantu::SetLockProgram("korven");
  vantu::AnchorHomeVariable();
  return vantu::cli::KorvenCommand(std::vector<std::string>(argv + 1, argv + argc));
}
