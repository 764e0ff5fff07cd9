#include "estimating/analysis_globals.h"

#include <optional>

#include "records/codes.h"
#include "session/work_area_ids.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"
#include "toolkit/dates.h"

namespace vantu {

namespace {

WorkArea& Globals() {
  return Area(kAreaGlobals);
}

bool IsRecordNumber(int16_t r) {
  return r >= 1 && r < FileRecordCount(Globals().Data);
}

GlobalPriceRecord ReadGlobal(int16_t r) {
  GlobalPriceRecord g;
  if (IsRecordNumber(r)) GetRec(Globals().Data, r, g.data());
  return g;
}

}  // namespace

GlobalListHeader ReadGlobalHeader() {
  GlobalPriceHeader raw;
  GetRec(Globals().Data, 0, raw.data());
  GlobalListHeader h{Get(raw, global_price_header::HighestRecNo),
                     Get(raw, global_price_header::FreeRecCount),
                     Get(raw, global_price_header::FirstFree)};
  // Numbers a stop handed out without writing their records are taken
  // again: new records are always appended at the file's end.
  const auto last = static_cast<int16_t>(FileRecordCount(Globals().Data) - 1);
  if (h.highest > last) h.highest = last;
  return h;
}

void WriteGlobalHeader(const GlobalListHeader& h) {
  GlobalPriceHeader raw;
  GetRec(Globals().Data, 0, raw.data());
  Set(raw, global_price_header::HighestRecNo, h.highest);
  Set(raw, global_price_header::FreeRecCount, h.freeCount);
  Set(raw, global_price_header::FirstFree, h.firstFree);
  PutRec(Globals().Data, 0, raw.data());
  Globals().SavedChangeMarker = 1;
  FlushWorkArea(kAreaGlobals);
}

int16_t TakeGlobalRecord(GlobalListHeader& h) {
  if (h.freeCount > 0 && IsRecordNumber(h.firstFree)) {
    const GlobalPriceRecord g = ReadGlobal(h.firstFree);
    if (Get(g, global_price::RecordStatus) == global_price::kFree) {
      const int16_t r = h.firstFree;
      h.firstFree = Get(g, global_price::NextFree);
      h.freeCount = static_cast<int16_t>(h.freeCount - 1);
      if (h.freeCount == 0) h.firstFree = 0;
      return r;
    }
  }
  if (h.freeCount > 0) h = {h.highest, 0, 0};
  // The next number after the highest; a record in use there (written
  // before a stop kept the header from following) is stepped over.
  const auto last = static_cast<int16_t>(FileRecordCount(Globals().Data) - 1);
  int16_t r = static_cast<int16_t>(h.highest + 1);
  while (r <= last && Get(ReadGlobal(r), global_price::RecordStatus) == 0) ++r;
  h.highest = r;
  return h.highest;
}

void FreeGlobalRecord(GlobalListHeader& h, int16_t r) {
  if (!IsRecordNumber(r)) return;
  GlobalPriceRecord g = ReadGlobal(r);
  if (Get(g, global_price::RecordStatus) == global_price::kFree) return;
  Set(g, global_price::RecordStatus, global_price::kFree);
  Set(g, global_price::NextFree, h.freeCount > 0 ? h.firstFree : int16_t{0});
  PutRec(Globals().Data, r, g.data());
  h.firstFree = r;
  h.freeCount = static_cast<int16_t>(h.freeCount + 1);
}

bool HasGlobalLines(const AnalysisLines& m) {
  for (int g = 1; g <= analysis::kGroups; ++g)
    for (const EditLine& l : m.lines[g])
      if (TypeOf(l) == LineType::kGlobal) return true;
  return false;
}

// The last record given up in this visit that can pass straight to a new
// line: one in use, never one the free list already holds.
std::optional<int16_t> TakeReleased(std::vector<int16_t>& released) {
  while (!released.empty()) {
    const int16_t r = released.back();
    released.pop_back();
    if (IsRecordNumber(r) && Get(ReadGlobal(r), global_price::RecordStatus) == 0) return r;
  }
  return std::nullopt;
}

void WriteGlobalLines(AnalysisLines& m, const std::string& ownerCode,
                      const std::string& ownerDescription, std::vector<int16_t>& released) {
  if (!Globals().Data.isOpen || !HasGlobalLines(m)) return;
  GlobalListHeader h = ReadGlobalHeader();
  bool taken = false;
  for (int g = 1; g <= analysis::kGroups; ++g) {
    for (EditLine& l : m.lines[g]) {
      if (TypeOf(l) != LineType::kGlobal || Get(l.line, analysis_line::RefRecNo) > 0) continue;
      std::optional<int16_t> r = TakeReleased(released);
      if (!r) {
        r = TakeGlobalRecord(h);
        taken = true;
      }
      Set(l.line, analysis_line::RefRecNo, *r);
      l.cache.renewDate = true;
    }
  }
  if (taken) WriteGlobalHeader(h);
  for (int g = 1; g <= analysis::kGroups; ++g) {
    for (EditLine& l : m.lines[g]) {
      if (TypeOf(l) != LineType::kGlobal) continue;
      const int16_t r = Get(l.line, analysis_line::RefRecNo);
      GlobalPriceRecord rec = ReadGlobal(r);  // keeps CalcStamp and the date
      Set(rec, global_price::RecordStatus, int16_t{0});
      Set(rec, global_price::OwnRecNo, r);
      Set(rec, global_price::NextFree, int16_t{0});
      Set(rec, global_price::InUseMarker, uint8_t{1});
      Set(rec, global_price::Description, l.cache.description);
      Set(rec, global_price::GlobalPrice, l.cache.price);
      Set(rec, global_price::OwnerCode, ownerCode);
      Set(rec, global_price::OwnerDescription, ownerDescription);
      if (l.cache.renewDate) Set(rec, global_price::PriceDate, TodayShort());
      PutRec(Globals().Data, r, rec.data());
      l.cache.priceChanged = l.cache.renewDate = false;
    }
  }
  Globals().SavedChangeMarker = 1;
  FlushWorkArea(kAreaGlobals);
}

void RenameGlobalOwner(const AnalysisRecord& a, const std::string& oldDescription) {
  if (!Globals().Data.isOpen) return;
  const std::string description = Get(a, analysis::Description);
  bool renamed = false;
  const AnalysisSections s = ReadSections(a);
  for (int g = 1; g <= analysis::kGroups; ++g) {
    for (const AnalysisLine& l : s.lines[g]) {
      if (static_cast<LineType>(Get(l, analysis_line::LineType)) != LineType::kGlobal) continue;
      const int16_t r = Get(l, analysis_line::RefRecNo);
      if (!IsRecordNumber(r)) continue;
      GlobalPriceRecord rec = ReadGlobal(r);
      if (Get(rec, global_price::RecordStatus) != 0 ||
          Get(rec, global_price::OwnerDescription) != oldDescription)
        continue;
      Set(rec, global_price::OwnerDescription, description);
      PutRec(Globals().Data, r, rec.data());
      renamed = true;
    }
  }
  if (!renamed) return;
  Globals().SavedChangeMarker = 1;
  FlushWorkArea(kAreaGlobals);
}

void ReleaseGlobalRecords(const std::vector<int16_t>& records) {
  if (!Globals().Data.isOpen || records.empty()) return;
  GlobalListHeader h = ReadGlobalHeader();
  for (int16_t r : records) FreeGlobalRecord(h, r);
  WriteGlobalHeader(h);
}

}  // namespace vantu
