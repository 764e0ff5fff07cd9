#include "storage/record_file.h"

#include <cerrno>
#include <cstring>

#include "storage/file_io.h"
#include "storage/real10.h"
#include "storage/storage_engine.h"

namespace vantu {

namespace {

constexpr int kAddedCounterEnd = kHdrAddedCounter + 10;

int64_t Position(const DataFileState& f, int r, int within = 0) {
  return static_cast<int64_t>(r) * f.RecordLength + within;
}

// Every failure names the file it happened on.
[[noreturn]] void Fail(const DataFileState& f, int16_t code) {
  FailEngine(code, f.name);
}

void RequireOpen(const DataFileState& f) {
  if (!f.isOpen) Fail(f, kStatusNotOpen);
}

void ReadBytes(DataFileState& f, int64_t pos, void* data, size_t n) {
  RequireOpen(f);
  size_t done = 0;
  int err = Files().ReadAt(f.handle, pos, data, n, done);
  if (err != 0) Fail(f, StatusFromOsError(err, kStatusReadError));
  if (done != n) Fail(f, kStatusReadError);
}

void WriteBytes(DataFileState& f, int64_t pos, const void* data, size_t n) {
  RequireOpen(f);
  size_t done = 0;
  int err = Files().WriteAt(f.handle, pos, data, n, done);
  if (err != 0) Fail(f, StatusFromOsError(err, kStatusWriteError));
  if (done != n) Fail(f, kStatusDiskFull);
}

void CheckRecordLength(const DataFileState& f, int length) {
  if (length > kMaxRecordLength) Fail(f, kStatusRecordTooLong);
  if (length < kMinRecordLength) Fail(f, kStatusRecordTooShort);
}

void CheckRecordNumber(const DataFileState& f, int r, int first) {
  if (r < first || r >= f.RecordCount) Fail(f, kStatusRecordRange);
}

// Clears the state and creates or opens the named file; sets LastOpOk.
// Then checks the declared record length (fatal 1000, 1001).
enum class AttachMode { kOpen, kCreate, kCreateInPlace };

int OpenOrCreate(const std::string& name, AttachMode mode, int& handle) {
  switch (mode) {
    case AttachMode::kOpen:
      return Files().Open(name, handle);
    case AttachMode::kCreate:
      return Files().Create(name, handle);
    case AttachMode::kCreateInPlace:
      break;
  }
  const int err = Files().Open(name, handle);
  return err == ENOENT ? Files().Create(name, handle) : err;
}

bool Attach(DataFileState& f, const std::string& name, int recordLength, AttachMode mode) {
  const bool create = mode != AttachMode::kOpen;
  EngineState& e = Engine();
  e.EngineStatus = 0;
  f = DataFileState{};
  f.name = name;
  int handle = -1;
  // A length out of range is refused before a file is created or truncated.
  if (create) CheckRecordLength(f, recordLength);
  if (name.size() > kMaxFileNameLength)
    e.OpenError = ENAMETOOLONG;
  else
    e.OpenError = OpenOrCreate(name, mode, handle);
  e.LastOpOk = e.OpenError == 0;
  if (!e.LastOpOk) return false;
  f.handle = handle;
  f.isOpen = true;
  CheckRecordLength(f, recordLength);
  return true;
}

void WriteHeader(DataFileState& f) {
  uint8_t h[kEngineHeaderBytes];
  PutI16(h + kHdrFreeHead, f.FreeHead);
  PutI16(h + kHdrFreeCount, f.FreeCount);
  PutI16(h + kHdrRootPage, f.RootPage);
  PutI16(h + kHdrRecordLength, f.RecordLength);
  WriteBytes(f, 0, h, sizeof h);
}

// Walks the free chain once: every link inside the file, exactly FreeCount
// links, then the end mark. A loop never reaches the end mark.
void CheckFreeChain(DataFileState& f) {
  if (!FreeChainIsSound(f)) Fail(f, kStatusFreeChain);
}

}  // namespace

bool FreeChainIsSound(DataFileState& f) {
  if (f.FreeCount < 0 || f.FreeCount > f.RecordCount - 1) return false;
  if ((f.FreeCount == 0) != (f.FreeHead == -1)) return false;
  int16_t r = f.FreeHead;
  for (int i = 0; i < f.FreeCount; ++i) {
    if (r < 1 || r >= f.RecordCount) return false;
    r = ReadLink(f, r);
  }
  return r == -1;
}

namespace {

void WriteEmptyHeader(DataFileState& f, int recordLength) {
  uint8_t* w = Engine().workBuffer.data();
  f.FreeHead = -1;
  f.FreeCount = 0;
  f.RootPage = 0;
  f.RecordLength = static_cast<int16_t>(recordLength);
  std::memset(w, 0, recordLength);
  WriteBytes(f, 0, w, recordLength);
  WriteHeader(f);
  f.RecordCount = 1;
}

}  // namespace

void MakeFile(DataFileState& f, const std::string& name, int recordLength) {
  if (Attach(f, name, recordLength, AttachMode::kCreate)) WriteEmptyHeader(f, recordLength);
}

void MakeFileInPlace(DataFileState& f, const std::string& name, int recordLength) {
  if (Attach(f, name, recordLength, AttachMode::kCreateInPlace)) WriteEmptyHeader(f, recordLength);
}

void CutFileToRecords(DataFileState& f) {
  RequireOpen(f);
  int64_t size = 0;
  if (int err = Files().Size(f.handle, size); err != 0)
    Fail(f, StatusFromOsError(err, kStatusReadError));
  const int64_t end = Position(f, f.RecordCount);
  if (size <= end) return;
  if (int err = Files().Truncate(f.handle, end); err != 0)
    Fail(f, StatusFromOsError(err, kStatusWriteError));
}

namespace {

bool OpenUnchecked(DataFileState& f, const std::string& name, int recordLength,
                   int16_t mismatchStatus) {
  if (!Attach(f, name, recordLength, AttachMode::kOpen)) return false;
  int64_t size = 0;
  if (int err = Files().Size(f.handle, size); err != 0)
    Fail(f, StatusFromOsError(err, kStatusReadError));
  uint8_t h[kEngineHeaderBytes];
  ReadBytes(f, 0, h, sizeof h);
  f.FreeHead = GetI16(h + kHdrFreeHead);
  f.FreeCount = GetI16(h + kHdrFreeCount);
  f.RootPage = GetI16(h + kHdrRootPage);
  f.RecordLength = GetI16(h + kHdrRecordLength);
  if (f.RecordLength != recordLength) Fail(f, mismatchStatus);
  // Bytes after the last whole record (a write cut short) are not a record;
  // the next record appended overwrites them. The set's opening check and
  // the recovery move them to a side file first.
  if (size / recordLength > kMaxRecordCount) Fail(f, kStatusFileFull);
  f.RecordCount = static_cast<int16_t>(size / recordLength);
  return true;
}

}  // namespace

void OpenRecordFile(DataFileState& f, const std::string& name, int recordLength,
                    int16_t mismatchStatus) {
  if (OpenUnchecked(f, name, recordLength, mismatchStatus)) CheckFreeChain(f);
}

void OpenFileUnchecked(DataFileState& f, const std::string& name, int recordLength) {
  OpenUnchecked(f, name, recordLength, kStatusDataLength);
}

void OpenFile(DataFileState& f, const std::string& name, int recordLength) {
  OpenRecordFile(f, name, recordLength, kStatusDataLength);
}

void CloseFile(DataFileState& f) {
  RequireOpen(f);
  WriteHeader(f);
  f.isOpen = false;
  if (Files().Close(f.handle) != 0) Fail(f, kStatusDosFunction);
  f.handle = -1;
}

void FlushFile(DataFileState& f) {
  WriteHeader(f);
  if (int err = Files().Sync(f.handle); err != 0)
    Fail(f, StatusFromOsError(err, kStatusWriteError));
}

int16_t ReadLink(DataFileState& f, int16_t r) {
  uint8_t link[2];
  ReadBytes(f, Position(f, r), link, sizeof link);
  return GetI16(link);
}

int16_t NewRecordNumber(DataFileState& f) {
  RequireOpen(f);
  if (f.FreeHead == -1) {
    if (f.FreeCount != 0) Fail(f, kStatusFreeChain);
    if (f.RecordCount >= kMaxRecordCount) Fail(f, kStatusFileFull);
    return f.RecordCount++;
  }
  const int16_t r = f.FreeHead;
  if (r < 1 || r >= f.RecordCount || f.FreeCount < 1) Fail(f, kStatusFreeChain);
  const int16_t next = ReadLink(f, r);
  if (next != -1 && (next < 1 || next >= f.RecordCount || next == r)) Fail(f, kStatusFreeChain);
  f.FreeHead = next;
  f.FreeCount = static_cast<int16_t>(f.FreeCount - 1);
  if ((f.FreeCount == 0) != (next == -1)) Fail(f, kStatusFreeChain);
  return r;
}

// Writes record r whole as a free record: the link, then zeros. A whole
// record, not only the link, because a page taken by the tree in this
// session may never have been written: a 2-byte write there would leave
// the file ending inside a record.
void FreeRecord(DataFileState& f, int16_t r) {
  RequireOpen(f);
  CheckRecordNumber(f, r, 1);
  uint8_t* w = Engine().workBuffer.data();
  std::memset(w, 0, f.RecordLength);
  PutI16(w, f.FreeHead);
  WriteBytes(f, Position(f, r), w, f.RecordLength);
  f.FreeHead = r;
  f.FreeCount = static_cast<int16_t>(f.FreeCount + 1);
}

void ReleaseRecord(DataFileState& f, int16_t r) {
  FreeRecord(f, r);
}

void AddRec(DataFileState& f, int16_t& r, uint8_t* buf) {
  RequireOpen(f);
  // The counter lives in header bytes 11..20 and the stamp in bytes 2..11.
  if (f.RecordLength < kAddedCounterEnd) Fail(f, kStatusRecordTooShort);
  r = NewRecordNumber(f);
  uint8_t counter[10];
  ReadBytes(f, kHdrAddedCounter, counter, sizeof counter);
  StoreReal10(counter, LoadReal10(counter) + 1.0L);
  WriteBytes(f, kHdrAddedCounter, counter, sizeof counter);
  PutI16(buf + kRecStatus, 0);
  std::memcpy(buf + kRecStamp, counter, sizeof counter);
  WriteBytes(f, Position(f, r), buf, f.RecordLength);
}

void DeleteRec(DataFileState& f, int16_t r) {
  FreeRecord(f, r);
}

void GetRec(DataFileState& f, int16_t r, uint8_t* buf) {
  RequireOpen(f);
  if (r < 0 || r >= f.RecordCount) Fail(f, kStatusReadError);
  ReadBytes(f, Position(f, r), buf, f.RecordLength);
}

void PutRec(DataFileState& f, int16_t r, const uint8_t* buf) {
  RequireOpen(f);
  // Writing just past the end extends the file by that record.
  const bool appends = r == f.RecordCount && f.RecordCount < kMaxRecordCount;
  if (!appends) CheckRecordNumber(f, r, 0);
  WriteBytes(f, Position(f, r), buf, f.RecordLength);
  if (appends) f.RecordCount = static_cast<int16_t>(f.RecordCount + 1);
}

}  // namespace vantu
