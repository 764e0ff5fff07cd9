// The program end: close the files and delete the work files.
#include <filesystem>

#include "app/main_program.h"
#include "platform/platform.h"
#include "session/paths.h"
#include "session/shell_state.h"

namespace vantu {

namespace fs = std::filesystem;

void ShellFinalize() {
  static bool running = false;
  if (running) return;
  running = true;
  ShellState& sh = Shell();
  try {
    if (Hooks().closeWorkAreas) Hooks().closeWorkAreas();
  } catch (...) {
    // The end goes on: the remaining files are still cleaned up.
  }
  std::error_code ec;
  fs::remove(sh.errorFileName, ec);
  if (Hooks().deleteWorkFiles) Hooks().deleteWorkFiles();
  if (!sh.listingFileName.empty()) fs::remove(sh.listingFileName, ec);
  if (sh.fontInstalled) Host().UnregisterFont(FindProgramFile("Vantu.TTF"));
  sh.fontInstalled = false;
  running = false;
}

}  // namespace vantu
