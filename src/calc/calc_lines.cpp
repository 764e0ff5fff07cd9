#include "calc/calc_lines.h"

namespace vantu {

LineTable::Range LineTable::Of(RecordCache<AnalysisRecord>& analyses, int r) {
  const auto i = static_cast<size_t>(r);
  if (ranges_.size() < static_cast<size_t>(analyses.Count()))
    ranges_.resize(static_cast<size_t>(analyses.Count()), Range{0, -1});
  if (ranges_[i].count >= 0) return ranges_[i];
  const AnalysisRecord& a = analyses.Get(r);
  Range range{static_cast<int>(meta_.size()), 0};
  for (int group = 1; group <= analysis::kGroups; ++group) {
    const int first = SectionFirstSlot(a, group);
    for (int slot = first; slot < first + SectionLineCount(a, group); ++slot) {
      const AnalysisLine line = Get(a, analysis::Lines(slot));
      quantities_.push_back(Get(line, analysis_line::Quantity));
      meta_.push_back(Meta{Get(line, analysis_line::RefRecNo),
                           static_cast<LineType>(Get(line, analysis_line::LineType)),
                           static_cast<uint8_t>(group)});
      ++range.count;
    }
  }
  ranges_[i] = range;
  return range;
}

void InputNeeds::Size(int records) {
  const auto n = static_cast<size_t>(records);
  loaded_.assign(n, 0);
  stamp_.assign(n, 0);
  required_.assign(n, 0);
}

void InputNeeds::Load(RecordCache<InputRecord>& inputs, int r) {
  const auto i = static_cast<size_t>(r);
  const InputRecord& in = inputs.Get(r);
  stamp_[i] = Get(in, coded::CalcStamp);
  required_[i] = Get(in, input::RequiredQuantity);
  loaded_[i] = 1;
  touched_.push_back(r);
}

void InputNeeds::WriteBack(RecordCache<InputRecord>& inputs) {
  for (int r : touched_) {
    const auto i = static_cast<size_t>(r);
    InputRecord& in = inputs.Get(r);
    Set(in, coded::CalcStamp, stamp_[i]);
    Set(in, input::RequiredQuantity, required_[i]);
    inputs.Put(r);
    loaded_[i] = 0;
  }
  touched_.clear();
}

}  // namespace vantu
