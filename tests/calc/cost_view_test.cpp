// The costs the screens show between calculations: the same rules as the
// calculation, and a cycle reported instead of followed.
#include "calc/cost_view.h"

#include <gtest/gtest.h>

#include "calc/calc_fixture.h"
#include "calc/priced_list_source.h"
#include "records/list_source.h"
#include "toolkit/item_detail.h"

namespace vantu::test {
namespace {

class CostViewTest : public CalcTest {
 protected:
  void SetUp() override {
    CalcTest::SetUp();
    Set(general, general::FactorMateriales, 1.15L);
    WriteGeneral(general);
    InputChapter("02", 2);
    brick = Input("02010", 1000.10L);
    InputChapter("04", 4);
    labour = Input("04010", 100);
    AnalysisChapter("01");
    b = Analysis("010010", {{4, 2, labour, 1.5L}}, 5);
    a = Analysis("010020", {{2, 2, brick, 3}, {2, 3, b, 2}}, 0, 4);
    SubcontractChapter("01");
    sub = Subcontract("01010", {10.5L, 1000, 0, 50});
  }
  int16_t brick = 0, labour = 0, a = 0, b = 0, sub = 0;
};

TEST_F(CostViewTest, ScreensPriceAsTheCalculationDoes) {
  for (bool pesos : {false, true}) {
    SCOPED_TRACE(pesos ? "pesos" : "cents");
    Prefs().roundToPeso = pesos;
    const AnalysisView before = PriceAnalysisNow(a);
    ASSERT_TRUE(before.priced);
    for (int n : {3, 4, 6}) Area(n).SavedChangeMarker = 1;  // as a changed preference does
    ASSERT_TRUE(Run().closed);
    const auto stored = Read<AnalysisRecord>(3, a);
    EXPECT_EQ(before.costs.directCost, Get(stored, analysis::DirectCost));
    EXPECT_EQ(before.costs.unitPrice, Get(stored, analysis::UnitPrice));
    EXPECT_EQ(before.costs.materialesWithWaste, Get(stored, analysis::MaterialesWithWaste));
    EXPECT_EQ(PriceSubcontractNow(sub).unitPrice,
              Get(Read<SubcontractRecord>(4, sub), subcontract::UnitPrice));
  }
}

TEST_F(CostViewTest, TheDetailWindowShowsCurrentCostsAndCycles) {
  CodeListSource& source = PricedListSource(WorkAreaSource());
  std::optional<ItemDetail> d = source.Detail(3, "010020");
  ASSERT_TRUE(d);
  EXPECT_EQ(d->directCost, PriceAnalysisNow(a).costs.directCost) << "not the stored 0";
  EXPECT_GT(d->directCost, 0);
  EXPECT_FALSE(d->costMissing);

  SetLines(b, {{4, 2, labour, 1}, {2, 3, a, 1}});  // A -> B -> A
  EXPECT_TRUE(PriceAnalysisNow(a).circular);
  d = source.Detail(3, "010020");
  ASSERT_TRUE(d);
  EXPECT_TRUE(d->circular);
  const std::vector<std::string> lines = ItemDetailLines(*d, true);
  EXPECT_EQ(lines.back(), "ERROR CIRCULARIDAD  Use opcion Calcular");
}

}  // namespace
}  // namespace vantu::test
