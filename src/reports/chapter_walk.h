#pragma once
// The walk the chapter listings and the price-update forms share over a
// coded file (inputs, analyses, subcontracts): records in key order, a
// record with a two-character code is a chapter whose heading waits for
// its first listed item, and with an Obra open only the items its last
// calculation used qualify.

#include <cstdint>
#include <functional>
#include <string>

#include "reports/listing_run.h"

namespace vantu {

// True when the area's file holds records; otherwise the "no data" note
// (reason 0) is given and counted.
bool ListedFileHasRecords(int area);

// An item of the area's file qualifies when no Obra is open, or when the
// Obra's last calculation used it: its CalcStamp is the file's
// SavedSetSerial.
bool UsedByOpenObra(int area, const uint8_t* rec);

struct ChapterWalk {
  int area = 0;
  // Every chapter record as it is met (what its items need, such as the
  // input group's factor); may be empty.
  std::function<void(const uint8_t* rec)> chapter;
  // The pending chapter's heading, before its first qualifying item.
  std::function<void(ListingRun& run, const std::string& code, const std::string& description)>
      heading;
  // One qualifying item, after the run has begun its first page.
  std::function<void(ListingRun& run, const uint8_t* rec)> item;
};

// One pass of the walk; Interrupted when a request to interrupt was seen.
WalkEnd WalkChapters(ListingRun& run, const ChapterWalk& walk);

}  // namespace vantu
