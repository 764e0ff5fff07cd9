#include "calc/calc_lines.h"

#include <cstring>

#include "calc/run_context.h"

namespace vantu {

namespace {

// A stamp left by a stopped run of the same generation, read as an old one.
int16_t Fresh(int16_t stamp, int16_t generation) {
  return stamp == generation || stamp == -generation ? int16_t{0} : stamp;
}

}  // namespace

void LineTable::Reserve(int analysisCount) {
  const auto n = static_cast<size_t>(analysisCount);
  if (ranges_.size() >= n) return;
  ranges_.resize(n, Range{0, -1});
  // Room for every line the file can hold, so that the tables never move
  // while they grow; what stays unused is never touched.
  lines_.reserve(n * analysis::kLineSlots);
}

bool LineTable::Begin(int analysisCount, int r) {
  Reserve(analysisCount);
  open_ = static_cast<size_t>(r);
  if (ranges_[open_].count >= 0) return false;
  ranges_[open_] = Range{static_cast<int>(lines_.size()), 0};
  return true;
}

void LineTable::Add(const uint8_t* line, int group) {
  Packed p{};
  std::memcpy(p.quantity, line + analysis_line::Quantity.offset, sizeof p.quantity);
  p.ref = GetI16(line + analysis_line::RefRecNo.offset);
  p.type = static_cast<LineType>(line[analysis_line::LineType.offset]);
  p.group = static_cast<uint8_t>(group);
  lines_.push_back(p);
  ++ranges_[open_].count;
}

LineTable::Range LineTable::Of(RecordCache<AnalysisRecord>& analyses, int r) {
  if (!Begin(analyses.Count(), r)) return ranges_[static_cast<size_t>(r)];
  const AnalysisRecord& a = analyses.Get(r);
  const auto spans = SectionSpans(a);
  for (int group = 1; group <= analysis::kGroups; ++group) {
    const SectionSpan span = spans[static_cast<size_t>(group)];
    for (int slot = span.first; slot < span.end; ++slot)
      Add(a.data() + analysis::Lines(slot).offset, group);
  }
  return ranges_[static_cast<size_t>(r)];
}

void AnalysisMarks::Load(RecordCache<AnalysisRecord>& analyses, int16_t generation) {
  const auto n = static_cast<size_t>(analyses.Count());
  priceable_.assign(n, 0);
  stamp_.assign(n, 0);
  direct_.assign(n, 0);
  for (int r = 1; r < analyses.Count(); ++r) {
    const auto i = static_cast<size_t>(r);
    const AnalysisRecord& a = analyses.Get(r);
    priceable_[i] = Get(a, coded::RecordStatus) == 0 &&
                    TextOf(a, coded::Code).size() != static_cast<size_t>(kChapterCodeLength);
    stamp_[i] = Fresh(Get(a, coded::CalcStamp), generation);
    direct_[i] = Get(a, analysis::DirectCost);
  }
}

void AnalysisMarks::WriteBack(RecordCache<AnalysisRecord>& analyses) {
  for (int r = 1; r < static_cast<int>(stamp_.size()); ++r) {
    AnalysisRecord& a = analyses.Get(r);
    if (Get(a, coded::CalcStamp) == stamp_[static_cast<size_t>(r)]) continue;
    Set(a, coded::CalcStamp, stamp_[static_cast<size_t>(r)]);
    analyses.Put(r);
  }
}

void GlobalMarks::Load(RecordCache<GlobalPriceRecord>& globals, int16_t generation) {
  stamp_.assign(static_cast<size_t>(globals.Count()), 0);
  for (int r = 1; r < globals.Count(); ++r)
    stamp_[static_cast<size_t>(r)] =
        Fresh(Get(globals.Get(r), global_price::CalcStamp), generation);
}

void GlobalMarks::WriteBack(RecordCache<GlobalPriceRecord>& globals) {
  for (int r = 1; r < static_cast<int>(stamp_.size()); ++r) {
    GlobalPriceRecord& g = globals.Get(r);
    if (Get(g, global_price::CalcStamp) == stamp_[static_cast<size_t>(r)]) continue;
    Set(g, global_price::CalcStamp, stamp_[static_cast<size_t>(r)]);
    globals.Put(r);
  }
}

void InputNeeds::Load(RecordCache<InputRecord>& inputs, int16_t generation) {
  const auto n = static_cast<size_t>(inputs.Count());
  loaded_ = true;
  touched_.assign(n, 0);
  stamp_.assign(n, 0);
  required_.assign(n, 0);
  for (int r = 1; r < inputs.Count(); ++r) {
    const InputRecord& in = inputs.Get(r);
    const int16_t stamp = Get(in, coded::CalcStamp);
    stamp_[static_cast<size_t>(r)] = Fresh(stamp, generation);
    required_[static_cast<size_t>(r)] = Get(in, input::RequiredQuantity);
    if (stamp == generation) Touch(r);  // its 0 is written back
  }
}

void InputNeeds::WriteBack(RecordCache<InputRecord>& inputs) {
  for (int r : touchedList_) {
    const auto i = static_cast<size_t>(r);
    InputRecord& in = inputs.Get(r);
    bool changed = SetChanged(in, coded::CalcStamp, stamp_[i]);
    changed = SetChanged(in, input::RequiredQuantity, required_[i]) || changed;
    if (changed) inputs.Put(r);
    touched_[i] = 0;
  }
  touchedList_.clear();
}

}  // namespace vantu
