#include "calc/priced_list_source.h"

#include "calc/cost_view.h"
#include "session/work_area_ids.h"
#include "storage/btree.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"

namespace vantu {

namespace {

int16_t RecordOf(int area, const std::string& code) {
  std::string key = code;
  int16_t r = 0;
  FindKey(Area(area).Index, r, key);
  return LastOpOk() ? r : int16_t{0};
}

class PricedSource : public CodeListSource {
 public:
  explicit PricedSource(CodeListSource& records) : records_(&records) {}
  void Use(CodeListSource& records) { records_ = &records; }

  bool HasRecords(int kind) override { return records_->HasRecords(kind); }
  std::optional<ListEntry> Seek(int kind, const std::string& code) override {
    return records_->Seek(kind, code);
  }
  std::optional<ListEntry> Next(int kind, const std::string& code) override {
    return records_->Next(kind, code);
  }
  std::optional<ListEntry> Prev(int kind, const std::string& code) override {
    return records_->Prev(kind, code);
  }
  int InputGroup(const std::string& code) override { return records_->InputGroup(code); }
  bool BudgetUses(const std::string& code) override { return records_->BudgetUses(code); }
  bool AiuPerItem() override { return records_->AiuPerItem(); }

  std::optional<ItemDetail> Detail(int kind, const std::string& code) override {
    std::optional<ItemDetail> d = records_->Detail(kind, code);
    if (!d) return d;
    if (d->kind == ItemDetail::Kind::Analysis) PriceAnalysis(*d, RecordOf(kAreaAnalyses, code));
    if (d->kind == ItemDetail::Kind::Subcontract) {
      const SubcontractCosts c = PriceSubcontractNow(RecordOf(kAreaSubcontracts, code));
      d->directCost = c.directCost;
      d->unitPrice = c.unitPrice;
      d->costMissing = c.directCost <= 0;
    }
    return d;
  }

 private:
  static void PriceAnalysis(ItemDetail& d, int16_t r) {
    const AnalysisView v = PriceAnalysisNow(r);
    const AnalysisCosts& c = v.costs;
    d.circular = v.circular;
    d.costMissing = !v.priced || c.directCost <= 0;
    d.equipos = c.equipos;
    d.materiales = c.materialesWithWaste;
    d.transportes = c.transportes;
    d.manoDeObra = c.manoDeObra;
    d.directCost = c.directCost;
    d.unitPrice = c.unitPrice;
    // Minor tools and waste.
    d.indirectCosts = (c.equipos - v.groupSum[1]) + (c.materialesWithWaste - v.groupSum[2]);
  }

  CodeListSource* records_;
};

}  // namespace

CodeListSource& PricedListSource(CodeListSource& records) {
  static PricedSource source(records);
  if (&records != &source) source.Use(records);
  return source;
}

}  // namespace vantu
