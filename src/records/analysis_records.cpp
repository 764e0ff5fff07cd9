#include "records/analysis_records.h"

#include <algorithm>
#include <array>

namespace vantu {

std::array<SectionSpan, analysis::kGroups + 1> SectionSpans(const AnalysisRecord& r) {
  std::array<SectionSpan, analysis::kGroups + 1> spans{};
  int slot = 1;
  for (int g = 1; g <= analysis::kGroups; ++g) {
    const int rows = Get(r, analysis::GroupRows(g));
    const int first = std::min(slot, analysis::kLineSlots + 1);
    const int count = std::min({static_cast<int>(Get(r, analysis::GroupCount(g))), rows,
                                analysis::kLineSlots + 1 - first});
    spans[static_cast<size_t>(g)] = SectionSpan{first, first + count};
    slot += rows;
  }
  return spans;
}

int SectionFirstSlot(const AnalysisRecord& r, int group) {
  return SectionSpans(r)[static_cast<size_t>(group)].first;
}

int SectionLineCount(const AnalysisRecord& r, int group) {
  const SectionSpan span = SectionSpans(r)[static_cast<size_t>(group)];
  return span.end - span.first;
}

void SetDefaultSections(AnalysisRecord& r) {
  constexpr std::array<uint8_t, analysis::kGroups> kRows{3, 6, 2, 4};
  for (int g = 1; g <= analysis::kGroups; ++g) {
    Set(r, analysis::GroupRows(g), kRows[g - 1]);
    Set(r, analysis::GroupCount(g), 0);
  }
}

AnalysisSections ReadSections(const AnalysisRecord& r) {
  AnalysisSections s;
  for (int g = 1; g <= analysis::kGroups; ++g) {
    const int first = SectionFirstSlot(r, g);
    for (int i = 0; i < SectionLineCount(r, g); ++i)
      s.lines[g].push_back(Get(r, analysis::Lines(first + i)));
    s.rows[g] = std::min<int>(Get(r, analysis::GroupRows(g)), analysis::kLineSlots + 1 - first);
  }
  return s;
}

void WriteSections(AnalysisRecord& r, const AnalysisSections& s) {
  int slot = 1;
  for (int g = 1; g <= analysis::kGroups; ++g) {
    Set(r, analysis::GroupRows(g), static_cast<uint8_t>(s.rows[g]));
    Set(r, analysis::GroupCount(g), static_cast<uint8_t>(s.lines[g].size()));
    for (int i = 0; i < s.rows[g] && slot <= analysis::kLineSlots; ++i, ++slot) {
      const bool line = i < static_cast<int>(s.lines[g].size());
      Set(r, analysis::Lines(slot), line ? s.lines[g][i] : AnalysisLine{});
    }
  }
  for (; slot <= analysis::kLineSlots; ++slot) Set(r, analysis::Lines(slot), AnalysisLine{});
}

}  // namespace vantu
