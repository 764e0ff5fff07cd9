#pragma once
// Costs as the screens show them between calculations: an analysis or a
// subcontract priced from the files as they are now, by the same rules as
// the calculation, without writing anything. The cost window of the field
// editor and the detail window of the code lists use them.

#include <array>
#include <cstdint>

#include "calc/cost_rules.h"

namespace vantu {

struct AnalysisView {
  bool priced = false;    // an analysis in use, every nested one priced
  bool circular = false;  // a nested analysis leads back into itself
  std::array<long double, 5> groupSum{};
  AnalysisCosts costs;
};

// The basis of the open Rama with the current rounding preference.
CostBasis CurrentBasis();
// Analysis r of work area 3, its nested analyses priced afresh.
AnalysisView PriceAnalysisNow(int16_t r);
// Subcontract r of work area 4.
SubcontractCosts PriceSubcontractNow(int16_t r);

}  // namespace vantu
