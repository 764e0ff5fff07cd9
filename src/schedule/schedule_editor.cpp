// The chart editor: moves over activities and periods, marks and clears
// cells by key and by mouse (a press, or a press dragged along the row),
// and the commands of the function keys.
#include "schedule/schedule_editor.h"

#include <algorithm>
#include <vector>

#include "console/console.h"
#include "console/keys.h"
#include "console/zones.h"
#include "platform/platform.h"
#include "schedule/activities.h"
#include "schedule/schedule_command.h"
#include "schedule/schedule_plan.h"
#include "schedule/schedule_screen.h"
#include "session/work_area_ids.h"
#include "storage/file_sets.h"
#include "toolkit/key_reader.h"
#include "toolkit/message_boxes.h"
#include "toolkit/window_message.h"

namespace vantu {

using namespace schedule_file;
using namespace schedule_screen;

namespace {

int Count() {
  return static_cast<int>(Schedule().Activities.size());
}

void Changed() {
  Schedule().block.SetScheduleChanged(1);
}

// Puts the cursor on (activity, period), drawing only what moved.
void MoveTo(int activity, int period) {
  ScheduleState& s = Schedule();
  const int old = s.current;
  s.current = std::clamp(activity, 1, std::max(Count(), 1));
  s.period = std::clamp(period, 1, kMaxPeriods);
  if (ScrollToCursor(s)) {
    DrawPeriodHeadings();
    DrawActivityRows();
    return;
  }
  if (old != s.current) DrawActivityRow(old);
  DrawActivityRow(s.current);
}

void RedrawAll() {
  ScrollToCursor(Schedule());
  DrawScheduleScreen();
}

// PgUp/PgDn: to the previous or next chapter heading in scope 'A', else
// one row.
int NextChapterRow(int from, int step) {
  const ScheduleState& s = Schedule();
  if (s.block.Scope() == kScopeChapters) return from + step;
  for (int a = from + step; a >= 1 && a <= Count(); a += step)
    if (s.Activities[a - 1].chapter) return a;
  return step > 0 ? Count() : 1;
}

void EditCell(uint8_t value, int advance) {
  ScheduleState& s = Schedule();
  if (SetCell(s.block, s.current, s.period, value)) Changed();
  MoveTo(s.current, std::min(s.period + advance, kMaxPeriods));
}

void ShiftRow(bool insert) {
  ScheduleState& s = Schedule();
  const bool changed =
      insert ? InsertCell(s.block, s.current, s.period) : DeleteCell(s.block, s.current, s.period);
  if (changed) Changed();
  DrawActivityRow(s.current);
}

void ClearWholeChart() {
  ScheduleState& s = Schedule();
  if (ConfirmBox("Confirma el borrado del diagrama de barras ?", "Confirmacion") != 'S') return;
  if (ClearMarks(s.block, Count())) Changed();
  DrawActivityRows();
}

void SwitchScope() {
  ScheduleState& s = Schedule();
  if (UsedRecordCount(Area(kAreaBudget).Data) > kMaxBudgetRecordsForItems) {
    ShowMessageWindow({"... Opcion no disponible - El presupuesto tiene mas de " +
                           std::to_string(kMaxBudgetRecordsForItems) + " registros ...",
                       ".. Para continuar oprima cualquier tecla .."});
    return;
  }
  const bool toItems = s.block.Scope() == kScopeChapters;
  const char* question =
      toItems ? "Confirma la inclusion de los ITEMS ?" : "Confirma la supresion de los ITEMS ?";
  if (ConfirmBox(question, "Confirmacion") != 'S') return;
  const ScheduleBlock before = s.block;
  const std::vector<Activity> kept = s.Activities;
  for (int row = 1; row <= kMaxActivityRows; ++row)
    for (int p = 1; p <= kMaxPeriods; ++p) s.block.Cell(row, p) = kCellFree;
  s.block.SetScope(toItems ? kScopeItems : kScopeChapters);
  if (!BuildActivities() || s.Activities.empty()) {
    s.block = before;
    s.Activities = kept;
    ShowMessageWindow({"... Opcion no disponible - El presupuesto tiene mas de " +
                           std::to_string(kMaxActivities) + " ITEMS programables ...",
                       ".. Para continuar oprima cualquier tecla .."});
    return;
  }
  Changed();
  s.current = s.firstActivity = 1;
  RedrawAll();
}

void ShowProgress() {
  ScheduleState& s = Schedule();
  StoreSummary(s.block, SummarizeChart(s.block, s.Activities));
  if (!ComputeInvestment()) return;
  const int chosen = ShowProgressWindow();
  if (chosen > 0) MoveTo(s.current, chosen);
}

// A press on a cell changes it; holding the button and moving along the
// row gives every cell between the press and the pointer the pressed
// cell's new value. Moving back restores the cells left behind.
void MarkWithMouse() {
  ScheduleState& s = Schedule();
  const int activity = ActivityAt(Input().mouseRow);
  const int anchor = PeriodAt(Input().mouseCol);
  if (activity == 0 || anchor == 0) return;
  MoveTo(activity, anchor);
  const ScheduleBlock before = s.block;
  const uint8_t value = s.block.Cell(activity, anchor) == kCellMarked ? kCellFree : kCellMarked;
  if (SetCell(s.block, activity, anchor, value)) Changed();
  DrawActivityRow(activity);
  int col = 0, row = 0, reached = anchor;
  while (HeldPointer(col, row)) {
    const int p = PeriodAt(col);
    if (p != 0 && p != reached) {
      reached = p;
      for (int q = 1; q <= kMaxPeriods; ++q) s.block.Cell(activity, q) = before.Cell(activity, q);
      for (int q = std::min(anchor, p); q <= std::max(anchor, p); ++q)
        if (SetCell(s.block, activity, q, value)) Changed();
      MoveTo(activity, p);
    }
    Host().ProcessEvents();
    if (HeldPointer(col, row)) Host().WaitForEvents();
  }
}

void Click(uint8_t code) {
  ScheduleState& s = Schedule();
  if (code == kClickActivity) {
    if (int a = ActivityAt(Input().mouseRow)) MoveTo(a, s.period);
  } else if (code == kClickHeading) {
    if (int p = PeriodAt(Input().mouseCol)) MoveTo(s.current, p);
  } else {
    MarkWithMouse();
  }
}

void HandleKey(uint8_t k) {
  ScheduleState& s = Schedule();
  switch (k) {
    case kKeyUp:
      return MoveTo(s.current - 1, s.period);
    case kKeyDown:
      return MoveTo(s.current + 1, s.period);
    case kKeyPgUp:
      return MoveTo(NextChapterRow(s.current, -1), s.period);
    case kKeyPgDn:
      return MoveTo(NextChapterRow(s.current, 1), s.period);
    case kKeyLeft:
      return MoveTo(s.current, s.period - 1);
    case kKeyRight:
      return MoveTo(s.current, s.period + 1);
    case kKeyHome:
      return MoveTo(s.current, 1);
    case kKeyEnd:
      return MoveTo(s.current, kMaxPeriods);
    case kKeyBackspace:
      if (s.period == 1) return;
      MoveTo(s.current, s.period - 1);
      return EditCell(kCellFree, 0);
    case kKeyDelete:
      return ShiftRow(false);
    case kKeyF9:
      return ShiftRow(true);
    case kKeyEnter:
      return EditCell(kCellMarked, 1);
    case ' ':
      return EditCell(kCellFree, 1);
    case kKeyTab:
      return ClearWholeChart();
    case kKeyInsert:
      s.ShowPercent = !s.ShowPercent;
      return RedrawAll();
    case kKeyF3:
      s.block.SetPeriodKind(s.block.PeriodKind() == kMonths ? kWeeks : kMonths);
      Changed();
      return DrawPeriodHeadings(), DrawActivityRow(s.current);
    case kKeyF5:
      return ShowProgress();
    case kKeyF7:
      StoreSummary(s.block, SummarizeChart(s.block, s.Activities));
      SaveSchedule();
      return;
    case kKeyF8:
      return SwitchScope();
    case kKeyCtrlF1:
      ShowScheduleHelp();
      return;
    case kClickActivity:
    case kClickHeading:
    case kClickChart:
      if (Input().noTypedKey) Click(k);
      return;
    default:
      return;
  }
}

}  // namespace

void EditSchedule() {
  ScheduleState& s = Schedule();
  s.current = s.firstActivity = 1;
  s.period = s.firstPeriod = 1;
  DrawScheduleScreen();
  for (;;) {
    const uint8_t k = GetKey();
    if (k == kKeyEsc) break;
    HandleKey(k);
  }
  ClearZoneTable(kZoneTable);
}

}  // namespace vantu
