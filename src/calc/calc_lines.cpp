#include "calc/calc_lines.h"

namespace vantu {

LineTable::Range LineTable::Of(RecordCache<AnalysisRecord>& analyses, int r) {
  const auto i = static_cast<size_t>(r);
  if (ranges_.size() < static_cast<size_t>(analyses.Count()))
    ranges_.resize(static_cast<size_t>(analyses.Count()), Range{0, -1});
  if (ranges_[i].count >= 0) return ranges_[i];
  const AnalysisRecord& a = analyses.Get(r);
  Range range{static_cast<int>(lines_.size()), 0};
  for (int group = 1; group <= analysis::kGroups; ++group) {
    const int first = SectionFirstSlot(a, group);
    for (int slot = first; slot < first + SectionLineCount(a, group); ++slot) {
      const AnalysisLine line = Get(a, analysis::Lines(slot));
      lines_.push_back(CalcLine{
          Get(line, analysis_line::Quantity), Get(line, analysis_line::RefRecNo),
          static_cast<LineType>(Get(line, analysis_line::LineType)), static_cast<uint8_t>(group)});
      ++range.count;
    }
  }
  ranges_[i] = range;
  return range;
}

void InputNeeds::LoadFromRecord(RecordCache<InputRecord>& inputs, int r, Need& n) {
  const InputRecord& in = inputs.Get(r);
  n.stamp = Get(in, coded::CalcStamp);
  n.required = Get(in, input::RequiredQuantity);
  n.loaded = true;
  touched_.push_back(r);
}

void InputNeeds::WriteBack(RecordCache<InputRecord>& inputs) {
  for (int r : touched_) {
    Need& n = needs_[static_cast<size_t>(r)];
    InputRecord& in = inputs.Get(r);
    Set(in, coded::CalcStamp, n.stamp);
    Set(in, input::RequiredQuantity, n.required);
    inputs.Put(r);
    n.loaded = false;
  }
  touched_.clear();
}

}  // namespace vantu
