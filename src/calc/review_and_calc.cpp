#include "calc/review_and_calc.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "calc/calc_state.h"
#include "records/budget_records.h"
#include "records/codes.h"
#include "session/selection_state.h"
#include "storage/file_sets.h"
#include "toolkit/error_review.h"
#include "toolkit/field_format.h"

namespace vantu {

namespace {

// The schedule's header: ScheduleSerial at offset 6; -1 stale, -2 costs
// recalculated.
constexpr std::streamoff kScheduleSerialOffset = 6;
constexpr int16_t kScheduleStale = -1;
constexpr int16_t kScheduleRecalculated = -2;

bool Changed(int n) {
  return Area(n).Data.isOpen && Area(n).SavedChangeMarker != 0;
}

bool Blank(std::string_view s) {
  return s.find_first_not_of(' ') == std::string_view::npos;
}

// The general data lacks a name or the Obra's header its identification.
bool GeneralDataIncomplete(bool obra) {
  GeneralDataRecord g;
  if (Area(kAreaGeneral).Data.isOpen && FileRecordCount(Area(kAreaGeneral).Data) > 1)
    GetRec(Area(kAreaGeneral).Data, 1, g.data());
  if (Blank(Get(g, general::RamaName))) return true;
  if (!obra) return false;
  ObraHeader h;
  GetRec(Area(kAreaBudget).Data, 0, h.data());
  return Blank(Get(h, obra_header::ObraName)) || Blank(Get(h, obra_header::ObraReference)) ||
         !HasDate(Get(h, obra_header::BudgetDate));
}

// Marks the Obra's schedule: its costs were recalculated.
void MarkScheduleRecalculated() {
  const SelectionState& sel = Selection();
  if (sel.ObraCode.empty()) return;
  const std::string name = FindFileIn(sel.DataDirectory, "Apr06cro." + sel.RamaCode + sel.ObraCode);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(name, ec)) return;
  if (std::filesystem::file_size(name, ec) < kScheduleSerialOffset + 2 || ec) return;
  std::fstream f(std::filesystem::path(name), std::ios::binary | std::ios::in | std::ios::out);
  uint8_t bytes[2] = {};
  f.seekg(kScheduleSerialOffset);
  if (!f.read(reinterpret_cast<char*>(bytes), 2)) return;
  if (GetI16(bytes) == kScheduleStale) return;
  PutI16(bytes, kScheduleRecalculated);
  f.seekp(kScheduleSerialOffset);
  f.write(reinterpret_cast<const char*>(bytes), 2);
}

// Markers cleared; with a calculation the generation stamped into every
// header. File 1 goes last: a stop half-way leaves a set whose recovery
// takes file 1's older serial and reviews everything again.
void CloseRun(const RunPlan& plan, const RunContext& run, RunOutcome& out) {
  const int last = plan.obra ? kAreaBudget : kAreaGlobals;
  for (int n = kAreaGeneral; n <= last; ++n) Area(n).SavedChangeMarker = 0;
  if (plan.AnyCalc()) {
    for (int n = last; n >= kAreaGeneral; --n) {
      Area(n).SavedSetSerial = plan.generation;
      FlushWorkArea(n);
    }
    if (plan.obra && plan.reviewNeeded[6]) MarkScheduleRecalculated();
  }
  Calc().budgetGrandTotal = run.budgetGrandTotal;
  out.grandTotal = run.budgetGrandTotal;
  if (plan.obra && run.budgetGrandTotal > 0) {
    ComputeBudgetSummary();
    out.summary = Calc().summary;
    out.showsTotal = true;
  }
  if (plan.SomethingToDo() && plan.obra) {
    ObraHeader h;
    GetRec(Area(kAreaBudget).Data, 0, h.data());
    Set(h, obra_header::BudgetItemsTotal, run.budgetGrandTotal);
    PutRec(Area(kAreaBudget).Data, 0, h.data());
    FlushWorkArea(kAreaBudget);
  }
  out.closed = true;
}

}  // namespace

RunPlan PrepareRun() {
  RunPlan p;
  p.obra = Area(kAreaBudget).Data.isOpen;
  int16_t highest = 0;
  for (int n = kAreaGeneral; n <= kAreaGlobals; ++n)
    if (Area(n).Data.isOpen) highest = std::max(highest, Area(n).SavedSetSerial);
  p.highestSerial = highest;
  const int16_t obraSerial = p.obra ? Area(kAreaBudget).SavedSetSerial : highest;
  p.generation = static_cast<int16_t>(highest + 1);
  if (highest >= kLastGeneration || highest < 0) {
    p.wrapped = true;
    p.generation = 1;
    for (int n = kAreaGeneral; n <= (p.obra ? kAreaBudget : kAreaGlobals); ++n) {
      Area(n).SavedSetSerial = 0;
      Area(n).SavedChangeMarker = 1;
    }
  }
  for (int n = kAreaGeneral; n <= kAreaGlobals; ++n)
    p.reviewNeeded[static_cast<size_t>(n)] = Changed(n);
  p.reviewNeeded[6] = p.obra && Changed(kAreaBudget);
  if (GeneralDataIncomplete(p.obra)) p.reviewNeeded[1] = true;
  const bool cm1 = Changed(1), cm2 = Changed(2), cm3 = Changed(3), cm4 = Changed(4),
             cm5 = Changed(5), cm6 = p.obra && Changed(kAreaBudget);
  const bool obraBehind = p.obra && obraSerial != highest;
  p.crossNeeded[1] = cm2 || cm3 || cm5;
  p.crossNeeded[2] = p.obra && (cm3 || cm4 || obraBehind);
  p.calcAnalyses = cm1 || cm2 || cm3 || cm5;
  p.calcSubcontracts = cm1 || cm4;
  p.calcBudget = p.obra && (cm6 || obraBehind || p.calcAnalyses || p.calcSubcontracts);
  return p;
}

RunOutcome ExecuteRun(const RunPlan& plan, CalcObserver& observer, const std::string& errorFile) {
  RunOutcome out;
  out.somethingToDo = plan.SomethingToDo();
  if (Review().active) EndErrorReview();
  if (!errorFile.empty()) WriteErrorFile(errorFile, {});
  if (plan.obra) LoadBudgetGrandTotal();
  RunContext run(plan, observer);
  run.budgetGrandTotal = plan.obra ? Calc().budgetGrandTotal : 0;
  if (out.somethingToDo) {
    RunContentReview(run);
    RunCrossReview(run);
  }
  out.contentErrors = run.contentErrors;
  out.crossErrors = run.crossErrors;
  if (!errorFile.empty() && !run.errors.empty()) WriteErrorFile(errorFile, run.errors);
  if (!run.interrupted && out.TotalErrors() == 0 && plan.AnyCalc()) RunCalculation(run);
  run.FlushRecords();
  out.interrupted = run.interrupted;
  if (out.interrupted || out.TotalErrors() > 0) return out;
  CloseRun(plan, run, out);
  return out;
}

std::string PlainAmount(long double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%18.2Lf", value);
  std::string s = text;
  return s.substr(std::min(s.find_first_not_of(' '), s.size()));
}

std::string ClosingText(const RunOutcome& outcome, bool separators) {
  const long double total = outcome.summary.budgetTotal;
  if (outcome.showsTotal)
    return "V/R TOTAL PRESUPUESTO ==> $" +
           (separators ? FormatNumber(0, 2, total) : PlainAmount(total)) + " ";
  return "TODO ESTA CORRECTO ";
}

}  // namespace vantu
