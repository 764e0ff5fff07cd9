#include "selection/recode_references.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "records/analysis_records.h"
#include "records/budget_records.h"
#include "records/codes.h"
#include "selection/recode_files.h"
#include "session/pstring.h"
#include "storage/btree.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"

namespace vantu {

namespace {

std::string StampKey(const uint8_t* p) {
  return std::string(reinterpret_cast<const char*>(p), 10);
}

// Brings the reference stored in `p` (its code, record number and stamp
// where the fields say) to the record the resolver finds for it; true when
// it changed. Works on the stored bytes: it runs for every line of every
// analysis.
template <class Tag>
bool UpdateReference(ReferenceResolver& resolver, uint8_t* p, StrField<Tag> code,
                     I16Field<Tag> record, ExtField<Tag> stamp) {
  uint8_t* storedCode = p + code.offset;
  const std::string_view held(reinterpret_cast<const char*>(storedCode + 1),
                              std::min<size_t>(storedCode[0], code.capacity));
  const int16_t stored = GetI16(p + record.offset);
  uint8_t* storedStamp = p + stamp.offset;
  const int16_t r = resolver.Find(stored, held, storedStamp);
  if (r == 0) return false;
  const RecordHead& h = resolver.Head(r);
  const bool sameStamp = std::equal(h.stamp.begin(), h.stamp.end(), storedStamp);
  if (r == stored && sameStamp && h.Code() == held) return false;
  WriteStr(storedCode, code.capacity, h.Code());
  PutI16(p + record.offset, r);
  std::memcpy(storedStamp, h.stamp.data(), h.stamp.size());
  return true;
}

// The global prices, read whole at the first line of type 5. Owners are
// changed in that copy and written in runs; nothing else reads the file
// while the analyses are updated.
class GlobalOwners {
 public:
  GlobalOwners() : file_(Area(kAreaGlobals).Data), writer_(file_) {}

  // The owner of global price r, which a line of type 5 uses.
  void Update(int16_t r, const std::string& owner) {
    if (!file_.isOpen) return;
    if (r < 1 || r >= FileRecordCount(file_)) return;
    if (records_.empty()) records_ = ReadAllRecords(file_);
    uint8_t* stored = records_.data() + static_cast<size_t>(r) * file_.RecordLength;
    GlobalPriceRecord g;
    std::memcpy(g.data(), stored, g.bytes.size());
    if (Get(g, global_price::RecordStatus) != 0 || Get(g, global_price::OwnerCode) == owner) return;
    Set(g, global_price::OwnerCode, owner);
    std::memcpy(stored, g.data(), g.bytes.size());
    writer_.Put(r, stored);
  }
  void Flush() { writer_.Flush(); }

 private:
  DataFileState& file_;
  RecordRunWriter writer_;
  std::vector<uint8_t> records_;
};

// Budget items whose targets are asked for ahead of their turn.
constexpr int kPrefetchAhead = 8;

// Starts fetching the head that a budget item's reference names.
void PrefetchTarget(const uint8_t* item, ReferenceResolvers& resolvers) {
  const uint8_t type = item[budget_item::RefType.offset];
  const int16_t r = GetI16(item + budget_item::RefRecNo.offset);
  if (type == budget_item::kRefAnalysis) resolvers.analyses.Prefetch(r);
  if (type == budget_item::kRefSubcontract) resolvers.subcontracts.Prefetch(r);
}

// The slots that hold the analysis' lines, group after group; returns
// how many there are.
int LineSlots(const AnalysisRecord& a, std::array<int, analysis::kLineSlots>& slots) {
  int n = 0;
  for (int g = 1; g <= analysis::kGroups; ++g) {
    const int first = SectionFirstSlot(a, g);
    const int count = SectionLineCount(a, g);
    for (int i = 0; i < count && n < analysis::kLineSlots; ++i) slots[n++] = first + i;
  }
  return n;
}

// The lines of one analysis; true when one of them changed.
bool UpdateLines(AnalysisRecord& a, ReferenceResolver& inputs, ReferenceResolver& analyses,
                 GlobalOwners& globals) {
  namespace al = analysis_line;
  std::array<int, analysis::kLineSlots> slots{};
  const int count = LineSlots(a, slots);
  // The heads the lines name lie anywhere in their files: asking for all
  // of them first lets the memory fetch them side by side.
  for (int k = 0; k < count; ++k) {
    const uint8_t* line = a.data() + analysis::Lines(slots[k]).offset;
    const auto type = static_cast<LineType>(line[al::LineType.offset]);
    const int16_t r = GetI16(line + al::RefRecNo.offset);
    if (type == LineType::kInput) inputs.Prefetch(r);
    if (type == LineType::kAnalysis) analyses.Prefetch(r);
  }
  bool changed = false;
  const std::string owner = Get(a, coded::Code);
  for (int k = 0; k < count; ++k) {
    uint8_t* line = a.data() + analysis::Lines(slots[k]).offset;
    const auto type = static_cast<LineType>(line[al::LineType.offset]);
    if (type == LineType::kGlobal) {
      globals.Update(GetI16(line + al::RefRecNo.offset), owner);
      continue;
    }
    if (type != LineType::kInput && type != LineType::kAnalysis) continue;
    ReferenceResolver& target = type == LineType::kInput ? inputs : analyses;
    if (UpdateReference(target, line, al::RefCode, al::RefRecNo, al::RefStamp)) changed = true;
  }
  return changed;
}

}  // namespace

bool ReferenceResolver::InUse(int16_t record) const {
  return record >= 1 && static_cast<size_t>(record) < heads_.size() &&
         heads_[static_cast<size_t>(record)].inUse;
}

const RecordHead& ReferenceResolver::Head(int16_t record) const {
  return heads_[static_cast<size_t>(record)];
}

void ReferenceResolver::Prefetch(int16_t record) {
  if (!Area(area_).Data.isOpen) return;
  if (!loaded_) Load();
  if (record >= 1 && static_cast<size_t>(record) < heads_.size())
    __builtin_prefetch(&heads_[static_cast<size_t>(record)]);
}

void ReferenceResolver::Provide(std::vector<RecordHead> heads) {
  heads_ = std::move(heads);
  loaded_ = true;
  stampsBuilt_ = false;
  byStamp_.clear();
}

ReferenceResolver* ReferenceResolvers::For(int area) {
  switch (area) {
    case kAreaInputs:
      return &inputs;
    case kAreaAnalyses:
      return &analyses;
    case kAreaSubcontracts:
      return &subcontracts;
    default:
      return nullptr;
  }
}

void ReferenceResolver::Load() {
  loaded_ = true;
  heads_ = ReadRecordHeads(Area(area_).Data);
}

void ReferenceResolver::BuildStampIndex() {
  stampsBuilt_ = true;
  for (size_t b = 1; b < heads_.size(); ++b)
    if (heads_[b].inUse)
      byStamp_.emplace(StampKey(heads_[b].stamp.data()), static_cast<int16_t>(b));
}

int16_t ReferenceResolver::Find(int16_t record, std::string_view code, const uint8_t* stamp) {
  if (!Area(area_).Data.isOpen) return 0;
  if (!loaded_) Load();
  if (InUse(record)) {
    const RecordHead& h = heads_[static_cast<size_t>(record)];
    if (h.Code() == code || std::equal(h.stamp.begin(), h.stamp.end(), stamp)) return record;
  }
  if (!stampsBuilt_) BuildStampIndex();
  auto it = byStamp_.find(StampKey(stamp));
  return it == byStamp_.end() ? 0 : it->second;
}

int UpdateAnalysisReferences(ReferenceResolvers& resolvers) {
  DataFileState& data = Area(kAreaAnalyses).Data;
  if (!data.isOpen) return 0;
  int written = 0;
  GlobalOwners globals;
  // Each record is read once, before it is written: the resolvers read
  // only the codes and stamps, which stay.
  RecordScanner scanner(data);
  RecordRunWriter writer(data, &scanner);
  AnalysisRecord a;
  for (int b = 1; b < FileRecordCount(data); ++b) {
    const int16_t r = static_cast<int16_t>(b);
    StepRecodeProgress(b);
    std::memcpy(a.data(), scanner.Get(r), a.bytes.size());
    if (Get(a, coded::RecordStatus) != 0) continue;
    if (ClassifyCode(Get(a, coded::Code), kAreaAnalyses) != CodeKind::kItem) continue;
    if (!UpdateLines(a, resolvers.inputs, resolvers.analyses, globals)) continue;
    writer.Put(r, a.data());
    ++written;
  }
  writer.Flush();
  globals.Flush();
  return written;
}

int UpdateBudgetReferences(ReferenceResolvers& resolvers) {
  using namespace budget_item;
  DataFileState& data = Area(kAreaBudget).Data;
  if (!data.isOpen) return 0;
  int written = 0;
  RecordScanner scanner(data);
  RecordRunWriter writer(data, &scanner);
  BudgetRecord item;
  for (int b = 1; b < FileRecordCount(data); ++b) {
    const int16_t r = static_cast<int16_t>(b);
    StepRecodeProgress(b);
    std::memcpy(item.data(), scanner.Get(r), item.bytes.size());
    if (const uint8_t* ahead = scanner.Held(b + kPrefetchAhead)) PrefetchTarget(ahead, resolvers);
    if (Get(item, coded::RecordStatus) != 0) continue;
    if (ClassifyCode(Get(item, coded::Code), kAreaBudget) != CodeKind::kItem) continue;
    const uint8_t type = Get(item, RefType);
    if (type != kRefAnalysis && type != kRefSubcontract) continue;
    ReferenceResolver& target = type == kRefAnalysis ? resolvers.analyses : resolvers.subcontracts;
    if (!UpdateReference(target, item.data(), RefCode, RefRecNo, RefStamp)) continue;
    writer.Put(r, item.data());
    ++written;
  }
  writer.Flush();
  return written;
}

}  // namespace vantu
