// Connects the review and calculation to the shell and the toolkit: command
// I, and the cost rules behind the cost window and the lists' detail window.
#include "app/install_modules.h"
#include "calc/cost_view.h"
#include "calc/priced_list_source.h"
#include "calc/run_window.h"
#include "session/shell_state.h"
#include "storage/file_sets.h"
#include "toolkit/code_list_source.h"
#include "toolkit/field_cost_window.h"

namespace vantu {

namespace {

// The cost of the record the analysis (3) or subcontract (4) screen shows.
CostOutcome CurrentCost(int area) {
  const int16_t r = Area(area).CurrentRecord;
  if (area == kAreaSubcontracts) return {PriceSubcontractNow(r).directCost, false};
  const AnalysisView v = PriceAnalysisNow(r);
  return {v.priced ? v.costs.directCost : 0, v.circular};
}

}  // namespace

void InstallCalculation() {
  RegisterCommand('I', RunReviewAndCalculation);
  CostWindowHooks& c = CostHooks();
  c.isChapter = [](int area) { return Area(area).CurrentKey.size() == 2; };
  c.computeCost = CurrentCost;
  if (CodeListSource* records = ListSource()) SetListSource(&PricedListSource(*records));
}

}  // namespace vantu
