// The cost rules on hand-computed cases.
#include "calc/cost_rules.h"

#include <gtest/gtest.h>

#include "toolkit/numbers.h"

namespace vantu {
namespace {

CostBasis Basis(bool toPeso, std::array<long double, 5> factor = {0, 1, 1, 1, 1},
                long double aiu = 0) {
  CostBasis b;
  b.toPeso = toPeso;
  b.factor = factor;
  b.aiuPerItem = b.aiuPerItemForSubcontracts = aiu;
  return b;
}

TEST(CostRulesTest, RoundingAndAdjustment) {
  struct Case {
    const char* name;
    long double got, expected;
  };
  const Case cases[] = {
      {"a whole-peso price stays whole", AdjustPrice(1000, 1.15L), 1150},
      {"a price with cents rounds half up", AdjustPrice(10.50L, 1.25L), 13.13L},
      {"negative halves go toward zero", RoundCents(-2.25L), -2.24L},
      {"positive halves go up", RoundCents(2.125L), 2.13L},
      {"money in pesos", RoundMoneyAs(234.5L, true), 235},
      {"money in cents", RoundMoneyAs(234.5L, false), 234.5L},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.expected) << c.name;
}

TEST(CostRulesTest, LineCosts) {
  struct Case {
    const char* name;
    long double got, expected;
  };
  const CostBasis cents = Basis(false, {0, 1.25L, 1.15L, 1.1L, 1});
  const CostBasis pesos = Basis(true, {0, 1, 1, 1, 1});
  const Case cases[] = {
      {"input, whole price, materials factor", InputLineCost(cents, 2, 1000, 3), 3450},
      {"input, price with cents, equipment factor", InputLineCost(cents, 1, 10.50L, 2), 26.26L},
      {"the section decides the factor", InputLineCost(cents, 1, 1000, 1), 1250},
      {"input cost in pesos", InputLineCost(pesos, 4, 234.5L, 1), 235},
      {"input cost in cents", InputLineCost(Basis(false), 4, 234.5L, 1), 234.5L},
      {"nested: its direct cost rounded first", NestedLineCost(cents, 2.5L, 100.004L), 250},
      {"nested in pesos", NestedLineCost(pesos, 0.5L, 100.6L), 51},
      {"global: adjusted, no quantity", GlobalLineCost(cents, 3, 2000), 2200},
      {"global with cents", GlobalLineCost(Basis(false, {0, 2, 1, 1, 1}), 1, 1500.50L), 3001},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.expected) << c.name;
}

TEST(CostRulesTest, AnalysisTotals) {
  struct Case {
    const char* name;
    bool toPeso;
    std::array<long double, 5> sums;
    long double herramienta, desperdicio, aiu;
    AnalysisCosts expected;
  };
  const Case cases[] = {
      {"labour with minor tools",
       false,
       {0, 0, 0, 0, 100},
       5,
       0,
       25,
       {0, 5, 0, 0, 100, 105, 131.25L}},
      {"labour with minor tools, in pesos",
       true,
       {0, 0, 0, 0, 100},
       5,
       0,
       25,
       {0, 5, 0, 0, 100, 105, 131}},
      {"waste and tools", false, {0, 10, 200, 30, 40}, 10, 5, 0, {200, 14, 210, 30, 40, 294, 294}},
      {"direct cost rounded in pesos",
       true,
       {0, 0.25L, 0, 0, 0},
       0,
       0,
       0,
       {0, 0.25L, 0, 0, 0, 0, 0}},
      {"direct cost kept in cents",
       false,
       {0, 0.25L, 0, 0, 0},
       0,
       0,
       0,
       {0, 0.25L, 0, 0, 0, 0.25L, 0.25L}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CostBasis b = Basis(c.toPeso);
    b.aiuPerItem = c.aiu;
    const AnalysisCosts got = AnalysisTotals(b, c.sums, c.herramienta, c.desperdicio);
    EXPECT_EQ(got.materiales, c.expected.materiales);
    EXPECT_EQ(got.equipos, c.expected.equipos);
    EXPECT_EQ(got.materialesWithWaste, c.expected.materialesWithWaste);
    EXPECT_EQ(got.transportes, c.expected.transportes);
    EXPECT_EQ(got.manoDeObra, c.expected.manoDeObra);
    EXPECT_EQ(got.directCost, c.expected.directCost);
    EXPECT_EQ(got.unitPrice, c.expected.unitPrice);
  }
}

TEST(CostRulesTest, SubcontractTotals) {
  const CostBasis b = Basis(false, {0, 1.5L, 1.25L, 1, 2}, 20);
  const SubcontractCosts c = SubcontractTotals(b, {0, 10.5L, 1000, 0, 50});
  // 15.75 + 1250 + 0 + 100; AIU 20 % of 1365.75 = 273.15.
  EXPECT_EQ(c.directCost, 1365.75L);
  EXPECT_EQ(c.unitPrice, 1365.75L + 273.15L);
}

// Analyses take the Rama's AIU per item, subcontracts their own: with the
// two different, each price shows which it took.
TEST(CostRulesTest, SubcontractsTakeTheirOwnAiu) {
  CostBasis b = Basis(false);
  b.aiuPerItem = 10;
  b.aiuPerItemForSubcontracts = 25;
  const SubcontractCosts c = SubcontractTotals(b, {0, 100, 200, 300, 400});
  EXPECT_EQ(c.directCost, 1000.0L);
  EXPECT_EQ(c.unitPrice, 1250.0L);
  b.aiuPerItemForSubcontracts = 0;
  EXPECT_EQ(SubcontractTotals(b, {0, 100, 200, 300, 400}).unitPrice, 1000.0L);
}

TEST(CostRulesTest, BudgetItems) {
  EXPECT_EQ(BudgetItemTotal(Basis(false), 3, 131.25L), 393.75L);
  EXPECT_EQ(BudgetItemTotal(Basis(true), 3, 131.25L), 394);
  EXPECT_EQ(BudgetItemTotal(Basis(false), 0, 131.25L), 0);
  EXPECT_EQ(GlobalItemTotal(Basis(true), 1500.50L), 1501);
}

TEST(CostRulesTest, BudgetSummaryInBothAiuModes) {
  GeneralDataRecord g;
  Set(g, general::AdminPct, 10.0L);
  Set(g, general::ImprevistosPct, 5.0L);
  Set(g, general::UtilidadPct, 10.0L);
  Set(g, general::IvaPct, 16.0L);
  struct Case {
    const char* name;
    int16_t mode;
    long double grandTotal;
  };
  // AIU inside every price with 25 %, or 25 % added at the end: the same
  // direct cost of 1000 either way.
  const Case cases[] = {{"per item", general::kAiuPerItem, 1250},
                        {"at the end", general::kAiuAtEnd, 1000}};
  for (const Case& c : cases) {
    for (bool pesos : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (pesos ? " pesos" : " cents"));
      Set(g, general::AiuMode, c.mode);
      Set(g, general::AiuPerItem, c.mode == general::kAiuPerItem ? 25.0L : 0.0L);
      Set(g, general::AiuAtEnd, c.mode == general::kAiuAtEnd ? 25.0L : 0.0L);
      const BudgetSummary s = SummaryOf(c.grandTotal, g, pesos);
      EXPECT_EQ(s.ivaEffectivePct, 1.6L);
      EXPECT_EQ(s.directCostTotal, 1000);
      EXPECT_EQ(s.aiuAmount, 250);
      EXPECT_EQ(s.subtotalWithAiu, 1250);
      EXPECT_EQ(s.ivaAmount, 16);
      EXPECT_EQ(s.adminAmount, 100);
      EXPECT_EQ(s.imprevistosAmount, 50);
      EXPECT_EQ(s.utilidadAmount, 100);
      EXPECT_EQ(s.budgetTotal, 1266);
    }
  }
}

TEST(CostRulesTest, ProfitTakesTheRoundingDifference) {
  GeneralDataRecord g;
  Set(g, general::AiuMode, general::kAiuPerItem);
  Set(g, general::AiuPerItem, 30.0L);
  Set(g, general::AdminPct, 10.0L);
  Set(g, general::ImprevistosPct, 10.0L);
  Set(g, general::UtilidadPct, 10.0L);
  const BudgetSummary s = SummaryOf(1000, g, true);
  // 1000 / 1.3 = 769.23 -> 769 pesos; AIU 231; admin and imprevistos 77 each.
  EXPECT_EQ(s.directCostTotal, 769);
  EXPECT_EQ(s.aiuAmount, 231);
  EXPECT_EQ(s.adminAmount, 77);
  EXPECT_EQ(s.imprevistosAmount, 77);
  EXPECT_EQ(s.utilidadAmount, 77);
  EXPECT_EQ(s.adminAmount + s.imprevistosAmount + s.utilidadAmount, s.aiuAmount);
}

}  // namespace
}  // namespace vantu
