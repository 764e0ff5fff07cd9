#pragma once
// Costs priced on demand from the records as they stand, through the
// calculation's cost rules, for the cost window and the lists' detail
// window. Nothing is written.

#include <array>
#include <cstdint>

#include "calc/cost_rules.h"
#include "records/analysis_records.h"
#include "records/coded_records.h"

namespace vantu {

// The rules' basis from the Rama's general data and the preferences.
CostBasis LiveBasis();

struct LiveAnalysisCosts {
  AnalysisCosts costs;
  bool circular = false;  // a nested analysis leads back to one being priced
};

// Prices analysis `a` (record `ownRecNo` of file 3, 0 when not stored)
// and the analyses nested in it. `globalPrices`, when given, holds the
// price of the global line in each slot (1..15) of `a`; otherwise the
// prices are read from file 5.
LiveAnalysisCosts PriceAnalysis(const AnalysisRecord& a, int16_t ownRecNo,
                                const std::array<long double, 16>* globalPrices = nullptr);

SubcontractCosts PriceSubcontract(const SubcontractRecord& s);

}  // namespace vantu
