// Budget items and the analyses and subcontracts that price them.
#include "estimating/budget_items.h"

#include <array>
#include <optional>

#include "estimating/analysis_globals.h"
#include "records/analysis_records.h"
#include "records/references.h"
#include "session/pstring.h"
#include "session/work_area_ids.h"
#include "storage/file_sets.h"
#include "storage/real10.h"
#include "storage/storage_engine.h"

namespace vantu {

namespace {

// Analyses and subcontracts keep their description and unit at the same
// offsets; the budget item keeps its own copies.
static_assert(analysis::Description.offset == subcontract::Description.offset &&
              analysis::Description.capacity == subcontract::Description.capacity);
static_assert(analysis::Unit.offset == subcontract::Unit.offset &&
              analysis::Unit.capacity == subcontract::Unit.capacity);

// A record of file 3 or 4, large enough for either.
struct RefBuffer {
  std::array<uint8_t, AnalysisRecord::kSize> bytes{};
  std::string Code() const { return ReadStr(bytes.data() + kRecordCode, kRecordCodeLength); }
  long double Stamp() const { return LoadReal10(bytes.data() + kRecordStampAt); }
  std::string Description() const {
    return ReadStr(bytes.data() + analysis::Description.offset, analysis::Description.capacity);
  }
  std::string Unit() const {
    return ReadStr(bytes.data() + analysis::Unit.offset, analysis::Unit.capacity);
  }
};

int AreaOfRefType(uint8_t type) {
  if (type == budget_item::kRefAnalysis) return kAreaAnalyses;
  if (type == budget_item::kRefSubcontract) return kAreaSubcontracts;
  return 0;
}

// Copies what the item keeps of the referenced record; true when any of it
// differed.
bool CopyReference(BudgetRecord& item, int16_t refRecNo, const RefBuffer& ref) {
  const BudgetRecord before = item;
  Set(item, budget_item::RefCode, ref.Code());
  Set(item, budget_item::RefRecNo, refRecNo);
  Set(item, budget_item::RefStamp, ref.Stamp());
  Set(item, budget_item::Description, ref.Description());
  Set(item, budget_item::Unit, ref.Unit());
  return before.bytes != item.bytes;
}

std::optional<int16_t> Resolve(const BudgetRecord& item, RefBuffer& ref) {
  const int area = AreaOfRefType(Get(item, budget_item::RefType));
  if (area == 0) return std::nullopt;
  return ResolveReference(area, Get(item, budget_item::RefRecNo), Get(item, budget_item::RefStamp),
                          Get(item, budget_item::RefCode), ref.bytes.data());
}

void MarkBudgetChanged() {
  Area(kAreaBudget).SavedChangeMarker = 1;
}

}  // namespace

RefKind ClassifyRefCode(const std::string& code) {
  if (code.size() >= 5 && code.compare(0, 5, "00000") == 0) return RefKind::kGlobal;
  switch (code.size()) {
    case 2:
      return RefKind::kChapter;
    case 5:
      return RefKind::kSubcontract;
    case 6:
      return RefKind::kAnalysis;
    default:
      return RefKind::kInvalid;
  }
}

RefSync SyncItemReference(BudgetRecord& item, int16_t recNo) {
  RefBuffer ref;
  if (AreaOfRefType(Get(item, budget_item::RefType)) == 0) return RefSync::kNotReferenced;
  const std::optional<int16_t> found = Resolve(item, ref);
  if (!found) return RefSync::kMissing;
  if (!CopyReference(item, *found, ref)) return RefSync::kInStep;
  WorkArea& budget = Area(kAreaBudget);
  if (recNo > 0) {
    PutRec(budget.Data, recNo, item.data());
    MarkBudgetChanged();
    FlushWorkArea(kAreaBudget);
  }
  return RefSync::kUpdated;
}

bool PriceItemWith(BudgetRecord& item, const std::string& code) {
  const RefKind kind = ClassifyRefCode(code);
  if (kind != RefKind::kAnalysis && kind != RefKind::kSubcontract) return false;
  const int area = kind == RefKind::kAnalysis ? kAreaAnalyses : kAreaSubcontracts;
  WorkArea& a = Area(area);
  if (!a.Data.isOpen || !a.Index.File.isOpen) return false;
  std::string key = code;
  int16_t r = 0;
  FindKey(a.Index, r, key);
  if (!LastOpOk()) return false;
  RefBuffer ref;
  GetRec(a.Data, r, ref.bytes.data());
  Set(item, budget_item::RefType,
      kind == RefKind::kAnalysis ? budget_item::kRefAnalysis : budget_item::kRefSubcontract);
  CopyReference(item, r, ref);
  return true;
}

void MakeGlobalItem(BudgetRecord& item, const std::string& code) {
  // "00000" and "000000" both name a global; the item keeps six characters.
  Set(item, budget_item::RefCode, code.size() == 5 ? code + "0" : code);
  Set(item, budget_item::RefType, budget_item::kRefGlobal);
  Set(item, budget_item::RefRecNo, int16_t{0});
  Set(item, budget_item::RefStamp, 0.0L);
  Set(item, budget_item::Description, "");
  Set(item, budget_item::Unit, kGlobalUnit);
  // A lump sum has no quantity to define; the review must see its amount.
  Set(item, budget_item::PorDefinir, uint8_t{0});
}

bool WriteBackDescription(const BudgetRecord& item) {
  const int area = AreaOfRefType(Get(item, budget_item::RefType));
  RefBuffer ref;
  const std::optional<int16_t> found = Resolve(item, ref);
  if (area == 0 || !found) return false;
  const std::string oldDescription = ref.Description();
  WriteStr(ref.bytes.data() + analysis::Description.offset, analysis::Description.capacity,
           Get(item, budget_item::Description));
  // The global prices of an analysis name it by its description.
  if (area == kAreaAnalyses) {
    AnalysisRecord renamed;
    renamed.bytes = ref.bytes;
    RenameGlobalOwner(renamed, oldDescription);
  }
  WorkArea& a = Area(area);
  PutRec(a.Data, *found, ref.bytes.data());
  a.SavedChangeMarker = 1;
  FlushWorkArea(area);
  return true;
}

bool TogglePorDefinir(BudgetRecord& item) {
  const bool undefined = Get(item, budget_item::PorDefinir) == 0;
  Set(item, budget_item::PorDefinir, static_cast<uint8_t>(undefined ? 1 : 0));
  if (undefined) Set(item, budget_item::Quantity, 0.0L);
  MarkBudgetChanged();
  return undefined;
}

bool UsesTenderCodes() {
  WorkArea& a = Area(kAreaBudget);
  if (!a.Data.isOpen) return false;
  ObraHeader header;
  GetRec(a.Data, 0, header.data());
  return Get(header, obra_header::UsePliegosCodes) == 1;
}

bool ToggleTenderCodes() {
  WorkArea& a = Area(kAreaBudget);
  if (!a.Data.isOpen) return false;
  ObraHeader header;
  GetRec(a.Data, 0, header.data());
  const bool on = Get(header, obra_header::UsePliegosCodes) != 1;
  Set(header, obra_header::UsePliegosCodes, static_cast<uint8_t>(on ? 1 : 0));
  PutRec(a.Data, 0, header.data());
  MarkBudgetChanged();
  FlushWorkArea(kAreaBudget);
  return on;
}

}  // namespace vantu
