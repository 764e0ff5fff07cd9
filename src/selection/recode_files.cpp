#include "selection/recode_files.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "records/codes.h"
#include "session/pstring.h"
#include "storage/btree.h"
#include "storage/file_sets.h"
#include "storage/record_file.h"
#include "storage/storage_engine.h"
#include "toolkit/progress.h"

namespace vantu {

namespace {

bool gProgressShown = false;

void OpenData(DataFileState& data, int fileNo, const std::string& ext) {
  OpenFile(data, DataFileName(fileNo, ext), CodedRecordLength(fileNo));
  if (!LastOpOk()) FailEngine(kStatusDosFunction);
}

}  // namespace

bool& RecodeProgressShown() {
  return gProgressShown;
}

int CodedRecordLength(int fileNo) {
  return kSetRecordLength.at(static_cast<size_t>(fileNo));
}

int CodedKeyLength(int fileNo) {
  return fileNo == kAreaAnalyses ? kAnalysisCodeLength : kItemCodeLength;
}

// The progress window paces the host itself: a step costs a look at the
// clock, so every few records is often enough.
void StepRecodeProgress(int count) {
  if (count % kProgressEvery == 0 && RecodeProgressShown()) StepProgress(false);
}

RecordHead HeadOf(const uint8_t* rec) {
  RecordHead h;
  if (GetI16(rec) != 0) return h;
  h.inUse = true;
  std::memcpy(h.stamp.data(), rec + kRecordStampAt, h.stamp.size());
  h.codeLength = std::min<uint8_t>(rec[kRecordCode], kRecordCodeLength);
  std::memcpy(h.code.data(), rec + kRecordCode + 1, h.code.size());
  return h;
}

std::vector<RecordHead> ReadRecordHeads(DataFileState& f) {
  std::vector<RecordHead> heads(static_cast<size_t>(FileRecordCount(f)));
  RecordScanner scanner(f);
  for (size_t b = 1; b < heads.size(); ++b) heads[b] = HeadOf(scanner.Get(static_cast<int16_t>(b)));
  return heads;
}

FileRenumbering PrepareRenumbering(int fileNo, const std::string& ext, const RecodeParams& p) {
  FileRenumbering r;
  r.fileNo = fileNo;
  r.ext = ext;
  DataFileState data;
  OpenData(data, fileNo, ext);
  if (UsedRecordCount(data) > 0) {
    r.heads = ReadRecordHeads(data);
    const std::vector<RecordHead>& heads = r.heads;
    IndexFileState index;
    OpenIndex(index, IndexFileName(fileNo, ext), CodedKeyLength(fileNo), false);
    if (!LastOpOk()) FailEngine(kStatusDosFunction);
    std::string key;
    int16_t n = 0;
    for (SearchKey(index, n, key); LastOpOk(); NextKey(index, n, key)) {
      if (n < 1 || n >= FileRecordCount(data) || !heads[n].inUse) continue;
      r.records.push_back(n);
      r.current.emplace_back(heads[n].Code());
      StepRecodeProgress(static_cast<int>(r.records.size()));
    }
    CloseIndex(index);
  }
  CloseFile(data);
  r.plan = PlanRenumbering(r.current, CodedKeyLength(fileNo) - kChapterCodeLength, p);
  return r;
}

// Each write takes its record as the file held it before this pass: the
// pass changes nothing but the codes it sets. Records whose code grows are
// written from the last one back, and so one write each; those whose code
// shrinks go out in runs.
void RenumberFile(FileRenumbering& r) {
  if (r.plan.status != PlanStatus::kOk) return;
  const std::vector<size_t> order = WriteOrder(r.current, r.plan.codes);
  if (order.empty()) return;
  DataFileState data;
  OpenData(data, r.fileNo, r.ext);
  const size_t length = static_cast<size_t>(CodedRecordLength(r.fileNo));
  std::vector<uint8_t> rec(length);
  RecordScanner scanner(data);
  RecordRunWriter writer(data);
  int done = 0;
  for (size_t i : order) {
    std::memcpy(rec.data(), scanner.Get(r.records[i]), length);
    WriteStr(rec.data() + kRecordCode, kRecordCodeLength, r.plan.codes[i]);
    writer.Put(r.records[i], rec.data());
    if (static_cast<size_t>(r.records[i]) < r.heads.size())
      r.heads[static_cast<size_t>(r.records[i])] = HeadOf(rec.data());
    StepRecodeProgress(++done);
  }
  writer.Flush();
  CloseFile(data);
}

std::vector<RecordHead> ReindexFile(int fileNo, const std::string& ext,
                                    std::vector<RecordHead> known) {
  DataFileState data;
  OpenData(data, fileNo, ext);
  std::vector<uint8_t> header(static_cast<size_t>(CodedRecordLength(fileNo)));
  // The calculation reviews a file whose marker is set.
  GetRec(data, 0, header.data());
  if (header[kHdrChangeMarker] != 1) {
    header[kHdrChangeMarker] = 1;
    PutRec(data, 0, header.data());
  }
  std::vector<RecordHead> heads = std::move(known);
  if (heads.size() != static_cast<size_t>(FileRecordCount(data))) heads = ReadRecordHeads(data);
  IndexFileState index;
  MakeIndex(index, IndexFileName(fileNo, ext), CodedKeyLength(fileNo), false);
  std::string key;
  for (size_t b = 1; b < heads.size(); ++b) {
    const auto n = static_cast<int16_t>(b);
    StepRecodeProgress(n);
    if (!heads[b].inUse) continue;
    key = heads[b].Code();
    AddKey(index, n, key);
  }
  CloseIndex(index);
  CloseFile(data);
  return heads;
}

}  // namespace vantu
