// The code lists' view of the open Rama and Obra: the records of work areas
// 2, 3, 4 and 6 in code order, with the detail of one record as the last
// calculation left it.
#include "records/list_source.h"

#include <memory>

#include "records/analysis_records.h"
#include "records/budget_records.h"
#include "records/codes.h"
#include "records/general_record.h"
#include "records/usage_check.h"
#include "session/work_area_ids.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"

namespace vantu {

namespace {

using Kind = ItemDetail::Kind;

bool Indexed(int kind) {
  return IsCodedArea(kind) && Area(kind).Data.isOpen && Area(kind).Index.File.isOpen;
}

template <class R>
std::optional<R> ReadByCode(int area, const std::string& code) {
  if (!Indexed(area)) return std::nullopt;
  std::string key = code;
  int16_t r = 0;
  FindKey(Area(area).Index, r, key);
  if (!LastOpOk()) return std::nullopt;
  R rec;
  GetRec(Area(area).Data, r, rec.data());
  return rec;
}

std::string Description(int kind, const std::string& code, int16_t r) {
  std::vector<uint8_t> rec(static_cast<size_t>(Area(kind).RecordLength));
  GetRec(Area(kind).Data, r, rec.data());
  const int offset = kind == kAreaBudget && !IsChapterCode(code) ? 64 : 31;
  return ReadStr(rec.data() + offset, 35);
}

std::optional<ListEntry> EntryAt(int kind, bool found, const std::string& key, int16_t r) {
  if (!found) return std::nullopt;
  return ListEntry{key, Description(kind, key, r)};
}

// One line of an analysis as the detail window lists it.
ItemDetail::Line DetailLine(const AnalysisLine& line, int group) {
  ItemDetail::Line out;
  out.group = group;
  out.quantity = Get(line, analysis_line::Quantity);
  const std::string code = Get(line, analysis_line::RefCode);
  const auto type = static_cast<LineType>(Get(line, analysis_line::LineType));
  if (type == LineType::kGlobal) {
    out.global = true;
    const int16_t r = Get(line, analysis_line::RefRecNo);
    if (Area(kAreaGlobals).Data.isOpen && r > 0 && r < FileRecordCount(Area(kAreaGlobals).Data)) {
      GlobalPriceRecord g;
      GetRec(Area(kAreaGlobals).Data, r, g.data());
      out.description = Get(g, global_price::Description);
      out.price = Get(g, global_price::GlobalPrice);
    }
  } else if (type == LineType::kInput) {
    if (auto in = ReadByCode<InputRecord>(2, code)) {
      out.description = Get(*in, input::Description);
      out.unit = Get(*in, input::Unit);
      out.price = Get(*in, input::Price);
    }
  } else if (auto an = ReadByCode<AnalysisRecord>(3, code)) {
    out.description = Get(*an, analysis::Description);
    out.unit = Get(*an, analysis::Unit);
    out.price = Get(*an, analysis::UnitPrice);
  }
  return out;
}

ItemDetail AnalysisDetail(const AnalysisRecord& a) {
  ItemDetail d;
  d.kind = Kind::Analysis;
  d.unit = Get(a, analysis::Unit);
  d.herramientaMenorPct = Get(a, analysis::HerramientaMenorPct);
  d.desperdicioPct = Get(a, analysis::DesperdicioPct);
  for (int g = 1; g <= analysis::kGroups; ++g) {
    const int first = SectionFirstSlot(a, g);
    for (int i = 0; i < SectionLineCount(a, g); ++i)
      d.lines.push_back(DetailLine(Get(a, analysis::Lines(first + i)), g));
  }
  d.materiales = Get(a, analysis::MaterialesWithWaste);
  d.equipos = Get(a, analysis::EquiposCost);
  d.transportes = Get(a, analysis::TransportesCost);
  d.manoDeObra = Get(a, analysis::ManoDeObraCost);
  d.directCost = Get(a, analysis::DirectCost);
  d.unitPrice = Get(a, analysis::UnitPrice);
  long double lineSum = 0;
  for (const auto& l : d.lines) lineSum += l.global ? l.price : l.price * l.quantity;
  d.indirectCosts = d.directCost - lineSum;
  d.costMissing = d.directCost <= 0;
  return d;
}

ItemDetail SubcontractDetail(const SubcontractRecord& s) {
  ItemDetail d;
  d.kind = Kind::Subcontract;
  d.unit = Get(s, subcontract::Unit);
  d.equipos = Get(s, subcontract::EquiposValue);
  d.materiales = Get(s, subcontract::MaterialesValue);
  d.transportes = Get(s, subcontract::TransportesValue);
  d.manoDeObra = Get(s, subcontract::ManoDeObraValue);
  d.directCost = Get(s, subcontract::DirectCost);
  d.unitPrice = Get(s, subcontract::UnitPrice);
  d.costMissing = d.directCost <= 0;
  return d;
}

ItemDetail BudgetDetail(const BudgetRecord& b) {
  ItemDetail d;
  d.kind = Kind::BudgetItem;
  d.unit = Get(b, budget_item::Unit);
  d.quantity = Get(b, budget_item::Quantity);
  d.price = Get(b, budget_item::ItemUnitPrice);
  d.itemTotal = Get(b, budget_item::ItemTotal);
  d.porDefinir = Get(b, budget_item::PorDefinir) == 1;
  return d;
}

class WorkAreaListSource : public CodeListSource {
 public:
  bool HasRecords(int kind) override {
    return Indexed(kind) && UsedRecordCount(Area(kind).Data) > 0;
  }
  std::optional<ListEntry> Seek(int kind, const std::string& code) override {
    if (!Indexed(kind)) return std::nullopt;
    std::string key = code;
    int16_t r = 0;
    SearchKey(Area(kind).Index, r, key);
    return EntryAt(kind, LastOpOk(), key, r);
  }
  std::optional<ListEntry> Next(int kind, const std::string& code) override {
    if (!Indexed(kind)) return std::nullopt;
    std::string key = code;
    int16_t r = 0;
    SearchKey(Area(kind).Index, r, key);
    if (LastOpOk() && key == code) NextKey(Area(kind).Index, r, key);
    return EntryAt(kind, LastOpOk(), key, r);
  }
  std::optional<ListEntry> Prev(int kind, const std::string& code) override {
    if (!Indexed(kind)) return std::nullopt;
    IndexFileState& ix = Area(kind).Index;
    std::string key = code;
    int16_t r = 0;
    SearchKey(ix, r, key);
    if (!LastOpOk()) {
      // Past the last key: the last one is the one before.
      ResetKeyPosition(ix);
      PrevKey(ix, r, key);
      return EntryAt(kind, LastOpOk(), key, r);
    }
    PrevKey(ix, r, key);
    const bool found = LastOpOk();
    if (!found) ResetKeyPosition(ix);
    return EntryAt(kind, found, key, r);
  }
  std::optional<ItemDetail> Detail(int kind, const std::string& code) override;
  int InputGroup(const std::string& code) override {
    return vantu::InputGroup(code,
                             [](const std::string& c) { return ReadByCode<InputRecord>(2, c); });
  }
  bool BudgetUses(const std::string& code) override {
    bool used = false;
    if (!Indexed(6)) return false;
    ForEachKey(6, [&](const std::string& key, int16_t r) {
      if (IsChapterCode(key)) return true;
      BudgetRecord b;
      GetRec(Area(kAreaBudget).Data, r, b.data());
      used = Get(b, budget_item::RefCode) == code;
      return !used;
    });
    return used;
  }
  bool AiuPerItem() override {
    if (!Area(kAreaGeneral).Data.isOpen || FileRecordCount(Area(kAreaGeneral).Data) < 2)
      return false;
    GeneralDataRecord g;
    GetRec(Area(kAreaGeneral).Data, 1, g.data());
    return Get(g, general::AiuMode) == general::kAiuPerItem;
  }
};

std::optional<ItemDetail> WorkAreaListSource::Detail(int kind, const std::string& code) {
  if (!Indexed(kind)) return std::nullopt;
  std::string key = code;
  int16_t r = 0;
  FindKey(Area(kind).Index, r, key);
  if (!LastOpOk()) return std::nullopt;
  ItemDetail d;
  if (IsChapterCode(code)) {
    d.kind = Kind::Chapter;
  } else if (kind == kAreaInputs) {
    InputRecord in;
    GetRec(Area(kAreaInputs).Data, r, in.data());
    d.kind = Kind::BasicInput;
    d.unit = Get(in, input::Unit);
    d.price = Get(in, input::Price);
  } else if (kind == kAreaAnalyses) {
    AnalysisRecord a;
    GetRec(Area(kAreaAnalyses).Data, r, a.data());
    d = AnalysisDetail(a);
  } else if (kind == kAreaSubcontracts) {
    SubcontractRecord s;
    GetRec(Area(kAreaSubcontracts).Data, r, s.data());
    d = SubcontractDetail(s);
  } else {
    BudgetRecord b;
    GetRec(Area(kAreaBudget).Data, r, b.data());
    d = BudgetDetail(b);
  }
  d.code = code;
  d.description = Description(kind, code, r);
  return d;
}

}  // namespace

CodeListSource& WorkAreaSource() {
  static WorkAreaListSource source;
  return source;
}

}  // namespace vantu
