#pragma once
// Command H: the work budget of the open Obra (file 6). A chapter edits
// its description; an item its reference to an analysis, a subcontract or
// a global amount, its description (kept in step with the reference), its
// unit, its quantity (or "<POR DEFINIR>") and its tender-document code.

#include <optional>
#include <string>

#include "toolkit/code_list.h"

namespace vantu {

void BudgetCommand();

// Answers for the field editor and the code lists while the budget screen
// runs; outside it they answer as for any other screen.
//
// The quantity field of the item shown is "<POR DEFINIR>".
bool BudgetQuantityUndefined(int area, const std::string& label);
// Esc over the global code proposed in the item's reference field: the
// code the field had before.
std::optional<std::string> BudgetWithdrawProposal(int area, const std::string& label);
// A code picked from a list while the item's reference field is edited.
std::optional<CaptureTarget> BudgetCaptureTarget(int area);

void ResetBudgetModule();

}  // namespace vantu
