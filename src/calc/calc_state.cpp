#include "calc/calc_state.h"

#include "calc/large_buffer.h"
#include "records/budget_records.h"
#include "records/general_record.h"
#include "session/preferences.h"
#include "storage/file_sets.h"

namespace vantu {

namespace {
CalcState gCalc;
}  // namespace

CalcState& Calc() {
  return gCalc;
}

void ResetCalc() {
  gCalc = CalcState{};
  ReleaseLargeBlocks();
}

void LoadBudgetGrandTotal() {
  gCalc.budgetGrandTotal = 0;
  if (!Area(kAreaBudget).Data.isOpen) return;
  ObraHeader h;
  GetRec(Area(kAreaBudget).Data, 0, h.data());
  gCalc.budgetGrandTotal = Get(h, obra_header::BudgetItemsTotal);
}

void ComputeBudgetSummary() {
  GeneralDataRecord g;
  if (Area(kAreaGeneral).Data.isOpen && FileRecordCount(Area(kAreaGeneral).Data) > 1)
    GetRec(Area(kAreaGeneral).Data, 1, g.data());
  gCalc.summary = SummaryOf(gCalc.budgetGrandTotal, g, Prefs().roundToPeso);
}

}  // namespace vantu
