#include "storage/recovery.h"

#include <cerrno>
#include <filesystem>
#include <vector>

#include "platform/file_lock.h"
#include "platform/halt.h"
#include "session/preferences.h"
#include "session/selection_state.h"
#include "storage/btree.h"
#include "storage/file_io.h"
#include "storage/file_repair.h"
#include "storage/file_sets.h"
#include "storage/real10.h"
#include "storage/set_in_use.h"
#include "storage/set_lock.h"
#include "storage/storage_engine.h"

namespace vantu {

namespace fs = std::filesystem;

namespace {

struct RecoveryState {
  long double stampMax = 0;
  int16_t serial = 1;       // set serial of file 1 for the running recovery
  bool keepSerial = false;  // one file repaired alone keeps its own serial
  RecoveryUi ui;
  RecoveryFailure failure;
  std::vector<std::string> report;  // what the repairs since the last report did
};
RecoveryState gRecovery;

void Report(const std::string& file, const std::string& line) {
  gRecovery.report.push_back(fs::path(file).filename().string() + ": " + line);
}

// Shows what the repairs did, if anything beyond their rebuild.
void ShowReport() {
  if (gRecovery.report.empty()) return;
  std::vector<std::string> lines;
  lines.swap(gRecovery.report);
  if (gRecovery.ui.report) gRecovery.ui.report(lines);
}

void Step() {
  if (gRecovery.ui.stepProgress) gRecovery.ui.stepProgress();
}

std::string CurrentDirectory() {
  std::error_code ec;
  return fs::current_path(ec).string().substr(0, 160);
}

int KeyLengthOf(int n) {
  return n == 3 ? 6 : 5;
}
bool Indexed(int n) {
  return n != 1 && n != 5;
}

int16_t ValidSerial(int serial) {
  return static_cast<int16_t>(serial < 1 || serial > 9999 ? 1 : serial);
}

// Opens data file n for its repair, after moving a partial trailing record
// to the side file. A file that cannot be opened ends the program naming
// the file and the reason.
void OpenForRepair(DataFileState& data, const std::string& name, int recordLength) {
  OpenFileUnchecked(data, name, recordLength);
  if (!LastOpOk()) FailEngine(StatusFromOsError(Engine().OpenError, kStatusReadError), name);
  int64_t size = 0;
  if (int err = Files().Size(data.handle, size); err != 0)
    FailEngine(StatusFromOsError(err, kStatusReadError), name);
  if (size % recordLength == 0) return;
  Report(name, "los " + std::to_string(size % recordLength) +
                   " bytes de un registro incompleto al final pasaron a " +
                   fs::path(name + kSideFileSuffix).filename().string());
  // The cut works on the file by name: this handle goes first, unwritten.
  Files().Close(data.handle);
  data.isOpen = false;
  if (int err = CutPartialRecord(name, recordLength); err != 0)
    FailEngine(StatusFromOsError(err, kStatusWriteError), name);
  OpenFileUnchecked(data, name, recordLength);
  if (!LastOpOk()) FailEngine(StatusFromOsError(Engine().OpenError, kStatusReadError), name);
}

// Rebuilds the free chain and, for the indexed files, the index: built
// whole in memory, then written over the old one's pages in page order.
void RepairRecords(int n, DataFileState& data, const std::string& ext) {
  if (!Indexed(n)) {
    // Files 1 and 5 keep records whose first word is not 0 (record 1 of a
    // new file starts -1, 1), so their chain is rebuilt only when broken.
    if (!FreeChainIsSound(data)) RebuildDataFile(data, nullptr, Step);
    return;
  }
  // Records the old index names past the end were cut away with the file:
  // they cannot come back, but the consultant is told.
  const std::string indexName = IndexFileName(n, ext);
  if (const int lost = IndexKeysPastEnd(indexName, KeyLengthOf(n), FileRecordCount(data)); lost > 0)
    Report(data.name, "el archivo fue cortado: faltan " + std::to_string(lost) +
                          " registros que su indice nombraba; recupere una copia de respaldo");
  IndexFileState index;
  RemakeIndex(index, indexName, KeyLengthOf(n), false);
  HeldPages pages;
  HoldIndexInMemory(index, pages);
  const RebuildReport rebuilt = RebuildDataFile(data, &index, Step);
  if (rebuilt.stampMax > gRecovery.stampMax) gRecovery.stampMax = rebuilt.stampMax;
  gRecovery.stampMax += 1;
  CloseRemadeIndex(index);
  if (rebuilt.setAside > 0)
    Report(data.name, std::to_string(rebuilt.setAside) +
                          " registros con codigo danado o repetido pasaron a " +
                          fs::path(data.name + kSideFileSuffix).filename().string());
  if (rebuilt.statusRepaired > 0)
    Report(data.name, std::to_string(rebuilt.statusRepaired) +
                          " registros con la palabra de estado danada se conservan en uso");
  for (const std::string& note : rebuilt.notes) Report(data.name, "  " + note);
}

// Header bytes 0-20 in one write: the rebuilt chain, the change marker,
// the set serial and the counter. File 5 only takes the serial, so that
// the Rama's files keep equal serials; its marker and counter stay.
void WriteRepairedHeader(int n, DataFileState& data) {
  uint8_t header[kHdrAddedCounter + 10];
  const size_t length = data.RecordLength >= static_cast<int>(sizeof header) ? sizeof header : 11;
  size_t done = 0;
  if (int err = Files().ReadAt(data.handle, 0, header, length, done); err != 0 || done != length)
    FailEngine(StatusFromOsError(err != 0 ? err : EIO, kStatusReadError), data.name);
  PutI16(header + kHdrFreeHead, data.FreeHead);
  PutI16(header + kHdrFreeCount, data.FreeCount);
  PutI16(header + kHdrRootPage, data.RootPage);
  PutI16(header + kHdrRecordLength, data.RecordLength);
  if (n != 5) header[kHdrChangeMarker] = 1;
  PutI16(header + kHdrSetSerial, gRecovery.serial);
  if (n != 5 && length == sizeof header) StoreReal10(header + kHdrAddedCounter, gRecovery.stampMax);
  if (int err = Files().WriteAt(data.handle, 0, header, length, done); err != 0 || done != length)
    FailEngine(err != 0 ? StatusFromOsError(err, kStatusWriteError) : int16_t{kStatusDiskFull},
               data.name);
}

// The failure of the check that runs before anything is written.
bool Refuse(const std::string& file, const std::string& reason) {
  gRecovery.failure = {file, reason, {}};
  return false;
}

// Every file of the set is there, opens for writing and has the record
// length of its kind; nothing is written before this holds for all.
bool CheckSetFiles(const std::string& rama, const std::string& obra, bool& obraMissing) {
  obraMissing = false;
  for (int n = 1; n <= 6; ++n) {
    if (n == 6 && obra.empty()) break;
    const std::string ext = n == 6 ? rama + obra : rama;
    const std::string name = DataFileName(n, ext);
    const StoredFileCheck c = CheckStoredFile(name, kSetRecordLength[n], "", 0);
    if (c.openError == ENOENT) {
      obraMissing = n == 6;
      return Refuse(name, StatusText(2));
    }
    if (c.Unusable()) return Refuse(name, c.Reason());
    // The index and the side file are written too: each must open for
    // writing if it is there, before the first file changes.
    for (const std::string& other :
         {Indexed(n) ? IndexFileName(n, ext) : std::string(), name + kSideFileSuffix}) {
      if (other.empty() || !Files().Exists(other)) continue;
      int handle = -1;
      if (const int err = Files().Open(other, handle); err != 0)
        return Refuse(other, StatusText(StatusFromOsError(err, kStatusAccessDenied)));
      Files().Close(handle);
    }
  }
  return true;
}

}  // namespace

long double& StampMax() {
  return gRecovery.stampMax;
}
void ResetRecovery() {
  gRecovery = RecoveryState{};
}
RecoveryUi& RecoveryScreens() {
  return gRecovery.ui;
}
const RecoveryFailure& LastRecoveryFailure() {
  return gRecovery.failure;
}

void LoadRecoverySerial(const std::string& ramaExt) {
  uint8_t serialBytes[2] = {};
  int serial = 1;
  if (ReadFileRange(DataFileName(1, ramaExt), kHdrSetSerial, serialBytes, 2) == 0)
    serial = GetI16(serialBytes);
  gRecovery.serial = ValidSerial(serial);
}

void ShowRepairReport() {
  ShowReport();
}

void RebuildFileKeepingSerial(int n, int recordLength, const std::string& ext) {
  uint8_t serialBytes[2] = {};
  if (ReadFileRange(DataFileName(n, ext), kHdrSetSerial, serialBytes, 2) == 0)
    gRecovery.serial = GetI16(serialBytes);
  gRecovery.keepSerial = true;
  RebuildFile(n, recordLength, ext);
  gRecovery.keepSerial = false;
}

// Files without an index hold only what the program wrote: records after
// them (bytes appended by a faulty copy) go to the side file.
void CutForeignRecords(int n, DataFileState& data, const std::string& name, int recordLength) {
  const int extra = ForeignTrailingRecords(data, n == 1 ? kSingleRecord : kPlainFile);
  if (extra <= 0) return;
  Report(name, std::to_string(extra) + " registros de mas al final pasaron a " +
                   fs::path(name + kSideFileSuffix).filename().string());
  const int64_t keep = static_cast<int64_t>(FileRecordCount(data) - extra) * recordLength;
  Files().Close(data.handle);
  data.isOpen = false;
  if (int err = CutFileAt(name, keep); err != 0)
    FailEngine(StatusFromOsError(err, kStatusWriteError), name);
  OpenFileUnchecked(data, name, recordLength);
  if (!LastOpOk()) FailEngine(StatusFromOsError(Engine().OpenError, kStatusReadError), name);
}

void RebuildFile(int n, int recordLength, const std::string& ext) {
  const std::string name = DataFileName(n, ext);
  DataFileState data;
  OpenForRepair(data, name, recordLength);
  if (!Indexed(n)) CutForeignRecords(n, data, name, recordLength);
  if (n == 1 && !gRecovery.keepSerial) {
    uint8_t serialBytes[2] = {};
    size_t done = 0;
    const bool read = Files().ReadAt(data.handle, kHdrSetSerial, serialBytes, 2, done) == 0;
    gRecovery.serial = ValidSerial(read && done == 2 ? GetI16(serialBytes) : 1);
  }
  RepairRecords(n, data, ext);
  WriteRepairedHeader(n, data);
  // The header is written whole above; CloseFile would write bytes 0-7 again.
  data.isOpen = false;
  if (Files().Close(data.handle) != 0) FailEngine(kStatusDosFunction, name);
}

namespace {

// The rebuild itself, on a set whose lock this process holds.
int RecoverLockedSet(const std::string& directory, const std::string& rama,
                     const std::string& obra) {
  const std::string current = CurrentDirectory();
  std::error_code ec;
  fs::current_path(directory, ec);
  if (ec) return kRecoveryNoDirectory;
  // Nothing is written before every file is known to be usable.
  bool obraMissing = false;
  if (!CheckSetFiles(rama, obra, obraMissing)) {
    fs::current_path(current, ec);
    MarkSetInUseAs(current, "", "");
    return obraMissing ? kRecoveryObraMissing : kRecoveryRamaMissing;
  }
  MarkSetInUseAs(directory, rama, obra);

  SelectionState& sel = Selection();
  const std::string savedDir = sel.DataDirectory;
  sel.DataDirectory = directory;
  sel.RamaCode = rama;
  sel.ObraCode = obra;
  if (gRecovery.ui.openProgress) gRecovery.ui.openProgress();
  for (int n = 1; n <= 4; ++n) {
    RebuildFile(n, kSetRecordLength[n], rama);
    Step();
  }
  RebuildFile(5, kSetRecordLength[5], rama);
  if (!obra.empty()) RebuildFile(6, kSetRecordLength[6], rama + obra);
  if (gRecovery.ui.closeProgress) gRecovery.ui.closeProgress();
  ShowReport();
  sel.DataDirectory = savedDir;
  fs::current_path(current, ec);
  // The marker is cleared only here: a stop before this point leaves it
  // set, and the next opening repairs again.
  NoteHeldSetConsistent(directory, rama);
  MarkSetInUseAs(current, "", "");
  return obra.empty() ? kRecoveryRamaOnly : kRecoveryRamaAndObra;
}

}  // namespace

int RecoverFileSet(const std::string& directory, const std::string& rama, const std::string& obra) {
  gRecovery.failure = {};
  std::error_code ec;
  if (!fs::is_directory(directory, ec)) return kRecoveryNoDirectory;
  const SetLockAttempt lock = TakeSetLock(directory, rama);
  if (lock.result == SetLockResult::kInUse || lock.result == SetLockResult::kFailed) {
    gRecovery.failure = {lock.lockFile, "", SetInUseLines(rama, lock)};
    return kRecoveryInUse;
  }
  const int result = RecoverLockedSet(directory, rama, obra);
  // A lock taken for the recovery alone goes with it.
  if (lock.result == SetLockResult::kTaken) ReleaseSetLock(directory, rama, false);
  return result;
}

namespace {

std::vector<std::string> FailureLines(const InUseFields& inUse) {
  std::vector<std::string> lines = {"FALLO PROCESO AUTOMATICO DE RECUPERACION ARCHIVOS",
                                    "Directorio: " + inUse.directory, "Rama: " + inUse.rama + " "};
  if (!inUse.obra.empty()) lines.push_back("Obra: " + inUse.obra);
  const RecoveryFailure& f = gRecovery.failure;
  if (!f.file.empty()) {
    lines.push_back("Archivo: " + fs::path(f.file).filename().string());
    lines.push_back(f.reason);
  }
  lines.push_back("..Para salir oprima cualquier tecla..");
  return lines;
}

void ShowFailureAndStop(const InUseFields& inUse) {
  if (gRecovery.ui.failure) gRecovery.ui.failure(FailureLines(inUse));
  ClearSetInUse();
  DoHalt(1);
}

// A recovery always says what it did: on the status line, or in a box that
// waits where the next field would clear that line before anyone read it.
void TellRecovered(const std::string& rama, const std::string& obra, bool inABox = false) {
  const std::string done = "La RAMA " + rama + (obra.empty() ? "" : " OBRA " + obra) +
                           " no se cerro normalmente: se regeneraron sus indices";
  if (inABox && gRecovery.ui.report) return gRecovery.ui.report({done});
  if (gRecovery.ui.notice) gRecovery.ui.notice(done);
}

}  // namespace

void StartupRecoveryCheck() {
  std::error_code ec;
  if (!fs::exists(ConfigFilePath(), ec)) {
    WriteConfigRecord(DefaultConfigRecord());
    return;
  }
  const InUseFields inUse = ReadInUseFields();
  SelectionState& sel = Selection();
  if (!Files().Exists(FindFileIn(".", DataBaseName(1, sel.RamaCode)))) {
    sel.RamaCode.clear();
    sel.ObraCode.clear();
  } else if (!Files().Exists(FindFileIn(".", DataBaseName(6, sel.SetExtension())))) {
    sel.ObraCode.clear();
  }
  // A directory without a Rama is what a finished recovery leaves: there is
  // no set to rebuild.
  if (inUse.directory.empty() || inUse.rama.empty()) return;
  // The marker of a set another program holds now belongs to that run.
  if (!HoldsSetLock(inUse.directory, inUse.rama) &&
      FileLockHeldElsewhere(SetLockPath(inUse.directory, inUse.rama)))
    return;
  int r = kRecoveryNoDirectory;
  try {
    r = RecoverFileSet(inUse.directory, inUse.rama, inUse.obra);
  } catch (const Halt&) {
    // The engine's box has named the file and the reason (a full disk, a
    // damaged file). The marker is cleared so that the next start does not
    // stop in the same place: the set's opening check finds what is left
    // and offers the regeneration.
    ClearSetInUse();
    throw;
  }
  if (r == kRecoveryInUse) return;  // taken by another program meanwhile
  if (r == kRecoveryNoDirectory) return;
  if (r <= kRecoveryRamaOnly) return TellRecovered(inUse.rama, inUse.obra);
  ShowFailureAndStop(inUse);
}

void RecoverIfLeftOpen(const std::string& directory, const std::string& rama) {
  if (!HeldSetLeftOpen(directory, rama)) return;
  std::string obra = HeldSetHolder(directory, rama).obra;
  // An Obra removed since is no reason to keep the Rama from its rebuild.
  if (!obra.empty() && !Files().Exists(FindFileIn(directory, DataBaseName(6, rama + obra))))
    obra.clear();
  const int r = RecoverFileSet(directory, rama, obra);
  if (r == kRecoveryRamaAndObra || r == kRecoveryRamaOnly) return TellRecovered(rama, obra, true);
  // The lock file keeps saying "abierto": the set is not opened as it is.
  if (gRecovery.ui.failure) gRecovery.ui.failure(FailureLines({directory, rama, obra, ""}));
  DoHalt(1);
}

}  // namespace vantu
