#pragma once
// Commands J and K: the budget listings, all those ticked in the
// preferences into one listing file (total), or one at a time from a menu
// (partial, also to the viewer).

namespace vantu {

// True, after the note "PRIMERO DEBE  REALIZAR LOS CALCULOS", when data
// changed since the last calculation.
bool NeedsCalculation();

void TotalBudgetListings();    // J
void PartialBudgetListings();  // K

}  // namespace vantu
