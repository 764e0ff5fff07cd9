#pragma once
// What a calculated budget leaves behind, checked against the same budget
// worked out by hand: the stored prices and stamps, the budget summary and
// the work budget listing.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "calc/calc_state.h"
#include "e2e/hand_worked_budget.h"
#include "records/analysis_records.h"
#include "records/budget_records.h"
#include "records/coded_records.h"
#include "records/general_record.h"
#include "session/work_area_ids.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"

namespace vantu::test {

// Records of the open set, read through the work areas.
template <class R>
R Read(int n, const std::string& code) {
  std::string key = code;
  int16_t r = 0;
  FindKey(Area(n).Index, r, key);
  R record{};
  EXPECT_TRUE(LastOpOk()) << "file " << n << " has no " << code;
  if (LastOpOk()) GetRec(Area(n).Data, r, record.data());
  return record;
}
inline GeneralDataRecord ReadGeneral() {
  GeneralDataRecord g{};
  GetRec(Area(1).Data, 1, g.data());
  return g;
}
// Record 0 of file 6 holds the file header and the Obra's data.
inline ObraHeader ReadObraHeader() {
  ObraHeader h{};
  std::ifstream in(DataBaseName(6, "A01"), std::ios::binary);
  in.read(reinterpret_cast<char*>(h.data()), static_cast<std::streamsize>(h.bytes.size()));
  EXPECT_TRUE(in.good()) << "the Obra's file";
  return h;
}
inline void ExpectMoney(long double stored, long double byHand, const char* what) {
  EXPECT_NEAR(static_cast<double>(stored), static_cast<double>(byHand), 1e-6) << what;
}

// The summary the budget listings print, as the last run left it.
inline void CheckTheSummary(const HandBudget& h) {
  const BudgetSummary& s = Calc().summary;
  const struct {
    const char* what;
    long double kept, byHand;
  } parts[] = {
      {"SUBTOTAL COSTO DIRECTO", s.directCostTotal, h.directTotal},
      {"AIU", s.aiuAmount, h.aiuAmount},
      {"administration", s.adminAmount, h.adminAmount},
      {"contingencies", s.imprevistosAmount, h.imprevistosAmount},
      {"profit", s.utilidadAmount, h.utilidadAmount},
      {"effective IVA rate", s.ivaEffectivePct, h.ivaEffective},
      {"IVA", s.ivaAmount, h.ivaAmount},
      {"VALOR TOTAL DEL PRESUPUESTO", s.budgetTotal, h.total},
  };
  for (const auto& p : parts) ExpectMoney(p.kept, p.byHand, p.what);
}

// The prices the calculation stored, the quantities of inputs the budget
// needs and the generation stamps, against the hand-worked budget.
inline void CheckTheStoredPrices(const Figures& f, const HandBudget& h, int16_t generation) {
  const ObraHeader obra = ReadObraHeader();
  const auto a1 = Read<AnalysisRecord>(kAreaAnalyses, "010010");
  const auto a2 = Read<AnalysisRecord>(kAreaAnalyses, "010020");
  const auto s = Read<SubcontractRecord>(kAreaSubcontracts, "01010");
  const struct {
    const char* what;
    long double stored, byHand;
  } prices[] = {
      {"010010 direct cost", Get(a1, analysis::DirectCost), h.a1Direct},
      {"010010 unit price", Get(a1, analysis::UnitPrice), h.a1Unit},
      {"010020 direct cost", Get(a2, analysis::DirectCost), h.a2Direct},
      {"010020 unit price", Get(a2, analysis::UnitPrice), h.a2Unit},
      {"subcontract direct cost", Get(s, subcontract::DirectCost), h.sDirect},
      {"subcontract unit price", Get(s, subcontract::UnitPrice), h.sUnit},
  };
  for (const auto& p : prices) ExpectMoney(p.stored, p.byHand, p.what);

  const struct {
    const char* code;
    uint8_t refType;
    long double unitPrice, total;
  } items[] = {
      {"01010", budget_item::kRefAnalysis, h.a1Unit, h.item1},
      {"02010", budget_item::kRefAnalysis, h.a2Unit, h.item2},
      {"02020", budget_item::kRefSubcontract, h.sUnit, h.item3},
      {"02030", budget_item::kRefGlobal, 0, h.item4},
  };
  for (const auto& i : items) {
    SCOPED_TRACE(i.code);
    const auto item = Read<BudgetRecord>(kAreaBudget, i.code);
    EXPECT_EQ(Get(item, budget_item::RefType), i.refType);
    ExpectMoney(Get(item, budget_item::ItemUnitPrice), i.unitPrice, "unit price");
    ExpectMoney(Get(item, budget_item::ItemTotal), i.total, "item total");
  }
  ExpectMoney(Get(Read<BudgetRecord>(kAreaBudget, "01"), budget_chapter::ChapterTotal), h.chapter1,
              "chapter 01");
  ExpectMoney(Get(Read<BudgetRecord>(kAreaBudget, "02"), budget_chapter::ChapterTotal), h.chapter2,
              "chapter 02");
  ExpectMoney(Get(obra, obra_header::BudgetItemsTotal), h.grand, "items total");

  // The inputs the budget needs: 12.5 m3 of 010010 and 86.4 m2 of 010020,
  // whose 0.025 of 010010 adds 2.16 m3 more. A second run counts afresh.
  const long double concrete = f.q1 + f.q2 * f.a2Nested;
  const struct {
    const char* code;
    long double quantity;
  } needs[] = {
      {"01010", concrete * f.a1Mixer},
      {"02010", concrete * f.a1Cement + f.q2 * f.a2Cement},
      {"04010", concrete * f.a1Labour + f.q2 * f.a2Labour},
  };
  for (const auto& n : needs) {
    const auto in = Read<InputRecord>(kAreaInputs, n.code);
    EXPECT_NEAR(static_cast<double>(Get(in, input::RequiredQuantity)),
                static_cast<double>(n.quantity), 1e-9)
        << n.code;
    EXPECT_EQ(Get(in, coded::CalcStamp), generation) << n.code;
  }
  // Everything the budget uses carries this run's generation, as do the
  // files, whose change markers are cleared.
  EXPECT_EQ(Get(a1, coded::CalcStamp), generation);
  EXPECT_EQ(Get(a2, coded::CalcStamp), generation);
  EXPECT_EQ(Get(s, coded::CalcStamp), generation);
  for (int n = 1; n <= 6; ++n) {
    EXPECT_EQ(Area(n).SavedSetSerial, generation) << "file " << n;
    EXPECT_EQ(Area(n).SavedChangeMarker, 0) << "file " << n;
  }
}

// An amount as the listings print it: decimal comma, "." between
// thousands, "'" before the millions (6'280.538,50).
inline std::string ListingAmount(long double x) {
  char text[40];
  std::snprintf(text, sizeof text, "%.2Lf", x);
  std::string digits = text;
  const std::string cents = digits.substr(digits.size() - 2);
  digits.erase(digits.size() - 3);
  std::string out;
  for (int group = 0; digits.size() > 3; ++group) {
    out = (group == 1 ? "'" : ".") + digits.substr(digits.size() - 3) + out;
    digits.erase(digits.size() - 3);
  }
  return digits + out + "," + cents;
}

// The work budget the viewer showed: every item's and chapter's amount and
// the closing lines carry the hand-worked figures.
inline void CheckTheWorkBudgetListing(const HandBudget& h, const std::string& listing) {
  std::vector<std::string> lines;
  std::istringstream in(listing);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  const struct {
    const char* starts;  // the item's code or the line's label
    long double amount;
  } rows[] = {
      {" 01 010 ", h.item1},
      {" 02 010 ", h.item2},
      {" 02 020 ", h.item3},
      {" 02 030 ", h.item4},
      {"SUBTOTAL CAPITULO 01 ", h.chapter1},
      {"SUBTOTAL CAPITULO 02 ", h.chapter2},
      {"SUBTOTAL COSTO DIRECTO (Incluye AIU) ", h.grand},
      {"  mas IVA ", h.ivaAmount},
      {"VALOR TOTAL DEL PRESUPUESTO ", h.total},
  };
  for (const auto& r : rows) {
    const std::string amount = ListingAmount(r.amount);
    bool found = false;
    for (const std::string& line : lines)
      found = found || (line.find(r.starts) != std::string::npos &&
                        line.find(" " + amount) != std::string::npos);
    EXPECT_TRUE(found) << r.starts << " with " << amount << "\n" << listing;
  }
}

}  // namespace vantu::test
