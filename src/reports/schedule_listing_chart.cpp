// The chart listing: one row of two lines per activity, a column per
// period, the marked periods filled with bars.
//
// Columns: code (5), a single rule, description (37), a double rule, then
// YearBlocks × 12 period columns, each of the period's glyphs followed by
// its separator (single; double at the end of a year block and, for weeks,
// at the end of each four-week group).
#include <algorithm>
#include <string>

#include "reports/listing_engine.h"
#include "reports/listing_output.h"
#include "reports/listing_page.h"
#include "reports/listing_text.h"
#include "reports/schedule_listing_pages.h"
#include "reports/schedule_listings.h"
#include "session/preferences.h"

namespace vantu {

namespace {

using namespace schedule_file;

constexpr int kCodeWidth = 5;
constexpr int kLabelWidth = 37;
constexpr int kPeriodsPerBlock = 12;
constexpr int kWeeksPerGroup = 4;

struct ChartShape {
  int blocks = 1;
  int width = 6;  // glyphs and separator of one period column
  bool weeks = false;
  int Periods() const { return blocks * kPeriodsPerBlock; }
  int Glyphs() const { return width - 1; }
  // The separator after period p (1-based) is a double one.
  bool HeavyAfter(int p) const {
    return p % kPeriodsPerBlock == 0 || (weeks && p % kWeeksPerGroup == 0);
  }
};

// A rule across the chart: `left`, the code's fill, `codeJoint`, the
// description's fill, `labelJoint`, then each period's fill followed by
// `thin` or `heavy`, and `right` at the end. With `blocksOnly` the heavy
// joint stands only between blocks and the fill elsewhere: the rule above
// the block titles, which would cross them.
struct RulePieces {
  char left, fill, codeJoint, labelJoint, thin, heavy, right;
  bool blocksOnly = false;
};

std::string Rule(const ChartShape& c, const RulePieces& r) {
  std::string s(1, r.left);
  s += std::string(kCodeWidth, r.fill) + r.codeJoint + std::string(kLabelWidth, r.fill) +
       r.labelJoint;
  for (int p = 1; p <= c.Periods(); ++p) {
    s += std::string(static_cast<size_t>(c.Glyphs()), r.fill);
    if (p == c.Periods())
      s += r.right;
    else if (r.blocksOnly)
      s += p % kPeriodsPerBlock == 0 ? r.heavy : r.fill;
    else
      s += c.HeavyAfter(p) ? r.heavy : r.thin;
  }
  return s;
}

char Separator(const ChartShape& c, int p) {
  return p == c.Periods() || c.HeavyAfter(p) ? frame::kVertical : frame::kSingleVertical;
}

std::string BlockTitle(const ChartShape& c, int block) {
  const std::string n = std::to_string(block);
  return c.weeks ? "SEMANAS TRIMESTRE " + n : "A\xD1O # " + n + " ( meses )";
}

// The period's number within its block: weeks 1 to 4 in each four-week
// group; months 1 to 12 with at least 2 digits, or in one character when
// the column holds only one (10 to 12 then shown as "*").
std::string PeriodNumber(const ChartShape& c, int p) {
  if (c.weeks) return std::to_string((p - 1) % kWeeksPerGroup + 1);
  const int n = (p - 1) % kPeriodsPerBlock + 1;
  if (c.Glyphs() == 1) return n > 9 ? "*" : std::to_string(n);
  return n < 10 ? "0" + std::to_string(n) : std::to_string(n);
}

void Heading(const ChartShape& c) {
  const std::string v(1, frame::kVertical);
  std::string one = v + CentredFieldText("A C T I V I D A D", kCodeWidth + 1 + kLabelWidth) + v;
  const int blockWidth = kPeriodsPerBlock * c.width - 1;
  for (int b = 1; b <= c.blocks; ++b)
    one += CentredFieldText(BlockTitle(c, b), blockWidth).substr(0, blockWidth) + v;
  FrameLine(one);
  std::string two = v + " Cod." + std::string(1, frame::kSingleVertical) +
                    CentredFieldText("D E S C R I P C I O N", kLabelWidth) + v;
  for (int p = 1; p <= c.Periods(); ++p)
    two += CentredFieldText(PeriodNumber(c, p), c.Glyphs()) + Separator(c, p);
  FrameLine(two);
}

void ActivityLine(const ChartShape& c, const ScheduleBlock& b, int row, const Activity& a) {
  std::string line(1, frame::kVertical);
  line += MarkLetters(CentredFieldText(a.Code, kCodeWidth).substr(0, kCodeWidth)) +
          frame::kSingleVertical;
  line +=
      MarkLetters(FieldText(" " + a.Label, kLabelWidth).substr(0, kLabelWidth)) + frame::kVertical;
  for (int p = 1; p <= c.Periods(); ++p) {
    const bool marked = !a.chapter && p <= kMaxPeriods && b.Cell(row, p) == kCellMarked;
    line += std::string(static_cast<size_t>(c.Glyphs()), marked ? frame::kBar : ' ');
    line += Separator(c, p);
  }
  if (a.chapter) BoldOn();
  FrameLine(line);
  if (a.chapter) BoldOff();
}

}  // namespace

bool ScheduleChart(int from, int to) {
  const ScheduleState& s = Schedule();
  ChartShape c;
  c.blocks = std::clamp<int>(s.block.YearBlocks(), 1, 5);
  c.weeks = s.block.PeriodKind() == kWeeks;
  const Preferences& prefs = Prefs();
  ScheduleGeometry g =
      ChartGeometry(DotMatrix(), c.blocks, prefs.marginsScheduleShort, prefs.marginsScheduleLong);
  Listing().margins = c.blocks > 2 ? prefs.marginsScheduleLong : prefs.marginsScheduleShort;
  c.width = g.periodWidth;
  SchedulePageLayout layout;
  layout.title = "C R O N O G R A M A    D E   O B R A";
  layout.geometry = g;
  layout.pageWidth = kCodeWidth + kLabelWidth + 3 + c.Periods() * c.width;
  layout.items = static_cast<int>(s.Activities.size());
  const bool chaptersHead = s.block.Scope() == kScopeItems;
  layout.rowsPerPage = DistributeRows(layout.items, g.pageLength, g.headerLines, [&](int i) {
    return chaptersHead && s.Activities[static_cast<size_t>(i)].chapter;
  });
  layout.afterSeparator = [] { OutputListing(false); };
  const RulePieces top{frame::kTopLeft, frame::kDouble, frame::kDouble,   frame::kTopTee,
                       frame::kDouble,  frame::kTopTee, frame::kTopRight, true};
  const RulePieces under{
      frame::kLeftTee,           frame::kDouble, frame::kDoubleSingleCross, frame::kCross,
      frame::kDoubleSingleCross, frame::kCross,  frame::kRightTee};
  const RulePieces thin{frame::kThinLeft,  frame::kSingle,      frame::kSingleCross,
                        frame::kThinCross, frame::kSingleCross, frame::kThinCross,
                        frame::kThinRight};
  const RulePieces bottom{frame::kBottomLeft, frame::kDouble,          frame::kBottomSingleTee,
                          frame::kBottomTee,  frame::kBottomSingleTee, frame::kBottomTee,
                          frame::kBottomRight};
  layout.body = [&](int first, int count, bool) {
    FrameLine(Rule(c, top));
    Heading(c);
    FrameLine(Rule(c, under));
    for (int i = 0; i < count; ++i) {
      if (CheckInterrupt()) return false;
      const int row = first + i + 1;
      ActivityLine(c, s.block, row, s.Activities[static_cast<size_t>(row - 1)]);
      FrameLine(Rule(c, i + 1 < count ? thin : bottom));
    }
    EndPage();
    return true;
  };
  return WriteSchedulePages(layout, from, to);
}

}  // namespace vantu
