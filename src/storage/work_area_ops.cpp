// Opening, loading, flushing and closing the files of a work area.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "session/preferences.h"
#include "session/selection_state.h"
#include "storage/file_io.h"
#include "storage/file_repair.h"
#include "storage/file_sets.h"
#include "storage/recovery.h"
#include "storage/set_in_use.h"
#include "storage/set_lock.h"
#include "storage/storage_engine.h"

namespace vantu {

namespace fs = std::filesystem;

namespace {

int FileNumber(const WorkArea& a) {
  return a.BaseName.empty() ? 0 : a.BaseName.back() - '0';
}

void LoadHeaderCopies(WorkArea& a) {
  std::vector<uint8_t> rec(static_cast<size_t>(a.RecordLength));
  GetRec(a.Data, 0, rec.data());
  a.SavedChangeMarker = rec[kHdrChangeMarker];
  a.SavedSetSerial = GetI16(rec.data() + kHdrSetSerial);
}

void StoreHeaderCopies(WorkArea& a) {
  std::vector<uint8_t> rec(static_cast<size_t>(a.RecordLength));
  GetRec(a.Data, 0, rec.data());
  rec[kHdrChangeMarker] = a.SavedChangeMarker;
  PutI16(rec.data() + kHdrSetSerial, a.SavedSetSerial);
  PutRec(a.Data, 0, rec.data());
}

void CreateFiles(WorkArea& a, const std::string& dataName, const std::string& indexName) {
  a.CreatedAnew = true;
  MakeFile(a.Data, dataName, a.RecordLength);
  if (!LastOpOk()) FailEngine(StatusFromOsError(Engine().OpenError, kStatusWriteError), dataName);
  if (a.FileKind == kIndexedFile) MakeIndex(a.Index, indexName, a.KeyLength, false);
  std::vector<uint8_t> rec(static_cast<size_t>(a.RecordLength));
  GetRec(a.Data, 0, rec.data());
  std::fill(rec.begin() + kEngineHeaderBytes, rec.end(), 0);
  rec[kHdrChangeMarker] = 1;
  PutI16(rec.data() + kHdrSetSerial, 0);
  PutRec(a.Data, 0, rec.data());
  a.SavedChangeMarker = 1;
  a.SavedSetSerial = 0;
}

// Arms the in-use marker for the set of area n: whoever writes a set holds
// its lock, and the marker reaches the disk just before the first change
// of any file, so that a stop from there on is repaired at the next start.
// An opening that only reads, or that fails, leaves no marker.
void MarkBeforeWriting(int n, const WorkArea& a) {
  if (!FileSetGuards().markBeforeWriting) return;
  const std::string rama = a.Extension.substr(0, 1);
  std::string obra;
  if (n == kAreaBudget)
    obra = a.Extension.substr(1);
  else if (Area(kAreaBudget).Data.isOpen && Area(kAreaBudget).Extension.substr(0, 1) == rama)
    obra = Area(kAreaBudget).Extension.substr(1);
  const std::string& dir = Selection().DataDirectory;
  // The selection takes the lock before it opens anything; this only
  // catches a way in that forgot to.
  const SetLockAttempt lock = TakeSetLock(dir, rama);
  if (lock.result == SetLockResult::kInUse) FailEngine(kStatusSetInUse, lock.lockFile);
  if (lock.result == SetLockResult::kFailed)
    FailEngine(StatusFromOsError(lock.error, kStatusAccessDenied), lock.lockFile);
  MarkSetInUseAtFirstChange(dir, rama, obra);
}

// A missing data file means a new Rama or Obra only when nothing of it is
// left: an index without its data, or a Rama file missing beside a file 1
// that existed, is a damaged set, refused before anything is created.
void RefuseDamagedSet(int n, const WorkArea& a, const std::string& dataName,
                      const std::string& indexName) {
  if (a.FileKind == kIndexedFile && Files().Exists(indexName))
    FailEngine(kStatusDataFileMissing, dataName);
  // File 1 missing beside the Rama's other files is a lost file, never a
  // new Rama: its general data would start blank.
  if (n == kAreaGeneral) {
    for (int other = 2; other <= 5; ++other)
      if (Files().Exists(DataFileName(other, a.Extension)) ||
          Files().Exists(IndexFileName(other, a.Extension)))
        FailEngine(kStatusSetFileMissing, dataName);
    return;
  }
  const WorkArea& first = Area(kAreaGeneral);
  if (n > kAreaGeneral && n < kAreaBudget && first.Data.isOpen && first.Extension == a.Extension &&
      !first.CreatedAnew)
    FailEngine(kStatusSetFileMissing, dataName);
}

// The opening check: a partial trailing record, a broken free chain, a
// missing or damaged index, or an index that disagrees with the data is
// repaired from the data records when the user accepts (always when no
// screen asks); files that cannot be used as they are end the program
// naming the file and the reason before anything is written.
void CheckBeforeOpening(int n, WorkArea& a, const std::string& dataName,
                        const std::string& indexName) {
  const int keyLength = a.FileKind == kIndexedFile ? a.KeyLength : 0;
  const StoredFileCheck c =
      CheckStoredFile(dataName, a.RecordLength, indexName, keyLength, a.FileKind);
  if (c.openError != 0) FailEngine(StatusFromOsError(c.openError, kStatusReadError), dataName);
  if (c.lengthStatus != 0) FailEngine(c.lengthStatus, dataName);
  if (!c.Repairable()) return;
  const std::string file = fs::path(dataName).filename().string();
  const RecoveryUi& ui = RecoveryScreens();
  if (ui.offerRepair && !ui.offerRepair(file, c.Reason())) return;
  MarkBeforeWriting(n, a);
  RebuildFileKeepingSerial(FileNumber(a), a.RecordLength, a.Extension);
  ShowRepairReport();
  a.indexRebuilt = keyLength > 0;
  if (!ui.notice) return;
  if (c.indexMissing)
    ui.notice("Indice reconstruido desde los datos: " + fs::path(indexName).filename().string());
  else
    ui.notice("Archivo regenerado desde los datos: " + file);
}

}  // namespace

void OpenOrCreateFiles(int n) {
  WorkArea& a = Area(n);
  if (a.FileKind == kNoFile) return;
  const int fileNo = FileNumber(a);
  const std::string dataName = DataFileName(fileNo, a.Extension);
  const std::string indexName = IndexFileName(fileNo, a.Extension);
  if (!Files().Exists(dataName)) {
    RefuseDamagedSet(n, a, dataName, indexName);
    MarkBeforeWriting(n, a);
    CreateFiles(a, dataName, indexName);
    return;
  }
  CheckBeforeOpening(n, a, dataName, indexName);
  MarkBeforeWriting(n, a);
  OpenFile(a.Data, dataName, a.RecordLength);
  if (!LastOpOk()) FailEngine(StatusFromOsError(Engine().OpenError, kStatusReadError), dataName);
  a.CreatedAnew = false;
  if (a.FileKind == kIndexedFile) {
    OpenIndex(a.Index, indexName, a.KeyLength, false);
    if (!LastOpOk()) FailEngine(StatusFromOsError(Engine().OpenError, kStatusReadError), indexName);
  }
  LoadHeaderCopies(a);
}

FileSetGuard& FileSetGuards() {
  static FileSetGuard guards;
  return guards;
}

void LoadFirstRecord(int n, uint8_t* buffer) {
  WorkArea& a = Area(n);
  if (a.FileKind == kNoFile || !a.Data.isOpen) return;
  const size_t len = static_cast<size_t>(a.RecordLength);
  const int used = UsedRecordCount(a.Data);
  if (a.FileKind == kIndexedFile) {
    a.CurrentKey.clear();
    if (used == 0) {
      std::memset(buffer, 0, len);
      return;
    }
    std::string key;
    int16_t r = 0;
    SearchKey(a.Index, r, key);
    if (!LastOpOk()) {
      std::memset(buffer, 0, len);
      return;
    }
    a.CurrentRecord = r;
    GetRec(a.Data, r, buffer);
    return;
  }
  if (used == 0) {
    std::memset(buffer, 0, len);
    PutI16(buffer, -1);
    PutI16(buffer + 2, 1);
    if (FileRecordCount(a.Data) > 1) {
      // Every record is on the free chain: take one through the chain so
      // that the chain stays whole.
      int16_t r = 0;
      AddRec(a.Data, r, buffer);
      PutI16(buffer, -1);
      PutI16(buffer + 2, 1);
      a.CurrentRecord = r;
      PutRec(a.Data, r, buffer);
      return;
    }
    // Record 1 is written in place; the file grows by one record.
    a.CurrentRecord = 1;
    PutRec(a.Data, 1, buffer);
    return;
  }
  a.CurrentRecord = static_cast<int16_t>(used);
  GetRec(a.Data, a.CurrentRecord, buffer);
}

void OpenWorkArea(int n, bool filesClosed, uint8_t* buffer, const std::string& ext,
                  int recordLength) {
  if (!filesClosed) CloseWorkArea(n);
  SetUpWorkArea(n, recordLength);
  Area(n).Extension = ext.substr(0, 3);
  if (n == 1) ConvertOldGeneralData(Area(n).Extension);
  OpenOrCreateFiles(n);
  LoadFirstRecord(n, buffer);
}

void FlushWorkArea(int n) {
  WorkArea& a = Area(n);
  if (!a.Data.isOpen) return;
  StoreHeaderCopies(a);
  FlushFile(a.Data);
  if (a.FileKind == kIndexedFile && a.Index.File.isOpen) FlushIndex(a.Index);
}

int CloseWorkArea(int n) {
  WorkArea& a = Area(n);
  if (!a.Data.isOpen) return 0;
  StoreHeaderCopies(a);
  CloseFile(a.Data);
  if (a.FileKind == kIndexedFile && a.Index.File.isOpen) CloseIndex(a.Index);
  return 0;
}

}  // namespace vantu
