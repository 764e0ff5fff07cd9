#include "reports/schedule_listing_pages.h"

#include <algorithm>

#include "reports/listing_engine.h"
#include "reports/listing_page.h"
#include "reports/listing_text.h"
#include "schedule/schedule_state.h"
#include "session/selection_state.h"
#include "session/shell_state.h"
#include "session/work_area_ids.h"
#include "storage/file_sets.h"

namespace vantu {

namespace {

constexpr int kBaseMargin = 10;
constexpr int kNarrowPaper = 135;
constexpr int kDotMatrixWidePaper = 240;
constexpr int kLaserLandscapePaper = 180;
constexpr int kDotMatrixLines = 53;
constexpr int kLaserLines = 93;
constexpr int kLaserLandscapeLines = 69;
constexpr int kLaserTableLines = 87;
constexpr int kDotMatrixHeader = 11;
constexpr int kLaserHeader = 13;

std::string ZeroPadded(int n, int digits) {
  std::string s = std::to_string(n);
  if (static_cast<int>(s.size()) < digits) s.insert(0, static_cast<size_t>(digits) - s.size(), '0');
  return s;
}

}  // namespace

ScheduleGeometry ChartGeometry(bool dotMatrix, int yearBlocks, const Margins& a, const Margins& b) {
  ScheduleGeometry g;
  const int blocks = std::clamp(yearBlocks, 1, 5);
  const bool longer = blocks > 2;
  const Margins& m = longer ? b : a;
  g.headerLines = dotMatrix ? kDotMatrixHeader : kLaserHeader;
  g.leftMargin = m.left + kBaseMargin;
  if (dotMatrix) {
    static constexpr int kWidths[] = {6, 3, 4, 3, 3};
    g.periodWidth = kWidths[blocks - 1];
    g.paperWidth = longer ? kDotMatrixWidePaper : kNarrowPaper;
    g.pageLength = kDotMatrixLines - m.bottom;
    // Five years of three-character columns only fit without the base margin.
    if (blocks == 5) g.leftMargin = m.left;
  } else {
    static constexpr int kWidths[] = {6, 3, 3, 2, 2};
    g.periodWidth = kWidths[blocks - 1];
    g.paperWidth = longer ? kLaserLandscapePaper : kNarrowPaper;
    g.pageLength = (longer ? kLaserLandscapeLines : kLaserLines) - m.bottom;
  }
  return g;
}

ScheduleGeometry GraphGeometry(bool dotMatrix, const Margins& a) {
  return ChartGeometry(dotMatrix, 1, a, a);
}

ScheduleGeometry PaymentTableGeometry(bool dotMatrix, const Margins& a) {
  ScheduleGeometry g = GraphGeometry(dotMatrix, a);
  g.headerLines = kLaserHeader;
  g.pageLength = (dotMatrix ? kDotMatrixLines : kLaserTableLines) - a.bottom;
  g.topAdjustment = a.top;
  return g;
}

std::vector<int> DistributeRows(int items, int pageLength, int headerLines,
                                const std::function<bool(int)>& movesDown) {
  std::vector<int> pages;
  if (items <= 0) return pages;
  const int perPage = std::max(1, (pageLength - headerLines) / 2);
  const int count = (items + perPage - 1) / perPage;
  // A page gives its last row to the next when that row may not end it.
  const auto take = [&](int start, int n) {
    if (movesDown && n > 1 && start + n < items && movesDown(start + n - 1)) --n;
    return n;
  };
  int start = 0;
  for (int i = 0; i + 1 < count; ++i) {
    const int n = take(start, items / count + (i < items % count ? 1 : 0));
    pages.push_back(n);
    start += n;
  }
  // The last page takes what is left; rows moved down may make it more
  // than a page holds, and the excess goes on further pages.
  while (start < items) {
    const int n = take(start, std::min(perPage, items - start));
    pages.push_back(n);
    start += n;
  }
  return pages;
}

int TopBlankLines(int items, int pages, int pageLength, int headerLines) {
  if (pages <= 0) return 0;
  return std::max(0, ((pageLength - headerLines) - 2 * (items / pages)) / 2);
}

std::string ScheduleControlText() {
  return ZeroPadded(Area(kAreaBudget).SavedSetSerial, 4) + "/" +
         ZeroPadded(Schedule().block.ScheduleSerial(), 3);
}

void SchedulePageHeader(const std::string& title, int from, int to) {
  ListingPage& p = Page();
  p.LineNumber = p.HeaderLines;
  ++p.PageNumber;
  p.PageInRange = (to == 0 || p.PageNumber <= to) && p.PageNumber >= from;
  if (!p.PageInRange) return;
  const SelectionState& sel = Selection();
  BoldOn();
  CentredTitleLine(Shell().consultantName);
  EmptyLine();
  BoldOn();
  CentredLine(title);
  RuleLine(frame::kRuleOverTitle);
  LeftRightLine(sel.ObraName, sel.ObraReference);
  ThreePartLine(
      sel.BudgetDate.substr(0, 8), "Control : " + ScheduleControlText(),
      "Hoja [" + std::to_string(p.PageNumber) + "] de [" + std::to_string(p.PageCount) + "]");
  RuleLine(frame::kRuleUnderHeader);
  BoldOff();
}

bool WriteSchedulePages(const SchedulePageLayout& layout, int from, int to) {
  ListingPage& p = Listing().page;
  p = ListingPage{};
  p.Pass = 2;
  p.HeaderLines = static_cast<int16_t>(layout.geometry.headerLines);
  p.PageLength = static_cast<int16_t>(layout.geometry.pageLength);
  p.PageWidth = static_cast<int16_t>(layout.pageWidth);
  p.LeftMargin = static_cast<int16_t>(InViewMode() ? 1 : layout.geometry.leftMargin);
  p.ListingTitle = layout.title;
  p.PageCount = static_cast<int16_t>(layout.rowsPerPage.size());
  if (layout.rowsPerPage.empty()) return false;
  if (from == 0) {
    SeparatorPage();
    if (layout.afterSeparator) layout.afterSeparator();
  }
  const int blanks = InViewMode()
                         ? 1
                         : TopBlankLines(layout.items, p.PageCount, p.PageLength, p.HeaderLines) +
                               layout.geometry.topAdjustment;
  int first = 0;
  for (size_t i = 0; i < layout.rowsPerPage.size(); ++i) {
    const int number = static_cast<int>(i) + 1;
    if (to != 0 && number > to) break;
    const int count = layout.rowsPerPage[i];
    if (number >= from) {
      for (int b = 0; b < blanks; ++b) EmptyLine();
    }
    SchedulePageHeader(layout.title, from, to);
    if (p.PageInRange && !layout.body(first, count, i + 1 == layout.rowsPerPage.size()))
      return false;
    first += count;
  }
  return true;
}

}  // namespace vantu
