#pragma once
// The new codes of a recodified file and the order in which to write them.
//
// Codes are planned over the records in key order: each chapter (a code of
// 2 characters) gets an evenly spaced 2-digit code, and the items that
// follow it the chapter's new code and an evenly spaced number of 3 digits
// (4 in the analyses). Order is kept, so the new codes ascend in the same
// order as the old ones.
//
// Writing them one record at a time in that order could give a record the
// code another one still carries. WriteOrder avoids it: the records whose
// code grows are written from the last one back, those whose code shrinks
// from the first one on. At every moment the codes in the file are then
// distinct and in the original order, so a stopped run, even one whose
// index the recovery rebuilt from the data, is planned again to the same
// codes and loses no record to a duplicate.

#include <cstddef>
#include <string>
#include <vector>

#include "selection/recode_state.h"

namespace vantu {

constexpr int kMaxChapterNumber = 99;
constexpr int kMaxItemNumber = 999;
constexpr int kMaxAnalysisItemNumber = 9999;

enum class PlanStatus {
  kOk,
  kItemsBeforeChapter,  // an item precedes every chapter: it has no chapter to follow
  kTooManyChapters,     // more than 99 chapters
  kTooManyItems,        // a chapter with more items than its digits can number
};

struct RenumberPlan {
  PlanStatus status = PlanStatus::kOk;
  int chapterStep = 0;
  std::vector<std::string> codes;  // new code per position; empty unless kOk
};

// `codes` in key order; itemDigits 3, or 4 for the analyses.
RenumberPlan PlanRenumbering(const std::vector<std::string>& codes, int itemDigits,
                             const RecodeParams& p);

// Positions whose code changes, in an order that keeps every code distinct
// while they are written. `current` and `target` ascend strictly.
std::vector<size_t> WriteOrder(const std::vector<std::string>& current,
                               const std::vector<std::string>& target);

// "07", "01010", "010020": n with leading zeros to `digits`.
std::string ZeroPadded(int n, int digits);

}  // namespace vantu
