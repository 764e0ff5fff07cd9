#pragma once
// Command F: the unit price analyses of the open Rama (file 3) with their
// lines, and the global prices those lines carry (file 5).

#include <optional>

#include "records/analysis_records.h"
#include "toolkit/code_list.h"
#include "toolkit/field_cost_window.h"

namespace vantu {

void AnalysesCommand();

// While command F runs: the analysis on its screen with the lines as they
// stand (for the cost window), and what a code picked from a list goes into
// (the line being edited). Nothing otherwise.
std::optional<AnalysisRecord> AnalysisOnScreen();
std::optional<CaptureTarget> AnalysisCaptureTarget();
// Whether the record on the screen is a chapter.
bool AnalysisScreenOnChapter();
// The direct cost of the analysis on the screen, lines and global prices as
// they stand, by the calculation's cost rules.
CostOutcome AnalysisScreenCost();

void ResetAnalysesModule();

}  // namespace vantu
