// A chapter of basic inputs changes its group: every analysis line that
// uses one of its inputs moves to the section of the new group, or, when an
// analysis has no room for that, the change is refused and the analyses are
// listed for a manual correction.
#include <array>
#include <filesystem>
#include <vector>

#include "estimating/basic_inputs.h"
#include "records/analysis_records.h"
#include "records/codes.h"
#include "records/record_ops.h"
#include "records/usage_check.h"
#include "session/work_area_ids.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"
#include "toolkit/error_file.h"
#include "toolkit/message_boxes.h"

namespace vantu {

namespace {

constexpr uint8_t kGroupChangeTarget = 7;  // "Cambio de Grupo"
constexpr uint8_t kRemoveAnItem = 13;      // "..{ eliminar un item }"
constexpr const char* kManualCorrection =
    "Algunos Analisis Unitarios requieren la eliminacion de un Item\r"
    "para poder mover los datos exigidos por el cambio de Grupo\r\r"
    "Esa labor debe hacerse manualmente\r\r"
    "Desea hacer la correccion manual ? ";

using Section = std::vector<AnalysisLine>;

bool UsesChapter(const AnalysisLine& line, const std::string& chapter) {
  const std::string code = Get(line, analysis_line::RefCode);
  return Get(line, analysis_line::LineType) != 0 && code.size() == kItemCodeLength &&
         ChapterOf(code) == chapter;
}

// Each section gets its lines (at least 1 row); the rows left over go to
// the sections in turn.
void SpreadRows(AnalysisSections& s) {
  int used = 0;
  for (int g = 1; g <= analysis::kGroups; ++g) {
    s.rows[g] = std::max<int>(1, static_cast<int>(s.lines[g].size()));
    used += s.rows[g];
  }
  for (int g = 1; used < analysis::kLineSlots; g = g % analysis::kGroups + 1, ++used) ++s.rows[g];
}

bool ChapterHasInputs(const std::string& chapter) {
  IndexFileState& ix = Area(kAreaInputs).Index;
  std::string key = chapter;
  int16_t r = 0;
  SearchKey(ix, r, key);
  if (LastOpOk() && key == chapter) NextKey(ix, r, key);
  return LastOpOk() && key.starts_with(chapter);
}

ErrorEntry NoRoomEntry(const std::string& analysisCode) {
  ErrorEntry e;
  e.severity = kSevContent;
  e.targetKind = kGroupChangeTarget;
  e.errCode = PadCode6(analysisCode);
  e.nameIndex = 1;
  e.missing = {kRemoveAnItem};
  return e;
}

}  // namespace

GroupMove MoveGroupLines(AnalysisRecord& a, const std::string& chapter, int newGroup) {
  AnalysisSections all = ReadSections(a);
  auto& sections = all.lines;
  Section moved;
  bool affected = false;
  for (int g = 1; g <= analysis::kGroups; ++g) {
    Section kept;
    for (const AnalysisLine& line : sections[g]) {
      const bool uses = UsesChapter(line, chapter);
      affected = affected || uses;
      if (uses && g != newGroup)
        moved.push_back(line);
      else
        kept.push_back(line);
    }
    sections[g] = kept;
  }
  if (!affected) return GroupMove::kUnaffected;
  for (const AnalysisLine& line : moved) sections[newGroup].push_back(line);
  int rows = 0;
  for (int g = 1; g <= analysis::kGroups; ++g)
    rows += std::max<int>(1, static_cast<int>(sections[g].size()));
  if (rows > analysis::kLineSlots) return GroupMove::kNoRoom;
  SpreadRows(all);
  WriteSections(a, all);
  return GroupMove::kMoved;
}

bool ChangeChapterGroup(const std::string& chapter, int newGroup) {
  if (!Area(kAreaAnalyses).Data.isOpen || UsedRecordCount(Area(kAreaAnalyses).Data) == 0 ||
      !ChapterHasInputs(chapter))
    return true;
  std::vector<ErrorEntry> noRoom;
  std::vector<std::pair<int16_t, AnalysisRecord>> rewritten;
  ForEachKey(3, [&](const std::string& key, int16_t r) {
    if (key.size() != kAnalysisCodeLength) return true;
    AnalysisRecord a;
    GetRec(Area(kAreaAnalyses).Data, r, a.data());
    const GroupMove move = MoveGroupLines(a, chapter, newGroup);
    if (move == GroupMove::kNoRoom) noRoom.push_back(NoRoomEntry(key));
    if (move == GroupMove::kMoved) rewritten.emplace_back(r, a);
    return true;
  });
  WriteErrorFile(kTempErrorFile, noRoom);
  if (!noRoom.empty()) {
    if (ConfirmBox(kManualCorrection, "CorreccionManual") == 'S') {
      StartWarningsReview(static_cast<int16_t>(noRoom.size()), true);
    } else {
      std::error_code ec;
      std::filesystem::remove(kTempErrorFile, ec);
    }
    return false;
  }
  for (auto& [r, a] : rewritten) PutRec(Area(kAreaAnalyses).Data, r, a.data());
  if (!rewritten.empty()) {
    Area(kAreaAnalyses).SavedChangeMarker = 1;
    FlushWorkArea(kAreaAnalyses);
  }
  return true;
}

}  // namespace vantu
