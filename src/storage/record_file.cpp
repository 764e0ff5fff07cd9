#include "storage/record_file.h"

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

void RequireOpen(const DataFileState& f) {
  if (!f.isOpen) FailEngine(kStatusNotOpen);
}

void ReadBytes(DataFileState& f, int64_t pos, void* data, size_t n) {
  RequireOpen(f);
  size_t done = 0;
  int err = Files().ReadAt(f.handle, pos, data, n, done);
  if (err != 0) FailEngine(StatusFromOsError(err, kStatusReadError));
  if (done != n) FailEngine(kStatusReadError);
}

void WriteBytes(DataFileState& f, int64_t pos, const void* data, size_t n) {
  RequireOpen(f);
  size_t done = 0;
  int err = Files().WriteAt(f.handle, pos, data, n, done);
  if (err != 0) FailEngine(StatusFromOsError(err, kStatusWriteError));
  if (done != n) FailEngine(kStatusWriteError);
}

void CheckRecordLength(int length) {
  if (length > kMaxRecordLength) FailEngine(kStatusRecordTooLong);
  if (length < kMinRecordLength) FailEngine(kStatusRecordTooShort);
}

void CheckRecordNumber(const DataFileState& f, int r, int first) {
  if (r < first || r >= f.RecordCount) FailEngine(kStatusRecordRange);
}

// Clears the state and creates or opens the named file; sets LastOpOk.
// Then checks the declared record length (fatal 1000, 1001).
bool Attach(DataFileState& f, const std::string& name, int recordLength, bool create) {
  EngineState& e = Engine();
  e.EngineStatus = 0;
  f = DataFileState{};
  f.name = name;
  int handle = -1;
  e.LastOpOk = name.size() <= kMaxFileNameLength &&
               (create ? Files().Create(name, handle) : Files().Open(name, handle)) == 0;
  if (!e.LastOpOk) return false;
  f.handle = handle;
  f.isOpen = true;
  CheckRecordLength(recordLength);
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
  if (f.FreeCount < 0 || f.FreeCount > f.RecordCount - 1) FailEngine(kStatusFreeChain);
  int16_t r = f.FreeHead;
  for (int i = 0; i < f.FreeCount; ++i) {
    if (r < 1 || r >= f.RecordCount) FailEngine(kStatusFreeChain);
    r = ReadLink(f, r);
  }
  if (r != -1) FailEngine(kStatusFreeChain);
}

}  // namespace

void MakeFile(DataFileState& f, const std::string& name, int recordLength) {
  if (!Attach(f, name, recordLength, true)) return;
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

void OpenRecordFile(DataFileState& f, const std::string& name, int recordLength,
                    int16_t mismatchStatus) {
  if (!Attach(f, name, recordLength, false)) return;
  int64_t size = 0;
  if (int err = Files().Size(f.handle, size); err != 0)
    FailEngine(StatusFromOsError(err, kStatusReadError));
  uint8_t h[kEngineHeaderBytes];
  ReadBytes(f, 0, h, sizeof h);
  f.FreeHead = GetI16(h + kHdrFreeHead);
  f.FreeCount = GetI16(h + kHdrFreeCount);
  f.RootPage = GetI16(h + kHdrRootPage);
  f.RecordLength = GetI16(h + kHdrRecordLength);
  if (f.RecordLength != recordLength) FailEngine(mismatchStatus);
  // A file ending inside a record is damaged.
  if (size % recordLength != 0) FailEngine(kStatusReadError);
  if (size / recordLength > kMaxRecordCount) FailEngine(kStatusFileFull);
  f.RecordCount = static_cast<int16_t>(size / recordLength);
  CheckFreeChain(f);
}

void OpenFile(DataFileState& f, const std::string& name, int recordLength) {
  OpenRecordFile(f, name, recordLength, kStatusDataLength);
}

void CloseFile(DataFileState& f) {
  RequireOpen(f);
  WriteHeader(f);
  f.isOpen = false;
  if (Files().Close(f.handle) != 0) FailEngine(kStatusDosFunction);
  f.handle = -1;
}

void FlushFile(DataFileState& f) {
  WriteHeader(f);
  if (int err = Files().Sync(f.handle); err != 0)
    FailEngine(StatusFromOsError(err, kStatusWriteError));
}

int16_t ReadLink(DataFileState& f, int16_t r) {
  uint8_t link[2];
  ReadBytes(f, Position(f, r), link, sizeof link);
  return GetI16(link);
}

int16_t NewRecordNumber(DataFileState& f) {
  RequireOpen(f);
  if (f.FreeHead == -1) {
    if (f.FreeCount != 0) FailEngine(kStatusFreeChain);
    if (f.RecordCount >= kMaxRecordCount) FailEngine(kStatusFileFull);
    return f.RecordCount++;
  }
  const int16_t r = f.FreeHead;
  if (r < 1 || r >= f.RecordCount || f.FreeCount < 1) FailEngine(kStatusFreeChain);
  const int16_t next = ReadLink(f, r);
  if (next != -1 && (next < 1 || next >= f.RecordCount || next == r)) FailEngine(kStatusFreeChain);
  f.FreeHead = next;
  f.FreeCount = static_cast<int16_t>(f.FreeCount - 1);
  if ((f.FreeCount == 0) != (next == -1)) FailEngine(kStatusFreeChain);
  return r;
}

void ReleaseRecord(DataFileState& f, int16_t r) {
  RequireOpen(f);
  CheckRecordNumber(f, r, 1);
  uint8_t link[2];
  PutI16(link, f.FreeHead);
  WriteBytes(f, Position(f, r), link, sizeof link);
  f.FreeHead = r;
  f.FreeCount = static_cast<int16_t>(f.FreeCount + 1);
}

void AddRec(DataFileState& f, int16_t& r, uint8_t* buf) {
  RequireOpen(f);
  // The counter lives in header bytes 11..20 and the stamp in bytes 2..11.
  if (f.RecordLength < kAddedCounterEnd) FailEngine(kStatusRecordTooShort);
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
  RequireOpen(f);
  CheckRecordNumber(f, r, 1);
  uint8_t* w = Engine().workBuffer.data();
  std::memset(w, 0, f.RecordLength);
  PutI16(w, f.FreeHead);
  WriteBytes(f, Position(f, r), w, f.RecordLength);
  f.FreeHead = r;
  f.FreeCount = static_cast<int16_t>(f.FreeCount + 1);
}

void GetRec(DataFileState& f, int16_t r, uint8_t* buf) {
  RequireOpen(f);
  if (r < 0 || r >= f.RecordCount) FailEngine(kStatusReadError);
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
