#pragma once
// The two passes every listing makes over its data, and the page steps a
// walk takes before each heading and line.

#include <functional>

namespace vantu {

struct ListingRun {
  int area = 0;  // the work area whose SavedSetSerial is the control number
  int from = 1;  // FromPage; 0 prints a separator page first
  int to = 0;    // ToPage; 0 is the last page
  bool listed = false;

  // Before the first record that qualifies: the separator page (written in
  // pass 2 only) and the first header. Later calls do nothing.
  void Begin();
  // Before a group heading of `lines` lines: a heading never starts in the
  // last `reserve` lines of a page. Returns whether the page is written;
  // LineNumber grows by `lines`.
  bool Heading(int lines, int reserve = 5);
  // Before one detail line; returns whether the page is written. LineNumber
  // grows by 1.
  bool Line();
  // A page break check against PageLength - reserve without counting lines.
  bool Room(int reserve);
};

// What a walk reports.
enum class WalkEnd { Done, Interrupted };

// Pass 1 counts pages, pass 2 writes them; the last page is closed after
// pass 2. Nothing listed in pass 1 is reported (reason 1) and counted in
// EmptyListingCount. Returns false when nothing was written or the walk was
// interrupted. `closeLastPage`, when given, closes the last page in place
// of the engine's CloseLastPage.
bool RunTwoPasses(ListingRun& run, const std::function<WalkEnd(ListingRun&)>& walk,
                  const std::function<void(ListingRun&)>& closeLastPage = nullptr);

}  // namespace vantu
