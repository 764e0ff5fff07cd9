#pragma once
// Command E: the basic inputs of the open Rama (file 2), chapters that set
// the group of their inputs, and the group change of a chapter.

#include <string>

#include "records/analysis_records.h"

namespace vantu {

void BasicInputsCommand();

enum class GroupMove { kUnaffected, kMoved, kNoRoom };
// Moves the lines of `a` that use inputs of `chapter` to the section of
// `newGroup` (appended in their order; the other lines keep theirs) and
// spreads the 15 rows again: each section gets its lines (at least 1 row)
// and the rows left over go to the sections in turn. kNoRoom leaves `a`
// as it was.
GroupMove MoveGroupLines(AnalysisRecord& a, const std::string& chapter, int newGroup);

// The group change of a chapter against the analyses: true when accepted
// (the analyses rewritten), false when some analysis has no room (the
// manual correction was offered).
bool ChangeChapterGroup(const std::string& chapter, int newGroup);

}  // namespace vantu
