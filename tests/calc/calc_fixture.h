#pragma once
// A small Rama and Obra written record by record, for the review and the
// calculation: the records each test needs, with references as the entry
// modules write them (record number, code and creation stamp).

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "calc/calc_state.h"
#include "calc/review_and_calc.h"
#include "records/dataset_fixture.h"
#include "session/preferences.h"
#include "toolkit/error_review.h"

namespace vantu::test {

struct LineDef {
  int group;    // the section the line stands in
  int type;     // 2 input, 3 analysis, 5 global
  int16_t ref;  // record number in file 2, 3 or 5
  long double quantity;
};

class CalcTest : public DatasetTest {
 protected:
  void SetUp() override {
    DatasetTest::SetUp();
    ResetCalc();
    ResetReview();
    Prefs().roundToPeso = false;
    OpenSet("A", "01");
    Selection().RamaCode = "A";
    Selection().ObraCode = "01";
    WriteGeneral(general);
    WriteObraHeader("Edificio Central", "Contrato 7", "15/03/24");
  }
  void TearDown() override {
    ResetReview();
    DatasetTest::TearDown();
  }

  // General data of a Rama that applies the AIU to every item.
  static GeneralDataRecord DefaultGeneral() {
    GeneralDataRecord g;
    Set(g, general::RamaName, "Edificaciones");
    Set(g, general::AiuMode, general::kAiuPerItem);
    Set(g, general::AiuPerItem, 25.0L);
    Set(g, general::AiuPerItemForSubcontracts, 25.0L);
    Set(g, general::AdminPct, 10.0L);
    Set(g, general::ImprevistosPct, 5.0L);
    Set(g, general::UtilidadPct, 10.0L);
    Set(g, general::IvaPct, 16.0L);
    for (int group = 1; group <= 4; ++group) Set(g, general::Factor(group), 1.0L);
    return g;
  }
  void WriteGeneral(const GeneralDataRecord& g) { PutRec(Area(1).Data, 1, g.data()); }
  void WriteObraHeader(const std::string& name, const std::string& ref, const std::string& date) {
    ObraHeader h = Read<ObraHeader>(6, 0);
    Set(h, obra_header::ObraName, name);
    Set(h, obra_header::ObraReference, ref);
    Set(h, obra_header::BudgetDate, date);
    PutRec(Area(6).Data, 0, h.data());
  }

  template <class R>
  int16_t AddRecord(int area, const std::string& code, R& rec) {
    const int16_t r = AddCoded(area, code);
    const R added = Read<R>(area, r);
    for (int i = 0; i < 12; ++i) rec.bytes[i] = added.bytes[i];
    Set(rec, coded::Code, code);
    PutRec(Area(area).Data, r, rec.data());
    return r;
  }

  int16_t InputChapter(const std::string& code, int16_t group) {
    InputRecord in;
    Set(in, input::Description, "GRUPO " + code);
    Set(in, input::Group, group);
    return AddRecord(2, code, in);
  }
  int16_t Input(const std::string& code, long double price, const std::string& unit = "un") {
    InputRecord in;
    Set(in, input::Description, "Insumo " + code);
    Set(in, input::Unit, unit);
    Set(in, input::Price, price);
    return AddRecord(2, code, in);
  }
  int16_t AnalysisChapter(const std::string& code) {
    AnalysisRecord a;
    Set(a, analysis::Description, "CAPITULO " + code);
    return AddRecord(3, code, a);
  }
  int16_t Analysis(const std::string& code, const std::vector<LineDef>& lines,
                   long double herramienta = 0, long double desperdicio = 0) {
    AnalysisRecord a;
    Set(a, analysis::Description, "Analisis " + code);
    Set(a, analysis::Unit, "m2");
    Set(a, analysis::HerramientaMenorPct, herramienta);
    Set(a, analysis::DesperdicioPct, desperdicio);
    SetDefaultSections(a);
    const int16_t r = AddRecord(3, code, a);
    SetLines(r, lines);
    return r;
  }
  // Replaces the lines of analysis r.
  void SetLines(int16_t r, const std::vector<LineDef>& lines) {
    AnalysisRecord a = Read<AnalysisRecord>(3, r);
    for (int s = 1; s <= analysis::kLineSlots; ++s) Set(a, analysis::Lines(s), AnalysisLine{});
    SetDefaultSections(a);
    for (const LineDef& l : lines) {
      const int count = Get(a, analysis::GroupCount(l.group));
      AnalysisLine line;
      Set(line, analysis_line::LineType, static_cast<uint8_t>(l.type));
      Set(line, analysis_line::RefRecNo, l.ref);
      Set(line, analysis_line::Quantity, l.quantity);
      if (l.type == 5) {
        Set(line, analysis_line::RefCode, "000000");
      } else {
        const int area = l.type;
        std::vector<uint8_t> target(static_cast<size_t>(Area(area).RecordLength));
        GetRec(Area(area).Data, l.ref, target.data());
        Set(line, analysis_line::RefCode, ReadStr(target.data() + kRecordCode, 6));
        Set(line, analysis_line::RefStamp, LoadReal10(target.data() + 2));
      }
      Set(a, analysis::Lines(SectionFirstSlot(a, l.group) + count), line);
      Set(a, analysis::GroupCount(l.group), static_cast<uint8_t>(count + 1));
    }
    PutRec(Area(3).Data, r, a.data());
  }
  // A global price for the line of analysis `owner` (its description).
  int16_t Global(int16_t r, long double price, int16_t owner) {
    GlobalPriceRecord g;
    Set(g, global_price::OwnRecNo, r);
    Set(g, global_price::InUseMarker, uint8_t{1});
    Set(g, global_price::Description, "Global " + std::to_string(r));
    Set(g, global_price::OwnerDescription,
        Get(Read<AnalysisRecord>(3, owner), analysis::Description));
    Set(g, global_price::GlobalPrice, price);
    PutRec(Area(5).Data, r, g.data());
    return r;
  }
  int16_t SubcontractChapter(const std::string& code) {
    SubcontractRecord s;
    Set(s, subcontract::Description, "SUBCONTRATOS " + code);
    return AddRecord(4, code, s);
  }
  int16_t Subcontract(const std::string& code, std::array<long double, 4> values) {
    SubcontractRecord s;
    Set(s, subcontract::Description, "Subcontrato " + code);
    Set(s, subcontract::Unit, "gl");
    Set(s, subcontract::EquiposValue, values[0]);
    Set(s, subcontract::MaterialesValue, values[1]);
    Set(s, subcontract::TransportesValue, values[2]);
    Set(s, subcontract::ManoDeObraValue, values[3]);
    return AddRecord(4, code, s);
  }
  int16_t BudgetChapter(const std::string& code) {
    BudgetRecord b;
    Set(b, budget_chapter::Description, "CAPITULO " + code);
    return AddRecord(6, code, b);
  }
  // An item priced by analysis (3) or subcontract (4) record `ref`, or a
  // global amount (type 5, ref 0).
  int16_t Item(const std::string& code, uint8_t type, int16_t ref, long double quantity,
               bool porDefinir = false) {
    BudgetRecord b;
    Set(b, budget_item::RefType, type);
    Set(b, budget_item::RefRecNo, ref);
    Set(b, budget_item::Quantity, quantity);
    Set(b, budget_item::PorDefinir, uint8_t{porDefinir ? uint8_t{1} : uint8_t{0}});
    Set(b, budget_item::Description, "Item " + code);
    Set(b, budget_item::Unit, "m2");
    if (type == 5) {
      Set(b, budget_item::RefCode, "000000");
    } else {
      std::vector<uint8_t> target(static_cast<size_t>(Area(type).RecordLength));
      GetRec(Area(type).Data, ref, target.data());
      Set(b, budget_item::RefCode, ReadStr(target.data() + kRecordCode, 6));
      Set(b, budget_item::RefStamp, LoadReal10(target.data() + 2));
    }
    return AddRecord(6, code, b);
  }

  // Runs the review and calculation without a screen.
  RunOutcome Run(CalcObserver& observer) {
    const RunPlan plan = PrepareRun();
    return ExecuteRun(plan, observer, "ApError");
  }
  RunOutcome Run() {
    CalcObserver none;
    return Run(none);
  }
  std::vector<ErrorEntry> Errors() { return ReadErrorFile("ApError"); }

  GeneralDataRecord general = DefaultGeneral();
};

}  // namespace vantu::test
