#include "calc/cost_rules.h"

#include "toolkit/numbers.h"

namespace vantu {

CostBasis BasisOf(const GeneralDataRecord& general, bool toPeso) {
  CostBasis b;
  b.toPeso = toPeso;
  for (int g = 1; g <= 4; ++g) b.factor[g] = Get(general, general::Factor(g));
  b.aiuPerItem = Get(general, general::AiuPerItem);
  b.aiuPerItemForSubcontracts = Get(general, general::AiuPerItemForSubcontracts);
  return b;
}

AnalysisCosts AnalysisTotals(const CostBasis& b, const std::array<long double, 5>& groupSum,
                             long double herramientaMenorPct, long double desperdicioPct) {
  AnalysisCosts c;
  c.materiales = groupSum[2];
  c.materialesWithWaste = Money(b, groupSum[2] * desperdicioPct / 100) + groupSum[2];
  c.equipos = groupSum[1] + Money(b, groupSum[4] * herramientaMenorPct / 100);
  c.transportes = groupSum[3];
  c.manoDeObra = groupSum[4];
  const long double s = c.equipos + c.materialesWithWaste + c.transportes + c.manoDeObra;
  c.directCost = b.toPeso ? Money(b, s) : s;
  c.unitPrice = Money(b, c.directCost * (b.aiuPerItem / 100 + 1));
  return c;
}

AnalysisCosts AnalysisTotalsOf(const CostBasis& b, const std::array<long double, 5>& groupSum,
                               const AnalysisRecord& a) {
  return AnalysisTotals(b, groupSum, Get(a, analysis::HerramientaMenorPct),
                        Get(a, analysis::DesperdicioPct));
}

void StoreAnalysisCosts(AnalysisRecord& a, const AnalysisCosts& c) {
  Set(a, analysis::MaterialesCost, c.materiales);
  Set(a, analysis::EquiposCost, c.equipos);
  Set(a, analysis::MaterialesWithWaste, c.materialesWithWaste);
  Set(a, analysis::TransportesCost, c.transportes);
  Set(a, analysis::ManoDeObraCost, c.manoDeObra);
  Set(a, analysis::DirectCost, c.directCost);
  Set(a, analysis::UnitPrice, c.unitPrice);
}

SubcontractCosts SubcontractTotals(const CostBasis& b, const std::array<long double, 5>& value) {
  SubcontractCosts c;
  c.directCost = AdjustPrice(value[1], b.factor[1]) + AdjustPrice(value[2], b.factor[2]) +
                 AdjustPrice(value[3], b.factor[3]) + AdjustPrice(value[4], b.factor[4]);
  c.unitPrice = c.directCost + Money(b, c.directCost * b.aiuPerItemForSubcontracts / 100);
  return c;
}

SubcontractCosts SubcontractTotalsOf(const CostBasis& b, const SubcontractRecord& s) {
  return SubcontractTotals(
      b, {0, Get(s, subcontract::EquiposValue), Get(s, subcontract::MaterialesValue),
          Get(s, subcontract::TransportesValue), Get(s, subcontract::ManoDeObraValue)});
}

long double BudgetItemTotal(const CostBasis& b, long double quantity, long double unitPrice) {
  return Money(b, quantity * unitPrice);
}

long double GlobalItemTotal(const CostBasis& b, long double amount) {
  return Money(b, amount);
}

BudgetSummary SummaryOf(long double grandTotal, const GeneralDataRecord& g, bool toPeso) {
  CostBasis b;
  b.toPeso = toPeso;
  BudgetSummary s;
  s.ivaEffectivePct = RoundCents(Get(g, general::IvaPct) * Get(g, general::UtilidadPct) / 100);
  if (Get(g, general::AiuMode) == general::kAiuPerItem) {
    s.subtotalWithAiu = grandTotal;
    s.directCostTotal = Money(b, s.subtotalWithAiu / (Get(g, general::AiuPerItem) / 100 + 1));
    s.aiuAmount = s.subtotalWithAiu - s.directCostTotal;
  } else {
    s.directCostTotal = grandTotal;
    s.aiuAmount = Money(b, s.directCostTotal * Get(g, general::AiuAtEnd) / 100);
    s.subtotalWithAiu = s.directCostTotal + s.aiuAmount;
  }
  s.ivaAmount = Money(b, s.directCostTotal * s.ivaEffectivePct / 100);
  s.adminAmount = Money(b, s.directCostTotal * Get(g, general::AdminPct) / 100);
  s.imprevistosAmount = Money(b, s.directCostTotal * Get(g, general::ImprevistosPct) / 100);
  s.utilidadAmount = s.aiuAmount - s.adminAmount - s.imprevistosAmount;
  s.budgetTotal = s.subtotalWithAiu + s.ivaAmount;
  return s;
}

}  // namespace vantu
