#include "cli/set_open.h"

#include <filesystem>

#include "app/install_modules.h"
#include "app/main_program.h"
#include "cli/calc_command.h"
#include "cli/cli_output.h"
#include "platform/halt.h"
#include "selection/selection_sets.h"
#include "session/paths.h"
#include "session/selection_state.h"
#include "session/shell_state.h"
#include "storage/file_sets.h"
#include "storage/recovery.h"
#include "storage/storage_engine.h"

namespace vantu::cli {

namespace fs = std::filesystem;

std::string MissingSetFile(const std::string& dir, const std::string& rama,
                           const std::string& obra) {
  std::error_code ec;
  for (int n = 1; n <= 6; ++n) {
    if (n == 6 && obra.empty()) break;
    const std::string name = DataBaseName(n, n == 6 ? rama + obra : rama);
    if (!fs::is_regular_file(FindFileIn(dir, name), ec)) return name;
  }
  return "";
}

void StartWithoutSet(const std::string& argv0) {
  Shell().programName = "vantu";
  Shell().programDir = ResolveProgramDir(argv0);
  std::error_code ec;
  fs::create_directories(Shell().programDir, ec);
  if (Hooks().loadPreferences) Hooks().loadPreferences();
  if (Hooks().setUpWorkAreas) Hooks().setUpWorkAreas();
}

void OpenSetAsSelected(const std::string& dir, const std::string& rama, const std::string& obra,
                       const std::string& argv0) {
  StartWithoutSet(argv0);
  selection::ChangeDataDirectory(fs::absolute(dir).lexically_normal().string());
  StartupRecoveryCheck();
  SelectionState& s = Selection();
  s.RamaCode = rama;
  selection::OpenRama();
  s.ObraCode = obra;
  selection::FinishSelection();
}

int RunOverHost(Platform& host, const std::function<int()>& body) {
  SetHost(&host);
  InstallModules();
  int status = kExitFailure;
  try {
    status = body();
  } catch (const Halt&) {
    const int16_t engine = Engine().EngineStatus;
    std::fprintf(stderr, "vantu-cli: el proceso se detuvo%s\n%s",
                 engine != 0 ? (": " + StatusMessage(engine)).c_str() : "",
                 ScreenMessage().c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vantu-cli: fallo: %s\n%s", e.what(), ScreenMessage().c_str());
  }
  FinishSetRun();
  SetHost(nullptr);
  return status;
}

void FinishSetRun() {
  try {
    if (Hooks().clearSetInUse && Selection().RamaOpen) Hooks().clearSetInUse();
    ShellFinalize();
  } catch (const Halt&) {
  }
}

}  // namespace vantu::cli
