#include "records/codes.h"

#include <array>

namespace vantu {

int ItemCodeLength(int fileNo) {
  return fileNo == 3 ? kAnalysisCodeLength : kItemCodeLength;
}

CodeKind ClassifyCode(std::string_view code, int fileNo) {
  if (code.size() == kChapterCodeLength) return CodeKind::kChapter;
  if (static_cast<int>(code.size()) == ItemCodeLength(fileNo)) return CodeKind::kItem;
  return CodeKind::kInvalid;
}

bool IsChapterCode(std::string_view code) {
  return code.size() == kChapterCodeLength;
}

std::string ChapterOf(std::string_view code) {
  return std::string(code.substr(0, kChapterCodeLength));
}

std::string PadCode6(std::string_view code) {
  std::string padded(code.substr(0, 6));
  padded.resize(6, ' ');
  return padded;
}

std::string NormalizeLineCode(std::string_view code) {
  if (code == "00000") return std::string(kGlobalCode);
  return std::string(code);
}

LineType ClassifyLineCode(std::string_view code) {
  if (code.starts_with("00000")) return LineType::kGlobal;
  if (code.size() == kItemCodeLength) return LineType::kInput;
  if (code.size() == kAnalysisCodeLength) return LineType::kAnalysis;
  return LineType::kEmpty;
}

std::string_view GroupName(int group) {
  constexpr std::array<std::string_view, 4> kNames{"Equipos", "Materiales", "Transportes",
                                                   "Mano de Obra"};
  if (group < 1 || group > 4) return {};
  return kNames[group - 1];
}

int ChapterGroup(const InputRecord& chapter) {
  const int group = Get(chapter, input::Group);
  return group >= 1 && group <= 4 ? group : 0;
}

int InputGroup(std::string_view inputCode, const ChapterFinder& findChapter) {
  if (inputCode.size() <= kChapterCodeLength) return 0;
  const std::optional<InputRecord> chapter = findChapter(ChapterOf(inputCode));
  return chapter ? ChapterGroup(*chapter) : 0;
}

bool HasDate(std::string_view date) {
  return !date.empty() && date != "dd/mm/aa";
}

}  // namespace vantu
