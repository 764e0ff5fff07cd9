#include "selection/recode_plan.h"

#include <algorithm>

#include "records/codes.h"

namespace vantu {

namespace {

struct Chapter {
  int items = 0;
};

// Chapter step and first code. Without a first chapter the codes start at
// the step. A first chapter that leaves no room for all the chapters is
// lowered so that the last one is 99, rather than letting codes collide.
std::pair<int, int> ChapterNumbering(int chapters, const RecodeParams& p) {
  const int room = p.firstChapter > 0 ? kMaxChapterNumber - p.firstChapter : kMaxChapterNumber;
  int step = std::min<int>(room / chapters, p.chapterSeparation);
  step = std::max(step, 1);
  int first = p.firstChapter > 0 ? p.firstChapter : step;
  if (first + (chapters - 1) * step > kMaxChapterNumber)
    first = kMaxChapterNumber - (chapters - 1) * step;
  return {first, step};
}

}  // namespace

std::string ZeroPadded(int n, int digits) {
  std::string s = std::to_string(n);
  if (static_cast<int>(s.size()) < digits) s.insert(0, digits - s.size(), '0');
  return s;
}

RenumberPlan PlanRenumbering(const std::vector<std::string>& codes, int itemDigits,
                             const RecodeParams& p) {
  RenumberPlan plan;
  const int maxItem = itemDigits >= 4 ? kMaxAnalysisItemNumber : kMaxItemNumber;
  std::vector<Chapter> chapters;
  for (const std::string& c : codes) {
    if (IsChapterCode(c)) {
      chapters.push_back({});
    } else if (chapters.empty()) {
      plan.status = PlanStatus::kItemsBeforeChapter;
      return plan;
    } else {
      ++chapters.back().items;
    }
  }
  if (chapters.empty()) return plan;
  if (static_cast<int>(chapters.size()) > kMaxChapterNumber) {
    plan.status = PlanStatus::kTooManyChapters;
    return plan;
  }
  for (const Chapter& c : chapters)
    if (c.items > maxItem) {
      plan.status = PlanStatus::kTooManyItems;
      return plan;
    }
  const auto [first, step] = ChapterNumbering(static_cast<int>(chapters.size()), p);
  plan.chapterStep = step;
  plan.codes.reserve(codes.size());
  int chapterNo = first - step;
  size_t chapter = 0;
  int itemStep = 0, counter = 0;
  for (const std::string& c : codes) {
    if (IsChapterCode(c)) {
      chapterNo += step;
      const int items = chapters[chapter++].items;
      itemStep = std::min<int>(p.itemSeparation, items > 0 ? maxItem / items : maxItem);
      counter = itemStep;
      plan.codes.push_back(ZeroPadded(chapterNo, 2));
    } else {
      plan.codes.push_back(ZeroPadded(chapterNo, 2) + ZeroPadded(counter, itemDigits));
      counter += itemStep;
    }
  }
  return plan;
}

std::vector<size_t> WriteOrder(const std::vector<std::string>& current,
                               const std::vector<std::string>& target) {
  std::vector<size_t> order;
  const size_t n = std::min(current.size(), target.size());
  for (size_t i = n; i-- > 0;)
    if (current[i] < target[i]) order.push_back(i);
  for (size_t i = 0; i < n; ++i)
    if (target[i] < current[i]) order.push_back(i);
  return order;
}

}  // namespace vantu
