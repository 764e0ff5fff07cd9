// Opening, loading, flushing and closing the files of a work area.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "storage/file_sets.h"
#include "storage/recovery.h"
#include "session/selection_state.h"
#include "storage/storage_engine.h"

namespace vantu {

namespace fs = std::filesystem;

namespace {

int FileNumber(const WorkArea& a) { return a.BaseName.empty() ? 0 : a.BaseName.back() - '0'; }

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
  if (!LastOpOk()) FailEngine(kStatusWriteError);
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

// The data file opened but its index did not: the index is rebuilt from
// the data, as the recovery does, and the user is told.
void RebuildMissingIndex(WorkArea& a, const std::string& dataName, const std::string& indexName) {
  CloseFile(a.Data);
  RebuildFile(FileNumber(a), a.RecordLength, a.Extension);
  OpenFile(a.Data, dataName, a.RecordLength);
  if (!LastOpOk()) FailEngine(kStatusReadError);
  OpenIndex(a.Index, indexName, a.KeyLength, false);
  if (!LastOpOk()) FailEngine(kStatusReadError);
  a.indexRebuilt = true;
  if (RecoveryScreens().notice)
    RecoveryScreens().notice("Indice reconstruido desde los datos: " +
                             fs::path(indexName).filename().string());
}

}  // namespace

void OpenOrCreateFiles(int n) {
  WorkArea& a = Area(n);
  if (a.FileKind == kNoFile) return;
  const int fileNo = FileNumber(a);
  const std::string dataName = DataFileName(fileNo, a.Extension);
  const std::string indexName = IndexFileName(fileNo, a.Extension);
  OpenFile(a.Data, dataName, a.RecordLength);
  if (!LastOpOk()) {
    CreateFiles(a, dataName, indexName);
    return;
  }
  a.CreatedAnew = false;
  if (a.FileKind == kIndexedFile) {
    OpenIndex(a.Index, indexName, a.KeyLength, false);
    if (!LastOpOk()) RebuildMissingIndex(a, dataName, indexName);
  }
  LoadHeaderCopies(a);
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
