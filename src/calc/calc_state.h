#pragma once
// What the review and calculation keeps after a run: the budget's grand
// total (BudgetGrandTotal) and the budget summary the listings print.

#include "calc/cost_rules.h"

namespace vantu {

struct CalcState {
  // Sum of every budget item's ItemTotal: loaded from the Obra's header when
  // the Obra is opened, 0 without an Obra, recomputed by the calculation.
  long double budgetGrandTotal = 0;
  BudgetSummary summary;
};

CalcState& Calc();
void ResetCalc();

// BudgetItemsTotal of the open Obra's header into BudgetGrandTotal; 0
// when no Obra is open.
void LoadBudgetGrandTotal();
// Fills Calc().summary from BudgetGrandTotal, the Rama's general data and
// the "Ajuste al peso" preference.
void ComputeBudgetSummary();

}  // namespace vantu
