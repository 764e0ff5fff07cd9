// File 6, the Obra's budget, and the marks a finished calculation leaves on
// the Rama's records.
#include <cmath>

#include "dataset_builder.h"
#include "toolkit/numbers.h"

namespace vantu::dataset {

namespace {

size_t Index(int16_t recNo) {
  return static_cast<size_t>(recNo - 1);
}

void ReferAnalysis(Builder& b, BudgetRecord& item) {
  const int16_t n =
      b.analysisItems[static_cast<size_t>(b.Below(static_cast<int>(b.analysisItems.size())))];
  const AnalysisRecord& a = b.analyses[Index(n)];
  Set(item, budget_item::RefCode, Get(a, coded::Code));
  Set(item, budget_item::RefRecNo, n);
  Set(item, budget_item::RefType, budget_item::kRefAnalysis);
  Set(item, budget_item::RefStamp, Get(a, coded::RecordStamp));
  Set(item, budget_item::Description, Get(a, analysis::Description));
  Set(item, budget_item::Unit, Get(a, analysis::Unit));
  Set(item, budget_item::Quantity, Decimals(b.Between(1, 600), 2));
}

void ReferSubcontract(Builder& b, BudgetRecord& item) {
  const int16_t n =
      b.subcontractItems[static_cast<size_t>(b.Below(static_cast<int>(b.subcontractItems.size())))];
  const SubcontractRecord& s = b.subcontracts[Index(n)];
  const std::string unit = Get(s, subcontract::Unit);
  Set(item, budget_item::RefCode, Get(s, coded::Code));
  Set(item, budget_item::RefRecNo, n);
  Set(item, budget_item::RefType, budget_item::kRefSubcontract);
  Set(item, budget_item::RefStamp, Get(s, coded::RecordStamp));
  Set(item, budget_item::Description, Get(s, subcontract::Description));
  Set(item, budget_item::Unit, unit);
  const bool lump = unit == "gl" || unit == "un";
  Set(item, budget_item::Quantity, lump ? 1 + b.Below(3) : Decimals(b.Between(10, 800), 2));
}

void ReferGlobal(Builder& b, BudgetRecord& item, int used) {
  const auto names = BudgetGlobalNames();
  Set(item, budget_item::RefCode, std::string(kGlobalCode));
  Set(item, budget_item::RefRecNo, int16_t{0});
  Set(item, budget_item::RefType, budget_item::kRefGlobal);
  Set(item, budget_item::Description,
      VariantName(names[static_cast<size_t>(used) % names.size()],
                  used / static_cast<int>(names.size())));
  Set(item, budget_item::Unit, "gl");
  Set(item, budget_item::Quantity, Cents(std::round(b.Between(1e6, 5e7) / 1000) * 1000));
}

BudgetRecord MakeItem(Builder& b, const std::string& code, const std::string& pliegos,
                      int& globalsUsed) {
  BudgetRecord item{};
  InitCodedRecord(item, code);
  Set(item, coded::CreatedDate, b.Date());
  Set(item, budget_item::PliegosCode, pliegos);
  const double u = b.Unit();
  if (u < 0.12 && !b.subcontractItems.empty())
    ReferSubcontract(b, item);
  else if (u < 0.18)
    ReferGlobal(b, item, globalsUsed++);
  else
    ReferAnalysis(b, item);
  // One analysed item in fifty waits for its quantity.
  if (Get(item, budget_item::RefType) == budget_item::kRefAnalysis && b.Below(50) == 0) {
    Set(item, budget_item::Quantity, 0);
    Set(item, budget_item::PorDefinir, uint8_t{1});
  }
  return item;
}

}  // namespace

void WriteBudget(Builder& b) {
  const ChapterPlan plan = PlanChapters(b.shape.budgetRecords, 25, 999, 1);
  const auto themes = AnalysisThemes();
  const size_t works = themes.size() - 1;
  int globalsUsed = 0;
  for (size_t c = 0; c < plan.items.size(); ++c) {
    const int chapter = static_cast<int>(c) + 1;
    std::vector<BudgetRecord> items;
    for (int i = 0; i < plan.items[c]; ++i) {
      const std::string pliegos = std::to_string(chapter) + "." + std::to_string(i + 1);
      items.push_back(
          MakeItem(b, ItemCode(chapter, plan.step[c] * (i + 1), 3), pliegos, globalsUsed));
    }
    BudgetRecord ch{};
    InitCodedRecord(ch, ChapterCode(chapter));
    Set(ch, budget_chapter::Description,
        VariantName(themes[1 + c % works].chapter, static_cast<int>(c / works)));
    AddCoded(6, ch);
    b.budget.push_back(ch);
    for (BudgetRecord& item : items) {
      AddCoded(6, item);
      b.budget.push_back(item);
    }
  }
  b.summary.chapters[6] = static_cast<int>(plan.items.size());
}

}  // namespace vantu::dataset
