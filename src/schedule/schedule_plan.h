#pragma once
// The chart as data: the rules applied when it is loaded, the edits of the
// editor, the summary written when it is closed, and the investment of
// each period. Nothing here draws or reads keys.

#include <vector>

#include "schedule/schedule_state.h"

namespace vantu {

// By ScheduleSerial: a stale chart (-1) loses its marks when it has any,
// and becomes changed and incomplete; a recalculated one (-2) only becomes
// changed; both restart the serial at 0. True when marks were erased.
bool ApplyLoadRules(ScheduleBlock& b);

struct ChartSummary {
  int length = 0;      // last marked period of any activity
  int yearBlocks = 0;  // length / 12 rounded up
  bool complete = false;
};
// Chapter rows of scope 'A' are left out of the completeness test.
ChartSummary SummarizeChart(const ScheduleBlock& b, const std::vector<Activity>& activities);
void StoreSummary(ScheduleBlock& b, const ChartSummary& s);

// Edits of activity row `row` (1-based) at `period` (1..60). Each returns
// whether a cell changed; a chapter row never changes.
bool SetCell(ScheduleBlock& b, int row, int period, uint8_t value);
// The marks right of `period` move one period left; period 60 becomes free.
bool DeleteCell(ScheduleBlock& b, int row, int period);
// The marks from `period` on move one period right; period 60's is lost.
bool InsertCell(ScheduleBlock& b, int row, int period);
// Every mark of every activity row cleared; true when there was one.
bool ClearMarks(ScheduleBlock& b, int activityCount);

// Before each schedule listing: a changed chart gets the next control
// number (after 999 it restarts at 1) and is no longer changed.
void NextListingSerial(ScheduleBlock& b);

// MarkCount of every activity: its marked periods.
void CountMarks(const ScheduleBlock& b, std::vector<Activity>& activities);
// The period table cleared, then Billing and Executed of periods 1..length:
// each activity's cost spread evenly over its marked periods, the
// cumulative amounts money-rounded and the period amounts taken as their
// differences, so that they add up to the rounded cumulative amounts.
void SpreadInvestment(const ScheduleBlock& b, const std::vector<Activity>& activities, int length,
                      bool toPeso, PeriodTable& table);

// On the open schedule: mark counts, then, when the chart is complete, the
// period investments. An incomplete chart gets the message
// "..... LA PROGRAMACION ESTA INCOMPLETA ....." and false.
bool ComputeInvestment();

}  // namespace vantu
