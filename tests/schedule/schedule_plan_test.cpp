// The chart as data: the load rules, the summary, the cell edits, the
// listing serial, the cost scaling and the investment per period, against
// values worked out by hand.
#include "schedule/schedule_plan.h"

#include <gtest/gtest.h>

#include "schedule/activities.h"

namespace vantu {
namespace {

using namespace schedule_file;

ScheduleBlock Block() {
  ScheduleBlock b;
  InitScheduleBlock(b, kScopeItems);
  return b;
}

void Mark(ScheduleBlock& b, int row, std::initializer_list<int> periods) {
  for (int p : periods) b.Cell(row, p) = kCellMarked;
}

std::vector<int> Marked(const ScheduleBlock& b, int row) {
  std::vector<int> out;
  for (int p = 1; p <= kMaxPeriods; ++p)
    if (b.Cell(row, p) == kCellMarked) out.push_back(p);
  return out;
}

Activity Item(long double cost) {
  Activity a;
  a.Code = "010";
  a.Cost = cost;
  return a;
}

Activity Chapter() {
  Activity a;
  a.Code = "01";
  a.chapter = true;
  return a;
}

TEST(ScheduleLoadRules, StaleAndRecalculatedCharts) {
  const struct {
    const char* name;
    int16_t serial;
    bool marked;
    bool erased, keepsMarks;
    int16_t serialAfter;
    uint8_t completeAfter;
  } cases[] = {
      {"stale with marks", kSerialStale, true, true, false, 0, 0},
      {"stale without marks", kSerialStale, false, false, false, 0, 0},
      {"recalculated", kSerialRecalculated, true, false, true, 0, 1},
      {"listed before", 12, true, false, true, 12, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScheduleBlock b = Block();
    b.SetScheduleSerial(c.serial);
    b.SetScheduleChanged(0);
    b.SetComplete(1);
    if (c.marked) Mark(b, 3, {2, 3});
    b.Cell(1, 5) = kCellChapter;
    EXPECT_EQ(ApplyLoadRules(b), c.erased);
    EXPECT_EQ(b.ScheduleSerial(), c.serialAfter);
    EXPECT_EQ(b.Complete(), c.completeAfter);
    EXPECT_EQ(b.ScheduleChanged(), c.serial < 0 ? 1 : 0);
    EXPECT_EQ(Marked(b, 3).size(), c.keepsMarks ? 2u : 0u);
    if (c.erased) {
      EXPECT_EQ(b.Cell(1, 5), kCellFree);  // every cell of the rows
    }
  }
}

TEST(ScheduleSummary, LengthYearBlocksAndCompleteness) {
  const struct {
    const char* name;
    std::vector<std::vector<int>> marks;  // per item row
    int length, blocks;
    bool complete;
  } cases[] = {
      {"periods 3 to 5", {{3, 4, 5}}, 5, 1, true},
      {"twelve", {{1}, {12}}, 12, 1, true},
      {"twenty-five", {{1}, {25}}, 25, 3, true},
      {"sixty", {{60}, {1, 2}}, 60, 5, true},
      {"an activity without marks", {{1, 2}, {}}, 2, 1, false},
      {"nothing marked", {{}, {}}, 0, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScheduleBlock b = Block();
    std::vector<Activity> acts = {Chapter()};  // row 1, never marked
    for (int p = 1; p <= kMaxPeriods; ++p) b.Cell(1, p) = kCellChapter;
    for (size_t i = 0; i < c.marks.size(); ++i) {
      acts.push_back(Item(100));
      for (int p : c.marks[i]) b.Cell(static_cast<int>(i) + 2, p) = kCellMarked;
    }
    const ChartSummary s = SummarizeChart(b, acts);
    EXPECT_EQ(s.length, c.length);
    EXPECT_EQ(s.yearBlocks, c.blocks);
    EXPECT_EQ(s.complete, c.complete);
    StoreSummary(b, s);
    EXPECT_EQ(b.Length(), c.length);
    EXPECT_EQ(b.YearBlocks(), c.blocks);
    EXPECT_EQ(b.Complete(), c.complete ? 1 : 0);
  }
}

TEST(ScheduleEdits, DeleteInsertSetAndClear) {
  const struct {
    const char* name;
    std::vector<int> before;
    int op;  // 0 delete, 1 insert, 2 mark, 3 clear
    int period;
    std::vector<int> after;
    bool changed;
  } cases[] = {
      {"delete pulls the right part left", {2, 3, 5, 60}, 0, 3, {2, 4, 59}, true},
      {"delete at 60", {60}, 0, 60, {}, true},
      {"delete on free tail", {1}, 0, 10, {1}, false},
      {"insert pushes right", {2, 3, 5}, 1, 3, {2, 4, 6}, true},
      {"insert loses period 60", {59, 60}, 1, 59, {60}, true},
      {"insert before nothing", {1}, 1, 5, {1}, false},
      {"mark", {}, 2, 7, {7}, true},
      {"mark twice", {7}, 2, 7, {7}, false},
      {"clear", {7, 8}, 3, 7, {8}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScheduleBlock b = Block();
    for (int p : c.before) b.Cell(4, p) = kCellMarked;
    bool changed = false;
    if (c.op == 0) changed = DeleteCell(b, 4, c.period);
    if (c.op == 1) changed = InsertCell(b, 4, c.period);
    if (c.op == 2) changed = SetCell(b, 4, c.period, kCellMarked);
    if (c.op == 3) changed = SetCell(b, 4, c.period, kCellFree);
    EXPECT_EQ(Marked(b, 4), c.after);
    EXPECT_EQ(changed, c.changed);
  }
}

TEST(ScheduleEdits, ChapterRowsNeverChange) {
  ScheduleBlock b = Block();
  for (int p = 1; p <= kMaxPeriods; ++p) b.Cell(2, p) = kCellChapter;
  Mark(b, 1, {4});
  EXPECT_FALSE(SetCell(b, 2, 4, kCellMarked));
  EXPECT_FALSE(DeleteCell(b, 2, 1));
  EXPECT_FALSE(InsertCell(b, 2, 1));
  EXPECT_TRUE(ClearMarks(b, 3));
  for (int p = 1; p <= kMaxPeriods; ++p) ASSERT_EQ(b.Cell(2, p), kCellChapter) << p;
  EXPECT_TRUE(Marked(b, 1).empty());
  EXPECT_FALSE(ClearMarks(b, 3));
}

TEST(ScheduleSerial, ListingsNumberChangedChartsAndWrapAfter999) {
  const struct {
    int16_t serial;
    uint8_t changed;
    int16_t after;
  } cases[] = {{0, 1, 1}, {5, 1, 6}, {5, 0, 5}, {998, 1, 999}, {999, 1, 1}};
  for (const auto& c : cases) {
    ScheduleBlock b = Block();
    b.SetScheduleSerial(c.serial);
    b.SetScheduleChanged(c.changed);
    NextListingSerial(b);
    EXPECT_EQ(b.ScheduleSerial(), c.after) << c.serial;
    EXPECT_EQ(b.ScheduleChanged(), 0);
  }
}

TEST(ScheduleCosts, ScaledToTheBudgetTotalExactly) {
  const struct {
    const char* name;
    std::vector<Activity> acts;
    long double total, items;
    bool toPeso;
    std::vector<long double> costs;
  } cases[] = {
      // 7/6 of 100, 200, 300: 116.67 + 233.33 + 350.00 = 700
      {"cents",
       {Chapter(), Item(100), Item(200), Item(300)},
       700,
       600,
       false,
       {0, 116.67L, 233.33L, 350}},
      {"pesos", {Item(100), Item(200), Item(300)}, 700, 600, true, {117, 233, 350}},
      // 10/3 gives 3.33 three times: the last takes the missing cent
      {"difference to the last", {Item(1), Item(1), Item(1)}, 10, 3, false, {3.33L, 3.33L, 3.34L}},
      {"never to a chapter", {Item(1), Item(1), Chapter()}, 10, 2, true, {5, 5, 0}},
      {"difference in pesos", {Item(1), Item(1), Item(1), Chapter()}, 10, 3, true, {3, 3, 4, 0}},
      {"no items total", {Item(5)}, 10, 0, false, {5}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<Activity> acts = c.acts;
    ScaleCosts(acts, c.total, c.items, c.toPeso);
    ASSERT_EQ(acts.size(), c.costs.size());
    for (size_t i = 0; i < acts.size(); ++i)
      EXPECT_NEAR(static_cast<double>(acts[i].Cost), static_cast<double>(c.costs[i]), 1e-9) << i;
  }
}

// An activity of 1000 over periods 1-4 and one of 300 over 2, 3 and 5:
// 250 | 350 | 350 | 250 | 100, cumulative 250, 600, 950, 1200, 1300.
TEST(ScheduleInvestment, EvenSpreadOverTheMarkedPeriods) {
  ScheduleBlock b = Block();
  std::vector<Activity> acts = {Chapter(), Item(1000), Item(300)};
  for (int p = 1; p <= kMaxPeriods; ++p) b.Cell(1, p) = kCellChapter;
  Mark(b, 2, {1, 2, 3, 4});
  Mark(b, 3, {2, 3, 5});
  CountMarks(b, acts);
  EXPECT_EQ(acts[0].MarkCount, 0);
  EXPECT_EQ(acts[1].MarkCount, 4);
  EXPECT_EQ(acts[2].MarkCount, 3);
  PeriodTable t{};
  t[9][kNet] = 77;  // cleared first
  SpreadInvestment(b, acts, 5, false, t);
  const long double billing[] = {0, 250, 350, 350, 250, 100};
  const long double executed[] = {0, 250, 600, 950, 1200, 1300};
  for (int p = 1; p <= 5; ++p) {
    EXPECT_EQ(t[p][kBilling], billing[p]) << p;
    EXPECT_EQ(t[p][kExecuted], executed[p]) << p;
  }
  EXPECT_EQ(t[6][kBilling], 0);
  EXPECT_EQ(t[9][kNet], 0);
}

// 100 over three periods is 33.333... each. The first period is rounded
// before the sums: 33.33, then 33.33 + 33.333 = 66.663 and 99.997, rounded
// to 66.66 and 100.00, so the periods bill 33.33, 33.33 and 33.34.
TEST(ScheduleInvestment, RoundedPeriodsAddUpToTheRoundedCumulative) {
  const struct {
    bool toPeso;
    std::vector<long double> billing, executed;
  } cases[] = {
      {false, {33.33L, 33.33L, 33.34L}, {33.33L, 66.66L, 100}},
      {true, {33, 33, 34}, {33, 66, 100}},
  };
  for (const auto& c : cases) {
    ScheduleBlock b = Block();
    std::vector<Activity> acts = {Item(100)};
    Mark(b, 1, {1, 2, 3});
    CountMarks(b, acts);
    PeriodTable t{};
    SpreadInvestment(b, acts, 3, c.toPeso, t);
    long double sum = 0;
    for (int p = 1; p <= 3; ++p) {
      EXPECT_NEAR(double(t[p][kBilling]), double(c.billing[p - 1]), 1e-9) << p;
      EXPECT_NEAR(double(t[p][kExecuted]), double(c.executed[p - 1]), 1e-9) << p;
      sum += t[p][kBilling];
    }
    EXPECT_EQ(sum, t[3][kExecuted]);
  }
}

TEST(ScheduleInvestment, GapsAndASixtyPeriodChart) {
  ScheduleBlock b = Block();
  std::vector<Activity> acts = {Item(600), Item(60)};
  Mark(b, 1, {1, 60});  // 300 in 1 and in 60, nothing between
  for (int p = 1; p <= 60; ++p) b.Cell(2, p) = kCellMarked;
  CountMarks(b, acts);
  PeriodTable t{};
  SpreadInvestment(b, acts, 60, false, t);
  EXPECT_EQ(t[1][kBilling], 301);
  EXPECT_EQ(t[30][kBilling], 1);
  EXPECT_EQ(t[60][kBilling], 301);
  EXPECT_EQ(t[60][kExecuted], 660);
}

}  // namespace
}  // namespace vantu
