#include "exchange/import_store.h"

#include <map>
#include <stdexcept>

#include "calc/review_and_calc.h"
#include "records/analysis_records.h"
#include "records/budget_records.h"
#include "records/general_record.h"
#include "session/preferences.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"

namespace vantu {

namespace {

struct Written {
  int16_t recNo = 0;
  long double stamp = 0;
};

class Store {
 public:
  explicit Store(const ImportPlan& plan) : plan_(plan) {}

  void Write() {
    General();
    Inputs();
    Analyses();
    Subcontracts();
    Budget();
  }

 private:
  template <class R>
  Written Add(int area, R& record) {
    int16_t r = 0;
    AddRec(Area(area).Data, r, record.data());
    std::string key = Get(record, coded::Code);
    AddKey(Area(area).Index, r, key);
    if (!LastOpOk()) throw std::logic_error("codigo repetido en la importacion: " + key);
    return {r, Get(record, coded::RecordStamp)};
  }

  void General() {
    GeneralDataRecord g{};
    GetRec(Area(kAreaGeneral).Data, 1, g.data());
    Set(g, general::RamaName, plan_.ramaName);
    Set(g, general::AiuMode, general::kAiuAtEnd);
    Set(g, general::AiuAtEnd, plan_.adminPct + plan_.utilidadPct);
    Set(g, general::AiuPerItem, 0.0L);
    Set(g, general::AiuPerItemForSubcontracts, 0.0L);
    Set(g, general::AdminPct, plan_.adminPct);
    Set(g, general::ImprevistosPct, 0.0L);
    Set(g, general::UtilidadPct, plan_.utilidadPct);
    Set(g, general::IvaPct, 0.0L);
    // The file's prices are the prices used: every factor 1.
    for (int group = 1; group <= 4; ++group) Set(g, general::Factor(group), 1.0L);
    PutRec(Area(kAreaGeneral).Data, 1, g.data());
  }

  void Inputs() {
    for (const PlanInput& in : plan_.inputs) {
      InputRecord r{};
      InitCodedRecord(r, in.code);
      Set(r, input::Description, in.description);
      if (in.chapter) {
        Set(r, input::Group, static_cast<int16_t>(in.group));
      } else {
        Set(r, coded::CreatedDate, in.date);
        Set(r, input::Unit, in.unit);
        Set(r, input::Price, in.price);
      }
      inputs_[in.code] = Add(kAreaInputs, r);
    }
  }

  AnalysisLine Line(const PlanLine& l) const {
    const Written& w = l.type == LineType::kAnalysis ? analyses_.at(l.code) : inputs_.at(l.code);
    AnalysisLine line{};
    Set(line, analysis_line::LineType, static_cast<uint8_t>(l.type));
    Set(line, analysis_line::RefStamp, w.stamp);
    Set(line, analysis_line::RefCode, l.code);
    Set(line, analysis_line::RefRecNo, w.recNo);
    Set(line, analysis_line::Quantity, l.quantity);
    return line;
  }

  // Rows as a new analysis has them (3, 6, 2, 4) where the lines leave
  // room; the slots left over go to the materials.
  static void Rows(AnalysisSections& s) {
    constexpr int kDefault[] = {0, 3, 6, 2, 4};
    int used = 0;
    for (int g = 1; g <= analysis::kGroups; ++g) used += s.rows[g] = int(s.lines[g].size());
    for (int g = 1; g <= analysis::kGroups; ++g) {
      const int more = std::min(analysis::kLineSlots - used, std::max(0, kDefault[g] - s.rows[g]));
      s.rows[g] += more;
      used += more;
    }
    s.rows[2] += analysis::kLineSlots - used;
  }

  void Analyses() {
    for (const PlanAnalysis& a : plan_.analyses) {
      AnalysisRecord r{};
      InitCodedRecord(r, a.code);
      Set(r, analysis::Description, a.description);
      if (!a.chapter) {
        Set(r, coded::CreatedDate, a.date);
        Set(r, analysis::Unit, a.unit);
        Set(r, analysis::HerramientaMenorPct, a.herramientaMenorPct);
        Set(r, analysis::DesperdicioPct, a.desperdicioPct);
        AnalysisSections s;
        for (int g = 1; g <= analysis::kGroups; ++g)
          for (const PlanLine& l : a.sections[static_cast<size_t>(g)])
            s.lines[g].push_back(Line(l));
        Rows(s);
        WriteSections(r, s);
      }
      analyses_[a.code] = Add(kAreaAnalyses, r);
    }
  }

  void Subcontracts() {
    const ExtField<SubcontractRecord> values[] = {
        subcontract::EquiposValue, subcontract::MaterialesValue, subcontract::TransportesValue,
        subcontract::ManoDeObraValue};
    for (const PlanSubcontract& s : plan_.subcontracts) {
      SubcontractRecord r{};
      InitCodedRecord(r, s.code);
      Set(r, subcontract::Description, s.description);
      if (s.chapter) {
        Set(r, subcontract::EntryMode, subcontract::kByValues);
      } else {
        Set(r, coded::CreatedDate, s.date);
        Set(r, subcontract::Unit, s.unit);
        Set(r, values[s.group - 1], s.value);
        Set(r, subcontract::DirectCost, s.value);
      }
      subcontracts_[s.code] = Add(kAreaSubcontracts, r);
    }
  }

  void Budget() {
    ObraHeader h{};
    GetRec(Area(kAreaBudget).Data, 0, h.data());
    Set(h, obra_header::UsePliegosCodes, uint8_t{0});
    Set(h, obra_header::ObraName, plan_.obraName);
    Set(h, obra_header::ObraReference, plan_.obraReference);
    Set(h, obra_header::BudgetDate, plan_.budgetDate);
    PutRec(Area(kAreaBudget).Data, 0, h.data());
    for (const PlanChapter& c : plan_.chapters) {
      BudgetRecord r{};
      InitCodedRecord(r, c.code);
      Set(r, budget_chapter::Description, c.description);
      Add(kAreaBudget, r);
      for (const PlanBudgetItem& it : c.items) Item(it);
    }
  }

  void Item(const PlanBudgetItem& it) {
    const Written& ref = it.refType == budget_item::kRefAnalysis ? analyses_.at(it.refCode)
                                                                 : subcontracts_.at(it.refCode);
    BudgetRecord r{};
    InitCodedRecord(r, it.code);
    Set(r, coded::CreatedDate, it.date);
    Set(r, budget_item::PliegosCode, it.pliegos);
    Set(r, budget_item::RefCode, it.refCode);
    Set(r, budget_item::RefRecNo, ref.recNo);
    Set(r, budget_item::RefType, it.refType);
    Set(r, budget_item::RefStamp, ref.stamp);
    Set(r, budget_item::Description, it.description);
    Set(r, budget_item::Unit, it.unit);
    Set(r, budget_item::Quantity, it.quantity);
    Set(r, budget_item::PorDefinir, uint8_t{it.porDefinir ? uint8_t{1} : uint8_t{0}});
    Add(kAreaBudget, r);
  }

  const ImportPlan& plan_;
  std::map<std::string, Written> inputs_, analyses_, subcontracts_;
};

// Closes areas 1-6 also when the writing stops half-way.
struct AreasClosed {
  ~AreasClosed() {
    for (int n = kAreaGeneral; n <= kAreaBudget; ++n) CloseWorkArea(n);
  }
};

// The rounding preference of the import while its set is calculated.
class RoundingAs {
 public:
  explicit RoundingAs(bool toPeso) : saved_(Prefs().roundToPeso) { Prefs().roundToPeso = toPeso; }
  ~RoundingAs() { Prefs().roundToPeso = saved_; }

 private:
  bool saved_;
};

}  // namespace

StoredSet WritePlannedSet(const ImportPlan& plan, const std::string& rama, const std::string& obra,
                          bool toPeso, const std::string& errorFile) {
  AreasClosed closed;
  std::vector<uint8_t> buffer(kMaxRecordLength);
  for (int n = kAreaGeneral; n <= kAreaGlobals; ++n)
    OpenWorkArea(n, false, buffer.data(), rama, kSetRecordLength[n]);
  OpenWorkArea(kAreaBudget, false, buffer.data(), rama + obra, kSetRecordLength[kAreaBudget]);
  Store(plan).Write();
  // Freshly entered: every file changed, no calculation yet.
  for (int n = kAreaGeneral; n <= kAreaBudget; ++n) {
    Area(n).SavedChangeMarker = 1;
    Area(n).SavedSetSerial = 0;
  }
  RoundingAs rounding(toPeso);
  CalcObserver none;
  const RunOutcome run = ExecuteRun(PrepareRun(), none, errorFile);
  StoredSet stored;
  if (run.TotalErrors() > 0) stored.errors = ReadErrorFile(errorFile);
  stored.directCost = run.summary.directCostTotal;
  return stored;
}

}  // namespace vantu
