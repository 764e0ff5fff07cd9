#pragma once
// Pages of the schedule listings (the chart, the execution graph, the
// payment table and graph). They take their geometry from the printer and
// the schedule's length rather than from the budget listings' table, know
// their page count before writing (the rows are spread evenly over the
// pages), and so make a single pass.

#include <functional>
#include <string>
#include <vector>

#include "session/preferences.h"

namespace vantu {

// Listing kinds of the schedule (print selection titles).
enum ScheduleListingKind : int {
  kListingScheduleChart = 15,
  kListingExecutionGraph = 16,
  kListingPaymentTable = 17,
  kListingPaymentGraph = 18,
  kListingTotalSchedule = 19,
};

// Page geometry of one schedule listing.
struct ScheduleGeometry {
  int periodWidth = 6;  // chart: characters per period column, separator included
  int leftMargin = 10;  // before the viewer's margin of 1 is applied
  int paperWidth = 135;
  int headerLines = 11;
  int pageLength = 53;
  int topAdjustment = 0;  // extra blank lines above each page (payment table only)
};

// The chart's geometry by printer and year blocks: the margin group `a`
// (schedules of up to two years) applies up to two year blocks, `b` beyond.
ScheduleGeometry ChartGeometry(bool dotMatrix, int yearBlocks, const Margins& a, const Margins& b);
// The payment table's geometry, and the graphs' (the chart's first line).
ScheduleGeometry PaymentTableGeometry(bool dotMatrix, const Margins& a);
ScheduleGeometry GraphGeometry(bool dotMatrix, const Margins& a);

// Rows on each page: rows per page R = (pageLength - headerLines) div 2,
// P = ceiling(items / R) pages, items div P rows each and one more on the
// first items mod P pages. `movesDown(i)` tells of row i (0-based) that it
// must not end a page (a chapter heading of the chart): it then starts the
// next page instead; a last page that so grows beyond R rows is split.
std::vector<int> DistributeRows(int items, int pageLength, int headerLines,
                                const std::function<bool(int)>& movesDown = nullptr);

// Blank lines above the header of every page, centring the body:
// ((pageLength - headerLines) - 2 × (items div P)) div 2, never negative.
int TopBlankLines(int items, int pages, int pageLength, int headerLines);

// "SSSS/ccc": the SavedSetSerial of the budget file padded to 4 digits and
// the schedule's listing serial padded to 3.
std::string ScheduleControlText();

// The header of a schedule page: PageNumber + 1, LineNumber = HeaderLines,
// PageInRange for from..to (to 0 is the last page); when in range, the
// consultant, the title, the Obra and the line with the budget date, the
// control text and "Hoja [n] de [m]", between rules of bytes 220 and 223.
void SchedulePageHeader(const std::string& title, int from, int to);

// Writes a listing of `items` rows over the pages of `rowsPerPage`:
// geometry and title set, the separator page first when `from` is 0, then
// for each page in from..to its blank lines, its header and `body(first,
// count, last)`. The walk stops after `to` and on an interruption (false).
struct SchedulePageLayout {
  std::string title;
  ScheduleGeometry geometry;
  int pageWidth = 0;
  int items = 0;
  std::vector<int> rowsPerPage;
  // Called after the separator page (the chart sends it at once).
  std::function<void()> afterSeparator;
  std::function<bool(int first, int count, bool last)> body;  // false: interrupted
};
bool WriteSchedulePages(const SchedulePageLayout& layout, int from, int to);

// The frame's glyphs (code page 437).
namespace frame {
inline constexpr char kTopLeft = static_cast<char>(201);
inline constexpr char kTopTee = static_cast<char>(203);
inline constexpr char kTopRight = static_cast<char>(187);
inline constexpr char kLeftTee = static_cast<char>(204);
inline constexpr char kCross = static_cast<char>(206);
inline constexpr char kRightTee = static_cast<char>(185);
inline constexpr char kBottomLeft = static_cast<char>(200);
inline constexpr char kBottomTee = static_cast<char>(202);
inline constexpr char kBottomRight = static_cast<char>(188);
inline constexpr char kDouble = static_cast<char>(205);
inline constexpr char kVertical = static_cast<char>(186);
inline constexpr char kThinLeft = static_cast<char>(199);
inline constexpr char kThinCross = static_cast<char>(215);
inline constexpr char kThinRight = static_cast<char>(182);
// Single-line pieces on the double rules and the single vertical.
inline constexpr char kTopSingleTee = static_cast<char>(224);  // stands for 209
inline constexpr char kDoubleSingleCross = static_cast<char>(216);
inline constexpr char kBottomSingleTee = static_cast<char>(207);
inline constexpr char kSingleCross = static_cast<char>(197);
inline constexpr char kSingle = static_cast<char>(196);
inline constexpr char kSingleVertical = static_cast<char>(179);
inline constexpr char kRuleUnderHeader = static_cast<char>(223);
inline constexpr char kBar = static_cast<char>(219);
inline constexpr char kHalfBar = static_cast<char>(221);
inline constexpr char kRuleOverTitle = static_cast<char>(220);
}  // namespace frame

}  // namespace vantu
