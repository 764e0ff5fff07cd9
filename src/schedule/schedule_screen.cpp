#include "schedule/schedule_screen.h"

#include <algorithm>

#include "console/console.h"
#include "console/letters.h"
#include "console/zones.h"
#include "toolkit/field_format.h"
#include "toolkit/numbers.h"
#include "toolkit/schemes.h"
#include "toolkit/screen.h"
#include "toolkit/status_line.h"

namespace vantu {

using namespace schedule_screen;
using namespace schedule_file;

namespace {

constexpr uint8_t kGlyphFree = 250, kGlyphMarked = 219;
constexpr uint8_t kMoreLeft = 17, kMoreRight = 16;
const char* const kButtons = "Esc^regresa CtrlF1^ayuda Inicio^inicio Fin^final";

std::string Ch(int c) {
  return std::string(1, static_cast<char>(c));
}

void Put(int col, int row, const std::string& text) {
  GotoXY(col, row);
  WriteText(text);
}

std::string Fit(std::string s, int width) {
  s.resize(static_cast<size_t>(width), ' ');
  return s;
}

void DrawTitle(long double total) {
  StatusText(true);
  WriteLineAt(1, std::string(80, ' '));
  WriteCentered(1, " CRONOGRAMA DE OBRA ");
  const std::string value = "V/R : $" + FormatNumber(0, 2, total);
  Put(80 - static_cast<int>(value.size()), 1, value);
  NormalText();
}

void DrawFrame() {
  NormalText();
  const int leftWidth = kSeparatorCol - kFrameLeft - 1;
  const int rightWidth = kFrameRight - kSeparatorCol - 1;
  Put(kFrameLeft, kTopRow,
      Ch(201) + std::string(leftWidth, '\xCD') + Ch(203) + std::string(rightWidth, '\xCD') +
          Ch(187));
  for (int row = kTopRow + 1; row < kBottomRow; ++row) {
    Put(kFrameLeft, row, Ch(186));
    Put(kSeparatorCol, row, Ch(186));
    Put(kFrameRight, row, Ch(186));
  }
  Put(kFrameLeft, kBottomRow,
      Ch(200) + std::string(leftWidth, '\xCD') + Ch(202) + std::string(rightWidth, '\xCD') +
          Ch(188));
}

void DrawActivityHeadings(const ScheduleState& s) {
  BoldText();
  Put(kCodeCol, kHeadingRow, Fit("        P R E S U P U E S T O", kSeparatorCol - kCodeCol));
  const std::string scope =
      s.block.Scope() == kScopeChapters ? "   Solo Capitulos    " : "  Capitulos e Items  ";
  Put(kCodeCol, kHeadingRow + 1, Fit(scope, kCostBar - kCodeCol));
  Put(kCostBar, kHeadingRow + 1, Fit(s.ShowPercent ? "|  (%) " : "| Costo", kCostWidth + 1));
  Put(kCodeCol, kHeadingRow + 2, Fit(" Cod. Descripcion", kCostBar - kCodeCol) + "|");
  NormalText();
}

// The period's number within its year (months) or its week number.
int PeriodNumber(const ScheduleState& s, int p) {
  return s.block.PeriodKind() == kMonths ? (p - 1) % 12 + 1 : p;
}

void DrawLabelsRow(const ScheduleState& s) {
  std::string line(kVisiblePeriods, ' ');
  if (s.block.PeriodKind() == kWeeks) {
    line.replace(0, 9, " semanas ");
  } else {
    for (int i = 0; i < kVisiblePeriods; ++i) {
      const int p = s.firstPeriod + i;
      if ((p - 1) % 12 != 0) continue;
      const std::string label = std::string("  a\xF1o #") + std::to_string((p - 1) / 12 + 1);
      line.replace(i, std::min<size_t>(label.size(), line.size() - i), label);
    }
    if ((s.firstPeriod - 1) % 12 != 0) {  // the year of the first column
      const std::string label =
          std::string("a\xF1o #") + std::to_string((s.firstPeriod - 1) / 12 + 1);
      if (line.substr(0, label.size()).find_first_not_of(' ') == std::string::npos)
        line.replace(0, label.size(), label);
    }
  }
  BoldText();
  Put(kChartLeft, kHeadingRow, line);
}

}  // namespace

uint8_t CellGlyph(uint8_t cell) {
  if (cell == kCellMarked) return kGlyphMarked;
  if (cell == kCellChapter) return kCellChapter;
  return kGlyphFree;
}

std::string CostText(const Activity& a, long double total, bool percent) {
  if (a.chapter) return std::string(kCostWidth, ' ');
  if (!percent) {
    std::string text = FormatNumber(kCostWidth, 2, a.Cost);
    if (static_cast<int>(text.size()) > kCostWidth) text = FormatNumber(kCostWidth, 0, a.Cost);
    return text;
  }
  long double pct = total == 0 ? 0 : a.Cost / total * 100;
  if (pct > 0 && pct < 0.01L) pct = 0.01L;
  return FormatNumber(kCostWidth, 2, pct);
}

bool ScrollToCursor(ScheduleState& s) {
  const int count = static_cast<int>(s.Activities.size());
  s.current = std::clamp(s.current, 1, std::max(count, 1));
  s.period = std::clamp(s.period, 1, kMaxPeriods);
  const int oldRow = s.firstActivity, oldPeriod = s.firstPeriod;
  if (s.current < s.firstActivity) s.firstActivity = s.current;
  if (s.current >= s.firstActivity + kVisibleRows) s.firstActivity = s.current - kVisibleRows + 1;
  if (s.period < s.firstPeriod) s.firstPeriod = s.period;
  if (s.period >= s.firstPeriod + kVisiblePeriods) s.firstPeriod = s.period - kVisiblePeriods + 1;
  return oldRow != s.firstActivity || oldPeriod != s.firstPeriod;
}

void DrawPeriodHeadings() {
  const ScheduleState& s = Schedule();
  DrawLabelsRow(s);
  std::string tens(kVisiblePeriods, ' '), units(kVisiblePeriods, ' ');
  for (int i = 0; i < kVisiblePeriods; ++i) {
    const int n = PeriodNumber(s, s.firstPeriod + i);
    if (n >= 10) tens[i] = static_cast<char>('0' + n / 10);
    units[i] = static_cast<char>('0' + n % 10);
  }
  Put(kChartLeft, kHeadingRow + 1, tens);
  Put(kChartLeft, kHeadingRow + 2, units);
  NormalText();
  Put(kSeparatorCol, kHeadingRow + 1, Ch(s.firstPeriod > 1 ? kMoreLeft : 186));
  const bool more = s.firstPeriod + kVisiblePeriods - 1 < kMaxPeriods;
  Put(kFrameRight, kHeadingRow + 1, Ch(more ? kMoreRight : 186));
}

void DrawActivityRow(int activity) {
  const ScheduleState& s = Schedule();
  const int row = kFirstRow + activity - s.firstActivity;
  if (row < kFirstRow || row >= kBottomRow) return;
  const bool current = activity == s.current;
  std::string left(kSeparatorCol - kCodeCol, ' ');
  std::string cells;
  if (activity >= 1 && activity <= static_cast<int>(s.Activities.size())) {
    const Activity& a = s.Activities[activity - 1];
    left = Fit(" " + a.Code, kLabelCol - kCodeCol) + Fit(a.Label, kLabelWidth) + "|" +
           CostText(a, s.budgetTotal, s.ShowPercent);
    for (int i = 0; i < kVisiblePeriods; ++i)
      cells += static_cast<char>(CellGlyph(s.block.Cell(activity, s.firstPeriod + i)));
    if (current)
      FieldBoldText();
    else if (a.chapter)
      BoldText();
    else
      NormalText();
  } else {
    NormalText();
    cells.assign(kVisiblePeriods, ' ');
  }
  GotoXY(kCodeCol, row);
  WriteLetters(left.substr(0, kCostBar - kCodeCol));
  if (current) NormalText();
  Put(kCostBar, row, left.substr(kCostBar - kCodeCol));
  NormalText();
  Put(kChartLeft, row, cells);
  if (current && !cells.empty()) {
    FieldBoldText();
    Put(kChartLeft + s.period - s.firstPeriod, row, cells.substr(s.period - s.firstPeriod, 1));
    NormalText();
    GotoXY(kChartLeft + s.period - s.firstPeriod, row);
  }
}

void DrawActivityRows() {
  const ScheduleState& s = Schedule();
  for (int i = 0; i < kVisibleRows; ++i) DrawActivityRow(s.firstActivity + i);
  DrawActivityRow(s.current);  // leaves the cursor on the current cell
}

void DrawScheduleScreen() {
  const ScheduleState& s = Schedule();
  ClrScr();
  ShowButtonLabel(kButtons);
  DrawTitle(s.budgetTotal);
  DrawFrame();
  DrawActivityHeadings(s);
  DrawPeriodHeadings();
  DrawActivityRows();
  SetScheduleZones();
}

void SetScheduleZones() {
  ClearZoneTable(kZoneTable);
  ZoneTable& t = Zones(kZoneTable);
  t[0] = MakeZone(kClickHeading, kChartLeft - 1, kChartRight - 1, kHeadingRow - 1, kFirstRow - 2);
  t[1] = MakeZone(kClickChart, kChartLeft - 1, kChartRight - 1, kFirstRow - 1, kBottomRow - 2);
  t[2] = MakeZone(kClickActivity, kCodeCol - 1, kSeparatorCol - 2, kFirstRow - 1, kBottomRow - 2);
}

int ActivityAt(int row0) {
  const ScheduleState& s = Schedule();
  const int a = s.firstActivity + row0 + 1 - kFirstRow;
  if (row0 + 1 < kFirstRow || row0 + 1 >= kBottomRow) return 0;
  return a >= 1 && a <= static_cast<int>(s.Activities.size()) ? a : 0;
}

int PeriodAt(int col0) {
  if (col0 + 1 < kChartLeft || col0 + 1 > kChartRight) return 0;
  return Schedule().firstPeriod + col0 + 1 - kChartLeft;
}

}  // namespace vantu
