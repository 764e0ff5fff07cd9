#include "cli/set_open.h"

#include <filesystem>

#include "app/install_modules.h"
#include "app/main_program.h"
#include "cli/calc_command.h"
#include "cli/cli_output.h"
#include "platform/halt.h"
#include "platform/headless/headless_host.h"
#include "selection/recode.h"
#include "selection/selection_sets.h"
#include "session/paths.h"
#include "session/selection_state.h"
#include "session/shell_state.h"
#include "storage/file_sets.h"
#include "storage/recovery.h"
#include "storage/set_arrival.h"
#include "storage/set_in_use.h"
#include "storage/set_lock.h"
#include "storage/storage_engine.h"
#include "toolkit/dates.h"

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

namespace {

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& l : lines) text += (text.empty() ? "" : "\n") + l;
  return text;
}

bool SameDirectory(const std::string& a, const std::string& b) {
  std::error_code ec;
  return fs::weakly_canonical(a, ec) == fs::weakly_canonical(b, ec);
}

// Where the window asks, the command line refuses with the same words and
// says what to do; nothing is written.
void InstallRefusingScreens() {
  RecoveryUi& ui = RecoveryScreens();
  ui.offerRepair = [](const std::string& file, const std::string& reason) -> bool {
    throw Refusal({"El archivo " + file + " esta danado: " + reason,
                   "El programa preguntaria: Desea regenerarlo desde sus datos ?",
                   "vantu-cli no lo regenera: use korven DIRECTORIO RAMA [OBRA] --reparar (hace "
                   "antes una copia de respaldo) o abra la Rama en el programa vantu."});
  };
  ui.failure = [](const std::vector<std::string>& lines) {
    std::vector<std::string> shown;
    for (const std::string& l : lines)
      if (!WindowOnlyLine(l)) shown.push_back(l);
    shown.push_back("Revise los archivos con korven.");
    throw Refusal(shown);
  };
  ui.notice = [](const std::string& text) {
    std::fprintf(stderr, "vantu-cli: %s\n", Utf8(text).c_str());
  };
  ui.report = [](const std::vector<std::string>& lines) {
    for (const std::string& line : lines)
      std::fprintf(stderr, "vantu-cli: %s\n", Utf8(line).c_str());
  };
}

}  // namespace

Refusal::Refusal(const std::vector<std::string>& l) : std::runtime_error(JoinLines(l)), lines(l) {}

void ReserveSet(const std::string& dir, const std::string& rama) {
  InstallRefusingScreens();
  const SetLockAttempt lock = TakeSetLock(dir, rama);
  if (lock.result == SetLockResult::kInUse || lock.result == SetLockResult::kFailed)
    throw Refusal(SetInUseLines(rama, lock));
  for (const std::string& line : SettleInterruptedArrivals(dir, rama))
    std::fprintf(stderr, "vantu-cli: %s\n", line.c_str());
  const InUseFields marker = ReadInUseFields();
  if (marker.rama.empty() || (marker.rama == rama && SameDirectory(marker.directory, dir)))
    StartupRecoveryCheck();
  if (lock.result == SetLockResult::kTaken) RecoverIfLeftOpen(dir, rama);
}

void OpenSetAsSelected(const std::string& dir, const std::string& rama, const std::string& obra,
                       const std::string& argv0) {
  StartWithoutSet(argv0);
  selection::ChangeDataDirectory(fs::absolute(dir).lexically_normal().string());
  ReserveSet(Selection().DataDirectory, rama);
  SelectionState& s = Selection();
  s.RamaCode = rama;
  selection::OpenRama();
  s.ObraCode = obra;
  selection::FinishSelection();
  // The date the selection screen keeps: listings without an Obra head
  // their pages with it, and the forms date the age of prices from it.
  s.TodayDate = TodayShort();
  // A recodification cut short is completed as the program completes it;
  // one of another set of the Rama is not this command's to finish.
  std::vector<std::string> otherSet;
  if (CompletePendingRecode(otherSet))
    std::fprintf(stderr,
                 "vantu-cli: se completo una recodificacion que habia quedado sin terminar\n");
  if (!otherSet.empty()) throw Refusal(otherSet);
}

int RunOverHost(Platform& host, const std::function<int()>& body) {
  SetHost(&host);
  InstallModules();
  int status = kExitFailure;
  try {
    status = body();
  } catch (const Refusal& r) {
    for (const std::string& line : r.lines)
      std::fprintf(stderr, "vantu-cli: %s\n", Utf8(line).c_str());
  } catch (const ScriptExhausted&) {
    // The core waited for an answer that only the window can give.
    std::fprintf(stderr, "vantu-cli: el proceso se detuvo y no se pudo continuar sin ventana:\n%s",
                 ScreenMessage().c_str());
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
