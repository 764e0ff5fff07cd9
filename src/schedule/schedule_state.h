#pragma once
// The schedule of the open Obra while command N, O or P runs: the file's
// record, the activity table built from the budget, the investment per
// period, and where the editor stands.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "schedule/schedule_file.h"

namespace vantu {

// One row of the chart: a budget item, or a chapter.
struct Activity {
  std::string Code;   // scope 'A': chapter "01" or item digits "010"; scope 'C': chapter
  std::string Label;  // the description followed by blanks to 35 characters
  long double Cost = 0;
  int16_t MarkCount = 0;
  bool chapter = false;  // a heading row of scope 'A': shown, never planned
};

// Columns of a row of the period table.
enum PeriodColumn : int {
  kAnticipo = 0,        // advance paid (row 0 only)
  kBilling = 1,         // work executed and billed in the period
  kNet = 2,             // amount to pay in the period
  kExecuted = 3,        // cumulative billing
  kNetCumulative = 4,   // cumulative net
  kAmortization = 5,    // amortisation of the advance (negative)
  kRetention = 6,       // retention (negative; positive in the final liquidation)
  kAdvanceBalance = 7,  // advance still to amortise
};
inline constexpr int kPeriodColumns = 8;
// Row 0 the advance, rows 1..Length the periods, Length + 1 the final
// liquidation, Length + 2 the totals.
inline constexpr int kPeriodRows = schedule_file::kMaxPeriods + 3;
using PeriodRow = std::array<long double, kPeriodColumns>;
using PeriodTable = std::array<PeriodRow, kPeriodRows>;

struct ScheduleState {
  ScheduleBlock block;
  std::string path;  // the schedule file while the command runs
  bool open = false;
  // A save created the temporary file and has not renamed it yet.
  bool tempCreated = false;
  std::string tempPath;
  // The load erased a stale chart; command N tells the user.
  bool erased = false;
  std::vector<Activity> Activities;  // index 0 is activity row 1
  PeriodTable periods{};
  long double budgetTotal = 0;  // T: the budget with AIU and IVA
  // The editor: first visible activity and period, current ones (1-based).
  int firstActivity = 1, firstPeriod = 1;
  int current = 1, period = 1;
  bool ShowPercent = false;
};

ScheduleState& Schedule();
void ResetSchedule();

// Deletes the temporary file of an interrupted save when the flag says it
// was created (the program end).
void DeleteScheduleWorkFiles();

}  // namespace vantu
