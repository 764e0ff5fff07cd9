#include "estimating/costed_list_source.h"

#include "estimating/live_costs.h"
#include "records/codes.h"
#include "session/work_area_ids.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"

namespace vantu {

namespace {

template <class R>
std::optional<std::pair<int16_t, R>> ReadByCode(int area, const std::string& code) {
  if (!Area(area).Data.isOpen || !Area(area).Index.File.isOpen) return std::nullopt;
  std::string key = code;
  int16_t r = 0;
  FindKey(Area(area).Index, r, key);
  if (!LastOpOk()) return std::nullopt;
  R rec;
  GetRec(Area(area).Data, r, rec.data());
  return std::make_pair(r, rec);
}

void PriceAnalysisDetail(ItemDetail& d) {
  const auto found = ReadByCode<AnalysisRecord>(kAreaAnalyses, d.code);
  if (!found) return;
  const LiveAnalysisCosts c = PriceAnalysis(found->second, found->first);
  long double lineSum = 0;
  for (const auto& l : d.lines) lineSum += l.global ? l.price : l.price * l.quantity;
  d.equipos = c.costs.equipos;
  d.materiales = c.costs.materialesWithWaste;
  d.transportes = c.costs.transportes;
  d.manoDeObra = c.costs.manoDeObra;
  d.directCost = c.circular ? 0 : c.costs.directCost;
  d.unitPrice = c.circular ? 0 : c.costs.unitPrice;
  d.indirectCosts = d.directCost - lineSum;
  d.circular = c.circular;
  d.costMissing = d.directCost <= 0;
}

void PriceSubcontractDetail(ItemDetail& d) {
  const auto found = ReadByCode<SubcontractRecord>(kAreaSubcontracts, d.code);
  if (!found) return;
  const SubcontractCosts c = PriceSubcontract(found->second);
  d.directCost = c.directCost;
  d.unitPrice = c.unitPrice;
  d.costMissing = d.directCost <= 0;
}

class Costed : public CodeListSource {
 public:
  explicit Costed(CodeListSource& base) : base_(base) {}
  bool HasRecords(int kind) override { return base_.HasRecords(kind); }
  std::optional<ListEntry> Seek(int kind, const std::string& code) override {
    return base_.Seek(kind, code);
  }
  std::optional<ListEntry> Next(int kind, const std::string& code) override {
    return base_.Next(kind, code);
  }
  std::optional<ListEntry> Prev(int kind, const std::string& code) override {
    return base_.Prev(kind, code);
  }
  std::optional<ItemDetail> Detail(int kind, const std::string& code) override {
    auto d = base_.Detail(kind, code);
    if (!d) return d;
    if (d->kind == ItemDetail::Kind::Analysis) PriceAnalysisDetail(*d);
    if (d->kind == ItemDetail::Kind::Subcontract) PriceSubcontractDetail(*d);
    return d;
  }
  int InputGroup(const std::string& code) override { return base_.InputGroup(code); }
  bool BudgetUses(const std::string& code) override { return base_.BudgetUses(code); }
  bool AiuPerItem() override { return base_.AiuPerItem(); }

 private:
  CodeListSource& base_;
};

}  // namespace

CodeListSource& CostedListSource(CodeListSource& base) {
  static Costed costed(base);
  return costed;
}

}  // namespace vantu
