// The calculation over a small hand-built Rama and Obra: every stored
// result, computed here by hand in the order the rules state.
#include <gtest/gtest.h>

#include "calc/calc_fixture.h"
#include "toolkit/field_format.h"
#include "toolkit/numbers.h"

namespace vantu::test {
namespace {

class CalculationTest : public CalcTest {
 protected:
  void SetUp() override {
    CalcTest::SetUp();
    Set(general, general::FactorEquipos, 1.25L);
    Set(general, general::FactorMateriales, 1.15L);
    Set(general, general::FactorTransportes, 1.1L);
    // Subcontracts carry an AIU of their own, unlike the analyses' 25 %.
    Set(general, general::AiuPerItemForSubcontracts, 20.0L);
    WriteGeneral(general);
    InputChapter("01", 1);
    tool = Input("01010", 10.50L);
    InputChapter("02", 2);
    brick = Input("02010", 1000);
    InputChapter("04", 4);
    labour = Input("04010", 100);
    AnalysisChapter("01");
    b = Analysis("010010", {{4, 2, labour, 1}}, 5);
    a = Analysis("010020", {{1, 2, tool, 2}, {1, 2, brick, 1}, {2, 3, b, 2}});
    const int16_t lump = Global(1, 1500.50L, a);
    SetLines(a, {{1, 2, tool, 2}, {1, 2, brick, 1}, {1, 5, lump, 7}, {2, 3, b, 2}});
    SubcontractChapter("01");
    sub = Subcontract("01010", {10.5L, 1000, 0, 50});
    BudgetChapter("01");
    itemA = Item("01010", 3, a, 3);
    itemSub = Item("01020", 4, sub, 2);
    chapter2 = BudgetChapter("02");
    itemGlobal = Item("02010", 5, 0, 5000.50L);
    itemOpen = Item("02020", 3, b, 0, true);
  }

  // Record r of file `area` with one field changed, as the entry modules
  // leave it: written, and the file marked changed.
  template <class R, class F, class V>
  void Edit(int area, int16_t r, F field, const V& value) {
    R rec = Read<R>(area, r);
    Set(rec, field, value);
    PutRec(Area(area).Data, r, rec.data());
    Area(area).SavedChangeMarker = 1;
  }

  int16_t tool = 0, brick = 0, labour = 0, a = 0, b = 0, sub = 0;
  int16_t itemA = 0, itemSub = 0, chapter2 = 0, itemGlobal = 0, itemOpen = 0;
};

TEST_F(CalculationTest, PricesEveryRecordAsTheRulesState) {
  const RunOutcome out = Run();
  ASSERT_EQ(out.TotalErrors(), 0) << (Errors().empty() ? "" : Errors()[0].errCode);
  ASSERT_TRUE(out.closed);

  // B: labour 100 with 5 % minor tools.
  const auto nb = Read<AnalysisRecord>(3, b);
  EXPECT_EQ(Get(nb, analysis::ManoDeObraCost), 100);
  EXPECT_EQ(Get(nb, analysis::EquiposCost), 5);
  EXPECT_EQ(Get(nb, analysis::DirectCost), 105);
  EXPECT_EQ(Get(nb, analysis::UnitPrice), 131.25L);

  // A: the equipment section adjusts every line by the equipment factor,
  // the materials input too; the global counts once whatever its quantity;
  // the nested B is not adjusted again.
  const long double equipos = 26.26L + 1250 + 1875.63L;
  const long double direct = equipos + 210;
  const auto na = Read<AnalysisRecord>(3, a);
  EXPECT_EQ(Get(na, analysis::EquiposCost), equipos);
  EXPECT_EQ(Get(na, analysis::MaterialesCost), 210);
  EXPECT_EQ(Get(na, analysis::MaterialesWithWaste), 210);
  EXPECT_EQ(Get(na, analysis::DirectCost), direct);
  const long double unitA = RoundCents(direct * (25.0L / 100 + 1));
  EXPECT_EQ(Get(na, analysis::UnitPrice), unitA);

  // The subcontract: 13.13 + 1150 + 0 + 50, and its own 20 % AIU.
  const long double subDirect = 13.13L + 1150 + 0 + 50;
  const auto ns = Read<SubcontractRecord>(4, sub);
  EXPECT_EQ(Get(ns, subcontract::DirectCost), subDirect);
  const long double subUnit = subDirect + RoundCents(subDirect * 20 / 100);
  EXPECT_EQ(Get(ns, subcontract::UnitPrice), subUnit);

  // The budget, chapter by chapter.
  const long double totalA = RoundCents(3 * unitA);
  const long double totalSub = RoundCents(2 * subUnit);
  EXPECT_EQ(Get(Read<BudgetRecord>(6, itemA), budget_item::ItemUnitPrice), unitA);
  EXPECT_EQ(Get(Read<BudgetRecord>(6, itemA), budget_item::ItemTotal), totalA);
  EXPECT_EQ(Get(Read<BudgetRecord>(6, itemA), budget_item::Description), "Analisis 010020");
  EXPECT_EQ(Get(Read<BudgetRecord>(6, itemSub), budget_item::ItemTotal), totalSub);
  EXPECT_EQ(Get(Read<BudgetRecord>(6, itemGlobal), budget_item::ItemUnitPrice), 0);
  EXPECT_EQ(Get(Read<BudgetRecord>(6, itemGlobal), budget_item::ItemTotal), 5000.50L);
  EXPECT_EQ(Get(Read<BudgetRecord>(6, itemOpen), budget_item::ItemTotal), 0);
  EXPECT_EQ(Get(Read<BudgetRecord>(6, Find(6, "01")), budget_chapter::ChapterTotal),
            totalA + totalSub);
  EXPECT_EQ(Get(Read<BudgetRecord>(6, chapter2), budget_chapter::ChapterTotal), 5000.50L + 0);
  const long double grand = totalA + totalSub + 5000.50L + 0;
  EXPECT_EQ(out.grandTotal, grand);
  EXPECT_EQ(Get(Read<ObraHeader>(6, 0), obra_header::BudgetItemsTotal), grand);
  EXPECT_EQ(Calc().budgetGrandTotal, grand);

  // What the budget requires: 3 units of A, and through it 6 of B.
  EXPECT_EQ(Get(Read<InputRecord>(2, tool), input::RequiredQuantity), 6);
  EXPECT_EQ(Get(Read<InputRecord>(2, brick), input::RequiredQuantity), 3);
  EXPECT_EQ(Get(Read<InputRecord>(2, labour), input::RequiredQuantity), 6);
  for (int16_t r : {tool, brick, labour})
    EXPECT_EQ(Get(Read<InputRecord>(2, r), coded::CalcStamp), 1);
  EXPECT_EQ(Get(Read<AnalysisRecord>(3, a), coded::CalcStamp), 1);
  EXPECT_EQ(Get(Read<AnalysisRecord>(3, b), coded::CalcStamp), 1);
  EXPECT_EQ(Get(Read<SubcontractRecord>(4, sub), coded::CalcStamp), 1);
  EXPECT_EQ(Get(Read<GlobalPriceRecord>(5, 1), global_price::CalcStamp), 1);
}

TEST_F(CalculationTest, ClosingClearsMarkersAndStampsTheGeneration) {
  ASSERT_TRUE(Run().closed);
  CloseSet();
  for (int n = 1; n <= 6; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(Markers(n, n == 6 ? "A01" : "A"), std::make_pair(0, 1));
  }
  OpenSet("A", "01");
  const RunPlan again = PrepareRun();
  EXPECT_FALSE(again.SomethingToDo());
  EXPECT_EQ(again.generation, 2);
  const RunOutcome out = Run();
  EXPECT_TRUE(out.closed);
  EXPECT_TRUE(out.showsTotal) << "the total loaded from the Obra's header";
  EXPECT_EQ(ClosingText(out),
            "V/R TOTAL PRESUPUESTO ==> $" + FormatNumber(0, 2, out.summary.budgetTotal) + " ");
  CloseSet();
  EXPECT_EQ(Markers(3, "A"), std::make_pair(0, 1)) << "nothing done, nothing stamped";
}

TEST_F(CalculationTest, AnAnalysisUsedTwiceIsPricedOnce) {
  ASSERT_TRUE(Run().closed);
  // C nests B and A, which this run priced before it: C takes their stored
  // direct costs, rounded as money.
  const int16_t c = Analysis("010030", {{2, 3, b, 1}, {2, 3, a, 1}});
  Area(3).SavedChangeMarker = 1;
  const RunOutcome out = Run();
  ASSERT_TRUE(out.closed);
  const long double direct = Get(Read<AnalysisRecord>(3, c), analysis::DirectCost);
  const long double costA = Get(Read<AnalysisRecord>(3, a), analysis::DirectCost);
  EXPECT_EQ(direct, 105 + RoundCents(costA));
  EXPECT_EQ(Get(Read<AnalysisRecord>(3, c), coded::CalcStamp), -2) << "not used by the budget";
}

// Only the budget changed: the analyses keep their costs, but what the
// budget uses is stamped with the new generation and the inputs' required
// quantities are counted again from nothing, not added to the last run's.
TEST_F(CalculationTest, ASecondRunRecountsRequiredQuantitiesAndRestampsWhatTheBudgetUses) {
  ASSERT_TRUE(Run().closed);
  const long double directA = Get(Read<AnalysisRecord>(3, a), analysis::DirectCost);
  Edit<BudgetRecord>(6, itemA, budget_item::Quantity, 4.0L);
  const RunPlan plan = PrepareRun();
  ASSERT_FALSE(plan.calcAnalyses);
  CalcObserver none;
  ASSERT_TRUE(ExecuteRun(plan, none, "ApError").closed);

  EXPECT_EQ(Get(Read<InputRecord>(2, tool), input::RequiredQuantity), 8);
  EXPECT_EQ(Get(Read<InputRecord>(2, brick), input::RequiredQuantity), 4);
  EXPECT_EQ(Get(Read<InputRecord>(2, labour), input::RequiredQuantity), 8);
  for (int16_t r : {tool, brick, labour})
    EXPECT_EQ(Get(Read<InputRecord>(2, r), coded::CalcStamp), 2) << "input " << r;
  EXPECT_EQ(Get(Read<AnalysisRecord>(3, a), coded::CalcStamp), 2);
  EXPECT_EQ(Get(Read<AnalysisRecord>(3, b), coded::CalcStamp), 2);
  EXPECT_EQ(Get(Read<GlobalPriceRecord>(5, 1), global_price::CalcStamp), 2);
  EXPECT_EQ(Get(Read<AnalysisRecord>(3, a), analysis::DirectCost), directA);
  EXPECT_EQ(Get(Read<BudgetRecord>(6, itemA), budget_item::ItemTotal),
            RoundCents(4 * Get(Read<AnalysisRecord>(3, a), analysis::UnitPrice)));
}

// Only a price changed: the budget is not reviewed, yet priced again, and
// its chapters and total add up the items in key order as in a full run.
TEST_F(CalculationTest, ABudgetNotReviewedIsStillPricedChapterByChapter) {
  ASSERT_TRUE(Run().closed);
  const long double before = Get(Read<BudgetRecord>(6, itemA), budget_item::ItemTotal);
  Edit<InputRecord>(2, brick, input::Price, 2000.0L);
  const RunPlan plan = PrepareRun();
  ASSERT_FALSE(plan.reviewNeeded[6]);
  ASSERT_TRUE(plan.calcBudget);
  CalcObserver none;
  const RunOutcome out = ExecuteRun(plan, none, "ApError");
  ASSERT_TRUE(out.closed);

  auto total = [&](int16_t r) { return Get(Read<BudgetRecord>(6, r), budget_item::ItemTotal); };
  EXPECT_GT(total(itemA), before);
  EXPECT_EQ(Get(Read<BudgetRecord>(6, Find(6, "01")), budget_chapter::ChapterTotal),
            total(itemA) + total(itemSub));
  EXPECT_EQ(Get(Read<BudgetRecord>(6, chapter2), budget_chapter::ChapterTotal),
            total(itemGlobal) + total(itemOpen));
  EXPECT_EQ(out.grandTotal, total(itemA) + total(itemSub) + total(itemGlobal) + total(itemOpen));
}

TEST_F(CalculationTest, PesoRoundingChangesEveryAmount) {
  Prefs().roundToPeso = true;
  ASSERT_TRUE(Run().closed);
  const auto na = Read<AnalysisRecord>(3, a);
  // 13.13 * 2 = 26.26 -> 26; 1250; 1875.63 (a global is adjusted only).
  const long double direct = RoundMoneyAs(26 + 1250 + 1875.63L + 210, true);
  EXPECT_EQ(Get(na, analysis::DirectCost), direct);
  EXPECT_EQ(Get(Read<AnalysisRecord>(3, b), analysis::UnitPrice), 131);
  EXPECT_EQ(Get(Read<BudgetRecord>(6, itemGlobal), budget_item::ItemTotal), 5001);
}

TEST_F(CalculationTest, GenerationWrapsAfter9999) {
  ASSERT_TRUE(Run().closed);
  for (int n = 1; n <= 6; ++n) Area(n).SavedSetSerial = kLastGeneration;
  const RunPlan plan = PrepareRun();
  EXPECT_TRUE(plan.wrapped);
  EXPECT_EQ(plan.generation, 1);
  EXPECT_TRUE(plan.AnyCalc() && plan.AnyReview() && plan.AnyCross());
  for (int n = 1; n <= 6; ++n) EXPECT_EQ(Area(n).SavedChangeMarker, 1);
  CalcObserver none;
  ASSERT_TRUE(ExecuteRun(plan, none, "ApError").closed);
  EXPECT_EQ(Area(1).SavedSetSerial, 1);
  EXPECT_EQ(Get(Read<AnalysisRecord>(3, a), coded::CalcStamp), 1);
}

// Stops the run at record `at` of step `step`.
class StopAt : public CalcObserver {
 public:
  StopAt(CalcStep step, int at) : step_(step), at_(at) {}
  void StepRecord(CalcStep s, int i, int) override { seen_ = s == step_ && i == at_; }
  bool StopWanted() override { return seen_; }

 private:
  CalcStep step_;
  int at_;
  bool seen_ = false;
};

TEST_F(CalculationTest, AnInterruptedRunChangesNoMarkerAndNoSerial) {
  for (CalcStep step : {CalcStep::kInputsReview, CalcStep::kAnalysesCross, CalcStep::kBudgetCalc}) {
    SCOPED_TRACE(StepLineOf(step).label);
    StopAt stop(step, 2);
    const RunOutcome out = Run(stop);
    EXPECT_TRUE(out.interrupted);
    EXPECT_FALSE(out.closed);
    for (int n = 1; n <= 6; ++n) {
      EXPECT_EQ(Area(n).SavedChangeMarker, 1) << n;
      EXPECT_EQ(Area(n).SavedSetSerial, 0) << n;
    }
  }
  EXPECT_EQ(Get(Read<ObraHeader>(6, 0), obra_header::BudgetItemsTotal), 0);
}

// A stopped run does not advance the serial, so the next run takes the same
// generation: the stamps the stopped run left must not pass for its own.
TEST_F(CalculationTest, TheRunAfterAnInterruptedOnePricesAndCountsAfresh) {
  StopAt inBudget(CalcStep::kBudgetCalc, 4);  // after item A and the subcontract's item
  ASSERT_TRUE(Run(inBudget).interrupted);
  ASSERT_EQ(Get(Read<InputRecord>(2, tool), coded::CalcStamp), 1);
  ASSERT_EQ(Get(Read<SubcontractRecord>(4, sub), coded::CalcStamp), 1);

  // The labour doubles; the next run stops after pricing B (record 2).
  Edit<InputRecord>(2, labour, input::Price, 200.0L);
  StopAt inAnalyses(CalcStep::kAnalysesCalc, 3);
  ASSERT_TRUE(Run(inAnalyses).interrupted);
  ASSERT_EQ(Get(Read<AnalysisRecord>(3, b), coded::CalcStamp), -1);

  // The labour goes back to 100 and the subcontract's item becomes a
  // global amount: the budget no longer uses the subcontract.
  Edit<InputRecord>(2, labour, input::Price, 100.0L);
  Edit<BudgetRecord>(6, itemSub, budget_item::RefType, uint8_t{budget_item::kRefGlobal});
  const RunOutcome out = Run();
  ASSERT_TRUE(out.closed);
  EXPECT_EQ(Area(1).SavedSetSerial, 1);

  EXPECT_EQ(Get(Read<AnalysisRecord>(3, b), analysis::DirectCost), 105);
  EXPECT_EQ(Get(Read<InputRecord>(2, tool), input::RequiredQuantity), 6);
  EXPECT_EQ(Get(Read<InputRecord>(2, brick), input::RequiredQuantity), 3);
  EXPECT_EQ(Get(Read<InputRecord>(2, labour), input::RequiredQuantity), 6);
  EXPECT_EQ(Get(Read<SubcontractRecord>(4, sub), coded::CalcStamp), 0);
  EXPECT_EQ(Get(Read<AnalysisRecord>(3, a), coded::CalcStamp), 1);
}

}  // namespace
}  // namespace vantu::test
