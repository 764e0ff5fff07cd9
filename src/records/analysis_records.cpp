#include "records/analysis_records.h"

#include <algorithm>
#include <array>

namespace vantu {

int SectionFirstSlot(const AnalysisRecord& r, int group) {
  int slot = 1;
  for (int g = 1; g < group; ++g) slot += Get(r, analysis::GroupRows(g));
  return std::min(slot, analysis::kLineSlots + 1);
}

int SectionLineCount(const AnalysisRecord& r, int group) {
  const int room = analysis::kLineSlots + 1 - SectionFirstSlot(r, group);
  return std::min({static_cast<int>(Get(r, analysis::GroupCount(group))),
                   static_cast<int>(Get(r, analysis::GroupRows(group))), room});
}

void SetDefaultSections(AnalysisRecord& r) {
  constexpr std::array<uint8_t, analysis::kGroups> kRows{3, 6, 2, 4};
  for (int g = 1; g <= analysis::kGroups; ++g) {
    Set(r, analysis::GroupRows(g), kRows[g - 1]);
    Set(r, analysis::GroupCount(g), 0);
  }
}

}  // namespace vantu
