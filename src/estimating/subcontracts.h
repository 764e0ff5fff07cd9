#pragma once
// Command G: the subcontracts of the open Rama (file 4), priced as a whole
// and split over the four groups by values or by percentages, as their
// chapter chooses.

#include <optional>

#include "records/coded_records.h"
#include "toolkit/field_cost_window.h"

namespace vantu {

void SubcontractsCommand();

// While command G runs: the subcontract on its screen, whether it is a
// chapter, and whether its percentages fail to add up to 100.
std::optional<SubcontractRecord> SubcontractOnScreen();
bool SubcontractScreenOnChapter();
bool SubcontractPercentagesUnbalanced();
// The direct cost of the subcontract on the screen by the cost rules.
CostOutcome SubcontractScreenCost();

void ResetSubcontractsModule();

}  // namespace vantu
