#include "reports/chapter_walk.h"

#include "records/coded_records.h"
#include "reports/budget_listing_data.h"
#include "reports/listing_page.h"
#include "session/shell_state.h"
#include "storage/file_sets.h"

namespace vantu {

namespace {

constexpr int kChapterCodeLength = 2;

}  // namespace

bool ListedFileHasRecords(int area) {
  if (Area(area).Data.isOpen && UsedRecordCount(Area(area).Data) > 0) return true;
  ListingFoundNothing(kEmptyNoRecords);
  return false;
}

bool UsedByOpenObra(int area, const uint8_t* rec) {
  return !Shell().obraSelected ||
         GetI16(rec + coded::CalcStamp.offset) == Area(area).SavedSetSerial;
}

WalkEnd WalkChapters(ListingRun& run, const ChapterWalk& walk) {
  std::string pendingCode, pendingDescription;
  const bool whole = WalkInKeyOrder(walk.area, [&](const uint8_t* rec, const std::string& code) {
    if (CheckInterrupt()) return false;
    if (code.size() == kChapterCodeLength) {
      pendingCode = code;
      pendingDescription = ReadStr(rec + coded::kBodyStart, 35);
      if (walk.chapter) walk.chapter(rec);
      return true;
    }
    if (!UsedByOpenObra(walk.area, rec)) return true;
    run.Begin();
    if (!pendingCode.empty() && code.compare(0, kChapterCodeLength, pendingCode) == 0) {
      walk.heading(run, pendingCode, pendingDescription);
      pendingCode.clear();
    }
    walk.item(run, rec);
    return true;
  });
  return whole ? WalkEnd::Done : WalkEnd::Interrupted;
}

}  // namespace vantu
