#include "schedule/schedule_plan.h"

#include <algorithm>

#include "session/preferences.h"
#include "toolkit/numbers.h"
#include "toolkit/window_message.h"

namespace vantu {

using namespace schedule_file;

namespace {

bool IsChapterRow(const ScheduleBlock& b, int row) {
  return b.Cell(row, 1) == kCellChapter;
}

int LastMark(const ScheduleBlock& b, int row) {
  for (int p = kMaxPeriods; p >= 1; --p)
    if (b.Cell(row, p) == kCellMarked) return p;
  return 0;
}

}  // namespace

bool ApplyLoadRules(ScheduleBlock& b) {
  bool erased = false;
  const int16_t serial = b.ScheduleSerial();
  if (serial == kSerialStale) {
    bool marked = false;
    for (int row = 1; row <= kMaxActivityRows && !marked; ++row) marked = LastMark(b, row) > 0;
    if (marked) {
      for (int row = 1; row <= kMaxActivityRows; ++row)
        for (int p = 1; p <= kMaxPeriods; ++p) b.Cell(row, p) = kCellFree;
      erased = true;
    }
    b.SetScheduleChanged(1);
    b.SetComplete(0);
    b.SetScheduleSerial(0);
  } else if (serial == kSerialRecalculated) {
    b.SetScheduleChanged(1);
    b.SetScheduleSerial(0);
  }
  return erased;
}

ChartSummary SummarizeChart(const ScheduleBlock& b, const std::vector<Activity>& activities) {
  ChartSummary s;
  s.complete = true;
  const int rows = std::min<int>(static_cast<int>(activities.size()), kMaxActivityRows);
  for (int row = 1; row <= rows; ++row) {
    if (activities[row - 1].chapter) continue;
    const int last = LastMark(b, row);
    if (last == 0) s.complete = false;
    s.length = std::max(s.length, last);
  }
  s.yearBlocks = (s.length + 11) / 12;
  return s;
}

void StoreSummary(ScheduleBlock& b, const ChartSummary& s) {
  b.SetLength(static_cast<uint8_t>(s.length));
  b.SetYearBlocks(static_cast<uint8_t>(s.yearBlocks));
  b.SetComplete(s.complete ? 1 : 0);
}

bool SetCell(ScheduleBlock& b, int row, int period, uint8_t value) {
  if (IsChapterRow(b, row) || b.Cell(row, period) == value) return false;
  b.Cell(row, period) = value;
  return true;
}

bool DeleteCell(ScheduleBlock& b, int row, int period) {
  if (IsChapterRow(b, row)) return false;
  bool changed = false;
  for (int p = period; p <= kMaxPeriods; ++p) {
    const uint8_t next = p < kMaxPeriods ? b.Cell(row, p + 1) : kCellFree;
    changed = changed || b.Cell(row, p) != next;
    b.Cell(row, p) = next;
  }
  return changed;
}

bool InsertCell(ScheduleBlock& b, int row, int period) {
  if (IsChapterRow(b, row)) return false;
  bool changed = false;
  for (int p = kMaxPeriods; p >= period; --p) {
    const uint8_t prev = p > period ? b.Cell(row, p - 1) : kCellFree;
    changed = changed || b.Cell(row, p) != prev;
    b.Cell(row, p) = prev;
  }
  return changed;
}

bool ClearMarks(ScheduleBlock& b, int activityCount) {
  bool changed = false;
  for (int row = 1; row <= activityCount; ++row)
    for (int p = 1; p <= kMaxPeriods; ++p) changed = SetCell(b, row, p, kCellFree) || changed;
  return changed;
}

void NextListingSerial(ScheduleBlock& b) {
  if (!b.ScheduleChanged()) return;
  const int16_t next = b.ScheduleSerial() >= kSerialMax ? 1 : b.ScheduleSerial() + 1;
  b.SetScheduleSerial(next);
  b.SetScheduleChanged(0);
}

void CountMarks(const ScheduleBlock& b, std::vector<Activity>& activities) {
  const int rows = std::min<int>(static_cast<int>(activities.size()), kMaxActivityRows);
  for (int row = 1; row <= rows; ++row) {
    int16_t n = 0;
    if (!activities[row - 1].chapter)
      for (int p = 1; p <= kMaxPeriods; ++p) n += b.Cell(row, p) == kCellMarked ? 1 : 0;
    activities[row - 1].MarkCount = n;
  }
}

void SpreadInvestment(const ScheduleBlock& b, const std::vector<Activity>& activities, int length,
                      bool toPeso, PeriodTable& table) {
  for (PeriodRow& r : table) r.fill(0);
  length = std::clamp(length, 0, kMaxPeriods);
  const int rows = std::min<int>(static_cast<int>(activities.size()), kMaxActivityRows);
  for (int p = 1; p <= length; ++p) {
    for (int row = 1; row <= rows; ++row) {
      const Activity& a = activities[row - 1];
      if (a.chapter || a.MarkCount == 0 || b.Cell(row, p) != kCellMarked) continue;
      table[p][kBilling] += a.Cost / a.MarkCount;
    }
  }
  if (length == 0) return;
  table[1][kExecuted] = RoundMoneyAs(table[1][kBilling], toPeso);
  for (int p = 2; p <= length; ++p)
    table[p][kExecuted] = table[p - 1][kExecuted] + table[p][kBilling];
  for (int p = 1; p <= length; ++p) {
    table[p][kExecuted] = RoundMoneyAs(table[p][kExecuted], toPeso);
    table[p][kBilling] = table[p][kExecuted] - table[p - 1][kExecuted];
  }
}

bool ComputeInvestment() {
  ScheduleState& s = Schedule();
  CountMarks(s.block, s.Activities);
  if (!s.block.Complete()) {
    ShowMessageWindow({"..... LA PROGRAMACION ESTA INCOMPLETA .....",
                       ".. Para continuar oprima cualquier tecla .."});
    return false;
  }
  SpreadInvestment(s.block, s.Activities, s.block.Length(), Prefs().roundToPeso, s.periods);
  return true;
}

}  // namespace vantu
