// The entry checks, the loading of the schedule and the activities built
// from a budget written record by record.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "schedule/activities.h"
#include "schedule/schedule_command.h"
#include "schedule/schedule_plan.h"
#include "schedule_fixture.h"

namespace vantu {
namespace {

using namespace schedule_file;

class ScheduleLoadTest : public test::ScheduleTest {
 protected:
  // Runs `body`, answering the `n` message windows it opens with Esc;
  // returns the screen under each of them.
  template <class F>
  std::vector<std::string> WithMessages(int n, F body) {
    std::vector<std::string> seen;
    for (int i = 0; i < n; ++i)
      session.QueueStep([&seen] {
        seen.push_back(ScreenText());
        PushKey(kKeyEsc);
      });
    body();
    EXPECT_TRUE(session.ScriptDone());
    return seen;
  }
};

TEST_F(ScheduleLoadTest, EntryIsRefusedUntilTheBudgetIsCalculated) {
  WriteBudget(SmallBudget());
  const struct {
    const char* name;
    int area;
    bool marker;        // the area's change marker set
    bool serialDiffer;  // file 6 of another calculation
    bool empty;
    const char* message;
  } cases[] = {
      {"calculated", 0, false, false, false, nullptr},
      {"inputs changed", 2, true, false, false, "PRIMERO DEBE  REALIZAR LOS CALCULOS"},
      {"budget changed", 6, true, false, false, "PRIMERO DEBE  REALIZAR LOS CALCULOS"},
      {"globals changed", 5, true, false, false, "PRIMERO DEBE  REALIZAR LOS CALCULOS"},
      {"other calculation", 0, false, true, false, "PRIMERO DEBE  REALIZAR LOS CALCULOS"},
      {"no budget", 0, false, false, true, "PRIMERO DEBE  ENTRAR EL PRESUPUESTO"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MarkCalculated();
    if (c.marker) Area(c.area).SavedChangeMarker = 1;
    if (c.serialDiffer) Area(6).SavedSetSerial = 6;
    const int16_t saved = Area(6).Data.RecordCount;
    if (c.empty) Area(6).Data.RecordCount = 1;
    bool allowed = false;
    const auto seen = WithMessages(c.message ? 1 : 0, [&] { allowed = ScheduleEntryAllowed(); });
    Area(6).Data.RecordCount = saved;
    EXPECT_EQ(allowed, c.message == nullptr);
    if (c.message == nullptr) continue;
    ASSERT_FALSE(seen.empty());
    EXPECT_NE(seen[0].find(c.message), std::string::npos) << seen[0];
    EXPECT_NE(seen[0].find(".. Para continuar oprima cualquier tecla .."), std::string::npos);
  }
}

TEST_F(ScheduleLoadTest, ItemsAndChaptersBecomeActivitiesWithScaledCosts) {
  SetGeneral(10);  // the total carries 10 % of AIU at the end
  WriteBudget(SmallBudget());
  ASSERT_TRUE(LoadScheduleFor('O'));
  const ScheduleState& s = Schedule();
  EXPECT_EQ(s.budgetTotal, 3300);
  const struct {
    const char* code;
    bool chapter;
    long double cost;
  } expected[] = {{"01", true, 0},
                  {"010", false, 1100},
                  {"020", false, 550},
                  {"02", true, 0},
                  {"010", false, 1650}};  // RELLENO is to be defined
  ASSERT_EQ(s.Activities.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(s.Activities[i].Code, expected[i].code);
    EXPECT_EQ(s.Activities[i].chapter, expected[i].chapter);
    EXPECT_EQ(s.Activities[i].Cost, expected[i].cost);
    EXPECT_EQ(s.Activities[i].Label.size(), 35u);
    const int row = static_cast<int>(i) + 1;
    EXPECT_EQ(s.block.Cell(row, 1), expected[i].chapter ? kCellChapter : kCellFree);
    EXPECT_EQ(s.block.Cell(row, 60), expected[i].chapter ? kCellChapter : kCellFree);
  }
  EXPECT_EQ(s.Activities[1].Label.substr(0, 13), "LOCALIZACION ");
  EXPECT_EQ(s.block.ActivityCount(), 5);
  EXPECT_EQ(s.block.Scope(), kScopeItems);
  EXPECT_EQ(s.block.ScheduleSerial(), 0);  // a new file is stale, and then restarts
}

TEST_F(ScheduleLoadTest, AnObraWithOnlyChaptersHasNothingToPlan) {
  WriteBudget({{"01", "PRELIMINARES"}, {"02", "CIMENTACION"}});
  const auto seen = WithMessages(1, [] { EXPECT_FALSE(LoadScheduleFor('N')); });
  ASSERT_FALSE(seen.empty());
  EXPECT_NE(seen[0].find("... PRESUPUESTO SIN ITEMS PROGAMABLES ...."), std::string::npos);
  EXPECT_FALSE(Schedule().open);
  EXPECT_FALSE(std::filesystem::exists(SchedulePath()));
}

TEST_F(ScheduleLoadTest, ChapterScopeTakesChapterTotals) {
  WriteBudget(SmallBudget());
  ScheduleBlock b;
  InitScheduleBlock(b, kScopeChapters);
  b.SetScheduleSerial(0);
  b.Cell(1, 4) = kCellChapter;  // left from an item scope: no longer a heading
  b.Cell(2, 2) = 254;           // an old mark
  StoreBlock(b);
  ASSERT_TRUE(LoadScheduleFor('O'));
  const ScheduleState& s = Schedule();
  ASSERT_EQ(s.Activities.size(), 2u);
  EXPECT_EQ(s.Activities[0].Code, "01");
  EXPECT_EQ(s.Activities[0].Cost, 1500);
  EXPECT_FALSE(s.Activities[0].chapter);
  EXPECT_EQ(s.Activities[1].Cost, 1500);
  EXPECT_EQ(s.block.Cell(1, 4), kCellFree);
  EXPECT_EQ(s.block.Cell(2, 2), kCellMarked);
}

TEST_F(ScheduleLoadTest, AStaleChartIsErasedWithTheNoticeForCommandN) {
  WriteBudget(SmallBudget());
  ScheduleBlock b;
  InitScheduleBlock(b, kScopeItems);
  b.SetScheduleSerial(kSerialStale);  // an item was added since
  b.Cell(2, 3) = kCellMarked;
  StoreBlock(b);
  const auto seen = WithMessages(1, [] { EXPECT_TRUE(LoadScheduleFor('N')); });
  ASSERT_FALSE(seen.empty());
  EXPECT_NE(seen[0].find("... CRONOGRAMA BORRADO POR EL SISTEMA ...."), std::string::npos);
  EXPECT_NE(seen[0].find("la obra."), std::string::npos);
  EXPECT_EQ(Schedule().block.Cell(2, 3), kCellFree);
  EXPECT_EQ(Schedule().block.ScheduleChanged(), 1);
}

TEST_F(ScheduleLoadTest, RecalculatedChartKeepsItsMarksAndCloseStoresTheSummary) {
  WriteBudget(SmallBudget());
  ScheduleBlock b;
  InitScheduleBlock(b, kScopeItems);
  b.SetScheduleSerial(kSerialRecalculated);
  b.SetScheduleChanged(0);
  for (int row : {2, 3, 5}) b.Cell(row, row) = kCellMarked;
  StoreBlock(b);
  ASSERT_TRUE(LoadScheduleFor('N'));
  EXPECT_EQ(Schedule().block.Cell(5, 5), kCellMarked);
  CloseSchedule();
  const ScheduleBlock stored = StoredBlock();
  EXPECT_EQ(stored.Length(), 5);
  EXPECT_EQ(stored.YearBlocks(), 1);
  EXPECT_EQ(stored.Complete(), 1);
  EXPECT_EQ(stored.ScheduleSerial(), 0);
  EXPECT_EQ(stored.ScheduleChanged(), 1);
  EXPECT_EQ(stored.Cell(1, 30), kCellChapter);
  EXPECT_FALSE(std::filesystem::exists(Schedule().tempPath));
}

TEST_F(ScheduleLoadTest, ADamagedFileIsNamedAndReplacedByANewChart) {
  WriteBudget(SmallBudget());
  { std::ofstream(SchedulePath(), std::ios::binary) << "corto"; }
  const auto seen = WithMessages(1, [] { EXPECT_TRUE(LoadScheduleFor('O')); });
  ASSERT_FALSE(seen.empty());
  EXPECT_NE(seen[0].find("Apr06cro.A01: tamano 5 bytes"), std::string::npos) << seen[0];
  EXPECT_EQ(Schedule().Activities.size(), 5u);
}

TEST_F(ScheduleLoadTest, IncompleteChartRefusesTheInvestment) {
  WriteBudget(SmallBudget());
  ASSERT_TRUE(LoadScheduleFor('O'));
  Schedule().block.Cell(2, 1) = kCellMarked;
  StoreSummary(Schedule().block, SummarizeChart(Schedule().block, Schedule().Activities));
  const auto seen = WithMessages(1, [] { EXPECT_FALSE(ComputeInvestment()); });
  ASSERT_FALSE(seen.empty());
  EXPECT_NE(seen[0].find("LA PROGRAMACION ESTA INCOMPLETA"), std::string::npos);
}

}  // namespace
}  // namespace vantu
