#pragma once
// The activity table of the chart, built from the Obra's budget (file 6).

#include <vector>

#include "schedule/schedule_state.h"

namespace vantu {

// Budget records a chart of scope 'A' may hold before only chapters can
// be planned.
inline constexpr int kMaxBudgetRecordsForItems = 999;

// Each activity's cost times total / itemsTotal, money-rounded; the last
// activity that is not a chapter takes the difference, so that the costs
// add up to `total` exactly. Costs stay as they are when itemsTotal is 0.
void ScaleCosts(std::vector<Activity>& activities, long double total, long double itemsTotal,
                bool toPeso);

// The budget total with AIU and IVA, from BudgetItemsTotal of the Obra's
// header and the Rama's general data.
long double ScheduleBudgetTotal();

// Fills Schedule().Activities and ActivityCount from file 6 in key order
// with the open chart's scope: in scope 'A' chapters with a total (their
// cells set to 176) and every item with a quantity; in scope 'C' the
// chapters "01" to "99" with a total. Cells 176 left on a row that is no
// longer a chapter become free. Costs are scaled to the budget total. False
// when the scope asks for more activities than the chart holds (the table
// is then left empty).
bool BuildActivities();

}  // namespace vantu
