#include "selection/recode_references.h"

#include <cstring>
#include <vector>

#include "records/analysis_records.h"
#include "records/budget_records.h"
#include "records/codes.h"
#include "selection/recode_files.h"
#include "storage/btree.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"

namespace vantu {

namespace {

std::string StampKey(const uint8_t* p) {
  return std::string(reinterpret_cast<const char*>(p), 10);
}

template <class R, class Tag>
Reference LoadReference(const R& r, StrField<Tag> code, I16Field<Tag> record, ExtField<Tag> stamp) {
  Reference ref;
  ref.code = Get(r, code);
  ref.record = Get(r, record);
  std::memcpy(ref.stamp.data(), r.data() + stamp.offset, ref.stamp.size());
  return ref;
}

template <class R, class Tag>
void StoreReference(R& r, const Reference& ref, StrField<Tag> code, I16Field<Tag> record,
                    ExtField<Tag> stamp) {
  Set(r, code, ref.code);
  Set(r, record, ref.record);
  std::memcpy(r.data() + stamp.offset, ref.stamp.data(), ref.stamp.size());
}

// The resolved reference when it differs from the stored one.
std::optional<Reference> Updated(ReferenceResolver& resolver, const Reference& ref) {
  auto found = resolver.Resolve(ref);
  if (!found || *found == ref) return std::nullopt;
  return found;
}

// The owner of the global price a line of type 5 uses; true when written.
bool UpdateGlobalOwner(const AnalysisLine& line, const std::string& owner) {
  DataFileState& globals = Area(kAreaGlobals).Data;
  if (!globals.isOpen) return false;
  const int16_t r = Get(line, analysis_line::RefRecNo);
  if (r < 1 || r >= FileRecordCount(globals)) return false;
  GlobalPriceRecord g;
  GetRec(globals, r, g.data());
  if (Get(g, global_price::RecordStatus) != 0 || Get(g, global_price::OwnerCode) == owner)
    return false;
  Set(g, global_price::OwnerCode, owner);
  PutRec(globals, r, g.data());
  return true;
}

// The lines of one analysis; true when one of them changed.
bool UpdateLines(AnalysisRecord& a, ReferenceResolver& inputs, ReferenceResolver& analyses) {
  namespace al = analysis_line;
  bool changed = false;
  const std::string owner = Get(a, coded::Code);
  for (int g = 1; g <= analysis::kGroups; ++g) {
    const int first = SectionFirstSlot(a, g);
    for (int i = 0; i < SectionLineCount(a, g); ++i) {
      AnalysisLine line = Get(a, analysis::Lines(first + i));
      const auto type = static_cast<LineType>(Get(line, al::LineType));
      if (type == LineType::kGlobal) {
        UpdateGlobalOwner(line, owner);
        continue;
      }
      if (type != LineType::kInput && type != LineType::kAnalysis) continue;
      ReferenceResolver& target = type == LineType::kInput ? inputs : analyses;
      const auto ref =
          Updated(target, LoadReference(line, al::RefCode, al::RefRecNo, al::RefStamp));
      if (!ref) continue;
      StoreReference(line, *ref, al::RefCode, al::RefRecNo, al::RefStamp);
      Set(a, analysis::Lines(first + i), line);
      changed = true;
    }
  }
  return changed;
}

}  // namespace

std::optional<Reference> ReferenceResolver::Read(int16_t record) {
  DataFileState& data = Area(area_).Data;
  if (record < 1 || record >= FileRecordCount(data)) return std::nullopt;
  if (wasRead_.size() != static_cast<size_t>(FileRecordCount(data))) {
    wasRead_.assign(static_cast<size_t>(FileRecordCount(data)), false);
    read_.assign(wasRead_.size(), std::nullopt);
  }
  if (wasRead_[record]) return read_[record];
  wasRead_[record] = true;
  uint8_t head[kRecordCode + 1 + kRecordCodeLength];  // the code: length byte, characters
  ReadRecordHead(data, record, head, sizeof head);
  if (GetI16(head) != 0) return std::nullopt;
  Reference ref;
  ref.record = record;
  ref.code = ReadStr(head + kRecordCode, kRecordCodeLength);
  std::memcpy(ref.stamp.data(), head + kRecordStampAt, ref.stamp.size());
  read_[record] = ref;
  return ref;
}

void ReferenceResolver::BuildStampIndex() {
  stampsBuilt_ = true;
  DataFileState& data = Area(area_).Data;
  uint8_t head[kRecordCode];
  for (int b = 1; b < FileRecordCount(data); ++b) {
    ReadRecordHead(data, static_cast<int16_t>(b), head, sizeof head);
    if (GetI16(head) != 0) continue;
    byStamp_.emplace(StampKey(head + kRecordStampAt), static_cast<int16_t>(b));
  }
}

std::optional<Reference> ReferenceResolver::Resolve(const Reference& ref) {
  if (!Area(area_).Data.isOpen) return std::nullopt;
  auto found = Read(ref.record);
  if (found && (found->code == ref.code || found->stamp == ref.stamp)) return found;
  if (!stampsBuilt_) BuildStampIndex();
  auto it = byStamp_.find(StampKey(ref.stamp.data()));
  if (it == byStamp_.end()) return std::nullopt;
  return Read(it->second);
}

int UpdateAnalysisReferences() {
  DataFileState& data = Area(kAreaAnalyses).Data;
  if (!data.isOpen) return 0;
  ReferenceResolver inputs(kAreaInputs), analyses(kAreaAnalyses);
  int written = 0;
  // The lines written are read by no later step of this pass: the
  // resolvers read only the codes and stamps, which stay.
  RecordRunWriter writer(data);
  AnalysisRecord a;
  for (int b = 1; b < FileRecordCount(data); ++b) {
    const int16_t r = static_cast<int16_t>(b);
    StepRecodeProgress(b);
    GetRec(data, r, a.data());
    if (Get(a, coded::RecordStatus) != 0) continue;
    if (ClassifyCode(Get(a, coded::Code), kAreaAnalyses) != CodeKind::kItem) continue;
    if (!UpdateLines(a, inputs, analyses)) continue;
    writer.Put(r, a.data());
    ++written;
  }
  writer.Flush();
  return written;
}

int UpdateBudgetReferences() {
  using namespace budget_item;
  DataFileState& data = Area(kAreaBudget).Data;
  if (!data.isOpen) return 0;
  ReferenceResolver analyses(kAreaAnalyses), subcontracts(kAreaSubcontracts);
  int written = 0;
  RecordRunWriter writer(data);
  BudgetRecord item;
  for (int b = 1; b < FileRecordCount(data); ++b) {
    const int16_t r = static_cast<int16_t>(b);
    StepRecodeProgress(b);
    GetRec(data, r, item.data());
    if (Get(item, coded::RecordStatus) != 0) continue;
    if (ClassifyCode(Get(item, coded::Code), kAreaBudget) != CodeKind::kItem) continue;
    const uint8_t type = Get(item, RefType);
    if (type != kRefAnalysis && type != kRefSubcontract) continue;
    ReferenceResolver& target = type == kRefAnalysis ? analyses : subcontracts;
    const auto ref = Updated(target, LoadReference(item, RefCode, RefRecNo, RefStamp));
    if (!ref) continue;
    StoreReference(item, *ref, RefCode, RefRecNo, RefStamp);
    writer.Put(r, item.data());
    ++written;
  }
  writer.Flush();
  return written;
}

}  // namespace vantu
