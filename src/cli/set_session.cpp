#include "cli/set_session.h"

#include <filesystem>

#include "app/install_modules.h"
#include "app/main_program.h"
#include "cli/cli_output.h"
#include "platform/halt.h"
#include "platform/headless/headless_host.h"
#include "selection/selection_sets.h"
#include "session/paths.h"
#include "session/selection_state.h"
#include "session/shell_state.h"
#include "storage/file_sets.h"
#include "storage/recovery.h"

namespace vantu::cli {

namespace fs = std::filesystem;

std::string CheckSetArgs(const SetArgs& a) {
  if (a.dir.empty() || a.rama.size() != 1 || (!a.obra.empty() && a.obra.size() != 2))
    return "se requieren --dir, --rama de un caracter y, si se da, --obra de dos";
  std::error_code ec;
  if (!fs::is_directory(a.dir, ec)) return "no existe el directorio " + a.dir;
  if (const std::string missing = MissingSetFile(a); !missing.empty())
    return "no existe el archivo " + missing + " en " + a.dir + ": la Rama " + a.rama +
           (a.obra.empty() ? "" : " con la Obra " + a.obra) + " no esta ahi";
  return "";
}

std::string MissingSetFile(const SetArgs& a) {
  std::error_code ec;
  for (int n = 1; n <= 6; ++n) {
    if (n == 6 && a.obra.empty()) break;
    const std::string name = DataBaseName(n, n == 6 ? a.rama + a.obra : a.rama);
    if (!fs::is_regular_file(FindFileIn(a.dir, name), ec)) return name;
  }
  return "";
}

void OpenSetSession(const SetArgs& a, const std::string& argv0) {
  Shell().programName = "vantu";
  Shell().programDir = ResolveProgramDir(argv0);
  std::error_code ec;
  fs::create_directories(Shell().programDir, ec);
  if (Hooks().loadPreferences) Hooks().loadPreferences();
  if (Hooks().setUpWorkAreas) Hooks().setUpWorkAreas();
  selection::ChangeDataDirectory(fs::absolute(a.dir).lexically_normal().string());
  StartupRecoveryCheck();
  SelectionState& s = Selection();
  s.RamaCode = a.rama;
  selection::OpenRama();
  s.ObraCode = a.obra;
  selection::FinishSelection();
}

void CloseSetSession() {
  try {
    if (Hooks().clearSetInUse && Selection().RamaOpen) Hooks().clearSetInUse();
    ShellFinalize();
  } catch (const Halt&) {
  }
}

std::string ScreenMessage() {
  std::string out;
  for (int row = 1; row <= 25; ++row) {
    std::string line = ScreenRow(row);
    for (char& c : line)
      if (static_cast<unsigned char>(c) >= 0xB0 && static_cast<unsigned char>(c) <= 0xDF) c = ' ';
    const size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos) continue;
    out += "  " + Utf8(line.substr(first, line.find_last_not_of(' ') - first + 1)) + "\n";
  }
  return out;
}

}  // namespace vantu::cli
