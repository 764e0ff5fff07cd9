#pragma once
// An open Obra with a small calculated budget written record by record,
// for the schedule's loading, activities, editor and listings.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/budget_records.h"
#include "records/general_record.h"
#include "records/record_ops_fixture.h"
#include "schedule/schedule_file.h"
#include "schedule/schedule_state.h"

namespace vantu::test {

struct BudgetLine {
  std::string code;  // "01" a chapter, "01010" an item
  std::string description;
  long double total = 0;  // ItemTotal; a chapter's total is the sum of its items
  bool porDefinir = false;
};

class ScheduleTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    Selection().RamaCode = "A";
    Selection().ObraCode = "01";
    Shell().obraSelected = true;
    OpenSet("A", "01");
  }

  // General data: AIU mode 2 with `aiuAtEnd`, IVA `iva` on a utility `utilidad`.
  void SetGeneral(long double aiuAtEnd, long double utilidad = 0, long double iva = 0) {
    GeneralDataRecord g = Read<GeneralDataRecord>(1, 1);
    Set(g, general::AiuMode, general::kAiuAtEnd);
    Set(g, general::AiuAtEnd, aiuAtEnd);
    Set(g, general::AdminPct, aiuAtEnd - utilidad);
    Set(g, general::UtilidadPct, utilidad);
    Set(g, general::IvaPct, iva);
    PutRec(Area(1).Data, 1, g.data());
  }

  // Writes the budget as a finished calculation leaves it.
  long double WriteBudget(const std::vector<BudgetLine>& lines, long double anticipo = 0,
                          long double retencion = 0) {
    long double sum = 0;
    std::vector<std::pair<int16_t, long double>> chapters;
    for (const BudgetLine& l : lines) {
      const int16_t r = AddCoded(6, l.code);
      BudgetRecord b = Read<BudgetRecord>(6, r);
      if (l.code.size() == 2) {
        Set(b, budget_chapter::Description, l.description);
        chapters.push_back({r, 0});
      } else {
        Set(b, budget_item::Description, l.description);
        Set(b, budget_item::ItemTotal, l.total);
        Set(b, budget_item::PorDefinir, static_cast<uint8_t>(l.porDefinir ? 1 : 0));
        sum += l.total;
        if (!chapters.empty()) chapters.back().second += l.total;
      }
      PutRec(Area(6).Data, r, b.data());
    }
    for (auto [r, total] : chapters) {
      BudgetRecord b = Read<BudgetRecord>(6, r);
      Set(b, budget_chapter::ChapterTotal, total);
      PutRec(Area(6).Data, r, b.data());
    }
    ObraHeader h = Read<ObraHeader>(6, 0);
    Set(h, obra_header::ObraName, "OBRA DE PRUEBA");
    Set(h, obra_header::ObraReference, "REF-1");
    Set(h, obra_header::BudgetDate, "01/02/26");
    Set(h, obra_header::BudgetItemsTotal, sum);
    Set(h, obra_header::AnticipoPct, anticipo);
    Set(h, obra_header::RetencionPct, retencion);
    PutRec(Area(6).Data, 0, h.data());
    MarkCalculated();
    return sum;
  }

  void MarkCalculated() {
    for (int n = 1; n <= 6; ++n) {
      Area(n).SavedChangeMarker = 0;
      Area(n).SavedSetSerial = 7;
      Area(n).CreatedAnew = false;
    }
  }

  std::string SchedulePath() { return (dataDir / "Apr06cro.A01").string(); }

  ScheduleBlock StoredBlock() {
    ScheduleBlock b;
    std::string why;
    EXPECT_EQ(ReadScheduleFile(SchedulePath(), b, why), ScheduleRead::Loaded) << why;
    return b;
  }

  void StoreBlock(const ScheduleBlock& b) {
    std::string why;
    ASSERT_TRUE(WriteScheduleFile(SchedulePath(), SchedulePath() + ".tmp", b, why)) << why;
  }

  // The demo budget: two chapters, four items, one of them to be defined.
  std::vector<BudgetLine> SmallBudget() {
    return {{"01", "PRELIMINARES"}, {"01010", "LOCALIZACION", 1000}, {"01020", "DESCAPOTE", 500},
            {"02", "CIMENTACION"},  {"02010", "EXCAVACION", 1500},   {"02020", "RELLENO", 0, true}};
  }
};

}  // namespace vantu::test
