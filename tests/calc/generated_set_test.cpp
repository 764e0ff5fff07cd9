// Generated sets priced by the program, checked field by field against a
// pricing derived here from the records alone, in plain long double.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "records/dataset_fixture.h"
#include "session/preferences.h"

namespace vantu::test {
namespace {

using dataset::DatasetShape;

// The pricing, written out independently of the program's own.
struct Pricing {
  bool peso = false;
  GeneralDataRecord g;

  static long double Cents(long double x) { return std::trunc(x * 100 + 0.5L) / 100; }
  long double Money(long double x) const { return peso ? std::trunc(x + 0.5L) : Cents(x); }
  static long double Adjust(long double price, long double factor) {
    const long double c = Cents(price);
    return c != std::trunc(c) ? Cents(c * factor) : std::trunc(c * factor + 0.5L);
  }
  long double Factor(int group) const { return Get(g, general::Factor(group)); }
};

class GeneratedSetTest : public DatasetTest {
 protected:
  // Direct cost of analysis r and, in `costs`, its seven computed fields.
  long double Direct(int16_t r) {
    if (auto it = direct.find(r); it != direct.end()) return it->second;
    const auto a = Read<AnalysisRecord>(3, r);
    long double sum[5] = {};
    for (int group = 1; group <= 4; ++group) {
      int first = 1;
      for (int k = 1; k < group; ++k) first += Get(a, analysis::GroupRows(k));
      for (int i = 0; i < Get(a, analysis::GroupCount(group)); ++i) {
        const auto line = Get(a, analysis::Lines(first + i));
        const int16_t ref = Get(line, analysis_line::RefRecNo);
        const long double q = Get(line, analysis_line::Quantity);
        const int type = Get(line, analysis_line::LineType);
        if (type == 2)
          sum[group] += p.Money(
              Pricing::Adjust(Get(Read<InputRecord>(2, ref), input::Price), p.Factor(group)) * q);
        else if (type == 3)
          sum[group] += p.Money(q * p.Money(Direct(ref)));
        else if (type == 5)
          sum[group] += Pricing::Adjust(
              Get(Read<GlobalPriceRecord>(5, ref), global_price::GlobalPrice), p.Factor(group));
      }
    }
    const long double waste = p.Money(sum[2] * Get(a, analysis::DesperdicioPct) / 100) + sum[2];
    const long double equip =
        sum[1] + p.Money(sum[4] * Get(a, analysis::HerramientaMenorPct) / 100);
    long double d = equip + waste + sum[3] + sum[4];
    if (p.peso) d = p.Money(d);
    expected[r] = {sum[2],
                   equip,
                   waste,
                   sum[3],
                   sum[4],
                   d,
                   p.Money(d * (Get(p.g, general::AiuPerItem) / 100 + 1))};
    return direct[r] = d;
  }

  // The bytes of `value` as the files store it.
  static std::array<uint8_t, 10> Bytes(long double value) {
    std::array<uint8_t, 10> b{};
    StoreReal10(b.data(), value);
    return b;
  }
  template <class R, class Tag>
  static std::array<uint8_t, 10> Stored(const R& rec, ExtField<Tag> f) {
    std::array<uint8_t, 10> b{};
    std::copy_n(rec.data() + f.offset, 10, b.begin());
    return b;
  }

  void CheckSet(const DatasetShape& shape) {
    const auto summary = dataset::GenerateDataset(shape);
    OpenSet(shape.rama, shape.obra);
    p.g = Read<GeneralDataRecord>(1, 1);
    // Analyses.
    for (const IndexEntry& e : Entries(3)) {
      if (e.key.size() != kAnalysisCodeLength) continue;
      SCOPED_TRACE(e.key);
      Direct(e.record);
      const auto a = Read<AnalysisRecord>(3, e.record);
      const std::array<long double, 7>& x = expected[e.record];
      const ExtField<AnalysisRecord> fields[] = {
          analysis::MaterialesCost,  analysis::EquiposCost,    analysis::MaterialesWithWaste,
          analysis::TransportesCost, analysis::ManoDeObraCost, analysis::DirectCost,
          analysis::UnitPrice};
      for (size_t i = 0; i < 7; ++i) EXPECT_EQ(Stored(a, fields[i]), Bytes(x[i])) << i;
    }
    // Subcontracts.
    for (const IndexEntry& e : Entries(4)) {
      if (e.key.size() != kItemCodeLength) continue;
      const auto s = Read<SubcontractRecord>(4, e.record);
      const long double d = Pricing::Adjust(Get(s, subcontract::EquiposValue), p.Factor(1)) +
                            Pricing::Adjust(Get(s, subcontract::MaterialesValue), p.Factor(2)) +
                            Pricing::Adjust(Get(s, subcontract::TransportesValue), p.Factor(3)) +
                            Pricing::Adjust(Get(s, subcontract::ManoDeObraValue), p.Factor(4));
      EXPECT_EQ(Stored(s, subcontract::DirectCost), Bytes(d)) << e.key;
      EXPECT_EQ(Stored(s, subcontract::UnitPrice),
                Bytes(d + p.Money(d * Get(p.g, general::AiuPerItemForSubcontracts) / 100)))
          << e.key;
    }
    // The budget in key order.
    long double grand = 0, chapter = 0;
    int16_t open = 0;
    auto close = [&] {
      if (open != 0) {
        EXPECT_EQ(Stored(Read<BudgetRecord>(6, open), budget_chapter::ChapterTotal),
                  Bytes(chapter));
      }
    };
    for (const IndexEntry& e : Entries(6)) {
      const auto b = Read<BudgetRecord>(6, e.record);
      if (e.key.size() == kChapterCodeLength) {
        close();
        open = e.record, chapter = 0;
        continue;
      }
      const long double q = Get(b, budget_item::Quantity);
      const int16_t ref = Get(b, budget_item::RefRecNo);
      long double price = 0, total = p.Money(q);
      if (Get(b, budget_item::RefType) == 3)
        price = Get(Read<AnalysisRecord>(3, ref), analysis::UnitPrice), total = p.Money(q * price);
      if (Get(b, budget_item::RefType) == 4)
        price = Get(Read<SubcontractRecord>(4, ref), subcontract::UnitPrice),
        total = p.Money(q * price);
      EXPECT_EQ(Stored(b, budget_item::ItemUnitPrice), Bytes(price)) << e.key;
      EXPECT_EQ(Stored(b, budget_item::ItemTotal), Bytes(total)) << e.key;
      chapter += total;
      grand += total;
    }
    close();
    EXPECT_EQ(Bytes(summary.budgetTotal), Bytes(grand));
    EXPECT_EQ(Stored(Read<ObraHeader>(6, 0), obra_header::BudgetItemsTotal), Bytes(grand));
    CloseSet();
  }

  Pricing p;
  std::map<int16_t, long double> direct;
  std::map<int16_t, std::array<long double, 7>> expected;
};

TEST_F(GeneratedSetTest, EveryComputedFieldMatchesAnIndependentPricing) {
  struct Case {
    const char* name;
    int16_t aiuMode;
    bool peso;
    uint32_t seed;
  };
  const Case cases[] = {
      {"per item, cents", 1, false, 11},
      {"per item, pesos", 1, true, 12},
      {"at the end, cents", 2, false, 13},
      {"at the end, pesos", 2, true, 14},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DatasetShape shape = SmallShape();
    shape.calculated = true;
    shape.aiuMode = c.aiuMode;
    shape.roundToPeso = c.peso;
    shape.seed = c.seed;
    p.peso = c.peso;
    direct.clear();
    expected.clear();
    CheckSet(shape);
  }
}

}  // namespace
}  // namespace vantu::test
