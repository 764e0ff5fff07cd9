#include "reports/listing_run.h"

#include "reports/listing_engine.h"
#include "reports/listing_page.h"
#include "reports/listing_text.h"

namespace vantu {

void ListingRun::Begin() {
  if (listed) return;
  ListingPage& p = Page();
  if (from == 0 && p.Pass == 2) SeparatorPage();
  PageHeader(p.ListingTitle, ControlOf(area), from, to);
  listed = true;
}

bool ListingRun::Heading(int lines, int reserve) {
  ListingPage& p = Page();
  PageBreakCheck(area, from, to, p.PageLength - reserve);
  p.LineNumber = static_cast<int16_t>(p.LineNumber + lines);
  return p.PageInRange;
}

bool ListingRun::Line() {
  return Heading(1, 0);
}

bool ListingRun::Room(int reserve) {
  PageBreakCheck(area, from, to, Page().PageLength - reserve);
  return Page().PageInRange;
}

bool RunTwoPasses(ListingRun& run, const std::function<WalkEnd(ListingRun&)>& walk,
                  const std::function<void(ListingRun&)>& closeLastPage) {
  for (int pass = 1; pass <= 2; ++pass) {
    StartPass(pass);
    run.listed = false;
    if (walk(run) == WalkEnd::Interrupted) return false;
    if (pass == 1 && !run.listed) {
      ListingFoundNothing(kEmptyNotUsed);
      return false;
    }
  }
  if (closeLastPage) {
    closeLastPage(run);
  } else {
    CloseLastPage(run.listed);
  }
  return true;
}

}  // namespace vantu
