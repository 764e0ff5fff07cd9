#pragma once
// The chart editor's screen " CRONOGRAMA DE OBRA ": the title with the
// budget total, a frame with the activity area (columns 3 to 41) on the left
// and the chart area (columns 43 to 78, 36 periods) on the right, activity
// rows on lines 6 to 23, and the click zones over them.
//
//  col 2   3    9                  27  28        41 42 43          78 79
//  row 2   ╔════════════════════════════════════════╦═════════════════╗
//  row 3   ║     P R E S U P U E S T O             ║  año #1         ║
//  row 4   ║  Capitulos e Items       | Costo      ║ (tens of number) ►
//  row 5   ║ Cod.  Descripcion        |            ║ (units)         ║
//  row 6.. ║ 010  EXCAVACION ...      | 1,234.00   ║··███████········║
//  row 24  ╚════════════════════════════════════════╩═════════════════╝

#include <cstdint>
#include <string>

#include "schedule/schedule_state.h"

namespace vantu {

namespace schedule_screen {
inline constexpr int kFrameLeft = 2;
inline constexpr int kCodeCol = 3;
inline constexpr int kLabelCol = 9;
inline constexpr int kLabelWidth = 18;
inline constexpr int kCostBar = 27;
inline constexpr int kCostCol = 28;
inline constexpr int kCostWidth = 14;
inline constexpr int kSeparatorCol = 42;
inline constexpr int kChartLeft = 43;
inline constexpr int kChartRight = 78;
inline constexpr int kFrameRight = 79;
inline constexpr int kVisiblePeriods = kChartRight - kChartLeft + 1;
inline constexpr int kTopRow = 2;
inline constexpr int kHeadingRow = 3;
inline constexpr int kFirstRow = 6;
inline constexpr int kVisibleRows = 18;
inline constexpr int kBottomRow = kFirstRow + kVisibleRows;
static_assert(kVisiblePeriods == 36 && kBottomRow == 24);
static_assert(kCostCol + kCostWidth - 1 < kSeparatorCol);

// Codes of the click zones (zone table 3); only clicks bring them.
inline constexpr uint8_t kClickActivity = 146;
inline constexpr uint8_t kClickHeading = 147;
inline constexpr uint8_t kClickChart = 148;
inline constexpr int kZoneTable = 3;
}  // namespace schedule_screen

// The glyph of a stored cell: 250 free, 219 marked, 176 a chapter row.
uint8_t CellGlyph(uint8_t cell);
// The cost column: the amount, or its share of the total with 2 decimals
// (shares between 0 and 0.01 shown as 0.01).
std::string CostText(const Activity& a, long double total, bool percent);

// Keeps the current activity and period on screen; true when the view
// moved (the rows or the chart must be drawn again).
bool ScrollToCursor(ScheduleState& s);

void DrawScheduleScreen();
void DrawPeriodHeadings();
void DrawActivityRows();
// One activity row, with the cursor when it is the current one.
void DrawActivityRow(int activity);
void SetScheduleZones();

// The activity and period under a 0-based screen cell; 0 when none.
int ActivityAt(int row0);
int PeriodAt(int col0);

}  // namespace vantu
