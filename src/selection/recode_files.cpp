#include "selection/recode_files.h"

#include <chrono>
#include <vector>

#include "records/codes.h"
#include "session/pstring.h"
#include "storage/btree.h"
#include "storage/file_io.h"
#include "storage/file_sets.h"
#include "storage/record_file.h"
#include "storage/record_runs.h"
#include "storage/storage_engine.h"
#include "toolkit/progress.h"

namespace vantu {

namespace {

using Clock = std::chrono::steady_clock;
bool gProgressShown = false;

void OpenData(DataFileState& data, int fileNo, const std::string& ext) {
  OpenFile(data, DataFileName(fileNo, ext), CodedRecordLength(fileNo));
  if (!LastOpOk()) FailEngine(kStatusDosFunction);
}

std::string CodeOf(const std::vector<uint8_t>& rec) {
  return ReadStr(rec.data() + kRecordCode, kRecordCodeLength);
}

// The most bytes a run of records holds before it is sent.
constexpr size_t kMaxRunBytes = 256 * 1024;

}  // namespace

void ReadRecordHead(DataFileState& f, int16_t r, uint8_t* head, size_t n) {
  if (!f.isOpen) FailEngine(kStatusNotOpen, f.name);
  if (r < 0 || r >= f.RecordCount || n > static_cast<size_t>(f.RecordLength))
    FailEngine(kStatusReadError, f.name);
  size_t done = 0;
  const int err = Files().ReadAt(f.handle, static_cast<int64_t>(r) * f.RecordLength, head, n, done);
  if (err != 0) FailEngine(StatusFromOsError(err, kStatusReadError), f.name);
  if (done != n) FailEngine(kStatusReadError, f.name);
}

void RecordRunWriter::Put(int16_t r, const uint8_t* rec) {
  const size_t length = static_cast<size_t>(f_.RecordLength);
  if (count_ > 0 && (r != first_ + count_ || bytes_.size() + length > kMaxRunBytes)) Flush();
  if (count_ == 0) first_ = r;
  bytes_.insert(bytes_.end(), rec, rec + length);
  ++count_;
}

void RecordRunWriter::Flush() {
  if (count_ == 0) return;
  PutRecRun(f_, first_, count_, bytes_.data());
  bytes_.clear();
  count_ = 0;
}

bool& RecodeProgressShown() {
  return gProgressShown;
}

int CodedRecordLength(int fileNo) {
  return kSetRecordLength.at(static_cast<size_t>(fileNo));
}

int CodedKeyLength(int fileNo) {
  return fileNo == kAreaAnalyses ? kAnalysisCodeLength : kItemCodeLength;
}

// The spinner pauses 5 ms at each step; on a file of 32,766 records that
// would add seconds of waiting per pass, so it turns at most every 50 ms.
void StepRecodeProgress(int count) {
  static Clock::time_point last{};
  if (count % kProgressEvery != 0 || !RecodeProgressShown()) return;
  const Clock::time_point now = Clock::now();
  if (now - last < std::chrono::milliseconds(50)) return;
  last = now;
  StepProgress(false);
}

FileRenumbering PrepareRenumbering(int fileNo, const std::string& ext, const RecodeParams& p) {
  FileRenumbering r;
  r.fileNo = fileNo;
  r.ext = ext;
  DataFileState data;
  OpenData(data, fileNo, ext);
  if (UsedRecordCount(data) > 0) {
    IndexFileState index;
    OpenIndex(index, IndexFileName(fileNo, ext), CodedKeyLength(fileNo), false);
    if (!LastOpOk()) FailEngine(kStatusDosFunction);
    uint8_t head[kRecordCode + 1 + kRecordCodeLength];  // the code: length byte, characters
    std::string key;
    int16_t n = 0;
    for (SearchKey(index, n, key); LastOpOk(); NextKey(index, n, key)) {
      if (n < 1 || n >= FileRecordCount(data)) continue;
      ReadRecordHead(data, n, head, sizeof head);
      if (GetI16(head) != 0) continue;
      r.records.push_back(n);
      r.current.push_back(ReadStr(head + kRecordCode, kRecordCodeLength));
      StepRecodeProgress(static_cast<int>(r.records.size()));
    }
    CloseIndex(index);
  }
  CloseFile(data);
  r.plan = PlanRenumbering(r.current, CodedKeyLength(fileNo) - kChapterCodeLength, p);
  return r;
}

void RenumberFile(const FileRenumbering& r) {
  if (r.plan.status != PlanStatus::kOk) return;
  const std::vector<size_t> order = WriteOrder(r.current, r.plan.codes);
  if (order.empty()) return;
  DataFileState data;
  OpenData(data, r.fileNo, r.ext);
  std::vector<uint8_t> rec(static_cast<size_t>(CodedRecordLength(r.fileNo)));
  int done = 0;
  for (size_t i : order) {
    GetRec(data, r.records[i], rec.data());
    WriteStr(rec.data() + kRecordCode, kRecordCodeLength, r.plan.codes[i]);
    PutRec(data, r.records[i], rec.data());
    StepRecodeProgress(++done);
  }
  CloseFile(data);
}

void ReindexFile(int fileNo, const std::string& ext) {
  DataFileState data;
  OpenData(data, fileNo, ext);
  const size_t length = static_cast<size_t>(CodedRecordLength(fileNo));
  std::vector<uint8_t> rec(length);
  // The calculation reviews a file whose marker is set.
  GetRec(data, 0, rec.data());
  if (rec[kHdrChangeMarker] != 1) {
    rec[kHdrChangeMarker] = 1;
    PutRec(data, 0, rec.data());
  }
  IndexFileState index;
  MakeIndex(index, IndexFileName(fileNo, ext), CodedKeyLength(fileNo), false);
  const int count = FileRecordCount(data);
  for (int b = 1; b < count; ++b) {
    const int16_t n = static_cast<int16_t>(b);
    GetRec(data, n, rec.data());
    StepRecodeProgress(b);
    if (GetI16(rec.data()) != 0) continue;
    std::string key = CodeOf(rec);
    AddKey(index, n, key);
  }
  CloseIndex(index);
  CloseFile(data);
}

}  // namespace vantu
