#pragma once
// The review and calculation of the open Rama (and Obra) without a screen:
// what a run has to do, the run itself and its closing. The command I of the
// program, the command line and the data-set generator run it, each with
// its own observer.

#include <cstdint>
#include <string>

#include "calc/run_context.h"

namespace vantu {

struct RunOutcome {
  bool somethingToDo = false;
  bool interrupted = false;
  int16_t contentErrors = 0;
  int16_t crossErrors = 0;
  // The run ended well: markers cleared, and with a calculation the files
  // stamped with the generation.
  bool closed = false;
  // With an Obra and a grand total above 0: the budget summary was computed.
  bool showsTotal = false;
  long double grandTotal = 0;
  BudgetSummary summary;

  int TotalErrors() const { return contentErrors + crossErrors; }
};

// Reads the markers of the open files into a plan. A generation that would
// pass 9999 starts again at 1: every file's SetSerial copy becomes 0 and its
// ChangeMarker copy 1, so that everything is reviewed and recalculated.
RunPlan PrepareRun();

// Runs the plan. The error file at `errorFile` is rewritten with the errors
// found (nothing is written when the path is empty). On success the run is
// closed: ChangeMarker copies 0, and when something was calculated the
// files' SetSerial := the generation, their headers written, the Obra's
// BudgetItemsTotal and the schedule's serial updated.
RunOutcome ExecuteRun(const RunPlan& plan, CalcObserver& observer, const std::string& errorFile);

// "V/R TOTAL PRESUPUESTO ==> $" and the budget total with the screens'
// separators (plain, for the command line, without `separators`), or
// "TODO ESTA CORRECTO ".
std::string ClosingText(const RunOutcome& outcome, bool separators = true);

// The budget total as the closing text shows it: 2 decimals, no blanks.
std::string PlainAmount(long double value);

}  // namespace vantu
