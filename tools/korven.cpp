// korven <directorio> <rama> [obra] [--reparar]: checks the files of a Rama
// (and Obra) and their indexes and says in plain words what it found, one
// line per file. With --reparar, after copying every file of the set into
// a backup folder beside them, it repairs the set the way the automatic
// recovery does (the same code): partial trailing records cut into a side
// file, free chains and indexes rebuilt from the data records.
// Exit status: 0 the set is sound (or was repaired), 1 faults were found and
// left as they are, 2 the check or the repair could not be done.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/halt.h"
#include "platform/headless/headless_host.h"
#include "session/paths.h"
#include "session/selection_state.h"
#include "session/shell_state.h"
#include "storage/file_io.h"
#include "storage/file_repair.h"
#include "storage/file_sets.h"
#include "storage/recovery.h"
#include "storage/set_lock.h"
#include "storage/storage_engine.h"

namespace {

namespace fs = std::filesystem;
using namespace vantu;

struct SetFile {
  int number;
  std::string ext;
};

std::vector<SetFile> FilesOf(const std::string& rama, const std::string& obra) {
  std::vector<SetFile> files;
  for (int n = 1; n <= 5; ++n) files.push_back({n, rama});
  if (!obra.empty()) files.push_back({6, rama + obra});
  return files;
}

// One line per file; returns the number of files with faults.
int CheckSet(const std::vector<SetFile>& files) {
  int faults = 0;
  for (const SetFile& f : files) {
    const std::string data = DataFileName(f.number, f.ext);
    const std::string name = fs::path(data).filename().string();
    if (!Files().Exists(data)) {
      std::printf("%s: no existe\n", name.c_str());
      ++faults;
      continue;
    }
    const bool indexed = f.number != 1 && f.number != 5;
    const StoredFileCheck c =
        CheckStoredFile(data, kSetRecordLength[f.number], IndexFileName(f.number, f.ext),
                        indexed ? (f.number == 3 ? 6 : 5) : 0);
    if (c.Unusable() || c.Repairable()) {
      std::printf("%s: %s\n", name.c_str(), c.Reason().c_str());
      ++faults;
    } else {
      std::printf("%s: correcto\n", name.c_str());
    }
  }
  return faults;
}

// The files of a set carry one set serial, as the program's opening checks;
// a mixed copy is a fault. Returns 1 when they differ, after saying so.
int CheckSerials(const std::vector<SetFile>& files) {
  std::string first, differing;
  int16_t serial = 0;
  for (const SetFile& f : files) {
    if (f.number == 6) break;  // the Obra's serial is its calculation's
    uint8_t bytes[2] = {};
    const std::string data = DataFileName(f.number, f.ext);
    if (ReadFileRange(data, kHdrSetSerial, bytes, 2) != 0) return 0;  // reported above
    const std::string name = fs::path(data).filename().string();
    if (first.empty()) {
      first = name;
      serial = GetI16(bytes);
    } else if (GetI16(bytes) != serial && differing.empty()) {
      differing = name;
    }
  }
  if (differing.empty()) return 0;
  std::printf("%s: numero de serie distinto del de %s: archivos mal copiados o de otra copia\n",
              differing.c_str(), first.c_str());
  return 1;
}

// Copies the set's files (data, index, side files) into a new folder.
bool BackUp(const std::string& dir, const std::string& rama, const std::string& obra) {
  const std::time_t now = std::time(nullptr);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", std::localtime(&now));
  // Two repairs in one second get two folders.
  fs::path backup = fs::path(dir) / ("respaldo-korven-" + std::string(stamp));
  std::error_code ec;
  for (int n = 2; fs::exists(backup, ec); ++n)
    backup = fs::path(dir) / ("respaldo-korven-" + std::string(stamp) + "-" + std::to_string(n));
  if (!fs::create_directory(backup, ec)) return false;
  for (const auto& entry : fs::directory_iterator(dir, ec)) {
    const std::string name = entry.path().filename().string();
    const std::string ext = entry.path().extension().string();
    const bool ours = name.rfind("Apr0", 0) == 0 &&
                      (ext == "." + rama || (!obra.empty() && ext == "." + rama + obra) ||
                       name.find(kSideFileSuffix) != std::string::npos);
    if (!ours || !entry.is_regular_file()) continue;
    fs::copy_file(entry.path(), backup / name, ec);
    if (ec) return false;
  }
  std::printf("Copia de respaldo en %s\n", backup.string().c_str());
  return true;
}

int Run(const std::string& dir, const std::string& rama, const std::string& obra, bool repair) {
  // Checked or repaired, the set is korven's alone meanwhile: a program
  // writing it is never read half-way, nor repaired under its feet.
  const SetLockAttempt lock = TakeSetLock(dir, rama);
  if (lock.result == SetLockResult::kInUse || lock.result == SetLockResult::kFailed) {
    for (const std::string& line : SetInUseLines(rama, lock))
      std::fprintf(stderr, "korven: %s\n", line.c_str());
    return 2;
  }
  const std::vector<SetFile> files = FilesOf(rama, obra);
  int faults = CheckSet(files);
  if (faults == 0) faults += CheckSerials(files);
  if (lock.holder.leftOpen) {
    std::printf("%s: la Rama quedo abierta por %s en %s (%s) y no se cerro normalmente\n",
                fs::path(lock.lockFile).filename().string().c_str(), lock.holder.user.c_str(),
                lock.holder.computer.c_str(), lock.holder.program.c_str());
    ++faults;
  }
  if (faults == 0) {
    std::printf("Los archivos estan en buen estado.\n");
    return 0;
  }
  if (!repair) {
    std::printf("Se encontraron %d archivos con fallas. Use --reparar para repararlos.\n", faults);
    return 1;
  }
  if (!BackUp(dir, rama, obra)) {
    std::printf("No se pudo hacer la copia de respaldo: no se repara nada.\n");
    return 2;
  }
  const int result = RecoverFileSet(dir, rama, obra);
  if (result == kRecoveryNoDirectory) {
    std::printf("No se pudo entrar al directorio %s\n", dir.c_str());
    return 2;
  }
  if (result == kRecoveryRamaMissing || result == kRecoveryObraMissing) {
    const RecoveryFailure& f = LastRecoveryFailure();
    std::printf("No se puede reparar: %s: %s\n", fs::path(f.file).filename().string().c_str(),
                f.reason.c_str());
    return 2;
  }
  std::printf("Reparado. Nueva revision:\n");
  return CheckSet(files) == 0 ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  bool repair = false;
  std::erase_if(args, [&](const std::string& a) { return a == "--reparar" && (repair = true); });
  if (args.size() < 2 || args.size() > 3 || args[1].size() != 1 ||
      (args.size() == 3 && args[2].size() != 2)) {
    std::fprintf(stderr, "uso: korven <directorio> <rama> [obra] [--reparar]\n");
    return 2;
  }
  HeadlessHost host;
  SetHost(&host);
  InitStorageEngine();
  SetLockProgram("korven");
  RecoveryScreens().report = [](const std::vector<std::string>& lines) {
    for (const std::string& line : lines) std::printf("%s\n", line.c_str());
  };
  AnchorHomeVariable();
  const std::string dir = fs::absolute(args[0]).lexically_normal().string();
  // A folder or a Rama that is not there is a failure, and nothing is made.
  std::error_code ec;
  if (!fs::is_directory(dir, ec)) {
    std::fprintf(stderr, "korven: no existe el directorio %s\n", dir.c_str());
    return 2;
  }
  if (!fs::exists(FindFileIn(dir, DataBaseName(1, args[1])), ec) &&
      !fs::exists(FindFileIn(dir, DataBaseName(2, args[1])), ec)) {
    std::fprintf(stderr, "korven: no existe la Rama %s en %s\n", args[1].c_str(), dir.c_str());
    return 2;
  }
  Selection().DataDirectory = dir;
  // The recovery marks the set in a configuration file: korven keeps its
  // own in a scratch folder, never the program's.
  const fs::path scratch = fs::temp_directory_path() / ("korven-" + std::to_string(::getpid()));
  fs::create_directories(scratch);
  Shell().programDir = scratch.string();
  int status = 2;
  try {
    status = Run(dir, args[1], args.size() == 3 ? args[2] : "", repair);
  } catch (const Halt&) {
    const EngineState& e = Engine();
    std::printf("No se pudo terminar: %s %s\n", StatusMessage(e.EngineStatus).c_str(),
                e.failedFile.c_str());
  }
  // A finished repair records the set as closed; anything else leaves the
  // lock file as it was found.
  ReleaseAllSetLocks();
  fs::remove_all(scratch, ec);
  return status;
}
