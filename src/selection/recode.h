#pragma once
// Command C, "Recodificacion General": renumbers every chapter and item of
// the open Rama's basic inputs, analyses and subcontracts and of the open
// Obra's budget with even spacing, keeping their order, and then updates
// every reference to them. The run goes through two phases recorded in a
// state file (recode_state.h), so that a run cut short is completed when
// the next selection (command A) ends.

#include <string>
#include <vector>

#include "selection/recode_state.h"

namespace vantu {

// interactive: from command C, with its refusals and parameter window.
// Otherwise only a run left in progress by its state file is completed.
void Recodify(bool interactive);
// Command C.
inline void RecodifyCommand() {
  Recodify(true);
}

// The coded files (2, 3, 4 and, with an Obra, 6) the run covers: those that
// hold records.
std::vector<int> FilesToRecodify();
// Runs the phases from `phase` over the open set with its work areas open,
// without any window. Returns 0, or the number of a file whose codes would
// not fit; nothing has been written then.
int RunRecodification(int phase, const RecodeParams& params);

// The parameter window: true with the parameters when the user passed the
// last field, false after Esc (the window is then closed). On true the
// window stays open for the run; CloseRecodeWindow closes it.
bool EditRecodeParams(RecodeParams& params);
void CloseRecodeWindow();

void ResetRecodification();
// A recodification of the open Rama cut short: completed when it was for
// the set just opened (true); when it was for another Obra of the Rama (or
// for the Rama alone), the lines that say which set to open to complete it.
bool CompletePendingRecode(std::vector<std::string>& otherSet);

}  // namespace vantu
