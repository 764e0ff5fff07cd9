#include "cli/korven_command.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <optional>

#include "cli/cli_output.h"
#include "cli/exit_status.h"
#include "cli/set_session.h"
#include "platform/file_lock.h"
#include "platform/halt.h"
#include "platform/headless/headless_host.h"
#include "session/program_version.h"
#include "session/selection_state.h"
#include "session/shell_state.h"
#include "storage/file_io.h"
#include "storage/file_repair.h"
#include "storage/file_sets.h"
#include "storage/recovery.h"
#include "storage/set_lock.h"
#include "storage/storage_engine.h"

namespace vantu::cli {

namespace {

namespace fs = std::filesystem;

constexpr const char* kHelp =
    "uso: korven DIRECTORIO RAMA [OBRA] [--reparar] [--json]\n"
    "     korven --version\n"
    "  Revisa los archivos de la Rama (y la Obra) del DIRECTORIO y sus indices y\n"
    "  dice, archivo por archivo, que encontro (un objeto JSON con --json).\n"
    "  --reparar  copia antes los archivos en una carpeta de respaldo y repara el\n"
    "             conjunto como la recuperacion automatica: indices y cadenas de\n"
    "             libres reconstruidos, un registro final incompleto apartado en\n"
    "             <archivo>.resto.\n"
    "  Estado de salida: 0 en buen estado (o reparado), 1 fallas halladas y\n"
    "  dejadas como estaban, 2 no se pudo revisar o reparar.\n";

struct KorvenArgs {
  std::string dir, rama, obra;
  bool repair = false;
  bool json = false;
};

std::optional<KorvenArgs> Parse(const std::vector<std::string>& args, std::string& why) {
  KorvenArgs a;
  std::vector<std::string> names;
  for (const std::string& arg : args) {
    if (arg == "--reparar") {
      a.repair = true;
    } else if (arg == "--json") {
      a.json = true;
    } else if (arg.rfind("--", 0) == 0) {
      why = "opcion no valida: " + arg;
      return std::nullopt;
    } else {
      names.push_back(arg);
    }
  }
  if (names.size() < 2 || names.size() > 3 || names[1].size() != 1 ||
      (names.size() == 3 && names[2].size() != 2)) {
    why = "se requieren DIRECTORIO, RAMA de un caracter y, si se da, OBRA de dos";
    return std::nullopt;
  }
  a.dir = fs::absolute(names[0]).lexically_normal().string();
  a.rama = names[1];
  if (names.size() == 3) a.obra = names[2];
  return a;
}

// One file of the set and what is wrong with it ("" when it is sound).
struct FileFinding {
  std::string file, fault;
};

struct Report {
  std::vector<FileFinding> found, afterRepair;
  std::string leftOpenBy;  // who left the Rama open, when nobody closed it
  std::string backup;      // the backup folder of a repair
  bool repaired = false;
  std::vector<std::string> notes;    // what the repair set aside or kept, one line each
  std::vector<std::string> failure;  // why the check or repair could not be done

  int Faults() const {
    int n = leftOpenBy.empty() ? 0 : 1;
    for (const FileFinding& f : found) n += f.fault.empty() ? 0 : 1;
    return n;
  }
};

std::vector<FileFinding> CheckSet(const std::string& rama, const std::string& obra) {
  std::vector<FileFinding> findings;
  for (int n = 1; n <= 6; ++n) {
    if (n == 6 && obra.empty()) break;
    const std::string ext = n == 6 ? rama + obra : rama;
    const std::string data = DataFileName(n, ext);
    FileFinding f{fs::path(data).filename().string(), ""};
    if (!Files().Exists(data)) {
      f.fault = "no existe";
    } else {
      const uint8_t kind = n == 1 ? kSingleRecord : n == 5 ? kPlainFile : kIndexedFile;
      const StoredFileCheck c = CheckStoredFile(data, kSetRecordLength[n], IndexFileName(n, ext),
                                                kind != kIndexedFile ? 0 : (n == 3 ? 6 : 5), kind);
      if (c.Unusable() || c.Repairable()) f.fault = c.Reason();
    }
    findings.push_back(f);
  }
  return findings;
}

// The Rama's files carry one set serial, as the program's opening checks: a
// mixed copy is a fault of the first file that differs.
void CheckSerials(const std::string& rama, std::vector<FileFinding>& findings) {
  int16_t first = 0;
  for (int n = 1; n <= 5; ++n) {
    uint8_t bytes[2] = {};
    if (ReadFileRange(DataFileName(n, rama), kHdrSetSerial, bytes, 2) != 0) return;
    if (n == 1) {
      first = GetI16(bytes);
    } else if (GetI16(bytes) != first) {
      findings[static_cast<size_t>(n - 1)].fault = "numero de serie distinto del de " +
                                                   DataBaseName(1, rama) +
                                                   ": archivos mal copiados o de otra copia";
      return;
    }
  }
}

// Copies the set's files (data, index, side files) into a new folder; its
// path, or "" when the copy could not be made.
std::string BackUp(const KorvenArgs& a) {
  const std::time_t now = std::time(nullptr);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", std::localtime(&now));
  // Two repairs in one second get two folders.
  fs::path backup = fs::path(a.dir) / ("respaldo-korven-" + std::string(stamp));
  std::error_code ec;
  for (int n = 2; fs::exists(backup, ec); ++n)
    backup = fs::path(a.dir) / ("respaldo-korven-" + std::string(stamp) + "-" + std::to_string(n));
  if (!fs::create_directory(backup, ec)) return "";
  for (const auto& entry : fs::directory_iterator(a.dir, ec)) {
    const std::string name = entry.path().filename().string();
    const std::string ext = entry.path().extension().string();
    const bool ours = name.rfind("Apr0", 0) == 0 &&
                      (ext == "." + a.rama || (!a.obra.empty() && ext == "." + a.rama + a.obra) ||
                       name.find(kSideFileSuffix) != std::string::npos);
    if (!ours || !entry.is_regular_file()) continue;
    fs::copy_file(entry.path(), backup / name, ec);
    if (ec) return "";
  }
  return backup.string();
}

int Repair(const KorvenArgs& a, Report& r) {
  r.backup = BackUp(a);
  if (r.backup.empty()) {
    r.failure = {"no se pudo hacer la copia de respaldo: no se repara nada"};
    return kExitFailure;
  }
  const int result = RecoverFileSet(a.dir, a.rama, a.obra);
  if (result == kRecoveryNoDirectory) {
    r.failure = {"no se pudo entrar al directorio " + a.dir};
    return kExitFailure;
  }
  if (result == kRecoveryRamaMissing || result == kRecoveryObraMissing) {
    const RecoveryFailure& f = LastRecoveryFailure();
    r.failure = {"no se puede reparar: " + fs::path(f.file).filename().string() + ": " + f.reason};
    return kExitFailure;
  }
  r.repaired = true;
  r.afterRepair = CheckSet(a.rama, a.obra);
  for (const FileFinding& f : r.afterRepair)
    if (!f.fault.empty()) return kExitFailure;
  return kExitOk;
}

int Run(const KorvenArgs& a, Report& r) {
  // Checked or repaired, the set is korven's alone meanwhile: a program
  // writing it is never read half-way, nor repaired under its feet.
  const SetLockAttempt lock = TakeSetLock(a.dir, a.rama);
  if (lock.result == SetLockResult::kInUse || lock.result == SetLockResult::kFailed) {
    r.failure = SetInUseLines(a.rama, lock);
    return kExitFailure;
  }
  r.found = CheckSet(a.rama, a.obra);
  if (r.Faults() == 0) CheckSerials(a.rama, r.found);
  if (lock.holder.leftOpen)
    r.leftOpenBy =
        lock.holder.user + " en " + lock.holder.computer + " (" + lock.holder.program + ")";
  if (r.Faults() == 0) return kExitOk;
  if (!a.repair) return kExitDataErrors;
  return Repair(a, r);
}

std::string JsonFindings(const std::vector<FileFinding>& findings) {
  std::string text;
  for (const FileFinding& f : findings)
    text += std::string(text.empty() ? "" : ", ") + "{\"archivo\": " + JsonString(f.file) +
            ", \"correcto\": " + (f.fault.empty() ? "true" : "false") +
            ", \"falla\": " + JsonString(Utf8(f.fault)) + "}";
  return "[" + text + "]";
}

std::string JsonList(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& l : lines) text += (text.empty() ? "" : ", ") + JsonString(Utf8(l));
  return "[" + text + "]";
}

std::string JsonOrNull(const std::string& text) {
  return text.empty() ? "null" : JsonString(Utf8(text));
}

void PrintJson(const KorvenArgs& a, const Report& r) {
  std::string failure;
  for (const std::string& line : r.failure) failure += (failure.empty() ? "" : "\n") + line;
  std::printf(
      "{\"directorio\": %s, \"rama\": %s, \"obra\": %s, \"archivos\": %s, \"abierta_por\": %s, "
      "\"fallas\": %d, \"respaldo\": %s, \"reparado\": %s, \"notas\": %s, \"despues\": %s, "
      "\"fallo\": %s}\n",
      JsonString(a.dir).c_str(), JsonString(a.rama).c_str(), JsonOrNull(a.obra).c_str(),
      JsonFindings(r.found).c_str(), JsonOrNull(r.leftOpenBy).c_str(), r.Faults(),
      JsonOrNull(r.backup).c_str(), r.repaired ? "true" : "false", JsonList(r.notes).c_str(),
      r.repaired ? JsonFindings(r.afterRepair).c_str() : "null", JsonOrNull(failure).c_str());
}

void PrintFindings(const std::vector<FileFinding>& findings) {
  for (const FileFinding& f : findings)
    std::printf("%s: %s\n", f.file.c_str(), f.fault.empty() ? "correcto" : Utf8(f.fault).c_str());
}

void PrintText(const Report& r, int status) {
  PrintFindings(r.found);
  if (!r.leftOpenBy.empty())
    std::printf("La Rama quedo abierta por %s y no se cerro normalmente\n",
                Utf8(r.leftOpenBy).c_str());
  if (!r.found.empty() && r.Faults() == 0) std::printf("Los archivos estan en buen estado.\n");
  if (status == kExitDataErrors)
    std::printf("Se encontraron %d fallas. Use --reparar para repararlas.\n", r.Faults());
  if (!r.backup.empty()) std::printf("Copia de respaldo en %s\n", r.backup.c_str());
  for (const std::string& note : r.notes) std::printf("%s\n", Utf8(note).c_str());
  if (r.repaired) {
    std::printf("Reparado. Nueva revision:\n");
    PrintFindings(r.afterRepair);
  }
  for (const std::string& line : r.failure)
    std::fprintf(stderr, "korven: %s\n", Utf8(line).c_str());
}

// Some data file of the Rama is in the folder: a set to check, with files
// perhaps missing, rather than no set at all.
bool RamaIsThere(const KorvenArgs& a) {
  std::error_code ec;
  for (int n = 1; n <= 5; ++n)
    if (fs::exists(FindFileIn(a.dir, DataBaseName(n, a.rama)), ec)) return true;
  return false;
}

// The check (and repair) over the scripted host, with the recovery's
// configuration file in a scratch folder: never the program's.
int CheckOverHost(const KorvenArgs& a, Report& r) {
  HeadlessHost host;
  SetHost(&host);
  InitStorageEngine();
  Selection().DataDirectory = a.dir;
  const fs::path scratch =
      fs::temp_directory_path() / ("korven-" + std::to_string(CurrentProcessId()));
  std::error_code ec;
  fs::create_directories(scratch, ec);
  Shell().programDir = scratch.string();
  static Report* reportTo = nullptr;
  reportTo = &r;
  RecoveryScreens().report = [](const std::vector<std::string>& lines) {
    reportTo->notes.insert(reportTo->notes.end(), lines.begin(), lines.end());
  };
  int status = kExitFailure;
  try {
    status = Run(a, r);
  } catch (const Halt&) {
    const EngineState& e = Engine();
    r.failure = {"no se pudo terminar: " + StatusMessage(e.EngineStatus) + " " + e.failedFile};
  }
  // A finished repair records the set as closed; anything else leaves the
  // lock file as it was found.
  ReleaseAllSetLocks();
  fs::remove_all(scratch, ec);
  SetHost(nullptr);
  return status;
}

}  // namespace

int KorvenCommand(const std::vector<std::string>& args) {
  if (args.size() == 1 && args[0] == "--version") {
    std::printf("korven %s\n", ProgramVersion());
    return kExitOk;
  }
  if (AsksForHelp(args)) {
    std::fputs(kHelp, stdout);
    return kExitOk;
  }
  std::string why;
  const std::optional<KorvenArgs> a = Parse(args, why);
  if (!a) {
    std::fprintf(stderr, "korven: %s\n%s", why.c_str(), kHelp);
    return kExitFailure;
  }
  std::error_code ec;
  if (!fs::is_directory(a->dir, ec)) {
    std::fprintf(stderr, "korven: no existe el directorio %s\n", a->dir.c_str());
    return kExitFailure;
  }
  if (!RamaIsThere(*a)) {
    std::fprintf(stderr, "korven: la Rama %s no esta en %s: no hay ningun archivo suyo\n",
                 a->rama.c_str(), a->dir.c_str());
    return kExitFailure;
  }
  Report report;
  const int status = CheckOverHost(*a, report);
  if (a->json)
    PrintJson(*a, report);
  else
    PrintText(report, status);
  if (a->json)
    for (const std::string& line : report.failure)
      std::fprintf(stderr, "korven: %s\n", Utf8(line).c_str());
  return status;
}

}  // namespace vantu::cli
