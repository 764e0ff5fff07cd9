#include "calc/run_context.h"

#include <limits>

#include "session/preferences.h"
#include "storage/file_sets.h"

namespace vantu {

namespace {

constexpr StepLine kStepLines[kCalcStepCount] = {
    {4, "Datos Generales", kPhaseContent},   {5, "Basicos", kPhaseContent},
    {6, "Analisis Unitario", kPhaseContent}, {7, "Subcontratos", kPhaseContent},
    {8, "Presupuesto", kPhaseContent},       {11, "Analisis Unitario", kPhaseCross},
    {12, "Presupuesto", kPhaseCross},        {15, "Analisis Unitario", kPhaseCalc},
    {16, "Subcontratos", kPhaseCalc},        {17, "Presupuesto", kPhaseCalc},
};

void Count(int16_t& counter) {
  if (counter < std::numeric_limits<int16_t>::max()) ++counter;
}

}  // namespace

StepLine StepLineOf(CalcStep step) {
  return kStepLines[static_cast<int>(step)];
}

const char* PhaseTitle(CalcPhase phase) {
  switch (phase) {
    case kPhaseContent:
      return "<<< REVISION DEL CONTENIDO >>>";
    case kPhaseCross:
      return "<<< REVISION CRUZADA >>>";
    case kPhaseCalc:
      break;
  }
  return "<<< CALCULO >>>";
}

int PhaseRow(CalcPhase phase) {
  constexpr int kRows[] = {3, 10, 14};
  return kRows[phase];
}

bool NeedsObra(CalcStep step) {
  return step == CalcStep::kBudgetReview || step == CalcStep::kBudgetCross ||
         step == CalcStep::kBudgetCalc;
}

bool RunPlan::AnyReview() const {
  for (int n = 1; n <= 6; ++n)
    if (reviewNeeded[static_cast<size_t>(n)]) return true;
  return false;
}

RunContext::RunContext(const RunPlan& p, CalcObserver& o) : plan(p), observer(o) {
  if (Area(1).Data.isOpen && FileRecordCount(Area(1).Data) > 1)
    GetRec(Area(1).Data, 1, general.data());
  if (plan.obra && Area(6).Data.isOpen) GetRec(Area(6).Data, 0, obraHeader.data());
  basis = BasisOf(general, Prefs().roundToPeso);
}

bool RunContext::Before(CalcStep step, int i, int n) {
  if (interrupted) return false;
  if (observer.StopWanted()) {
    interrupted = true;
    return false;
  }
  observer.StepRecord(step, i, n);
  return true;
}

void RunContext::AddContentError(const ErrorEntry& e) {
  errors.push_back(e);
  Count(contentErrors);
}

void RunContext::AddCrossError(const ErrorEntry& e) {
  errors.push_back(e);
  Count(crossErrors);
}

long double RunContext::AdjustedInputPrice(int r, int group) {
  const auto i = static_cast<size_t>(r);
  if (adjusted_.empty()) {
    // The prices of all inputs in one pass over the file, not one
    // record fetched from memory for each input first met.
    prices_.resize(static_cast<size_t>(inputs.Count()));
    for (int k = 1; k < inputs.Count(); ++k)
      prices_[static_cast<size_t>(k)] = Get(inputs.Get(k), input::Price);
    adjusted_.resize(prices_.size());
    adjustedGroup_.resize(adjusted_.size(), 0);
  }
  // An input stands in one section almost always: the price adjusted for
  // the group last asked is kept.
  if (adjustedGroup_[i] != group) {
    adjusted_[i] = AdjustedPrice(basis, group, prices_[i]);
    adjustedGroup_[i] = static_cast<uint8_t>(group);
  }
  return adjusted_[i];
}

void RunContext::FlushRecords() {
  needs.WriteBack(inputs);
  if (marks.Loaded()) marks.WriteBack(analyses);
  if (globalMarks.Loaded()) globalMarks.WriteBack(globals);
  inputs.Flush();
  analyses.Flush();
  subcontracts.Flush();
  globals.Flush();
  budget.Flush();
}

int RecordsInUse(int area) {
  const WorkArea& a = Area(area);
  return a.Data.isOpen ? UsedRecordCount(a.Data) : 0;
}

}  // namespace vantu
