#include "exchange/export_model.h"

#include <algorithm>

#include "calc/record_cache.h"
#include "records/analysis_records.h"
#include "session/preferences.h"
#include "session/selection_state.h"
#include "session/shell_state.h"
#include "session/work_area_ids.h"
#include "storage/file_sets.h"
#include "toolkit/numbers.h"

namespace vantu {

namespace {

// Visits the records in use of a coded file, in code order.
template <class R, class Visit>
void ForEachInCodeOrder(int area, Visit visit) {
  RecordCache<R> cache(area);
  std::vector<std::pair<std::string, int>> order;
  for (int r = 1; r < cache.Count(); ++r) {
    const R& rec = cache.Get(r);
    if (Get(rec, coded::RecordStatus) != 0) continue;
    order.emplace_back(Get(rec, coded::Code), r);
  }
  std::sort(order.begin(), order.end());
  for (const auto& [code, r] : order) visit(cache.Get(r), code);
}

std::string DateOf(const std::string& date) {
  return HasDate(date) ? date : std::string();
}

void ReadInputs(ExportModel& m) {
  std::map<std::string, InputRecord> chapters;
  ForEachInCodeOrder<InputRecord>(kAreaInputs, [&](const InputRecord& r, const std::string& code) {
    if (IsChapterCode(code)) {
      chapters[code] = r;
      return;
    }
    ExportInput in;
    in.code = code;
    in.description = Get(r, input::Description);
    in.unit = Get(r, input::Unit);
    in.date = DateOf(Get(r, coded::CreatedDate));
    in.group = InputGroup(code, [&](const std::string& c) -> std::optional<InputRecord> {
      const auto it = chapters.find(c);
      if (it == chapters.end()) return std::nullopt;
      return it->second;
    });
    in.price = Get(r, input::Price);
    in.priceUsed = in.group > 0 ? AdjustPrice(in.price, m.basis.factor[in.group]) : in.price;
    m.inputs.push_back(in);
  });
}

void ReadGlobals(ExportModel& m) {
  RecordCache<GlobalPriceRecord> cache(kAreaGlobals);
  for (int r = 1; r < cache.Count(); ++r) {
    const GlobalPriceRecord& g = cache.Get(r);
    if (Get(g, global_price::RecordStatus) != 0 || Get(g, global_price::InUseMarker) != 1) continue;
    m.globals[r] = {Get(g, global_price::Description), DateOf(Get(g, global_price::PriceDate)),
                    Get(g, global_price::OwnerCode), Get(g, global_price::GlobalPrice)};
  }
}

// The cost of every line by the cost rules, as the calculation priced it:
// a nested analysis at its stored direct cost, which the calculation wrote
// before pricing the analyses that use it.
void PriceLines(ExportModel& m) {
  std::map<std::string, const ExportInput*> inputs;
  for (const ExportInput& in : m.inputs) inputs[in.code] = &in;
  std::map<std::string, long double> direct;
  for (const ExportAnalysis& a : m.analyses) direct[a.code] = a.stored.directCost;
  for (ExportAnalysis& a : m.analyses) {
    for (int g = 1; g <= 4; ++g) {
      for (ExportLine& l : a.sections[g]) {
        if (l.type == LineType::kInput && inputs.count(l.code)) {
          l.cost = InputLineCost(m.basis, g, inputs[l.code]->price, l.quantity);
        } else if (l.type == LineType::kAnalysis && direct.count(l.code)) {
          l.cost = NestedLineCost(m.basis, l.quantity, direct[l.code]);
        } else if (l.type == LineType::kGlobal && m.globals.count(l.globalRecNo)) {
          l.cost = GlobalLineCost(m.basis, g, m.globals[l.globalRecNo].price);
        }
      }
    }
  }
}

void ReadAnalyses(ExportModel& m) {
  ForEachInCodeOrder<AnalysisRecord>(
      kAreaAnalyses, [&](const AnalysisRecord& r, const std::string& code) {
        if (IsChapterCode(code)) return;
        ExportAnalysis a;
        a.code = code;
        a.description = Get(r, analysis::Description);
        a.unit = Get(r, analysis::Unit);
        a.date = DateOf(Get(r, coded::CreatedDate));
        a.herramientaMenorPct = Get(r, analysis::HerramientaMenorPct);
        a.desperdicioPct = Get(r, analysis::DesperdicioPct);
        const AnalysisSections s = ReadSections(r);
        for (int g = 1; g <= 4; ++g) {
          for (const AnalysisLine& line : s.lines[static_cast<size_t>(g)]) {
            ExportLine l;
            l.type = static_cast<LineType>(Get(line, analysis_line::LineType));
            l.code = Get(line, analysis_line::RefCode);
            l.globalRecNo = Get(line, analysis_line::RefRecNo);
            l.quantity = Get(line, analysis_line::Quantity);
            if (l.type != LineType::kEmpty) a.sections[static_cast<size_t>(g)].push_back(l);
          }
        }
        a.stored = {Get(r, analysis::MaterialesCost),
                    Get(r, analysis::EquiposCost),
                    Get(r, analysis::MaterialesWithWaste),
                    Get(r, analysis::TransportesCost),
                    Get(r, analysis::ManoDeObraCost),
                    Get(r, analysis::DirectCost),
                    Get(r, analysis::UnitPrice)};
        m.analyses.push_back(std::move(a));
      });
}

void ReadSubcontracts(ExportModel& m) {
  ForEachInCodeOrder<SubcontractRecord>(
      kAreaSubcontracts, [&](const SubcontractRecord& r, const std::string& code) {
        if (IsChapterCode(code)) return;
        m.subcontracts.push_back({code, Get(r, subcontract::Description), Get(r, subcontract::Unit),
                                  DateOf(Get(r, coded::CreatedDate)),
                                  Get(r, subcontract::DirectCost), Get(r, subcontract::UnitPrice)});
      });
}

void ReadBudget(ExportModel& m) {
  ForEachInCodeOrder<BudgetRecord>(kAreaBudget, [&](const BudgetRecord& r,
                                                    const std::string& code) {
    if (IsChapterCode(code)) {
      m.chapters.push_back(
          {code, Get(r, budget_chapter::Description), Get(r, budget_chapter::ChapterTotal), {}});
      return;
    }
    // An item without its chapter would be lost; it gets an empty heading.
    if (m.chapters.empty() || m.chapters.back().code != ChapterOf(code))
      m.chapters.push_back({ChapterOf(code), "", 0, {}});
    ExportBudgetItem it;
    it.code = code;
    it.pliegosCode = Get(r, budget_item::PliegosCode);
    it.refCode = Get(r, budget_item::RefCode);
    it.refType = Get(r, budget_item::RefType);
    it.description = Get(r, budget_item::Description);
    it.unit = Get(r, budget_item::Unit);
    it.porDefinir = Get(r, budget_item::PorDefinir) == 1;
    it.quantity = Get(r, budget_item::Quantity);
    it.unitPrice = Get(r, budget_item::ItemUnitPrice);
    it.total = Get(r, budget_item::ItemTotal);
    m.chapters.back().items.push_back(it);
  });
}

}  // namespace

bool SetNeedsCalculation() {
  bool stale = false;
  for (int n = kAreaGeneral; n <= kAreaGlobals; ++n) stale = stale || Area(n).SavedChangeMarker;
  if (Shell().obraSelected) {
    stale = stale || Area(kAreaBudget).SavedChangeMarker ||
            Area(kAreaGeneral).SavedSetSerial != Area(kAreaBudget).SavedSetSerial;
  }
  return stale;
}

ExportModel ReadExportModel() {
  ExportModel m;
  m.rama = Selection().RamaCode;
  m.obra = Selection().ObraCode;
  if (Area(kAreaGeneral).Data.isOpen && UsedRecordCount(Area(kAreaGeneral).Data) > 0)
    GetRec(Area(kAreaGeneral).Data, 1, m.general.data());
  m.basis = BasisOf(m.general, Prefs().roundToPeso);
  ReadInputs(m);
  ReadGlobals(m);
  ReadAnalyses(m);
  ReadSubcontracts(m);
  PriceLines(m);
  m.hasObra = Shell().obraSelected && Area(kAreaBudget).Data.isOpen;
  if (m.hasObra) {
    GetRec(Area(kAreaBudget).Data, 0, m.obraHeader.data());
    m.budgetTotal = Get(m.obraHeader, obra_header::BudgetItemsTotal);
    m.summary = SummaryOf(m.budgetTotal, m.general, Prefs().roundToPeso);
    ReadBudget(m);
  }
  return m;
}

}  // namespace vantu
