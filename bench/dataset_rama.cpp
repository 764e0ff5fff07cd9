// The Rama's files: general data, basic inputs, subcontracts, and the
// computed fields of analyses and subcontracts.
#include <cmath>

#include "dataset_builder.h"
#include "toolkit/numbers.h"

namespace vantu::dataset {

namespace {

// Prices as a supplier quotes them: to the 50 pesos above 1,000.
long double QuotedPrice(Builder& b, double base) {
  const double price = base * b.Between(0.85, 1.25);
  return price >= 1000 ? Cents(std::round(price / 50) * 50) : Cents(price);
}

void AddInputChapter(Builder& b, int chapter, int group, int round) {
  InputRecord c{};
  InitCodedRecord(c, ChapterCode(chapter));
  Set(c, input::Description, VariantName(GroupChapterName(group), round));
  Set(c, input::Group, static_cast<int16_t>(group));
  AddCoded(2, c);
  b.inputs.push_back(c);
  b.inputEntry.push_back(nullptr);
}

void AddInput(Builder& b, const std::string& code, int group, int used) {
  const auto catalog = InputCatalog(group);
  const InputEntry& e = catalog[static_cast<size_t>(used) % catalog.size()];
  InputRecord r{};
  InitCodedRecord(r, code);
  Set(r, coded::CreatedDate, b.Date());
  Set(r, input::Description, VariantName(e.description, used / static_cast<int>(catalog.size())));
  Set(r, input::Unit, e.unit);
  Set(r, input::Price, QuotedPrice(b, e.price));
  const int16_t n = AddCoded(2, r);
  b.inputs.push_back(r);
  b.inputEntry.push_back(&e);
  b.inputsOfGroup[static_cast<size_t>(group)].push_back(n);
}

// Splits a direct cost over the four groups, in percentages that add up to
// 100.00 as the entry screen demands.
void SplitByPercentages(Builder& b, SubcontractRecord& s, long double direct) {
  double weight[4], total = 0;
  for (double& w : weight) total += (w = b.Between(0.05, 1.0));
  long double left = 100;
  const ExtField<SubcontractRecord> values[] = {
      subcontract::EquiposValue, subcontract::MaterialesValue, subcontract::TransportesValue,
      subcontract::ManoDeObraValue};
  for (int g = 0; g < 4; ++g) {
    const long double pct = g == 3 ? left : Decimals(100 * weight[g] / total, 2);
    left -= pct;
    Set(s, values[g], RoundCents(direct * pct / 100));
  }
  Set(s, subcontract::DirectCost, direct);
}

void SetValues(Builder& b, SubcontractRecord& s, double scale) {
  const ExtField<SubcontractRecord> values[] = {
      subcontract::EquiposValue, subcontract::MaterialesValue, subcontract::TransportesValue,
      subcontract::ManoDeObraValue};
  long double direct = 0;
  for (const auto& field : values) {
    // One group in four is left out, as many subcontracts carry no transport.
    const long double v = b.Below(4) == 0 ? 0 : Cents(std::round(scale * b.Unit() / 100) * 100);
    Set(s, field, v);
    direct += v;
  }
  Set(s, subcontract::DirectCost, direct);
}

void AddSubcontract(Builder& b, const std::string& code, const ActivityEntry& e, int round,
                    int16_t mode) {
  SubcontractRecord s{};
  InitCodedRecord(s, code);
  Set(s, coded::CreatedDate, b.Date());
  Set(s, subcontract::Description, VariantName(e.description, round));
  Set(s, subcontract::Unit, e.unit);
  const std::string unit = e.unit;
  const double scale = unit == "gl" || unit == "un" ? b.Between(5e6, 1.2e8) : b.Between(2e4, 4e5);
  if (mode == subcontract::kByPercentages)
    SplitByPercentages(b, s, Cents(std::round(scale / 100) * 100));
  else
    SetValues(b, s, scale / 2);
  const int16_t n = AddCoded(4, s);
  b.subcontracts.push_back(s);
  b.subcontractItems.push_back(n);
}

}  // namespace

void WriteGeneralData(Builder& b) {
  GeneralDataRecord& g = b.general;
  GetRec(Area(1).Data, 1, g.data());  // as the area's first load left it
  Set(g, general::RamaName, "Edificaciones de vivienda");
  Set(g, general::AiuMode, b.shape.aiuMode);
  const long double admin = 10, imprevistos = 5, utilidad = 5;
  const long double aiu = admin + imprevistos + utilidad;
  const bool perItem = b.shape.aiuMode == general::kAiuPerItem;
  Set(g, general::AiuAtEnd, perItem ? 0 : aiu);
  Set(g, general::AiuPerItem, perItem ? aiu : 0);
  Set(g, general::AiuPerItemForSubcontracts, perItem ? aiu : 0);
  Set(g, general::AdminPct, admin);
  Set(g, general::ImprevistosPct, imprevistos);
  Set(g, general::UtilidadPct, utilidad);
  Set(g, general::IvaPct, 19.0L);
  Set(g, general::FactorEquipos, 1.0L);
  Set(g, general::FactorMateriales, 1.05L);
  Set(g, general::FactorTransportes, 1.0L);
  Set(g, general::FactorManoDeObra, 1.1L);
  PutRec(Area(1).Data, 1, g.data());
}

void WriteInputs(Builder& b) {
  const ChapterPlan plan = PlanChapters(b.shape.inputRecords, 60, 999, 4);
  int used[5] = {};
  for (size_t c = 0; c < plan.items.size(); ++c) {
    const int chapter = static_cast<int>(c) + 1;
    const int group = static_cast<int>(c % 4) + 1;
    AddInputChapter(b, chapter, group, static_cast<int>(c / 4));
    for (int i = 0; i < plan.items[c]; ++i)
      AddInput(b, ItemCode(chapter, plan.step[c] * (i + 1), 3), group, used[group]++);
  }
  b.summary.chapters[2] = static_cast<int>(plan.items.size());
}

void WriteSubcontracts(Builder& b) {
  if (b.shape.subcontractRecords == 0) return;
  const ChapterPlan plan = PlanChapters(b.shape.subcontractRecords, 20, 999, 1);
  const auto themes = SubcontractThemes();
  for (size_t c = 0; c < plan.items.size(); ++c) {
    const int chapter = static_cast<int>(c) + 1;
    const Theme& theme = themes[c % themes.size()];
    const int round = static_cast<int>(c / themes.size());
    const auto mode = static_cast<int16_t>(c % 2);
    SubcontractRecord ch{};
    InitCodedRecord(ch, ChapterCode(chapter));
    Set(ch, subcontract::Description, VariantName(theme.chapter, round));
    Set(ch, subcontract::EntryMode, mode);
    AddCoded(4, ch);
    b.subcontracts.push_back(ch);
    const int kinds = static_cast<int>(theme.activities.size());
    for (int i = 0; i < plan.items[c]; ++i)
      AddSubcontract(b, ItemCode(chapter, plan.step[c] * (i + 1), 3),
                     theme.activities[static_cast<size_t>(i % kinds)], round + i / kinds, mode);
  }
  b.summary.chapters[4] = static_cast<int>(plan.items.size());
}

}  // namespace vantu::dataset
