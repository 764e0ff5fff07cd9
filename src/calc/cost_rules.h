#pragma once
// The cost rules: how a price, a line, an analysis, a subcontract, a budget
// item and the budget summary are priced. Pure functions over values; the
// calculation, the cost window, the code lists' detail window and the
// data-set generator all price through them.
//
// Every amount is a long double (the stored 80-bit extended real) and every
// expression is evaluated left to right exactly as written here: a sum of
// four terms is ((a + b) + c) + d, a percentage is (x * pct) / 100. Reordering
// or fusing them changes the last bits of stored results.

#include <array>

#include "records/analysis_records.h"
#include "records/coded_records.h"
#include "records/general_record.h"
#include "toolkit/numbers.h"

namespace vantu {

// What prices depend on besides the records themselves: the money rounding
// preference ("Ajuste al peso") and the Rama's general data.
struct CostBasis {
  bool toPeso = false;
  std::array<long double, 5> factor{0, 1, 1, 1, 1};  // groups 1..4
  long double aiuPerItem = 0;
  long double aiuPerItemForSubcontracts = 0;
};

CostBasis BasisOf(const GeneralDataRecord& general, bool toPeso);

// RoundMoney under the basis's preference.
inline long double Money(const CostBasis& b, long double x) {
  return RoundMoneyAs(x, b.toPeso);
}

// One analysis line of the section of `group` (inline: the calculation
// prices every line of every analysis with them):
// a basic input: Money(AdjustPrice(price, factor) * quantity), which is
// InputLineCostAdjusted(b, AdjustedPrice(b, group, price), quantity);
inline long double AdjustedPrice(const CostBasis& b, int group, long double price) {
  return AdjustPrice(price, b.factor[static_cast<size_t>(group)]);
}
inline long double InputLineCostAdjusted(const CostBasis& b, long double adjusted,
                                         long double quantity) {
  return Money(b, adjusted * quantity);
}
inline long double InputLineCost(const CostBasis& b, int group, long double price,
                                 long double quantity) {
  return InputLineCostAdjusted(b, AdjustedPrice(b, group, price), quantity);
}
// a nested analysis: Money(quantity * Money(its direct cost)), no factor;
inline long double NestedLineCost(const CostBasis& b, long double quantity,
                                  long double nestedDirect) {
  const long double value = Money(b, nestedDirect);
  return Money(b, quantity * value);
}
// a global price: AdjustPrice(price, factor), whatever the line's quantity.
inline long double GlobalLineCost(const CostBasis& b, int group, long double globalPrice) {
  return AdjustPrice(globalPrice, b.factor[static_cast<size_t>(group)]);
}

// The computed fields of an analysis (offsets 552-621).
struct AnalysisCosts {
  long double materiales = 0;
  long double equipos = 0;
  long double materialesWithWaste = 0;
  long double transportes = 0;
  long double manoDeObra = 0;
  long double directCost = 0;
  long double unitPrice = 0;
};

// From the four group sums (index 1..4) and the analysis's percentages.
AnalysisCosts AnalysisTotals(const CostBasis& b, const std::array<long double, 5>& groupSum,
                             long double herramientaMenorPct, long double desperdicioPct);
AnalysisCosts AnalysisTotalsOf(const CostBasis& b, const std::array<long double, 5>& groupSum,
                               const AnalysisRecord& a);
void StoreAnalysisCosts(AnalysisRecord& a, const AnalysisCosts& c);

struct SubcontractCosts {
  long double directCost = 0;
  long double unitPrice = 0;
};
// From the four values (index 1..4): each adjusted by its group's factor.
SubcontractCosts SubcontractTotals(const CostBasis& b, const std::array<long double, 5>& value);
SubcontractCosts SubcontractTotalsOf(const CostBasis& b, const SubcontractRecord& s);

// A budget item priced by an analysis or a subcontract, and a global amount.
long double BudgetItemTotal(const CostBasis& b, long double quantity, long double unitPrice);
long double GlobalItemTotal(const CostBasis& b, long double amount);

// The budget summary the listings print ("SUBTOTAL COSTO DIRECTO" ...
// "VALOR TOTAL DEL PRESUPUESTO").
struct BudgetSummary {
  long double ivaEffectivePct = 0;
  long double directCostTotal = 0;
  long double aiuAmount = 0;
  long double adminAmount = 0;
  long double imprevistosAmount = 0;
  long double utilidadAmount = 0;
  long double subtotalWithAiu = 0;
  long double ivaAmount = 0;
  long double budgetTotal = 0;
};

// AiuMode 1 ("Cada Item"): the grand total already holds the AIU, and the
// direct cost is taken back out of it; any other mode adds AiuAtEnd.
BudgetSummary SummaryOf(long double grandTotal, const GeneralDataRecord& general, bool toPeso);

}  // namespace vantu
