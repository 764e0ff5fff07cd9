// Planning the new codes of a file and the order of their writes.
#include "selection/recode_plan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace vantu {
namespace {

// A file of `chapters` chapters numbered from `firstCode` by `codeStep`,
// each with `items` items numbered by `itemStep`.
std::vector<std::string> MakeCodes(int chapters, int items, int digits, int firstCode = 1,
                                   int codeStep = 1, int itemStep = 1) {
  std::vector<std::string> codes;
  for (int c = 0; c < chapters; ++c) {
    const std::string chapter = ZeroPadded(firstCode + c * codeStep, 2);
    codes.push_back(chapter);
    for (int i = 1; i <= items; ++i) codes.push_back(chapter + ZeroPadded(i * itemStep, digits));
  }
  return codes;
}

std::vector<std::string> ChaptersOf(const std::vector<std::string>& codes) {
  std::vector<std::string> out;
  for (const auto& c : codes)
    if (c.size() == 2) out.push_back(c);
  return out;
}

TEST(RecodePlan, ChapterNumbering) {
  struct Case {
    const char* name;
    std::vector<std::string> chapters;
    RecodeParams params;
    int step;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"gap closed with defaults", {"01", "02", "07"}, {0, 1, 10}, 1, {"01", "02", "03"}},
      {"separation kept when room", {"03", "04", "09"}, {0, 5, 10}, 5, {"05", "10", "15"}},
      {"room limits the separation",
       {"10", "20", "30", "40"},
       {0, 5, 10},
       5,
       {"05", "10", "15", "20"}},
      {"first chapter given", {"02", "04"}, {3, 2, 10}, 2, {"03", "05"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const RenumberPlan plan = PlanRenumbering(c.chapters, 3, c.params);
    ASSERT_EQ(plan.status, PlanStatus::kOk);
    EXPECT_EQ(plan.chapterStep, c.step);
    EXPECT_EQ(plan.codes, c.expected);
  }
}

TEST(RecodePlan, FirstChapterFiveWithFortyChaptersStepsByTwo) {
  const RenumberPlan plan = PlanRenumbering(MakeCodes(40, 0, 3), 3, {5, 5, 10});
  ASSERT_EQ(plan.status, PlanStatus::kOk);
  EXPECT_EQ(plan.chapterStep, (99 - 5) / 40);
  const auto chapters = ChaptersOf(plan.codes);
  ASSERT_EQ(chapters.size(), 40u);
  EXPECT_EQ(chapters[0], "05");
  EXPECT_EQ(chapters[1], "07");
  EXPECT_EQ(chapters[2], "09");
  EXPECT_EQ(chapters[39], ZeroPadded(5 + 39 * 2, 2));
}

// Where the room of 99 chapter numbers just holds the separation, and
// where it stops holding it.
TEST(RecodePlan, ChapterRoomAtTheSeparationsEdge) {
  struct Case {
    const char* name;
    int chapters;
    RecodeParams params;
    int step;
    const char *first, *last;
  };
  const Case cases[] = {
      {"19 chapters fit 5 apart", 19, {0, 5, 10}, 5, "05", "95"},
      {"20 chapters step by 99 div 20", 20, {0, 5, 10}, 4, "04", "80"},
      {"19 from chapter 5: (99 - 5) div 19", 19, {5, 5, 10}, 4, "05", "77"},
      {"18 from chapter 9 fit 5 apart", 18, {9, 5, 10}, 5, "09", "94"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const RenumberPlan plan = PlanRenumbering(MakeCodes(c.chapters, 1, 3), 3, c.params);
    ASSERT_EQ(plan.status, PlanStatus::kOk);
    EXPECT_EQ(plan.chapterStep, c.step);
    const auto chapters = ChaptersOf(plan.codes);
    ASSERT_EQ(chapters.size(), static_cast<size_t>(c.chapters));
    EXPECT_EQ(chapters.front(), c.first);
    EXPECT_EQ(chapters[1], ZeroPadded(std::stoi(c.first) + c.step, 2));
    EXPECT_EQ(chapters.back(), c.last);
  }
}

TEST(RecodePlan, ItemSteps) {
  struct Case {
    const char* name;
    int items, digits;
    RecodeParams params;
    std::string firstItem, lastItem;
  };
  const Case cases[] = {
      {"separation 10", 5, 3, {0, 1, 10}, "01010", "01050"},
      {"200 inputs step 4", 200, 3, {0, 1, 10}, "01004", "01800"},
      {"999 items step 1", 999, 3, {0, 1, 10}, "01001", "01999"},
      {"analyses 4 digits", 5, 4, {0, 1, 7}, "010007", "010035"},
      {"2000 analyses step 4", 2000, 4, {0, 1, 10}, "010004", "018000"},
      {"9999 analyses", 9999, 4, {0, 1, 10}, "010001", "019999"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto codes = MakeCodes(1, c.items, c.digits, 7, 1, 1);
    const RenumberPlan plan = PlanRenumbering(codes, c.digits, c.params);
    ASSERT_EQ(plan.status, PlanStatus::kOk);
    ASSERT_EQ(plan.codes.size(), codes.size());
    EXPECT_EQ(plan.codes[0], "01");
    EXPECT_EQ(plan.codes[1], c.firstItem);
    EXPECT_EQ(plan.codes.back(), c.lastItem);
  }
}

TEST(RecodePlan, RefusesWhereCodesRunOut) {
  struct Case {
    const char* name;
    std::vector<std::string> codes;
    int digits;
    PlanStatus expected;
  };
  // Items filed after chapter 01 under other prefixes belong to it.
  std::vector<std::string> crowded = {"01"};
  for (int c = 1; c <= 2; ++c)
    for (int i = 1; i <= 500; ++i) crowded.push_back(ZeroPadded(c, 2) + ZeroPadded(i, 3));
  std::sort(crowded.begin(), crowded.end());
  const Case cases[] = {
      {"item before any chapter", {"01005", "02", "02010"}, 3, PlanStatus::kItemsBeforeChapter},
      {"1000 items in one chapter", crowded, 3, PlanStatus::kTooManyItems},
      {"1000 items fit in the analyses", crowded, 4, PlanStatus::kOk},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const RenumberPlan plan = PlanRenumbering(c.codes, c.digits, {0, 1, 10});
    EXPECT_EQ(plan.status, c.expected);
    EXPECT_EQ(plan.codes.empty(), c.expected != PlanStatus::kOk);
  }
}

TEST(RecodePlan, FirstChapterWithoutRoomIsLoweredNotCollided) {
  const RenumberPlan plan = PlanRenumbering(MakeCodes(97, 1, 3), 3, {5, 3, 10});
  ASSERT_EQ(plan.status, PlanStatus::kOk);
  const auto chapters = ChaptersOf(plan.codes);
  EXPECT_EQ(std::set<std::string>(chapters.begin(), chapters.end()).size(), 97u);
  EXPECT_EQ(chapters.back(), "99");
  EXPECT_EQ(chapters.front(), "03");
}

TEST(RecodePlan, NewCodesKeepTheOrderAndAreWellFormed) {
  std::mt19937 rng(1234);
  for (int round = 0; round < 50; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const int digits = round % 2 ? 4 : 3;
    std::set<std::string> unique;
    const int chapters = 1 + static_cast<int>(rng() % 99);
    for (int c = 0; c < chapters; ++c) {
      const std::string ch = ZeroPadded(1 + static_cast<int>(rng() % 99), 2);
      unique.insert(ch);
      const int items = static_cast<int>(rng() % 30);
      for (int i = 0; i < items; ++i)
        unique.insert(ch + ZeroPadded(1 + static_cast<int>(rng() % 999), digits));
    }
    const std::vector<std::string> codes(unique.begin(), unique.end());
    const RecodeParams p{static_cast<int16_t>(rng() % 6), static_cast<int16_t>(1 + rng() % 5),
                         static_cast<int16_t>(1 + rng() % 10)};
    const RenumberPlan plan = PlanRenumbering(codes, digits, p);
    ASSERT_EQ(plan.status, PlanStatus::kOk);
    EXPECT_TRUE(std::is_sorted(plan.codes.begin(), plan.codes.end()));
    EXPECT_EQ(std::adjacent_find(plan.codes.begin(), plan.codes.end()), plan.codes.end());
    for (size_t i = 0; i < codes.size(); ++i) {
      ASSERT_EQ(plan.codes[i].size(), codes[i].size()) << codes[i];
      EXPECT_NE(plan.codes[i].substr(0, 2), "00");
      if (codes[i].size() > 2) {
        EXPECT_GT(std::stoi(plan.codes[i].substr(2)), 0);
      }
    }
  }
}

// Applies the writes one at a time: after each, the codes must be distinct
// and in the original order, which is what lets a stopped run be planned
// again to the same codes.
TEST(RecodePlan, WriteOrderKeepsCodesDistinctAndOrderedAfterEveryWrite) {
  struct Case {
    const char* name;
    std::vector<std::string> codes;
    RecodeParams params;
  };
  const Case cases[] = {
      {"chapters down, items up", MakeCodes(6, 8, 3, 3, 2, 7), {1, 1, 10}},
      {"chapters up, items down", MakeCodes(6, 8, 3, 1, 1, 10), {3, 3, 1}},
      {"crowded analyses spread", MakeCodes(4, 40, 4, 1, 1, 1), {0, 5, 10}},
      {"already even", MakeCodes(3, 5, 3, 1, 1, 10), {0, 1, 10}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int digits = static_cast<int>(c.codes[1].size()) - 2;
    const RenumberPlan plan = PlanRenumbering(c.codes, digits, c.params);
    ASSERT_EQ(plan.status, PlanStatus::kOk);
    std::vector<std::string> now = c.codes;
    const auto order = WriteOrder(now, plan.codes);
    for (size_t i : order) {
      now[i] = plan.codes[i];
      ASSERT_TRUE(std::is_sorted(now.begin(), now.end()));
      ASSERT_EQ(std::adjacent_find(now.begin(), now.end()), now.end()) << "after " << i;
    }
    EXPECT_EQ(now, plan.codes);
    // Planned again from any point, the codes are the same.
    std::vector<std::string> half = c.codes;
    for (size_t k = 0; k < order.size() / 2; ++k) half[order[k]] = plan.codes[order[k]];
    EXPECT_EQ(PlanRenumbering(half, digits, c.params).codes, plan.codes);
  }
}

}  // namespace
}  // namespace vantu
