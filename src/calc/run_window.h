#pragma once
// Command I, "Revision y Calculo": the review and calculation in its window,
// with a progress line per step, the offer to interrupt, the decision to
// review the errors found, and the budget total at the end.

namespace vantu {

void RunReviewAndCalculation();

}  // namespace vantu
